#include "text/TableText.h"

#include "text/ChainageText.h"
#include "text/NumberText.h"

#include <numeric>

namespace pendrio {

// The CSV's is plain ASCII, so that a spreadsheet reading it in a Windows
// code page shows no "Â°".
QString HeaderText(const char* context, const ColumnFormat& format, Shown where) {
    if (where != InCsv) {
        return QCoreApplication::translate(context, format.header);
    }
    return QString::fromUtf8(format.header)
        .replace(u'°', QStringLiteral("deg"))
        .replace(u'‰', QStringLiteral("per mille"));
}

QString CellText(const char* context, const ColumnFormat& format, const Cell& cell, Shown where,
                 const QLocale& locale) {
    const bool csv = where == InCsv;
    switch (format.kind) {
    case CellKind::Count:
        return QString::number(qint64(cell.value));
    case CellKind::Chainage:
        return ChainageText(cell.value, csv ? QLocale::c() : locale);
    case CellKind::Name:
        return csv || !*cell.name ? QString::fromUtf8(cell.name)
                                  : QCoreApplication::translate(context, cell.name);
    case CellKind::Number:
        break;
    }
    // Rounded for reading in the table; every digit a double holds elsewhere.
    if (csv) {
        return QString::fromLatin1(ShortestText(cell.value));
    }
    return where == InTable && format.places >= 0 ? FixedText(cell.value, format.places, locale)
                                                  : NumberToText(cell.value, locale);
}

std::vector<int> RowNumbers(int first, int count) {
    std::vector<int> rows(std::size_t(std::max(count, 0)));
    std::iota(rows.begin(), rows.end(), first);
    return rows;
}

Qt::Alignment CellAlignment(const ColumnFormat& format) {
    return format.kind == CellKind::Name ? Qt::AlignLeft : Qt::AlignRight;
}

QString ColumnSample(const char* context, const ColumnFormat& format) {
    if (!format.sample) {
        return QCoreApplication::translate(context, format.header);
    }
    return format.kind == CellKind::Name ? QCoreApplication::translate(context, format.sample)
                                         : QString::fromUtf8(format.sample);
}

} // namespace pendrio
