// Any bytes as an alignment file, and any calculation written as Pendrio's own
// IFC or LandXML file and read back. Reading either gives the reason for a
// refusal, or curves of which at least one is usable; a usable curve's
// numbers are finite and within what a file holds, and its texts, typed in the
// C locale or German, read back to its numbers. Pendrio's own IFC file gives
// the calculation's length, height, chainage and slopes to the last bit, its
// LandXML file the length so and the rest to their rounding.
//
// The first byte says what the rest is: even, a file's bytes as they are;
// odd, a calculation in alignment_files_fuzzer's layout (doubles length,
// height, both gradients in degrees; int16 sections; double chainage), written
// as IFC where the byte's second bit is clear, else as LandXML.
#include "FuzzBytes.h"
#include "import/AlignmentImport.h"
#include "import/CurveInputs.h"
#include "profile/CalculateProfile.h"
#include "maths/Transcendental.h"
#include "export/AlignmentFiles.h"
#include "text/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace pendrio;

namespace {

void check(bool condition, const char* what, double value = 0) {
    if (!condition) {
        std::fprintf(stderr, "Reading alignment files broke a promise: %s (%.17G)\n", what, value);
        std::abort();
    }
}

bool near(double a, double b, double tolerance) {
    return std::abs(a - b) <= tolerance;
}

// The texts read back, in `locale`, to numbers that give the curve's own.
void checkTyped(const CurveInFile& c, const QLocale& locale) {
    const CurveAsTyped typed = TypedInputsFor(c, locale);
    const auto length = TextToNumber(typed.length, locale);
    const auto height = TextToNumber(typed.startHeight, locale);
    const auto start = TextToNumber(typed.startGradient, locale);
    const auto end = TextToNumber(typed.endGradient, locale);
    const auto chainage = TextToNumber(typed.startChainage, locale);
    check(length && height && start && end && chainage, "a typed text that does not read back");
    check(*chainage == c.startChainage, "the chainage typed", c.startChainage);
    check(near(*length / UnitsPerMetre, c.length, 1e-15 * c.length + 1e-300), "the length typed",
          c.length);
    check(near(*height / UnitsPerMetre, c.startHeight, 1e-15 * std::abs(c.startHeight) + 1e-300),
          "the height typed", c.startHeight);
    for (const auto& [degrees, slope] : {std::pair{*start, c.startSlope}, {*end, c.endSlope}}) {
        check(std::abs(slope) > 10 ||
                  near(Tan(DegreesToRadians(degrees)), slope, 1e-14 * std::abs(slope) + 1e-300),
              "a gradient typed", slope);
    }
}

void checkCurves(const Outcome<QList<CurveInFile>>& read) {
    if (!read) {
        check(!read.reason().isEmpty(), "a refusal without a reason");
        return;
    }
    bool usable = false;
    for (const CurveInFile& c : *read) {
        if (!c.usable()) {
            continue;
        }
        usable = true;
        for (double metres : {c.startChainage, c.length, c.startHeight}) {
            check(std::abs(metres) <= MaxAlignmentMetres, "a usable curve's metres", metres);
        }
        check(c.length > 0 && std::isfinite(c.startSlope) && std::isfinite(c.endSlope),
              "a usable curve's length or slopes", c.length);
        checkTyped(c, QLocale::c());
        checkTyped(c, QLocale(QLocale::German, QLocale::Germany));
    }
    check(usable, "curves without a usable one");
}

// The writer's own numbers come back: bit for bit from IFC. LandXML holds the
// length so, but a chainage and height for each point, whose roundings (eS
// and eH, a double's precision at those magnitudes) the slopes, the start
// and its height are worked out from.
void checkOwnFile(const Outcome<QList<CurveInFile>>& read, const ProfileState& p, double chainage,
                  bool ifc) {
    const double length = p.TrackLength / UnitsPerMetre;
    const double height = p.SectionHeight.at(1) / UnitsPerMetre;
    const double t0 = Tan(p.StartGradient);
    const double t1 = Tan(p.EndGradient);
    if (t0 == t1) {
        check(!read, "a constant gradient read as a curve");
        return;
    }
    check(read && read->size() == 1 && read->first().usable(), "the own file's one curve");
    const CurveInFile& c = read->first();
    const double eS = ifc ? 0 : 0x1p-52 * (std::abs(chainage) + length);
    const double eH =
        ifc ? 0 : 0x1p-52 * (std::abs(height) + (std::abs(t0) + std::abs(t1)) * length);
    const double eSlope = 8 * (eH + (1 + std::abs(t0) + std::abs(t1)) * eS) / length;
    check(c.length == length, "the own file's length", c.length);
    check(near(c.startChainage, chainage, 4 * eS), "the own file's chainage", c.startChainage);
    check(near(c.startHeight, height, 4 * (eH + std::abs(t0) * eS)), "the own file's height",
          c.startHeight);
    check(near(c.startSlope, t0, eSlope), "the own file's start slope", c.startSlope);
    check(near(c.endSlope, t1, eSlope), "the own file's end slope", c.endSlope);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Bytes bytes(data, size);
    const std::uint8_t kind = bytes.take<std::uint8_t>();
    if (kind % 2 == 0) {
        const QByteArray file(reinterpret_cast<const char*>(data) + 1,
                              qsizetype(size ? size - 1 : 0));
        checkCurves(ReadAlignmentCurves(file));
        return 0;
    }
    ProfileState p;
    p.TrackLength = bytes.take<double>();
    p.SectionHeight.at(1) = bytes.take<double>();
    p.StartGradient = DegreesToRadians(bytes.take<double>());
    p.EndGradient = DegreesToRadians(bytes.take<double>());
    p.SectionCount = bytes.take<std::int16_t>();
    const double chainage = bytes.take<double>();
    (void)CalculateProfile(p);
    const bool ifc = (kind & 2) == 0;
    const QDateTime written(QDate(2026, 12, 7), QTime(10, 0), Qt::UTC);
    const AlignmentFile file =
        ifc ? AlignmentAsIfc(p, chainage, written) : AlignmentAsLandXml(p, chainage, written);
    if (file) {
        const auto read = ReadAlignmentCurves(*file);
        checkCurves(read);
        checkOwnFile(read, p, chainage, ifc);
    }
    return 0;
}
