#include "core/formats/load_chain.h"

#include <filesystem>

#include "core/formats/bmp_codec.h"
#include "core/formats/dib_layout.h"
#include "core/formats/jpeg_load.h"
#include "core/formats/plugins.h"
#include "core/formats/tiff_codec.h"

namespace duplora {

namespace {

ImageBuffer TryReaders(const std::string& path, const CodecOptions& options,
                       const Progress& progress, int& orientation, bool& partial) {
    JpegLoadResult jpeg = LoadJpegImage(path, JpegLoadMode::Full, progress);
    if (jpeg.image) {
        orientation = jpeg.orientation;
        partial = jpeg.partial;
        return std::move(jpeg.image);
    }
    if (progress.Cancelled()) return {};
    if (ImageBuffer image = ReadBmpFile(path, progress)) return image;
    if (progress.Cancelled()) return {};
    if (ImageBuffer image = ReadTiffFile(path, options, &partial, progress)) return image;
    if (progress.Cancelled()) return {};
    if (ImageBuffer image = ReadTiffRgba(path, options, &partial, progress)) return image;
    if (options.plugins) {
        const Progress* pluginProgress = options.pluginProgress ? &progress : nullptr;
        for (int index : options.plugins->TryOrder()) {
            if (progress.Cancelled()) return {};
            if (ImageBuffer image = ReadWithPlugin(path, *options.plugins, index, pluginProgress))
                return image;
        }
    }
    return {};
}

// 24-bit pictures pass as they are; others are converted, and a failed conversion is a
// failed load.
ImageBuffer AsTrueColour(ImageBuffer image) {
    if (!image || image.BitCount() == 24) return image;
    return ExpandIndexedImage(image);
}

}  // namespace

LoadedImage LoadImageFile(const std::string& path, const CodecOptions& options,
                          const Progress& progress) {
    LoadedImage result;
    result.path = path;
    result.displayName = std::filesystem::path(path).filename().string();
    if (path.empty()) return result;
    result.image =
        AsTrueColour(TryReaders(path, options, progress, result.orientation, result.partial));
    result.loaded = static_cast<bool>(result.image);
    return result;
}

ImageBuffer LoadPictureFile(const std::string& path, const CodecOptions& options) {
    if (path.empty()) return {};
    int orientation = kNoOrientation;
    bool partial = false;
    return AsTrueColour(TryReaders(path, options, NoProgress(), orientation, partial));
}

}  // namespace duplora
