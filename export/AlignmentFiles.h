// A calculated curve as the files civil and rail design suites exchange
// alignments in: IFC 4.3 (ISO 16739-1:2024, schema IFC4X3_ADD2), which rail
// projects use, and LandXML 1.2, which civil suites read.
//
// Pendrio plans the vertical curve alone, so both files carry a straight line
// of the stretch's length in plan and say in words that it stands in for a
// plan Pendrio does not know. The profile is the whole curve as one element:
// Pendrio's parabola is exactly IFC's PARABOLICARC vertical segment and
// LandXML's symmetric ParaCurve, whose tangents meet half way along. The
// sections are only Pendrio's way of tabulating and pegging the curve (the
// CSV keeps them). Equal gradients make no curve, only a constant gradient.
//
// Lengths, heights and chainages are written in metres, gradients as slopes
// (the tangents of the angles), every number as the shortest text that reads
// back to the same double, with a point whatever the locale; the files are
// plain ASCII.
#pragma once

#include "profile/ProfileState.h"
#include "profile/Stations.h"
#include "text/Outcome.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUuid>

#include <functional>

namespace pendrio {

// Metres. Design suites mostly work in millimetres, which round a shorter
// stretch to nothing, and a reader's parabola divides by the length.
inline constexpr double MinAlignmentLength = 0.001;
// Metres, either way, for every length, height and chainage in the files: a
// reader converting to millimetres keeps each one exact only below 2^53 mm
// (9E12 m). The chainages of the station table share the bound.
inline constexpr double MaxAlignmentMetres = MaxChainage;

// The whole file, or why the calculation cannot be written as one (for the
// user, translated).
using AlignmentFile = Outcome<QByteArray>;

// A fresh UUID for each IFC object that needs a GloballyUniqueId.
using IdSource = std::function<QUuid()>;

// Reads the calculation's length, height at start and gradients, nothing
// else of it; `startChainage` is in metres. Refused (with the reason) where a
// value is not finite, the stretch is shorter than MinAlignmentLength, a
// length, height or chainage lies beyond MaxAlignmentMetres, or the gradients
// differ so little that the curve's radius is beyond the double range.
//
// IFC: a project in metres with one alignment: a horizontal layout of one
// LINE, a vertical layout of one PARABOLICARC (or CONSTANTGRADIENT) segment,
// each closed by the zero-length segment IFC 4.3 asks for, and an IfcReferent
// with Pset_Stationing for the chainage at the start; and the same as the
// alignment's geometric representation, which model viewers draw: a
// 'FootPrint' IfcCompositeCurve of the line on an IfcLine and an 'Axis'
// IfcGradientCurve of the parabola on an IfcPolynomialCurve (or the gradient
// on an IfcLine), each closed by a zero-length IfcCurveSegment. `written` is
// the header's time stamp; every GloballyUniqueId comes from `newId`.
AlignmentFile AlignmentAsIfc(const ProfileState& profile, double startChainage,
                             const QDateTime& written = QDateTime::currentDateTimeUtc(),
                             const IdSource& newId = QUuid::createUuid);

// LandXML 1.2 in metric units: one Alignment starting at `startChainage`, a
// straight Line in plan, and a ProfAlign of the PVI at the start, a ParaCurve
// of the stretch's length at the tangents' intersection, and the PVI at the
// end, each as "station elevation" in metres. `written` gives the date and
// time (UTC) the file is stamped with.
AlignmentFile AlignmentAsLandXml(const ProfileState& profile, double startChainage,
                                 const QDateTime& written = QDateTime::currentDateTimeUtc());

// Whether both files can be written for this calculation and chainage at
// start, or why neither can, as AlignmentAsIfc and AlignmentAsLandXml would
// refuse it: a window greys its commands out with the reason before any dialog.
Done CanWriteAlignment(const ProfileState& profile, double startChainage);

// IFC's GloballyUniqueId: the 128 bits in 22 characters of 0-9, A-Z, a-z, _
// and $, the first holding the top 2 bits.
QByteArray IfcGlobalId(const QUuid& id);

} // namespace pendrio
