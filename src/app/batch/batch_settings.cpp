#include "app/batch/batch_settings.h"

#include <memory>

#include "core/batch/batch_options.h"

namespace duplora {

BatchOptions BatchOptionsFromSettings(const Settings& settings) {
    BatchOptions options;
    options.quality = settings.nQuality;
    options.targetFolder = NormaliseTargetFolder(settings.saveFolder);
    options.greyPair = static_cast<GreyAnaglyphPair>(settings.nAnatype);
    options.colourKind = static_cast<ColourAnaglyphKind>(settings.nAnactype);
    options.anaglyphLeftGamma = settings.nGmmar;
    options.anaglyphRightGamma = settings.nGmmab;
    ClampBatchOptions(options);
    return options;
}

BatchEnvironment BatchEnvironmentFromSettings(const Settings& settings,
                                              const PluginTable* plugins) {
    BatchEnvironment environment;
    environment.codec.allowLzw = LzwTiffAllowed(settings);
    environment.codec.plugins = plugins;
    // Each run keeps its own copy of the settings, so the dialog may change them meanwhile.
    const auto shared = std::make_shared<const Settings>(settings);
    BatchAnnotations& a = environment.annotations;
    a.text = [shared](const ImageBuffer& view, int depth) {
        return DrawBatchText(view, *shared, depth);
    };
    a.textDepth = settings.textset.depth;
    a.logo = [shared](const ImageBuffer& view, int depth) {
        return DrawBatchLogo(view, *shared, depth);
    };
    a.logoDepth = settings.logoset.depth;
    a.border = [shared](const ImageBuffer& picture, int layout) {
        return DrawBatchBorder(picture, *shared, layout);
    };
    return environment;
}

// The overlay and frame renderers are not shared yet; until they are, nothing is drawn.
ImageBuffer DrawBatchText(const ImageBuffer&, const Settings&, int) {
    return {};
}

ImageBuffer DrawBatchLogo(const ImageBuffer&, const Settings&, int) {
    return {};
}

ImageBuffer DrawBatchBorder(const ImageBuffer&, const Settings&, int) {
    return {};
}

}  // namespace duplora
