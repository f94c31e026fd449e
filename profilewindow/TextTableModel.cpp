#include "profilewindow/TextTableModel.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace pendrio {

TextTableModel::TextTableModel(QStringList headers, CellText cell, QList<int> textColumns,
                               QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)), cell_(std::move(cell)),
      textColumns_(std::move(textColumns)) {}

void TextTableModel::reset(int rows) {
    beginResetModel();
    rows_ = std::max(rows, 0);
    endResetModel();
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headers_.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return cell_(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            (textColumns_.contains(index.column()) ? Qt::AlignLeft : Qt::AlignRight) |
            Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return headers_.at(section);
    }
    return {};
}

RowTable NewRowTable(TextTableModel* model, const QString& objectName,
                     const QString& accessibleName, std::function<QString()> selectedText,
                     QWidget* parent) {
    auto* table = new QTableView(parent);
    table->setObjectName(objectName);
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    table->setMinimumHeight(table->horizontalHeader()->sizeHint().height() +
                            table->verticalHeader()->defaultSectionSize() +
                            2 * table->frameWidth());
    auto* copyRows = new QAction(TextTableModel::tr("&Copy selected rows"), table);
    copyRows->setShortcut(QKeySequence::Copy);
    copyRows->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(copyRows, &QAction::triggered, table, [text = std::move(selectedText)] {
        QGuiApplication::clipboard()->setText(text());
    });
    table->addAction(copyRows);
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    return {table, copyRows};
}

std::vector<int> SelectedRows(const QTableView& table) {
    std::vector<int> rows;
    for (const QModelIndex& index : table.selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace pendrio
