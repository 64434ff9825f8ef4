#include "core/formats/stereo_open.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "core/formats/bmp_codec.h"
#include "core/formats/dib_layout.h"
#include "core/formats/image_names.h"
#include "core/formats/jpeg_load.h"
#include "core/formats/jps_descriptor.h"
#include "core/formats/load_chain.h"
#include "core/formats/mpo.h"
#include "core/formats/plugins.h"
#include "core/formats/stereo_names.h"
#include "core/formats/tiff_codec.h"
#include "core/image/rotate.h"
#include "core/image/split.h"
#include "core/stereo/half_views.h"
#include "core/strings.h"
#include "core/util/parallel.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// ---- splitting -------------------------------------------------------------------------

// Columns [x0, x0 + width) of every row of a 24-bit picture, as a new picture.
ImageBuffer CopyColumns(const ImageBuffer& source, int x0, int width) {
    const int height = source.Height();
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return out;
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    const std::size_t offset = static_cast<std::size_t>(x0) * 3;
    ParallelRows(height, std::int64_t{width} * height, [&](int begin, int end) {
        for (int r = begin; r < end; ++r)
            std::memcpy(out.StoredRow(r), source.StoredRow(r) + offset, bytes);
    });
    return out;
}

// Left half and right half in one pass over the source rows.
StereoViews SplitSideBySide(const ImageBuffer& picture) {
    const int half = picture.Width() / 2, height = picture.Height();
    if (half <= 0) return {};
    StereoViews views{CreateImageForOverwrite(half, height, 24),
                      CreateImageForOverwrite(half, height, 24)};
    if (!views) return {};
    const std::size_t bytes = static_cast<std::size_t>(half) * 3;
    ParallelRows(height, std::int64_t{half} * 2 * height, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            const std::uint8_t* row = picture.StoredRow(r);
            std::memcpy(views.left.StoredRow(r), row, bytes);
            std::memcpy(views.right.StoredRow(r), row + bytes, bytes);
        }
    });
    return views;
}

// Rows [top, top + count) counted from the top: as stored they are one block of whole rows,
// and the copy has the same stride.
ImageBuffer CopyRows(const ImageBuffer& source, int top, int count) {
    const int width = source.Width();
    ImageBuffer out = CreateImageForOverwrite(width, count, 24);
    if (!out) return out;
    const std::size_t stride = static_cast<std::size_t>(source.Stride());
    const std::uint8_t* first = source.StoredRow(source.Height() - top - count);
    ParallelRows(count, std::int64_t{width} * count, [&](int begin, int end) {
        std::memcpy(out.StoredRow(begin), first + stride * static_cast<std::size_t>(begin),
                    stride * static_cast<std::size_t>(end - begin));
    });
    return out;
}

StereoViews SplitOverUnder(const ImageBuffer& picture) {
    const int half = picture.Height() / 2;
    if (half <= 0) return {};
    StereoViews views{CopyRows(picture, 0, half), CopyRows(picture, half, half)};
    if (!views) return {};
    return views;
}

// Rows [first, first + count) of the picture turned a quarter (clockwise or not). Turned
// clockwise, row y is source column y; turned the other way it is column W − 1 − y. So the
// band of rows is the matching band of columns turned, and the whole turned copy is never
// made.
ImageBuffer TurnedRows(const ImageBuffer& picture, bool clockwise, int first, int count) {
    const int x0 = clockwise ? first : picture.Width() - first - count;
    const ImageBuffer band = CopyColumns(picture, x0, count);
    if (!band) return {};
    return RotateQuarter(band, clockwise ? kRotateClockwise : kRotateCounterClockwise);
}

StereoViews SplitTurned(const ImageBuffer& picture, StereoLayout layout) {
    // The turned picture's height is the source width.
    const int half = picture.Width() / 2;
    if (half <= 0 || picture.Height() <= 0) return {};
    StereoViews views;
    switch (layout) {
        case StereoLayout::TurnedRight:
        case StereoLayout::TurnedLeft: {
            const bool clockwise = layout == StereoLayout::TurnedRight;
            views.right = TurnedRows(picture, clockwise, 0, half);
            views.left = TurnedRows(picture, clockwise, half, half);
            break;
        }
        case StereoLayout::TriDeltaTT:
            views.left = TurnedRows(picture, true, half, half);
            views.right = TurnedRows(picture, false, half, half);
            break;
        case StereoLayout::TriDeltaBB:
            views.left = TurnedRows(picture, true, 0, half);
            views.right = TurnedRows(picture, false, 0, half);
            break;
        default:
            return {};
    }
    if (!views) return {};
    return views;
}

// ---- reading ---------------------------------------------------------------------------

struct ReadPicture {
    ImageBuffer image;
    int orientation = kNoOrientation;
    bool partial = false;
    bool fromDas = false;
    int dasX = 0;
    int dasY = 0;
};

ReadPicture ReadAnyPicture(const std::string& path, const StereoOpenOptions& options,
                           const Progress& progress) {
    ReadPicture read;
    JpegLoadResult jpeg = LoadJpegImage(path, JpegLoadMode::Full, progress);
    if (jpeg.image) {
        read.image = std::move(jpeg.image);
        read.orientation = jpeg.orientation;
        read.partial = jpeg.partial;
        return read;
    }
    if (progress.Cancelled()) return read;
    if ((read.image = ReadBmpFile(path, progress))) return read;
    if (progress.Cancelled()) return read;
    if ((read.image = ReadTiffFile(path, options.codec, &read.partial, progress))) return read;
    if (progress.Cancelled()) return read;
    if ((read.image = ReadTiffRgba(path, options.codec, &read.partial, progress))) return read;
    if (progress.Cancelled()) return read;
    if (options.readDas) {
        DasPicture das = options.readDas(path);
        if (das.image) {
            read.image = std::move(das.image);
            read.fromDas = true;
            read.dasX = das.header.alignX;
            read.dasY = das.header.alignY;
            return read;
        }
    }
    if (const PluginTable* plugins = options.codec.plugins) {
        const Progress* pluginProgress = options.codec.pluginProgress ? &progress : nullptr;
        for (int index : plugins->TryOrder()) {
            if (progress.Cancelled()) return read;
            if ((read.image = ReadWithPlugin(path, *plugins, index, pluginProgress))) return read;
        }
    }
    return read;
}

// The views of a side-by-side or over/under picture whose descriptor says they were halved
// in width or height, stretched back to full size. Views that cannot be made larger (beyond
// the size limits) stay as they are: whole, only squeezed.
void RestoreHalvedViews(StereoViews& views, const JpsDescriptor& jps, StereoLayout layout) {
    if (layout != StereoLayout::SideBySide && layout != StereoLayout::OverUnder) return;
    for (const bool widthwise : {true, false}) {
        if (!(widthwise ? jps.halfWidth : jps.halfHeight)) continue;
        StereoViews stretched{StretchView(views.left, widthwise),
                              StretchView(views.right, widthwise)};
        if (stretched) views = std::move(stretched);
    }
}

}  // namespace

std::optional<StereoLayout> StereoLayoutFromNumber(int number) {
    if ((number >= 0 && number <= 8) || number == 10 || number == 20)
        return static_cast<StereoLayout>(number);
    return std::nullopt;
}

StereoLayout LayoutForStereoDialog(StereoLayout remembered) {
    return static_cast<int>(remembered) > 9 ? StereoLayout::SideBySide : remembered;
}

StereoViews SplitStereoPicture(const ImageBuffer& picture, StereoLayout layout) {
    if (!picture || picture.BitCount() != 24) return {};
    switch (layout) {
        case StereoLayout::SideBySide:
        case StereoLayout::Pair:
            return SplitSideBySide(picture);
        case StereoLayout::OverUnder:
            return SplitOverUnder(picture);
        case StereoLayout::Interlace: {
            StereoViews views{ExtractField(picture, false), ExtractField(picture, true)};
            if (!views) return {};
            return views;
        }
        case StereoLayout::Anaglyph: {
            // Red for the left eye; the right takes green or blue, whichever carries more.
            StereoViews views{SplitAnaglyph(picture, 1), SplitAnaglyph(picture, 0)};
            if (!views) return {};
            return views;
        }
        case StereoLayout::TurnedRight:
        case StereoLayout::TurnedLeft:
        case StereoLayout::TriDeltaTT:
        case StereoLayout::TriDeltaBB:
            return SplitTurned(picture, layout);
        default:
            return {};
    }
}

StereoOpenResult OpenStereoFile(const std::string& path, StereoLayout layout,
                                const StereoOpenOptions& options, const Progress& progress) {
    StereoOpenResult result;
    // A pair of two files has no split of its own; its number reopens side by side.
    if (layout == StereoLayout::Pair) layout = StereoLayout::SideBySide;
    result.layout = layout;
    result.single = layout == StereoLayout::Single;
    result.leftPath = result.rightPath = path;
    result.leftName = result.rightName = FileNamePart(path);
    if (!result.single) {
        result.leftName += LoadResString(StringId::LeftNameSuffix);
        result.rightName += LoadResString(StringId::RightNameSuffix);
    }
    if (path.empty() || !StereoLayoutFromNumber(static_cast<int>(layout))) return result;

    if (layout == StereoLayout::Mpo) {
        MpoViews mpo = ReadMpoFile(path, progress);
        if (!mpo.left || !mpo.right) return result;
        result.left = std::move(mpo.left);
        result.right = std::move(mpo.right);
        result.orientation = mpo.orientation;
        result.partial = mpo.partial;
        result.loaded = true;
        return result;
    }

    ReadPicture read = ReadAnyPicture(path, options, progress);
    if (!read.image) return result;
    result.orientation = read.orientation;
    result.partial = read.partial;
    if (read.fromDas) {
        result.fromDas = true;
        result.hasAlignment = true;
        result.dx = -read.dasX;
        result.dy = read.dasY;
    }
    if (read.image.BitCount() != 24) {
        read.image = ExpandIndexedImage(read.image);
        if (!read.image) return result;
    }
    if (result.single) {
        result.left = std::move(read.image);
        result.loaded = true;
        return result;
    }
    StereoViews views =
        SplitStereoPicture(read.image, read.fromDas ? StereoLayout::SideBySide : layout);
    read.image.Reset();  // back to the pool before anything else is allocated
    if (!views) return result;
    // A JPS split the way its descriptor says is opened the way it was meant: the right way
    // round when it says its right view comes first (crossed order), and with each view
    // stretched back to full size when it says the views were halved.
    if (!read.fromDas) {
        const std::optional<JpsDescriptor> jps = ReadJpsDescriptor(path);
        if (jps && jps->stereo && jps->layout == layout && layout != StereoLayout::Anaglyph) {
            if (!jps->leftFirst) std::swap(views.left, views.right);
            RestoreHalvedViews(views, *jps, layout);
        }
    }
    result.left = std::move(views.left);
    result.right = std::move(views.right);
    result.loaded = true;
    return result;
}

StereoOpenResult OpenLeftRight(const std::string& leftPath, const std::string& rightPath,
                               const CodecOptions& options, const Progress& progress) {
    StereoOpenResult result;
    result.layout = StereoLayout::Pair;
    LoadedImage left = LoadImageFile(leftPath, options, progress);
    LoadedImage right = LoadImageFile(rightPath, options, progress);
    result.leftPath = std::move(left.path);
    result.rightPath = std::move(right.path);
    result.leftName = std::move(left.displayName);
    result.rightName = std::move(right.displayName);
    result.orientation = left.orientation;
    result.partial = left.partial || right.partial;
    if (!left.loaded || !right.loaded) {
        result.failedPath = !left.loaded ? leftPath : rightPath;
        return result;
    }
    result.left = std::move(left.image);
    result.right = std::move(right.image);
    result.loaded = true;
    return result;
}

std::optional<std::string> ProposeRightPartner(const std::string& selected,
                                               const std::string& lastRightFolder) {
    if (const std::optional<std::string> partner = FindPartnerName(selected);
        partner && IsRegularFile(*partner))
        return partner;
    if (lastRightFolder.empty()) return std::nullopt;
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string folder = FolderPart(selected);
    const bool sameFolder =
        fs::equivalent(folder.empty() ? "." : folder, lastRightFolder, ec) && !ec;
    if (sameFolder || lastRightFolder == folder) return std::nullopt;
    std::string candidate = lastRightFolder;
    if (candidate.back() != '/') candidate += '/';
    candidate += FileNamePart(selected);
    if (IsRegularFile(candidate)) return candidate;
    if (const std::optional<std::string> partner = FindPartnerName(candidate);
        partner && IsRegularFile(*partner))
        return partner;
    return std::nullopt;
}

}  // namespace duplora
