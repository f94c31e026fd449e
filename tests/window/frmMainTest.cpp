// Scenario tests of the main window, driven through real widgets and events
// on the offscreen platform: what the user types and clicks, and what the
// boxes, the stored profile and the beep then show.
#include "window/frmMain.h"
#include "profile/ProfileState.h"
#include "tests/common/WindowHarness.h"
#include "window/WindowLayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace pendrio;

class WindowTest : public testing::WindowHarness {
    Q_OBJECT

    QLineEdit* input(int index) const {
        return control<QLineEdit>(QStringLiteral("txtInput(%1)").arg(index));
    }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    // Clicks into the box (which commits the box left), replaces its text by
    // typing, and leaves the focus there.
    void typeInto(int index, const QString& typed) {
        QTest::mouseClick(input(index), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), input(index));
        input(index)->selectAll();
        QTest::keyClick(input(index), Qt::Key_Backspace);
        QTest::keyClicks(input(index), typed);
    }
    void tab(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    }
    // Types into a box and tabs out of it, which commits the text.
    void enter(int index, const QString& typed) {
        typeInto(index, typed);
        tab();
    }
    // The six result boxes and the section number, top to bottom.
    QStringList shownSection() const {
        QStringList texts;
        for (const char* name : {"txtSectionLength", "txtCoeff2", "txtCoeff1", "txtCoeff0",
                                 "txtSStartGradient", "txtSEndGradient", "txtActualSection"}) {
            texts << text(name);
        }
        return texts;
    }
    void setTicked(const char* name, bool ticked) { control<QCheckBox>(name)->setChecked(ticked); }

private slots:
    void startUpShowsSectionOneOfTheDefaultProfile() {
        QVERIFY(open());
        QCOMPARE(window->windowTitle(), QStringLiteral("Pendrio V0.0"));
        QCOMPARE(shownSection(), (QStringList{"1968504", "0", "0", "0", "0", "0", "1"}));
        const QStringList inputs{"1968504", "0", "0", "0", "1"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(input(i)->text(), inputs[i]);
            QVERIFY(input(i)->isEnabled());
            QCOMPARE(input(i)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        }
        QVERIFY(!control<QCheckBox>("chkAutomatic")->isChecked());
        QVERIFY(control<QCheckBox>("chkAutomatic")->isHidden());
        QVERIFY(control<QCheckBox>("chkOutputFormat")->isHidden());
        QVERIFY(control<QCheckBox>("chkOnTop")->isVisible());
        QVERIFY(!control<QCheckBox>("chkOnTop")->isChecked());
        // The focus is in "Length" with its whole text selected and remembered.
        QCOMPARE(QApplication::focusWidget(), input(0));
        QCOMPARE(input(0)->selectedText(), QStringLiteral("1968504"));
        QCOMPARE(window->state().SavedText, std::string("1968504"));
        // The stored length is the exact 100 m until the box is first left.
        QCOMPARE(window->state().TrackLength, 1968503.937);
        QCOMPARE(beeps, 0);
        tab();
        QCOMPARE(window->state().TrackLength, 1968504.0);
        QCOMPARE(input(0)->text(), QStringLiteral("1968504"));
    }

    void layoutFitsEveryCaptionWithoutOverlap() {
        QVERIFY(open());
        const double scale = window->layoutScale();
        QVERIFY(scale >= 1.0);
        QCOMPARE(window->size(), QSize(TwipsToPixels(ClientWidthTwips, scale),
                                       TwipsToPixels(ClientHeightTwips, scale)));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint) ||
                window->minimumSize() == window->maximumSize());
        QList<QWidget*> placed;
        for (const ControlSpec& entry : Controls()) {
            auto* widget = control<QWidget>(entry.name);
            const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
            QVERIFY2(window->rect().contains(inWindow), entry.name);
            // Captions fit their controls whole.
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                QVERIFY2(label->sizeHint().width() <= label->width(), entry.name);
            }
            if (auto* box = qobject_cast<QCheckBox*>(widget)) {
                QVERIFY2(box->sizeHint().width() <= box->width(), entry.name);
            }
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                const int text = button->fontMetrics().horizontalAdvance(button->text());
                QVERIFY2(text < button->width() - 8, entry.name);
            }
            if (entry.kind != ControlKind::Frame && entry.visible) {
                for (QWidget* other : placed) {
                    const QRect otherInWindow(other->mapTo(window, QPoint(0, 0)),
                                              other->size());
                    QVERIFY2(
                        !inWindow.intersects(otherInWindow),
                        qPrintable(QString("%1 overlaps %2").arg(entry.name, other->objectName())));
                }
                placed << widget;
            }
            if (entry.kind == ControlKind::TextBox) {
                QCOMPARE(widget->accessibleName(), QString::fromUtf8(entry.boxName));
            }
        }
        // The frame's boxes line up with the input boxes above them.
        QCOMPARE(control<QWidget>("txtSectionLength")->mapTo(window, QPoint()).x(),
                 input(0)->x());
        QCOMPARE(control<QWidget>("txtSectionLength")->width(), input(0)->width());
    }

    void typicalUseStepsThroughThreeSections() {
        QVERIFY(open());
        enter(4, "3");
        click("cmdCalculate");
        QCOMPARE(window->state().SectionCount, 3);
        QCOMPARE(text("txtSectionLength"), QStringLiteral("656168")); // 656167.979
        QCOMPARE(text("txtActualSection"), QStringLiteral("1"));
        click("cmdNext");
        click("cmdNext");
        QCOMPARE(text("txtActualSection"), QStringLiteral("3"));
        QCOMPARE(beeps, 0);
        const QStringList third = shownSection();
        click("cmdNext"); // the last section: a beep and nothing else
        QCOMPARE(beeps, 1);
        QCOMPARE(shownSection(), third);
        click("cmdBack");
        click("cmdBack");
        QCOMPARE(text("txtActualSection"), QStringLiteral("1"));
        click("cmdBack");
        QCOMPARE(beeps, 2);
        // Calculate always returns to section 1, and gives the same numbers again.
        click("cmdNext");
        const QStringList first = (click("cmdBack"), shownSection());
        click("cmdNext");
        click("cmdCalculate");
        QCOMPARE(shownSection(), first);
    }

    void refusedTextBeepsAndRestoresWhatTheBoxHadOnEntry() {
        QVERIFY(open());
        struct Row {
            int box;
            QString typed;
        };
        const Row rows[] = {{0, "-1"},  {0, ""},    {0, "12abc"}, {0, "1E400"}, {0, "inf"},
                            {1, "1,5"}, {2, "nan"}, {3, "--2"},   {4, "40000"}, {4, "abc"}};
        for (const Row& row : rows) {
            const QString typed = row.typed;
            const QString onEntry = input(row.box)->text();
            typeInto(row.box, typed);
            const ProfileState before = window->state();
            const int beepsBefore = beeps;
            // Leave the refused box by clicking into the next one.
            const int next = (row.box + 1) % 5;
            QTest::mouseClick(input(next), Qt::LeftButton);
            QVERIFY2(beeps == beepsBefore + 1, qPrintable(typed));
            QCOMPARE(input(row.box)->text(), onEntry);
            QCOMPARE(window->state().TrackLength, before.TrackLength);
            QCOMPARE(window->state().SectionHeight.at(1), before.SectionHeight.at(1));
            QCOMPARE(window->state().StartGradient, before.StartGradient);
            QCOMPARE(window->state().EndGradient, before.EndGradient);
            QCOMPARE(window->state().SectionCount, before.SectionCount);
            // The focus went on, and only then was the next box remembered.
            QCOMPARE(QApplication::focusWidget(), input(next));
            QCOMPARE(QString::fromStdString(window->state().SavedText), input(next)->text());
        }
    }

    void acceptedTextIsStoredAndWrittenBackInNormalForm() {
        QVERIFY(open());
        struct Row {
            int box;
            QString typed;
            QString shown;
        };
        const Row rows[] = {
            {0, " 42 ", "42"},
            {0, "0", "0"},
            {0, "250.50", "250.5"},
            {1, "-3.25", "-3.25"},
            {1, "12.3456789012345678", "12.3456789012346"},
            {2, "90", "90"},
            {2, "135", "135"},
            {2, "-400", "-400"},
            {3, "-2.5", "-2.5"},
            {4, "0", "1"},
            {4, "-7", "1"},
            {4, "0.5", "1"},
            {4, "300", "256"},
            {4, "257", "256"},
            {4, "256", "256"},
            {4, "2.5", "2"},
            {4, "3.5", "4"},
            {4, "007", "7"},
        };
        for (const Row& row : rows) {
            enter(row.box, row.typed);
            QCOMPARE(input(row.box)->text(), row.shown);
        }
        QCOMPARE(beeps, 0);
        const ProfileState& state = window->state();
        QCOMPARE(state.TrackLength, 250.5);
        QVERIFY(state.SectionHeight.at(1) == 12.3456789012345678);
        QVERIFY(state.StartGradient == -400 * 3.14159265358979 / 180);
        QVERIFY(state.EndGradient == (-2.5 * 3.14159265358979) / 180);
        QCOMPARE(state.SectionCount, 7);
        enter(2, "90");
        QVERIFY(state.StartGradient == 1.570796326794895);
    }

    void clickingCalculateCommitsTheValueJustTyped() {
        QVERIFY(open());
        typeInto(4, "5");
        click("cmdCalculate");
        QCOMPARE(window->state().SectionCount, 5);
        QCOMPARE(input(4)->text(), QStringLiteral("5"));
        QCOMPARE(text("txtSectionLength"), QStringLiteral("393701")); // 1968504 / 5
        for (int i = 0; i < 5; ++i) {
            QVERIFY(input(i)->isEnabled());
        }
    }

    void newStartHeightShowsAtOnceInSectionOneOnly() {
        QVERIFY(open());
        enter(2, "1");
        enter(4, "3");
        click("cmdCalculate");
        click("cmdNext");
        const QString secondHeight = text("txtCoeff0");
        enter(1, "100");
        click("cmdNext");
        click("cmdBack");
        QCOMPARE(text("txtCoeff0"), secondHeight);
        click("cmdBack");
        QCOMPARE(text("txtCoeff0"), QStringLiteral("100"));
        enter(1, "-4.87085874848111E+21"); // longer than its box: it shows its start
        click("cmdBack");
        QCOMPARE(control<QLineEdit>("txtCoeff0")->cursorPosition(), 0);
        QCOMPARE(input(1)->cursorPosition(), 0); // and so does the box it was typed in
    }

    void failedCalculationBeepsAndKeepsThePreviousResults() {
        QVERIFY(open());
        enter(4, "2");
        click("cmdCalculate");
        const QStringList previous = shownSection();
        const ProfileState before = window->state();
        enter(0, "0");
        enter(4, "4");
        click("cmdCalculate");
        QCOMPARE(beeps, 1);
        QCOMPARE(shownSection(), previous);
        QCOMPARE(window->state().SectionLength, before.SectionLength);
        for (int i = 0; i < 5; ++i) {
            QVERIFY(input(i)->isEnabled());
        }
    }

    void hiddenOptionsSetByCode() {
        QVERIFY(open());
        // "Output in [m]" redraws the section on display in whole metres.
        QCOMPARE(text("txtSectionLength"), QStringLiteral("1968504"));
        setTicked("chkOutputFormat", true);
        QCOMPARE(text("txtSectionLength"), QStringLiteral("100"));
        setTicked("chkOutputFormat", false);
        enter(2, "-1");
        enter(3, "2");
        enter(4, "3");
        click("cmdCalculate");
        click("cmdNext");
        const QStringList units = shownSection();
        setTicked("chkOutputFormat", true);
        const QStringList metres = shownSection();
        QCOMPARE(metres[0], QStringLiteral("33"));
        QCOMPARE(metres.mid(4), units.mid(4)); // gradients and section number stay
        QVERIFY(metres[3] != units[3]);

        // "Auto-tile" ticked: the section count is disabled and Calculate
        // shows section 1 of the old results without calculating.
        setTicked("chkOutputFormat", false);
        const QStringList sectionOne = (click("cmdBack"), shownSection());
        click("cmdNext");
        enter(0, "1000");
        setTicked("chkAutomatic", true);
        QVERIFY(!input(4)->isEnabled());
        QCOMPARE(shownSection(), sectionOne);
        click("cmdCalculate");
        QCOMPARE(shownSection(), sectionOne);
        QVERIFY(!input(4)->isEnabled());
        QVERIFY(input(0)->isEnabled());
        // Setting the state it already has changes nothing; clearing it calculates.
        setTicked("chkAutomatic", true);
        setTicked("chkAutomatic", false);
        QVERIFY(input(4)->isEnabled());
        QCOMPARE(text("txtSectionLength"), QStringLiteral("333"));
        QCOMPARE(beeps, 0);
    }

    void navigationAfterTheCountChangedWithoutCalculating() {
        QVERIFY(open());
        enter(2, "1");
        enter(4, "3");
        click("cmdCalculate");
        // Raised: Next steps into sections the last calculation did not fill.
        enter(4, "5");
        for (int i = 0; i < 4; ++i) {
            click("cmdNext");
        }
        QCOMPARE(beeps, 0);
        QCOMPARE(shownSection(), (QStringList{"656168", "0", "0", "0", "0", "0", "5"}));
        click("cmdNext");
        QCOMPARE(beeps, 1);
        // Lowered below the section on display: Next never meets the count.
        enter(4, "2");
        click("cmdNext");
        QCOMPARE(text("txtActualSection"), QStringLiteral("6"));
        for (int i = 0; i < 5; ++i) {
            click("cmdBack");
        }
        QCOMPARE(text("txtActualSection"), QStringLiteral("1"));
        click("cmdBack");
        QCOMPARE(beeps, 2);
        // ... but never past the tables' last entry.
        enter(4, "256");
        click("cmdCalculate");
        for (int i = 1; i < 255; ++i) {
            click("cmdNext");
        }
        enter(4, "10");
        click("cmdNext");
        QCOMPARE(text("txtActualSection"), QStringLiteral("256"));
        click("cmdNext");
        QCOMPARE(text("txtActualSection"), QStringLiteral("256"));
        QCOMPARE(beeps, 3);
    }

    void tabCycleVisitsEveryControlThatTakesTheFocus() {
        QVERIFY(open());
        const QStringList cycle{
            "txtInput(0)",      "txtInput(1)",       "txtInput(2)",     "txtInput(3)",
            "txtInput(4)",      "chkOnTop",          "cmdBack",         "cmdNext",
            "txtSectionLength", "txtCoeff2",         "txtCoeff1",       "txtCoeff0",
            "txtActualSection", "txtSStartGradient", "txtSEndGradient", "cmdCalculate"};
        QStringList forward, backward;
        for (int i = 0; i < cycle.size(); ++i) {
            tab();
            forward << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(forward, cycle.mid(1) + cycle.mid(0, 1));
        for (int i = 0; i < cycle.size(); ++i) {
            tab(Qt::ShiftModifier);
            backward.prepend(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(backward, cycle);
        // A disabled section count is passed over, and its handlers never run.
        setTicked("chkAutomatic", true);
        QTest::mouseClick(input(3), Qt::LeftButton);
        const std::string savedText = window->state().SavedText;
        tab();
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("chkOnTop"));
        QTest::mouseClick(input(4), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("chkOnTop"));
        QCOMPARE(window->state().SavedText, savedText);
    }

    void contextMenuAndOtherWindowsDoNotCommit() {
        QVERIFY(open());
        typeInto(0, "12");
        // A popup (as the box's own context menu) takes the focus and gives it back.
        QMenu menu(window);
        menu.addAction(QStringLiteral("Paste"));
        menu.popup(input(0)->mapToGlobal(QPoint(5, 5)));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        menu.close();
        QTRY_COMPARE(QApplication::focusWidget(), input(0));
        // Another window becomes active and then this one again.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget(), input(0));
        QCOMPARE(window->state().TrackLength, 1968503.937);
        QCOMPARE(input(0)->text(), QStringLiteral("12"));
        QVERIFY(!input(0)->hasSelectedText());
        QCOMPARE(window->state().SavedText, std::string("1968504"));
        QTest::keyClicks(input(0), "5");
        tab();
        QCOMPARE(window->state().TrackLength, 125.0);
        QCOMPARE(beeps, 0);
    }

    void worksUnderADecimalCommaLocale() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(open());
        enter(0, "1000");
        enter(3, "5,71059313749964"); // atan(0.1) in degrees
        enter(4, "2");
        click("cmdCalculate");
        QCOMPARE(shownSection(), (QStringList{"500", "12", "0", "0", "0", "2,862", "1"}));
        click("cmdNext");
        QCOMPARE(shownSection(), (QStringList{"500", "12", "25", "12", "2,862", "5,711", "2"}));
        enter(1, "1.5"); // a point is not a German decimal separator
        QCOMPARE(beeps, 0 + 1);
        QCOMPARE(input(1)->text(), QStringLiteral("0"));
        enter(1, "-3,25");
        QCOMPARE(input(1)->text(), QStringLiteral("-3,25"));
        QCOMPARE(window->state().SectionHeight.at(1), -3.25);
    }
};

PENDRIO_QTEST_MAIN(WindowTest)

#include "frmMainTest.moc"
