#pragma once
#include "Colour.h"

// The game's colours: the four players' tones (also the score digits'), and
// the arena's and the menu's shades, so every picture shares one palette.
namespace palette {
inline const Colour kYellow = Colour::rgb(235, 215, 90);
inline const Colour kRed = Colour::rgb(226, 95, 101);
inline const Colour kBlue = Colour::rgb(129, 187, 227);
inline const Colour kGreen = Colour::rgb(130, 200, 84);

inline const Colour kField = Colour::rgb(46, 58, 78);        // open arena floor
inline const Colour kFieldEdge = Colour::rgb(33, 41, 57);    // floor near the window edge
inline const Colour kBlock = Colour::rgb(68, 79, 102);       // corner blocks
inline const Colour kSlot = Colour::rgb(18, 22, 31);         // panels behind scores, icons, ticks
inline const Colour kSteel = Colour::rgb(160, 172, 190);     // rims and walls
inline const Colour kCentre = Colour::rgb(220, 225, 214);    // the light disc under the number
inline const Colour kInk = Colour::rgb(22, 24, 30);          // outlines
inline const Colour kPaleText = Colour::rgb(253, 232, 179);  // the high-score labels' colour
inline const Colour kWhite = Colour::rgb(255, 255, 255);
}  // namespace palette
