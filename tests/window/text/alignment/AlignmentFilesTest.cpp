// The alignment files: the LandXML file read back with QXmlStreamReader as
// a civil suite reads it, the calculations no file can hold, IFC's ids and
// numbers. web-ifc reads the IFC file back in run-web-ifc-check.sh.
#include "window/text/AlignmentFiles.h"
#include "AlignmentCases.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

using namespace pendrio;
using namespace pendrio::testing;

namespace {

const QDateTime Written(QDate(2026, 12, 7), QTime(10, 0), Qt::UTC);

IdSource counter() {
    return [n = 0]() mutable { return QUuid(uint(++n), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0); };
}

// Writes with German as Qt's default locale and, where the machine has it,
// the C library's, then goes back to C.
template <typename Write> QByteArray inGerman(Write write) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const QByteArray bytes = write();
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, "C");
    return bytes;
}

// A ProfAlign point: "station elevation", and the curve's length on a ParaCurve.
struct Point {
    QString element;
    double station = 0;
    double elevation = 0;
    double curveLength = 0;
};

struct ReadLandXml {
    QString linearUnit;
    double length = 0;
    double staStart = 0;
    QString lineEnd;
    std::vector<Point> profile;
};

ReadLandXml readLandXml(const QByteArray& bytes) {
    ReadLandXml read;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QXmlStreamAttributes a = xml.attributes();
        const QStringView name = xml.name();
        if (name == u"Metric") {
            read.linearUnit = a.value("linearUnit").toString();
        } else if (name == u"Alignment") {
            read.length = a.value("length").toDouble();
            read.staStart = a.value("staStart").toDouble();
        } else if (name == u"End") {
            read.lineEnd = xml.readElementText();
        } else if (name == u"PVI" || name == u"ParaCurve") {
            const double curveLength = a.value("length").toDouble();
            const QStringList pair = xml.readElementText().split(u' ');
            read.profile.push_back(
                {name.toString(), pair.value(0).toDouble(), pair.value(1).toDouble(), curveLength});
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return read;
}

// The height a civil suite takes from the PVIs at a distance along: the
// tangents through them, and between them the parabola of the curve's length.
double profileHeight(const std::vector<Point>& p, double distance) {
    const double d0 = p.front().station;
    if (p.size() == 2) {
        const double slope = (p[1].elevation - p[0].elevation) / (p[1].station - d0);
        return p[0].elevation + slope * distance;
    }
    const double g1 = (p[1].elevation - p[0].elevation) / (p[1].station - d0);
    const double g2 = (p[2].elevation - p[1].elevation) / (p[2].station - p[1].station);
    return p[0].elevation + g1 * distance +
           (g2 - g1) / (2 * p[1].curveLength) * distance * distance;
}

bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c > 0; });
}

class LandXmlReadBack : public ::testing::TestWithParam<AlignmentCase> {};

} // namespace

TEST_P(LandXmlReadBack, HoldsTheCalculationInMetres) {
    const AlignmentCase& c = GetParam();
    const ProfileState state = Calculated(c);
    ASSERT_NE(state.SectionCount, 0);
    const auto write = [&] { return *AlignmentAsLandXml(state, c.startChainage, Written).Bytes; };
    const QByteArray bytes = c.german ? inGerman(write) : write();
    ASSERT_TRUE(isAscii(bytes));
    const ReadLandXml read = readLandXml(bytes);

    const double length = c.trackLength / UnitsPerMetre;
    const int n = state.SectionCount;
    EXPECT_EQ(read.linearUnit, "meter");
    EXPECT_EQ(read.length, length);
    EXPECT_EQ(read.staStart, c.startChainage);
    const QStringList end = read.lineEnd.split(u' '); // northing easting: running east
    ASSERT_EQ(end.size(), 2);
    EXPECT_EQ(end[0], "0");
    EXPECT_EQ(end[1].toDouble(), length);
    const bool curved = c.startDegrees != c.endDegrees;
    ASSERT_EQ(read.profile.size(), curved ? 3U : 2U);
    EXPECT_EQ(read.profile.front().station, c.startChainage);
    EXPECT_EQ(read.profile.front().elevation, state.SectionHeight.at(1) / UnitsPerMetre);
    EXPECT_EQ(read.profile.back().station, c.startChainage + length);
    EXPECT_EQ(read.profile.back().elevation, EngineHeight(state, n + 1) / UnitsPerMetre);
    if (curved) {
        EXPECT_EQ(read.profile[1].element, "ParaCurve");
        EXPECT_EQ(read.profile[1].curveLength, length);
        EXPECT_EQ(read.profile[1].station, c.startChainage + length / 2);
    }
    for (int i = 1; i <= n + 1; ++i) {
        SCOPED_TRACE("section " + std::to_string(i));
        EXPECT_NEAR(profileHeight(read.profile, length * (i - 1) / n),
                    EngineHeight(state, i) / UnitsPerMetre, 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LandXmlReadBack, ::testing::ValuesIn(AlignmentCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(AlignmentFiles, AGermanLocaleChangesNoByte) {
    const ProfileState crest = Calculated(AlignmentCases[0]);
    const auto ifc = [&] { return *AlignmentAsIfc(crest, 1020.5, Written, counter()).Bytes; };
    const auto landXml = [&] { return *AlignmentAsLandXml(crest, 1020.5, Written).Bytes; };
    EXPECT_EQ(inGerman(ifc), ifc());
    EXPECT_EQ(inGerman(landXml), landXml());
}

// Both files refuse the same calculations, with the same reason.
TEST(AlignmentFiles, RefuseWhatNoFileCanHold) {
    struct Row {
        std::string name;
        std::function<void(ProfileState&)> change;
        double startChainage;
        bool refused;
    };
    const double metre = UnitsPerMetre;
    const std::vector<Row> rows = {
        {"NotANumberHeight", [](ProfileState& s) { s.SectionHeight.at(1) = NAN; }, 0, true},
        {"InfiniteChainage", [](ProfileState&) {}, INFINITY, true},
        {"UnderAMillimetre", [&](ProfileState& s) { s.TrackLength = 0.0009 * metre; }, 0, true},
        {"NegativeLength", [&](ProfileState& s) { s.TrackLength = -800 * metre; }, 0, true},
        {"HeightBeyond", [&](ProfileState& s) { s.SectionHeight.at(1) = 2e12 * metre; }, 0, true},
        {"EndChainageBeyond", [](ProfileState&) {}, MaxAlignmentMetres - 799, true},
        {"EndChainageAtTheBound", [](ProfileState&) {}, MaxAlignmentMetres - 800, false},
        // Up 89.99999999 degrees and down as steeply: the ends are level, and
        // the tangents meet 2E11 m above them.
        {"TangentsMeetBeyond",
         [](ProfileState& s) {
             s.StartGradient = DegreesToRadians(89.99999999);
             s.EndGradient = -s.StartGradient;
         },
         0, true},
        // A slope change of 1E-320: the radius, 800 m / 1E-320, overflows.
        {"RadiusBeyond", [](ProfileState& s) { s.EndGradient = s.StartGradient + 1e-320; }, 0,
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ProfileState state;
        state.TrackLength = 800 * metre;
        row.change(state);
        const AlignmentFile ifc = AlignmentAsIfc(state, row.startChainage, Written, counter());
        const AlignmentFile landXml = AlignmentAsLandXml(state, row.startChainage, Written);
        EXPECT_EQ(!ifc.Bytes, row.refused) << ifc.Refusal.toStdString();
        EXPECT_EQ(!landXml.Bytes, row.refused);
        EXPECT_EQ(ifc.Refusal.isEmpty(), !row.refused);
        EXPECT_EQ(landXml.Refusal, ifc.Refusal);
    }
}

TEST(AlignmentFiles, IfcGlobalIdsAreCompressedUuids) {
    EXPECT_EQ(IfcGlobalId(QUuid()), "0000000000000000000000");
    EXPECT_EQ(IfcGlobalId(QUuid("{ffffffff-ffff-ffff-ffff-ffffffffffff}")),
              "3$$$$$$$$$$$$$$$$$$$$$");
    EXPECT_EQ(IfcGlobalId(QUuid("{0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0}")),
              "0F7YqyIrffU8UMfRJ3qk7m");
}

// Every object's id is new: none twice in a file, none again in the next.
TEST(AlignmentFiles, IfcIdsAreFreshForEachFile) {
    const ProfileState crest = Calculated(AlignmentCases[0]);
    const QRegularExpression globalId(QStringLiteral("=IFC[A-Z]+\\('([0-9A-Za-z_$]{22})'"));
    std::set<QString> seen;
    int objects = 0;
    for (int file = 0; file < 2; ++file) {
        const QString text = QString::fromLatin1(*AlignmentAsIfc(crest, 0).Bytes);
        for (const auto& match : globalId.globalMatch(text)) {
            seen.insert(match.captured(1));
            ++objects;
        }
    }
    EXPECT_GE(objects, 2 * 15);
    EXPECT_EQ(int(seen.size()), objects);
}

TEST(AlignmentFiles, StepRealsHaveAPointAndReadBackExactly) {
    const std::vector<std::pair<double, const char*>> rows = {
        {1, "1."},
        {800, "800."},
        {-0.0, "-0."},
        {0.015, "0.015"},
        {1.5e-300, "1.5E-300"},
        {1e21, "1.E21"},
        {5e-324, "5.E-324"},
        {-2.5e-7, "-2.5E-07"},
        {std::numeric_limits<double>::max(), "1.7976931348623157E308"},
    };
    for (const auto& [value, text] : rows) {
        SCOPED_TRACE(text);
        const QByteArray written = StepReal(value);
        EXPECT_EQ(written, text);
        double back = 0;
        std::from_chars(written.begin(), written.end(), back);
        EXPECT_EQ(std::signbit(back), std::signbit(value));
        EXPECT_EQ(back, value);
    }
}
