#include "export/AtomicFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace pendrio {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(pendrio::AtomicFile)
};

} // namespace

QString WriteFailureText(int systemError) {
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
        return Text::tr("The disk is full.");
    case EACCES:
    case EPERM:
        return Text::tr("You have no permission to write there.");
    case ENOENT:
    case ENOTDIR: // a part of the folder's path is a file
        return Text::tr("The folder does not exist.");
    case EISDIR:
        return Text::tr("The name is that of a folder.");
    case EROFS:
        return Text::tr("The file system is read-only.");
    default:
        return QString::fromLocal8Bit(std::strerror(systemError)) + u'.';
    }
}

namespace {

// Qt often knows no reason: a short write sets no error at all, and its text
// is then "Unknown error". The system does know, in errno right after the
// failing call; it is cleared before each call, since calls that succeed may
// leave an old value in it.
QString reasonFor(const QString& path, int systemError, const QString& qtText) {
    const QFileInfo file(path);
    if (file.isDir()) {
        return WriteFailureText(EISDIR); // QSaveFile refuses it before any system call
    }
    // A folder that exists may still answer "no such file" to a new one: the
    // kernel's own file systems (/proc) do, even to root.
    const bool noSuchFolder = systemError == ENOENT || systemError == ENOTDIR;
    if (noSuchFolder && QFileInfo(file.absolutePath()).isDir()) {
        return QFileInfo(file.absolutePath()).isWritable()
                   ? Text::tr("The folder exists, but no file can be made in it.")
                   : WriteFailureText(EACCES);
    }
    if (systemError != 0) {
        return WriteFailureText(systemError);
    }
    if (!qtText.isEmpty() && qtText != QLatin1String("Unknown error")) {
        return qtText;
    }
    return Text::tr("The file could not be written.");
}

} // namespace

Done WriteFileAtomically(const QString& path, const QByteArray& contents) {
    if (path.isEmpty()) {
        return Done::Refused(Text::tr("No file name was given."));
    }
    QSaveFile file(path);
    const auto failed = [&] {
        const QString reason = reasonFor(path, errno, file.errorString());
        file.cancelWriting(); // the temporary file goes, the old one stays
        return Done::Refused(reason);
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        return failed();
    }
    // On a full disk write() may write only a part, and Qt then neither sets
    // an error nor stops commit() from putting that part in the old file's
    // place: only the count shows it.
    errno = 0;
    if (file.write(contents) != contents.size()) {
        return failed();
    }
    // What fits Qt's write buffer reaches the disk only when it is flushed,
    // and commit() ignores a flush that fails: it would put an empty or a
    // partial file in the old one's place.
    errno = 0;
    if (!file.flush()) {
        return failed();
    }
    errno = 0;
    if (!file.commit()) {
        return failed();
    }
    return {};
}

} // namespace pendrio
