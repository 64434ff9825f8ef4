// The save dialog's size estimate: a copy of the picture reduced to fit 220 × 220 is
// encoded at the chosen quality into a scratch file, and its size, scaled by the size
// factor, tells the user how large the file will be. "genaue Größe" encodes the whole
// picture once and replaces the factor by the measured ratio.
#pragma once

#include <cstdint>
#include <string>

#include "core/formats/output_formats.h"
#include "core/image/image_buffer.h"

namespace duplora {

inline constexpr int kSavePreviewBox = 220;

// The dialog's preview copy and the factor that turns its encoded size into the estimate
// for the whole picture: 1.0 when it is not reduced, else (W/w × H/h)^0.85 until measured.
struct SavePreview {
    ImageBuffer image;
    double sizeFactor = 1.0;
    bool reduced = false;  // smaller than the picture in some direction
};

// The picture reduced to fit 220 × 220 with its aspect kept, only when a side exceeds 220;
// else a copy. Empty image for no picture or when the copy cannot be made.
SavePreview MakeSavePreview(const ImageBuffer& saveImage);

struct SizeEstimate {
    bool ok = false;
    bool exact = false;      // the size is the file's, not an estimate
    std::int64_t bytes = 0;  // what the dialog's size text shows
    ImageBuffer shown;       // the preview as the encoder left it, for the preview box
};

// Encodes the preview copy at `quality` (progress silenced) into a scratch file that is
// removed after. For a reduced copy: about ⌊⌊S × factor⌋ / 100⌋ × 100 bytes; else exactly S
// (+23 for STJ, whose head is longer).
SizeEstimate EstimateSaveSize(const SavePreview& preview, int quality, OutputFormat format);

// "genaue Größe": encodes the whole picture (with the Exif block for JPEG and JPS when
// asked) and shows its size exactly (+23 for STJ), then sets preview.sizeFactor to the
// ratio of that size to the preview copy's encoded size for later estimates.
SizeEstimate MeasureExactSize(const ImageBuffer& saveImage, SavePreview& preview, int quality,
                              OutputFormat format, bool exifThumbnail);

// Which controls of the option panel a format shows: one that is not JPEG-coded (BMP) hides
// the quality, the size text, the Exif switch and the exact-size button; one without Exif
// hides the switch; STJ shows the mobile-phone note. The exact-size button needs a reduced
// preview.
struct SavePanelState {
    bool quality = true;  // label, scroll bar and number
    bool sizeText = true;
    bool exifSwitch = true;
    bool exactButton = true;
    bool phoneNote = false;
    // The camera's Exif can go into the file (JPEG, JPS, MPO).
    bool cameraExifSwitch = true;
};
SavePanelState SavePanelFor(OutputFormat format, bool previewReduced);

}  // namespace duplora
