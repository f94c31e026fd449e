// What assistive technology is offered beyond Qt's defaults, asked of
// QAccessible on the offscreen platform where AT-SPI cannot reach
// (tests/desktop/e2e-atspi.sh walks the real tree): interfaces made before a
// window was exposed are replaced, and "Always on top" is disabled only where
// the platform cannot keep a window on top.
#include "window/WindowAccessibility.h"
#include "tests/common/WindowHarness.h"
#include "window/SessionPlatform.h"
#include "window/frmMain.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

using namespace pendrio;

class WindowAccessibilityTest : public QObject, public testing::WindowHarness {
    Q_OBJECT

    static QAccessibleInterface* accessible(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }

private slots:
    void cleanup() { window.reset(); }

    // Given interfaces Qt made before the window was exposed (a screen reader
    // listening while it was built), then they are replaced.
    void interfacesMadeEarlierAreReplaced() {
        QWidget top;
        auto* box = new QCheckBox(QStringLiteral("hidden"), &top);
        QCOMPARE(accessible(&top)->role(), QAccessible::Client);
        QVERIFY(accessible(box)->actionInterface());
        box->hide();
        ExposeToAccessibility(top);
        QCOMPARE(accessible(&top)->role(), QAccessible::Window);
        QVERIFY(!accessible(box)->actionInterface());
        QCOMPARE(accessible(&top)->childCount(), 0);
    }

    // Given a platform, "Always on top" is disabled, with the reason, only on Wayland.
    void onTopDisabledOnlyWhereThePlatformCannotKeepIt() {
        QVERIFY(open());
        QVERIFY(control("chkOnTop")->isEnabled()); // offscreen
        QVERIFY(control("chkOnTop")->toolTip().isEmpty());
        for (const char* platform : {"xcb", "offscreen", "wayland"}) {
            QCheckBox box(QStringLiteral("Always on top"));
            AdaptOnTopToPlatform(box, platform);
            const bool keeps = QByteArray(platform) != "wayland";
            QCOMPARE(box.isEnabled(), keeps);
            QCOMPARE(box.toolTip().contains(QStringLiteral("window menu")), !keeps);
        }
    }
};

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    WindowAccessibilityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowAccessibilityTest.moc"
