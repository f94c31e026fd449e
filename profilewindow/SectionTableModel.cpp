#include "profilewindow/SectionTableModel.h"

#include "profile/ProfileCurve.h"
#include "window/text/SectionTableText.h"

namespace pendrio {

SectionTableModel::SectionTableModel(const ProfileState& profile, QObject* parent)
    : QAbstractTableModel(parent), profile_(profile) {}

void SectionTableModel::refresh() {
    beginResetModel();
    endResetModel();
}

void SectionTableModel::setLocale(const QLocale& locale) {
    locale_ = locale;
    refresh();
}

int SectionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : CalculatedSectionCount(profile_);
}

int SectionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(SectionColumns().size());
}

QVariant SectionTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return SectionCellText(profile_, index.row() + 1, index.column(), locale_);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant SectionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return SectionHeaderText(section);
    }
    return {};
}

} // namespace pendrio
