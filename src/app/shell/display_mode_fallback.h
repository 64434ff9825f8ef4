// The display modes, taken from the stereo core when it is part of the build; until then the
// shell carries the same enumeration with the same numbers.
#pragma once

#if __has_include("core/stereo/display_mode.h")
#include "core/stereo/display_mode.h"
#else
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

}  // namespace duplora
#endif
