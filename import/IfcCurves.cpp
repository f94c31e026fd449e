// The vertical curves of an IFC 4.3 file: its alignments (IfcAlignment), the
// vertical layout nested in each (IfcAlignmentVertical), that layout's
// segments in the order they are nested (IfcAlignmentSegment), and the design
// parameters of each (IfcAlignmentVerticalSegment). The geometric
// representation (IfcGradientCurve) is not read: it says the same again, and
// IFC takes the segments as the alignment's meaning.
#include "import/CurveReaders.h"
#include "import/StepFile.h"

#include "maths/PowersOfTen.h"

#include <QCoreApplication>

#include <array>
#include <cmath>
#include <optional>

namespace pendrio {

namespace {

using Id = std::int64_t;

const QStringList ReadSchemas{"IFC4X3", "IFC4X3_ADD1", "IFC4X3_ADD2", "IFC4X3_RC4"};

// What the alignments are read from; of the properties, only the stationing's.
const QHash<QByteArray, StepWanted> Wanted{
    {"IFCPROJECT", {}},
    {"IFCUNITASSIGNMENT", {}},
    {"IFCSIUNIT", {}},
    {"IFCCONVERSIONBASEDUNIT", {}},
    {"IFCALIGNMENT", {}},
    {"IFCRELNESTS", {}},
    {"IFCALIGNMENTVERTICAL", {}},
    {"IFCALIGNMENTSEGMENT", {}},
    {"IFCALIGNMENTVERTICALSEGMENT", {}},
    {"IFCREFERENT", {}},
    {"IFCRELDEFINESBYPROPERTIES", {}},
    {"IFCPROPERTYSET", {2, QStringLiteral("Pset_Stationing")}},
    {"IFCPROPERTYSINGLEVALUE", {0, QStringLiteral("Station")}},
};

// More parts nested in alignments and their layouts, and property sets of
// their referents, than any file holds; a file with more is refused.
constexpr qsizetype MaxRelated = qsizetype(1) << 20;

// The powers of ten IfcSIUnit's prefixes stand for.
struct Prefix {
    const char* name;
    int exponent;
};
constexpr std::array<Prefix, 16> Prefixes{{{"EXA", 18},
                                           {"PETA", 15},
                                           {"TERA", 12},
                                           {"GIGA", 9},
                                           {"MEGA", 6},
                                           {"KILO", 3},
                                           {"HECTO", 2},
                                           {"DECA", 1},
                                           {"DECI", -1},
                                           {"CENTI", -2},
                                           {"MILLI", -3},
                                           {"MICRO", -6},
                                           {"NANO", -9},
                                           {"PICO", -12},
                                           {"FEMTO", -15},
                                           {"ATTO", -18}}};

QString translated(const char* text) {
    return QCoreApplication::translate("pendrio::AlignmentImport", text);
}

// An entity's attribute values, read when asked for; none where there is no
// entity of the type asked for.
using Entity = std::optional<QList<StepValue>>;

class IfcModel {
public:
    IfcModel(const QByteArray& bytes, StepFile file) : bytes_(bytes), file_(std::move(file)) {
        indexRelations();
    }

    bool is(Id id, const char* type) const {
        const auto found = file_.entities.constFind(id);
        return found != file_.entities.cend() && found->type == type;
    }
    Entity entity(Id id, const char* type) const {
        return is(id, type) ? StepAttributes(bytes_, file_.entities[id]) : std::nullopt;
    }
    static const StepValue* attribute(const Entity& e, int i) {
        return e && i < e->size() ? &e->at(i) : nullptr;
    }
    Entity referenced(const Entity& e, int i, const char* type) const {
        const StepValue* v = attribute(e, i);
        return v && v->kind == StepValue::Kind::Reference ? entity(v->reference, type)
                                                          : std::nullopt;
    }
    static QString text(const Entity& e, int i) {
        const StepValue* v = attribute(e, i);
        return v && (v->kind == StepValue::Kind::Text || v->kind == StepValue::Kind::Enumeration)
                   ? v->text
                   : QString();
    }
    // A number, bare or typed (IFCLENGTHMEASURE(1.)); NaN where there is none.
    static double number(const Entity& e, int i) {
        const StepValue* v = attribute(e, i);
        if (v && v->kind == StepValue::Kind::Typed && v->items.size() == 1) {
            v = &v->items.first();
        }
        return v && v->kind == StepValue::Kind::Number ? v->number : NAN;
    }
    QList<Id> nested(Id whole) const { return nests_.value(whole); }
    QList<Id> propertySets(Id object) const { return propertySets_.value(object); }
    QList<Id> ofType(const char* type) const {
        QList<Id> ids;
        for (Id id : file_.order) {
            if (is(id, type)) {
                ids.append(id);
            }
        }
        return ids;
    }
    bool complete() const { return related_ <= MaxRelated; }

private:
    // What the alignments and their vertical layouts nest, in file order,
    // and the property sets of referents: of all the file's relations, only
    // those the curves are read from are kept.
    void indexRelations() {
        for (Id id : file_.order) {
            const bool nests = is(id, "IFCRELNESTS");
            if (!nests && !is(id, "IFCRELDEFINESBYPROPERTIES")) {
                continue;
            }
            const Entity relation = StepAttributes(bytes_, file_.entities[id]);
            const StepValue* one = attribute(relation, nests ? 4 : 5);
            const StepValue* many = attribute(relation, nests ? 5 : 4);
            if (!one || !many || one->kind != StepValue::Kind::Reference) {
                continue;
            }
            const bool kept =
                is(one->reference, "IFCALIGNMENT") || is(one->reference, "IFCALIGNMENTVERTICAL");
            for (const StepValue& other : many->items) {
                if (nests && kept) {
                    nests_[one->reference].append(other.reference);
                } else if (!nests && is(other.reference, "IFCREFERENT")) {
                    propertySets_[other.reference].append(one->reference);
                } else {
                    continue;
                }
                if (++related_ > MaxRelated) {
                    return;
                }
            }
        }
    }

    const QByteArray& bytes_;
    StepFile file_;
    QHash<Id, QList<Id>> nests_;
    QHash<Id, QList<Id>> propertySets_;
    qsizetype related_ = 0;
};

// Lengths in the file times 10^exponent are metres.
Outcome<int> metreExponent(const IfcModel& model) {
    const QList<Id> projects = model.ofType("IFCPROJECT");
    const Entity project = projects.isEmpty() ? Entity() : model.entity(projects[0], "IFCPROJECT");
    const Entity units = model.referenced(project, 8, "IFCUNITASSIGNMENT");
    const StepValue* list = model.attribute(units, 0);
    for (const StepValue& unit : list ? list->items : QList<StepValue>()) {
        const Entity si = model.entity(unit.reference, "IFCSIUNIT");
        const Entity converted = model.entity(unit.reference, "IFCCONVERSIONBASEDUNIT");
        const Entity& named = si ? si : converted;
        if (model.text(named, 1) != u"LENGTHUNIT") {
            continue;
        }
        const QString name = model.text(named, si ? 3 : 2);
        const QString prefix = model.text(si, 2);
        if (si && name == u"METRE" && prefix.isEmpty()) {
            return 0;
        }
        for (const Prefix& p : Prefixes) {
            if (si && name == u"METRE" && prefix == QLatin1StringView(p.name)) {
                return p.exponent;
            }
        }
        return Outcome<int>::Refused(
            translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                         "The file's lengths are in %1; Pendrio reads IFC files "
                                         "in metres or a decimal multiple of the metre."))
                .arg((prefix + u' ' + name).trimmed().toLower()));
    }
    return Outcome<int>::Refused(translated(QT_TRANSLATE_NOOP(
        "pendrio::AlignmentImport", "The file does not say in which unit its lengths are.")));
}

double inMetres(double length, int exponent) {
    // Dividing by an exact power of ten rounds once; multiplying by 0.001 twice.
    return exponent >= 0 ? length * PowerOfTen(exponent) : length / PowerOfTen(-exponent);
}

// IFC 4.3's stationing as Pendrio writes it: the first referent nested in the
// alignment stands at its start, and its Pset_Stationing's Station is the
// chainage there. Zero where the alignment has none.
double startStation(const IfcModel& model, Id alignment) {
    for (Id referent : model.nested(alignment)) {
        if (!model.is(referent, "IFCREFERENT")) {
            continue;
        }
        for (Id set : model.propertySets(referent)) {
            const Entity pset = model.entity(set, "IFCPROPERTYSET");
            if (model.text(pset, 2) != u"Pset_Stationing") {
                continue;
            }
            const StepValue* properties = model.attribute(pset, 4);
            for (const StepValue& p : properties ? properties->items : QList<StepValue>()) {
                const Entity single = model.entity(p.reference, "IFCPROPERTYSINGLEVALUE");
                if (model.text(single, 0) == u"Station") {
                    return model.number(single, 2);
                }
            }
        }
        return 0;
    }
    return 0;
}

QString typeReason(const QString& type) {
    if (type == u"CIRCULARARC") {
        return CircularArcReason();
    }
    if (type == u"CLOTHOID") {
        return translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                            "The curve is a clothoid; Pendrio plans parabolas."));
    }
    return UnknownTypeReason(type);
}

void addProfile(const IfcModel& model, Id vertical, CurveInFile shared, int exponent,
                CurvesFound& found) {
    const double station = shared.startChainage;
    for (Id segment : model.nested(vertical)) {
        const Entity s = model.entity(segment, "IFCALIGNMENTSEGMENT");
        const Entity p = model.referenced(s, 7, "IFCALIGNMENTVERTICALSEGMENT");
        const QString type = model.text(p, 8);
        if (!p) {
            continue;
        }
        if (type == u"CONSTANTGRADIENT") {
            found.hasGrades = true;
            continue;
        }
        CurveInFile curve = shared;
        curve.startChainage = station + inMetres(model.number(p, 2), exponent);
        curve.length = inMetres(model.number(p, 3), exponent);
        curve.startHeight = inMetres(model.number(p, 4), exponent);
        curve.startSlope = model.number(p, 5);
        curve.endSlope = model.number(p, 6);
        curve.whyNot = type == u"PARABOLICARC" ? QString() : typeReason(type);
        found.curves.append(curve);
    }
}

} // namespace

Outcome<CurvesFound> ReadIfcCurves(const QByteArray& bytes) {
    const Outcome<StepFile> file = ReadStepFile(bytes, Wanted);
    if (!file) {
        return Outcome<CurvesFound>::Refused(file.reason());
    }
    const QString schema = file->schemas.value(0).toUpper();
    if (!ReadSchemas.contains(schema)) {
        return Outcome<CurvesFound>::Refused(
            translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                         "The file's schema is \"%1\"; Pendrio reads IFC 4.3 "
                                         "(IFC4X3, IFC4X3_ADD1, IFC4X3_ADD2 and IFC4X3_RC4)."))
                .arg(file->schemas.value(0)));
    }
    const IfcModel model(bytes, *file);
    if (!model.complete()) {
        return Outcome<CurvesFound>::Refused(
            translated(QT_TRANSLATE_NOOP("pendrio::AlignmentImport",
                                         "The IFC file's alignments nest more than %1 parts, "
                                         "more than Pendrio reads."))
                .arg(MaxRelated));
    }
    const Outcome<int> exponent = metreExponent(model);
    if (!exponent) {
        return Outcome<CurvesFound>::Refused(exponent.reason());
    }
    CurvesFound found;
    for (Id alignment : model.ofType("IFCALIGNMENT")) {
        CurveInFile shared;
        shared.alignment = model.text(model.entity(alignment, "IFCALIGNMENT"), 2);
        if (shared.alignment.isEmpty()) {
            shared.alignment = u'#' + QString::number(alignment);
        }
        shared.startChainage = inMetres(startStation(model, alignment), *exponent);
        for (Id layout : model.nested(alignment)) {
            if (model.is(layout, "IFCALIGNMENTVERTICAL")) {
                addProfile(model, layout, shared, *exponent, found);
            }
        }
    }
    return found;
}

} // namespace pendrio
