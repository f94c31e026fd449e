// The main window as a screen reader and a keyboard-only user meet it: every
// control reached through QAccessible has its role, a name that matches what
// is written beside it, and text that can be read; and every action can be
// done with Tab, Space and Enter alone. Offscreen platform: the accessibility
// interfaces come from QtWidgets itself and need no platform bridge.
#include "tests/common/WindowHarness.h"
#include "window/WindowLayout.h"
#include "window/frmMain.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace pendrio;

class AccessibilityTest : public testing::WindowHarness {
    Q_OBJECT

    static QAccessibleInterface* accessible(QObject* object) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
        if (!iface) {
            qFatal("no accessible interface for %s", qPrintable(object->objectName()));
        }
        return iface;
    }
    // What a screen reader reads out for a box: its text interface's text.
    static QString readText(QObject* object) {
        QAccessibleTextInterface* text = accessible(object)->textInterface();
        return text ? text->text(0, text->characterCount()) : QStringLiteral("<no text>");
    }
    QString focusName() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }
    // Keys go to the window, as from the keyboard, not to a chosen widget.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), key, modifiers);
    }
    void type(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClick(window->windowHandle(), c.toLatin1());
        }
    }
    // Tabs on until the named control has the focus; a screen reader asking
    // the control must find it focused too.
    void tabTo(const QString& name) {
        for (int i = 0; i < 40 && focusName() != name; ++i) {
            press(Qt::Key_Tab);
        }
        QCOMPARE(focusName(), name);
        QVERIFY(accessible(control(name))->state().focused);
    }
    // The visible caption written to the right of a box on its row.
    QString captionBeside(QWidget* box) const {
        const QRect at(box->mapTo(window, QPoint()), box->size());
        for (QLabel* label : window->findChildren<QLabel*>()) {
            const QRect l(label->mapTo(window, QPoint()), label->size());
            if (label->isVisible() && l.left() >= at.right() && l.top() < at.bottom() &&
                l.bottom() > at.top()) {
                return label->text();
            }
        }
        return {};
    }

private slots:
    void everyVisibleControlHasRoleNameAndReadableText() {
        QVERIFY(open());
        QAccessibleInterface* top = accessible(window);
        QCOMPARE(top->text(QAccessible::Name), QStringLiteral("Pendrio V0.0"));
        int boxes = 0, buttons = 0, checkBoxes = 0;
        for (const ControlSpec& entry : Controls()) {
            QWidget* widget = control(entry.name);
            QAccessibleInterface* iface = accessible(widget);
            QVERIFY2(iface->isValid(), entry.name);
            // Hidden options exist but are not offered to a screen reader.
            QCOMPARE(iface->state().invisible, !entry.visible);
            if (!entry.visible || entry.kind == ControlKind::Label) {
                continue;
            }
            // A screen reader walks the tree from the window down to each control.
            QAccessibleInterface* parent = iface->parent();
            QVERIFY2(parent && parent->indexOfChild(iface) >= 0, entry.name);
            while (parent && parent->object() != window) {
                parent = parent->parent();
            }
            QVERIFY2(parent, entry.name);

            const QString name = iface->text(QAccessible::Name);
            switch (entry.kind) {
            case ControlKind::TextBox: {
                ++boxes;
                QCOMPARE(iface->role(), QAccessible::EditableText);
                const QString caption = captionBeside(widget);
                QCOMPARE(name, caption.isEmpty() ? QStringLiteral("Section number") : caption);
                QCOMPARE(readText(widget), static_cast<QLineEdit*>(widget)->text());
                QCOMPARE(iface->text(QAccessible::Value), static_cast<QLineEdit*>(widget)->text());
                QVERIFY2(iface->state().focusable, entry.name);
                break;
            }
            case ControlKind::Button:
                ++buttons;
                QCOMPARE(iface->role(), QAccessible::PushButton);
                QCOMPARE(name, static_cast<QPushButton*>(widget)->text());
                QVERIFY(iface->actionInterface()->actionNames().contains(
                    QAccessibleActionInterface::pressAction()));
                break;
            case ControlKind::CheckBox:
                ++checkBoxes;
                QCOMPARE(iface->role(), QAccessible::CheckBox);
                QCOMPARE(name, static_cast<QCheckBox*>(widget)->text());
                QCOMPARE(bool(iface->state().checked),
                         static_cast<QCheckBox*>(widget)->isChecked());
                break;
            case ControlKind::Frame:
                QCOMPARE(iface->role(), QAccessible::Grouping);
                QCOMPARE(name, QStringLiteral("Calculated stuff - Don't edit!"));
                break;
            case ControlKind::Label:
                break;
            }
        }
        QCOMPARE(boxes, 12);
        QCOMPARE(buttons, 3);
        QCOMPARE(checkBoxes, 1);
    }

    void keyboardAloneDrivesEveryAction() {
        QVERIFY(open());
        QAccessibleInterface* next = accessible(control("cmdNext"));
        auto* onTop = static_cast<QCheckBox*>(control("chkOnTop"));
        // Shift+Tab from the first box wraps round to Calculate.
        press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(focusName(), QStringLiteral("cmdCalculate"));
        tabTo("txtInput(4)");
        type("3");
        // Space on the check box toggles "Always on top", on the window too.
        tabTo("chkOnTop");
        QCOMPARE(window->state().SectionCount, 3); // leaving the box committed it
        for (const bool ticked : {true, false}) {
            press(Qt::Key_Space);
            QCOMPARE(onTop->isChecked(), ticked);
            QCOMPARE(bool(accessible(onTop)->state().checked), ticked);
            QCOMPARE(window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), ticked);
        }
        QCOMPARE(focusName(), QStringLiteral("chkOnTop"));
        // Enter, the keypad's Enter and Space all click the focused button.
        struct Row {
            const char* button;
            Qt::Key key;
            const char* section;
        };
        const Row rows[] = {
            {"cmdCalculate", Qt::Key_Return, "1"}, {"cmdNext", Qt::Key_Return, "2"},
            {"cmdNext", Qt::Key_Space, "3"},       {"cmdBack", Qt::Key_Enter, "2"},
            {"cmdBack", Qt::Key_Space, "1"},       {"cmdNext", Qt::Key_Enter, "2"},
            {"cmdCalculate", Qt::Key_Space, "1"},
        };
        QCOMPARE(readText(control("txtSectionLength")), QStringLiteral("1968504"));
        for (const Row& row : rows) {
            tabTo(row.button);
            press(row.key);
            // From the first row on: 3 sections were calculated.
            QCOMPARE(readText(control("txtSectionLength")), QStringLiteral("656168"));
            QVERIFY2(readText(control("txtActualSection")) == row.section, row.button);
            QCOMPARE(focusName(), QString::fromLatin1(row.button));
        }
        QCOMPARE(beeps, 0);
        // A screen reader's own "press" reaches the same handler (a moment
        // later: the button shows itself pressed first).
        next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(readText(control("txtActualSection")), QStringLiteral("2"));
        accessible(onTop)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    }
};

PENDRIO_QTEST_MAIN(AccessibilityTest)

#include "AccessibilityTest.moc"
