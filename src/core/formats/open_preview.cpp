#include "core/formats/open_preview.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/formats/bmp_codec.h"
#include "core/formats/das.h"
#include "core/formats/dib_layout.h"
#include "core/formats/exif.h"
#include "core/formats/image_names.h"
#include "core/formats/jpeg_load.h"
#include "core/formats/plugins.h"
#include "core/formats/tiff_codec.h"
#include "core/image/resample.h"

namespace duplora {

namespace {

bool CanOpen(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

// The last three characters of a pattern's extension ("*.jpeg" → "peg"); empty for a
// pattern without one ("*", "*.*").
std::string_view PatternEnding(std::string_view pattern) {
    const std::size_t dot = pattern.find_last_of('.');
    std::string_view extension = dot == std::string_view::npos ? pattern : pattern.substr(dot + 1);
    if (extension.empty() || extension.find_first_of("*?") != std::string_view::npos) return {};
    return extension.size() > 3 ? extension.substr(extension.size() - 3) : extension;
}

bool PluginTakes(std::string_view name, const PluginTable& plugins) {
    for (const Plugin& plugin : plugins.Plugins()) {
        for (const PluginFilter& filter : plugin.filters) {
            std::string_view patterns = filter.pattern;
            while (!patterns.empty()) {
                const std::size_t semicolon = patterns.find(';');
                const std::string_view one = patterns.substr(0, semicolon);
                const std::string_view ending = PatternEnding(one);
                if (!ending.empty() && EndsWithNoCase(name, ending)) return true;
                if (semicolon == std::string_view::npos) break;
                patterns.remove_prefix(semicolon + 1);
            }
        }
    }
    return false;
}

ImageBuffer ReadPluginPreview(const std::string& path, const CodecOptions& codec) {
    if (!codec.plugins) return {};
    for (int index : codec.plugins->TryOrder())
        if (ImageBuffer image = ReadWithPlugin(path, *codec.plugins, index,
                                               codec.pluginProgress ? &NoProgress() : nullptr))
            return image;
    return {};
}

}  // namespace

PreviewKind ClassifyPreviewName(std::string_view name, const PluginTable* plugins) {
    if (plugins && PluginTakes(name, *plugins)) return PreviewKind::Plugin;
    struct Rule {
        std::string_view ending;
        PreviewKind kind;
    };
    static constexpr Rule kRules[] = {
        {"jps", PreviewKind::StereoJpeg}, {"ios", PreviewKind::Das},
        {"das", PreviewKind::Das},        {"jpg", PreviewKind::Jpeg},
        {"peg", PreviewKind::Jpeg},       {"stj", PreviewKind::Jpeg},
        {"bmp", PreviewKind::Bmp},        {"bmi", PreviewKind::InterlacedBmp},
        {"tif", PreviewKind::Tiff},       {"iff", PreviewKind::Tiff},
        // A multi-picture file previews as its first picture.
        {"mpo", PreviewKind::StereoJpeg},
    };
    for (const Rule& rule : kRules)
        if (EndsWithNoCase(name, rule.ending)) return rule.kind;
    return PreviewKind::None;
}

PreviewSize FitPreviewSize(int width, int height, int box) {
    if (width <= 0 || height <= 0 || box <= 0) return {};
    PreviewSize size;
    if (width >= height) {
        size.width = std::min(box, width);
        size.height = static_cast<int>(std::int64_t{size.width} * height / width);
    } else {
        size.height = std::min(box, height);
        size.width = static_cast<int>(std::int64_t{size.height} * width / height);
    }
    size.width = std::max(size.width, 1);
    size.height = std::max(size.height, 1);
    return size;
}

ImageBuffer KeepPreview(const ImageBuffer& preview) {
    if (!preview) return {};
    const int width = preview.Width(), height = preview.Height();
    if (width <= kPreviewKeepLimit && height <= kPreviewKeepLimit) {
        if (preview.BitCount() == 24) return DuplicateImage(preview);
        return ExpandIndexedImage(preview);
    }
    const PreviewSize fit = FitPreviewSize(width, height);
    return ResizeImage(preview, 4 * fit.width, 4 * fit.height);
}

ImageBuffer PreviewThumbnail(const ImageBuffer& preview) {
    if (!preview) return {};
    const PreviewSize fit = FitPreviewSize(preview.Width(), preview.Height());
    return ResizeImage(preview, fit.width, fit.height);
}

DasPreview ReadDasPreview(const std::string& path) {
    DasThumbnail das = LoadDasThumbnail(path);
    DasPreview preview;
    if (!das.image) return preview;
    preview.thumbnail = std::move(das.image);
    preview.leftWidth = das.header.leftWidth;
    preview.leftHeight = das.header.leftHeight;
    preview.rightWidth = das.header.rightWidth;
    preview.rightHeight = das.header.rightHeight;
    return preview;
}

std::optional<OpenPreview> LoadOpenPreview(const std::string& path, const PreviewOptions& options) {
    if (path.empty() || !CanOpen(path)) return std::nullopt;
    OpenPreview preview;
    preview.kind = ClassifyPreviewName(path, options.codec.plugins);
    ImageBuffer loaded;
    switch (preview.kind) {
        case PreviewKind::None:
            return preview;
        case PreviewKind::Bmp:
        case PreviewKind::InterlacedBmp:
            loaded = ReadBmpFile(path);
            break;
        case PreviewKind::Tiff:
            loaded = ReadTiffFile(path, options.codec);
            if (!loaded) loaded = ReadTiffRgba(path, options.codec);
            break;
        case PreviewKind::StereoJpeg:
        case PreviewKind::Jpeg: {
            JpegLoadResult jpeg = LoadJpegImage(path, JpegLoadMode::Preview);
            loaded = std::move(jpeg.image);
            preview.orientation = jpeg.orientation;
            preview.reportedWidth = jpeg.width;
            preview.reportedHeight = jpeg.height;
            break;
        }
        case PreviewKind::Das:
            if (options.readDas) {
                preview.dasSizes = options.readDas(path);
                loaded = std::move(preview.dasSizes.thumbnail);
                preview.das = static_cast<bool>(loaded);
            }
            break;
        case PreviewKind::Plugin:
            loaded = ReadPluginPreview(path, options.codec);
            break;
    }
    if (!loaded) return preview;
    preview.depth = loaded.BitCount();
    preview.width = loaded.Width();
    preview.height = loaded.Height();
    preview.image = KeepPreview(loaded);
    return preview;
}

}  // namespace duplora
