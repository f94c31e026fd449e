// The profile window: the whole of the last calculation at a glance, beside
// the main window. A plot of the heights along the stretch above a table with
// one row per section, both following the section on display in the main
// window; choosing a section in either shows it there. The File menu saves
// the table as CSV and the plot as SVG or PNG; the Edit menu copies.
//
// It reads the main window's calculated profile and keeps no copy: refresh()
// after every change of it, with the section then on display, and
// setCurrentSection() after every step.
#pragma once

#include "profile/ProfileState.h"
#include "window/DesignRadiusRow.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <utility>

class QAction;
class QLabel;
class QMenuBar;
class QTableView;

namespace pendrio {

class ProfilePlot;
class SectionTableModel;

class ProfileWindow : public QWidget {
    Q_OBJECT

public:
    // Small enough to have room beside, above or below the main window on
    // most screens, large enough for the plot, the facts and a few rows.
    static constexpr QSize MinimumSize{480, 360};

    // `shared` are the main window's actions, whose shortcuts work here too;
    // `design` is what the row "Length for a vertical radius" needs of it.
    ProfileWindow(const ProfileState& profile, const QList<QAction*>& shared,
                  DesignRadiusRow::MainWindow design, QWidget* parent = nullptr);

    void refresh(int section);
    void setCurrentSection(int section);

    ProfilePlot* plot() const { return plot_; }
    QTableView* table() const { return table_; }
    DesignRadiusRow* designRadiusRow() const { return designRadius_; }

    // The selected rows (all when none is selected) as tab-separated text.
    QString selectedRowsText() const;

    // Write the file, all or nothing; an empty string on success, else why not.
    QString saveCsv(const QString& path) const;
    QString saveSvg(const QString& path) const;
    QString savePng(const QString& path) const;

    // Writes a file of this kind, as the File menu does once a name is
    // chosen; if that fails, tells the user once, naming the file and why.
    enum class FileKind { Csv, Svg, Png };
    void saveTo(FileKind kind, const QString& path);
    // Where that message goes instead of a warning box, for a test.
    void setSaveFailureSink(std::function<void(const QString& message)> sink) {
        saveFailureSink_ = std::move(sink);
    }

    // The curve's facts, a line each: under the plot, for screen readers,
    // and under an exported image.
    const QStringList& plotCaption() const { return facts_; }

signals:
    // The user chose this section in the plot or the table.
    void sectionChosen(int section);

private:
    void createTable();
    void createMenus(const QList<QAction*>& shared);
    void createViewMenu(QMenuBar* bar);
    void chooseFileAndSave(FileKind kind);
    void copySelectedRows() const;
    void selectTableRow(int section);
    void tableRowChanged(int row);

    const ProfileState& profile_;
    ProfilePlot* plot_ = nullptr;
    QLabel* factsLabel_ = nullptr;
    DesignRadiusRow* designRadius_ = nullptr;
    QStringList facts_;
    QTableView* table_ = nullptr;
    SectionTableModel* model_ = nullptr;
    std::function<void(const QString&)> saveFailureSink_;
    bool following_ = false; // moving the table's row to the main window's section
};

} // namespace pendrio
