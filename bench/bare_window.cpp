// An empty window of Pendrio's size: the yardstick bench/startup.sh measures the
// program's start-up time and memory against. With
// PENDRIO_QUIT_AFTER_FIRST_FRAME=1 it quits once it has painted, exactly as the
// program does, so that both are timed to the same moment.
#include "app/QuitAfterFirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(313, 329);
    pendrio::QuitAfterFirstPaint quitAfterFirstPaint;
    quitAfterFirstPaint.watchIfAsked(&window);
    window.show();
    return QApplication::exec();
}
