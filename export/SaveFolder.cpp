#include "export/SaveFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pendrio {

QString SaveFolder::folder() const {
    if (!last_.isEmpty()) {
        return last_;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

void SaveFolder::remember(const QString& path) {
    last_ = QFileInfo(path).absolutePath();
}

} // namespace pendrio
