// A read-only table of texts, for the section and the station table: each
// cell is worked out when the view asks for it and none is stored, so that a
// table of 100,001 stations costs no more to bring up to date than one of 16
// sections. The owner says how many rows there are and how to write a cell.
#pragma once

#include "text/TableText.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QWidget>

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

    // A column each: its header, its cells' alignment, and a text as wide as
    // what it usually holds.
    struct Columns {
        QStringList headers;
        QList<Qt::Alignment> alignments;
        QStringList samples;
    };

    TextTableModel(Columns columns, CellText cell, QObject* parent = nullptr);

    // The data behind the rows has changed: there are `rows` of them now.
    void reset(int rows);

    const QStringList& samples() const { return columns_.samples; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    Columns columns_;
    CellText cell_;
    int rows_ = 0;
};

// The model of a described table's InTable columns, row i being `rowAt(i)`,
// each cell as the table shows it in the locale of `reader` (a widget whose
// locale may change).
template <typename Row, typename RowAt>
TextTableModel* NewTableModel(const TableDescription<Row>& table, RowAt rowAt,
                              const QWidget* reader, QObject* parent) {
    const std::vector<TableColumn<Row>> shown = ColumnsShown(table, InTable);
    TextTableModel::Columns columns{Headers(table, InTable), {}, {}};
    for (const TableColumn<Row>& column : shown) {
        columns.alignments << CellAlignment(column.format);
        columns.samples << ColumnSample(table.context, column.format);
    }
    return new TextTableModel(
        std::move(columns),
        [&table, rowAt, reader, shown](int row, int column) {
            const TableColumn<Row>& c = shown[std::size_t(column)];
            return CellText(table.context, c.format, c.cell(rowAt(row)), InTable, reader->locale());
        },
        parent);
}

// A view of `model` that reads as a list of rows: whole rows are selected,
// nothing is edited, Tab leaves it as it leaves a field of a form, rows are
// neither numbered nor wrapped, each column as wide as its header or its
// sample, and at its smallest it shows the header and one row. Ctrl+C, while it has the focus, and
// its context menu copy the selected rows as `selectedText` writes them.
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
