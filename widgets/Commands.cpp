#include "widgets/Commands.h"

#include <QAction>
#include <QCoreApplication>

namespace pendrio {

QAction* NewAction(const char* context, const CommandRow& command, QObject* parent) {
    auto* action = new QAction(QCoreApplication::translate(context, command.text), parent);
    action->setObjectName(QString::fromUtf8(command.name));
    action->setShortcut(command.keys);
    return action;
}

} // namespace pendrio
