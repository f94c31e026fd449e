// What a file or a report is made from: the calculation on show and the
// window's choices about it, taken by value when the user asks for the file.
// A report lets events through while it is made (its progress dialog), and a
// save dialog waits for a name; whatever the user does meanwhile in either
// window (Calculate, a new station interval, View ▸ Track units) changes the
// window, never a file asked for before. Values only: it may be copied.
#pragma once

#include "plot/ProfilePainter.h"
#include "profile/ProfileState.h"
#include "profile/Stations.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>

namespace pendrio {

struct ExportSnapshot {
    ProfileState profile;
    // The stations as planned, and the chainage at start the user typed
    // (where the alignment files start), which a refused plan does not keep.
    StationPlan stations;
    double startChainage = 0; // metres
    // Why there are no stations to write, with the chainage and interval
    // typed; empty when there are.
    QString whyNoStations;
    QLocale locale;
    QStringList facts; // the plot's caption, one fact a line, in View's unit
    // The plot as the window draws it, in View's unit, for the images and the report.
    ProfilePainter plot;
};

// Shared by the jobs that read it: a report's pages are painted from it
// while the window goes on.
using SharedSnapshot = std::shared_ptr<const ExportSnapshot>;

} // namespace pendrio
