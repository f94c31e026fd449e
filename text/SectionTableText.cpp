#include "text/SectionTableText.h"

#include "profile/ProfileCurve.h"
#include "text/NumberText.h"

#include <QCoreApplication>

#include <array>
#include <charconv>

namespace pendrio {

namespace {

constexpr char TranslationContext[] = "pendrio::SectionTableText";

// The headers are translated for people (the table, the copied text) and
// stay as written here in the CSV file, which programs read.
#define N(text) QT_TRANSLATE_NOOP("pendrio::SectionTableText", text)
const std::vector<SectionColumn> columns{
    {N("Section"), [](const ProfileState&, int i) { return double(i); }, true},
    {N("Distance at start [track units]"), SectionStart, false},
    {N("Section length [track units]"), [](const ProfileState& p, int) { return p.SectionLength; },
     false},
    {N("2nd order coefficient [track units]"),
     [](const ProfileState& p, int i) { return p.SectionCoeff2.at(i); }, false},
    {N("1st order coefficient [track units]"),
     [](const ProfileState& p, int i) { return p.SectionCoeff1.at(i); }, false},
    {N("Height at start of section [track units]"),
     [](const ProfileState& p, int i) { return p.SectionHeight.at(i); }, false},
    {N("Gradient at start of section [°]"),
     [](const ProfileState& p, int i) { return RadiansToDegrees(p.SectionStartAngle.at(i)); },
     false},
    {N("Gradient at end of section [°]"),
     [](const ProfileState& p, int i) { return RadiansToDegrees(p.SectionEndAngle.at(i)); }, false},
};

#undef N

QByteArray shortestText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QByteArray(buffer.data(), result.ptr - buffer.data());
}

} // namespace

const std::vector<SectionColumn>& SectionColumns() {
    return columns;
}

QString SectionHeaderText(int column) {
    return QCoreApplication::translate(TranslationContext,
                                       columns.at(static_cast<std::size_t>(column)).header);
}

QString SectionCellText(const ProfileState& profile, int section, int column,
                        const QLocale& locale) {
    const SectionColumn& c = columns.at(static_cast<std::size_t>(column));
    if (c.wholeNumber) {
        return NumberToText(static_cast<std::int16_t>(section), locale);
    }
    return NumberToText(c.value(profile, section), locale);
}

QString SectionsAsTabText(const ProfileState& profile, const QLocale& locale,
                          const std::vector<int>& sections) {
    QString text;
    text.reserve(200 * (CalculatedSectionCount(profile) + 1));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        text += (c ? QStringLiteral("\t") : QString()) + SectionHeaderText(int(c));
    }
    text += u'\n';
    const auto addRow = [&](int section) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c) {
                text += u'\t';
            }
            text += SectionCellText(profile, section, int(c), locale);
        }
        text += u'\n';
    };
    if (sections.empty()) {
        for (int i = 1; i <= CalculatedSectionCount(profile); ++i) {
            addRow(i);
        }
    }
    for (int section : sections) {
        addRow(section);
    }
    return text;
}

QByteArray SectionsAsCsv(const ProfileState& profile) {
    // The headers hold no comma, quote or line end, so no field needs quoting.
    // The degree sign becomes "deg", so that the file is plain ASCII: a
    // spreadsheet that reads it in a Windows code page would show "Â°".
    QByteArray csv;
    for (const SectionColumn& column : columns) {
        csv += QByteArray(column.header).replace("°", "deg") + ',';
    }
    csv += "Gradient at start of section [rad],Gradient at end of section [rad]\r\n";
    for (int i = 1; i <= CalculatedSectionCount(profile); ++i) {
        for (const SectionColumn& column : columns) {
            csv += (column.wholeNumber ? QByteArray::number(i)
                                       : shortestText(column.value(profile, i)));
            csv += ',';
        }
        csv += shortestText(profile.SectionStartAngle.at(i)) + ',' +
               shortestText(profile.SectionEndAngle.at(i)) + "\r\n";
    }
    return csv;
}

} // namespace pendrio
