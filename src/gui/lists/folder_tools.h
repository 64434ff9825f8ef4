// The window's folder tools: "Mehrfach Umbenennen" and "Mosaik Bild". Both pick files in
// their dialog, then work on them with the user's answers to their questions; the mosaic
// shows how far it has come in the window's title.
#pragma once

#include <QString>

#include <functional>

#include "core/formats/codec_options.h"

class QWidget;

namespace duplora {

class CommandRegistry;
class DialogHost;
struct Settings;

struct FolderToolContext {
    QWidget* parent = nullptr;  // its title shows the mosaic's progress
    DialogHost* host = nullptr;
    Settings* settings = nullptr;  // the folder the dialogs start in
    std::function<CodecOptions()> codec;
    // The window's own title again, once the work is done.
    std::function<void()> restoreTitle;
};

// Registers CmdMultiRename and CmdMosaic; the rename options are kept for the program run.
void RegisterFolderTools(CommandRegistry& registry, const FolderToolContext& context);

}  // namespace duplora
