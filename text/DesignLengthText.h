// The ways of designing the curve's length on the Design tab, described once
// in words, and the answer to each: the length, or why no curve meets the
// request, for the line under its boxes.
#pragma once

#include "profile/DesignRadius.h"
#include "text/Outcome.h"

#include <QtGlobal>

namespace pendrio {

// The length in track units, or the translated reason there is none
// ("no length: the point is on or above the crest's start tangent").
Outcome<double> DesignLengthOutcome(const DesignLength& design);

// The texts below are marked in the context of the page, pendrio::DesignPage,
// which translates them.
// How a box of the Design tab reads its text: a length or a number that must be positive, a
// chainage as the Stations tab reads it, or a height of any sign in View's unit.
enum class DesignReading { PositiveLength, PositiveNumber, Chainage, Height };

// The Design tab's boxes, one row each, in the order of DesignPage::Box. The unit stands after the
// box; the height's follows View.
struct DesignBox {
    const char* name;
    const char* caption;
    const char* unit;
    const char* accessibleName;
    const char* toolTip;
    int digits; // the room the box has at least; it grows by four at most
    DesignReading reading;
};

inline const DesignBox DesignBoxes[] = {
    {"txtDesignRadius", QT_TRANSLATE_NOOP("pendrio::DesignPage", "S&mallest vertical radius"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "m"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "Vertical radius in metres"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "The smallest vertical radius the line allows, in metres"),
     10, DesignReading::PositiveLength},
    {"txtDesignK", QT_TRANSLATE_NOOP("pendrio::DesignPage", "&Length per 1 % change of gradient"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "m"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "K in metres per 1 % change of gradient"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "K: metres of curve for each 1 % the gradient changes; the length is K "
                       "times the change in %"),
     8, DesignReading::PositiveLength},
    {"txtDesignSpeed", QT_TRANSLATE_NOOP("pendrio::DesignPage", "&Train speed"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "km/h"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "Design speed in km/h"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "The line's design speed in km/h; the curve facts give the vertical "
                       "acceleration at it"),
     5, DesignReading::PositiveNumber},
    {"txtDesignAcceleration", QT_TRANSLATE_NOOP("pendrio::DesignPage", "vertical acceleratio&n"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "m/s²"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "Vertical acceleration allowed in m/s²"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "The vertical acceleration allowed at that speed, in m/s²: the smallest "
                       "radius is v² / a"),
     5, DesignReading::PositiveNumber},
    {"txtDesignPointChainage", QT_TRANSLATE_NOOP("pendrio::DesignPage", "Chaina&ge"), nullptr,
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "Chainage of the point"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "The point's chainage, as 1+200.000 or 1200, counted from the Chainage at "
                       "start of the Stations tab"),
     11, DesignReading::Chainage},
    {"txtDesignPointHeight", QT_TRANSLATE_NOOP("pendrio::DesignPage", "He&ight"), nullptr,
     QT_TRANSLATE_NOOP("pendrio::DesignPage", "Height of the point"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "The point's height, in the unit View chooses; the curve starts at the "
                       "height at start committed in the main window"),
     8, DesignReading::Height},
};

// One row per way, in the order of the option buttons; its boxes are
// `boxCount` rows of DesignBoxes from `firstBox`.
struct DesignWay {
    const char* name;
    const char* caption;
    const char* toolTip;
    int firstBox;
    int boxCount;
};

inline const DesignWay DesignWays[] = {
    {"optDesignRadius", QT_TRANSLATE_NOOP("pendrio::DesignPage", "&Radius"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "The length whose smallest vertical radius is the one given"),
     0, 1},
    {"optDesignK", QT_TRANSLATE_NOOP("pendrio::DesignPage", "&K value"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "The length for a K value: K times the change of gradient in %"),
     1, 1},
    {"optDesignSpeed", QT_TRANSLATE_NOOP("pendrio::DesignPage", "Design s&peed"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "The length whose smallest vertical radius is v² / a, for a design speed "
                       "v and the vertical acceleration a allowed"),
     2, 2},
    {"optDesignPoint", QT_TRANSLATE_NOOP("pendrio::DesignPage", "Through a p&oint"),
     QT_TRANSLATE_NOOP("pendrio::DesignPage",
                       "The length whose curve passes through a point: a clearance under a "
                       "bridge, the height of a level crossing"),
     4, 2},
};

} // namespace pendrio
