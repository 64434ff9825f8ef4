// What a batch run takes from the user's settings: the dialog's starting values and the
// overlays drawn with the stored text, logo and frame settings.
#pragma once

#include "app/shell/settings.h"
#include "core/batch/batch_options.h"
#include "core/batch/convert_file.h"
#include "core/formats/codec_options.h"

namespace duplora {

class PluginTable;

// The options a batch dialog starts with: the dialog's defaults, the stored JPEG quality,
// the last save folder as the target, and the program's anaglyph choices and gammas.
BatchOptions BatchOptionsFromSettings(const Settings& settings);

// Codec choices and the overlays as the stored settings describe them. `plugins` (may be
// null) must outlive the runs that use the result.
BatchEnvironment BatchEnvironmentFromSettings(const Settings& settings,
                                              const PluginTable* plugins = nullptr);

// The stored text, logo and frame drawn on one picture; each gives a failure when it cannot
// draw. Text needs the GUI side of Qt (fonts); it may draw on any thread.
Result<ImageBuffer> DrawBatchText(const ImageBuffer& view, const Settings& settings, int depth);
Result<ImageBuffer> DrawBatchLogo(const ImageBuffer& view, const Settings& settings, int depth,
                                  const CodecOptions& codec = {});
Result<ImageBuffer> DrawBatchBorder(const ImageBuffer& picture, const Settings& settings,
                                    DisplayMode mode);

}  // namespace duplora
