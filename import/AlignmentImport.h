// Vertical curves read from the alignment files of design suites, the other
// way from export/AlignmentFiles.h: an IFC 4.3 STEP file or a LandXML 1.0-1.2
// file, told apart by its content, gives every vertical curve it holds, in
// metres and slopes, in file order. A curve Pendrio cannot plan (a circular
// arc, a clothoid, an unsymmetric parabola) is listed with the reason, so
// that the user sees why it cannot be chosen; a file with no curve Pendrio
// can take is refused with the reason. The chosen curve becomes the main
// window's inputs as texts, as if typed (CurveInputs.h).
//
// Pure functions on bytes: no widget, no state, and any bytes give a list or
// a reason, in time and memory bounded by their length.
#pragma once

#include "text/Outcome.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace pendrio {

// Larger than any alignment file; a larger file is refused unread.
inline constexpr qint64 MaxAlignmentFileBytes = 256 * 1024 * 1024;

// One vertical curve found in a file, in metres and slopes (rise over run).
struct CurveInFile {
    QString alignment;        // the alignment's name in the file
    double startChainage = 0; // where the curve starts, the stationing included
    double length = 0;        // along the horizontal
    double startHeight = 0;
    double startSlope = 0;
    double endSlope = 0;
    QString whyNot; // empty if Pendrio can take the curve, else why not (translated)

    bool usable() const { return whyNot.isEmpty(); }
};

// Every curve in an IFC 4.3 STEP file (schemas IFC4X3, IFC4X3_ADD1,
// IFC4X3_ADD2, IFC4X3_RC4, lengths in metres or an SI multiple of them) or a
// LandXML 1.0-1.2 file (metres, feet or US survey feet), in file order, at
// least one of them usable; or the reason (translated, for the user) why the
// file yields none.
//
// IFC: each IfcAlignmentVerticalSegment of type PARABOLICARC nested in an
// IfcAlignment, starting at StartDistAlong plus the chainage its first
// IfcReferent gives in Pset_Stationing. LandXML: each ParaCurve of a
// ProfAlign, its gradients those of the tangents to the points before and
// after it, starting half its length before its point of intersection.
Outcome<QList<CurveInFile>> ReadAlignmentCurves(const QByteArray& bytes);

// As ReadAlignmentCurves, for the file at `path`, or the reason why it cannot
// be read (there is none, no permission, too large).
Outcome<QList<CurveInFile>> ReadAlignmentFile(const QString& path);

} // namespace pendrio
