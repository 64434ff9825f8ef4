// The stereo display modes and the two anaglyph choices, with the numbers the program has
// always given them. What each one is and does is its row in the display-mode table
// (display_modes.h) or the anaglyph-method table (anaglyph_methods.h).
#pragma once

namespace duplora {

enum class DisplayMode : int {
    SideBySide = 0,
    OverUnder = 1,
    ThreeViews = 10,
    Interlace = 20,
    GreyAnaglyph = 21,
    ColourAnaglyph = 22,
    Single = 25,  // only one view is loaded
    // Outputs for 3D televisions and headsets, never shown in the window: each view halved
    // in width (side by side) or in height (over/under), so the picture keeps a view's size.
    HalfSideBySide = 30,
    HalfOverUnder = 31,
};

// Stored as `nAnatype`.
enum class GreyAnaglyphPair : int { RedCyan = 0, RedGreen = 1, RedBlue = 2, YellowBlue = 3 };

// Stored as `nAnactype`.
enum class ColourAnaglyphKind : int {
    ColourRedCyan = 0,
    HalfToneRedCyan = 1,
    ColourYellowBlue = 2,
    HalfToneYellowBlue = 3,
    // Least-squares weights of both views' colours (dubois.h); no level tables.
    DuboisRedCyan = 4,
    DuboisGreenMagenta = 5,
    DuboisAmberBlue = 6,
};

}  // namespace duplora
