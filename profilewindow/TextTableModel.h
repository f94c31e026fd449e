// A read-only table of texts, for the section and the station table: each
// cell is worked out when the view asks for it and none is stored, so that a
// table of 100,001 stations costs no more to bring up to date than one of 16
// sections. The owner says how many rows there are and how to write a cell.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QTableView;
class QWidget;

namespace pendrio {

class TextTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using CellText = std::function<QString(int row, int column)>;

    // Numbers are right-aligned; the columns in `textColumns` left-aligned.
    TextTableModel(QStringList headers, CellText cell, QList<int> textColumns = {},
                   QObject* parent = nullptr);

    // The data behind the rows has changed: there are `rows` of them now.
    void reset(int rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList headers_;
    CellText cell_;
    QList<int> textColumns_;
    int rows_ = 0;
};

// A view of `model` that reads as a list of rows: whole rows are selected,
// nothing is edited, Tab leaves it as it leaves a field of a form, rows are
// neither numbered nor wrapped, and at its smallest it shows the header and
// one row. Ctrl+C, while it has the focus, and its context menu copy the
// selected rows as `selectedText` writes them.
struct RowTable {
    QTableView* view;
    QAction* copyRows; // for a window's Edit menu
};
RowTable NewRowTable(TextTableModel* model, const QString& objectName,
                     const QString& accessibleName, std::function<QString()> selectedText,
                     QWidget* parent);

// The rows selected in `table`, counted from 0, in order.
std::vector<int> SelectedRows(const QTableView& table);

} // namespace pendrio
