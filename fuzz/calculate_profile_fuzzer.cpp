// Feeds CalculateProfile any inputs at all — every double from raw bits
// (infinities, NaNs with any payload, subnormals), any section count and any
// leftovers in the tables — and checks its all-or-nothing promise: either it
// refuses and the state is bit for bit what it was, or it succeeds, every value
// it wrote is finite and everything it should not have touched is untouched.
// The same inputs then serve the design from a radius: its length, when it
// gives one, is finite and gives the radius back through the curve facts; and
// the other ways of designing a length likewise (checkOtherWays).
#include "profile/CalculateProfile.h"
#include "profile/CurveFacts.h"
#include "profile/DesignRadius.h"
#include "profile/DesignWays.h"
#include "profile/ProfileCurve.h"
#include "maths/Transcendental.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

using namespace pendrio;

namespace {

// Three ways to pick a number, so that the fuzzer reaches the realistic profiles
// that succeed as readily as the outlandish ones that must be refused.
double consumeNumber(FuzzedDataProvider& data, double realisticRange) {
    switch (data.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return std::bit_cast<double>(data.ConsumeIntegral<std::uint64_t>());
    case 1:
        return data.ConsumeFloatingPoint<double>();
    default:
        return data.ConsumeFloatingPointInRange(-realisticRange, realisticRange);
    }
}

std::int16_t consumeSectionCount(FuzzedDataProvider& data) {
    // Mostly a valid count; now and then any 16-bit value, which must be refused
    // unless it happens to be 1..MaxSections.
    if (data.ConsumeIntegralInRange(0, 7) == 0) {
        return data.ConsumeIntegral<std::int16_t>();
    }
    return static_cast<std::int16_t>(data.ConsumeIntegralInRange(1, MaxSections));
}

// Fills every entry of a table with raw bit patterns from a small generator, so
// that NaN payloads and negative zeros are there to be disturbed.
void fillTable(SectionTable& table, std::uint64_t& seed) {
    for (double& entry : table) {
        seed += 0x9E3779B97F4A7C15u; // splitmix64
        std::uint64_t z = seed;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        entry = std::bit_cast<double>(z ^ (z >> 31));
    }
}

void check(bool condition, const char* what, int entry = -1) {
    if (!condition) {
        std::fprintf(stderr, "CalculateProfile broke its promise: %s (entry %d)\n", what, entry);
        std::abort();
    }
}

bool same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool sameTable(const SectionTable& a, const SectionTable& b) {
    return std::memcmp(a.data(), b.data(), sizeof(SectionTable)) == 0;
}

void checkUnchanged(const ProfileState& after, const ProfileState& before) {
    check(same(after.TrackLength, before.TrackLength), "TrackLength changed");
    check(after.SectionCount == before.SectionCount, "SectionCount changed");
    check(same(after.StartGradient, before.StartGradient), "StartGradient changed");
    check(same(after.EndGradient, before.EndGradient), "EndGradient changed");
    check(after.CurrentSection == before.CurrentSection, "CurrentSection changed");
    check(after.SavedText == before.SavedText, "SavedText changed");
}

void checkRefused(const ProfileState& after, const ProfileState& before) {
    checkUnchanged(after, before);
    check(same(after.SectionLength, before.SectionLength), "refused but SectionLength changed");
    check(same(after.StartRise, before.StartRise), "refused but StartRise changed");
    check(same(after.CurveRise, before.CurveRise), "refused but CurveRise changed");
    check(sameTable(after.SectionHeight, before.SectionHeight), "refused but heights changed");
    check(sameTable(after.SectionCoeff1, before.SectionCoeff1), "refused but coeff1 changed");
    check(sameTable(after.SectionCoeff2, before.SectionCoeff2), "refused but coeff2 changed");
    check(sameTable(after.SectionStartAngle, before.SectionStartAngle),
          "refused but start angles changed");
    check(sameTable(after.SectionEndAngle, before.SectionEndAngle),
          "refused but end angles changed");
}

void checkAccepted(const ProfileState& after, const ProfileState& before) {
    checkUnchanged(after, before);
    const int n = after.SectionCount;
    check(n >= 1 && n <= MaxSections, "accepted a section count outside 1..256", n);
    check(std::isfinite(after.SectionLength), "SectionLength not finite");
    check(std::isfinite(after.StartRise), "StartRise not finite");
    check(std::isfinite(after.CurveRise), "CurveRise not finite");
    for (int i = 0; i <= MaxSections; ++i) {
        const bool section = i >= 1 && i <= n;
        const bool startOfNext = i == n + 1; // where the next section would start
        if (section) {
            check(std::isfinite(after.SectionHeight[i]), "height not finite", i);
            check(std::isfinite(after.SectionCoeff1[i]), "coeff1 not finite", i);
            check(std::isfinite(after.SectionCoeff2[i]), "coeff2 not finite", i);
            check(std::isfinite(after.SectionStartAngle[i]), "start angle not finite", i);
            check(std::isfinite(after.SectionEndAngle[i]), "end angle not finite", i);
            continue;
        }
        if (startOfNext) {
            check(std::isfinite(after.SectionHeight[i]), "next height not finite", i);
            check(std::isfinite(after.SectionStartAngle[i]), "next start angle not finite", i);
        } else {
            check(same(after.SectionHeight[i], before.SectionHeight[i]), "height touched", i);
            check(same(after.SectionStartAngle[i], before.SectionStartAngle[i]),
                  "start angle touched", i);
        }
        check(same(after.SectionCoeff1[i], before.SectionCoeff1[i]), "coeff1 touched", i);
        check(same(after.SectionCoeff2[i], before.SectionCoeff2[i]), "coeff2 touched", i);
        check(same(after.SectionEndAngle[i], before.SectionEndAngle[i]), "end angle touched", i);
    }
    // The height at the start is an input: the calculation reads it, never writes it.
    check(same(after.SectionHeight[1], before.SectionHeight[1]), "start height rewritten");
    check(same(after.SectionStartAngle[1], after.StartGradient), "first start angle");
}

// A design's length, when there is one, is finite, positive and comes with no problem.
void checkLength(const DesignLength& design) {
    check(design.Length.has_value() == (design.Problem == DesignLengthProblem::None),
          "a design length and its problem disagree");
    check(!design.Length || (std::isfinite(*design.Length) && *design.Length > 0),
          "design length not positive");
}

// The length read as a K, and as a design speed at the height's magnitude as
// acceleration, each given back by the facts; the calculated curve's point half
// way along, which the curve designed through it passes within the roundings.
void checkOtherWays(const ProfileState& before, const ProfileState* calculated) {
    ProfileState designed = before;
    const double a0 = before.StartGradient, a1 = before.EndGradient;
    const double k = before.TrackLength, acceleration = std::abs(before.SectionHeight[1]);
    const DesignLength forK = DesignLengthForK(a0, a1, k);
    checkLength(forK);
    if (forK.Length) {
        designed.TrackLength = *forK.Length;
        const std::optional<double> back = ComputeCurveFacts(designed).KValue;
        check(back && std::abs(*back - k) <= 1e-15 * k, "design length misses the K");
    }
    const DesignLength forSpeed = DesignLengthForSpeed(a0, a1, k, acceleration);
    checkLength(forSpeed);
    if (forSpeed.Length) {
        designed.TrackLength = *forSpeed.Length;
        const std::optional<double> back =
            ComputeCurveFacts(designed, k).AtDesignSpeed.value().Acceleration;
        check(back && std::abs(*back - acceleration) <= 1e-12 * acceleration,
              "design length misses the acceleration");
    }
    const CurveFacts facts = ComputeCurveFacts(before, k);
    for (const std::optional<SteepGradient>& steep : {facts.SteepStart, facts.SteepEnd}) {
        check(!steep || std::abs(steep->ActsAs) <= Atan(HUGE_VAL), "a steep gradient acts as one");
    }
    if (!calculated) {
        return;
    }
    const double distance = before.TrackLength / 2;
    const double height = ProfilePointAt(*calculated, distance).height;
    const double startHeight = before.SectionHeight[1];
    const DesignLength through = DesignLengthThroughPoint(a0, a1, startHeight, distance, height);
    checkLength(through);
    if (!through.Length) {
        return;
    }
    check(*through.Length >= distance, "a curve through the point ends before it");
    designed = *calculated;
    designed.TrackLength = *through.Length;
    if (CalculateProfile(designed)) {
        // The height there as the calculation gives the section boundaries theirs.
        const double x = distance / designed.TrackLength;
        const double rise = x * designed.StartRise, curve = x * x * designed.CurveRise;
        const double back = startHeight + (rise + curve);
        const double terms =
            std::abs(height) + std::abs(startHeight) + std::abs(rise) + std::abs(curve);
        // Among subnormal heights every rounding may cost a whole smallest double.
        const double slack = 1e-14 * terms + 64 * std::numeric_limits<double>::denorm_min();
        check(std::abs(back - height) <= slack, "the designed curve misses the point");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    ProfileState state;
    state.TrackLength = consumeNumber(data, 1e9);
    state.SectionCount = consumeSectionCount(data);
    state.StartGradient = consumeNumber(data, 2 * Pi);
    state.EndGradient = consumeNumber(data, 2 * Pi);
    state.CurrentSection = data.ConsumeIntegral<std::int16_t>();
    std::uint64_t seed = data.ConsumeIntegral<std::uint64_t>();
    if (data.ConsumeBool()) {
        // Leftovers from an earlier calculation: raw bits everywhere.
        state.SectionLength = std::bit_cast<double>(data.ConsumeIntegral<std::uint64_t>());
        state.StartRise = std::bit_cast<double>(data.ConsumeIntegral<std::uint64_t>());
        state.CurveRise = std::bit_cast<double>(data.ConsumeIntegral<std::uint64_t>());
        fillTable(state.SectionHeight, seed);
        fillTable(state.SectionCoeff1, seed);
        fillTable(state.SectionCoeff2, seed);
        fillTable(state.SectionStartAngle, seed);
        fillTable(state.SectionEndAngle, seed);
    }
    state.SectionHeight[1] = consumeNumber(data, 1e7);
    state.SavedText = data.ConsumeRemainingBytesAsString();

    const ProfileState before = state;
    const bool calculated = CalculateProfile(state);
    if (calculated) {
        checkAccepted(state, before);
    } else {
        checkRefused(state, before);
        // A refusal is only right when something is out of reach; an ordinary
        // profile (a positive length, gradients well short of vertical, a
        // height on the map) always has an answer.
        const bool ordinary = state.SectionCount >= 1 && state.SectionCount <= MaxSections &&
                              state.TrackLength >= 1 && state.TrackLength <= 1e9 &&
                              std::abs(state.StartGradient) <= 1.5 &&
                              std::abs(state.EndGradient) <= 1.5 &&
                              std::abs(state.SectionHeight[1]) <= 1e7;
        check(!ordinary, "refused an ordinary profile");
    }

    // The same length read as a radius to design for: a length, when there is
    // one, is a stretch whose facts give that radius back.
    const double radius = before.TrackLength;
    const DesignLength design =
        DesignLengthForRadius(before.StartGradient, before.EndGradient, radius);
    checkLength(design);
    if (design.Length) {
        ProfileState designed = before;
        designed.TrackLength = *design.Length;
        const std::optional<double> back = ComputeCurveFacts(designed).VerticalRadius;
        check(back && std::abs(*back - radius) <= 1e-12 * radius,
              "design length misses the radius");
    }
    checkOtherWays(before, calculated ? &state : nullptr);
    return 0;
}
