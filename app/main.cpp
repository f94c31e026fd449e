// Pendrio: plans a vertical transition curve for a stretch of track.
#include "window/frmMain.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

namespace {

// For start-up measurements: quits as soon as the window has painted once.
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
    QApplication::setApplicationName(QStringLiteral("Pendrio"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.pendrio.Pendrio"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/pendrio.svg")));

    pendrio::frmMain window;
    QuitAfterFirstPaint quitAfterFirstPaint;
    if (qEnvironmentVariableIntValue("PENDRIO_QUIT_AFTER_FIRST_FRAME") == 1) {
        window.installEventFilter(&quitAfterFirstPaint);
    }
    window.show();
    return QApplication::exec();
}
