// Where the next save dialog opens: the folder of the last file saved while
// the program runs, else the user's documents (their home, where there is
// no documents folder). Nothing of it is kept after the program closes.
#pragma once

#include <QString>

namespace pendrio {

class SaveFolder {
public:
    QString folder() const;
    // A file was saved at `path`.
    void remember(const QString& path);

private:
    QString last_; // empty until a file is saved
};

} // namespace pendrio
