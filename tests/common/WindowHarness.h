// The one way the window tests open Pendrio: built by AppShell as main()
// builds it, with a count of the beeps it asks for, the main
// window shown and active, so that the keyboard focus moves as it does for a
// user. Everything is closed after every test function.
#pragma once

#include "app/AppShell.h"
#include "tests/common/QtTestFixture.h"
#include "window/frmMain.h"

#include <QTest>

#include <memory>

namespace pendrio::testing {

class WindowHarness : public QtTestCase {
protected:
    // Opens a fresh program; false if its window never became the active window.
    [[nodiscard]] bool open() {
        beeps = 0;
        shell = std::make_unique<AppShell>();
        QObject::connect(shell.get(), &AppShell::beepRequested, [this] { ++beeps; });
        window = &shell->mainWindow();
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }

    // Closes the program, both windows.
    void close() {
        window = nullptr;
        shell.reset();
    }

    // The control with this objectName; a missing one ends the test run.
    template <typename T = QWidget> T* control(const QString& name) const {
        T* widget = window->findChild<T*>(name);
        if (!widget) {
            qFatal("no control %s", qPrintable(name));
        }
        return widget;
    }

    void endTest() override { close(); }

    std::unique_ptr<AppShell> shell;
    frmMain* window = nullptr; // the shell's main window
    int beeps = 0;
};

} // namespace pendrio::testing
