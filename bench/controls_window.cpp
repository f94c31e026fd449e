// A window with the same controls as Pendrio's, built from the same table by
// the same function at the same scale, and no logic at all: the yardstick for
// what the program's own code adds to start-up time and memory
// (bench/startup.sh). Like the program, it quits after its first paint when
// PENDRIO_QUIT_AFTER_FIRST_FRAME=1.
#include "app/QuitAfterFirstPaint.h"
#include "programinfo/ProgramInfo.h"
#include "window/WindowLayout.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromUtf8(pendrio::WindowTitle));
    pendrio::BuildControls(window);
    pendrio::QuitAfterFirstPaint quitAfterFirstPaint;
    quitAfterFirstPaint.watchIfAsked(&window);
    window.show();
    return QApplication::exec();
}
