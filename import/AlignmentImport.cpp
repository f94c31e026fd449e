#include "import/AlignmentImport.h"
#include "import/CurveReaders.h"

#include "profile/Stations.h"
#include "text/NumberText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cctype>
#include <charconv>
#include <cmath>

namespace pendrio {

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("pendrio::AlignmentImport", text);
}

// Why the numbers of a curve Pendrio could take by its type cannot be
// entered: none where they can. Its lengths and chainages are held to the
// bound of Pendrio's own files and station table, MaxChainage.
QString numbersReason(const CurveInFile& c) {
    for (double metres : {c.startChainage, c.length, c.startHeight}) {
        if (!(std::abs(metres) <= MaxChainage)) {
            return translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                                "The curve holds a number that is missing, not "
                                                "finite or beyond ±%1 m."))
                .arg(NumberToText(MaxChainage));
        }
    }
    if (!std::isfinite(c.startSlope) || !std::isfinite(c.endSlope)) {
        return translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                            "The curve's gradients are missing or not finite."));
    }
    if (c.length == 0) {
        return translated(
            QT_TRANSLATE_NOOP("pendrio::AlignmentImport", "The curve has a length of zero."));
    }
    if (c.length < 0) {
        return translated(
            QT_TRANSLATE_NOOP("pendrio::AlignmentImport", "The curve has a negative length."));
    }
    return QString();
}

Outcome<QList<CurveInFile>> finished(const Outcome<CurvesFound>& found) {
    if (!found) {
        return Outcome<QList<CurveInFile>>::Refused(found.reason());
    }
    QList<CurveInFile> curves = found->curves;
    bool anyUsable = false;
    for (CurveInFile& curve : curves) {
        if (curve.usable()) {
            curve.whyNot = numbersReason(curve);
        }
        anyUsable = anyUsable || curve.usable();
    }
    if (anyUsable) {
        return curves;
    }
    if (curves.isEmpty()) {
        return Outcome<QList<CurveInFile>>::Refused(
            found->hasGrades
                ? translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                               "The file holds no vertical curve: "
                                               "its profile has grades only."))
                : translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                               "The file holds no vertical profile.")));
    }
    return Outcome<QList<CurveInFile>>::Refused(
        translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                     "The file holds no curve Pendrio can take. %1"))
            .arg(curves.first().whyNot));
}

} // namespace

QString CircularArcReason() {
    return translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                        "The curve is a circular arc; Pendrio plans parabolas."));
}

QString UnknownTypeReason(const QString& type) {
    return translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                        "The curve is of the type %1, which Pendrio does not "
                                        "plan."))
        .arg(type);
}

std::optional<double> FiniteNumber(QByteArrayView text) {
    if (text.startsWith('+')) {
        text = text.sliced(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
    if (text.isEmpty() || error != std::errc() || end != text.end() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

Outcome<QList<CurveInFile>> ReadAlignmentCurves(const QByteArray& bytes) {
    // Told apart by the first thing in the file, after a byte order mark and blanks.
    qsizetype first = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (first < bytes.size() && std::isspace(static_cast<unsigned char>(bytes.at(first)))) {
        ++first;
    }
    if (first == bytes.size()) {
        return Outcome<QList<CurveInFile>>::Refused(
            translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport", "The file is empty.")));
    }
    const QByteArray text = first == 0 ? bytes : bytes.mid(first);
    if (text.startsWith("ISO-10303-21")) {
        return finished(ReadIfcCurves(text));
    }
    if (text.startsWith('<') || text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF")) {
        return finished(ReadLandXmlCurves(text));
    }
    return Outcome<QList<CurveInFile>>::Refused(translated(QT_TRANSLATE_NOOP(
        "pendrio::AlignmentImport", "The file is neither an IFC file (STEP) nor a LandXML file.")));
}

Outcome<QList<CurveInFile>> ReadAlignmentFile(const QString& path) {
    using Refused = Outcome<QList<CurveInFile>>;
    QFile file(path);
    if (!file.exists()) {
        return Refused::Refused(
            translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport", "There is no file \"%1\"."))
                .arg(path));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return Refused::Refused(
            translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport", "\"%1\" cannot be read: %2"))
                .arg(path, file.errorString()));
    }
    if (file.size() > MaxAlignmentFileBytes) {
        return Refused::Refused(translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                                             "\"%1\" is larger than %2 MB, too "
                                                             "large for an alignment file."))
                                    .arg(path)
                                    .arg(MaxAlignmentFileBytes / (1024 * 1024)));
    }
    const QByteArray bytes = file.read(MaxAlignmentFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return Refused::Refused(
            translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport", "\"%1\" cannot be read: %2"))
                .arg(path, file.errorString()));
    }
    return ReadAlignmentCurves(bytes);
}

} // namespace pendrio
