// What a file or a report is made from: the calculation on show and the
// window's choices about it, taken by value when the user asks for the file.
// A report lets events through while it is made (its progress dialog), and a
// save dialog waits for a name; whatever the user does meanwhile in either
// window (Calculate, a new station interval, View ▸ Track units) changes the
// window, never a file asked for before.
#pragma once

#include "profile/ProfileState.h"
#include "profile/Stations.h"
#include "profilewindow/ProfilePlot.h"

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
    // A plot of `profile` of its own, never shown, for the images and the
    // report.
    std::unique_ptr<ProfilePlot> plot;

    ExportSnapshot() = default;
    ExportSnapshot(const ExportSnapshot&) = delete; // the plot reads `profile` in place
    ExportSnapshot& operator=(const ExportSnapshot&) = delete;
};

using SharedSnapshot = std::shared_ptr<const ExportSnapshot>;

} // namespace pendrio
