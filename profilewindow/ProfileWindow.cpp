#include "profilewindow/ProfileWindow.h"

#include "profile/CurveFacts.h"
#include "profilewindow/AtomicFile.h"
#include "profilewindow/DesignRadiusRow.h"
#include "profilewindow/ElidingLabel.h"
#include "profilewindow/ProfilePlot.h"
#include "profilewindow/SectionTableModel.h"
#include "window/text/CurveFactsText.h"
#include "window/text/ProgramInfo.h"
#include "window/text/SectionTableText.h"

#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QSvgGenerator>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

namespace pendrio {

namespace {

// Exported plots are drawn at this size (SVG user units and PNG pixels).
constexpr QSize ImageSize(1200, 600);
constexpr QSize DefaultSize(780, 640);
constexpr int WindowMargin = 6; // tight, so that the minimum stays within MinimumSize
// Kind and radius, the high or low point, the total rise.
constexpr int MaxFactLines = 3;

// A tab's page: `content` with a margin, pushed to the top.
QWidget* pageWithMargins(QWidget* content) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(content);
    layout->addStretch(1);
    return page;
}

struct FileType {
    const char* title;
    const char* filter;
    const char* suffix;
};
// Translated where they are used, in the window's context.
#define N(text) QT_TRANSLATE_NOOP("pendrio::ProfileWindow", text)
const FileType csvType{N("Save sections as CSV"), N("CSV files (*.csv)"), "csv"};
const FileType svgType{N("Save plot as SVG"), N("SVG images (*.svg)"), "svg"};
const FileType pngType{N("Save plot as PNG"), N("PNG images (*.png)"), "png"};
#undef N

} // namespace

ProfileWindow::ProfileWindow(const QList<QAction*>& shared, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmProfile"));
    setWindowTitle(tr("Profile – %1").arg(QString::fromUtf8(WindowTitle)));
    // Closing it only hides it; the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    plot_ = new ProfilePlot(profile_, this);
    staleLabel_ = new ElidingLabel(1, this);
    staleLabel_->setObjectName(QStringLiteral("lblStaleNote"));
    staleLabel_->setAccessibleName(tr("Note"));
    // Its line stays reserved while hidden: the window's minimum never changes.
    QSizePolicy reserved = staleLabel_->sizePolicy();
    reserved.setRetainSizeWhenHidden(true);
    staleLabel_->setSizePolicy(reserved);
    factsLabel_ = new ElidingLabel(MaxFactLines, this);
    factsLabel_->setObjectName(QStringLiteral("lblCurveFacts"));
    factsLabel_->setAccessibleName(tr("Curve facts"));
    factsLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    createTable();
    designRadius_ = new DesignRadiusRow(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabTables"));
    tabs_->addTab(table_, tr("&Sections"));
    tabs_->addTab(pageWithMargins(designRadius_), tr("&Design from a radius"));

    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(plot_, 1);
    topLayout->addWidget(staleLabel_);
    topLayout->addWidget(factsLabel_);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(WindowMargin, WindowMargin, WindowMargin, WindowMargin);
    layout->addWidget(splitter);
    createMenus(shared);
    setTabOrder(plot_, factsLabel_);
    setTabOrder(factsLabel_, tabs_);
    setTabOrder(tabs_, table_);
    designRadius_->setTabOrderAfter(table_);

    connect(plot_, &ProfilePlot::sectionChosen, this, &ProfileWindow::sectionChosen);
    connect(designRadius_, &DesignRadiusRow::lengthChosen, this, &ProfileWindow::lengthChosen);
    connect(designRadius_, &DesignRadiusRow::entryRefused, this, &ProfileWindow::entryRefused);
    // Its minimum is what its layout needs, which no text it shows changes;
    // AppShell places it.
    resize(DefaultSize);
    refresh(0);
}

// Widths from the font once, not measured from 2,000 cells after each
// change: room for a whole header, or for a number of 15 digits.
void ProfileWindow::createTable() {
    model_ = new SectionTableModel(profile_, this);
    model_->setLocale(locale());
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblSections"));
    table_->setAccessibleName(tr("Sections"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false); // Tab leaves the table, as in a form
    table_->verticalHeader()->hide();
    table_->setWordWrap(false);
    // At the window's smallest, the header and one row.
    table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() +
                             table_->verticalHeader()->defaultSectionSize() +
                             2 * table_->frameWidth());
    const QFontMetrics metrics(table_->font());
    QFont headerFont = table_->horizontalHeader()->font();
    headerFont.setBold(true); // the header of the current column is drawn bold
    const QFontMetrics headerMetrics(headerFont);
    const int numberWidth = metrics.horizontalAdvance(QStringLiteral("-8.88888888888888E+308"));
    for (int c = 0; c < model_->columnCount(); ++c) {
        const QString header = model_->headerData(c, Qt::Horizontal).toString();
        table_->setColumnWidth(
            c, std::max(c == 0 ? 0 : numberWidth, headerMetrics.horizontalAdvance(header)) + 24);
    }
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { tableRowChanged(current.row()); });
}

void ProfileWindow::createMenus(const QList<QAction*>& shared) {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu* file = bar->addMenu(tr("&File"));
    const auto add = [this](QMenu* menu, const QString& text, const QKeySequence& keys, auto slot) {
        QAction* action = menu->addAction(text, this, slot);
        action->setShortcut(keys);
        return action;
    };
    add(file, tr("Save as &CSV…"), QKeySequence::Save,
        [this] { chooseFileAndSave(FileKind::Csv); });
    add(file, tr("Save plot as &SVG…"), QKeySequence(),
        [this] { chooseFileAndSave(FileKind::Svg); });
    add(file, tr("Save plot as &PNG…"), QKeySequence(),
        [this] { chooseFileAndSave(FileKind::Png); });
    file->addSeparator();
    add(file, tr("&Close"), QKeySequence::Close, [this] { close(); });

    QMenu* edit = bar->addMenu(tr("&Edit"));
    // Ctrl+C copies the selected rows while the table has the focus; the
    // main window's "Copy all sections" works everywhere in this window.
    auto* copyRows = new QAction(tr("&Copy selected rows"), table_);
    copyRows->setShortcut(QKeySequence::Copy);
    copyRows->setShortcutContext(Qt::WidgetShortcut);
    connect(copyRows, &QAction::triggered, this, &ProfileWindow::copySelectedRows);
    table_->addAction(copyRows);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    edit->addAction(copyRows);
    for (QAction* action : shared) {
        addAction(action);
        table_->addAction(action);
    }
    edit->addActions(shared);
    createViewMenu(bar);
}

// The plot's unit, for as long as the program runs: the window is created
// once and only hidden when closed.
void ProfileWindow::createViewMenu(QMenuBar* bar) {
    QMenu* view = bar->addMenu(tr("&View"));
    auto* units = new QActionGroup(this);
    for (const auto& [name, text, unit] :
         {std::tuple{"actMetres", QT_TR_NOOP("&Metres"), PlotUnit::Metres},
          std::tuple{"actTrackUnits", QT_TR_NOOP("&Track units"), PlotUnit::TrackUnits}}) {
        QAction* action = view->addAction(tr(text));
        action->setObjectName(QString::fromUtf8(name));
        action->setCheckable(true);
        action->setChecked(plot_->unit() == unit);
        units->addAction(action);
        connect(action, &QAction::triggered, plot_, [this, unit = unit] { plot_->setUnit(unit); });
    }
}

void ProfileWindow::showProfile(const ProfileState& profile) {
    profile_ = profile;
    committed_ = InputsOf(profile_);
    designRadius_->setGradients(profile_.StartGradient, profile_.EndGradient);
    refresh(profile_.CurrentSection);
    showStaleNote();
}

void ProfileWindow::setCommittedInputs(const ProfileInputs& inputs) {
    committed_ = inputs;
    showStaleNote();
}

QString ProfileWindow::staleNote() const {
    return committed_ == InputsOf(profile_)
               ? QString()
               : tr("The inputs have changed since this calculation. Press Calculate to update.");
}

void ProfileWindow::showStaleNote() {
    const QString note = staleNote();
    staleLabel_->setFullText(note);
    staleLabel_->setVisible(!note.isEmpty());
}

void ProfileWindow::refresh(int section) {
    facts_ = CurveFactsLines(ComputeCurveFacts(profile_), locale());
    // The label's name is "Curve facts"; a screen reader reads the facts
    // themselves as its description.
    factsLabel_->setFullText(facts_.join(u'\n'));
    model_->refresh();
    plot_->refresh(section);
    selectTableRow(section);
}

void ProfileWindow::setCurrentSection(int section) {
    if (section == plot_->highlightedSection()) {
        return; // also where a section chosen here comes back from the main window
    }
    plot_->setHighlightedSection(section);
    selectTableRow(section);
}

void ProfileWindow::selectTableRow(int section) {
    following_ = true;
    if (section >= 1 && section <= model_->rowCount()) {
        const QModelIndex index = model_->index(section - 1, 0);
        table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        table_->scrollTo(index);
    } else {
        table_->selectionModel()->clearSelection();
    }
    following_ = false;
}

void ProfileWindow::tableRowChanged(int row) {
    if (!following_ && row >= 0) {
        emit sectionChosen(row + 1);
    }
}

QString ProfileWindow::selectedRowsText() const {
    std::set<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows.insert(index.row() + 1);
    }
    return SectionsAsTabText(profile_, locale(), {rows.begin(), rows.end()});
}

void ProfileWindow::copySelectedRows() const {
    QGuiApplication::clipboard()->setText(selectedRowsText());
}

QString ProfileWindow::saveCsv(const QString& path) const {
    return WriteFileAtomically(path, SectionsAsCsv(profile_));
}

QString ProfileWindow::saveSvg(const QString& path) const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(ImageSize);
    svg.setViewBox(QRect(QPoint(0, 0), ImageSize));
    svg.setResolution(96); // so that viewers show it at ImageSize pixels
    svg.setTitle(tr("Height profile"));
    svg.setDescription(plotCaption().join(u'\n'));
    {
        QPainter painter(&svg);
        plot_->paintPlot(painter, QRectF(QPointF(0, 0), ImageSize), plotCaption());
    }
    return WriteFileAtomically(path, buffer.data());
}

QString ProfileWindow::savePng(const QString& path) const {
    QImage image(ImageSize, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        plot_->paintPlot(painter, QRectF(image.rect()), plotCaption());
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return tr("The image could not be encoded as PNG.");
    }
    return WriteFileAtomically(path, buffer.data());
}

void ProfileWindow::chooseFileAndSave(FileKind kind) {
    const FileType& type = kind == FileKind::Csv   ? csvType
                           : kind == FileKind::Svg ? svgType
                                                   : pngType;
    QFileDialog dialog(this, tr(type.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr(type.filter));
    dialog.setDefaultSuffix(QString::fromUtf8(type.suffix));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(tr("profile") + u'.' + QString::fromUtf8(type.suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return; // cancelled: nothing written, nothing to say
    }
    saveTo(kind, dialog.selectedFiles().constFirst());
}

void ProfileWindow::saveTo(FileKind kind, const QString& path) {
    const QString error = kind == FileKind::Csv   ? saveCsv(path)
                          : kind == FileKind::Svg ? saveSvg(path)
                                                  : savePng(path);
    if (error.isEmpty()) {
        return;
    }
    const QString message = tr("“%1” was not saved. %2").arg(path, error);
    if (saveFailureSink_) {
        saveFailureSink_(message);
    } else {
        QMessageBox::warning(this, tr("Could not save"), message);
    }
}

} // namespace pendrio
