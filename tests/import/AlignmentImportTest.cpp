// Curves read from a railway-room style IFC file, a LandXML file of two
// curves, each refusal (the files changed where a row says), and Pendrio's
// own files read back to the calculation they were written from.
#include "import/AlignmentImport.h"
#include "import/CurveInputs.h"
#include "maths/Transcendental.h"
#include "tests/export/alignment/AlignmentCases.h"
#include "export/AlignmentFiles.h"
#include "text/NumberText.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pendrio;
using namespace pendrio::testing;

namespace {

QByteArray data(const char* name) {
    QFile file(QStringLiteral(PENDRIO_ALIGNMENT_DATA "/") + QLatin1StringView(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Row {
    const char* name;
    const char* file;
    const char* from; // replaced by `to` in the file; none: the file as it is
    const char* to;
    const char* refusal; // a part of the reason; none: read, `curves` of them
    qsizetype curves = 0;
    double chainage = 0, length = 0, height = 0, startSlope = 0, endSlope = 0; // the last
};

const char* const Ifc = "parabolic-arc-rc4.ifc";
const char* const Xml = "two-curves.xml";
const Row Rows[] = {
    {"RailwayRoomFile", Ifc, nullptr, nullptr, nullptr, 1, 0, 120, 15.5, 0.02, -0.01},
    {"Millimetres", Ifc, "$, .METRE.", ".MILLI., .METRE.", nullptr, 1, 0, 0.12, 0.0155, 0.02,
     -0.01},
    {"LandXmlSecondCurve", Xml, nullptr, nullptr, nullptr, 2, 1850, 300, 125.75, -0.005, 0.01},
    {"UsSurveyFeet", Xml, "\"meter\"", "\"USSurveyFoot\"", nullptr, 2, 1850 * 1200 / 3937.,
     300 * 1200 / 3937., 125.75 * 1200 / 3937., -0.005, 0.01},
    {"CircCurveListed", Xml, "<ParaCurve length=\"200\">1400 128</ParaCurve>",
     "<CircCurve length=\"200\">1400 128</CircCurve>", nullptr, 2, 1850, 300, 125.75, -0.005, 0.01},
    {"UnknownSchema", Ifc, "IFC4X3_RC4", "IFC2X3", "\"IFC2X3\""},
    {"Feet", Ifc, "IFCSIUNIT(*, .LENGTHUNIT., $, .METRE.)",
     "IFCCONVERSIONBASEDUNIT(#12, .LENGTHUNIT., 'FOOT', #10)", "foot"},
    {"Inches", Xml, "\"meter\"", "\"inch\"", "inch"},
    {"LandXml2", Xml, "version=\"1.1\"", "version=\"2.0\"", "LandXML 2.0"},
    {"GarbledIfc", Ifc, "#44 =", "#44 ==", "garbled in line 38"},
    {"GarbledLandXml", Xml, "1400 128", "1400 high", "garbled in line 14"},
    {"ZeroLength", Ifc, "0., 120., 15.5", "0., 0., 15.5", "length of zero"},
    {"GradesOnly", Ifc, ".PARABOLICARC.", ".CONSTANTGRADIENT.", "grades only"},
    {"CircularArcOnly", Ifc, ".PARABOLICARC.", ".CIRCULARARC.", "circular arc"},
    {"NoProfile", Xml, "ProfAlign", "ProfSurf", "no vertical profile"},
};

} // namespace

TEST(AlignmentImport, ReadsOrRefusesEachRow) {
    for (const Row& row : Rows) {
        SCOPED_TRACE(row.name);
        QByteArray bytes = data(row.file);
        ASSERT_FALSE(bytes.isEmpty());
        if (row.from) {
            ASSERT_TRUE(bytes.contains(row.from));
            bytes.replace(row.from, row.to);
        }
        const auto curves = ReadAlignmentCurves(bytes);
        if (row.refusal) {
            ASSERT_FALSE(curves);
            EXPECT_TRUE(curves.reason().contains(QLatin1StringView(row.refusal)))
                << curves.reason().toStdString();
            continue;
        }
        ASSERT_TRUE(curves) << curves.reason().toStdString();
        ASSERT_EQ(curves->size(), row.curves);
        EXPECT_EQ(curves->first().usable(), QByteArrayView(row.name) != "CircCurveListed");
        const CurveInFile& c = curves->last();
        EXPECT_TRUE(c.usable());
        EXPECT_NEAR(c.startChainage, row.chainage, 1e-12 * row.chainage);
        EXPECT_NEAR(c.length, row.length, 1e-15 * row.length);
        EXPECT_NEAR(c.startHeight, row.height, 1e-13 * row.height);
        EXPECT_NEAR(c.startSlope, row.startSlope, 1e-15);
        EXPECT_NEAR(c.endSlope, row.endSlope, 1e-15);
    }
}

TEST(AlignmentImport, RefusesCutOffFilesAndFilesThatAreNone) {
    for (const char* name : {Ifc, Xml}) {
        const QByteArray bytes = data(name);
        const auto cut = ReadAlignmentCurves(bytes.left(bytes.size() / 2));
        EXPECT_TRUE(cut.reason().contains(u"cut off")) << cut.reason().toStdString();
    }
    EXPECT_TRUE(ReadAlignmentCurves("PK\3\4").reason().contains(u"neither"));
    EXPECT_TRUE(ReadAlignmentFile(QStringLiteral(PENDRIO_ALIGNMENT_DATA "/none.ifc"))
                    .reason()
                    .contains(u"There is no file"));
}

// The second curve as a German user would type it: it reads back, in that
// locale, to the file's metres and, as near as a double can, its slopes.
TEST(AlignmentImport, TypedInputsReadBack) {
    const CurveInFile curve = ReadAlignmentCurves(data(Xml))->at(1);
    const QLocale german(QLocale::German, QLocale::Germany);
    const CurveAsTyped typed = TypedInputsFor(curve, german);
    EXPECT_EQ(typed.startChainage, u"1850");
    EXPECT_EQ(*TextToNumber(typed.length, german) / UnitsPerMetre, curve.length);
    EXPECT_EQ(*TextToNumber(typed.startHeight, german) / UnitsPerMetre, curve.startHeight);
    EXPECT_NEAR(Tan(DegreesToRadians(*TextToNumber(typed.startGradient, german))), -0.005, 1e-18);
    EXPECT_TRUE(typed.startGradient.contains(u','));
}

// Pendrio's own files give the calculation back: the IFC file holds the
// length, height and slopes exactly; LandXML the length, and the rest to
// its rounding. Typed in, the texts give the inputs the calculation had.
TEST(AlignmentImport, OwnFilesReadBack) {
    const QDateTime written(QDate(2026, 12, 7), QTime(10, 0), Qt::UTC);
    for (const AlignmentCase& c : AlignmentCases) {
        const ProfileState state = Calculated(c);
        const auto ifc =
            ReadAlignmentCurves(*AlignmentAsIfc(state, c.startChainage, written));
        const auto xml =
            ReadAlignmentCurves(*AlignmentAsLandXml(state, c.startChainage, written));
        SCOPED_TRACE(c.name);
        if (c.startDegrees == c.endDegrees) {
            EXPECT_TRUE(ifc.reason().contains(u"grades only"));
            EXPECT_TRUE(xml.reason().contains(u"grades only"));
            continue;
        }
        for (const auto* read : {&ifc, &xml}) {
            ASSERT_TRUE(*read && (*read)->size() == 1);
            const CurveInFile& curve = (*read)->first();
            const bool exact = read == &ifc;
            EXPECT_EQ(curve.length, c.trackLength / UnitsPerMetre);
            EXPECT_NEAR(curve.startHeight, EngineMetres(state, 1), exact ? 0 : 1e-9);
            EXPECT_NEAR(curve.startChainage, c.startChainage, exact ? 0 : 1e-9);
            EXPECT_NEAR(curve.startSlope, Tan(state.StartGradient), exact ? 0 : 1e-15);
            EXPECT_NEAR(curve.endSlope, Tan(state.EndGradient), exact ? 0 : 1e-15);
            const CurveAsTyped typed = TypedInputsFor(curve, QLocale::c());
            EXPECT_EQ(TextToNumber(typed.length), c.trackLength);
            EXPECT_EQ(TextToNumber(typed.startHeight), c.startHeight);
            if (exact) {
                EXPECT_EQ(DegreesToRadians(*TextToNumber(typed.startGradient)),
                          state.StartGradient);
                EXPECT_EQ(DegreesToRadians(*TextToNumber(typed.endGradient)), state.EndGradient);
            }
        }
    }
}
