#include "widgets/NumberBox.h"

#include <QLabel>
#include <QLineEdit>

namespace pendrio {

QLineEdit* NewNumberBox(const char* name, const QString& accessibleName, int digits,
                        QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setAccessibleName(accessibleName);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int digit = box->fontMetrics().horizontalAdvance(u'0');
    box->setMinimumWidth(digit * digits);
    box->setMaximumWidth(digit * (digits + 4));
    return box;
}

QLabel* NewBuddyLabel(QLineEdit* box, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(box);
    return label;
}

} // namespace pendrio
