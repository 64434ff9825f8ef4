// What the open dialogs show beside the file list: a small picture of the selected file,
// its type and colour texts, and the Exif orientation choice for JPEG files. The dialog
// only has to show what LoadOpenPreview returns.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/formats/codec_options.h"
#include "core/image/image_buffer.h"

namespace duplora {

class PluginTable;

// The kind of preview a file name asks for, by its last three characters (any case).
enum class PreviewKind {
    None,           // no preview
    Plugin,         // the extension of a loaded plug-in's pattern
    StereoJpeg,     // JPS
    Das,            // DAS, IOS
    Jpeg,           // JPG, PEG, STJ
    Bmp,            // BMP
    InterlacedBmp,  // BMI
    Tiff,           // TIF, IFF
};

// Plug-in patterns are looked at first, so a plug-in may take over any ending.
PreviewKind ClassifyPreviewName(std::string_view name, const PluginTable* plugins);

// Longer side of the thumbnail box; pictures above 1024 pixels are kept reduced to four
// times the thumbnail size.
inline constexpr int kPreviewBox = 160;
inline constexpr int kPreviewKeepLimit = 1024;

struct PreviewSize {
    int width = 0;
    int height = 0;
};
// A picture of width × height fitted into box × box with its aspect kept: the longer side
// becomes min(box, its length), the shorter one proportional (integer division, at least 1).
// 0 × 0 for an empty size.
PreviewSize FitPreviewSize(int width, int height, int box = kPreviewBox);

// The picture a loaded preview is kept as: 24-bit, reduced to four times its thumbnail size
// when wider or higher than 1024 pixels, else a 24-bit copy.
ImageBuffer KeepPreview(const ImageBuffer& preview);
// The picture at its thumbnail size (FitPreviewSize), for the box.
ImageBuffer PreviewThumbnail(const ImageBuffer& preview);

// What the DAS reader gives the preview: the left thumbnail and the sizes in the header.
struct DasPreview {
    ImageBuffer thumbnail;  // empty when the file is not a readable DAS file
    int leftWidth = 0;
    int leftHeight = 0;
    int rightWidth = 0;
    int rightHeight = 0;
};
using DasPreviewReader = std::function<DasPreview(const std::string& path)>;
// The container reader's preview (LoadDasThumbnail).
DasPreview ReadDasPreview(const std::string& path);

struct PreviewOptions {
    CodecOptions codec;  // codec.plugins: the loaded plug-ins, for names and reading
    // The container reader unless a caller puts another in; empty shows no DAS preview.
    DasPreviewReader readDas = ReadDasPreview;
};

// Orientation of a file without an Exif orientation tag.
inline constexpr int kNoPreviewOrientation = 100;

// Writes a turn the open dialog offers (Exif orientation 1, 3, 6 or 8) into the file's Exif
// block, keeping the file's times. False for another orientation or when the file could not
// be rewritten.
bool WriteOrientationChoice(const std::string& path, int orientation);

struct OpenPreview {
    PreviewKind kind = PreviewKind::None;
    ImageBuffer image;  // as kept (KeepPreview); empty when nothing could be loaded
    int depth = 0;      // bits per pixel of the picture as loaded
    int width = 0;      // size of the picture as loaded
    int height = 0;
    // Full size the loader reported (JPEG previews are reduced); 0 when it reported none,
    // negative when the size is unknown.
    int reportedWidth = 0;
    int reportedHeight = 0;
    int orientation = kNoPreviewOrientation;
    bool das = false;
    DasPreview dasSizes;  // the sizes (the thumbnail is moved into image)
};

// The preview of a selected file; none when the file cannot be opened (the dialog keeps
// what it shows). A name of no known kind gives an empty preview.
std::optional<OpenPreview> LoadOpenPreview(const std::string& path,
                                           const PreviewOptions& options = {});

}  // namespace duplora
