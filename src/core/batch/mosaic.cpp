#include "core/batch/mosaic.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "core/batch/name_order.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/load_chain.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

bool IsTrueColour(const ImageBuffer& image) {
    return image && image.BitCount() == 24 && image.Width() > 0 && image.Height() > 0;
}

}  // namespace

bool PastePicture(ImageBuffer& target, const ImageBuffer& source, int x, int row) {
    if (!IsTrueColour(target) || !IsTrueColour(source)) return false;
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{x} + source.Width(), target.Width());
    const std::int64_t bottom = std::max<std::int64_t>(row, 0);
    const std::int64_t top =
        std::min<std::int64_t>(std::int64_t{row} + source.Height(), target.Height());
    if (left >= right || bottom >= top) return true;
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
    const std::size_t sourceOffset = static_cast<std::size_t>(left - x) * 3;
    const std::size_t targetOffset = static_cast<std::size_t>(left) * 3;
    const int sourceStride = source.Stride();
    const int targetStride = target.Stride();
    const std::uint8_t* from = source.StoredRow(static_cast<int>(bottom - row)) + sourceOffset;
    std::uint8_t* to = target.StoredRow(static_cast<int>(bottom)) + targetOffset;
    for (std::int64_t r = bottom; r < top; ++r, from += sourceStride, to += targetStride)
        std::memcpy(to, from, bytes);
    return true;
}

int MosaicRow(int canvasHeight, int height) {
    return canvasHeight - height - (canvasHeight - height) / 2;
}

ImageBuffer ComposeMosaic(std::span<const ImageBuffer> pictures,
                          const std::function<void(int, int, int, int)>& pasted) {
    std::int64_t width = 0;
    int height = 0;
    for (const ImageBuffer& picture : pictures) {
        if (!IsTrueColour(picture)) continue;
        width += picture.Width();
        height = std::max(height, picture.Height());
        if (width > kMaxImageDimension) return {};
    }
    if (width == 0 || !ImageSizeAllowed(width, height)) return {};
    ImageBuffer canvas = CreateImageForOverwrite(static_cast<int>(width), height, 24);
    if (!canvas) return {};
    const int stride = canvas.Stride();
    const int count = static_cast<int>(pictures.size());
    int x = 0;
    for (int i = 0; i < count; ++i) {
        const ImageBuffer& picture = pictures[i];
        if (!IsTrueColour(picture)) continue;
        const int row = MosaicRow(height, picture.Height());
        // The band's rows above and below a lower picture are black.
        const std::size_t bandBytes = static_cast<std::size_t>(picture.Width()) * 3;
        std::uint8_t* column = canvas.Pixels() + static_cast<std::size_t>(x) * 3;
        for (int r = 0; r < height; ++r) {
            if (r < row || r >= row + picture.Height())
                std::memset(column + static_cast<std::size_t>(r) * stride, 0, bandBytes);
        }
        PastePicture(canvas, picture, x, row);
        x += picture.Width();
        if (pasted) pasted(i + 1, count, static_cast<int>(width), height);
    }
    return canvas;
}

MosaicResult MakeMosaic(std::vector<std::string> paths, const std::string& target,
                        const ConfirmPolicy& confirm, const MosaicSteps& steps,
                        const CodecOptions& codecOptions) {
    MosaicResult result;
    if (paths.empty()) return result;
    const int count = static_cast<int>(paths.size());
    result.status = MosaicStatus::Declined;
    if (!confirm.Confirms({FormatResString(StringId::MosaicConfirmStart, count),
                           LoadResString(StringId::ConfirmConversionCaption), QuestionKind::YesNo}))
        return result;
    std::error_code ec;
    if (std::filesystem::exists(target, ec) &&
        !confirm.Confirms(
            {LoadResString(StringId::FileExistsOverwrite), target, QuestionKind::YesNo}))
        return result;

    SortNamesNoCase(paths);
    std::vector<ImageBuffer> pictures;
    pictures.reserve(paths.size());
    std::int64_t width = 0;
    for (int i = 0; i < count; ++i) {
        if (steps) steps({false, i + 1, count});
        ImageBuffer picture = LoadPictureFile(paths[i], codecOptions);
        if (!picture || picture.BitCount() != 24) {
            result.unreadable.push_back(std::move(paths[i]));
            continue;
        }
        width += picture.Width();
        result.height = std::max(result.height, picture.Height());
        result.joined.push_back(std::move(paths[i]));
        pictures.push_back(std::move(picture));
        // Stop reading as soon as the sum is known to be too wide.
        if (width > kMaxImageDimension) break;
    }
    result.width = static_cast<int>(std::min<std::int64_t>(width, INT32_MAX));

    ImageBuffer canvas;
    if (pictures.empty()) {
        result.status = MosaicStatus::NoPicture;
    } else if (!ImageSizeAllowed(width, result.height)) {
        result.status = MosaicStatus::TooLarge;
    } else {
        canvas = ComposeMosaic(pictures, [&](int index, int n, int w, int h) {
            if (steps) steps({true, index, n, w, h});
        });
        result.status = canvas ? MosaicStatus::Written : MosaicStatus::TooLarge;
    }
    pictures.clear();
    Failure why;
    if (result.status == MosaicStatus::Written) {
        if (const Status written = WriteBmpFile(target, canvas); !written) {
            result.status = MosaicStatus::WriteFailed;
            why = written.Error();
        }
    }
    if (result.status != MosaicStatus::Written)
        result.failure = Failure::Message(StringId::CannotSaveImage, StringId::ErrorCaption, target,
                                          MessageIcon::Error)
                             .After(why);
    return result;
}

MosaicResult MakeFolderMosaic(const std::string& folder, const std::string& target,
                              const ConfirmPolicy& confirm, const MosaicSteps& steps,
                              const CodecOptions& codecOptions) {
    namespace fs = std::filesystem;
    std::vector<std::string> paths = KnownImageFiles(folder, 1);
    // A mosaic left by an earlier run is not joined into the new one.
    std::error_code ec;
    std::erase_if(paths, [&](const std::string& path) {
        return fs::equivalent(path, target, ec) ||
               fs::path(path).lexically_normal() == fs::path(target).lexically_normal();
    });
    return MakeMosaic(std::move(paths), target, confirm, steps, codecOptions);
}

}  // namespace duplora
