// What a batch run takes from the user's settings: the dialog's starting values and the
// overlays drawn with the stored text, logo and frame settings.
#pragma once

#include "app/shell/settings.h"
#include "core/batch/batch_options.h"
#include "core/batch/convert_file.h"

namespace duplora {

class PluginTable;

// The options a batch dialog starts with: the dialog's defaults, the stored JPEG quality,
// the last save folder as the target, and the program's anaglyph choices and gammas.
BatchOptions BatchOptionsFromSettings(const Settings& settings);

// Codec choices and the overlays as the stored settings describe them. `plugins` (may be
// null) must outlive the runs that use the result.
BatchEnvironment BatchEnvironmentFromSettings(const Settings& settings,
                                              const PluginTable* plugins = nullptr);

// The overlay renderers, one function each, so a run can draw them on any thread. Each
// gives an empty picture when it cannot draw.
ImageBuffer DrawBatchText(const ImageBuffer& view, const Settings& settings, int depth);
ImageBuffer DrawBatchLogo(const ImageBuffer& view, const Settings& settings, int depth);
ImageBuffer DrawBatchBorder(const ImageBuffer& picture, const Settings& settings, int layout);

}  // namespace duplora
