// What assistive technology is offered beyond Qt's defaults, asked of
// QAccessible on the offscreen platform where AT-SPI cannot reach
// (tests/desktop/e2e-atspi.sh walks the real tree, e2e-wayland.sh reads
// "Always on top" on Wayland): interfaces made before a window was exposed
// are replaced.
#include "window/WindowAccessibility.h"
#include "tests/common/QtTestFixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QTest>

using namespace pendrio;

class WindowAccessibilityTest : public testing::QtTestCase {
    Q_OBJECT

    static QAccessibleInterface* accessible(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }

private slots:
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
};

PENDRIO_QTEST_MAIN(WindowAccessibilityTest)

#include "WindowAccessibilityTest.moc"
