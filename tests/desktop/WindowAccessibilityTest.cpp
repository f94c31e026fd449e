// What assistive technology is offered beyond Qt's defaults, asked of
// QAccessible on the offscreen platform (tests/desktop/e2e-atspi.sh checks the
// same through AT-SPI): the window is a Window, the options it keeps hidden
// are out of reach while its code still uses them, and "Always on top" is
// disabled only where the platform cannot keep a window on top.
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

    // Given the window, when a screen reader walks it, then it finds a Window
    // named by the title whose children hold no hidden option.
    void windowIsAWindowWithOnlyTheControlsAUserSees() {
        QVERIFY(open());
        QAccessibleInterface* top = accessible(window.get());
        QCOMPARE(top->role(), QAccessible::Window);
        QCOMPARE(top->text(QAccessible::Name), QStringLiteral("Pendrio V0.0"));
        int visibleChildren = 0;
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            visibleChildren += child->isVisible();
        }
        QCOMPARE(top->childCount(), visibleChildren);
        for (int i = 0; i < top->childCount(); ++i) {
            QVERIFY(top->child(i)->object() != control("chkOutputFormat"));
            QVERIFY(top->child(i)->object() != control("chkAutomatic"));
            QCOMPARE(top->indexOfChild(top->child(i)), i);
        }
        for (const char* name : {"chkOutputFormat", "chkAutomatic"}) {
            QAccessibleInterface* hidden = accessible(control(name));
            QVERIFY2(hidden->state().invisible, name);
            QVERIFY2(!hidden->actionInterface(), name);
            QCOMPARE(top->indexOfChild(hidden), -1);
        }
    }

    // Given the hidden "Auto-tile", when code ticks it, then the section
    // count is disabled as before: only assistive technology is kept out.
    void hiddenOptionsStillWorkFromCode() {
        QVERIFY(open());
        QVERIFY(control("txtInput(4)")->isEnabled());
        control<QCheckBox>("chkAutomatic")->setChecked(true);
        QVERIFY(!control("txtInput(4)")->isEnabled());
    }

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
