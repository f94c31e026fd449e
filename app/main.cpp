// Pendrio: plans a vertical transition curve for a stretch of track.
#include "window/QuitAfterFirstPaint.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pendrio"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.pendrio.Pendrio"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/pendrio.svg")));

    pendrio::frmMain window;
    pendrio::QuitAfterFirstPaint quitAfterFirstPaint;
    quitAfterFirstPaint.watchIfAsked(&window);
    window.show();
    return QApplication::exec();
}
