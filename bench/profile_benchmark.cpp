// How long a recalculation takes, against the least it could take.
//
// Much of CalculateProfile's work is trigonometry, correctly rounded
// (maths/Transcendental.h): two tangents for the whole stretch, then for
// every section one arc tangent (its end gradient) and one tangent (of that
// gradient, which its own parabola and the next one's share). TrigFloor
// makes exactly those calls on the same arguments and
// nothing else, so the ratio CalculateProfile/256 : TrigFloor is what the
// bookkeeping around the maths costs: the divisions and checks, and storing
// the results only once all of them are known to be finite. CLibraryTrig makes
// the same calls to the C library's tan and atan, which are faster but not
// rounded the same on every platform. Tan and Atan are also timed per call,
// beside the C library's, on the arguments the engine gives them, and
// SlowStepShare counts the calls that their first step cannot decide.
//
//   build/bench/profile_benchmark
#include "profile/CalculateProfile.h"
#include "maths/FastTrig.h"
#include "maths/Transcendental.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

using namespace pendrio;

namespace {

// A realistic stretch: 100 m, from 1 in 57 downhill to 2.5 degrees uphill.
ProfileState realisticProfile(int sections) {
    ProfileState state;
    state.TrackLength = 1968504;
    state.SectionCount = static_cast<std::int16_t>(sections);
    state.StartGradient = DegreesToRadians(-1);
    state.EndGradient = DegreesToRadians(2.5);
    state.SectionHeight.at(1) = 1234.5;
    return state;
}

void CalculateProfileBenchmark(benchmark::State& run) {
    ProfileState state = realisticProfile(static_cast<int>(run.range(0)));
    for (auto _ : run) {
        // The inputs stay as they are, so every call does the full work again.
        benchmark::DoNotOptimize(CalculateProfile(state));
        benchmark::ClobberMemory();
    }
    run.SetItemsProcessed(run.iterations() * run.range(0));
}
BENCHMARK(CalculateProfileBenchmark)->Name("CalculateProfile")->Arg(1)->Arg(16)->Arg(256);

// The arguments the calculation hands to tan and atan for 256 sections, taken
// from a real calculation so that the library takes the same paths.
struct TrigArguments {
    double startGradient = 0;
    double endGradient = 0;
    std::array<double, MaxSections> endSlopes{};
    std::array<double, MaxSections> endAngles{};
};

TrigArguments trigArguments() {
    ProfileState state = realisticProfile(MaxSections);
    if (!CalculateProfile(state)) {
        std::abort();
    }
    TrigArguments args;
    args.startGradient = state.StartGradient;
    args.endGradient = state.EndGradient;
    for (int i = 1; i <= MaxSections; ++i) {
        const double x = static_cast<double>(i) / MaxSections;
        args.endSlopes[i - 1] =
            (state.StartRise + x * (state.CurveRise + state.CurveRise)) / state.TrackLength;
        args.endAngles[i - 1] = state.SectionEndAngle[i];
    }
    return args;
}

template <double (*tan)(double), double (*atan)(double)> void Trig(benchmark::State& run) {
    const TrigArguments args = trigArguments();
    for (auto _ : run) {
        double startTan = tan(args.startGradient);
        double endTan = tan(args.endGradient);
        benchmark::DoNotOptimize(startTan);
        benchmark::DoNotOptimize(endTan);
        for (int i = 0; i < MaxSections; ++i) {
            double angle = atan(args.endSlopes[i]);
            double end = tan(args.endAngles[i]);
            benchmark::DoNotOptimize(angle);
            benchmark::DoNotOptimize(end);
        }
    }
    run.SetItemsProcessed(run.iterations() * MaxSections);
}
double cTan(double x) {
    return std::tan(x);
}
double cAtan(double x) {
    return std::atan(x);
}
BENCHMARK(Trig<Tan, Atan>)->Name("TrigFloor");
BENCHMARK(Trig<cTan, cAtan>)->Name("CLibraryTrig");

// The engine's call mix: the arguments CalculateProfile(256) hands to tan and
// atan for stretches as users enter them, from nearly level to nearly
// vertical, in crests and sags.
struct CallMix {
    std::vector<double> tanArguments;
    std::vector<double> atanArguments;
};

CallMix engineCallMix() {
    const std::array<std::array<double, 2>, 6> gradients{{
        {-1, 2.5},
        {0.2, -0.4},
        {3, -3},
        {-4, 0},
        {-20, 35},
        {60, 89.9},
    }};
    CallMix mix;
    for (const auto& [start, end] : gradients) {
        ProfileState state = realisticProfile(MaxSections);
        state.StartGradient = DegreesToRadians(start);
        state.EndGradient = DegreesToRadians(end);
        if (!CalculateProfile(state)) {
            std::abort();
        }
        mix.tanArguments.push_back(state.StartGradient);
        mix.tanArguments.push_back(state.EndGradient);
        for (int i = 1; i <= MaxSections; ++i) {
            const double x = static_cast<double>(i) / MaxSections;
            mix.atanArguments.push_back(
                (state.StartRise + x * (state.CurveRise + state.CurveRise)) / state.TrackLength);
            mix.tanArguments.push_back(state.SectionEndAngle[i]);
        }
    }
    return mix;
}

// Time per call ("per_call", in seconds) over the mix's arguments for one function.
template <double (*function)(double), bool isTan> void PerCall(benchmark::State& run) {
    const CallMix mix = engineCallMix();
    const std::vector<double>& arguments = isTan ? mix.tanArguments : mix.atanArguments;
    for (auto _ : run) {
        for (const double x : arguments) {
            double y = function(x);
            benchmark::DoNotOptimize(y);
        }
    }
    run.counters["per_call"] = benchmark::Counter(static_cast<double>(arguments.size()),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}
BENCHMARK(PerCall<Tan, true>)->Name("Tan/engine_mix");
BENCHMARK(PerCall<cTan, true>)->Name("CLibraryTan/engine_mix");
BENCHMARK(PerCall<Atan, false>)->Name("Atan/engine_mix");
BENCHMARK(PerCall<cAtan, false>)->Name("CLibraryAtan/engine_mix");

// The share of calls that the first step (maths/FastTrig.h) cannot decide
// and that go on to libquadmath (and, far more rarely, to the 226-bit step):
// on the engine's call mix, and on a million gradients from -90 to 90 degrees
// as the window converts them, and on their tangents as slopes.
double undecidedShare(const std::vector<double>& arguments,
                      std::optional<double> (*firstStep)(double)) {
    const auto undecided = std::count_if(arguments.begin(), arguments.end(),
                                         [&](double x) { return !firstStep(x) && x != 0; });
    return static_cast<double>(undecided) / static_cast<double>(arguments.size());
}

void SlowStepShare(benchmark::State& run) {
    const CallMix mix = engineCallMix();
    std::vector<double> gradients(1000000);
    std::vector<double> slopes(gradients.size());
    for (std::size_t i = 0; i < gradients.size(); ++i) {
        gradients[i] = DegreesToRadians(-90 + 180 * (static_cast<double>(i) + 0.5) / 1e6);
        slopes[i] = Tan(gradients[i]);
    }
    for (auto _ : run) {
        run.counters["tan_mix"] = undecidedShare(mix.tanArguments, detail::FastTan);
        run.counters["atan_mix"] = undecidedShare(mix.atanArguments, detail::FastAtan);
        run.counters["tan_1e6"] = undecidedShare(gradients, detail::FastTan);
        run.counters["atan_1e6"] = undecidedShare(slopes, detail::FastAtan);
    }
}
BENCHMARK(SlowStepShare)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
