// An empty window of Pendrio's size: the yardstick bench/startup.sh measures the
// program's start-up time and memory against. With
// PENDRIO_QUIT_AFTER_FIRST_FRAME=1 it quits once it has painted, exactly as the
// program does, so that both are timed to the same moment.
#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {

class QuitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool quitting_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(313, 329);
    QuitAfterFirstPaint quitAfterFirstPaint;
    if (qEnvironmentVariableIntValue("PENDRIO_QUIT_AFTER_FIRST_FRAME") == 1) {
        window.installEventFilter(&quitAfterFirstPaint);
    }
    window.show();
    return QApplication::exec();
}
