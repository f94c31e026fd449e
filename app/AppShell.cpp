#include "app/AppShell.h"

#include "profilewindow/ProfileWindow.h"
#include "profilewindow/WindowPlacement.h"
#include "window/WindowAccessibility.h"
#include "window/frmMain.h"
#include "window/text/NumberText.h"
#include "window/text/ResultToolTips.h"
#include "window/text/SectionTableText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
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

AppShell::AppShell(std::function<void()> beep)
    : main_(std::make_unique<frmMain>(std::move(beep))) {
    // The main window has calculated the default profile while it was built.
    calculated_ = main_->state();
    committed_ = InputsOf(calculated_);
    createActions();
    addContextMenus();
    takeShownSection(main_->shownSection());
    connect(main_.get(), &frmMain::profileCalculated, this, &AppShell::takeCalculation);
    connect(main_.get(), &frmMain::sectionShown, this, &AppShell::takeShownSection);
    connect(main_.get(), &frmMain::inputsCommitted, this, &AppShell::takeInputs);
    main_->installEventFilter(this);
}

// The profile window goes first: it is a window of its own.
AppShell::~AppShell() {
    profileWindow_.reset();
}

// The actions belong to the main window, so that their shortcuts work wherever
// the focus is in it; the profile window adds them to itself as well.
void AppShell::createActions() {
    const auto makeAction = [this](const char* name, const QString& text,
                                   const QKeySequence& keys) {
        auto* action = new QAction(text, main_.get());
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(tr("%1 (%2)").arg(action->text(), nativeText(keys)));
        main_->addAction(action);
        return action;
    };
    copyAllSections_ =
        makeAction("actCopyAllSections", tr("Copy all sections"), copyAllSectionsShortcut());
    showProfile_ = makeAction("actShowProfile", tr("Show profile"), showProfileShortcut());
    connect(copyAllSections_, &QAction::triggered, this, &AppShell::copyAllSectionsToClipboard);
    connect(showProfile_, &QAction::triggered, this, &AppShell::openProfileWindow);
}

// The frame's own menu holds the two commands; a result box keeps its usual
// editing menu and gets them below it.
void AppShell::addContextMenus() {
    QGroupBox* frame = main_->resultFrame();
    frame->setContextMenuPolicy(Qt::ActionsContextMenu);
    frame->addActions({copyAllSections_, showProfile_});
    for (const frmMain::ResultBox& entry : main_->resultBoxes()) {
        QLineEdit* box = entry.box;
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this, [this, box](const QPoint& at) {
            QMenu* menu = box->createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->addSeparator();
            menu->addActions({copyAllSections_, showProfile_});
            menu->popup(box->mapToGlobal(at));
        });
    }
}

void AppShell::copyAllSectionsToClipboard() {
    QGuiApplication::clipboard()->setText(SectionsAsTabText(calculated_, main_->locale()));
}

void AppShell::openProfileWindow() {
    if (!profileWindow_) {
        createProfileWindow();
    }
    profileWindow_->show();
    profileWindow_->raise();
    profileWindow_->activateWindow();
}

void AppShell::createProfileWindow() {
    profileWindow_ =
        std::make_unique<ProfileWindow>(QList<QAction*>{copyAllSections_, showProfile_});
    ProfileWindow* profile = profileWindow_.get();
    ExposeToAccessibility(*profile); // a frame named by its title, for screen readers
    profile->showProfile(calculated_);
    profile->setCommittedInputs(committed_);
    // The loop from a section chosen there, shown here and highlighted there
    // ends in ProfileWindow::setCurrentSection, which ignores the section it has.
    connect(profile, &ProfileWindow::sectionChosen, main_.get(), &frmMain::goToSection);
    connect(profile, &ProfileWindow::lengthChosen, this, [this](double length) {
        main_->enterInput(InputBox::Length, NumberToText(length, main_->locale()));
    });
    connect(profile, &ProfileWindow::entryRefused, main_.get(), &frmMain::beep);
    placeProfileWindow();
    profile->installEventFilter(this);
}

void AppShell::takeCalculation(const ProfileState& profile) {
    calculated_ = profile;
    if (profileWindow_) {
        profileWindow_->showProfile(calculated_);
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
    shownSection_ = shown.number;
    calculated_.CurrentSection = static_cast<std::int16_t>(shown.number);
    if (profileWindow_) {
        profileWindow_->setCurrentSection(shown.number);
    }
    const QLocale locale = main_->locale();
    const QString hints = tr("%1: %2\n%3: %4")
                              .arg(nativeText(copyAllSectionsShortcut()), copyAllSections_->text(),
                                   nativeText(showProfileShortcut()), showProfile_->text());
    const auto& boxes = main_->resultBoxes();
    for (std::size_t row = 0; row < boxes.size(); ++row) {
        const double value = shown.values[row];
        const QString tip = boxes[row].isGradient ? GradientToolTip(value, locale)
                                                  : LengthToolTip(value, locale);
        boxes[row].box->setToolTip(tip + u'\n' + hints);
    }
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

// Closing the main window ends the session: the profile window goes with it.
// The profile window's first frame from the window manager places it anew.
bool AppShell::eventFilter(QObject* watched, QEvent* event) {
    if (watched == main_.get() && event->type() == QEvent::Close && profileWindow_) {
        profileWindow_->close();
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
