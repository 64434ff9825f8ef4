// The stereo layouts of a file.
#pragma once

#include <optional>

namespace duplora {

// How one file holds both views; the numbers are stored in the file history, in slide-show
// lists and in the start setting.
enum class StereoLayout : int {
    SideBySide = 0,   // "Nebeneinander": left half, right half
    OverUnder = 1,    // "Übereinander": top half left, bottom half right
    Interlace = 2,    // line-interlaced, even rows (from the bottom) left
    Anaglyph = 3,     // red channel left, green or blue right
    TurnedRight = 4,  // "SIS": turned 90° right, top half right, bottom half left
    TurnedLeft = 5,   // as 4, turned 90° left
    TriDeltaTT = 6,   // "Tri-Delta (TT)"
    TriDeltaBB = 7,   // "Tri-Delta (BB)"
    Mpo = 8,          // a multi-picture file: its first picture left, its second right
    Pair = 10,        // a pair of two files was opened
    Single = 20,      // one picture shown alone, not split
};

// The layout with this number; none for a number that is not a layout.
std::optional<StereoLayout> StereoLayoutFromNumber(int number);
// The layout the stereo-image dialog starts on: a remembered value above 9 becomes 0.
StereoLayout LayoutForStereoDialog(StereoLayout remembered);
}  // namespace duplora
