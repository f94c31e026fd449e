#include "SessionPlatform.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QString>
#include <QWindow>

#include <cstdlib>

namespace pendrio {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(pendrio::SessionPlatform)
};

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

bool isSet(const std::optional<std::string>& value) {
    return value && !value->empty();
}

// Qt reads "-platform NAME" (or "--platform NAME") from the command line.
bool platformOnCommandLine(std::span<const char* const> args) {
    for (std::size_t i = 1; i + 1 < args.size(); ++i) {
        const std::string_view arg = args[i] ? args[i] : "";
        if (arg == "-platform" || arg == "--platform") {
            return true;
        }
    }
    return false;
}

} // namespace

SessionEnvironment ReadSessionEnvironment() {
    return {variable("QT_QPA_PLATFORM"), variable("XDG_SESSION_TYPE"), variable("WAYLAND_DISPLAY"),
            variable("DISPLAY")};
}

std::string PlatformToRequest(const SessionEnvironment& environment,
                              std::span<const char* const> args) {
    // Qt takes an empty QT_QPA_PLATFORM for an unset one.
    if (isSet(environment.qpaPlatform) || platformOnCommandLine(args)) {
        return {};
    }
    const bool wayland = environment.sessionType == "wayland" || isSet(environment.waylandDisplay);
    if (!wayland || !isSet(environment.display)) {
        return {};
    }
    return "xcb;wayland";
}

bool PlatformKeepsWindowOnTop(std::string_view platformName) {
    return !platformName.starts_with("wayland");
}

void KeepWindowOnTop(QWidget& window, bool onTop) {
    if (QWindow* native = window.windowHandle()) {
        native->setFlag(Qt::WindowStaysOnTopHint, onTop);
    } else {
        window.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
}

void AdaptOnTopToPlatform(QCheckBox& onTop, std::string_view platformName) {
    if (PlatformKeepsWindowOnTop(platformName)) {
        return;
    }
    onTop.setEnabled(false);
    onTop.setToolTip(
        Text::tr("Wayland does not let a program keep its own window above the others. Your "
                 "desktop's window menu (right-click the title bar) can keep this window on top."));
}

} // namespace pendrio
