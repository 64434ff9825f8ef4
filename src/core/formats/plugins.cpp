#include "core/formats/plugins.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>

#include "core/formats/dib_layout.h"
#include "core/formats/image_names.h"

namespace duplora {

namespace {

constexpr int kInfoBuffer = 200;
// More patterns than this in one plug-in are junk from a broken info function.
constexpr int kMaxFilters = 64;

std::string Info(SpiGetPluginInfo getInfo, int number) {
    char buffer[kInfoBuffer + 1] = {};
    getInfo(number, buffer, kInfoBuffer);
    buffer[kInfoBuffer] = '\0';  // a plug-in that fills the buffer leaves no terminator
    return std::string(buffer);
}

bool SameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && EndsWithNoCase(a, b);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// "*." and the extension of the file-name part ("*." when there is none).
std::string ExtensionPattern(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const std::size_t dot = name.rfind('.');
    return "*." + (dot == std::string::npos ? std::string() : name.substr(dot + 1));
}

bool PatternMatches(std::string_view patterns, std::string_view wanted) {
    while (true) {
        const std::size_t semicolon = patterns.find(';');
        if (SameNoCase(Trim(patterns.substr(0, semicolon)), wanted)) return true;
        if (semicolon == std::string_view::npos) return false;
        patterns.remove_prefix(semicolon + 1);
    }
}

// The user data is the Progress the plug-in reports to; a non-zero answer stops it.
int ProgressCallback(int done, int whole, long userData) {
    const auto* progress = reinterpret_cast<const Progress*>(userData);
    if (whole > 0)
        (*progress)(ProgressDirection::Reading,
                    static_cast<int>(
                        std::clamp<long long>(static_cast<long long>(done) * 100 / whole, 0, 100)));
    return progress->Cancelled() ? 1 : 0;
}

struct Freer {
    void operator()(void* p) const { std::free(p); }
};

}  // namespace

PluginTable::~PluginTable() {
    Unload();
}

PluginTable::PluginTable(PluginTable&& other) noexcept
    : plugins_(std::move(other.plugins_)), tryOrder_(std::move(other.tryOrder_)) {
    other.plugins_.clear();
    other.tryOrder_.clear();
}

PluginTable& PluginTable::operator=(PluginTable&& other) noexcept {
    if (this != &other) {
        Unload();
        plugins_ = std::move(other.plugins_);
        tryOrder_ = std::move(other.tryOrder_);
        other.plugins_.clear();
        other.tryOrder_.clear();
    }
    return *this;
}

void PluginTable::Unload() noexcept {
    for (Plugin& p : plugins_)
        if (p.module) dlclose(p.module);
    plugins_.clear();
    tryOrder_.clear();
}

void PluginTable::SetTryOrder(std::vector<int> order) {
    std::erase_if(order, [this](int i) { return i < 0 || i >= Size(); });
    tryOrder_ = std::move(order);
}

void PluginTable::Add(Plugin plugin) {
    plugins_.push_back(std::move(plugin));
    tryOrder_.push_back(Size() - 1);
}

PluginTable LoadPlugins(const std::string& folder) {
    PluginTable table;
    if (folder.empty()) return table;
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<fs::path> candidates;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        if (EndsWithNoCase(p.filename().string(), ".spi") && it->is_regular_file(ec))
            candidates.push_back(p);
    }
    // Directory order is arbitrary here; name order makes the table the same every start.
    std::sort(candidates.begin(), candidates.end());
    for (const fs::path& p : candidates) {
        void* module = dlopen(p.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) continue;
        Plugin plugin;
        plugin.module = module;
        plugin.path = p.string();
        plugin.getPluginInfo = reinterpret_cast<SpiGetPluginInfo>(dlsym(module, "GetPluginInfo"));
        plugin.isSupported = reinterpret_cast<SpiIsSupported>(dlsym(module, "IsSupported"));
        plugin.getPicture = reinterpret_cast<SpiGetPicture>(dlsym(module, "GetPicture"));
        const bool complete = plugin.getPluginInfo && plugin.isSupported && plugin.getPicture;
        const std::string version = complete ? Info(plugin.getPluginInfo, 0) : std::string();
        if (version.size() < 4 || version.compare(2, 2, "IN") != 0) {
            dlclose(module);
            continue;
        }
        plugin.name = Info(plugin.getPluginInfo, 1);
        for (int n = 0; n < kMaxFilters; ++n) {
            std::string pattern = Info(plugin.getPluginInfo, 2 * n + 2);
            if (pattern.empty()) break;
            plugin.filters.push_back({std::move(pattern), Info(plugin.getPluginInfo, 2 * n + 3)});
        }
        table.Add(std::move(plugin));
    }
    return table;
}

bool PluginTakesName(const PluginTable& table, const std::string& path) {
    const std::string wanted = ExtensionPattern(path);
    for (const Plugin& plugin : table.Plugins())
        if (PatternMatches(Info(plugin.getPluginInfo, 2), wanted)) return true;
    return false;
}

ImageBuffer ReadWithPlugin(const std::string& path, const PluginTable& table, int index,
                           const Progress* progress) {
    if (index < 0 || index >= table.Size()) return {};
    const Plugin& plugin = table.At(index);
    const std::string first = Info(plugin.getPluginInfo, 2);
    if (!PatternMatches(first, ExtensionPattern(path))) return {};

    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    const bool supported = plugin.isSupported(path.c_str(), fd) != 0 || SameNoCase(first, "*.j2k");
    ::close(fd);
    if (!supported) return {};

    void* infoBlock = nullptr;
    void* pixelBlock = nullptr;
    const int result =
        plugin.getPicture(path.c_str(), 0, SPI_SOURCE_FILE, &infoBlock, &pixelBlock,
                          progress ? ProgressCallback : nullptr, reinterpret_cast<long>(progress));
    const std::unique_ptr<void, Freer> info(infoBlock), pixels(pixelBlock);
    if (result != SPI_SUCCESS || !info || !pixels) return {};

    // Nothing the plug-in says about its blocks is taken on trust: the header must fit
    // the info block, and the rows it promises must fit the pixel block.
    const std::size_t infoSize = malloc_usable_size(info.get());
    const std::size_t pixelSize = malloc_usable_size(pixels.get());
    const auto* header = static_cast<const std::uint8_t*>(info.get());
    DibLayout layout;
    if (!ParseDibHeader(header, infoSize, layout) || layout.headerBytes < kBitmapHeaderSize ||
        layout.RunLength())
        return {};
    if (layout.InfoBytes() > infoSize || layout.PixelBytes() > pixelSize) return {};
    ImageBuffer image = CreateImageForDib(layout, header + layout.headerBytes + layout.maskBytes);
    if (!image) return {};
    CopyDibRows(layout, static_cast<const std::uint8_t*>(pixels.get()), image);
    return image;
}

}  // namespace duplora
