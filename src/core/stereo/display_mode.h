// The stereo display modes and the two anaglyph choices, with the numbers stored in
// settings, slide-show lists and the command line.
#pragma once

#include <optional>

namespace duplora {

enum class DisplayMode : int {
    SideBySide = 0,
    OverUnder = 1,
    ThreeViews = 10,
    Interlace = 20,
    GreyAnaglyph = 21,
    ColourAnaglyph = 22,
    Single = 25,  // only one view is loaded
};

enum class GreyAnaglyphPair : int { RedCyan = 0, RedGreen = 1, RedBlue = 2, YellowBlue = 3 };

enum class ColourAnaglyphKind : int {
    ColourRedCyan = 0,
    HalfToneRedCyan = 1,
    ColourYellowBlue = 2,
    HalfToneYellowBlue = 3,
};

// The mode with this number, or none for a number that is not a mode.
inline std::optional<DisplayMode> DisplayModeFromNumber(int number) {
    switch (number) {
        case 0:
        case 1:
        case 10:
        case 20:
        case 21:
        case 22:
        case 25:
            return static_cast<DisplayMode>(number);
        default:
            return std::nullopt;
    }
}

// The display digit of the start setting: 0–4 name a mode; 5 and 6 ask for page flipping,
// which is an output of its own, so they (and anything else) give none.
inline std::optional<DisplayMode> DisplayModeFromStartDigit(int digit) {
    switch (digit) {
        case 0:
            return DisplayMode::SideBySide;
        case 1:
            return DisplayMode::OverUnder;
        case 2:
            return DisplayMode::Interlace;
        case 3:
            return DisplayMode::GreyAnaglyph;
        case 4:
            return DisplayMode::ColourAnaglyph;
        default:
            return std::nullopt;
    }
}

}  // namespace duplora
