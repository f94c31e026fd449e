// The texts made from a calculation: the curve facts, the result boxes'
// tooltips and chainages, in the C and the German locale.
#include "text/CurveFactsText.h"
#include "text/ChainageText.h"
#include "text/ResultToolTips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

using namespace pendrio;

namespace {

const QLocale German(QLocale::German, QLocale::Germany);

CurveFacts factsOf(double metres, double startSlope, double endSlope,
                   std::optional<double> speed = std::nullopt) {
    ProfileState state;
    state.TrackLength = metres * UnitsPerMetre;
    state.StartGradient = std::atan(startSlope);
    state.EndGradient = std::atan(endSlope);
    return ComputeCurveFacts(state, speed);
}

} // namespace

// Track units are rounded whole, metres to three places: 800 m crest from
// +1.5 % to -2.5 % has R = 800 m / 0.04 = 20000 m = 393700787.4 units, its high
// point at 300 m = 5905511.8 units, 2.25 m = 44291.3 units up, and falls 4 m.
TEST(CurveFactsLines, ReadAsPlainSentencesInTheLocale) {
    struct Row {
        std::string name;
        QLocale locale;
        CurveFacts facts;
        QStringList lines;
    };
    const std::vector<Row> rows = {
        {"CrestPoint",
         QLocale::c(),
         factsOf(800, 0.015, -0.025),
         {"Crest, vertical radius 393700787 track units (20000 m)",
          "K 3937008 track units (200 m) per 1 % change of gradient",
          "High point 5905512 track units (300 m) from the start, 44291 track units (2.25 m) "
          "above the start",
          "Total rise -78740 track units (-4 m)"}},
        // R = 123.4 m / 0.04 = 3085 m, lowest at 61.7 m, 0.02 * 61.7 / 2 = 0.617 m down.
        {"SymmetricSagComma",
         German,
         factsOf(123.4, -0.02, 0.02),
         {"Sag, vertical radius 60728346 track units (3085 m)",
          "K 607283 track units (30,85 m) per 1 % change of gradient",
          "Low point 1214567 track units (61,7 m) from the start, 12146 track units (0,617 m) "
          "below the start",
          "Total rise 0 track units (0 m)"}},
        {"SagFromLevelPoint",
         QLocale::c(),
         factsOf(500, 0, 0.02),
         {"Sag, vertical radius 492125984 track units (25000 m)",
          "K 4921260 track units (250 m) per 1 % change of gradient", "Low point at the start",
          "Total rise 98425 track units (5 m)"}},
        // Flattest slope 1 % at the end: R = 600 m / 0.03 * 1.0001^(3/2) = 20003.0 m.
        {"SagStillFallingPoint",
         QLocale::c(),
         factsOf(600, -0.04, -0.01),
         {"Sag, vertical radius 393759844 track units (20003 m)",
          "K 3937008 track units (200 m) per 1 % change of gradient",
          "Low point at the end, 295276 track units (15 m) below the start",
          "Total rise -295276 track units (-15 m)"}},
        {"StraightInclinePoint",
         QLocale::c(),
         factsOf(100, 0.01, 0.01),
         {"Straight incline, vertical radius ∞", "Total rise 19685 track units (1 m)"}},
        // 1E+308 units long: the radius overflows, the rest does not; one track
        // unit is 1 / 19685.03937 = 5.08000000000203E-05 m.
        {"TooLongPoint",
         QLocale::c(),
         factsOf(1e308 / UnitsPerMetre, 0.015, -0.025),
         {"Crest, vertical radius beyond range",
          "K 2.5E+307 track units (1.27000000000508E+303 m) per 1 % change of gradient",
          "High point 3.75E+307 track units (1.90500000000762E+303 m) from the start, "
          "2.8125E+305 track units (1.42875000000572E+301 m) above the start",
          "Total rise -5E+305 track units (-2.54000000001016E+301 m)"}},
        {"NothingKnown",
         German,
         CurveFacts{},
         {"Kind of curve beyond range", "Total rise beyond range"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString text = CurveFactsLines(row.facts, row.locale).join('\n');
        EXPECT_EQ(text.toStdString(), row.lines.join('\n').toStdString());
        EXPECT_FALSE(text.contains(QStringLiteral("inf"), Qt::CaseInsensitive));
        EXPECT_FALSE(text.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
    }
    // At 160 km/h on R = 400 m / 0.04: (160 / 3.6)^2 / 10000 = 0.197531 m/s^2.
    EXPECT_EQ(
        CurveFactsLines(factsOf(400, -0.02, 0.02, 160), QLocale::c()).last(),
        QStringLiteral("At 160 km/h, vertical acceleration 0.198 m/s² on the smallest radius"));
    // A start gradient typed as 135 for 1.35 acts as -45°, its tangent; so may both ends.
    ProfileState steep;
    steep.StartGradient = DegreesToRadians(135);
    EXPECT_EQ(CurveFactsLines(ComputeCurveFacts(steep), German).last(),
              QStringLiteral("Start gradient 135° acts as -45° (its tangent)"));
    steep.EndGradient = DegreesToRadians(-100);
    EXPECT_EQ(CurveFactsLines(ComputeCurveFacts(steep), German).last(),
              QStringLiteral("Start gradient 135° acts as -45°, end gradient -100° as 80° (their "
                             "tangents)"));
    // Led by metres, as the window writes them while it shows metres.
    EXPECT_EQ(CurveFactsLines(factsOf(800, 0.015, -0.025), German, LengthUnit::Metres),
              (QStringList{"Crest, vertical radius 20000 m (393700787 track units)",
                           "K 200 m (3937008 track units) per 1 % change of gradient",
                           "High point 300 m (5905512 track units) from the start, 2,25 m (44291 "
                           "track units) above the start",
                           "Total rise -4 m (-78740 track units)"}));
}

TEST(ResultToolTips, UnroundedValuesWithMetresAndSlopes) {
    EXPECT_EQ(LengthToolTip(1968503.937, QLocale::c()),
              QStringLiteral("1968503.937 track units = 100 m"));
    EXPECT_EQ(LengthToolTip(-29527.559055, QLocale(QLocale::German)),
              QStringLiteral("-29527,559055 track units = -1,5 m"));
    EXPECT_EQ(GradientToolTip(std::atan(0.05), QLocale::c()),
              QStringLiteral("2.86240522611175° = slope 5 % = 50 ‰"));
    EXPECT_EQ(GradientToolTip(0, QLocale(QLocale::German)), QStringLiteral("0° = slope 0 % = 0 ‰"));
}

// Kilometres, '+', metres to the millimetre; read back in that form or as
// plain metres.
TEST(ChainageText, KilometreFormBothWays) {
    struct Row {
        std::string name;
        QLocale locale;
        double metres;
        QString text;
    };
    const std::vector<Row> written = {
        {"Kilometre", QLocale::c(), 1020, "1+020.000"},
        {"NegativeComma", German, -50, "-0+050,000"},
        {"Zero", QLocale::c(), 0, "0+000.000"},
        {"RoundsToZeroWithoutSign", QLocale::c(), -0.0004, "0+000.000"},
        {"CarriesIntoTheKilometre", German, 999.9995, "1+000,000"},
    };
    for (const Row& row : written) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ChainageText(row.metres, row.locale).toStdString(), row.text.toStdString());
    }
    struct ReadRow {
        std::string name;
        QLocale locale;
        QString text;
        std::optional<double> metres;
    };
    const std::vector<ReadRow> read = {
        {"Kilometre", QLocale::c(), " 1+020.000", 1020},
        {"WithoutDecimals", German, "1+020", 1020},
        {"NegativeComma", German, "-0+050,000", -50},
        {"PlainMetres", QLocale::c(), "1020.5\t", 1020.5},
        {"TwoDigitsOfMetres", QLocale::c(), "1+20", std::nullopt},
        {"Word", QLocale::c(), "abc", std::nullopt},
        {"SecondSeparator", QLocale::c(), "1+020.000.0", std::nullopt},
        {"BeyondTheLargestChainage", QLocale::c(), "1e13", std::nullopt},
    };
    for (const ReadRow& row : read) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TextToChainage(row.text, row.locale), row.metres);
    }
}
