#include "window/ProfileActions.h"

#include "window/ProfileWindow.h"
#include "window/ResultToolTips.h"
#include "window/SectionTableText.h"
#include "window/WindowPlacement.h"
#include "window/frmMain.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>

namespace pendrio {

namespace {

QString nativeText(const QKeySequence& keys) {
    return keys.toString(QKeySequence::NativeText);
}

} // namespace

QKeySequence ProfileActions::copyAllSectionsShortcut() {
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
}

QKeySequence ProfileActions::showProfileShortcut() {
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P);
}

ProfileActions::ProfileActions(frmMain& window) : QObject(&window), window_(window) {
    const auto makeAction = [&](const char* name, const char* text, const QKeySequence& keys) {
        auto* action = new QAction(QString::fromUtf8(text), &window);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(action->text(), nativeText(keys)));
        window.addAction(action);
        return action;
    };
    copyAllSections_ =
        makeAction("actCopyAllSections", "Copy all sections", copyAllSectionsShortcut());
    showProfile_ = makeAction("actShowProfile", "Show profile", showProfileShortcut());
    connect(copyAllSections_, &QAction::triggered, this,
            &ProfileActions::copyAllSectionsToClipboard);
    connect(showProfile_, &QAction::triggered, this, &ProfileActions::openProfileWindow);
    connect(&window, &frmMain::sectionShown, this, &ProfileActions::updateToolTips);
    addContextMenus();
    updateToolTips(window.state().CurrentSection);
    window.installEventFilter(this);
}

ProfileActions::~ProfileActions() = default;

void ProfileActions::copyAllSectionsToClipboard() {
    QGuiApplication::clipboard()->setText(
        SectionsAsTabText(window_.calculatedProfile(), window_.locale()));
}

void ProfileActions::openProfileWindow() {
    if (!profileWindow_) {
        profileWindow_ = std::make_unique<ProfileWindow>(
            window_.calculatedProfile(), QList<QAction*>{copyAllSections_, showProfile_},
            DesignRadiusRow::MainWindow{
                window_.state(), [this] { window_.beep(); },
                [this](const QString& length) { window_.enterInput(0, length); }});
        ProfileWindow* profile = profileWindow_.get();
        connect(&window_, &frmMain::inputCommitted, profile->designRadiusRow(),
                &DesignRadiusRow::refresh);
        profile->setCurrentSection(window_.state().CurrentSection);
        connect(&window_, &frmMain::profileChanged, profile,
                [profile](const ProfileState& calculated) {
                    profile->refresh(calculated.CurrentSection);
                });
        connect(&window_, &frmMain::sectionShown, profile, &ProfileWindow::setCurrentSection);
        connect(profile, &ProfileWindow::sectionChosen, &window_, &frmMain::goToSection);
        placeProfileWindow();
        profile->installEventFilter(this);
    }
    profileWindow_->show();
    profileWindow_->raise();
    profileWindow_->activateWindow();
}

// Near the main window and wholly on its screen, placed by the frames. Until
// the window manager has framed the profile window, its frame is guessed
// from the main window's; once framed (a resizable window may get a taller
// frame, with a grip) it is placed again with the frame it really has.
void ProfileActions::placeProfileWindow() {
    ProfileWindow* profile = profileWindow_.get();
    const auto decorationOf = [](const QWidget& w) {
        return w.frameGeometry().size() - w.geometry().size();
    };
    const QSize decoration = profileFramed_ ? decorationOf(*profile) : decorationOf(window_);
    const QScreen* screen = window_.screen();
    const QRect frame = PlaceNear(window_.frameGeometry(), profile->size() + decoration,
                                  profile->minimumSize() + decoration,
                                  screen ? screen->availableGeometry() : QRect());
    profile->resize(frame.size() - decoration);
    profile->move(frame.topLeft());
}

// The frame's own menu holds the two commands; a result box keeps its usual
// editing menu and gets them below it.
void ProfileActions::addContextMenus() {
    QGroupBox* frame = window_.resultFrame();
    frame->setContextMenuPolicy(Qt::ActionsContextMenu);
    frame->addActions({copyAllSections_, showProfile_});
    for (const frmMain::ResultBox& entry : window_.resultBoxes()) {
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

void ProfileActions::updateToolTips(int section) {
    const ProfileState& state = window_.state();
    const QLocale locale = window_.locale();
    const QString hints = QStringLiteral("%1: %2\n%3: %4")
                              .arg(nativeText(copyAllSectionsShortcut()), copyAllSections_->text(),
                                   nativeText(showProfileShortcut()), showProfile_->text());
    for (const frmMain::ResultBox& entry : window_.resultBoxes()) {
        const double value = entry.value(state, section);
        const QString tip =
            entry.isGradient ? GradientToolTip(value, locale) : LengthToolTip(value, locale);
        entry.box->setToolTip(tip + u'\n' + hints);
    }
}

// Closing the main window ends the session: the profile window goes with it.
// The profile window's first frame from the window manager places it anew.
bool ProfileActions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close && profileWindow_) {
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
