#include "text/StationTableText.h"

#include <cmath>

#include <algorithm>
#include <array>

namespace pendrio {

namespace {

// Indexed by StationPoint.
const std::array<const char*, 5> pointNames{
    "",
    QT_TRANSLATE_NOOP("pendrio::StationTableText", "start"),
    QT_TRANSLATE_NOOP("pendrio::StationTableText", "end"),
    QT_TRANSLATE_NOOP("pendrio::StationTableText", "high point"),
    QT_TRANSLATE_NOOP("pendrio::StationTableText", "low point"),
};

} // namespace

const TableDescription<Station>& StationsTable() {
    using S = Station;
    static const TableDescription<Station> table{
        "pendrio::StationTableText",
        {
            {{QT_TRANSLATE_NOOP("pendrio::StationTableText", "Chainage"), CellKind::Chainage,
              Everywhere, 3, "-88+888.888"},
             [](const S& s) { return Cell{s.Chainage}; }},
            {{QT_TRANSLATE_NOOP("pendrio::StationTableText", "Chainage [m]"), CellKind::Number,
              InCopy | InCsv, -1, nullptr},
             [](const S& s) { return Cell{s.Chainage}; }},
            {{QT_TRANSLATE_NOOP("pendrio::StationTableText", "Point"), CellKind::Name, Everywhere,
              -1, pointNames[std::size_t(StationPoint::HighPoint)]},
             [](const S& s) {
                 const auto index = std::size_t(s.Point);
                 return Cell{0, index < pointNames.size() ? pointNames[index] : ""};
             }},
            {{QT_TRANSLATE_NOOP("pendrio::StationTableText", "Distance [m]"), CellKind::Number,
              Everywhere, 3, "88888.888"},
             [](const S& s) { return Cell{s.Distance}; }},
            {{QT_TRANSLATE_NOOP("pendrio::StationTableText", "Height [m]"), CellKind::Number,
              Everywhere, 3, "-8888.888"},
             [](const S& s) { return Cell{s.Height / UnitsPerMetre}; }},
            // A slope as the trade gives it on a gradient post: rise per thousand.
            {{QT_TRANSLATE_NOOP("pendrio::StationTableText", "Gradient [‰]"), CellKind::Number,
              Everywhere, 2, "-888.88"},
             [](const S& s) { return Cell{s.Slope * 1000}; }},
        }};
    return table;
}

QString StationsAsTabText(const ProfileState& profile, const StationPlan& plan,
                          const QLocale& locale, const std::vector<int>& rows) {
    const auto rowOf = [&](int row) { return StationAt(profile, plan, row); };
    if (rows.empty()) {
        return TableLines(StationsTable(), InCopy, RowNumbers(0, plan.Count), rowOf, locale);
    }
    std::vector<int> inPlan;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(inPlan),
                 [&](int row) { return row >= 0 && row < plan.Count; });
    return TableLines(StationsTable(), InCopy, inPlan, rowOf, locale);
}

QByteArray StationsAsCsv(const ProfileState& profile, const StationPlan& plan) {
    return TableLines(
               StationsTable(), InCsv, RowNumbers(0, plan.Count),
               [&](int row) { return StationAt(profile, plan, row); }, QLocale::c())
        .toLatin1();
}

} // namespace pendrio
