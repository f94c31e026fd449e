// Chainages as a railway writes them: whole kilometres, a '+', and the metres
// within the kilometre, "12+345.679" for 12345.679 m along the line. Pegs are
// set out to the millimetre, so three decimals are written.
#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace pendrio {

// "1+020.000" for 1020 m, "-0+050.000" for -50 m, "12+345.679" for
// 12345.6789 m: kilometres, '+', three digits of metres, the locale's decimal
// separator, three decimals (rounded half to even at the millimetre; what
// rounds to zero is "0+000.000"). Total: a value that is not finite or beyond
// MaxChainage is written as NumberToText writes it.
QString ChainageText(double metres, const QLocale& locale = QLocale());

// Reads the kilometre form ([sign] digits '+' exactly three digits
// [separator digits]) or plain metres ("1020", "1020.5", "1,5E3" as
// TextToNumber reads it), blanks around allowed, the locale's decimal
// separator only; no value for anything else or beyond MaxChainage, with the
// same refusals as TextToNumber.
std::optional<double> TextToChainage(const QString& text, const QLocale& locale = QLocale());

} // namespace pendrio
