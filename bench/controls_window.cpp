// A window with the same controls as Pendrio's, built from the same table at
// the same scale, and no logic at all: the yardstick for what the program's
// own code adds to start-up time and memory (bench/startup.sh). Like the
// program, it quits after its first paint when PENDRIO_QUIT_AFTER_FIRST_FRAME=1.
#include "window/QuitAfterFirstPaint.h"
#include "window/WindowLayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace pendrio;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    constexpr double scale = 1.25; // the program's scale with DejaVu Sans
    QWidget window;
    window.setWindowTitle(QStringLiteral("Pendrio V0.0"));
    window.setFixedSize(TwipsToPixels(ClientWidthTwips, scale),
                        TwipsToPixels(ClientHeightTwips, scale));
    auto* frame = new QGroupBox(QString::fromUtf8(Control(FrameName).caption), &window);
    frame->setGeometry(ControlRect(Control(FrameName), scale));
    for (const ControlSpec& entry : Controls()) {
        QWidget* parent = entry.inFrame ? static_cast<QWidget*>(frame) : &window;
        const QString caption = QString::fromUtf8(entry.caption);
        QWidget* widget = nullptr;
        switch (entry.kind) {
        case ControlKind::Frame:
            continue;
        case ControlKind::Label:
            widget = new QLabel(caption, parent);
            break;
        case ControlKind::TextBox:
            widget = new QLineEdit(caption, parent);
            break;
        case ControlKind::Button:
            widget = new QPushButton(caption, parent);
            break;
        case ControlKind::CheckBox:
            widget = new QCheckBox(caption, parent);
            break;
        }
        widget->setGeometry(ControlRect(entry, scale));
        widget->setVisible(entry.visible);
    }
    QuitAfterFirstPaint quitAfterFirstPaint;
    quitAfterFirstPaint.watchIfAsked(&window);
    window.show();
    return QApplication::exec();
}
