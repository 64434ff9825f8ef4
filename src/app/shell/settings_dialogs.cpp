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
    state.pluginFolder = settings.pluginFolder;
    state.externalProgram = settings.externalProgram;
    state.slideTime = settings.slideTime;
    state.alignmentStep = settings.alignmentStep;
    state.winMax = settings.startMaximised == 1;
    state.passPictureToExternalProgram = settings.passPictureToExternalProgram == 1;
    state.waku = settings.frameWidth;
    state.trimRescale = settings.presetTrimRescales == 1;
    state.packToCentre = settings.packToCentre == 1;
    state.trimSizes = settings.trimPresets;
    return state;
}

SetteiResult ApplySetteiOk(Settings& settings, const SetteiState& state) {
    using namespace setting;
    SetteiResult result;
    auto write = [&](std::string_view name) {
        result.writes.emplace_back(std::string(name), FormatSetting(settings, name));
    };

    settings.pluginFolder = state.pluginFolder;
    if (settings.pluginFolder.empty() || settings.pluginFolder.back() != '/')
        settings.pluginFolder += '/';
    write(kSusie32Plugin);
    settings.externalProgram = state.externalProgram.empty() ? "gimp" : state.externalProgram;
    write(kGaibuFile);
    settings.slideTime = std::clamp(state.slideTime, 1, 3600);
    write(kSlideTime);
    if (state.alignmentStep == kLzwAccessNumber) {
        settings.lzwAccessMarker = kLzwMarker;
        settings.alignmentStep = 4;
        result.lzwSwitchedOn = true;
        write(kSpecial);
    } else {
        settings.alignmentStep = std::clamp(state.alignmentStep, 1, 100);
    }
    write(kNAdjustv);
    settings.startMaximised = Flag(state.winMax);
    write(kNWinMax);
    settings.passPictureToExternalProgram = Flag(state.passPictureToExternalProgram);
    write(kGaibuHiki);
    settings.frameWidth = std::clamp(state.waku, 0, 99);
    write(kNWaku);
    settings.presetTrimRescales = Flag(state.trimRescale);
    write(kNTrimress);
    settings.packToCentre = Flag(state.packToCentre);
    write(kNWcent);
    // A preset of no size would select nothing; the smallest preset is one pixel.
    for (std::size_t k = 0; k < settings.trimPresets.size(); ++k)
        settings.trimPresets[k] = std::max(state.trimSizes[k], 1);
    write(kTrimingSize);
    return result;
}

SettingWrites ToggleKantyo(Settings& settings) {
    settings.adjustDialogMaximised = settings.adjustDialogMaximised == 1 ? 0 : 1;
    return SettingWritesFor(settings, {setting::kNKantyo});
}

SettingWrites ToggleTwoStepTrim(Settings& settings) {
    settings.twoStepTrim = settings.twoStepTrim == 1 ? 0 : 1;
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

ScreenMode PageFlipScreenMode(int pageFlipScreenMode) {
    return kScreenModes[pageFlipScreenMode >= 0 && pageFlipScreenMode <= 5 ? pageFlipScreenMode
                                                                           : 2];
}

int PageFlipBitDepth(int pageFlipColourDepth) {
    switch (pageFlipColourDepth) {
        case 0:
            return 8;
        case 2:
            return 32;
        default:
            return 16;
    }
}

int PageFlipTextureSize(int textureSize) {
    return kTextureSizes[textureSize >= 0 && textureSize <= 8 ? textureSize : 1];
}

W3dState W3dStateFromSettings(Settings& settings) {
    if (settings.pageFlipColourDepth < 1 || settings.pageFlipColourDepth > 2)
        settings.pageFlipColourDepth = 1;
    return {settings.pageFlipScreenMode, settings.pageFlipColourDepth - 1, settings.textureSize,
            settings.pageFlipDriver};
}

SettingWrites W3dChooseResolution(Settings& settings, int index) {
    if (index < 0 || index > 5) return {};
    settings.pageFlipScreenMode = index;
    return SettingWritesFor(settings, {setting::kN3DSize});
}

SettingWrites W3dChooseColours(Settings& settings, int index) {
    if (index < 0 || index > 1) return {};
    settings.pageFlipColourDepth = index + 1;
    return SettingWritesFor(settings, {setting::kN3DBpp});
}

SettingWrites W3dChooseTexture(Settings& settings, int index) {
    if (index < 0 || index > 8) return {};
    settings.textureSize = index;
    return SettingWritesFor(settings, {setting::kNTSize});
}

SettingWrites W3dChooseDriver(Settings& settings, int driver) {
    if (driver < 0 || driver > 2) return {};
    settings.pageFlipDriver = driver;
    return SettingWritesFor(settings, {setting::kNVidia});
}

// ---- COMSET ------------------------------------------------------------------------------

ComsetState ComsetStateFromSettings(const Settings& settings) {
    return {settings.commandLineOpening / 10, settings.commandLineOpening % 10};
}

SettingWrites ApplyComsetOk(Settings& settings, const ComsetState& state) {
    // The radio groups only offer layouts 0–7 and displays 0–6; anything else is no choice.
    const int layout = state.layout >= 0 && state.layout <= 7 ? state.layout : 0;
    const int display = state.display >= 0 && state.display <= 6 ? state.display : 0;
    settings.commandLineOpening = layout * 10 + display;
    return SettingWritesFor(settings, {setting::kComset});
}

// ---- FREETRIM ----------------------------------------------------------------------------

FreeTrimState FreeTrimStateFromSettings(const Settings& settings) {
    return {settings.freeTrimRatio.keepRatio == 1, settings.freeTrimRatio.x,
            settings.freeTrimRatio.y};
}

SettingWrites ApplyFreeTrimOk(Settings& settings, const FreeTrimState& state) {
    settings.freeTrimRatio.keepRatio = Flag(state.keepRatio);
    if (state.x <= 0 || state.y <= 0) {
        settings.freeTrimRatio.x = 4;
        settings.freeTrimRatio.y = 4;
    } else {
        settings.freeTrimRatio.x = state.x;
        settings.freeTrimRatio.y = state.y;
    }
    return SettingWritesFor(settings, {setting::kNAspect});
}

}  // namespace duplora
