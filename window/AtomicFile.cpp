#include "window/AtomicFile.h"

#include <QSaveFile>

namespace pendrio {

QString WriteFileAtomically(const QString& path, const QByteArray& contents) {
    if (path.isEmpty()) {
        return QStringLiteral("No file name was given.");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (file.write(contents) != contents.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

} // namespace pendrio
