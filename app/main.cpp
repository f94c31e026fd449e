// Pendrio: plans a vertical transition curve for a stretch of track.
#include "app/AppShell.h"
#include "app/QuitAfterFirstPaint.h"
#include "programinfo/ProgramInfo.h"
#include "window/SessionPlatform.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QIcon>

#include <span>
#include <string>

int main(int argc, char* argv[]) {
    // In a Wayland session, the X display if there is one: see SessionPlatform.h.
    // Only for this start-up, so that programs started from here choose their own.
    const std::string platform = pendrio::PlatformToRequest(
        pendrio::ReadSessionEnvironment(), std::span<const char* const>(argv, argc));
    if (!platform.empty()) {
        qputenv("QT_QPA_PLATFORM", platform.c_str());
    }
    QApplication app(argc, argv);
    if (!platform.empty()) {
        qunsetenv("QT_QPA_PLATFORM");
    }
    QApplication::setApplicationName(QString::fromUtf8(pendrio::ProgramName));
    QApplication::setApplicationVersion(QString::fromUtf8(pendrio::ProgramVersion));
    QApplication::setDesktopFileName(QString::fromUtf8(pendrio::ApplicationId));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/pendrio.svg")));

    pendrio::AppShell shell;
    pendrio::QuitAfterFirstPaint quitAfterFirstPaint;
    quitAfterFirstPaint.watchIfAsked(&shell.mainWindow());
    shell.mainWindow().show();
    return QApplication::exec();
}
