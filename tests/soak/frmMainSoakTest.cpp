// A long random session with the main window on the offscreen platform: tens
// of thousands of clicks, Tabs, typed and pasted texts and option changes,
// with the window's invariants checked after every single action.
//
// The session is repeatable. PENDRIO_SOAK_SEED=<number> replays the session
// of that seed, PENDRIO_SOAK_SEED=random runs a fresh one; either way the seed
// is in the log, and a failure names it with the action number and the last
// actions before it.
#include "RandomText.h"
#include "profile/ProfileState.h"
#include "tests/common/QtTestFixture.h"
#include "text/NumberText.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

using namespace pendrio;
using namespace pendrio::soak;

namespace {

constexpr int ActionsPerLocale = 12000;
constexpr std::uint64_t DefaultSeed = 20240611;

const char* const ResultBoxes[] = {"txtSectionLength", "txtCoeff2",         "txtCoeff1",
                                   "txtCoeff0",        "txtSStartGradient", "txtSEndGradient",
                                   "txtActualSection"};

// Shows a typed text in the log, shortened if long.
QString quoted(const QString& text) {
    if (text.size() <= 40) {
        return '"' + text + '"';
    }
    return QStringLiteral("\"%1...\" (%2 characters)").arg(text.left(30)).arg(text.size());
}

bool looksWritten(const QString& text) {
    return !text.isEmpty() && !text.contains("inf", Qt::CaseInsensitive) &&
           !text.contains("nan", Qt::CaseInsensitive);
}

enum class Act { Type, Tab, BackTab, ClickBox, Calculate, Next, Back, OnTop, Format, Auto };

// One window, one seeded sequence of user actions, every invariant after each.
class Session {
public:
    Session(const QLocale& locale, std::uint64_t seed) : locale_(locale), rng_(seed) {
        window_ = new frmMain;
        QObject::connect(window_, &frmMain::beepRequested, [this] { ++beeps_; });
        window_->show();
        window_->activateWindow();
        active_ = QTest::qWaitForWindowActive(window_);
        initial_ = window_->state();
        for (int i = 0; i < 5; ++i) {
            startText_[i] = input(i)->text();
        }
    }

    ~Session() { delete window_; }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Empty if every invariant held through `count` actions, else what broke.
    QString run(int count) {
        if (!active_) {
            return "the window did not become active";
        }
        static const int weights[] = {34, 12, 8, 14, 9, 7, 5, 3, 3, 3};
        std::discrete_distribution<int> pick(std::begin(weights), std::end(weights));
        for (int n = 1; n <= count;) {
            const Act act = Act(pick(rng_));
            // Next and Previous are often clicked many times in a row, up to
            // the end of the sections or until the window beeps.
            const bool stepping = act == Act::Next || act == Act::Back;
            int repeat = !stepping || !chance(rng_, 8) ? 1
                         : chance(rng_, 40)            ? MaxSections
                                                       : roll(rng_, 2, 60);
            for (; repeat > 0 && n <= count; --repeat, ++n) {
                const ProfileState old = window_->state();
                QString done = "the action that threw", problem;
                try {
                    done = perform(act);
                    problem = violation();
                } catch (const std::exception& error) {
                    problem = QStringLiteral("the window threw %1").arg(error.what());
                }
                recent_.push_back(QStringLiteral("%1: %2").arg(n).arg(done));
                if (recent_.size() > 15) {
                    recent_.removeFirst();
                }
                if (problem.isEmpty()) {
                    problem = navigationError(act, old.CurrentSection);
                }
                if (!problem.isEmpty()) {
                    return QStringLiteral("action %1: %2\nlast actions:\n  %3")
                        .arg(n)
                        .arg(problem, recent_.join("\n  "));
                }
                for (int i = 0; i < 5; ++i) {
                    changes_[i] += stored(old, i) != stored(window_->state(), i);
                }
                highest_ = std::max<int>(highest_, window_->state().CurrentSection);
                if (window_->state().CurrentSection == old.CurrentSection) {
                    repeat = 0; // it beeped
                }
            }
        }
        return {};
    }

    // What the session went through, for the log.
    QString summary() const {
        return QString::asprintf("%d beeps, %d pastes, highest section %d, stored values changed "
                                 "%d/%d/%d/%d/%d times",
                                 beeps_, pastes_, highest_, changes_[0], changes_[1], changes_[2],
                                 changes_[3], changes_[4]);
    }

private:
    template <typename T = QLineEdit> T* control(const char* name) const {
        T* widget = window_->findChild<T*>(name);
        if (!widget) {
            qFatal("no control %s", name);
        }
        return widget;
    }
    QLineEdit* input(int i) const {
        return control(qPrintable(QStringLiteral("txtInput(%1)").arg(i)));
    }
    QCheckBox* check(const char* name) const { return control<QCheckBox>(name); }

    QString perform(Act act) {
        shown_ = false;
        switch (act) {
        case Act::Type:
            return type();
        case Act::Tab:
        case Act::BackTab: {
            QWidget* target = window_->focusWidget() ? window_->focusWidget() : window_.data();
            const bool back = act == Act::BackTab;
            QTest::keyClick(target, Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
            return back ? "Shift+Tab" : "Tab";
        }
        case Act::ClickBox:
            return "click " + clickAnyBox();
        case Act::Calculate:
        case Act::Next:
        case Act::Back: {
            const char* name = act == Act::Calculate ? "cmdCalculate"
                               : act == Act::Next    ? "cmdNext"
                                                     : "cmdBack";
            const int before = window_->state().CurrentSection;
            QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton);
            shown_ = act == Act::Calculate || window_->state().CurrentSection != before;
            return QStringLiteral("click %1").arg(name);
        }
        case Act::OnTop:
            QTest::mouseClick(check("chkOnTop"), Qt::LeftButton);
            return "click chkOnTop";
        case Act::Format:
        case Act::Auto: {
            const char* name = act == Act::Format ? "chkOutputFormat" : "chkAutomatic";
            const bool ticked = chance(rng_, act == Act::Format ? 50 : 30);
            shown_ = check(name)->isChecked() != ticked;
            check(name)->setChecked(ticked);
            return QStringLiteral("%1->setChecked(%2)").arg(name).arg(ticked);
        }
        }
        return {};
    }

    QString clickAnyBox() {
        // Mostly the input boxes, where typing has an effect.
        const int which = chance(rng_, 65) ? roll(rng_, 0, 4) : roll(rng_, 5, 11);
        QLineEdit* box = which < 5 ? input(which) : control(ResultBoxes[which - 5]);
        QTest::mouseClick(box, Qt::LeftButton);
        return box->objectName();
    }

    // Edits the box that has the focus; when no box has it, clicks one first.
    QString type() {
        QString done;
        auto* box = qobject_cast<QLineEdit*>(window_->focusWidget());
        if (!box) {
            done = "click " + clickAnyBox() + ", then ";
            box = qobject_cast<QLineEdit*>(window_->focusWidget());
            if (!box) {
                return done + "no box has the focus";
            }
        }
        const QString point = locale_.decimalPoint();
        // The section count gets plain counts often, so that sessions reach the
        // last sections and lower the count below the section on display.
        const QString text = box == input(4) && chance(rng_, 40)
                                 ? QString::number(roll(rng_, 1, 300))
                                 : randomText(rng_, point, point == "." ? "," : ".");
        // Replacing the whole text is the most common edit.
        static const std::pair<const char*, const char*> edits[] = {
            {"Ctrl+A, Del", "replace with "},
            {"Ctrl+A, Del", "replace with "},
            {"Ctrl+A, Del", "replace with "},
            {"End", "append "},
            {"Home, Right", "insert after the first character "},
            {"Backspace", "Backspace, then "}};
        const auto [keys, edit] = pickOf(rng_, edits);
        QTest::keySequence(box, QKeySequence(keys));
        done += edit;
        const bool typeable =
            text.size() <= 40 &&
            std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u' ' && c <= u'~'; });
        if (typeable) {
            QTest::keyClicks(box, text);
        } else {
            QGuiApplication::clipboard()->setText(text);
            ++pastes_;
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        }
        return done + quoted(text) + (typeable ? " typed" : " pasted") + " in " + box->objectName();
    }

    // The text an input box shows once its value has been committed.
    QString normalText(int i) const {
        const ProfileState& s = window_->state();
        const QString texts[] = {NumberToText(s.TrackLength, locale_),
                                 NumberToText(s.SectionHeight.at(1), locale_),
                                 NumberToText(RadiansToDegrees(s.StartGradient), locale_),
                                 NumberToText(RadiansToDegrees(s.EndGradient), locale_),
                                 NumberToText(s.SectionCount, locale_)};
        return texts[i];
    }
    static double stored(const ProfileState& s, int i) {
        const double values[] = {s.TrackLength, s.SectionHeight.at(1), s.StartGradient,
                                 s.EndGradient, double(s.SectionCount)};
        return values[i];
    }

    // The section on display as the result boxes must show it.
    QStringList expectedSection() const {
        const ProfileState& s = window_->state();
        const bool metres = check("chkOutputFormat")->isChecked();
        const int i = s.CurrentSection;
        const auto length = [&](double units) {
            return NumberToText(RoundHalfEven(metres ? units / UnitsPerMetre : units, 0), locale_);
        };
        const auto degrees = [&](double radians) {
            return NumberToText(RoundHalfEven(RadiansToDegrees(radians), 3), locale_);
        };
        return {length(s.SectionLength),
                length(s.SectionCoeff2.at(i)),
                length(s.SectionCoeff1.at(i)),
                length(s.SectionHeight.at(i)),
                degrees(s.SectionStartAngle.at(i)),
                degrees(s.SectionEndAngle.at(i)),
                NumberToText(s.CurrentSection, locale_)};
    }

    QString violation() {
        if (!window_ || !window_->isVisible()) {
            return "the window is gone";
        }
        bool answered = false;
        QMetaObject::invokeMethod(
            window_.data(), [&answered] { answered = true; }, Qt::QueuedConnection);
        QCoreApplication::processEvents();
        if (!answered) {
            return "the window does not answer";
        }
        const ProfileState& s = window_->state();
        if (s.SectionCount < 1 || s.SectionCount > MaxSections) {
            return QStringLiteral("SectionCount is %1").arg(s.SectionCount);
        }
        if (s.CurrentSection < 1 || s.CurrentSection > MaxSections) {
            return QStringLiteral("CurrentSection is %1").arg(s.CurrentSection);
        }
        for (double value : {s.TrackLength, s.StartGradient, s.EndGradient, s.SectionLength,
                             s.StartRise, s.CurveRise}) {
            if (!std::isfinite(value)) {
                return "an input or derived value is not finite";
            }
        }
        for (const SectionTable* table : {&s.SectionHeight, &s.SectionCoeff1, &s.SectionCoeff2,
                                          &s.SectionStartAngle, &s.SectionEndAngle}) {
            if (!std::all_of(table->begin(), table->end(),
                             [](double v) { return std::isfinite(v); })) {
                return "a section table holds a value that is not finite";
            }
        }
        for (int i = 0; i < 5; ++i) {
            const bool enabled = i < 4 || !check("chkAutomatic")->isChecked();
            if (input(i)->isEnabled() != enabled) {
                return QStringLiteral("txtInput(%1) is %2")
                    .arg(i)
                    .arg(enabled ? "disabled" : "enabled");
            }
            if (input(i) == window_->focusWidget()) {
                continue; // still being edited
            }
            const QString text = input(i)->text();
            committed_[i] = committed_[i] || text == normalText(i);
            if (committed_[i] ? text != normalText(i) || !looksWritten(text)
                              : text != startText_[i] || stored(s, i) != stored(initial_, i)) {
                return QStringLiteral("txtInput(%1) shows %2, the stored value is %3")
                    .arg(i)
                    .arg(quoted(text), quoted(normalText(i)));
            }
        }
        const QStringList expected = expectedSection();
        for (int i = 0; i < 7; ++i) {
            const QLineEdit* box = control(ResultBoxes[i]);
            if (box->isModified()) {
                continue; // the user's own text, until the section is shown again
            }
            if (!looksWritten(box->text()) || (shown_ && box->text() != expected[i])) {
                return QStringLiteral("%1 shows %2 instead of %3")
                    .arg(ResultBoxes[i], quoted(box->text()), quoted(expected[i]));
            }
        }
        return {};
    }

    // Calculate shows section 1; Next and Previous step by one or beep at the ends.
    QString navigationError(Act act, int before) const {
        const ProfileState& s = window_->state();
        const int now = s.CurrentSection;
        bool right = true;
        if (act == Act::Calculate || (act == Act::Auto && shown_)) {
            right = now == 1;
        } else if (act == Act::Next) {
            const bool atEnd = before == s.SectionCount || before >= MaxSections;
            right = now == (atEnd ? before : before + 1);
        } else if (act == Act::Back) {
            right = now == (before <= 1 ? before : before - 1);
        }
        return right ? QString() : QStringLiteral("section %1 became %2").arg(before).arg(now);
    }

    QLocale locale_;
    Rng rng_;
    QPointer<frmMain> window_; // owned, but a window that deletes itself must show up
    ProfileState initial_;
    QString startText_[5];
    bool committed_[5] = {};
    bool shown_ = false; // the last action showed a section anew
    QStringList recent_;
    bool active_ = false;
    int beeps_ = 0;
    int pastes_ = 0;
    int highest_ = 1;
    int changes_[5] = {};
};

} // namespace

class SoakTest : public testing::QtTestCase {
    Q_OBJECT

    const std::uint64_t seed = chosenSeed(DefaultSeed);
    const int actions = chosenActionCount(ActionsPerLocale);

    void soak(const QLocale& locale, std::uint64_t localeSeed) {
        const QString problem = RunSession<Session>(locale, seed, localeSeed, actions);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

private slots:
    void decimalPointLocale() { soak(QLocale::c(), seed); }
    void decimalCommaLocale() { soak(QLocale(QLocale::German, QLocale::Germany), seed + 1); }
};

PENDRIO_QTEST_MAIN(SoakTest)

#include "frmMainSoakTest.moc"
