#include "text/SectionTableText.h"

#include "profile/ProfileCurve.h"

namespace pendrio {

namespace {

// Room for any number written with 15 significant digits.
constexpr char NumberSample[] = "-8.88888888888888E+308";

} // namespace

const TableDescription<SectionRow>& SectionsTable() {
    using R = SectionRow;
    static const TableDescription<SectionRow> table{
        "pendrio::SectionTableText",
        {
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText", "Section"), CellKind::Count,
              Everywhere, -1, nullptr},
             [](const R& r) { return Cell{double(r.section)}; }},
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText", "Distance at start [track units]"),
              CellKind::Number, Everywhere, -1, NumberSample},
             [](const R& r) { return Cell{SectionStart(*r.profile, r.section)}; }},
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText", "Section length [track units]"),
              CellKind::Number, Everywhere, -1, NumberSample},
             [](const R& r) { return Cell{r.profile->SectionLength}; }},
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText", "2nd order coefficient [track units]"),
              CellKind::Number, Everywhere, -1, NumberSample},
             [](const R& r) { return Cell{r.profile->SectionCoeff2.at(r.section)}; }},
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText", "1st order coefficient [track units]"),
              CellKind::Number, Everywhere, -1, NumberSample},
             [](const R& r) { return Cell{r.profile->SectionCoeff1.at(r.section)}; }},
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText",
                                "Height at start of section [track units]"),
              CellKind::Number, Everywhere, -1, NumberSample},
             [](const R& r) { return Cell{r.profile->SectionHeight.at(r.section)}; }},
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText", "Gradient at start of section [°]"),
              CellKind::Number, Everywhere, -1, NumberSample},
             [](const R& r) {
                 return Cell{RadiansToDegrees(r.profile->SectionStartAngle.at(r.section))};
             }},
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText", "Gradient at end of section [°]"),
              CellKind::Number, Everywhere, -1, NumberSample},
             [](const R& r) {
                 return Cell{RadiansToDegrees(r.profile->SectionEndAngle.at(r.section))};
             }},
            // The stored values themselves, for programs.
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText", "Gradient at start of section [rad]"),
              CellKind::Number, InCsv, -1, nullptr},
             [](const R& r) { return Cell{r.profile->SectionStartAngle.at(r.section)}; }},
            {{QT_TRANSLATE_NOOP("pendrio::SectionTableText", "Gradient at end of section [rad]"),
              CellKind::Number, InCsv, -1, nullptr},
             [](const R& r) { return Cell{r.profile->SectionEndAngle.at(r.section)}; }},
        }};
    return table;
}

QString SectionsAsTabText(const ProfileState& profile, const QLocale& locale,
                          const std::vector<int>& sections) {
    const auto rowOf = [&](int section) { return SectionRow{&profile, section}; };
    const std::vector<int> all = RowNumbers(1, CalculatedSectionCount(profile));
    return sections.empty() ? TableLines(SectionsTable(), InCopy, all, rowOf, locale)
                            : TableLines(SectionsTable(), InCopy, sections, rowOf, locale);
}

QByteArray SectionsAsCsv(const ProfileState& profile) {
    return TableLines(
               SectionsTable(), InCsv, RowNumbers(1, CalculatedSectionCount(profile)),
               [&](int section) {
                   return SectionRow{&profile, section};
               },
               QLocale::c())
        .toLatin1();
}

} // namespace pendrio
