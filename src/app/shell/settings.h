// Every stored setting, read once at start into one Settings object and written back value by
// value when a dialog is confirmed or the program closes. Each member is named after its
// stored value and holds it after the start-up rules: a missing, garbage or out-of-range
// value is replaced by its start value, so the rest of the program never sees one.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "app/shell/settings_store.h"
#include "core/stereo/display_mode.h"

namespace duplora {

// Colours are colour references: red in the low byte, then green, then blue.
constexpr int ColourRef(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

// The text overlay settings (`textSettings`, `textDefaults`): thirteen numbers and the text.
struct TextSet {
    int corner = 3;  // 0 top left, 1 top right, 2 bottom left, 3 bottom right
    int xDistance = 0;
    int yDistance = 0;
    int depth = 0;
    int textColour = ColourRef(230, 230, 230);
    int smooth = 0;
    int shadow = 1;
    int shadowX = 1;
    int shadowY = 1;
    int shadowColour = ColourRef(32, 32, 32);
    int band = 1;
    int bandHeight = 0;
    int bandColour = 0;
    std::string text;
    bool operator==(const TextSet&) const = default;
};

// The logo overlay settings (`logoSettings`, `logoDefaults`): nine numbers and the logo file.
struct LogoSet {
    int corner = 3;
    int xDistance = 0;
    int yDistance = 0;
    int depth = 0;
    int band = 1;
    int bandHeight = 0;
    int bandColour = 0;
    int transparent = 0;
    int transparentColour = ColourRef(255, 255, 255);
    std::string file;
    bool operator==(const LogoSet&) const = default;
};

// The frame settings (`border`); the last field is the view's background colour.
struct BorderSet {
    int show = 0;
    int roundCorners = 1;
    int outerDisplay = 2;
    int middleDisplay = 10;
    int innerDisplay = 2;
    int outerPrint = 4;
    int middlePrint = 20;
    int innerPrint = 4;
    int outerColour = ColourRef(255, 255, 255);
    int middleColour = 0;
    int innerColour = ColourRef(255, 255, 255);
    int background = 0;
    bool operator==(const BorderSet&) const = default;
};

// `freeTrimRatio`: the free-trim ratio.
struct AspectSet {
    int keepRatio = 0;
    int x = 4;
    int y = 3;
    bool operator==(const AspectSet&) const = default;
};

// `customTrim`: the custom trim size of the free-trim size dialog.
struct TrimResizeSet {
    int rescale = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TrimResizeSet&) const = default;
};

struct Settings {
    std::string openFolder;
    std::string saveFolder;
    // Width and height of the five trim presets, alternating.
    std::array<int, 10> trimPresets{640, 480, 800, 600, 1024, 768, 1280, 1024, 1600, 1200};
    std::string pluginFolder;  // plug-in folder, ending in '/'
    // Five entries of two paths each: entry k is 2k and 2k + 1.
    std::array<std::string, 10> fileHistory;
    std::array<int, 5> fileTypeHistory{};  // StereoLayout of each entry
    int pageFlipScreenMode = 2;
    int pageFlipColourDepth = 1;
    int jpegQuality = 70;
    int textureSize = 1;
    int frameWidth = 5;
    AspectSet freeTrimRatio;
    int pageFlipDriver = 1;
    int phoneSize = 0;
    int startMaximised = 0;
    int leftGamma = 100;
    int rightGamma = 100;
    int sharpenStrength = 40;
    int edgeThreshold = 16;
    int slideTime = 30;  // tenths of a second
    int passPictureToExternalProgram = 0;
    int commandLineOpening = 0;  // StereoLayout × 10 + display
    int alignmentStep = 4;
    int lzwAccessMarker = 0;
    int listMakerSource = 0;
    GreyAnaglyphPair greyAnaglyphPair = GreyAnaglyphPair::RedCyan;
    ColourAnaglyphKind colourAnaglyphKind = ColourAnaglyphKind::ColourRedCyan;
    int listDisplayMode = 0;
    int showNavigator = 0;
    int packToCentre = 0;
    int presetTrimRescales = 0;
    TrimResizeSet customTrim;
    int adjustDialogMaximised = 0;
    int twoStepTrim = 1;
    std::string leftSuffix = "_l";
    std::string rightSuffix = "_r";
    std::string externalProgram = "gimp";
    // The Win3D page-flipping driver library, as dlopen finds it.
    std::string win3dLibrary = "libw3d_dd.so";
    // Font descriptions (QFont::toString()); empty means the system font.
    std::string textFont;
    std::string textFontDefault;
    TextSet textSettings;
    TextSet textDefaults;
    LogoSet logoSettings;
    LogoSet logoDefaults;
    BorderSet border;
    int openPreview = 0;
    int openAtFullSize = 0;
    std::string quickAdjustment;  // "%d," ten times; read by the quick-alignment dialog
    bool operator==(const Settings&) const = default;
};

// The stored value names.
namespace setting {
inline constexpr std::string_view kOpenFolder = "OpenFolder";
inline constexpr std::string_view kSaveFolder = "SaveFolder";
inline constexpr std::string_view kTrimingSize = "TrimingSize";
inline constexpr std::string_view kSusie32Plugin = "Susie32Plugin";
inline constexpr std::string_view kFileTypeHistory = "FileTypeHistory";
inline constexpr std::string_view kN3DSize = "n3DSize";
inline constexpr std::string_view kN3DBpp = "n3DBpp";
inline constexpr std::string_view kNQuality = "nQuality";
inline constexpr std::string_view kNTSize = "nTSize";
inline constexpr std::string_view kNWaku = "nWaku";
inline constexpr std::string_view kNAspect = "nAspect";
inline constexpr std::string_view kNVidia = "nVidia";
inline constexpr std::string_view kDocomo = "Docomo";
inline constexpr std::string_view kNWinMax = "nWinMax";
inline constexpr std::string_view kNGmmar = "nGmmar";
inline constexpr std::string_view kNGmmab = "nGmmab";
inline constexpr std::string_view kNSharpen = "nSharpen";
inline constexpr std::string_view kNEdgedtc = "nEdgedtc";
inline constexpr std::string_view kSlideTime = "SlideTime";
inline constexpr std::string_view kGaibuHiki = "GaibuHiki";
inline constexpr std::string_view kComset = "comset";
inline constexpr std::string_view kNAdjustv = "nAdjustv";
inline constexpr std::string_view kSpecial = "special";
inline constexpr std::string_view kNSSin = "nSSin";
inline constexpr std::string_view kNAnatype = "nAnatype";
inline constexpr std::string_view kNAnactype = "nAnactype";
inline constexpr std::string_view kNSSType = "nSSType";
inline constexpr std::string_view kNLoc = "nLoc";
inline constexpr std::string_view kNWcent = "nWcent";
inline constexpr std::string_view kNTrimress = "nTrimress";
inline constexpr std::string_view kNTrimresd = "nTrimresd";
inline constexpr std::string_view kNKantyo = "nKantyo";
inline constexpr std::string_view kN2action = "n2action";
inline constexpr std::string_view kLeftname = "Leftname";
inline constexpr std::string_view kRightname = "Rightname";
inline constexpr std::string_view kGaibuFile = "GaibuFile";
inline constexpr std::string_view kW3dLibrary = "W3DLibrary";
inline constexpr std::string_view kLogfont = "LOGFONT";
inline constexpr std::string_view kLogfont1 = "LOGFONT1";
inline constexpr std::string_view kTextset = "textset";
inline constexpr std::string_view kTextsetdef = "textsetdef";
inline constexpr std::string_view kLogoset = "logoset";
inline constexpr std::string_view kLogosetdef = "logosetdef";
inline constexpr std::string_view kBorder = "border";
inline constexpr std::string_view kNOpenPreview = "nOpenPreview";
inline constexpr std::string_view kNFitSize = "nFitSize";
inline constexpr std::string_view kKantanTyousei = "KantanTyousei";
// The main window's place, size and maximised state (QWidget::saveGeometry, base64) and whether
// its toolbar is shown ("0"/"1"); written when the window closes, read when it opens.
inline constexpr std::string_view kWindowGeometry = "WindowGeometry";
inline constexpr std::string_view kToolbarShown = "ToolbarShown";
}  // namespace setting

// "FileHistory0" … "FileHistory9".
std::string FileHistoryName(int index);

// `lzwAccessMarker` holds this marker when LZW-compressed TIFF files may be read.
inline constexpr int kLzwMarker = 604718;
inline bool LzwTiffAllowed(const Settings& settings) {
    return settings.lzwAccessMarker == kLzwMarker;
}

// The frame width the view leaves around the picture: the three display frame widths while
// the frame is shown, else `frameWidth`.
int ViewFrameWidth(const Settings& settings);

// Every value name the store knows, in the order they are read.
const std::vector<std::string>& SettingNames();

// The settings from a source of stored texts (empty for a missing value), after the
// start-up rules. The plug-in folder defaults to the program's folder.
using SettingReader = std::function<std::string(std::string_view name)>;
Settings ParseSettings(const SettingReader& read, const std::string& programFolder);

// The settings of a fresh store.
Settings DefaultSettings(const std::string& programFolder);

// Read once at start.
Settings ReadAllSettings(const SettingsStore& store, const std::string& programFolder);

// The stored text of one value as the settings hold it now; empty for an unknown name.
std::string FormatSetting(const Settings& settings, std::string_view name);

// Name and text of the given values, ready for SettingsStore::WriteSettings.
SettingWrites SettingWritesFor(const Settings& settings,
                               std::initializer_list<std::string_view> names);

// Every value, as a full export of the settings.
SettingWrites AllSettingWrites(const Settings& settings);

// The values written when the main window closes: the last folders and the anaglyph choices.
SettingWrites ClosingWrites(const Settings& settings);

// The ten history paths and their layouts, written together after an opening.
SettingWrites FileHistoryWrites(const Settings& settings);

}  // namespace duplora
