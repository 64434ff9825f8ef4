// The numbers the view arithmetic speaks in: display modes and the command numbers the view
// receives or sends. Modes are plain ints here with the display composer's numbers, so the
// view code needs nothing of the composer.
#pragma once

namespace duplora {

namespace view_mode {
inline constexpr int kSideBySide = 0;
inline constexpr int kOverUnder = 1;
inline constexpr int kThreeViews = 10;
inline constexpr int kInterlace = 20;
inline constexpr int kGreyAnaglyph = 21;
inline constexpr int kColourAnaglyph = 22;
inline constexpr int kSingle = 25;
}  // namespace view_mode

namespace view_command {
inline constexpr int kZoom100 = 2002;
inline constexpr int kFitWindow = 2003;
inline constexpr int kZoomIn = 2004;
inline constexpr int kZoomOut = 2005;
inline constexpr int kZoom50 = 2024;
inline constexpr int kZoom75 = 2025;
inline constexpr int kZoom150 = 2026;
inline constexpr int kZoom200 = 2027;
inline constexpr int kFitHeight = 2174;
inline constexpr int kFitHeightAgain = 2185;
inline constexpr int kFitWidth = 2186;
inline constexpr int kFitWidthAgain = 2187;

inline constexpr int kFullScreen = 2018;
inline constexpr int kLeaveFullScreen = 2052;  // Esc

inline constexpr int kFreeTrim = 2022;
inline constexpr int kPhoneArea = 2029;
inline constexpr int kTrimCustom = 2060;  // 2061–2065: the five presets
inline constexpr int kTrimPreset1 = 2061;
inline constexpr int kTrimPreset5 = 2065;
inline constexpr int kTrimDone = 2066;
inline constexpr int kPresetTrimDone = 2128;
inline constexpr int kPhoneAreaDone = 2104;

inline constexpr int kNextImage = 2069;
inline constexpr int kPreviousImage = 2070;
inline constexpr int kSlideShow = 2071;
inline constexpr int kNextPair = 2074;
}  // namespace view_command

}  // namespace duplora
