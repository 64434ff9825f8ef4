// What the shell's settings dialogs do with their values, apart from the widgets: the settings
// dialog SETTEI, page flipping W3D, command-line start COMSET and the free-trim ratio FREETRIM.
// Each step changes the Settings object and returns the values to write, so the dialog only
// shows the state and hands the returned writes to the store.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "app/shell/settings.h"
#include "res/core/string_ids.h"

namespace duplora {

// ---- SETTEI ------------------------------------------------------------------------------

// Typed into the alignment-step field, this switches on reading LZW-compressed TIFF files.
inline constexpr int kLzwAccessNumber = 3947;

// The controls of the settings dialog that OK takes over.
struct SetteiState {
    std::string pluginFolder;                   // 1249
    std::string externalProgram;                // 1253
    int slideTime = 30;                         // 1246, tenths of a second
    int alignmentStep = 4;                      // 3161
    bool winMax = false;                        // 3062
    bool passPictureToExternalProgram = false;  // 1305
    int waku = 5;                               // 3074
    bool trimRescale = false;                   // 3091
    bool packToCentre = false;                  // 3095
    std::array<int, 10> trimSizes{};            // 1349–1358, width and height alternating
};

SetteiState SetteiStateFromSettings(const Settings& settings);

struct SetteiResult {
    SettingWrites writes;
    bool lzwSwitchedOn = false;
};

// OK: takes the values over into the settings and returns what is written, in order.
// Numbers outside what start-up accepts are clamped, so the running program uses what the
// next start will read.
SetteiResult ApplySetteiOk(Settings& settings, const SetteiState& state);

// 3061 and 3063 act at once: toggle and write `adjustDialogMaximised` / `twoStepTrim`.
SettingWrites ToggleKantyo(Settings& settings);
SettingWrites ToggleTwoStepTrim(Settings& settings);

// After the dialog (confirmed or not): the background colour lives in `border`, which is
// written so that a colour chosen with "Farbe..." stays.
SettingWrites SetteiClosingWrites(const Settings& settings);

// The plug-in folder taken from a file chosen in the plug-in file dialog: its folder, with
// a trailing '/'.
std::string PluginFolderOfFile(std::string_view filePath);

// ---- W3D ---------------------------------------------------------------------------------

struct ScreenMode {
    int width;
    int height;
};

// The texts of the three lists.
std::span<const char* const> W3dTextureSizeTexts();  // 1028: "1024X1024" … "10240X10240"
std::span<const char* const> W3dResolutionTexts();   // 1024: "640X480" … "1600X1200"
// 1026: StringId::W3dColours16 "64K Farben (16)" and StringId::W3dColours32 "Full Farben (32)".
inline constexpr std::array<int, 2> kW3dColourTextIds{StringId::W3dColours16,
                                                      StringId::W3dColours32};

// Page-flipping screen mode of `pageFlipScreenMode` (0 … 5).
ScreenMode PageFlipScreenMode(int pageFlipScreenMode);
// Colour depth in bits of `pageFlipColourDepth`: 0 → 8, 1 → 16, 2 → 32.
int PageFlipBitDepth(int pageFlipColourDepth);
// Edge length of the OpenGL texture of `textureSize`.
int PageFlipTextureSize(int textureSize);

struct W3dState {
    int resolution;  // list 1024 index
    int colours;     // list 1026 index
    int texture;     // list 1028 index
    int driver;      // 0 Win3D (3162), 1 NVidia (3163), 2 OpenGL (3164)
};

// The dialog's start: a colour depth of 0 or above 2 is first set to 1 (16 bits).
W3dState W3dStateFromSettings(Settings& settings);
// With OpenGL the texture controls (1027, 1028) show instead of resolution and colours
// (1024, 1025, 1026).
inline bool W3dShowsTextureControls(int driver) {
    return driver == 2;
}

// Every choice is applied and written at once; out-of-list indices change nothing.
SettingWrites W3dChooseResolution(Settings& settings, int index);
SettingWrites W3dChooseColours(Settings& settings, int index);
SettingWrites W3dChooseTexture(Settings& settings, int index);
SettingWrites W3dChooseDriver(Settings& settings, int driver);

// ---- COMSET ------------------------------------------------------------------------------

struct ComsetState {
    int layout;   // StereoLayout of files named on the command line: radio 3001 + layout
    int display;  // 0 … 6: radio 1500 + display
};

ComsetState ComsetStateFromSettings(const Settings& settings);
inline int ComsetLayoutRadio(int layout) {
    return 3001 + layout;
}
inline int ComsetDisplayRadio(int display) {
    return 1500 + display;
}
// OK: `commandLineOpening` = layout × 10 + display.
SettingWrites ApplyComsetOk(Settings& settings, const ComsetState& state);

// ---- FREETRIM ----------------------------------------------------------------------------

struct FreeTrimState {
    bool keepRatio;  // 3218
    int x;           // 3236
    int y;           // 3237
};

FreeTrimState FreeTrimStateFromSettings(const Settings& settings);
// OK: a side of 0 makes the ratio 4 : 4; writes `freeTrimRatio`.
SettingWrites ApplyFreeTrimOk(Settings& settings, const FreeTrimState& state);

}  // namespace duplora
