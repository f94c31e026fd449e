// The "Stations" tab of the profile window: setting the calculation out along
// the line. "Chainage at start" and "Every … m" give the stations (taken on
// leaving the box, as in the main window); the table shows one row per
// station, worked out when the view asks for it; "Height at chainage" reads
// off the curve at any chainage, following the typing.
#pragma once

#include "profile/Stations.h"
#include "text/CurveFactsText.h"

#include <QString>
#include <QWidget>

#include <vector>

class QAction;
class QHBoxLayout;
class QLineEdit;
class QTableView;

namespace pendrio {

class CommitOnLeave;
class ElidingLabel;
class TextTableModel;

class StationsPage : public QWidget {
    Q_OBJECT

public:
    // `profile` is the window's copy of the calculation, which the page reads.
    explicit StationsPage(const ProfileState& profile, QWidget* parent = nullptr);

    // The profile has changed: the stations are planned anew.
    void refresh();

    const StationPlan& plan() const { return plan_; }
    // The chainage at start and the interval as the user last gave them, in
    // metres; a refused plan keeps them.
    double startChainage() const { return startChainage_; }
    double interval() const { return interval_; }
    // Why there are no stations to copy or save, naming the chainage and the
    // interval; empty when there are.
    QString whyNoStations() const;

    // Takes `text` as "Chainage at start", as if the user had typed it there
    // and left the box.
    void enterStartChainage(const QString& text);

    // The unit "Height at chainage" gives first.
    void setUnit(LengthUnit unit);

    // The selected rows (all when none is selected) as tab-separated text.
    QString selectedRowsText() const;
    QString allRowsText() const;

signals:
    void entryRefused();
    // The stations were planned anew; `whyNone` as whyNoStations().
    void stationsPlanned(const QString& whyNone);

private:
    QHBoxLayout* createInputs();
    void takeInputsOnLeave();
    void createTable();
    QHBoxLayout* createQuery();
    void showQuery();
    QString planText() const;

    const ProfileState& profile_;
    double startChainage_ = 0; // metres
    double interval_ = 10;     // metres
    StationPlan plan_;
    LengthUnit unit_ = LengthUnit::Metres;
    QLineEdit* startBox_ = nullptr;
    CommitOnLeave* takeStart_ = nullptr;
    QLineEdit* intervalBox_ = nullptr;
    ElidingLabel* planLabel_ = nullptr;
    QTableView* table_ = nullptr;
    QAction* copyRows_ = nullptr;
    TextTableModel* model_ = nullptr;
    QLineEdit* queryBox_ = nullptr;
    ElidingLabel* queryResult_ = nullptr;
};

} // namespace pendrio
