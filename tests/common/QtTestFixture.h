// What every QTest program shares, so that each starts alike, touches no
// one else's files and cannot hang the suite: the offscreen platform unless
// QT_QPA_PLATFORM names one, a HOME and an XDG_RUNTIME_DIR of its own, the C
// locale again after each test function, and a watchdog that fails a test in
// which a modal dialog opens (it would wait for a click that never comes). A
// progress dialog is let be: it closes itself when the work is done, and on a
// busy machine it may well appear.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

namespace pendrio::testing {

// A modal dialog a test expects: the watchdog hands it to `answer` instead of
// failing the test, once, while it is set. The answer closes the dialog.
inline std::function<void(QDialog&)>& ExpectedDialog() {
    static std::function<void(QDialog&)> answer;
    return answer;
}

class QtTestCase : public QObject {
    Q_OBJECT

protected:
    // Where a test class tidies up: a cleanup() slot of its own would hide this one.
    virtual void endTest() {}

protected slots:
    void cleanup() {
        endTest();
        ExpectedDialog() = {};
        QLocale::setDefault(QLocale::c());
    }
};

// Runs `body` in a QApplication in the environment above. A modal dialog runs
// an event loop of its own, in which the watchdog's timer still fires.
inline int RunTestProgram(int argc, char* argv[], const std::function<int()>& body) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QTemporaryDir home, runtime; // made 0700, as XDG_RUNTIME_DIR must be
    if (!home.isValid() || !runtime.isValid()) {
        qFatal("no private HOME and XDG_RUNTIME_DIR: %s", qPrintable(home.errorString()));
    }
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && !qobject_cast<QProgressDialog*>(dialog) && ExpectedDialog()) {
            const auto answer = std::exchange(ExpectedDialog(), {});
            answer(*dialog);
        } else if (dialog && !qobject_cast<QProgressDialog*>(dialog)) {
            const QString what = QStringLiteral("a modal dialog opened: \"%1\"");
            QTest::qFail(qPrintable(what.arg(dialog->windowTitle())), __FILE__, __LINE__);
            dialog->done(QDialog::Rejected);
        }
    });
    watchdog.start(100);
    return body();
}

template <typename TestClass> int RunQtTest(int argc, char* argv[]) {
    return RunTestProgram(argc, argv, [&] {
        TestClass test;
        return QTest::qExec(&test, argc, argv);
    });
}

} // namespace pendrio::testing

#define PENDRIO_QTEST_MAIN(TestClass)                                                              \
    int main(int argc, char* argv[]) {                                                             \
        return pendrio::testing::RunQtTest<TestClass>(argc, argv);                                 \
    }
