// How fast the profile window is with 256 sections, on the offscreen
// platform: opening it (creating it and painting its first frame), updating
// it after "Calculate" and after "Next" (the main window's handler, the
// table and the plot brought up to date, and the whole window painted), and
// "Copy all sections" (the text built and put on the clipboard). Each frame
// is the whole window rendered with grab(), which paints every widget
// whether or not the platform has exposed it. Prints the
// median and the slowest of each over many runs.
#include "app/AppShell.h"
#include "profilewindow/ProfileWindow.h"
#include "window/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace pendrio;

namespace {

// The program with 256 sections calculated, typed in as a user would.
std::unique_ptr<AppShell> programWith256Sections() {
    auto shell = std::make_unique<AppShell>([] {});
    frmMain* window = &shell->mainWindow();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
        std::fprintf(stderr, "the window never became active\n");
        std::exit(1);
    }
    auto* sections = window->findChild<QLineEdit*>(QStringLiteral("txtInput(4)"));
    sections->setFocus(Qt::TabFocusReason);
    sections->setText(QStringLiteral("256"));
    auto* end = window->findChild<QLineEdit*>(QStringLiteral("txtInput(3)"));
    end->setFocus(Qt::TabFocusReason); // commits the count
    end->setText(QStringLiteral("-2.5"));
    window->findChild<QPushButton*>(QStringLiteral("cmdCalculate"))->setFocus(Qt::TabFocusReason);
    window->findChild<QPushButton*>(QStringLiteral("cmdCalculate"))->click();
    if (window->state().SectionCount != 256) {
        std::fprintf(stderr, "256 sections were not calculated\n");
        std::exit(1);
    }
    return shell;
}

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("  %-44s median %7.3f ms, slowest %7.3f ms (%zu runs)\n", what, ms[ms.size() / 2],
                ms.back(), ms.size());
}

std::vector<double> timed(int runs, const std::function<void()>& step) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return ms;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("Profile window with 256 sections, offscreen:\n");

    std::vector<double> opening;
    for (int i = 0; i < 15; ++i) {
        std::unique_ptr<AppShell> shell = programWith256Sections();
        QElapsedTimer timer;
        timer.start();
        shell->showProfile()->trigger();
        (void)shell->profileWindow()->grab();
        opening.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    report("opening it (first use, first frame)", opening);

    std::unique_ptr<AppShell> shell = programWith256Sections();
    frmMain* window = &shell->mainWindow();
    shell->showProfile()->trigger();
    ProfileWindow* profile = shell->profileWindow();
    (void)profile->grab();
    auto* calculate = window->findChild<QPushButton*>(QStringLiteral("cmdCalculate"));
    auto* next = window->findChild<QPushButton*>(QStringLiteral("cmdNext"));
    report("after \"Calculate\" (handler and repaint)", timed(100, [&] {
               calculate->click();
               (void)profile->grab();
           }));
    report("after \"Next\" (handler and repaint)", timed(255, [&] {
               next->click();
               (void)profile->grab();
           }));
    QAction* copy = shell->copyAllSections();
    report("\"Copy all sections\"", timed(100, [&] { copy->trigger(); }));
    return 0;
}
