// The LandXML file read back with QXmlStreamReader as a civil suite reads it,
// the calculations no file can hold, the locale, IFC's ids. web-ifc reads the
// IFC file back in run-web-ifc-check.sh.
#include "export/AlignmentFiles.h"
#include "AlignmentCases.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace pendrio;
using namespace pendrio::testing;

namespace {

const QDateTime Written(QDate(2026, 12, 7), QTime(10, 0), Qt::UTC);

struct LandXml {
    QString unit;
    double length = 0, staStart = 0, lineEast = 0;
    std::vector<std::array<double, 3>> pvis; // station, elevation, curve length
};

LandXml read(const QByteArray& bytes) {
    LandXml r;
    QXmlStreamReader xml(bytes);
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        const QXmlStreamAttributes a = xml.attributes();
        if (!xml.isStartElement()) {
            continue;
        } else if (xml.name() == u"Metric") {
            r.unit = a.value("linearUnit").toString();
        } else if (xml.name() == u"Alignment") {
            r.length = a.value("length").toDouble();
            r.staStart = a.value("staStart").toDouble();
        } else if (xml.name() == u"End") {
            r.lineEast = xml.readElementText().section(u' ', 1).toDouble(); // northing easting
        } else if (xml.name() == u"PVI" || xml.name() == u"ParaCurve") {
            const QString pair = xml.readElementText();
            r.pvis.push_back({pair.section(u' ', 0, 0).toDouble(),
                              pair.section(u' ', 1, 1).toDouble(), a.value("length").toDouble()});
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return r;
}

// A civil suite's profile: the tangents through the PVIs, and between them
// the parabola of the ParaCurve's length.
double heightAt(const std::vector<std::array<double, 3>>& p, double distance) {
    const auto slope = [&](std::size_t i) {
        return (p[i + 1][1] - p[i][1]) / (p[i + 1][0] - p[i][0]);
    };
    if (p.size() == 2) {
        return p[0][1] + slope(0) * distance;
    }
    return p[0][1] + slope(0) * distance +
           (slope(1) - slope(0)) / (2 * p[1][2]) * distance * distance;
}

template <typename Write> QByteArray inGerman(Write write) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8"); // where the machine has it
    const QByteArray bytes = write();
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, "C");
    return bytes;
}

IdSource counter() {
    return [n = 0u]() mutable { return QUuid(++n, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0); };
}

class LandXmlReadBack : public ::testing::TestWithParam<AlignmentCase> {};

} // namespace

TEST_P(LandXmlReadBack, HoldsTheCalculationInMetres) {
    const AlignmentCase& c = GetParam();
    const ProfileState state = Calculated(c);
    const int n = state.SectionCount;
    ASSERT_NE(n, 0);
    const QByteArray bytes = *AlignmentAsLandXml(state, c.startChainage, Written); 
    ASSERT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char b) { return b > 0; }));
    const LandXml r = read(bytes);
    const double length = c.trackLength / UnitsPerMetre;
    EXPECT_EQ(r.unit, "meter");
    EXPECT_EQ(r.length, length);
    EXPECT_EQ(r.lineEast, length);
    EXPECT_EQ(r.staStart, c.startChainage);
    ASSERT_EQ(r.pvis.size(), c.startDegrees == c.endDegrees ? 2U : 3U);
    EXPECT_EQ(r.pvis.front()[0], c.startChainage);
    EXPECT_EQ(r.pvis.back()[0], c.startChainage + length);
    EXPECT_EQ(r.pvis.back()[1], EngineMetres(state, n + 1));
    if (r.pvis.size() == 3) {
        EXPECT_EQ(r.pvis[1][0], c.startChainage + length / 2);
        EXPECT_EQ(r.pvis[1][2], length);
    }
    for (int i = 1; i <= n + 1; ++i) {
        EXPECT_NEAR(heightAt(r.pvis, length * (i - 1) / n), EngineMetres(state, i), 1e-6)
            << "section " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LandXmlReadBack, ::testing::ValuesIn(AlignmentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AlignmentFiles, AGermanLocaleChangesNoByte) {
    const ProfileState crest = Calculated(AlignmentCases[0]);
    const auto ifc = [&] { return *AlignmentAsIfc(crest, 1020.5, Written, counter());  };
    const auto landXml = [&] { return *AlignmentAsLandXml(crest, 1020.5, Written);  };
    EXPECT_EQ(inGerman(ifc), ifc());
    EXPECT_EQ(inGerman(landXml), landXml());
}

// Both files refuse the same calculations, with the same reason.
TEST(AlignmentFiles, RefuseWhatNoFileCanHold) {
    struct Row {
        const char* name;
        double metres, heightMetres, startRadians, endRadians, startChainage;
        bool refused;
    };
    const double steep = DegreesToRadians(89.99999999);
    const Row rows[] = {
        {"NotANumber", 800, NAN, 0, 0, 0, true},
        {"InfiniteChainage", 800, 0, 0, 0, INFINITY, true},
        {"UnderAMillimetre", 0.0009, 0, 0, 0, 0, true},
        {"HeightBeyond", 800, 1.1e12, 0, 0, 0, true},
        {"EndBeyond", 800, 0, 0, 0, MaxAlignmentMetres - 799, true},
        {"EndAtTheBound", 800, 0, 0, 0, MaxAlignmentMetres - 800, false},
        {"TangentsMeetBeyond", 800, 0, steep, -steep, 0, true}, // 2.3E12 m above level ends
        {"RadiusBeyond", 800, 0, 0, 1e-320, 0, true},           // 800 m / 1E-320 overflows
    };
    for (const Row& row : rows) {
        ProfileState state;
        state.TrackLength = row.metres * UnitsPerMetre;
        state.SectionHeight.at(1) = row.heightMetres * UnitsPerMetre;
        state.StartGradient = row.startRadians;
        state.EndGradient = row.endRadians;
        const AlignmentFile ifc = AlignmentAsIfc(state, row.startChainage, Written, counter());
        const AlignmentFile landXml = AlignmentAsLandXml(state, row.startChainage, Written);
        EXPECT_EQ(!ifc, row.refused) << row.name;
        EXPECT_EQ(!landXml, row.refused) << row.name;
        EXPECT_EQ(ifc.reason().isEmpty(), !row.refused) << row.name;
        EXPECT_EQ(landXml.reason(), ifc.reason()) << row.name;
    }
}

// IFC's compressed UUIDs (the values from an independent implementation),
// and a new one for every object: none twice in a file, none again in the next.
TEST(AlignmentFiles, IfcGlobalIds) {
    EXPECT_EQ(IfcGlobalId(QUuid()), "0000000000000000000000");
    EXPECT_EQ(IfcGlobalId(QUuid("{ffffffff-ffff-ffff-ffff-ffffffffffff}")),
              "3$$$$$$$$$$$$$$$$$$$$$");
    EXPECT_EQ(IfcGlobalId(QUuid("{0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0}")),
              "0F7YqyIrffU8UMfRJ3qk7m");
    const QRegularExpression globalId(QStringLiteral("=IFC[A-Z]+\\('([0-9A-Za-z_$]{22})'"));
    const ProfileState crest = Calculated(AlignmentCases[0]);
    std::set<QString> seen;
    int objects = 0;
    for (int file = 0; file < 2; ++file) {
        for (const auto& id :
             globalId.globalMatch(QString::fromLatin1(*AlignmentAsIfc(crest, 0)))) {
            seen.insert(id.captured(1));
            ++objects;
        }
    }
    EXPECT_GE(objects, 2 * 15);
    EXPECT_EQ(int(seen.size()), objects);
}
