// The calculation as a LandXML 1.2 file. Stations in the profile are
// chainages (the alignment's staStart plus the distance along), as LandXML
// counts them; points in plan are "northing easting".
#include "export/AlignmentFiles.h"

#include "export/AlignmentNumbers.h"
#include "programinfo/ProgramInfo.h"
#include "text/NumberText.h"

#include <QXmlStreamWriter>

namespace pendrio {

namespace {

constexpr char Namespace[] = "http://www.landxml.org/schema/LandXML-1.2";
constexpr char SchemaNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";
constexpr char SchemaLocation[] = "http://www.landxml.org/schema/LandXML-1.2 "
                                  "http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd";
constexpr char NoPlan[] = "Pendrio plans the vertical curve alone and knows no plan: the line "
                          "in plan is a straight line of the stretch length, running east";

QString number(double value) {
    return QString::fromLatin1(ShortestText(value));
}

QString pair(double first, double second) {
    return number(first) + u' ' + number(second);
}

class LandXmlWriter {
public:
    explicit LandXmlWriter(QByteArray& bytes) : xml_(&bytes) { xml_.setAutoFormatting(true); }

    void start(const char* name, const QList<std::pair<const char*, QString>>& attributes = {}) {
        xml_.writeStartElement(QLatin1StringView(Namespace), QLatin1StringView(name));
        for (const auto& [attribute, value] : attributes) {
            xml_.writeAttribute(QLatin1StringView(attribute), value);
        }
    }
    void end() { xml_.writeEndElement(); }
    void text(const char* name, const QString& value,
              const QList<std::pair<const char*, QString>>& attributes = {}) {
        start(name, attributes);
        xml_.writeCharacters(value);
        end();
    }
    QXmlStreamWriter& xml() { return xml_; }

private:
    QXmlStreamWriter xml_;
};

void writeRoot(LandXmlWriter& w, const QDateTime& written) {
    const QDateTime utc = written.toUTC();
    w.xml().writeStartDocument();
    w.xml().writeDefaultNamespace(QLatin1StringView(Namespace));
    w.xml().writeNamespace(QLatin1StringView(SchemaNamespace), QStringLiteral("xsi"));
    w.start("LandXML", {{"version", QStringLiteral("1.2")},
                        {"date", utc.toString(QStringLiteral("yyyy-MM-dd"))},
                        {"time", utc.toString(QStringLiteral("HH:mm:ss"))}});
    w.xml().writeAttribute(QLatin1StringView(SchemaNamespace), QStringLiteral("schemaLocation"),
                           QLatin1StringView(SchemaLocation));
    w.start("Units");
    w.start("Metric", {{"areaUnit", QStringLiteral("squareMeter")},
                       {"linearUnit", QStringLiteral("meter")},
                       {"volumeUnit", QStringLiteral("cubicMeter")},
                       {"temperatureUnit", QStringLiteral("celsius")},
                       {"pressureUnit", QStringLiteral("milliBars")}});
    w.end();
    w.end();
    w.start("Application", {{"name", QLatin1StringView(ProgramName)},
                            {"version", QLatin1StringView(ProgramVersion)}});
    w.end();
}

// The stretch as a line running east from the origin.
void writePlan(LandXmlWriter& w, const AlignmentNumbers& n) {
    w.start("CoordGeom");
    w.start("Line", {{"staStart", number(n.StartChainage)}, {"length", number(n.Length)}});
    w.text("Start", pair(0, 0));
    w.text("End", pair(0, n.Length));
    w.end();
    w.end();
}

void writeProfile(LandXmlWriter& w, const AlignmentNumbers& n) {
    w.start("Profile",
            {{"name", QStringLiteral("Vertical curve")}, {"staStart", number(n.StartChainage)}});
    w.start("ProfAlign", {{"name", QStringLiteral("Vertical curve")}});
    w.text("PVI", pair(n.StartChainage, n.StartHeight));
    if (n.Radius) {
        // A symmetric parabola: its tangents meet half way along.
        w.text("ParaCurve", pair(n.StartChainage + n.Length / 2, n.IntersectionHeight),
               {{"length", number(n.Length)}});
    }
    w.text("PVI", pair(n.EndChainage, n.EndHeight));
    w.end();
    w.end();
}

} // namespace

AlignmentFile AlignmentAsLandXml(const ProfileState& profile, double startChainage,
                                 const QDateTime& written) {
    const Outcome<AlignmentNumbers> numbers = NumbersForAlignment(profile, startChainage);
    if (!numbers) {
        return AlignmentFile::Refused(numbers.reason());
    }
    const AlignmentNumbers& n = *numbers;
    QByteArray bytes;
    LandXmlWriter w(bytes);
    writeRoot(w, written);
    w.start("Alignments");
    w.start("Alignment", {{"name", QStringLiteral("Vertical curve")},
                          {"length", number(n.Length)},
                          {"staStart", number(n.StartChainage)},
                          {"desc", QLatin1StringView(NoPlan)}});
    writePlan(w, n);
    writeProfile(w, n);
    w.xml().writeEndDocument();
    return bytes;
}

} // namespace pendrio
