// The two readers behind ReadAlignmentCurves, and what they share. Not for
// the windows: AlignmentImport.h is.
#pragma once

#include "import/AlignmentImport.h"

#include <QByteArrayView>

#include <optional>

namespace pendrio {

// The curves as the file lists them, usable or not, before the checks every
// curve goes through; refused only where the file itself cannot be read.
// `hasGrades` tells whether the profiles hold constant gradients, which are
// no curves, so that a profile of grades alone is refused as such.
struct CurvesFound {
    QList<CurveInFile> curves;
    bool hasGrades = false;
};

Outcome<CurvesFound> ReadIfcCurves(const QByteArray& bytes);
Outcome<CurvesFound> ReadLandXmlCurves(const QByteArray& bytes);

// The reasons both readers give for a curve they cannot take by its type.
QString CircularArcReason();
QString UnknownTypeReason(const QString& type);

// The whole text as one finite number, a '+' allowed; none for anything else.
std::optional<double> FiniteNumber(QByteArrayView text);

} // namespace pendrio
