// Everything one batch conversion is told: the choices of the batch dialog (or the
// converter's command line) in one value, with the dialog's defaults, and the small rules
// that turn them into names, codes and texts.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/formats/output_formats.h"
#include "core/formats/stereo_layout.h"
#include "core/stereo/display_mode.h"

namespace duplora {

// The formats a run can write, in the order of the batch dialog's type list.
inline constexpr std::array<OutputFormat, 4> kBatchOutputFormats{
    OutputFormat::Bmp, OutputFormat::Jpeg, OutputFormat::Jps, OutputFormat::Das};

// A run takes at most this many files; names beyond it are not converted.
inline constexpr int kMaxBatchFiles = 5000;

inline constexpr int kDefaultBatchQuality = 70;
inline constexpr int kDefaultBatchWidth = 640;
inline constexpr int kDefaultBatchSharpness = 20;
// Ranges the dialog offers.
inline constexpr int kMaxBatchAngle = 900;  // tenths of a degree, either way
inline constexpr int kMaxBatchSize = 200;   // percent
inline constexpr int kMaxBatchSharpness = 50;

struct BatchOptions {
    // How each source file holds the pair: side by side, over/under, interlaced or as an
    // anaglyph, or Pair: a left file with its right file beside it ("Unabhängig(L/R)").
    StereoLayout sourceLayout = StereoLayout::SideBySide;
    // Separate files: the right file is looked up in this folder when it is set.
    bool useRightFolder = false;
    std::string rightFolder;

    // The output: a picture in a display mode the batch offers (DisplayModeRow::listIndex),
    // or two separate files "_l" and "_r", the halves of the side-by-side picture.
    DisplayMode outputMode = DisplayMode::SideBySide;
    bool separateFiles = false;
    OutputFormat outputType = OutputFormat::Jpeg;  // one of kBatchOutputFormats
    int quality = kDefaultBatchQuality;            // 1..99
    bool exifThumbnail = false;                    // JPG and JPS outputs get the Exif block

    bool angle = false;  // rotation of each view, tenths of a degree
    int leftAngle = 0;
    int rightAngle = 0;
    bool size = false;  // size of each view in percent
    int leftSize = 100;
    int rightSize = 100;
    bool position = false;  // the pair is composed with the offset (−H, −V)
    int positionH = 0;
    int positionV = 0;
    bool gamma = false;  // gamma of each view in hundredths
    int leftGamma = 100;
    int rightGamma = 100;

    bool resizeWidth = false;  // the composed picture is brought to this width
    int width = kDefaultBatchWidth;
    bool sharpen = false;  // 1 soft … 50 hard
    int sharpness = kDefaultBatchSharpness;
    bool swap = false;       // exchange the views after loading
    bool autoAlign = false;  // fit the right view to the left by features, after the swap

    // Burn in the stored text, logo and frame settings.
    bool text = false;
    bool logo = false;
    bool border = false;

    std::string targetFolder;

    // The anaglyph choices of the program, used when the output is an anaglyph.
    GreyAnaglyphPair greyPair = GreyAnaglyphPair::RedCyan;
    ColourAnaglyphKind colourKind = ColourAnaglyphKind::ColourRedCyan;
    int anaglyphLeftGamma = 100;
    int anaglyphRightGamma = 100;
};

// Every number brought into the range the dialog allows: quality 1..99, angles ±90.0°,
// sizes 0..200 %, gammas 1..5.00, width 1..65535, sharpness 1..50.
void ClampBatchOptions(BatchOptions& options);

// A target folder written with a trailing separator loses it (the root stays "/").
std::string NormaliseTargetFolder(std::string folder);

// target folder + "/" + the source's file name without its extension + the format's extension.
std::string BatchOutputName(const std::string& targetFolder, std::string_view sourcePath,
                            OutputFormat format);
// The file name without its extension; a dot in a folder name never counts.
std::string FileStem(std::string_view path);

// The first log text: "Input:" + source folder + "-> Output:" + target folder + " [" +
// format ("JPG") + "]" and an empty line; a list run names "Slide Show List" as its input.
std::string BatchLogHeader(std::string_view sourceFolder, const BatchOptions& options);
std::string BatchListLogHeader(const BatchOptions& options);

// The quick-adjustment values stored as "%d," ten times (rotation L, R, size delta L, R,
// horizontal and vertical position, then the four perspective angles) put into the
// adjustment fields: angles, sizes 100 + delta, H and the negated vertical position. The
// perspective angles have no field. False, with nothing changed, when fewer than six
// numbers are there.
bool PrefillFromQuickAdjustment(std::string_view stored, BatchOptions& options);

// The dialog's texts for angles ("%d.%d" or "-%d.%d" degrees from tenths) and gammas
// ("%d.%02d" from hundredths), and their readings: a plain decimal number with at most
// one (angles) or two (gammas) decimals; none for anything else.
std::string FormatBatchAngle(int tenths);
std::optional<int> ParseBatchAngle(std::string_view text);
std::string FormatBatchGamma(int hundredths);
std::optional<int> ParseBatchGamma(std::string_view text);

}  // namespace duplora
