#include "text/TableText.h"

#include "text/ChainageText.h"
#include "text/NumberText.h"

#include <array>
#include <charconv>

namespace pendrio {

QByteArray ShortestText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QByteArray(buffer.data(), result.ptr - buffer.data());
}

QString CellText(const char* context, const ColumnFormat& format, const Cell& cell, Shown where,
                 const QLocale& locale) {
    switch (format.kind) {
    case CellKind::Count:
        return NumberToText(cell.value, locale);
    case CellKind::Chainage:
        return ChainageText(cell.value, locale);
    case CellKind::Name:
        return *cell.name ? QCoreApplication::translate(context, cell.name) : QString();
    case CellKind::Number:
        break;
    }
    // Rounded for reading in the table; every digit a double holds elsewhere.
    return where == InTable && format.places >= 0 ? FixedText(cell.value, format.places, locale)
                                                  : NumberToText(cell.value, locale);
}

QByteArray CsvField(const ColumnFormat& format, const Cell& cell) {
    switch (format.kind) {
    case CellKind::Count:
        return QByteArray::number(qint64(cell.value));
    case CellKind::Chainage:
        return ChainageText(cell.value, QLocale::c()).toLatin1();
    case CellKind::Name:
        return cell.name;
    case CellKind::Number:
        break;
    }
    return ShortestText(cell.value);
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

// So that a spreadsheet reading the file in a Windows code page shows no "Â°".
QByteArray CsvHeader(const ColumnFormat& format) {
    return QByteArray(format.header).replace("°", "deg").replace("‰", "per mille");
}

} // namespace pendrio
