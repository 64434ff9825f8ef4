#include "app/shell/settings_dialogs.h"

#include <algorithm>

namespace duplora {

namespace {

constexpr const char* kTextureSizeTexts[] = {"1024X1024", "2048X2048", "3072X3072",
                                             "4096X4096", "6144X6144", "7168X7168",
                                             "8192X8192", "9216X9216", "10240X10240"};
constexpr int kTextureSizes[] = {1024, 2048, 3072, 4096, 6144, 7168, 8192, 9216, 10240};
constexpr const char* kResolutionTexts[] = {"640X480",  "800X600",   "1024X768",
                                            "1152X864", "1280X1024", "1600X1200"};
constexpr ScreenMode kScreenModes[] = {{640, 480},  {800, 600},   {1024, 768},
                                       {1152, 864}, {1280, 1024}, {1600, 1200}};

int Flag(bool on) {
    return on ? 1 : 0;
}

}  // namespace

// ---- SETTEI ------------------------------------------------------------------------------

SetteiState SetteiStateFromSettings(const Settings& settings) {
    SetteiState state;
    state.susie32Plugin = settings.susie32Plugin;
    state.gaibuFile = settings.gaibuFile;
    state.slideTime = settings.slideTime;
    state.alignmentStep = settings.nAdjustv;
    state.winMax = settings.nWinMax == 1;
    state.gaibuHiki = settings.gaibuHiki == 1;
    state.waku = settings.nWaku;
    state.trimRescale = settings.nTrimress == 1;
    state.packToCentre = settings.nWcent == 1;
    state.trimSizes = settings.trimingSize;
    return state;
}

SetteiResult ApplySetteiOk(Settings& settings, const SetteiState& state) {
    using namespace setting;
    SetteiResult result;
    auto write = [&](std::string_view name) {
        result.writes.emplace_back(std::string(name), FormatSetting(settings, name));
    };

    settings.susie32Plugin = state.susie32Plugin;
    if (settings.susie32Plugin.empty() || settings.susie32Plugin.back() != '/')
        settings.susie32Plugin += '/';
    write(kSusie32Plugin);
    settings.gaibuFile = state.gaibuFile.empty() ? "gimp" : state.gaibuFile;
    write(kGaibuFile);
    settings.slideTime = std::clamp(state.slideTime, 1, 3600);
    write(kSlideTime);
    if (state.alignmentStep == kLzwAccessNumber) {
        settings.special = kLzwMarker;
        settings.nAdjustv = 4;
        result.lzwSwitchedOn = true;
        write(kSpecial);
    } else {
        settings.nAdjustv = std::clamp(state.alignmentStep, 1, 100);
    }
    write(kNAdjustv);
    settings.nWinMax = Flag(state.winMax);
    write(kNWinMax);
    settings.gaibuHiki = Flag(state.gaibuHiki);
    write(kGaibuHiki);
    settings.nWaku = std::clamp(state.waku, 0, 99);
    write(kNWaku);
    settings.nTrimress = Flag(state.trimRescale);
    write(kNTrimress);
    settings.nWcent = Flag(state.packToCentre);
    write(kNWcent);
    // A preset of no size would select nothing; the smallest preset is one pixel.
    for (std::size_t k = 0; k < settings.trimingSize.size(); ++k)
        settings.trimingSize[k] = std::max(state.trimSizes[k], 1);
    write(kTrimingSize);
    return result;
}

SettingWrites ToggleKantyo(Settings& settings) {
    settings.nKantyo = settings.nKantyo == 1 ? 0 : 1;
    return SettingWritesFor(settings, {setting::kNKantyo});
}

SettingWrites ToggleTwoStepTrim(Settings& settings) {
    settings.n2action = settings.n2action == 1 ? 0 : 1;
    return SettingWritesFor(settings, {setting::kN2action});
}

SettingWrites SetteiClosingWrites(const Settings& settings) {
    return SettingWritesFor(settings, {setting::kBorder});
}

std::string PluginFolderOfFile(std::string_view filePath) {
    const std::size_t slash = filePath.rfind('/');
    if (slash == std::string_view::npos) return "./";
    return std::string(filePath.substr(0, slash + 1));
}

// ---- W3D ---------------------------------------------------------------------------------

std::span<const char* const> W3dTextureSizeTexts() {
    return kTextureSizeTexts;
}
std::span<const char* const> W3dResolutionTexts() {
    return kResolutionTexts;
}

ScreenMode PageFlipScreenMode(int n3DSize) {
    return kScreenModes[n3DSize >= 0 && n3DSize <= 5 ? n3DSize : 2];
}

int PageFlipBitDepth(int n3DBpp) {
    switch (n3DBpp) {
        case 0:
            return 8;
        case 2:
            return 32;
        default:
            return 16;
    }
}

int PageFlipTextureSize(int nTSize) {
    return kTextureSizes[nTSize >= 0 && nTSize <= 8 ? nTSize : 1];
}

W3dState W3dStateFromSettings(Settings& settings) {
    if (settings.n3DBpp < 1 || settings.n3DBpp > 2) settings.n3DBpp = 1;
    return {settings.n3DSize, settings.n3DBpp - 1, settings.nTSize, settings.nVidia};
}

SettingWrites W3dChooseResolution(Settings& settings, int index) {
    if (index < 0 || index > 5) return {};
    settings.n3DSize = index;
    return SettingWritesFor(settings, {setting::kN3DSize});
}

SettingWrites W3dChooseColours(Settings& settings, int index) {
    if (index < 0 || index > 1) return {};
    settings.n3DBpp = index + 1;
    return SettingWritesFor(settings, {setting::kN3DBpp});
}

SettingWrites W3dChooseTexture(Settings& settings, int index) {
    if (index < 0 || index > 8) return {};
    settings.nTSize = index;
    return SettingWritesFor(settings, {setting::kNTSize});
}

SettingWrites W3dChooseDriver(Settings& settings, int driver) {
    if (driver < 0 || driver > 2) return {};
    settings.nVidia = driver;
    return SettingWritesFor(settings, {setting::kNVidia});
}

// ---- COMSET ------------------------------------------------------------------------------

ComsetState ComsetStateFromSettings(const Settings& settings) {
    return {settings.comset / 10, settings.comset % 10};
}

SettingWrites ApplyComsetOk(Settings& settings, const ComsetState& state) {
    // The radio groups only offer layouts 0–7 and displays 0–6; anything else is no choice.
    const int layout = state.layout >= 0 && state.layout <= 7 ? state.layout : 0;
    const int display = state.display >= 0 && state.display <= 6 ? state.display : 0;
    settings.comset = layout * 10 + display;
    return SettingWritesFor(settings, {setting::kComset});
}

// ---- FREETRIM ----------------------------------------------------------------------------

FreeTrimState FreeTrimStateFromSettings(const Settings& settings) {
    return {settings.nAspect.keepRatio == 1, settings.nAspect.x, settings.nAspect.y};
}

SettingWrites ApplyFreeTrimOk(Settings& settings, const FreeTrimState& state) {
    settings.nAspect.keepRatio = Flag(state.keepRatio);
    if (state.x <= 0 || state.y <= 0) {
        settings.nAspect.x = 4;
        settings.nAspect.y = 4;
    } else {
        settings.nAspect.x = state.x;
        settings.nAspect.y = state.y;
    }
    return SettingWritesFor(settings, {setting::kNAspect});
}

}  // namespace duplora
