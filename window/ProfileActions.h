// What the main window offers beyond its own controls, without changing any of
// them: the commands "Copy all sections" and "Show profile" with their window-
// wide shortcuts, the same commands in the context menus of the result frame
// and its boxes, tooltips with the unrounded values on the result boxes, and
// the profile window, which is created on first use.
//
// The actions belong to the main window, so that their shortcuts work wherever
// the focus is in it; the profile window adds the same actions to itself so
// that they work there too.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QAction;
class QKeySequence;

namespace pendrio {

class frmMain;
class ProfileWindow;

class ProfileActions : public QObject {
    Q_OBJECT

public:
    explicit ProfileActions(frmMain& window);
    ~ProfileActions() override;

    QAction* copyAllSections() const { return copyAllSections_; }
    QAction* showProfile() const { return showProfile_; }
    // Null until "Show profile" has been used.
    ProfileWindow* profileWindow() const { return profileWindow_.get(); }

    // Chosen to clash with no standard shortcut of a line edit (Ctrl+C,
    // Ctrl+Shift+Z, Ctrl+K, ...), so that the boxes keep every key they had.
    static QKeySequence copyAllSectionsShortcut();
    static QKeySequence showProfileShortcut();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copyAllSectionsToClipboard();
    void openProfileWindow();
    void placeProfileWindow();
    void addContextMenus();
    void updateToolTips(int section);

    frmMain& window_;
    QAction* copyAllSections_ = nullptr;
    QAction* showProfile_ = nullptr;
    // A window of its own, not a child of the main window: "Always on top"
    // and the window manager's stacking of the main window leave it alone.
    std::unique_ptr<ProfileWindow> profileWindow_;
    bool profileFramed_ = false; // the window manager has given it its frame
};

} // namespace pendrio
