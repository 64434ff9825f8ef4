#include "core/formats/load_chain.h"

#include <filesystem>

#include "core/formats/bmp_codec.h"
#include "core/formats/dib_layout.h"
#include "core/formats/jpeg_load.h"
#include "core/formats/plugins.h"
#include "core/formats/tiff_codec.h"
#include "core/hooks.h"

namespace duplora {

namespace {

ImageBuffer TryReaders(const std::string& path, const CodecOptions& options, int& orientation,
                       bool& partial) {
    JpegLoadResult jpeg = LoadJpegImage(path, JpegLoadMode::Full);
    if (jpeg.image) {
        orientation = jpeg.orientation;
        partial = jpeg.partial;
        return std::move(jpeg.image);
    }
    if (ImageBuffer image = ReadBmpFile(path)) return image;
    if (ImageBuffer image = ReadTiffFile(path, options, &partial)) return image;
    if (ImageBuffer image = ReadTiffRgba(path, options, &partial)) return image;
    if (options.plugins) {
        for (int index : options.plugins->TryOrder())
            if (ImageBuffer image =
                    ReadWithPlugin(path, *options.plugins, index, options.pluginProgress))
                return image;
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

LoadedImage LoadImageFile(const std::string& path, const CodecOptions& options) {
    LoadedImage result;
    result.path = path;
    result.displayName = std::filesystem::path(path).filename().string();
    if (path.empty()) return result;
    result.image = AsTrueColour(TryReaders(path, options, result.orientation, result.partial));
    result.loaded = static_cast<bool>(result.image);
    return result;
}

ImageBuffer LoadPictureFile(const std::string& path, const CodecOptions& options) {
    if (path.empty()) return {};
    const ScopedProgressSink silent{ProgressSink{}};
    int orientation = kNoOrientation;
    bool partial = false;
    return AsTrueColour(TryReaders(path, options, orientation, partial));
}

}  // namespace duplora
