// The window on a high-resolution screen: at QT_SCALE_FACTOR 2 it must be the
// same layout, only with every device pixel doubled, and at 1.5 the same
// layout too. Each factor needs a
// fresh process (Qt reads the factor once, at start-up), so the test runs
// this program again as a child with --dump-layout, which opens the window
// offscreen and prints every control's geometry.
#include "tests/common/QtTestFixture.h"
#include "window/WindowLayout.h"
#include "window/frmMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTextStream>

#include <cstring>

using namespace pendrio;

namespace {

// One line a control, "name x y w h dpr fits dw dh": its place in
// device-independent pixels relative to the window, its device pixel ratio,
// whether its caption has the room it asks for, and the size in device
// pixels of the image it renders to.
int dumpLayout() {
    frmMain window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return 1;
    }
    QTextStream out(stdout);
    const QSize rendered = window.grab().size();
    out << "window 0 0 " << window.width() << ' ' << window.height() << ' '
        << window.devicePixelRatio() << " 1 " << rendered.width() << ' ' << rendered.height()
        << '\n';
    for (const ControlSpec& entry : Controls()) {
        auto* widget = window.findChild<QWidget*>(entry.name);
        if (!widget) {
            return 1;
        }
        const QRect r(widget->mapTo(&window, QPoint()), widget->size());
        bool fits = true;
        if (qobject_cast<QLabel*>(widget) || qobject_cast<QCheckBox*>(widget)) {
            fits = widget->sizeHint().width() <= widget->width();
        }
        const QSize device = widget->grab().size();
        out << entry.name << ' ' << r.x() << ' ' << r.y() << ' ' << r.width() << ' ' << r.height()
            << ' ' << widget->devicePixelRatio() << ' ' << int(fits) << ' ' << device.width() << ' '
            << device.height() << '\n';
    }
    return 0;
}

struct Placed {
    QString name;
    QRect rect;
    double ratio = 0;
    bool fits = false;
    QSize device;
};

} // namespace

class HighDpiTest : public testing::QtTestCase {
    Q_OBJECT

    // The layout as a child process sees it at the given scale factor.
    static QList<Placed> layoutAt(const QString& factor) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING",
                                 "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_FONT_DPI"}) {
            env.remove(QString::fromLatin1(name));
        }
        env.insert("QT_SCALE_FACTOR", factor);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--dump-layout"});
        if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit ||
            child.exitCode() != 0) {
            qWarning("child at factor %s failed: %s", qPrintable(factor),
                     child.readAllStandardError().constData());
            return {};
        }
        QList<Placed> placed;
        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() == 9) {
                placed.append({QString::fromLatin1(f[0]),
                               QRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt()),
                               f[5].toDouble(), f[6] == "1", QSize(f[7].toInt(), f[8].toInt())});
            }
        }
        return placed;
    }

private slots:
    void scaledWindowIsTheSameLayoutInMoreDevicePixels() {
        const QList<Placed> one = layoutAt("1");
        QCOMPARE(one.size(), 1 + qsizetype(Controls().size()));
        // 150 % as well, the usual fractional setting: the same layout, and
        // every caption still has its room.
        for (const double factor : {2.0, 1.5}) {
            const QList<Placed> scaled = layoutAt(QString::number(factor));
            QCOMPARE(scaled.size(), one.size());
            for (qsizetype i = 0; i < one.size(); ++i) {
                const Placed& a = one[i];
                const Placed& b = scaled[i];
                QCOMPARE(b.name, a.name);
                QCOMPARE(a.ratio, 1.0);
                QCOMPARE(b.ratio, factor);
                QVERIFY2(b.rect == a.rect, qPrintable(a.name)); // device-independent: identical
                QVERIFY2(a.fits && b.fits, qPrintable(a.name + " has no room for its caption"));
                QCOMPARE(a.device, a.rect.size());
                if (factor == 2.0) { // every device pixel doubled, where it lies and as drawn
                    QCOMPARE(b.rect.topLeft() * b.ratio, a.rect.topLeft() * 2);
                    QCOMPARE(b.device, a.device * 2);
                }
            }
        }
    }
};

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "--dump-layout") == 0) {
        return testing::RunTestProgram(argc, argv, dumpLayout);
    }
    return testing::RunQtTest<HighDpiTest>(argc, argv);
}

#include "HighDpiTest.moc"
