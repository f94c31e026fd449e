#include "app/AppShell.h"

#include "app/WindowPlacement.h"
#include "profilewindow/ProfileWindow.h"
#include "text/NumberText.h"
#include "text/SectionTableText.h"
#include "widgets/Commands.h"
#include "widgets/ContextMenuKey.h"
#include "window/SessionPlatform.h"
#include "window/WindowAccessibility.h"
#include "window/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QScreen>

namespace pendrio {

namespace {

QString nativeText(const QKeySequence& keys) {
    return keys.toString(QKeySequence::NativeText);
}

} // namespace

QKeySequence AppShell::copyAllSectionsShortcut() {
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
}

QKeySequence AppShell::showProfileShortcut() {
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P);
}

namespace {

// In front and with the focus, from wherever it was: hidden, minimized or
// behind. The window manager restores a minimized window only when asked.
void bringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

AppShell::AppShell() : main_(std::make_unique<frmMain>()) {
    // The main window has calculated the default profile while it was built.
    calculated_ = main_->state();
    committed_ = InputsOf(calculated_);
    createActions();
    main_->addCommands({copyAllSections_, showProfile_});
    connect(main_.get(), &frmMain::beepRequested, this, &AppShell::beepRequested);
    connect(this, &AppShell::beepRequested, qApp, &QApplication::beep);
    connect(main_.get(), &frmMain::profileCalculated, this, &AppShell::takeCalculation);
    connect(main_.get(), &frmMain::calculationFailed, this, &AppShell::takeFailure);
    connect(main_.get(), &frmMain::sectionShown, this, &AppShell::takeShownSection);
    connect(main_.get(), &frmMain::inputsCommitted, this, &AppShell::takeInputs);
    connect(main_.get(), &frmMain::alwaysOnTopChanged, this, &AppShell::takeOnTop);
    // Every window of the program passes here as it is shown: see eventFilter.
    qApp->installEventFilter(this);
}

AppShell::~AppShell() {
    qApp->removeEventFilter(this);
    profileWindow_.reset(); // it goes first: it is a window of its own
}

// The actions belong to the main window, so that their shortcuts work wherever
// the focus is in it; the profile window adds "Copy all sections" as well.
void AppShell::createActions() {
    struct MainCommand {
        CommandRow row;
        const char* purpose; // the status tip, which the main window's tooltips quote
        QAction*& action;
        void (AppShell::*run)();
    };
    // Mnemonics clear of a line edit's own menu (Undo, Redo, Cut, Copy, Paste).
    const MainCommand commands[] = {
        {{"actCopyAllSections", QT_TR_NOOP("Copy &all sections"), copyAllSectionsShortcut()},
         QT_TR_NOOP("as text for a spreadsheet"),
         copyAllSections_,
         &AppShell::copyAllSectionsToClipboard},
        {{"actShowProfile", QT_TR_NOOP("&Show profile"), showProfileShortcut()},
         QT_TR_NOOP("the whole curve in a window of its own: plot, sections, stations, report"),
         showProfile_,
         &AppShell::openProfileWindow},
    };
    for (const MainCommand& command : commands) {
        QAction* action = NewAction("pendrio::AppShell", command.row, main_.get());
        action->setShortcutContext(Qt::WindowShortcut);
        action->setStatusTip(tr(command.purpose));
        action->setToolTip(tr("%1 (%2)").arg(action->iconText(), nativeText(command.row.keys)));
        connect(action, &QAction::triggered, this, command.run);
        command.action = action;
    }
}

void AppShell::copyAllSectionsToClipboard() {
    QGuiApplication::clipboard()->setText(SectionsAsTabText(calculated_, main_->locale()));
}

void AppShell::openProfileWindow() {
    if (!profileWindow_) {
        createProfileWindow();
    }
    bringToFront(*profileWindow_);
}

void AppShell::createProfileWindow() {
    profileWindow_ = std::make_unique<ProfileWindow>(copyAllSections_);
    ProfileWindow* profile = profileWindow_.get();
    ExposeToAccessibility(*profile); // a frame named by its title, for screen readers
    profile->showProfile(calculated_);
    profile->setCommittedInputs(committed_);
    if (failed_) {
        profile->showCalculationFailed(*failed_);
    }
    takeOnTop(onTop_);
    // The loop from a section chosen there, shown here and highlighted there
    // ends in ProfileWindow::setCurrentSection, which ignores the section it has.
    connect(profile, &ProfileWindow::sectionChosen, main_.get(), &frmMain::goToSection);
    connect(profile, &ProfileWindow::lengthChosen, this, [this](double length) {
        main_->enterInput(InputBox::Length, NumberToText(length, main_->locale()));
    });
    connect(profile, &ProfileWindow::entryRefused, this, &AppShell::beepRequested);
    connect(profile, &ProfileWindow::saveFailed, profile, [profile](const QString& message) {
        QMessageBox::warning(profile, ProfileWindow::tr("Could not save"), message);
    });
    connect(profile, &ProfileWindow::openFailed, profile, [profile](const QString& message) {
        QMessageBox::warning(profile, ProfileWindow::tr("Could not open"), message);
    });
    connect(profile, &ProfileWindow::curveOpened, this, &AppShell::takeOpenedCurve);
    connect(profile, &ProfileWindow::mainWindowWanted, this, [this] { bringToFront(*main_); });
    placeProfileWindow();
}

// A curve read from a file goes into the main window's boxes as if typed, the
// number of sections as it is, and is calculated; a text the main window
// refuses (with its beep) leaves the rest untaken and nothing calculated.
void AppShell::takeOpenedCurve(const CurveAsTyped& curve) {
    const std::pair<InputBox, const QString&> inputs[] = {
        {InputBox::Length, curve.length},
        {InputBox::StartHeight, curve.startHeight},
        {InputBox::StartGradient, curve.startGradient},
        {InputBox::EndGradient, curve.endGradient},
    };
    for (const auto& [box, text] : inputs) {
        if (!main_->enterInput(box, text)) {
            return;
        }
    }
    main_->calculate();
}

void AppShell::takeCalculation(const ProfileState& profile) {
    calculated_ = profile;
    failed_.reset();
    if (profileWindow_) {
        profileWindow_->showProfile(calculated_);
    }
}

void AppShell::takeFailure(const ProfileInputs& inputs) {
    failed_ = inputs;
    if (profileWindow_) {
        profileWindow_->showCalculationFailed(inputs);
    }
}

// The calculation stays as it was: a new height at start shows in the main
// window's frame for section 1, but the profile, copied or drawn, is the one
// that was calculated, whole.
void AppShell::takeInputs(const ProfileInputs& inputs) {
    committed_ = inputs;
    if (profileWindow_) {
        profileWindow_->setCommittedInputs(inputs);
    }
}

void AppShell::takeShownSection(const ShownSection& shown) {
    calculated_.CurrentSection = static_cast<std::int16_t>(shown.number);
    if (profileWindow_) {
        profileWindow_->setCurrentSection(shown.number);
    }
}

// "Always on top" keeps every window of the program on top, so that none
// covers another's dialogs: the profile window and each dialog, now and
// whenever one is shown again (see eventFilter). The main window keeps itself.
void AppShell::takeOnTop(bool onTop) {
    onTop_ = onTop;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != main_.get() && isKeptWithMain(*window)) {
            KeepWindowOnTop(*window, onTop);
        }
    }
}

// A window or dialog of the program, not a menu, tooltip or the like.
bool AppShell::isKeptWithMain(const QWidget& window) {
    const Qt::WindowType type = window.windowType();
    return window.isWindow() && (type == Qt::Window || type == Qt::Dialog);
}

// Near the main window and wholly on its screen, placed by the frames. Until
// the window manager has framed the profile window, its frame is guessed
// from the main window's; once framed (a resizable window may get a taller
// frame, with a grip) it is placed again with the frame it really has.
void AppShell::placeProfileWindow() {
    ProfileWindow* profile = profileWindow_.get();
    const auto decorationOf = [](const QWidget& w) {
        return w.frameGeometry().size() - w.geometry().size();
    };
    const QSize decoration = profileFramed_ ? decorationOf(*profile) : decorationOf(*main_);
    const QScreen* screen = main_->screen();
    const QRect frame = PlaceNear(main_->frameGeometry(), profile->size() + decoration,
                                  profile->minimumSizeHint() + decoration,
                                  screen ? screen->availableGeometry() : QRect());
    profile->resize(frame.size() - decoration);
    profile->move(frame.topLeft());
}

// Shift+F10 opens a context menu in either window. Closing the main window
// ends the session: the profile window goes with it. A window being shown is kept on top as the
// main window is: a window manager forgets the state of a window that was closed, and a new dialog
// has none yet. The show event comes before the window is mapped. The profile window's first frame
// from the window manager places it anew.
bool AppShell::eventFilter(QObject* watched, QEvent* event) {
    if (OpenContextMenuOnShiftF10(watched, event)) {
        return true;
    }
    if (watched == main_.get() && event->type() == QEvent::Close && profileWindow_) {
        profileWindow_->stopReport(); // the program ends: nothing is asked, nothing saved
        profileWindow_->close();
    }
    if (event->type() == QEvent::Show && watched != main_.get() && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        if (isKeptWithMain(*window)) {
            KeepWindowOnTop(*window, onTop_);
        }
    }
    const bool movedOrSized = event->type() == QEvent::Move || event->type() == QEvent::Resize;
    if (watched == profileWindow_.get() && movedOrSized && !profileFramed_ &&
        profileWindow_->frameGeometry() != profileWindow_->geometry()) {
        profileFramed_ = true;
        placeProfileWindow();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pendrio
