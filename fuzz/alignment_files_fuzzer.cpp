// Any profile, calculated or not, and any chainage at the start into the IFC
// and the LandXML file: each either refuses, both with the same reason, or
// gives a file of plain ASCII whose numbers are all finite and written as the
// format writes them (a STEP real with its point), and whose curve reads back
// to the calculation's own numbers in metres, to the last bit. An ordinary
// calculation is never refused.
//
// The input is read front to back in a fixed layout, little-endian, so that
// a seed can be written by hand; bytes past the end read as zero:
//   double length, height at start (track units), start and end gradient
//   (degrees); int16 sections; double chainage at start (metres).
#include "FuzzBytes.h"
#include "profile/CalculateProfile.h"
#include "maths/Transcendental.h"
#include "export/AlignmentFiles.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace pendrio;

namespace {

void check(bool condition, const char* what, double value = 0) {
    if (!condition) {
        std::fprintf(stderr, "The alignment files broke their promise: %s (%.17G)\n", what, value);
        std::abort();
    }
}

// The whole text as one finite double, or none.
std::optional<double> finiteNumber(QByteArrayView text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
    if (error != std::errc() || end != text.end() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Every number in the DATA section, strings skipped: a STEP real has its
// point, an integer is a dimension count.
void checkStepNumbers(const QByteArray& file) {
    const qsizetype data = file.indexOf("DATA;");
    bool inString = false;
    qsizetype start = -1;
    for (qsizetype i = data; i < file.size(); ++i) {
        const char c = file.at(i);
        if (c == '\'') {
            inString = !inString; // an escaped '' toggles twice
        } else if (!inString && start < 0 && (c == '-' || (c >= '0' && c <= '9')) &&
                   (file.at(i - 1) == '(' || file.at(i - 1) == ',')) {
            start = i;
        } else if (start >= 0 && (c == ',' || c == ')')) {
            const QByteArrayView token(file.constData() + start, i - start);
            check(finiteNumber(token).has_value(), "a STEP number that does not read back");
            check(token.contains('.') || token == "3", "a STEP real without its point");
            start = -1;
        }
    }
}

// The curve's segment: distance along, length, height, both slopes and the
// radius as the IFC file has them.
void checkIfcCurve(const QByteArray& file, const ProfileState& profile) {
    const QByteArray prefix = "=IFCALIGNMENTVERTICALSEGMENT($,$,";
    const qsizetype from = file.indexOf(prefix) + prefix.size();
    const QList<QByteArray> values = file.mid(from, file.indexOf(')', from) - from).split(',');
    check(values.size() == 7, "vertical segment attributes", double(values.size()));
    const double length = profile.TrackLength / UnitsPerMetre;
    const double t0 = Tan(profile.StartGradient);
    const double t1 = Tan(profile.EndGradient);
    const double expected[] = {0, length, profile.SectionHeight.at(1) / UnitsPerMetre, t0, t1};
    for (int i = 0; i < 5; ++i) {
        check(finiteNumber(values.at(i)) == expected[i], "a segment value read back elsewhere",
              expected[i]);
    }
    if (t0 == t1) {
        check(values.at(5) == "$", "a radius on a constant gradient");
    } else {
        check(finiteNumber(values.at(5)) == length / (t1 - t0), "the radius read back elsewhere");
    }
}

void checkLandXml(const QByteArray& file, const ProfileState& profile, double startChainage) {
    QXmlStreamReader xml(file);
    bool firstPoint = true;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        for (const QXmlStreamAttribute& a : xml.attributes()) {
            if (a.name() == u"length" || a.name() == u"staStart") {
                check(finiteNumber(a.value().toLatin1()).has_value(), "a LandXML attribute");
            }
        }
        if (xml.name() == u"Alignment") {
            check(xml.attributes().value("length").toDouble() ==
                      profile.TrackLength / UnitsPerMetre,
                  "the alignment's length");
        } else if (xml.name() == u"PVI" || xml.name() == u"ParaCurve") {
            const QList<QByteArray> pair = xml.readElementText().toLatin1().split(' ');
            check(pair.size() == 2, "a PVI not a pair");
            const std::optional<double> station = finiteNumber(pair.at(0));
            const std::optional<double> height = finiteNumber(pair.value(1));
            check(station && height, "a PVI number that does not read back");
            check(!firstPoint || (*station == startChainage &&
                                  *height == profile.SectionHeight.at(1) / UnitsPerMetre),
                  "the first PVI elsewhere");
            firstPoint = false;
        }
    }
    check(!xml.hasError() && !firstPoint, "LandXML not well formed");
}

// Metres and slopes any planner might use.
bool ordinary(const ProfileState& profile, double startChainage) {
    const double length = profile.TrackLength / UnitsPerMetre;
    const double t0 = Tan(profile.StartGradient);
    const double t1 = Tan(profile.EndGradient);
    return length >= 0.01 && length <= 1e6 &&
           std::abs(profile.SectionHeight.at(1) / UnitsPerMetre) <= 1e6 &&
           std::abs(startChainage) <= 1e9 && std::abs(t0) <= 10 && std::abs(t1) <= 10 &&
           (t0 == t1 || std::abs(t1 - t0) >= 1e-12);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Bytes bytes(data, size);
    ProfileState profile;
    profile.TrackLength = bytes.take<double>();
    profile.SectionHeight.at(1) = bytes.take<double>();
    profile.StartGradient = DegreesToRadians(bytes.take<double>());
    profile.EndGradient = DegreesToRadians(bytes.take<double>());
    profile.SectionCount = bytes.take<std::int16_t>();
    const double startChainage = bytes.take<double>();
    // Calculated where it can be, as the window would; the files read the
    // inputs alone either way.
    (void)CalculateProfile(profile);

    const QDateTime written(QDate(2026, 12, 7), QTime(10, 0), Qt::UTC);
    std::uint32_t ids = 0;
    const AlignmentFile ifc = AlignmentAsIfc(profile, startChainage, written, [&] {
        return QUuid(++ids, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    });
    const AlignmentFile landXml = AlignmentAsLandXml(profile, startChainage, written);
    check(ifc.ok() == ifc.reason().isEmpty(), "bytes and a refusal, or neither");
    check(landXml.reason() == ifc.reason() && landXml.ok() == ifc.ok(),
          "the formats disagree");
    if (!ifc) {
        check(!ordinary(profile, startChainage), "an ordinary calculation refused",
              profile.TrackLength);
        return 0;
    }
    for (const QByteArray* file : {&*ifc, &*landXml}) {
        check(std::all_of(file->begin(), file->end(), [](char c) { return c > 0; }),
              "a file not plain ASCII");
    }
    checkStepNumbers(*ifc);
    checkIfcCurve(*ifc, profile);
    checkLandXml(*landXml, profile, startChainage);
    return 0;
}
