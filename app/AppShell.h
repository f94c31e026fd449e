// Where Pendrio's windows meet. AppShell builds the main window, and the
// profile window when it is first asked for, and joins them: values travel
// along signals into slots that take values, and neither window knows the
// other. It makes the commands "Copy all sections" and "Show profile", with
// window-wide shortcuts, and hands them to the main window to offer.
//
// It keeps the last calculation, as "Copy all sections" copies it and the
// profile window is first shown with it, and what the profile window must
// know when it is first shown: the committed inputs, a failed Calculate,
// "Always on top".
#pragma once

#include "profile/ProfileState.h"

#include <QObject>

#include <memory>
#include <optional>

class QAction;
class QKeySequence;
class QWidget;

namespace pendrio {

class frmMain;
class ProfileWindow;
struct CurveAsTyped;
struct ShownSection;

class AppShell : public QObject {
    Q_OBJECT

public:
    AppShell();
    ~AppShell() override;

    frmMain& mainWindow() const { return *main_; }
    // Null until "Show profile" has been used.
    ProfileWindow* profileWindow() const { return profileWindow_.get(); }

    QAction* copyAllSections() const { return copyAllSections_; }
    QAction* showProfile() const { return showProfile_; }

    // Chosen to clash with no standard shortcut of a line edit (Ctrl+C,
    // Ctrl+Shift+Z, Ctrl+K, ...), so that the boxes keep every key they had.
    static QKeySequence copyAllSectionsShortcut();
    static QKeySequence showProfileShortcut();

signals:
    // Either window asks for the system beep; AppShell sounds it.
    void beepRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void copyAllSectionsToClipboard();
    void openProfileWindow();
    void createProfileWindow();
    void placeProfileWindow();
    void takeOpenedCurve(const CurveAsTyped& curve);
    void takeCalculation(const ProfileState& profile);
    void takeFailure(const ProfileInputs& inputs);
    void takeInputs(const ProfileInputs& inputs);
    void takeShownSection(const ShownSection& shown);
    void takeOnTop(bool onTop);
    static bool isKeptWithMain(const QWidget& window);

    std::unique_ptr<frmMain> main_;
    QAction* copyAllSections_ = nullptr;
    QAction* showProfile_ = nullptr;
    // A window of its own, not a child of the main window, so that the
    // window manager places and stacks it as a window of its own.
    std::unique_ptr<ProfileWindow> profileWindow_;
    bool profileFramed_ = false; // the window manager has given it its frame

    ProfileState calculated_;             // the last calculation that succeeded
    ProfileInputs committed_;             // the inputs as committed in the main window
    std::optional<ProfileInputs> failed_; // a Calculate that failed since
    bool onTop_ = false;                  // "Always on top" is ticked
};

} // namespace pendrio
