// The section table of the profile window as a Qt model: one row per section
// of the last calculation, the columns and cell texts of SectionTableText.
// It reads the profile it is given on every request and keeps no copy, so a
// reset after each change is all it needs.
#pragma once

#include "profile/ProfileState.h"

#include <QAbstractTableModel>
#include <QLocale>

namespace pendrio {

class SectionTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit SectionTableModel(const ProfileState& profile, QObject* parent = nullptr);

    // The profile has changed: rows and cells are read anew.
    void refresh();
    void setLocale(const QLocale& locale);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const ProfileState& profile_;
    QLocale locale_;
};

} // namespace pendrio
