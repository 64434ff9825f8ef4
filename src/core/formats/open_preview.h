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

// The rotation radios of the open dialog ("links 90°" 1260, "Original" 1261, "rechts 90°"
// 1262, "180° drehen" 1263), shown only for a file with an Exif orientation.
inline constexpr int kRotateLeftRadio = 1260;
inline constexpr int kRotateNoneRadio = 1261;
inline constexpr int kRotateRightRadio = 1262;
inline constexpr int kRotateHalfRadio = 1263;
struct RotationChoice {
    bool visible = false;
    int checkedRadio = 0;  // 0 when the orientation has no radio
};
RotationChoice RotationRadiosFor(int orientation);
// The orientation a radio stands for: 8, 1, 6, 3; 0 for another id.
int OrientationForRadio(int radioId);
// Writes the orientation of the radio into the file's Exif block, keeping the file's times.
// False when the id is not a rotation radio or the file could not be rewritten.
bool WriteOrientationChoice(const std::string& path, int radioId);

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
    DasPreview dasSizes;     // the sizes (the thumbnail is moved into image)
    std::string typeText;    // "Dateityp : %s"
    std::string colourText;  // "Bildgröße: %dx%d  Farben: %s " and its variants
    RotationChoice rotation;
};

// The preview of a selected file; none when the file cannot be opened (the dialog keeps
// what it shows). A name of no known kind gives an empty preview with empty texts.
std::optional<OpenPreview> LoadOpenPreview(const std::string& path,
                                           const PreviewOptions& options = {});

// The type name of a kind ("Jpeg Stereo File", "DAS File", "Jpeg File", "BMP File", "BMP
// Interlaced File", "Susie plug-in File"), and the text "Dateityp : %s" with it.
std::string_view PreviewTypeName(PreviewKind kind);
std::string PreviewTypeText(PreviewKind kind);
// The colour text of a depth: 24 "Volle Farbanzahl", 16 "64k Farben", 8 "256 Farben",
// 4 "16 Farben", 1 "2 Farben"; empty for another.
std::string ColourCountText(int depth);
// "Farben: %s " when a reported size is negative; else "Bildgröße: %dx%d  Farben: %s " with
// the reported size, or the preview's own when a reported size is 0.
std::string PreviewColourText(int depth, int reportedWidth, int reportedHeight, int previewWidth,
                              int previewHeight);
// "Bildgröße: %dx%d - %dx%d  Farben: %s " with the sizes of a DAS header.
std::string DasColourText(int depth, const DasPreview& sizes);

}  // namespace duplora
