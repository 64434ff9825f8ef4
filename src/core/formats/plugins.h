// Import plug-ins: shared objects named "*.spi" in one folder, loaded once, then asked
// in turn for files the built-in readers cannot read. The C interface is plugin_api.h.
#pragma once

#include <string>
#include <vector>

#include "core/formats/codec_options.h"
#include "core/formats/plugin_api.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

struct PluginFilter {
    std::string pattern;      // "*.png" (may hold several, separated by ';')
    std::string description;  // "PNG-Bild"
};

struct Plugin {
    std::string path;
    std::string name;  // info number 1
    std::vector<PluginFilter> filters;
    void* module = nullptr;
    SpiGetPluginInfo getPluginInfo = nullptr;
    SpiIsSupported isSupported = nullptr;
    SpiGetPicture getPicture = nullptr;
};

// The accepted plug-ins in discovery order, and the order in which the load chain tries
// them. Owns the loaded modules; unloads them when destroyed.
class PluginTable {
  public:
    PluginTable() = default;
    ~PluginTable();
    PluginTable(PluginTable&& other) noexcept;
    PluginTable& operator=(PluginTable&& other) noexcept;
    PluginTable(const PluginTable&) = delete;
    PluginTable& operator=(const PluginTable&) = delete;

    int Size() const { return static_cast<int>(plugins_.size()); }
    const Plugin& At(int index) const { return plugins_[static_cast<std::size_t>(index)]; }
    const std::vector<Plugin>& Plugins() const { return plugins_; }

    // Indices into the table; the discovery order after loading. Indices outside the
    // table are dropped.
    const std::vector<int>& TryOrder() const { return tryOrder_; }
    void SetTryOrder(std::vector<int> order);

    void Add(Plugin plugin);

  private:
    void Unload() noexcept;
    std::vector<Plugin> plugins_;
    std::vector<int> tryOrder_;
};

// Loads every "*.spi" file of `folder` (in name order): a module is kept when it exports
// GetPluginInfo, IsSupported and GetPicture and its info 0 text has "IN" as third and
// fourth characters. An empty or missing folder gives an empty table.
PluginTable LoadPlugins(const std::string& folder);

// True when a plug-in of the table takes files with the extension of `path` (the same name
// test ReadWithPlugin makes before it asks the plug-in).
bool PluginTakesName(const PluginTable& table, const std::string& path);

// Reads `path` with plug-in `index` of the table: only when the file's extension (of its
// name part) is one of the plug-in's first patterns, in any case, and the plug-in says it
// supports the file ("*.j2k" plug-ins are always asked). The returned blocks are checked
// against the sizes their header promises before they are copied. With a `progress` the
// plug-in is given a callback that reports reading progress to it and asks the plug-in to
// stop once it is cancelled.
ImageBuffer ReadWithPlugin(const std::string& path, const PluginTable& table, int index,
                           const Progress* progress = nullptr);

}  // namespace duplora
