// A random session with the whole program on the offscreen platform: typed
// and pasted text in every box of both windows, Calculate, Next, Previous,
// the tables, the plot, tabs, View, "Use this length", closing and reopening
// the profile window, every copy and every file, with main-window actions
// fired while a save dialog waits and while a report is made. Each copy,
// file and report is held to the engine's numbers for what was on show when
// the command was given (SoakOracle), and the profile window to the soak's
// own record after every action.
//
// PENDRIO_SOAK_SEED=<number> replays a session, PENDRIO_SOAK_SEED=random runs
// a fresh one, PENDRIO_SOAK_ACTIONS sets its length (per locale; about 200
// actions a second, and QTest ends a run after 5 minutes unless
// QTEST_FUNCTION_TIMEOUT, in milliseconds, allows more). A failure names the
// seed, the action number and the last actions.
#include "RandomText.h"
#include "SoakOracle.h"
#include "app/AppShell.h"
#include "profile/CurveFacts.h"
#include "profile/ProfileCurve.h"
#include "widgets/ElidingLabel.h"
#include "profilewindow/ProfilePlot.h"
#include "profilewindow/ProfileWindow.h"
#include "profilewindow/StationsPage.h"
#include "tests/common/QtTestFixture.h"
#include "text/ChainageText.h"
#include "text/NumberText.h"
#include "window/frmMain.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace pendrio;
using namespace pendrio::soak;

namespace {

constexpr std::uint64_t DefaultSeed = 20261208;
#if defined(__SANITIZE_ADDRESS__)
constexpr int ActionsPerLocale = 600; // every action takes about twice as long
#else
constexpr int ActionsPerLocale = 1200;
#endif
constexpr int MostReportRows = 5000; // a longer report takes seconds to make and read back
const QString Nothing = QStringLiteral("(nothing copied)");

using Kind = ProfileWindow::FileKind;
struct FileKindInfo {
    Kind kind;
    const char* action;
    const char* suffix;
};
const FileKindInfo FileKinds[] = {{Kind::Csv, "actSaveCsv", "csv"},
                                  {Kind::StationsCsv, "actSaveStationsCsv", "csv"},
                                  {Kind::Svg, "actSaveSvg", "svg"},
                                  {Kind::Png, "actSavePng", "png"},
                                  {Kind::Report, "actSaveReport", "pdf"}};

QString quoted(const QString& text) {
    return text.size() <= 40 ? '"' + text + '"'
                             : QString::asprintf("\"%s...\" (%d characters)",
                                                 qPrintable(text.left(30)), int(text.size()));
}

template <typename T = QWidget> T* part(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        qFatal("no %s", name);
    }
    return found;
}

class Session {
public:
    Session(const QLocale& locale, std::uint64_t seed)
        : locale_(locale), point_(locale.decimalPoint()), rng_(seed),
          pdftotext_(QStandardPaths::findExecutable(QStringLiteral("pdftotext"))) {
        shell_ = std::make_unique<AppShell>();
        QObject::connect(shell_.get(), &AppShell::beepRequested, [this] { ++beeps_; });
        main_ = &shell_->mainWindow();
        shown_.profile = main_->state(); // the calculation it opens with
        QObject::connect(main_, &frmMain::profileCalculated, [this](const ProfileState& p) {
            shown_.profile = p;
            ++calculations_;
            calculatedInReport_ += reporting_;
        });
        main_->show();
        activate(main_);
        if (pdftotext_.isEmpty()) {
            qInfo("pdftotext (poppler-utils) is missing: reports are not read back");
        }
    }

    QString run(int count) {
        std::vector<int> weights;
        for (const Step& step : Steps) {
            weights.push_back(step.weight);
        }
        std::discrete_distribution<int> pick(weights.begin(), weights.end());
        for (int n = 1; n <= count; ++n) {
            const Step& step = Steps[pick(rng_)];
            QString done = step.inProfileWindow ? openProfile() : QString();
            if (problem_.isEmpty()) {
                done += (this->*step.act)();
                checkProfileWindow();
            }
            recent_.push_back(QString::asprintf("%d: ", n) + done);
            if (recent_.size() > 12) {
                recent_.removeFirst();
            }
            if (!problem_.isEmpty()) {
                return QString::asprintf("action %d: ", n) + problem_ + "\nlast actions:\n  " +
                       recent_.join("\n  ");
            }
        }
        return {};
    }

    QString summary() const {
        return QString::asprintf("%d calculations, %d beeps, %d copies and %d files checked (%d "
                                 "reports, %d with a calculation made while they were made)",
                                 calculations_, beeps_, copies_, files_, reports_, reportsCrossed_);
    }

private:
    struct Step {
        int weight;
        QString (Session::*act)();
        bool inProfileWindow; // opened first, with Ctrl+Shift+P, if it is not open
    };
    static const Step Steps[12];

    void fail(const QString& problem) {
        if (problem_.isEmpty() && !problem.isEmpty()) {
            problem_ = problem;
        }
    }

    void activate(QWidget* window) {
        if (QApplication::activeWindow() != window) {
            window->activateWindow();
            if (!QTest::qWaitForWindowActive(window)) {
                fail("the window \"" + window->windowTitle() + "\" did not become active in 5 s");
            }
        }
    }

    QString openProfile() {
        QString done;
        if (!window_ || !window_->isVisible()) {
            activate(main_);
            QTest::keyClick(main_, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
            done = "Ctrl+Shift+P, ";
        }
        if (!window_ && shell_->profileWindow()) {
            window_ = shell_->profileWindow();
            window_->setReportProgressDelay(0); // events go through while a report is made
            // The soak reads what the warning box would say instead of showing it.
            QObject::disconnect(window_, &ProfileWindow::saveFailed, nullptr, nullptr);
            QObject::connect(window_, &ProfileWindow::saveFailed,
                             [this](const QString& message) { refusals_ << message; });
        }
        if (!window_ || !window_->isVisible()) {
            fail("Ctrl+Shift+P did not show the profile window");
        } else {
            activate(window_);
        }
        return done;
    }

    void showTab(int index) {
        QTabBar* bar = part<QTabWidget>(window_, "tabTables")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    QString plain(double value, int places) const {
        return QString::number(value, 'f', places).replace(u'.', point_);
    }

    // What a user plainly means in each box, often enough that calculations
    // succeed and stations exist.
    QString plausibleInput(int box) {
        switch (box) {
        case 0:
            return plain(roll(rng_, 1, chance(rng_, 10) ? 40000 : 3000) * UnitsPerMetre, 3);
        case 1:
            return plain(roll(rng_, -500000, 500000) * UnitsPerMetre / 1000, 3);
        case 2:
        case 3:
            return plain(roll(rng_, -4000, 4000) / 1000.0, 3);
        default:
            return QString::number(chance(rng_, 50) ? roll(rng_, 1, 20) : roll(rng_, 1, 256));
        }
    }

    QString plausibleProfileText(const QString& name) {
        static const char* const intervals[] = {"1", "2", "5", "10", "20", "25", "50", "100"};
        static const char* const malformed[] = {"abc", "1+", "1+50", "1 + 300", "1+2+3"};
        if (name == "txtStartChainage") {
            const double metres = roll(rng_, -2000, 20000) + roll(rng_, 0, 999) / 1000.0;
            return chance(rng_, 50) ? ChainageText(metres, locale_) : plain(metres, 3);
        }
        if (name == "txtStationInterval") {
            return chance(rng_, 80) ? pickOf(rng_, intervals) : plain(roll(rng_, 1, 999) / 10.0, 1);
        }
        if (name == "txtChainageQuery") {
            const double along = shown_.profile.TrackLength / UnitsPerMetre * roll(rng_, -10, 110);
            return chance(rng_, 20) ? pickOf(rng_, malformed)
                                    : ChainageText(shown_.startChainage + along / 100, locale_);
        }
        return QString::number(roll(rng_, 100, 50000));
    }

    QString hostile() { return randomText(rng_, point_, point_ == "." ? "," : "."); }

    // Edits the box that has the focus: replaces, appends or inserts the
    // text, typed where a keyboard has the characters, else pasted.
    QString edit(QLineEdit* box, const QString& text) {
        static const std::pair<const char*, const char*> edits[] = {
            {"Ctrl+A, Del", "replace with "}, {"Ctrl+A, Del", "replace with "},
            {"Ctrl+A, Del", "replace with "}, {"End", "append "},
            {"Home, Right", "insert "},       {"Backspace", "Backspace, "}};
        const auto [keys, what] = pickOf(rng_, edits);
        QTest::keySequence(box, QKeySequence(QString::fromLatin1(keys)));
        const bool typeable =
            text.size() <= 40 &&
            std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u' ' && c <= u'~'; });
        if (typeable) {
            QTest::keyClicks(box, text);
        } else {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        }
        return what + quoted(text) + (typeable ? " typed" : " pasted") + " in " + box->objectName();
    }

    QString typeInMain() {
        activate(main_);
        const int i = roll(rng_, 0, 4);
        auto* box = main_->findChild<QLineEdit*>(QString::asprintf("txtInput(%d)", i));
        QTest::mouseClick(box, Qt::LeftButton);
        QString done = edit(box, chance(rng_, 50) ? plausibleInput(i) : hostile());
        if (chance(rng_, 80)) {
            QTest::keyClick(box, Qt::Key_Tab);
            done += ", Tab";
        }
        return done;
    }

    QString click(const char* name) {
        activate(main_);
        QTest::mouseClick(part<QPushButton>(main_, name), Qt::LeftButton);
        return QStringLiteral("click ") + name;
    }
    QString calculate() { return click("cmdCalculate"); }
    QString nextOrPrevious() { return click(chance(rng_, 60) ? "cmdNext" : "cmdBack"); }

    // A box of the profile window, left with Tab or Enter; the chainage and
    // the interval are taken (no beep) exactly where the engine plans stations.
    QString typeInProfile() {
        static const char* const boxes[] = {"txtStartChainage",   "txtStationInterval",
                                            "txtStationInterval", "txtChainageQuery",
                                            "txtChainageQuery",   "txtDesignRadius"};
        const char* name = pickOf(rng_, boxes);
        showTab(name == QStringLiteral("txtDesignRadius") ? 2 : 1);
        auto* box = part<QLineEdit>(window_, name);
        QTest::mouseClick(box, Qt::LeftButton);
        QString done = edit(box, chance(rng_, 55) ? plausibleProfileText(name) : hostile());
        if (box->objectName() == "txtChainageQuery") {
            return done; // answered while typed
        }
        const QString taken = box->text();
        const int beeps = beeps_;
        const bool enter = chance(rng_, 25);
        QTest::keyClick(box, enter ? Qt::Key_Return : Qt::Key_Tab);
        const bool stations = box->objectName() != "txtDesignRadius";
        if (stations && beeps_ - beeps != (take(box->objectName(), taken) ? 0 : 1)) {
            fail(QString::asprintf("%d beeps for ", beeps_ - beeps) + quoted(taken));
        }
        return done + (enter ? ", Enter" : ", Tab");
    }

    // The record follows a chainage or an interval that the plan takes, as
    // the box writes it back: to the millimetre, to 15 digits. As in every
    // box, a number whose 15 digits round beyond the largest double is refused.
    bool take(const QString& name, const QString& text) {
        const bool start = name == "txtStartChainage";
        const std::optional<double> value =
            start ? TextToChainage(text, locale_) : TextToNumber(text, locale_);
        ShownCurve tried = shown_;
        (start ? tried.startChainage : tried.interval) = value.value_or(0);
        if (!value || !std::isfinite(RoundedTo15Digits(*value)) ||
            tried.plan().Problem != StationsProblem::None) {
            return false;
        }
        (start ? shown_.startChainage : shown_.interval) =
            start ? ChainageMillimetres(*value) / 1000 + 0.0 : RoundedTo15Digits(*value);
        return true;
    }

    // A row of either table; a row of the sections is shown in the main window.
    QString clickTable() {
        const bool sections = chance(rng_, 50);
        showTab(sections ? 0 : 1);
        auto* table = part<QTableView>(window_, sections ? "tblSections" : "tblStations");
        const QAbstractItemModel* model = table->model();
        if (model->rowCount() == 0) {
            return table->objectName() + " has no rows";
        }
        const QModelIndex index = model->index(roll(rng_, 0, model->rowCount() - 1),
                                               roll(rng_, 0, model->columnCount() - 1));
        table->scrollTo(index);
        const bool shift = chance(rng_, 25);
        QTest::mouseClick(table->viewport(), Qt::LeftButton,
                          shift ? Qt::ShiftModifier : Qt::NoModifier,
                          table->visualRect(index).center());
        if (sections && !shift && main_->state().CurrentSection != index.row() + 1) {
            fail(QString::asprintf("the main window shows section %d",
                                   main_->state().CurrentSection));
        }
        return QString::asprintf("click row %d of ", index.row() + 1) + table->objectName() +
               (shift ? " with Shift" : "");
    }

    // A click anywhere on the plot, or a key that steps as Next and Previous
    // do; checkProfileWindow sees that both windows show the same section.
    QString usePlot() {
        static const std::pair<Qt::Key, const char*> keys[] = {
            {Qt::Key_Left, "Left"}, {Qt::Key_Right, "Right"}, {Qt::Key_Up, "Up"},
            {Qt::Key_Down, "Down"}, {Qt::Key_Home, "Home"},   {Qt::Key_End, "End"}};
        ProfilePlot* plot = window_->plot();
        if (chance(rng_, 50)) {
            const QPoint at(roll(rng_, 0, plot->width() - 1), roll(rng_, 0, plot->height() - 1));
            QTest::mouseClick(plot, Qt::LeftButton, {}, at);
            return QString::asprintf("click the plot at %d, %d", at.x(), at.y());
        }
        const auto [key, name] = pickOf(rng_, keys);
        plot->setFocus(Qt::TabFocusReason);
        QTest::keyClick(plot, key);
        return name + QStringLiteral(" on the plot");
    }

    QString changeTab() {
        const int index = roll(rng_, 0, 2);
        showTab(index);
        return QString::asprintf("tab %d", index);
    }

    QString changeView() {
        metres_ = chance(rng_, 50);
        part<QAction>(window_, metres_ ? "actMetres" : "actTrackUnits")->trigger();
        return metres_ ? "View > Metres" : "View > Track units";
    }

    QString useLength() {
        showTab(2);
        QTest::mouseClick(part<QPushButton>(window_, "cmdUseDesignLength"), Qt::LeftButton);
        return "click Use this length";
    }

    QString closeOrOpen() {
        if (!window_ || !window_->isVisible()) {
            activate(main_);
            shell_->showProfile()->trigger();
            return "Show profile";
        }
        activate(window_);
        QAction* close = part<QAction>(window_, "actClose");
        chance(rng_, 50) ? close->trigger() : QTest::keySequence(window_, close->shortcut());
        fail(window_->isVisible() ? "the profile window is still open" : "");
        return "close the profile window";
    }

    // Every copy, held to the engine for what was on show when it was given.
    QString copy() {
        const ShownCurve at = shown_;
        const bool stations = at.plan().Problem == StationsProblem::None;
        QGuiApplication::clipboard()->setText(Nothing);
        ++copies_;
        if (chance(rng_, 25)) {
            QWidget* where = chance(rng_, 50) ? static_cast<QWidget*>(main_) : window_;
            activate(where);
            QTest::keyClick(where, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
            fail(CheckSectionsCopy(clipboardText(), at.profile, locale_, {}));
            return "Ctrl+Shift+C in " + where->windowTitle();
        }
        if (chance(rng_, 35)) {
            part<QAction>(window_, "actCopyStations")->trigger();
            fail(stations ? CheckStationsCopy(clipboardText(), at, locale_, {}) : nothingCopied());
            return "Edit > Copy all stations";
        }
        const bool sections = chance(rng_, 50);
        showTab(sections ? 0 : 1);
        auto* table = part<QTableView>(window_, sections ? "tblSections" : "tblStations");
        table->setFocus(Qt::TabFocusReason);
        QString done = chance(rng_, 25) ? "Ctrl+A, " : "";
        if (!done.isEmpty()) {
            QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
        }
        std::vector<int> rows; // sections count from 1, stations from 0
        for (const QModelIndex& index : table->selectionModel()->selectedRows()) {
            rows.push_back(index.row() + (sections ? 1 : 0));
        }
        std::sort(rows.begin(), rows.end());
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        fail(sections   ? CheckSectionsCopy(clipboardText(), at.profile, locale_, rows)
             : stations ? CheckStationsCopy(clipboardText(), at, locale_, rows)
                        : nothingCopied());
        return done + QString::asprintf("Ctrl+C in %s, %d rows selected",
                                        qPrintable(table->objectName()), int(rows.size()));
    }

    QString clipboardText() const { return QGuiApplication::clipboard()->text(); }
    QString nothingCopied() const {
        return clipboardText() == Nothing ? QString() : "stations copied where there are none";
    }

    // Main-window actions while a save dialog waits or a report is made,
    // clicked as a timer reaches a button, past the event queue that an
    // application-modal dialog holds.
    void meanwhile() {
        QStringList done;
        for (int n = roll(rng_, 1, 3); n > 0; --n) {
            const int box = roll(rng_, 0, 4);
            const QString text = plausibleInput(box);
            if (chance(rng_, 60)) {
                main_->enterInput(InputBox(box), text);
                done << QString::asprintf("txtInput(%d) = ", box) + text;
            }
            const char* button = chance(rng_, 75) ? "cmdCalculate" : "cmdNext";
            part<QPushButton>(main_, button)->click();
            done << button;
        }
        meanwhile_ += "; meanwhile " + done.join(", ");
    }

    // Any file, through the File menu's dialog or saveTo(); a report has
    // main-window actions fired by a timer while it is made.
    QString save() {
        const ShownCurve at = shown_;
        FileKindInfo file = pickOf(rng_, FileKinds);
        if (file.kind == Kind::Report && at.plan().Count > MostReportRows) {
            file = FileKinds[1];
        }
        QAction* command = part<QAction>(window_, file.action);
        const QString path =
            folder_.filePath(QString::asprintf("file%d.%s", ++fileNumber_, file.suffix));
        const QStringList facts = window_->plotCaption();
        const int calculations = calculations_;
        const bool timed = file.kind == Kind::Report && chance(rng_, 70);
        meanwhile_.clear();
        refusals_.clear();
        reporting_ = file.kind == Kind::Report;
        calculatedInReport_ = 0;
        const QString done = command->isEnabled() && chance(rng_, 25)
                                 ? saveThroughDialog(command, path, timed)
                                 : saveTo(file.kind, path, timed);
        reportsCrossed_ += calculatedInReport_ > 0;
        reporting_ = false;
        QCoreApplication::processEvents(); // a timer the report left behind
        ++files_;
        fail(checkFile(file.kind, path, at, facts));
        if ((file.kind == Kind::Svg || file.kind == Kind::Png) && calculations_ == calculations) {
            fail(checkSameWhateverSection(file.kind, path));
        }
        QFile::remove(path);
        return done + meanwhile_;
    }

    QString saveTo(Kind kind, const QString& path, bool timed) {
        if (timed) {
            QTimer::singleShot(0, main_, [this] { meanwhile(); });
        }
        window_->saveTo(kind, path);
        return "saveTo(" + path + ")";
    }

    // The name typed where the dialog asks for it, then Save; the user may
    // act in the main window while the dialog waits.
    QString saveThroughDialog(QAction* command, const QString& path, bool timed) {
        testing::ExpectedDialog() = [this, path, timed](QDialog& dialog) {
            if (chance(rng_, 50)) {
                meanwhile();
            }
            if (timed) {
                QTimer::singleShot(0, main_, [this] { meanwhile(); });
            }
            part<QLineEdit>(&dialog, "fileNameEdit")->setText(path);
            dialog.accept();
        };
        command->trigger();
        if (testing::ExpectedDialog()) {
            testing::ExpectedDialog() = {};
            fail(command->objectName() + " opened no file dialog");
        }
        return "File > " + command->text() + " to " + path;
    }

    QString checkFile(Kind kind, const QString& path, const ShownCurve& at,
                      const QStringList& facts) {
        QFile file(path);
        if (kind == Kind::StationsCsv && at.plan().Problem != StationsProblem::None) {
            const QString prefix = "“" + path + "” was not saved. ";
            return file.exists() ? "a station file was written with no stations"
                   : refusals_.size() != 1 || !refusals_[0].startsWith(prefix)
                       ? "the refusal said " + refusals_.join(u'|')
                       : CheckWhyNoStations(refusals_[0].mid(prefix.size()), at, locale_);
        }
        if (!refusals_.isEmpty() || !file.open(QIODevice::ReadOnly)) {
            return path + " was not written: " + refusals_.join(u'|');
        }
        const QByteArray bytes = file.readAll();
        const bool png = QImage::fromData(bytes, "PNG").size() == QSize(1200, 600);
        reports_ += kind == Kind::Report;
        const QString problem =
            kind == Kind::Csv           ? CheckSectionsCsv(bytes, at.profile)
            : kind == Kind::StationsCsv ? CheckStationsCsv(bytes, at)
            : kind == Kind::Svg         ? checkSvg(bytes, at, facts)
            : kind == Kind::Png         ? (png ? "" : "the PNG does not load as 1200 x 600")
            : !bytes.startsWith("%PDF") ? "no PDF"
            : pdftotext_.isEmpty()      ? ""
                                        : CheckReportText(pdfText(path), at, locale_);
        return problem.isEmpty() ? problem : QFileInfo(path).fileName() + ": " + problem;
    }

    // Well-formed XML whose description holds the facts, the curve's kind first.
    static QString checkSvg(const QByteArray& bytes, const ShownCurve& at,
                            const QStringList& facts) {
        static const char* const kinds[] = {"Straight incline", "Crest", "Sag"};
        QXmlStreamReader xml(bytes);
        QString description;
        while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
            if (xml.isStartElement() && xml.name() == u"desc") {
                description = xml.readElementText();
            }
        }
        const std::optional<CurveKind> kind = ComputeCurveFacts(at.profile).Kind;
        const bool right = !xml.hasError() && description == facts.join(u'\n') && kind &&
                           description.startsWith(QString::fromLatin1(kinds[int(*kind)]));
        return right ? QString() : "the SVG (" + xml.errorString() + ") says " + description;
    }

    // The same plot again with another section on show in the main window.
    QString checkSameWhateverSection(Kind kind, const QString& path) {
        const int section = roll(rng_, 1, std::max(1, CalculatedSectionCount(shown_.profile)));
        main_->goToSection(section);
        const QString again = path + ".again";
        window_->saveTo(kind, again);
        QFile first(path), second(again);
        const bool same = first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly) &&
                          first.readAll() == second.readAll();
        QFile::remove(again);
        return same ? QString() : QString::asprintf("the image differs with section %d", section);
    }

    QString pdfText(const QString& path) {
        QProcess process;
        process.start(pdftotext_, {QStringLiteral("-layout"), path, QStringLiteral("-")});
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished(5000);
            fail("pdftotext did not finish reading the report within 30 s");
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The profile window against the soak's own record, after every action.
    void checkProfileWindow() {
        if (!window_) {
            return;
        }
        const StationPlan plan = shown_.plan();
        const StationsPage* page = window_->stations();
        const int rows[] = {part<QTableView>(window_, "tblSections")->model()->rowCount(),
                            part<QTableView>(window_, "tblStations")->model()->rowCount()};
        const int section = main_->state().CurrentSection;
        const std::pair<bool, QString> invariants[] = {
            {page->startChainage() == shown_.startChainage && page->interval() == shown_.interval,
             QString::asprintf("the stations are every %.17g m from %.17g, not every %.17g m from "
                               "%.17g",
                               page->interval(), page->startChainage(), shown_.interval,
                               shown_.startChainage)},
            {rows[0] == CalculatedSectionCount(shown_.profile) && rows[1] == plan.Count,
             QString::asprintf("the tables have %d and %d rows", rows[0], rows[1])},
            {window_->plot()->highlightedSection() == section,
             QString::asprintf("the plot highlights section %d, the main window shows %d",
                               window_->plot()->highlightedSection(), section)},
        };
        for (const auto& [holds, broken] : invariants) {
            fail(holds ? QString() : broken);
        }
        for (const char* name : {"actSaveStationsCsv", "actCopyStations"}) {
            const QAction* action = part<QAction>(window_, name);
            const bool enabled = plan.Problem == StationsProblem::None;
            const QString wrong = QString::asprintf("%s is %s with %d stations", name,
                                                    enabled ? "disabled" : "enabled", plan.Count);
            fail(action->isEnabled() != enabled ? wrong
                 : enabled                      ? QString()
                           : CheckWhyNoStations(action->toolTip(), shown_, locale_));
        }
        fail(CheckChainageAnswer(part<ElidingLabel>(window_, "lblChainageHeight")->fullText(),
                                 part<QLineEdit>(window_, "txtChainageQuery")->text(), shown_,
                                 locale_, metres_));
        // A length in a sentence leads with the unit View chose.
        static const QRegularExpression length(QStringLiteral("^\\S+ (m|track units) \\("));
        const QString design = part<ElidingLabel>(window_, "lblDesignLength")->fullText();
        const QString unit = length.match(design).captured(1);
        fail(!unit.isEmpty() && (unit == "m") != metres_ ? "the design length: " + design : "");
        for (const char* name : {"txtStartChainage", "txtStationInterval", "txtDesignRadius"}) {
            const auto* box = part<QLineEdit>(window_, name);
            fail(box->hasFocus() ? QString()
                                 : CheckShortenedValue(box->text(), box->toolTip(), locale_));
        }
    }

    QLocale locale_;
    QString point_;
    Rng rng_;
    QString pdftotext_;
    std::unique_ptr<AppShell> shell_;
    frmMain* main_ = nullptr;
    ProfileWindow* window_ = nullptr; // the shell's, once opened
    ShownCurve shown_;
    bool metres_ = true; // View's unit
    bool reporting_ = false;
    int calculatedInReport_ = 0;
    QTemporaryDir folder_;
    int fileNumber_ = 0;
    QStringList refusals_; // what saveTo() told the user
    QString meanwhile_;
    QString problem_;
    QStringList recent_;
    int beeps_ = 0, calculations_ = 0, copies_ = 0, files_ = 0, reports_ = 0, reportsCrossed_ = 0;
};

const Session::Step Session::Steps[12] = {
    {24, &Session::typeInMain, false},
    {9, &Session::calculate, false},
    {7, &Session::nextOrPrevious, false},
    {3, &Session::closeOrOpen, false},
    {20, &Session::typeInProfile, true},
    {6, &Session::clickTable, true},
    {5, &Session::usePlot, true},
    {3, &Session::changeTab, true},
    {2, &Session::changeView, true},
    {2, &Session::useLength, true},
    {7, &Session::copy, true},
    {8, &Session::save, true},
};

} // namespace

class ProgramSoakTest : public testing::QtTestCase {
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

PENDRIO_QTEST_MAIN(ProgramSoakTest)

#include "ProgramSoakTest.moc"
