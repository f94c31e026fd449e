#include "SoakOracle.h"

#include "profile/ProfileCurve.h"
#include "text/ChainageText.h"
#include "text/NumberText.h"

#include <QRegularExpression>
#include <QStringList>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

namespace pendrio::soak {

namespace {

// One cell as a table, a copy or a file must write it.
struct Cell {
    enum Kind { Whole, Shortest, Digits15, Fixed, Chainage, Text };
    Cell(Kind kind, double value, int places = 0) : kind(kind), value(value), places(places) {}
    explicit Cell(QString text) : kind(Text), text(std::move(text)) {}
    Kind kind;
    double value = 0;
    int places = 0; // Fixed: decimals shown
    QString text;   // Text
};
using Row = std::vector<Cell>;

QString pointOf(const QLocale& locale) {
    return locale.decimalPoint();
}

// A number in the locale's form, as the C library reads it; none for
// anything else (the other separator, grouping, stray characters).
std::optional<double> readNumber(QString text, const QLocale& locale) {
    const QString point = pointOf(locale);
    if (text.contains(point == "." ? u',' : u'.')) {
        return std::nullopt;
    }
    const QByteArray bytes = text.replace(point, QStringLiteral(".")).toLatin1();
    double value = 0;
    const auto [end, error] = std::from_chars(bytes.begin(), bytes.end(), value);
    if (bytes.isEmpty() || error != std::errc() || end != bytes.end()) {
        return std::nullopt;
    }
    return value;
}

QString shortest(double value) {
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QString::fromLatin1(buffer.data(), written.ptr - buffer.data());
}

// The kilometre form of a chainage from its millimetres, ties to even.
QString kilometreText(double metres, const QLocale& locale) {
    const double key = ChainageMillimetres(metres);
    const long long mm = std::llabs(static_cast<long long>(key));
    return QString::asprintf("%s%lld+%03lld", key < 0 ? "-" : "", mm / 1000000, mm / 1000 % 1000) +
           pointOf(locale) + QString::asprintf("%03lld", mm % 1000);
}

// Half to even at `places` decimals, as a measurement is shown.
std::optional<double> fixedRounded(double value, int places) {
    const double scale = std::pow(10.0, places);
    const double rounded = std::nearbyint(value * scale) / scale;
    return std::isfinite(value * scale) && std::fabs(rounded) < 1e15
               ? std::optional<double>(rounded + 0.0)
               : std::nullopt;
}

int decimalsOf(const QString& text, const QLocale& locale) {
    const qsizetype at = text.indexOf(pointOf(locale));
    return at < 0 ? 0 : int(text.size() - at - 1);
}

bool matches(const QString& token, const Cell& cell, const QLocale& locale) {
    switch (cell.kind) {
    case Cell::Whole:
        return token == QString::number(static_cast<long long>(cell.value));
    case Cell::Shortest:
        return token == shortest(cell.value);
    case Cell::Digits15:
        return readNumber(token, locale) == RoundedTo15Digits(cell.value);
    case Cell::Fixed:
        if (const std::optional<double> rounded = fixedRounded(cell.value, cell.places)) {
            return decimalsOf(token, locale) == cell.places && readNumber(token, locale) == rounded;
        }
        return readNumber(token, locale) == RoundedTo15Digits(cell.value);
    case Cell::Chainage:
        return token == kilometreText(cell.value, locale);
    case Cell::Text:
        return token == cell.text;
    }
    return false;
}

QString compareRow(const QStringList& cells, const Row& row, const QString& name,
                   const QLocale& locale) {
    if (cells.size() != qsizetype(row.size())) {
        return name + QString::asprintf(" has %d cells: ", int(cells.size())) + cells.join(u'|');
    }
    for (std::size_t c = 0; c < row.size(); ++c) {
        if (!matches(cells[qsizetype(c)], row[c], locale)) {
            const QString engine = row[c].kind == Cell::Text ? row[c].text
                                   : row[c].kind == Cell::Chainage
                                       ? kilometreText(row[c].value, locale)
                                       : shortest(row[c].value);
            return name + QString::asprintf(", column %d: \"", int(c + 1)) + cells[qsizetype(c)] +
                   "\" for the engine's " + engine;
        }
    }
    return {};
}

// Rows in order and no others; the first that differs says most, where a
// second curve begins.
QString compareRows(const std::vector<QStringList>& found, const std::vector<Row>& rows,
                    const QString& table, const QLocale& locale) {
    for (std::size_t r = 0; r < std::min(found.size(), rows.size()); ++r) {
        const QString problem =
            compareRow(found[r], rows[r], table + QString::asprintf(" row %d", int(r + 1)), locale);
        if (!problem.isEmpty()) {
            return problem;
        }
    }
    return found.size() == rows.size()
               ? QString()
               : table +
                     QString::asprintf(" has %d rows, not %d", int(found.size()), int(rows.size()));
}

// A header line, then a line per row, each ended by `lineEnd`.
QString compareTable(const QString& text, const QString& lineEnd, QChar separator,
                     const std::vector<Row>& rows, const QLocale& locale) {
    QStringList lines = text.split(lineEnd);
    if (lines.size() < 2 || !lines.takeLast().isEmpty()) {
        return QStringLiteral("no header, or no line end after the last row");
    }
    std::vector<QStringList> found;
    for (qsizetype line = 1; line < lines.size(); ++line) {
        found.push_back(lines[line].split(separator));
    }
    return compareRows(found, rows, QStringLiteral("the table"), locale);
}

Row sectionRow(const ProfileState& p, int i, Cell::Kind numbers) {
    Row row{{Cell::Whole, double(i)}};
    for (const double value :
         {SectionStart(p, i), p.SectionLength, p.SectionCoeff2.at(i), p.SectionCoeff1.at(i),
          p.SectionHeight.at(i), RadiansToDegrees(p.SectionStartAngle.at(i)),
          RadiansToDegrees(p.SectionEndAngle.at(i))}) {
        row.push_back({numbers, value});
    }
    return row;
}

QString pointName(StationPoint point) {
    static const char* const names[] = {"", "start", "end", "high point", "low point"};
    return QString::fromLatin1(names[static_cast<int>(point)]);
}

// The table's columns; `full` adds the chainage in metres and writes every
// number whole in `numbers`, else they are rounded as the table shows them.
Row stationRow(const Station& s, Cell::Kind numbers, bool full) {
    Row row{{Cell::Chainage, s.Chainage}};
    if (full) {
        row.push_back({numbers, s.Chainage});
    }
    row.push_back(Cell(pointName(s.Point)));
    row.push_back({numbers, s.Distance, 3});
    row.push_back({numbers, s.Height / UnitsPerMetre, 3});
    row.push_back({numbers, s.Slope * 1000, 2});
    return row;
}

std::vector<int> allOf(int count, int first) {
    std::vector<int> all;
    for (int i = 0; i < count; ++i) {
        all.push_back(first + i);
    }
    return all;
}

std::vector<Row> stationRows(const ShownCurve& shown, const std::vector<int>& rows,
                             Cell::Kind numbers, bool full) {
    const StationPlan plan = shown.plan();
    std::vector<Row> table;
    for (const int row : rows.empty() ? allOf(plan.Count, 0) : rows) {
        table.push_back(stationRow(StationAt(shown.profile, plan, row), numbers, full));
    }
    return table;
}

} // namespace

double RoundedTo15Digits(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", value);
    return std::strtod(text, nullptr) + 0.0;
}

QString CheckSectionsCsv(const QByteArray& csv, const ProfileState& profile) {
    std::vector<Row> rows;
    for (int i = 1; i <= CalculatedSectionCount(profile); ++i) {
        Row row = sectionRow(profile, i, Cell::Shortest);
        row.push_back({Cell::Shortest, profile.SectionStartAngle.at(i)});
        row.push_back({Cell::Shortest, profile.SectionEndAngle.at(i)});
        rows.push_back(row);
    }
    return compareTable(QString::fromLatin1(csv), QStringLiteral("\r\n"), u',', rows, QLocale::c());
}

QString CheckStationsCsv(const QByteArray& csv, const ShownCurve& shown) {
    return compareTable(QString::fromLatin1(csv), QStringLiteral("\r\n"), u',',
                        stationRows(shown, {}, Cell::Shortest, true), QLocale::c());
}

QString CheckSectionsCopy(const QString& text, const ProfileState& profile, const QLocale& locale,
                          std::vector<int> sections) {
    std::vector<Row> rows;
    for (const int i : sections.empty() ? allOf(CalculatedSectionCount(profile), 1) : sections) {
        rows.push_back(sectionRow(profile, i, Cell::Digits15));
    }
    return compareTable(text, QStringLiteral("\n"), u'\t', rows, locale);
}

QString CheckStationsCopy(const QString& text, const ShownCurve& shown, const QLocale& locale,
                          std::vector<int> rows) {
    return compareTable(text, QStringLiteral("\n"), u'\t',
                        stationRows(shown, rows, Cell::Digits15, true), locale);
}

namespace {

// The section rows (eight numbers, the first whole) and the station rows (a
// kilometre chainage first, the point's words, three numbers) of a report,
// each cut into the table's cells.
struct ReportRows {
    std::vector<QStringList> sections;
    std::vector<QStringList> stations;
};

ReportRows reportRows(const QString& text, const QLocale& locale) {
    static const QRegularExpression chainage(QStringLiteral("^-?\\d+\\+\\d{3}[.,]\\d{3}$"));
    ReportRows rows;
    for (const QString& line : text.split(u'\n')) {
        const QStringList tokens = line.simplified().split(u' ', Qt::SkipEmptyParts);
        const bool numbers = std::all_of(tokens.begin(), tokens.end(), [&](const QString& token) {
            return readNumber(token, locale).has_value();
        });
        if (tokens.size() == 8 && numbers && !tokens[0].contains(pointOf(locale))) {
            rows.sections.push_back(tokens);
        } else if (!tokens.isEmpty() && chainage.match(tokens[0]).hasMatch()) {
            // A row cut in two, or run together, keeps the cells it has.
            const QString point = tokens.mid(1, tokens.size() - 4).join(u' ');
            rows.stations.push_back(tokens.size() < 4 ? tokens
                                                      : QStringList{tokens[0], point} +
                                                            tokens.mid(tokens.size() - 3));
        }
    }
    return rows;
}

// The interval and the chainage a sentence names ("every 20 m from 1+000.000")
// are those typed, as the box took them.
bool namesTyped(const QRegularExpressionMatch& every, const ShownCurve& shown,
                const QLocale& locale) {
    return every.hasMatch() &&
           readNumber(every.captured(1), locale) == RoundedTo15Digits(shown.interval) &&
           every.captured(2) == kilometreText(shown.startChainage, locale);
}

QString checkStationsHeading(const QString& text, const ShownCurve& shown, const QLocale& locale) {
    static const QRegularExpression why(QStringLiteral("No stations: .*?(range|interval)\\."));
    static const QRegularExpression heading(QStringLiteral("Stations every (\\S+) m from (\\S+)"));
    const QString flat = text.simplified();
    if (shown.plan().Problem != StationsProblem::None) {
        return CheckWhyNoStations(why.match(flat).captured(), shown, locale);
    }
    const QRegularExpressionMatch match = heading.match(flat);
    return namesTyped(match, shown, locale)
               ? QString()
               : "the station table's heading is \"" + match.captured() + '"';
}

} // namespace

QString CheckReportText(const QString& text, const ShownCurve& shown, const QLocale& locale) {
    const ReportRows found = reportRows(text, locale);
    std::vector<Row> sections;
    for (int i = 1; i <= CalculatedSectionCount(shown.profile); ++i) {
        sections.push_back(sectionRow(shown.profile, i, Cell::Digits15));
    }
    QString problem =
        compareRows(found.sections, sections, QStringLiteral("section table"), locale);
    if (problem.isEmpty()) {
        problem = compareRows(found.stations, stationRows(shown, {}, Cell::Fixed, false),
                              QStringLiteral("station table"), locale);
    }
    return problem.isEmpty() ? checkStationsHeading(text, shown, locale) : problem;
}

QString CheckWhyNoStations(const QString& sentence, const ShownCurve& shown,
                           const QLocale& locale) {
    static const QRegularExpression why(
        QStringLiteral("^No stations: every (\\S+) m from (\\S+) gives (too many for this "
                       "stretch\\. Choose a longer interval|chainages beyond range)\\.$"));
    const QRegularExpressionMatch match = why.match(sentence);
    const StationsProblem problem = shown.plan().Problem;
    const bool tooMany = match.captured(3).startsWith(QStringLiteral("too many"));
    const bool right = problem != StationsProblem::None &&
                       tooMany == (problem == StationsProblem::TooManyStations) &&
                       namesTyped(match, shown, locale);
    return right ? QString()
                 : '"' + sentence + "\" for every " + shortest(shown.interval) + " m from " +
                       kilometreText(shown.startChainage, locale) +
                       (problem == StationsProblem::None ? ", which has stations"
                                                         : ", which has none");
}

namespace {

// "2.250 m (44291 track units), gradient -1.50 ‰", the unit View chose first.
bool heightAnswerIs(const QString& answer, const Station& at, const QLocale& locale,
                    bool metresFirst) {
    static const QRegularExpression height(
        QStringLiteral("^(\\S+) (m|track units) \\((\\S+) (m|track units)\\), gradient (\\S+) ‰$"));
    const QRegularExpressionMatch m = height.match(answer);
    const int metres = metresFirst ? 1 : 3;
    const Row expected{{Cell::Fixed, at.Height / UnitsPerMetre, 3},
                       {Cell::Fixed, at.Height, 0},
                       {Cell::Fixed, at.Slope * 1000, 2}};
    return m.hasMatch() && m.captured(2) == (metresFirst ? "m" : "track units") &&
           compareRow({m.captured(metres), m.captured(4 - metres), m.captured(5)}, expected, {},
                      locale)
               .isEmpty();
}

} // namespace

QString CheckChainageAnswer(const QString& answer, const QString& typed, const ShownCurve& shown,
                            const QLocale& locale, bool metresFirst) {
    // Texts that once got no answer: none is a chainage.
    static const QStringList malformed{"abc", "1+", "1+50", "1 + 300", "1+2+3"};
    const std::optional<double> chainage =
        malformed.contains(typed.trimmed()) ? std::nullopt : TextToChainage(typed, locale);
    const std::optional<Station> at =
        chainage ? StationAtChainage(shown.profile, shown.startChainage, *chainage) : std::nullopt;
    const QString notAChainage =
        "not a chainage: type it as 1+020" + pointOf(locale) + "000 or 1020";
    bool right = false;
    if (typed.trimmed().isEmpty()) {
        right = answer.isEmpty();
    } else if (at) {
        right = heightAnswerIs(answer, *at, locale, metresFirst);
    } else if (chainage || TextToNumber(typed, locale)) {
        right = answer.startsWith(QStringLiteral("off the stretch, which runs from "));
    } else {
        right = answer == notAChainage;
    }
    return right ? QString()
                 : "\"Height at chainage\" answers \"" + answer + "\" to \"" + typed.left(60) + '"';
}

namespace {

// Plain metres, beyond the double range too, or a kilometre chainage.
std::optional<long double> readValue(const QString& text, const QLocale& locale) {
    if (const std::optional<double> chainage = TextToChainage(text, locale)) {
        return *chainage;
    }
    const QByteArray bytes = QString(text).replace(pointOf(locale), QStringLiteral(".")).toLatin1();
    long double value = 0;
    const auto [end, error] = std::from_chars(bytes.begin(), bytes.end(), value);
    return error == std::errc() && end == bytes.end() && !bytes.isEmpty()
               ? std::optional<long double>(value)
               : std::nullopt;
}

} // namespace

QString CheckShortenedValue(const QString& shown, const QString& toolTip, const QLocale& locale) {
    if (toolTip.isEmpty() || shown == toolTip) {
        return {};
    }
    const std::optional<long double> value = readValue(shown, locale);
    const std::optional<long double> whole = readValue(toolTip, locale);
    int digits = 0;
    for (const QChar c : shown.section(u'E', 0, 0)) {
        digits += c.isDigit() && (digits > 0 || c != u'0'); // leading zeros are no digits
    }
    const long double halfUnit = std::fabs(value.value_or(0)) * 0.5L * std::pow(10.0L, 1 - digits);
    return value && whole && std::fabs(*value - *whole) <= halfUnit * (1 + 1e-9L)
               ? QString()
               : "a box shows \"" + shown + "\" for \"" + toolTip + "\"";
}

} // namespace pendrio::soak
