// Every text a user reads reaches a translator. Pendrio runs here with a
// pseudo-translation of exactly the strings lupdate extracted (every letter
// accented, "Length" as "Ĺéñĝťĥ"), and both windows, their menus, tooltips,
// notes, messages and a PDF report are read: a plain ASCII letter left in a
// text, outside numbers, file names and the program's name, is a string
// lupdate missed or the program never translated.
#include "export/AlignmentFiles.h"
#include "profilewindow/ProfilePlot.h"
#include "profilewindow/ProfileWindow.h"
#include "programinfo/ProgramInfo.h"
#include "tests/common/WindowHarness.h"
#include "widgets/ElidingLabel.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <cmath>
#include <tuple>

using namespace pendrio;

namespace {

// Accented look-alikes of a to z and A to Z.
const QString Lower = QStringLiteral("áḃçďéƒĝĥíĵķĺṁñóṗɋŕśťúṽŵẋýź");
const QString Upper = QStringLiteral("ÁḂÇĎÉḞĜĤÍĴĶĹṀÑÓṖɊŔŚŤÚṼŴẊÝŹ");

// Every letter accented; placeholders (%1, %n) as they are.
QString pseudo(const QString& source) {
    QString out;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (c == u'%' && i + 1 < source.size()) {
            out += c;
            out += source[++i];
        } else if (c >= u'a' && c <= u'z') {
            out += Lower[c.unicode() - u'a'];
        } else if (c >= u'A' && c <= u'Z') {
            out += Upper[c.unicode() - u'A'];
        } else {
            out += c;
        }
    }
    return out;
}

// Translates the strings of a .ts file, and Qt's own; nothing else.
class PseudoTranslator : public QTranslator {
public:
    bool load(const QString& tsFile) {
        QFile file(tsFile);
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        QXmlStreamReader xml(&file);
        QString context;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"name") {
                context = xml.readElementText();
            } else if (xml.isStartElement() && xml.name() == u"source") {
                known_.insert(context + u'\x1f' + xml.readElementText());
            }
        }
        return !known_.isEmpty() && !xml.hasError();
    }
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        const QString ours = QString::fromUtf8(context);
        const bool qts = !ours.startsWith(u"pendrio::");
        return qts || known_.contains(ours + u'\x1f' + QString::fromUtf8(source))
                   ? pseudo(QString::fromUtf8(source))
                   : QString();
    }
    qsizetype size() const { return known_.size(); }

private:
    QSet<QString> known_;
};

// What is left of a text once numbers, quoted file names, keys and the
// program's name are taken out: any ASCII letter there was never translated.
bool untranslated(QString text) {
    text.remove(QString::fromUtf8(WindowTitle)).remove(QString::fromUtf8(ProgramName));
    text.remove(QRegularExpression(QStringLiteral("“[^”]*”")));
    text.remove(QRegularExpression(QStringLiteral("\\+[A-Z](?![A-Za-z])"))); // the key of Ctrl+S
    text.remove(QRegularExpression(QStringLiteral("\\d[\\d.,+]*(E[-+]?\\d+)?")));
    return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

} // namespace

class TranslationTest : public testing::WindowHarness {
    Q_OBJECT

    QStringList found; // texts with untranslated words, and where

    void check(const QString& where, const QString& text) {
        if (untranslated(text)) {
            found << where + QStringLiteral(": ") + text;
        }
    }
    void checkMenus(const QWidget* window) {
        for (const QMenu* menu : window->findChildren<QMenu*>()) {
            check(QStringLiteral("menu"), menu->title());
            for (const QAction* action : menu->actions()) {
                check(action->objectName(), action->text());
                check(action->objectName(), action->toolTip());
            }
        }
    }
    void checkWidgets(const QWidget* window) {
        check(window->objectName(), window->windowTitle());
        for (const QWidget* widget : window->findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            check(name, widget->toolTip());
            check(name, widget->accessibleName());
            check(name, widget->accessibleDescription());
            if (const auto* label = qobject_cast<const QLabel*>(widget)) {
                check(name, label->text());
            } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
                check(name, button->text());
            } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
                check(name, frame->title());
            } else if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
                for (int i = 0; i < tabs->count(); ++i) {
                    check(name, tabs->tabText(i));
                }
            } else if (const auto* table = qobject_cast<const QTableView*>(widget)) {
                for (int c = 0; c < table->model()->columnCount(); ++c) {
                    check(name, table->model()->headerData(c, Qt::Horizontal).toString());
                }
            }
        }
        checkMenus(window);
    }
    void enter(int index, const QString& text) {
        QVERIFY(window->enterInput(static_cast<InputBox>(index), text));
    }

private slots:
    void everyTextTheUserReadsWasExtracted() {
        const QString tsFile = QString::fromUtf8(PENDRIO_TS_FILE);
        if (!QFile::exists(tsFile)) {
            QSKIP("no extracted strings: lupdate is missing");
        }
        PseudoTranslator translator;
        QVERIFY2(translator.load(tsFile), qPrintable(tsFile));
        QVERIFY(QCoreApplication::installTranslator(&translator));
        const auto uninstall =
            qScopeGuard([&] { QCoreApplication::removeTranslator(&translator); });
        QVERIFY(open());

        // A crest, a failed Calculate (its note), stations that cannot be
        // set out, a chainage that is none, a length for a radius.
        enter(0, QStringLiteral("15748031.496"));
        enter(2, QStringLiteral("0.859372"));
        enter(3, QStringLiteral("-1.432096"));
        enter(4, QStringLiteral("16"));
        QTest::mouseClick(control("cmdCalculate"), Qt::LeftButton);
        QTest::keyClick(window->windowHandle(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        ProfileWindow* profile = shell->profileWindow();
        QVERIFY(profile && QTest::qWaitForWindowExposed(profile));
        profile->findChild<QLineEdit*>(QStringLiteral("txtChainageQuery"))->setText("1+5");
        profile->findChild<QLineEdit*>(QStringLiteral("txtDesignRadius"))->setText("20000");
        QTest::mouseMove(profile->plot(), profile->plot()->rect().center());
        check(QStringLiteral("readout"), profile->plot()->hoverText());
        check(QStringLiteral("scale"), profile->plot()->axesText().value().scale);
        checkWidgets(window);
        checkWidgets(profile);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QCOMPARE(profile->writeFile(ProfileWindow::FileKind::Report, pdf).reason(), QString());
        enter(0, QStringLiteral("1968503937000"));
        QTest::mouseClick(control("cmdCalculate"), Qt::LeftButton); // no stations now
        enter(0, QStringLiteral("0"));
        QTest::mouseClick(control("cmdCalculate"), Qt::LeftButton); // fails
        checkWidgets(profile);
        testing::ExpectedDialog() = [this](QDialog& box) {
            check(QStringLiteral("message"), box.windowTitle());
            check(QStringLiteral("message"), static_cast<QMessageBox&>(box).text());
            box.reject();
        };
        profile->saveTo(ProfileWindow::FileKind::Csv, dir.filePath(QStringLiteral("0/0.csv")));

        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (!pdftotext.isEmpty()) {
            QProcess process;
            process.start(pdftotext, {pdf, QStringLiteral("-")});
            QVERIFY2(process.waitForFinished(30000), "pdftotext did not finish within 30 s");
            for (const QString& line : QString::fromUtf8(process.readAll()).split(u'\n')) {
                check(QStringLiteral("report"), line);
            }
        }
        // Every refusal of the alignment files: length, height at start, both
        // gradients (radians), chainage at start.
        const double nan = std::nan(""), far = 1e13 * UnitsPerMetre, steep = 1.5;
        for (const auto& [units, height, start, end, chainage] :
             {std::tuple{nan, 0.0, 0.0, 0.0, 0.0},
              {UnitsPerMetre, 0.0, 0.0, 0.0, nan},
              {1.0, 0.0, 0.0, 0.0, 0.0},
              {far, 0.0, 0.0, 0.0, 0.0},
              {UnitsPerMetre, 0.0, 0.0, 0.0, 1e13},
              {10 * UnitsPerMetre, 0.0, 0.0, 0.0, 1e12 - 1},
              {UnitsPerMetre, far, 0.0, 0.0, 0.0},
              {far / 10, 0.0, 0.0, steep, 0.0},
              {far / 10, 0.0, steep, -steep, 0.0},
              {UnitsPerMetre, 0.0, 1e-310, 2e-310, 0.0}}) {
            ProfileState state;
            state.TrackLength = units;
            state.SectionHeight.at(1) = height;
            state.StartGradient = start;
            state.EndGradient = end;
            const QString reason = AlignmentAsIfc(state, chainage).reason();
            QVERIFY(!reason.isEmpty());
            check(QStringLiteral("alignment"), reason);
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
        qInfo("%lld extracted strings", qlonglong(translator.size()));
    }
};

PENDRIO_QTEST_MAIN(TranslationTest)

#include "TranslationTest.moc"
