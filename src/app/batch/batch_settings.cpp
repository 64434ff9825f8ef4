#include "app/batch/batch_settings.h"

#include <memory>
#include <mutex>
#include <utility>

#include "app/edit/frame_style.h"
#include "app/edit/pair_overlay.h"
#include "app/edit/text_overlay.h"
#include "core/batch/batch_options.h"
#include "core/edit/logo.h"

namespace duplora {

BatchOptions BatchOptionsFromSettings(const Settings& settings) {
    BatchOptions options;
    options.quality = settings.jpegQuality;
    options.targetFolder = NormaliseTargetFolder(settings.saveFolder);
    options.greyPair = settings.greyAnaglyphPair;
    options.colourKind = settings.colourAnaglyphKind;
    options.anaglyphLeftGamma = settings.leftGamma;
    options.anaglyphRightGamma = settings.rightGamma;
    ClampBatchOptions(options);
    return options;
}

namespace {

// What the overlays of one run share: its copy of the settings, and the logo, read once on
// first use by whichever thread needs it first.
struct RunShared {
    explicit RunShared(Settings s, const PluginTable* p) : settings(std::move(s)), plugins(p) {}
    const ImageBuffer& Get() {
        std::call_once(once, [this] {
            CodecOptions codec;
            codec.allowLzw = LzwTiffAllowed(settings);
            codec.plugins = plugins;
            logo = LoadLogo(settings.logoSettings.file, codec).image;
        });
        return logo;
    }
    const Settings settings;
    const PluginTable* plugins;
    std::once_flag once;
    ImageBuffer logo;
};

}  // namespace

BatchEnvironment BatchEnvironmentFromSettings(const Settings& settings,
                                              const PluginTable* plugins) {
    BatchEnvironment environment;
    environment.codec.allowLzw = LzwTiffAllowed(settings);
    environment.codec.plugins = plugins;
    // Each run keeps its own copy of the settings, so the dialog may change them meanwhile.
    const auto shared = std::make_shared<RunShared>(settings, plugins);
    BatchAnnotations& a = environment.annotations;
    a.text = [shared](const ImageBuffer& view, int depth) {
        return DrawBatchText(view, shared->settings, depth);
    };
    a.textDepth = settings.textSettings.depth;
    a.logo = [shared](const ImageBuffer& view, int depth) -> Result<ImageBuffer> {
        const ImageBuffer& logo = shared->Get();
        if (!logo) return Failure::Quiet();
        return AddLogo(view, logo, LogoStampFor(shared->settings.logoSettings, depth));
    };
    a.logoDepth = settings.logoSettings.depth;
    a.border = [shared](const ImageBuffer& picture, DisplayMode mode) {
        return DrawBatchBorder(picture, shared->settings, mode);
    };
    return environment;
}

Result<ImageBuffer> DrawBatchText(const ImageBuffer& view, const Settings& settings, int depth) {
    return AddText(view, settings.textSettings, depth, settings.textFont);
}

Result<ImageBuffer> DrawBatchLogo(const ImageBuffer& view, const Settings& settings, int depth,
                                  const CodecOptions& codec) {
    return AddLogo(view, settings.logoSettings.file, LogoStampFor(settings.logoSettings, depth),
                   codec);
}

Result<ImageBuffer> DrawBatchBorder(const ImageBuffer& picture, const Settings& settings,
                                    DisplayMode mode) {
    return AddBorder(picture, mode, settings.border);
}

}  // namespace duplora
