#include "profilewindow/CurveChoiceDialog.h"

#include "text/ChainageText.h"
#include "text/NumberText.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace pendrio {

namespace {

// The list's columns, described once: the header and the text of a curve.
struct Column {
    const char* header;
    QString (*text)(const CurveInFile& curve, const QLocale& locale);
    bool number;
};

QString percent(double slope, const QLocale& locale) {
    return FixedText(slope * 100, 3, locale);
}

const std::array<Column, 6> Columns{{
    {QT_TRANSLATE_NOOP("pendrio::CurveChoiceDialog", "Alignment"),
     [](const CurveInFile& c, const QLocale&) { return c.alignment; }, false},
    {QT_TRANSLATE_NOOP("pendrio::CurveChoiceDialog", "Chainage at start"),
     [](const CurveInFile& c, const QLocale& l) { return ChainageText(c.startChainage, l); }, true},
    {QT_TRANSLATE_NOOP("pendrio::CurveChoiceDialog", "Length (m)"),
     [](const CurveInFile& c, const QLocale& l) { return FixedText(c.length, 3, l); }, true},
    {QT_TRANSLATE_NOOP("pendrio::CurveChoiceDialog", "Start gradient (%)"),
     [](const CurveInFile& c, const QLocale& l) { return percent(c.startSlope, l); }, true},
    {QT_TRANSLATE_NOOP("pendrio::CurveChoiceDialog", "End gradient (%)"),
     [](const CurveInFile& c, const QLocale& l) { return percent(c.endSlope, l); }, true},
    {QT_TRANSLATE_NOOP("pendrio::CurveChoiceDialog", "Why it cannot be taken"),
     [](const CurveInFile& c, const QLocale&) { return c.whyNot; }, false},
}};

} // namespace

CurveChoiceDialog::CurveChoiceDialog(const QList<CurveInFile>& curves, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("dlgCurveChoice"));
    setWindowTitle(tr("Choose a curve"));
    auto* note = new QLabel(tr("The file holds %n curves. Choose the one the main window takes.",
                               nullptr, int(curves.size())),
                            this);
    note->setWordWrap(true);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstCurves"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAccessibleName(tr("Curves in the file"));
    note->setBuddy(list_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(list_);
    layout->addWidget(buttons_);
    fill(curves);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CurveChoiceDialog::takeIfChosen);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, &CurveChoiceDialog::takeIfChosen);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this] { buttons_->button(QDialogButtonBox::Ok)->setEnabled(chosenIndex() >= 0); });
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(chosenIndex() >= 0);
    // Wide enough to show every column where the screen has room; the list
    // scrolls where it has not.
    const int columns = list_->header()->length() + 2 * list_->frameWidth() + 2 * layout->spacing();
    resize(std::min(std::max(columns, sizeHint().width()),
                    screen()->availableGeometry().width() * 9 / 10),
           sizeHint().height());
}

void CurveChoiceDialog::fill(const QList<CurveInFile>& curves) {
    QStringList headers;
    for (const Column& column : Columns) {
        headers.append(tr(column.header));
    }
    list_->setHeaderLabels(headers);
    const QLocale locale = this->locale();
    for (const CurveInFile& curve : curves) {
        auto* item = new QTreeWidgetItem(list_);
        for (int i = 0; i < int(Columns.size()); ++i) {
            item->setText(i, Columns[i].text(curve, locale));
            item->setTextAlignment(i, Columns[i].number ? Qt::AlignRight | Qt::AlignVCenter
                                                        : Qt::AlignLeft | Qt::AlignVCenter);
            item->setToolTip(i, curve.whyNot);
        }
        // Greyed, and skipped by the arrows and the mouse alike.
        item->setFlags(curve.usable() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
        if (curve.usable() && !list_->currentItem()) {
            list_->setCurrentItem(item);
        }
    }
    for (int i = 0; i < int(Columns.size()); ++i) {
        list_->resizeColumnToContents(i);
    }
}

int CurveChoiceDialog::chosenIndex() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item && (item->flags() & Qt::ItemIsEnabled) ? list_->indexOfTopLevelItem(item) : -1;
}

void CurveChoiceDialog::takeIfChosen() {
    if (chosenIndex() >= 0) {
        accept();
    }
}

} // namespace pendrio
