#include "core/formats/save_estimate.h"

#include <cmath>

#include "core/formats/exif.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/open_preview.h"
#include "core/formats/temp_file.h"
#include "core/image/resample.h"

namespace duplora {

namespace {

// Size of `image` encoded at `quality`, and the decoded result when asked; -1 on failure.
// Without progress: the dialog encodes on every quality change. An Exif block that cannot
// be added to the scratch file only leaves the size without it.
std::int64_t TrialEncode(const ImageBuffer& image, int quality, bool exif, ImageBuffer* decoded) {
    const ScratchFile scratch("size");
    if (!scratch.Valid() || !image || !EncodeJpegImage(scratch.Path(), image, true, quality))
        return -1;
    if (exif) static_cast<void>(AddExifBlock(scratch.Path()));
    const std::int64_t size = scratch.Size();
    if (decoded) *decoded = DecodeJpegFile(scratch.Path(), false);
    return size;
}

// What the file holds beyond the encoded JPEG.
std::int64_t ExtraBytes(OutputFormat format) {
    const OutputFormatRow* row = FindOutputFormat(format);
    return row ? static_cast<std::int64_t>(row->extraBytes) : 0;
}

}  // namespace

SavePreview MakeSavePreview(const ImageBuffer& saveImage) {
    SavePreview preview;
    if (!saveImage) return preview;
    const int width = saveImage.Width(), height = saveImage.Height();
    if (width <= kSavePreviewBox && height <= kSavePreviewBox) {
        preview.image = saveImage.BitCount() == 24 ? DuplicateImage(saveImage) : ImageBuffer{};
        return preview;
    }
    const PreviewSize fit = FitPreviewSize(width, height, kSavePreviewBox);
    preview.image = ResizeImage(saveImage, fit.width, fit.height);
    preview.reduced = fit.width < width || fit.height < height;
    if (preview.reduced)
        preview.sizeFactor = std::pow(
            static_cast<double>(width) / fit.width * (static_cast<double>(height) / fit.height),
            0.85);
    return preview;
}

SizeEstimate EstimateSaveSize(const SavePreview& preview, int quality, OutputFormat format) {
    SizeEstimate estimate;
    const std::int64_t size = TrialEncode(preview.image, quality, false, &estimate.shown);
    if (size < 0) return estimate;
    estimate.ok = true;
    if (preview.reduced) {
        const auto scaled =
            static_cast<std::int64_t>(static_cast<double>(size) * preview.sizeFactor);
        estimate.bytes = scaled / 100 * 100;
    } else {
        estimate.exact = true;
        estimate.bytes = size + ExtraBytes(format);
    }
    return estimate;
}

SizeEstimate MeasureExactSize(const ImageBuffer& saveImage, SavePreview& preview, int quality,
                              OutputFormat format, bool exifThumbnail) {
    SizeEstimate estimate;
    const OutputFormatRow* row = FindOutputFormat(format);
    const bool exif = exifThumbnail && row && row->exif;
    const std::int64_t full = TrialEncode(saveImage, quality, exif, nullptr);
    if (full < 0) return estimate;
    const std::int64_t small = TrialEncode(preview.image, quality, false, &estimate.shown);
    if (small > 0) preview.sizeFactor = static_cast<double>(full) / static_cast<double>(small);
    estimate.ok = true;
    estimate.exact = true;
    estimate.bytes = full + ExtraBytes(format);
    return estimate;
}

SavePanelState SavePanelFor(OutputFormat format, bool previewReduced) {
    SavePanelState state;
    const OutputFormatRow* row = FindOutputFormat(format);
    if (!row || !row->jpeg) {
        state.quality = state.sizeText = state.exifSwitch = state.exactButton = false;
        state.cameraExifSwitch = false;
        return state;
    }
    state.exactButton = previewReduced;
    state.exifSwitch = row->exif;
    state.phoneNote = row->phoneNote;
    state.cameraExifSwitch = row->exif || row->twoPictures;
    return state;
}

}  // namespace duplora
