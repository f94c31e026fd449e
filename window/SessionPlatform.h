// Which Qt platform plug-in Pendrio starts on, and what that platform allows.
//
// In a Wayland session Qt 6 starts a program as a Wayland client, and Wayland
// gives an ordinary client no way to keep its window above the others: "Always
// on top" would do nothing there. The session's X server (XWayland) can, and
// the compositors of GNOME and KDE honour its _NET_WM_STATE_ABOVE. So, unless
// the user chose a platform, Pendrio asks for xcb first whenever an X display
// is there; where it still ends up on Wayland, the check box says why it
// cannot help instead of pretending to.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

class QCheckBox;
class QWidget;

namespace pendrio {

// The environment variables that decide the platform; nullopt where unset.
struct SessionEnvironment {
    std::optional<std::string> qpaPlatform;    // QT_QPA_PLATFORM
    std::optional<std::string> sessionType;    // XDG_SESSION_TYPE
    std::optional<std::string> waylandDisplay; // WAYLAND_DISPLAY
    std::optional<std::string> display;        // DISPLAY
};

SessionEnvironment ReadSessionEnvironment();

// The value to give QT_QPA_PLATFORM before the application starts, or "" to
// leave the choice to Qt. `args` is the whole command line, program first.
// The answer lists wayland after xcb, so that an X display that turns out to
// be unreachable still leaves the program a platform to run on.
std::string PlatformToRequest(const SessionEnvironment& environment,
                              std::span<const char* const> args);

// False on platforms where a program cannot keep its own window above others.
bool PlatformKeepsWindowOnTop(std::string_view platformName);

// Keeps `window` above all others, or lets it go, without re-creating its
// native window (QWidget::setWindowFlags would hide it, and the window
// manager would place it anew).
void KeepWindowOnTop(QWidget& window, bool onTop);

// On such a platform "Always on top" is disabled, with a tooltip that says why
// and where the desktop offers the same; elsewhere the box is left alone.
void AdaptOnTopToPlatform(QCheckBox& onTop, std::string_view platformName);

} // namespace pendrio
