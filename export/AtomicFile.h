// Writing a whole file or nothing.
#pragma once

#include "text/Outcome.h"

#include <QByteArray>
#include <QString>

namespace pendrio {

// Writes `contents` to `path` through a temporary file that replaces the old
// one only once everything is on disk, so that a failure (no such folder, no
// permission, a full disk) leaves no partial file and the old one untouched.
// Done, or why it failed, for the user.
Done WriteFileAtomically(const QString& path, const QByteArray& contents);

// Why a file could not be written, from the system's error number, as a
// sentence for the user: the common causes in plain words, any other in the
// system's own text.
QString WriteFailureText(int systemError);

} // namespace pendrio
