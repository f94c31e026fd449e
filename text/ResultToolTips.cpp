#include "text/ResultToolTips.h"

#include "maths/Transcendental.h"

#include "profile/ProfileState.h"
#include "text/NumberText.h"

#include <QCoreApplication>

#include <cmath>

namespace pendrio {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(pendrio::ResultToolTips)
};

} // namespace

QString LengthToolTip(double units, const QLocale& locale) {
    return Text::tr("%1 track units = %2 m")
        .arg(NumberToText(units, locale), NumberToText(units / UnitsPerMetre, locale));
}

QString GradientToolTip(double radians, const QLocale& locale) {
    const double slope = Tan(radians);
    return Text::tr("%1° = slope %2 % = %3 ‰")
        .arg(NumberToText(RadiansToDegrees(radians), locale), NumberToText(slope * 100.0, locale),
             NumberToText(slope * 1000.0, locale));
}

} // namespace pendrio
