// A window's commands are listed in a table, and every action is made from
// an entry in the one way here: its object name, its text with the letter
// that chooses it in a menu, and its keys.
#pragma once

#include <QKeySequence>

class QAction;
class QObject;

namespace pendrio {

struct CommandRow {
    const char* name; // the action's objectName: "actSaveCsv"
    // Marked with QT_TRANSLATE_NOOP in the context of the table's window.
    const char* text;
    QKeySequence keys;
};

// The action of `command`, its text translated in `context`.
QAction* NewAction(const char* context, const CommandRow& command, QObject* parent);

} // namespace pendrio
