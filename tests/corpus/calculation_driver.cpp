// Reads the calculation corpus (tests/data/calculations/corpus.txt), makes
// each calculation with the engine and prints one line per calculation: its
// name, whether CalculateProfile succeeded, and every double that leaves the
// engine as the 16 hex digits of its bits. Standard C++ only, so that the same
// source builds for Linux and, cross-compiled, for Windows; the two outputs
// must be identical.
//
// With --trig it prints Tan and Atan instead, for the hard cases of
// tests/data/trig/hard-cases.txt and 100,000 arguments from a fixed sequence:
// the second step of their rounding runs only for arguments like the former.
//
//   calculation_driver corpus.txt > results.txt
//   calculation_driver --trig hard-cases.txt > trig.txt
#include "profile/CalculateProfile.h"
#include "profile/CurveFacts.h"
#include "profile/DesignRadius.h"
#include "profile/ProfileCurve.h"
#include "maths/Transcendental.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

using namespace pendrio;

namespace {

class Output {
public:
    explicit Output(const std::string& name) { line_ << name; }
    Output& operator<<(double value) {
        line_ << ' ' << std::hex << std::setw(16) << std::setfill('0')
              << std::bit_cast<std::uint64_t>(value);
        return *this;
    }
    Output& operator<<(const std::optional<double>& value) {
        return value ? *this << *value : word("-");
    }
    Output& word(const std::string& text) {
        line_ << ' ' << text;
        return *this;
    }
    std::string str() const { return line_.str(); }

private:
    std::ostringstream line_;
};

void printTables(const ProfileState& state, Output& out) {
    out << state.SectionLength << state.CurveRise << state.StartRise;
    const int n = state.SectionCount;
    for (int i = 1; i <= n; ++i) {
        out << state.SectionHeight.at(i) << state.SectionCoeff1.at(i) << state.SectionCoeff2.at(i)
            << state.SectionStartAngle.at(i) << state.SectionEndAngle.at(i);
    }
    if (n < MaxSections) {
        out << state.SectionHeight.at(n + 1) << state.SectionStartAngle.at(n + 1);
    }
}

// What the profile window shows besides the tables: the facts, the design
// length for the stretch's own length as a radius, and three points on the curve.
void printDerived(const ProfileState& state, Output& out) {
    const CurveFacts facts = ComputeCurveFacts(state);
    out.word(facts.Kind ? std::to_string(static_cast<int>(*facts.Kind)) : "-");
    out << facts.VerticalRadius << facts.TotalRise;
    if (facts.Extreme) {
        out << facts.Extreme->Distance << facts.Extreme->AboveStart << facts.Extreme->Height;
    }
    out << DesignLengthForRadius(state.StartGradient, state.EndGradient, state.TrackLength).Length;
    for (const double share : {0.0, 1.0 / 3, 1.0}) {
        const ProfilePoint point = ProfilePointAt(state, share * state.TrackLength);
        out << point.height << point.gradient;
    }
}

double readBits(std::istream& in) {
    std::uint64_t bits = 0;
    in >> std::hex >> bits;
    return std::bit_cast<double>(bits);
}

void printTrig(const std::string& function, double x) {
    Output out(function);
    out << x << (function == "tan" ? Tan(x) : Atan(x));
    std::cout << out.str() << '\n';
}

// splitmix64: the same sequence of bit patterns on every platform.
std::uint64_t nextBits(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

// A hex float as the hard cases are written, [-]0x1.<hex digits>p<exponent>,
// read exactly here rather than by a C library that may not know the form.
double parseHexFloat(const std::string& text) {
    const bool negative = text.front() == '-';
    const std::size_t point = text.find('.'), p = text.find('p');
    std::uint64_t mantissa = 1;
    for (std::size_t i = point + 1; i < p; ++i) {
        mantissa = mantissa << 4 | std::stoull(text.substr(i, 1), nullptr, 16);
    }
    const int exponent = std::stoi(text.substr(p + 1)) - 4 * static_cast<int>(p - point - 1);
    const double magnitude = std::ldexp(static_cast<double>(mantissa), exponent);
    return negative ? -magnitude : magnitude;
}

void printTrigCases(std::istream& hardCases) {
    std::string line, function, hex;
    while (std::getline(hardCases, line)) {
        std::istringstream fields(line);
        if (fields >> function >> hex && function.front() != '#') {
            printTrig(function, parseHexFloat(hex));
        }
    }
    std::uint64_t state = 1;
    for (int i = 0; i < 50000; ++i) {
        // Any sign and mantissa, exponents from 2^-64 to 2^63, and now and then any at all.
        const std::uint64_t bits = nextBits(state);
        const std::uint64_t exponent = i % 8 == 0 ? bits >> 52 & 0x7ff : 0x3bf + (bits >> 52) % 128;
        const double x = std::bit_cast<double>((bits & 0x800fffffffffffffu) | exponent << 52);
        printTrig("tan", x);
        printTrig("atan", x);
    }
}

void printCalculations(std::istream& corpus) {
    std::string line;
    while (std::getline(corpus, line)) {
        std::istringstream fields(line);
        std::string name;
        if (!(fields >> name) || name.front() == '#') {
            continue;
        }
        ProfileState state;
        state.TrackLength = readBits(fields);
        state.SectionHeight.at(1) = readBits(fields);
        state.StartGradient = DegreesToRadians(readBits(fields));
        state.EndGradient = DegreesToRadians(readBits(fields));
        int sections = 0;
        fields >> std::dec >> sections;
        state.SectionCount = static_cast<std::int16_t>(sections);
        Output out(name);
        const bool calculated = CalculateProfile(state);
        out.word(calculated ? "calculated" : "refused");
        if (calculated) {
            printTables(state, out);
            printDerived(state, out);
        }
        std::cout << out.str() << '\n';
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool trig = argc == 3 && std::string(argv[1]) == "--trig";
    std::ifstream input(argc == 2 || trig ? argv[argc - 1] : "");
    if (!input) {
        std::cerr << "usage: calculation_driver CORPUS | --trig HARD_CASES\n";
        return 2;
    }
    if (trig) {
        printTrigCases(input);
    } else {
        printCalculations(input);
    }
    return 0;
}
