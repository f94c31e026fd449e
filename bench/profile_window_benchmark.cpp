// How fast the profile window is with 256 sections, on the offscreen
// platform: opening it (creating it and painting its first frame), updating
// it after "Calculate" and after "Next" (the main window's handler, the
// table and the plot brought up to date, and the whole window painted), and
// "Copy all sections" (the text built and put on the clipboard). Then the
// stations: 100,001 of them (100 km every metre) brought up to date after
// "Calculate" and painted, all of them copied and made into a PDF report,
// and the PDF report of 256 sections and 1,001 stations (100 m every 0.1 m).
// Each frame is the whole window rendered with grab(), which paints every
// widget whether or not the platform has exposed it. Prints the median and
// the slowest of each over many runs, and the median processor time, which
// other jobs on the machine do not inflate.
#include "app/AppShell.h"
#include "profilewindow/ProfileWindow.h"
#include "profilewindow/StationsPage.h"
#include "window/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

using namespace pendrio;

namespace {

void fail(const char* why) {
    std::fprintf(stderr, "%s\n", why);
    std::exit(1);
}

// Types `text` into the box and leaves it by Tab, as a user would.
void enter(QWidget* window, const char* box, const QString& text) {
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
        fail("a window never became active");
    }
    auto* edit = window->findChild<QLineEdit*>(QString::fromUtf8(box));
    edit->setFocus(Qt::TabFocusReason);
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

// The program with 256 sections calculated over `length` track units.
std::unique_ptr<AppShell>
programWith256Sections(const QString& length = QStringLiteral("1968504")) {
    auto shell = std::make_unique<AppShell>();
    frmMain* window = &shell->mainWindow();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
        fail("the window never became active");
    }
    enter(window, "txtInput(0)", length);
    enter(window, "txtInput(4)", QStringLiteral("256"));
    enter(window, "txtInput(3)", QStringLiteral("-2.5"));
    window->findChild<QPushButton*>(QStringLiteral("cmdCalculate"))->click();
    if (window->state().SectionCount != 256) {
        std::fprintf(stderr, "256 sections were not calculated\n");
        std::exit(1);
    }
    return shell;
}

// Milliseconds by the clock and of the process's processor time, run by run:
// on a machine that other jobs share, the clock counts their time too.
struct Times {
    std::vector<double> wall;
    std::vector<double> cpu;
};

void report(const char* what, Times ms) {
    std::sort(ms.wall.begin(), ms.wall.end());
    std::sort(ms.cpu.begin(), ms.cpu.end());
    std::printf("  %-44s median %8.3f ms, slowest %8.3f ms, processor median %8.3f ms (%zu runs)\n",
                what, ms.wall[ms.wall.size() / 2], ms.wall.back(), ms.cpu[ms.cpu.size() / 2],
                ms.wall.size());
}

// Times `step`, without what `prepare` does before it.
Times timed(
    int runs, const std::function<void()>& step, const std::function<void()>& prepare = [] {}) {
    Times ms;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const std::clock_t processor = std::clock();
        QElapsedTimer timer;
        timer.start();
        step();
        ms.wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        ms.cpu.push_back(double(std::clock() - processor) * 1000 / CLOCKS_PER_SEC);
    }
    return ms;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("Profile window with 256 sections, offscreen:\n");

    std::unique_ptr<AppShell> fresh;
    const auto open = [&] {
        fresh->showProfile()->trigger();
        (void)fresh->profileWindow()->grab();
    };
    report("opening it (first use, first frame)",
           timed(15, open, [&] { fresh = programWith256Sections(); }));

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

    std::printf("Stations:\n");
    shell = programWith256Sections(QStringLiteral("1968503937")); // 100 km
    shell->showProfile()->trigger();
    profile = shell->profileWindow();
    profile->findChild<QTabWidget*>()->setCurrentIndex(1);
    enter(profile, "txtStationInterval", QStringLiteral("1"));
    if (profile->stations()->plan().Count != 100001) {
        fail("100 km every metre did not give 100,001 stations");
    }
    calculate = shell->mainWindow().findChild<QPushButton*>(QStringLiteral("cmdCalculate"));
    report("100,001 stations after \"Calculate\"", timed(30, [&] {
               calculate->click();
               (void)profile->grab();
           }));
    QAction* copyStations = profile->findChild<QAction*>(QStringLiteral("actCopyStations"));
    report("\"Copy all stations\", 100,001", timed(10, [&] { copyStations->trigger(); }));
    QTemporaryDir stationsDir;
    const QString stationsPdf = stationsDir.filePath(QStringLiteral("stations.pdf"));
    report("PDF report, 256 sections, 100,001 stations", timed(3, [&] {
               if (!profile->writeFile(ProfileWindow::FileKind::Report, stationsPdf)) {
                   fail("the report was not written");
               }
           }));

    shell = programWith256Sections(); // 100 m
    shell->showProfile()->trigger();
    profile = shell->profileWindow();
    enter(profile, "txtStationInterval", QStringLiteral("0.1"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    report("PDF report, 256 sections and 1,001 stations", timed(10, [&] {
               if (!profile->writeFile(ProfileWindow::FileKind::Report, pdf).ok()) {
                   fail("the report was not written");
               }
           }));
    return 0;
}
