#include "widgets/TextTableModel.h"

#include "widgets/Commands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace pendrio {

namespace {

// Room beside a column's widest usual text: the cell's margins and the sort
// indicator's place.
constexpr int ColumnPadding = 24;
// The frame that shows the focus on a table with no row to mark.
constexpr int FocusFrameWidth = 2;

// A table marks the focus on its current row; one with no rows has none to
// mark, and frames its whole viewport instead, in the colour of a selection.
class RowTableView : public QTableView {
public:
    using QTableView::QTableView;

protected:
    void paintEvent(QPaintEvent* event) override {
        QTableView::paintEvent(event);
        if (hasFocus() && model() && model()->rowCount() == 0) {
            QPainter painter(viewport());
            const int inset = FocusFrameWidth / 2;
            painter.setPen(QPen(palette().color(QPalette::Highlight), FocusFrameWidth));
            painter.drawRect(viewport()->rect().adjusted(inset, inset, -inset, -inset));
        }
    }
    void focusInEvent(QFocusEvent* event) override {
        QTableView::focusInEvent(event);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QTableView::focusOutEvent(event);
        viewport()->update();
    }
};

} // namespace

TextTableModel::TextTableModel(Columns columns, CellText cell, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), cell_(std::move(cell)) {}

void TextTableModel::reset(int rows) {
    beginResetModel();
    rows_ = std::max(rows, 0);
    endResetModel();
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.headers.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return cell_(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columns_.alignments.value(index.column()) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return columns_.headers.at(section);
    }
    return {};
}

RowTable NewRowTable(TextTableModel* model, const QString& objectName,
                     const QString& accessibleName, std::function<QString()> selectedText,
                     QWidget* parent) {
    auto* table = new RowTableView(parent);
    table->setObjectName(objectName);
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    // Widths from the font once, not measured from 100,001 cells after each change.
    const QFontMetrics metrics(table->font());
    QFont headerFont = table->horizontalHeader()->font();
    headerFont.setBold(true); // the header of the current column is drawn bold
    const QFontMetrics headerMetrics(headerFont);
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString header = model->headerData(c, Qt::Horizontal).toString();
        table->setColumnWidth(c, std::max(metrics.horizontalAdvance(model->samples().value(c)),
                                          headerMetrics.horizontalAdvance(header)) +
                                     ColumnPadding);
    }
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->setMinimumHeight(table->horizontalHeader()->sizeHint().height() +
                            table->verticalHeader()->defaultSectionSize() +
                            2 * table->frameWidth());
    const CommandRow copySelected{
        "actCopySelectedRows", QT_TRANSLATE_NOOP("pendrio::TextTableModel", "&Copy selected rows"),
        QKeySequence::Copy};
    QAction* copyRows = NewAction("pendrio::TextTableModel", copySelected, table);
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
