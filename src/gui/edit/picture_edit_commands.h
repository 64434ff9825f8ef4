// The edit menu's commands that change the pictures themselves: "Schärfen" (CmdSharpen),
// "Kantenerkennung" (CmdEdgeDetect), "Text hinzufügen" (CmdAddText) and "Logo hinzufügen"
// (CmdAddLogo). Each asks its dialog, then replaces both views in one undoable edit.
#pragma once

#include <functional>

#include "app/shell/stereo_document.h"
#include "core/formats/codec_options.h"
#include "core/util/progress.h"
#include "gui/shell/window_services.h"

namespace duplora {

class CommandRegistry;

struct PictureEditContext : WindowServices {
    // The window's progress for long work, its stop flag cleared.
    std::function<const Progress&()> progress;
    // How the logo file is read.
    std::function<CodecOptions()> codec;
    // The views' size may have changed (a band, the cut to the common area).
    std::function<void()> resized;
};

void RegisterPictureEditCommands(CommandRegistry& registry, const PictureEditContext& context);

}  // namespace duplora
