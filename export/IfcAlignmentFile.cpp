// The calculation as an IFC 4.3 STEP file (ISO 10303-21): the alignment's
// business logic (layouts, segments and their design parameters), which a
// design suite edits, and its geometric representation as IFC 4.3's concept
// "Alignment Geometry - Horizontal and Vertical" gives it, which a model
// viewer draws: a 'FootPrint' IfcCompositeCurve of IfcCurveSegments in plan
// and an 'Axis' IfcGradientCurve over it. Both are written from the same
// numbers, so that they cannot disagree.
#include "export/AlignmentFiles.h"

#include "export/AlignmentNumbers.h"
#include "programinfo/ProgramInfo.h"
#include "text/ChainageText.h"
#include "text/NumberText.h"

#include <QByteArrayList>

#include <cmath>
#include <cstdint>

namespace pendrio {

namespace {

// What the file says of itself, for whoever opens it in a design suite.
constexpr char NoPlan[] = "Pendrio plans the vertical curve alone and knows no plan: the "
                          "horizontal alignment is a straight line of the stretch length "
                          "from the origin along the x axis";
constexpr char WhatItHolds[] = "One vertical curve, a parabolic arc, or one constant gradient "
                               "where the gradients are equal";

// A real as STEP writes it: digits, a point, digits and an optional
// exponent, "1." for 1, "1.5E-300" for 1.5e-300; the shortest such text
// that reads back to the same double.
QByteArray StepReal(double value) {
    QByteArray text = ShortestText(value);
    const qsizetype exponent = text.indexOf('e');
    const qsizetype mantissaEnd = exponent < 0 ? text.size() : exponent;
    if (!text.left(mantissaEnd).contains('.')) {
        text.insert(mantissaEnd, '.');
    }
    return text.replace('e', 'E').replace("E+", "E");
}

QByteArray quoted(const QByteArray& text) {
    // STEP doubles an apostrophe and a backslash inside a string.
    return '\'' + QByteArray(text).replace('\\', "\\\\").replace('\'', "''") + '\'';
}

QByteArray listOf(const QByteArrayList& items) {
    return '(' + items.join(',') + ')';
}

// The DATA section, one entity at a time; add() numbers the entity and
// returns the reference to it.
class StepData {
public:
    explicit StepData(const IdSource& newId) : newId_(newId) {}

    QByteArray add(const char* type, const QByteArrayList& attributes) {
        const QByteArray reference = '#' + QByteArray::number(++count_);
        text_ += reference + '=' + type + listOf(attributes) + ";\n";
        return reference;
    }
    QByteArray globalId() { return quoted(IfcGlobalId(newId_())); }
    const QByteArray& text() const { return text_; }

private:
    const IdSource& newId_;
    int count_ = 0;
    QByteArray text_;
};

// The attributes every IfcRoot begins with: a fresh GlobalId, no owner
// history (optional since IFC 4), and a name and a description where given.
QByteArrayList rooted(StepData& data, const QByteArray& name, const QByteArray& description) {
    return {data.globalId(), "$", name.isEmpty() ? "$" : quoted(name),
            description.isEmpty() ? "$" : quoted(description)};
}

// The project in metres, and the placement at its origin that the alignment
// takes: the alignment's coordinates are the project's.
struct Project {
    QByteArray project;
    QByteArray origin;
    QByteArray context; // the model's geometric representation context
};

Project addProject(StepData& data) {
    const QByteArray metre = data.add("IFCSIUNIT", {"*", ".LENGTHUNIT.", "$", ".METRE."});
    const QByteArray radian = data.add("IFCSIUNIT", {"*", ".PLANEANGLEUNIT.", "$", ".RADIAN."});
    const QByteArray units = data.add("IFCUNITASSIGNMENT", {listOf({metre, radian})});
    const QByteArray point = data.add("IFCCARTESIANPOINT", {listOf({"0.", "0.", "0."})});
    const QByteArray world = data.add("IFCAXIS2PLACEMENT3D", {point, "$", "$"});
    const QByteArray context = data.add("IFCGEOMETRICREPRESENTATIONCONTEXT",
                                        {"$", quoted("Model"), "3", StepReal(1e-5), world, "$"});
    const QByteArray project =
        data.add("IFCPROJECT", rooted(data, "Vertical curve", "") +
                                   QByteArrayList{"$", "$", "$", listOf({context}), units});
    return {project, data.add("IFCLOCALPLACEMENT", {"$", world}), context};
}

void nest(StepData& data, const QByteArray& whole, const QByteArrayList& parts) {
    data.add("IFCRELNESTS", rooted(data, "", "") + QByteArrayList{whole, listOf(parts)});
}

QByteArray segmentOf(StepData& data, const QByteArray& designParameters) {
    return data.add("IFCALIGNMENTSEGMENT",
                    rooted(data, "", "") + QByteArrayList{"$", "$", "$", designParameters});
}

// A straight line in plan along the x axis, starting `from` metres along it.
QByteArray lineSegment(StepData& data, double from, double length) {
    const QByteArray start = data.add("IFCCARTESIANPOINT", {listOf({StepReal(from), "0."})});
    return segmentOf(
        data, data.add("IFCALIGNMENTHORIZONTALSEGMENT",
                       {"$", "$", start, "0.", "0.", "0.", StepReal(length), "$", ".LINE."}));
}

QByteArray verticalSegment(StepData& data, double distanceAlong, double length, double height,
                           double startSlope, double endSlope, std::optional<double> radius) {
    return segmentOf(
        data, data.add("IFCALIGNMENTVERTICALSEGMENT",
                       {"$", "$", StepReal(distanceAlong), StepReal(length), StepReal(height),
                        StepReal(startSlope), StepReal(endSlope), radius ? StepReal(*radius) : "$",
                        radius ? ".PARABOLICARC." : ".CONSTANTGRADIENT."}));
}

// IFC 4.3's stationing: the first referent nested in an alignment is its
// start, and its Pset_Stationing gives the chainage there.
void addStationing(StepData& data, const QByteArray& alignment, double startChainage) {
    const QByteArray name = ChainageText(startChainage, QLocale::c()).toLatin1();
    const QByteArray referent =
        data.add("IFCREFERENT", rooted(data, name, "Chainage at the start of the stretch") +
                                    QByteArrayList{"$", "$", "$", ".STATION."});
    nest(data, alignment, {referent});
    const QByteArray station = data.add(
        "IFCPROPERTYSINGLEVALUE",
        {quoted("Station"), "$", "IFCLENGTHMEASURE(" + StepReal(startChainage) + ')', "$"});
    const QByteArray stationing = data.add("IFCPROPERTYSET", rooted(data, "Pset_Stationing", "") +
                                                                 QByteArrayList{listOf({station})});
    data.add("IFCRELDEFINESBYPROPERTIES",
             rooted(data, "", "") + QByteArrayList{listOf({referent}), stationing});
}

// The geometric representation. Each IfcCurveSegment cuts a piece from the
// start of a parent curve and places it: the parent's point and tangent at
// the cut move to the placement's location and direction. Every parent
// starts at the origin; the straight ones lie along the x axis, which is
// then turned to the segment's heading.
class Geometry {
public:
    explicit Geometry(StepData& data)
        : data_(data), origin_(data.add("IFCCARTESIANPOINT", {listOf({"0.", "0."})})),
          xAxis_(data.add("IFCLINE", {origin_, data.add("IFCVECTOR", {direction(1, 0), "1."})})) {}

    // (dx, dy) of unit length along a gradient, as IFC gives a vertical heading.
    QByteArray heading(double slope) {
        const double length = std::hypot(1.0, slope);
        return direction(1 / length, slope / length);
    }
    QByteArray direction(double x, double y) {
        return data_.add("IFCDIRECTION", {listOf({StepReal(x), StepReal(y)})});
    }
    // `length` along `parent` from its start, placed at (x, y) heading `to`.
    QByteArray segment(const char* transition, double x, double y, const QByteArray& to,
                       double length, const QByteArray& parent) {
        const QByteArray at = data_.add("IFCCARTESIANPOINT", {listOf({StepReal(x), StepReal(y)})});
        return data_.add("IFCCURVESEGMENT", {transition, data_.add("IFCAXIS2PLACEMENT2D", {at, to}),
                                             "IFCLENGTHMEASURE(0.)",
                                             "IFCLENGTHMEASURE(" + StepReal(length) + ')', parent});
    }
    // IFC's parabola for a vertical PARABOLICARC: height = C + B x + A x^2 at
    // x along the horizontal, C the start height, B the start slope and A
    // (end slope - start slope) / (2 length).
    QByteArray parabola(const AlignmentNumbers& n) {
        const double a = (n.EndSlope - n.StartSlope) / (2 * n.Length);
        return data_.add(
            "IFCPOLYNOMIALCURVE",
            {data_.add("IFCAXIS2PLACEMENT2D", {origin_, direction(1, 0)}), listOf({"0.", "1."}),
             listOf({StepReal(n.StartHeight), StepReal(n.StartSlope), StepReal(a)}), "$"});
    }
    const QByteArray& xAxis() const { return xAxis_; }

private:
    StepData& data_;
    QByteArray origin_;
    QByteArray xAxis_;
};

// The mean of sqrt(1 + t^2) over t from a to b: the length along a parabola
// whose slope runs from a to b, per unit of horizontal length. Written so
// that nothing cancels: for slopes of one sign the differences of
// t sqrt(1 + t^2) and of asinh t are taken apart by hand.
double meanSecant(double a, double b) {
    const double fa = std::hypot(1.0, a);
    const double fb = std::hypot(1.0, b);
    if (a == b) {
        return fa;
    }
    if ((a < 0) != (b < 0) && a != 0 && b != 0) {
        return (b * fb - a * fa + (std::asinh(b) - std::asinh(a))) / (2 * (b - a));
    }
    const double product = (b + a) * (1 + a * a + b * b) / (b * fb + a * fa);
    const double area = std::asinh((b - a) * (b + a) / (b * fa + a * fb)) / (b - a);
    return (product + area) / 2;
}

// The plan: the line, then its zero-length closing segment. Each entity is
// added in a statement of its own, so that the file's numbering does not
// depend on the order a compiler evaluates arguments in.
QByteArray footPrint(Geometry& g, const AlignmentNumbers& n) {
    const QByteArray east = g.direction(1, 0);
    const QByteArray line =
        g.segment(".CONTSAMEGRADIENTSAMECURVATURE.", 0, 0, east, n.Length, g.xAxis());
    return line + ',' + g.segment(".DISCONTINUOUS.", n.Length, 0, east, 0, g.xAxis());
}

// The profile over the plan's distance along it: the parabola (or the
// constant gradient), then the zero-length closing segment on the end slope.
QByteArray profile(Geometry& g, const AlignmentNumbers& n) {
    const QByteArray parent = n.Radius ? g.parabola(n) : g.xAxis();
    const QByteArray start = g.heading(n.StartSlope);
    const QByteArray curve =
        n.Radius ? g.segment(".CONTSAMEGRADIENT.", 0, n.StartHeight, start,
                             n.Length * meanSecant(n.StartSlope, n.EndSlope), parent)
                 : g.segment(".CONTSAMEGRADIENTSAMECURVATURE.", 0, n.StartHeight, start,
                             n.Length * std::hypot(1.0, n.StartSlope), parent);
    const QByteArray end = g.heading(n.EndSlope);
    return curve + ',' + g.segment(".DISCONTINUOUS.", n.Length, n.EndHeight, end, 0, g.xAxis());
}

QByteArray representation(StepData& data, const QByteArray& context, const char* identifier,
                          const char* type, const QByteArray& item) {
    const QByteArray subContext = data.add("IFCGEOMETRICREPRESENTATIONSUBCONTEXT",
                                           {quoted(identifier), quoted("Model"), "*", "*", "*", "*",
                                            context, "$", ".MODEL_VIEW.", "$"});
    return data.add("IFCSHAPEREPRESENTATION",
                    {subContext, quoted(identifier), quoted(type), listOf({item})});
}

QByteArray alignmentShape(StepData& data, const QByteArray& context, const AlignmentNumbers& n) {
    Geometry g(data);
    const QByteArray plan = data.add("IFCCOMPOSITECURVE", {'(' + footPrint(g, n) + ')', ".F."});
    const QByteArray axis =
        data.add("IFCGRADIENTCURVE", {'(' + profile(g, n) + ')', ".F.", plan, "$"});
    return data.add("IFCPRODUCTDEFINITIONSHAPE",
                    {"$", "$",
                     listOf({representation(data, context, "FootPrint", "Curve2D", plan),
                             representation(data, context, "Axis", "Curve3D", axis)})});
}

QByteArray dataSection(const AlignmentNumbers& n, const IdSource& newId) {
    StepData data(newId);
    const Project project = addProject(data);
    const QByteArray shape = alignmentShape(data, project.context, n);
    const QByteArray alignment =
        data.add("IFCALIGNMENT", rooted(data, "Vertical curve", NoPlan) +
                                     QByteArrayList{"$", project.origin, shape, "$"});
    data.add("IFCRELAGGREGATES",
             rooted(data, "", "") + QByteArrayList{project.project, listOf({alignment})});
    const QByteArray horizontal =
        data.add("IFCALIGNMENTHORIZONTAL",
                 rooted(data, "Straight line", NoPlan) + QByteArrayList{"$", "$", "$"});
    const QByteArray vertical =
        data.add("IFCALIGNMENTVERTICAL",
                 rooted(data, "Vertical curve", WhatItHolds) + QByteArrayList{"$", "$", "$"});
    nest(data, alignment, {horizontal, vertical});
    // IFC 4.3 ends each layout with a segment of length zero, where a next one would start.
    nest(data, horizontal, {lineSegment(data, 0, n.Length), lineSegment(data, n.Length, 0)});
    nest(data, vertical,
         {verticalSegment(data, 0, n.Length, n.StartHeight, n.StartSlope, n.EndSlope, n.Radius),
          verticalSegment(data, n.Length, 0, n.EndHeight, n.EndSlope, n.EndSlope, std::nullopt)});
    addStationing(data, alignment, n.StartChainage);
    return "DATA;\n" + data.text() + "ENDSEC;\n";
}

QByteArray header(const QDateTime& written) {
    const QByteArray program = QByteArray(ProgramName) + ' ' + ProgramVersion;
    const QByteArray stamp = written.toUTC().toString(Qt::ISODate).toLatin1();
    return "HEADER;\nFILE_DESCRIPTION(" + listOf({quoted(WhatItHolds), quoted(NoPlan)}) +
           ",'2;1');\nFILE_NAME('','" + stamp + "',(''),(''),'" + program + "','" + program +
           "','');\nFILE_SCHEMA(('IFC4X3_ADD2'));\nENDSEC;\n";
}

} // namespace

AlignmentFile AlignmentAsIfc(const ProfileState& profile, double startChainage,
                             const QDateTime& written, const IdSource& newId) {
    const Outcome<AlignmentNumbers> numbers = NumbersForAlignment(profile, startChainage);
    if (!numbers) {
        return AlignmentFile::Refused(numbers.reason());
    }
    return QByteArray("ISO-10303-21;\n" + header(written) + dataSection(*numbers, newId) +
                      "END-ISO-10303-21;\n");
}

QByteArray IfcGlobalId(const QUuid& id) {
    static constexpr char digits[] =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
    const QByteArray bytes = id.toRfc4122();
    const auto byte = [&](int i) { return std::uint32_t(std::uint8_t(bytes.at(i))); };
    // The first byte in 2 characters, then 5 groups of 3 bytes in 4 each.
    QByteArray text;
    text += digits[byte(0) >> 6];
    text += digits[byte(0) & 63];
    for (int group = 0; group < 5; ++group) {
        const int first = 1 + 3 * group;
        const std::uint32_t bits = byte(first) << 16 | byte(first + 1) << 8 | byte(first + 2);
        for (int shift = 18; shift >= 0; shift -= 6) {
            text += digits[(bits >> shift) & 63];
        }
    }
    return text;
}

} // namespace pendrio
