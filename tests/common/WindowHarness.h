// The one way the window tests open Pendrio's window: with a beep counter in
// place of the system beep, shown and active, so that the keyboard focus moves
// as it does for a user. The window is closed after every test function.
#pragma once

#include "tests/common/QtTestFixture.h"
#include "window/frmMain.h"

#include <QTest>

#include <memory>

namespace pendrio::testing {

class WindowHarness : public QtTestCase {
protected:
    // Opens a fresh window; false if it never became the active window.
    [[nodiscard]] bool open() {
        beeps = 0;
        window = std::make_unique<frmMain>([this] { ++beeps; });
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    // The control with this objectName; a missing one ends the test run.
    template <typename T = QWidget> T* control(const QString& name) const {
        T* widget = window->findChild<T*>(name);
        if (!widget) {
            qFatal("no control %s", qPrintable(name));
        }
        return widget;
    }

    void endTest() override { window.reset(); }

    std::unique_ptr<frmMain> window;
    int beeps = 0;
};

} // namespace pendrio::testing
