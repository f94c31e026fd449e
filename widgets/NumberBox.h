// A box for a number, as the profile window's pages have them: the digits to
// the right, room for `digits` of them and at most four more, and the label
// that names it for screen readers and gives it its Alt+letter.
#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace pendrio {

QLineEdit* NewNumberBox(const char* name, const QString& accessibleName, int digits,
                        QWidget* parent);
QLabel* NewBuddyLabel(QLineEdit* box, const QString& text, QWidget* parent);

} // namespace pendrio
