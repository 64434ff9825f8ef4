// Settings that change how pictures are read, passed to every reader that needs them
// instead of being held in globals: the batch worker and the window read at once.
#pragma once

namespace duplora {

class PluginTable;

struct CodecOptions {
    // LZW-compressed TIFF files are read only when this is on.
    bool allowLzw = false;
    // Plug-ins tried after the built-in readers, in the table's try order; none when null.
    const PluginTable* plugins = nullptr;
    // Plug-ins are given a progress callback only when this is on.
    bool pluginProgress = false;
};

}  // namespace duplora
