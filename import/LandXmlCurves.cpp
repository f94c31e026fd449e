// The vertical curves of a LandXML 1.0-1.2 file. A ProfAlign lists the points
// where its tangents meet, in station order: a PVI where two grades meet with
// no curve, a ParaCurve, UnsymParaCurve or CircCurve where a curve of the
// given length rounds them off. Each is "station elevation", in the units
// the file declares; a curve's gradients are those of the tangents to its
// neighbours, whatever they are.
#include "import/CurveReaders.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

#include <array>
#include <cmath>
#include <optional>

namespace pendrio {

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("pendrio::AlignmentImport", text);
}

// Metres are the file's length times `times`, divided by `by`: each factor a
// whole number where it can be, so that a metre and a foot round once each.
struct LinearUnit {
    const char* name; // LandXML's linearUnit
    double times;
    double by;
};
constexpr std::array<LinearUnit, 6> LinearUnits{{{"meter", 1, 1},
                                                 {"millimeter", 1, 1000},
                                                 {"centimeter", 1, 100},
                                                 {"kilometer", 1000, 1},
                                                 {"foot", 3048, 10000},
                                                 {"USSurveyFoot", 1200, 3937}}};

enum class PointKind { Pvi, Para, Unsym, Circ };

struct ProfilePoint {
    PointKind kind;
    double station, elevation, length;
};

struct Profile {
    QString name;
    QList<ProfilePoint> points;
};

std::optional<PointKind> pointKind(QStringView element) {
    if (element == u"PVI") {
        return PointKind::Pvi;
    }
    if (element == u"ParaCurve") {
        return PointKind::Para;
    }
    if (element == u"UnsymParaCurve") {
        return PointKind::Unsym;
    }
    return element == u"CircCurve" ? std::optional(PointKind::Circ) : std::nullopt;
}

class LandXmlReader {
public:
    explicit LandXmlReader(const QByteArray& bytes) : xml_(bytes) {}

    // The profiles in file units, or why not; the unit in unit().
    Outcome<QList<Profile>> read() {
        if (!xml_.readNextStartElement() || xml_.name() != u"LandXML") {
            return refusal();
        }
        const QString version = xml_.attributes().value("version").toString();
        if (!version.isEmpty() && version != u"1.0" && version != u"1.1" && version != u"1.2") {
            return Outcome<QList<Profile>>::Refused(
                translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                             "The file is LandXML %1; Pendrio reads LandXML 1.0 "
                                             "to 1.2."))
                    .arg(version));
        }
        while (!xml_.atEnd() && !badPoint_) {
            if (xml_.readNext() == QXmlStreamReader::StartElement) {
                startElement();
            }
        }
        return xml_.hasError() || badPoint_ ? refusal() : Outcome(profiles_);
    }
    const QString& unit() const { return unit_; }

private:
    void startElement() {
        const QStringView name = xml_.name();
        const QXmlStreamAttributes a = xml_.attributes();
        if ((name == u"Metric" || name == u"Imperial") && unit_.isEmpty()) {
            unit_ = a.value("linearUnit").toString();
        } else if (name == u"Alignment") {
            alignment_ = a.value("name").toString();
        } else if (name == u"ProfAlign") {
            const QString own = a.value("name").toString();
            profiles_.append({own.isEmpty() || own == alignment_
                                  ? alignment_
                                  : alignment_ + QStringLiteral(" / ") + own,
                              {}});
            inProfAlign_ = true;
        } else if (const auto kind = pointKind(name); kind && inProfAlign_) {
            const double length = a.value("length").toDouble() +
                                  (*kind == PointKind::Unsym ? a.value("lengthIn").toDouble() +
                                                                   a.value("lengthOut").toDouble()
                                                             : 0);
            addPoint(*kind, length, xml_.readElementText());
        } else if (name == u"Profile" || name == u"Alignment") {
            inProfAlign_ = false;
        }
    }

    void addPoint(PointKind kind, double length, const QString& text) {
        const QList<QByteArray> values = text.simplified().toLatin1().split(' ');
        const auto station = FiniteNumber(values.value(0));
        const auto elevation = FiniteNumber(values.value(1));
        if (!xml_.hasError() && (!station || !elevation)) {
            badPoint_ = true;
            return;
        }
        profiles_.last().points.append({kind, station.value_or(0), elevation.value_or(0), length});
    }

    Outcome<QList<Profile>> refusal() const {
        if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
            return Outcome<QList<Profile>>::Refused(translated(QT_TRANSLATE_NOOP(
                "pendrio::AlignmentImport",
                "The LandXML file ends before its end: it is cut off or still being written.")));
        }
        if (xml_.hasError() || badPoint_) {
            return Outcome<QList<Profile>>::Refused(
                translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                             "The LandXML file is garbled in line %1: %2"))
                    .arg(xml_.lineNumber())
                    .arg(badPoint_ ? translated(QT_TRANSLATE_NOOP(
                                         "pendrio::AlignmentImport",
                                         "a point is not a station and an elevation."))
                                   : xml_.errorString()));
        }
        return Outcome<QList<Profile>>::Refused(translated(
            QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                              "The file is neither an IFC file (STEP) nor a LandXML file.")));
    }

    QXmlStreamReader xml_;
    QString unit_;
    QString alignment_;
    bool inProfAlign_ = false;
    bool badPoint_ = false;
    QList<Profile> profiles_;
};

double slope(const ProfilePoint& from, const ProfilePoint& to) {
    return (to.elevation - from.elevation) / (to.station - from.station);
}

QString kindReason(PointKind kind) {
    if (kind == PointKind::Circ) {
        return CircularArcReason();
    }
    return translated(
        QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                          "The curve is an unsymmetric parabola; Pendrio plans symmetric ones."));
}

// The curve at points[i], in file units: it starts half its length before
// its point, on the tangent from the point before.
CurveInFile curveAt(const QList<ProfilePoint>& points, qsizetype i) {
    const ProfilePoint& p = points.at(i);
    CurveInFile curve;
    curve.length = p.length;
    curve.startChainage = p.station - p.length / 2;
    if (i == 0 || i + 1 == points.size()) {
        curve.whyNot = translated(QT_TRANSLATE_NOOP(
            "pendrio::AlignmentImport",
            "The curve is the first or last point of its profile, with no tangent on one side."));
        return curve;
    }
    const ProfilePoint& before = points.at(i - 1);
    curve.startSlope = slope(before, p);
    curve.endSlope = slope(p, points.at(i + 1));
    curve.startHeight =
        before.elevation + curve.startSlope * (curve.startChainage - before.station);
    if (p.kind != PointKind::Para) {
        curve.whyNot = kindReason(p.kind);
    }
    return curve;
}

} // namespace

Outcome<CurvesFound> ReadLandXmlCurves(const QByteArray& bytes) {
    LandXmlReader reader(bytes);
    const Outcome<QList<Profile>> profiles = reader.read();
    if (!profiles) {
        return Outcome<CurvesFound>::Refused(profiles.reason());
    }
    const LinearUnit* unit = nullptr;
    for (const LinearUnit& u : LinearUnits) {
        unit = reader.unit() == QLatin1StringView(u.name) ? &u : unit;
    }
    if (!unit) {
        return Outcome<CurvesFound>::Refused(
            reader.unit().isEmpty()
                ? translated(
                      QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                        "The file does not say in which unit its lengths are."))
                : translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                               "The file's lengths are in %1; Pendrio reads "
                                               "LandXML in metres, feet or US survey feet."))
                      .arg(reader.unit()));
    }
    const auto metres = [unit](double length) { return length * unit->times / unit->by; };
    CurvesFound found;
    for (const Profile& profile : *profiles) {
        for (qsizetype i = 0; i < profile.points.size(); ++i) {
            if (profile.points.at(i).kind == PointKind::Pvi) {
                found.hasGrades = true;
                continue;
            }
            CurveInFile curve = curveAt(profile.points, i);
            curve.alignment = profile.name;
            curve.startChainage = metres(curve.startChainage);
            curve.length = metres(curve.length);
            curve.startHeight = metres(curve.startHeight);
            found.curves.append(curve);
        }
    }
    return found;
}

} // namespace pendrio
