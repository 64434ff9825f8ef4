// The output-format table: one row per file type the program writes, read by the save
// dialogs, the extension fix, the size estimate, the batch and the converter. A new format
// is a row here and its writer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/image/image_buffer.h"
#include "core/stereo/display_mode.h"
#include "core/util/progress.h"
#include "core/util/result.h"

namespace duplora {

// The numbers are the save dialog's type list (JPEG, BMP, JPS, STJ), DAS after them; the
// batch numbers its list in its own order (kBatchOutputFormats).
// MPO, the multi-picture file of stereo cameras, after DAS.
enum class OutputFormat : int { Jpeg = 0, Bmp = 1, Jps = 2, Stj = 3, Das = 4, Mpo = 5 };

// How a picture is written beyond its pixels.
struct PictureWriteOptions {
    int quality = 80;   // 1..100, the JPEG quality of JPEG-coded formats
    bool exif = false;  // the Exif block with a thumbnail
    // What the picture holds, for the formats that describe it (the JPS descriptor).
    DisplayMode mode = DisplayMode::SideBySide;
    // An Exif segment of the source (exif_carry.h) to carry into JPEG-coded outputs, fitted
    // to each written picture's size; empty for none. It takes the place of the thumbnail
    // block.
    std::span<const std::uint8_t> cameraExif;
};

// Writes the picture as the format, replacing the file atomically and reporting to
// `progress`; a failure with the writer's reason when it could not be written (also when
// `progress` is cancelled). A file an Exif block or descriptor cannot be added to is still
// written, the reason coming back as a warning.
using PictureWriter = Result<Warnings> (*)(const std::string& path, const ImageBuffer& picture,
                                           const PictureWriteOptions& options,
                                           const Progress& progress);

struct OutputFormatRow {
    OutputFormat format;
    std::string_view key;        // the converter's name ("jpg"); upper case, the batch log's
    std::string_view extension;  // what a name of this format is given (".jpg")
    // Names ending in one of these, in any case, are of this format (no dot needed).
    std::array<std::string_view, 2> endings;
    std::string_view typeName;  // the save dialogs' type list ("JPEG File"); empty for none
    bool jpeg;                  // JPEG-coded: has a quality and a size estimate
    bool exif;                  // can carry the Exif block with a thumbnail
    // The extension fix writes the ending anew even over a name of this format.
    bool rewritesEnding;
    std::size_t extraBytes;  // the file is this much longer than the JPEG it holds
    bool phoneNote;          // the save panel points out the mobile-phone transfer limit
    // The picture handed to the writer is the side-by-side composition, whose halves the
    // file keeps as two pictures (MPO); whatever the display mode.
    bool twoPictures;
    // nullptr: the format is not made from a picture but from the source files (DAS).
    PictureWriter write;
};

std::span<const OutputFormatRow> OutputFormatTable();

// The row of a format; nullptr for a number that is no format.
const OutputFormatRow* FindOutputFormat(OutputFormat format);
const OutputFormatRow* OutputFormatByKey(std::string_view key);

// The format whose endings the name ends in; none for other names.
std::optional<OutputFormat> OutputFormatByName(std::string_view name);

// "key" in upper case: "JPG", "BMP", "JPS", "DAS".
std::string OutputFormatLogName(const OutputFormatRow& row);

// The save dialogs' filter of the format: its type name and its endings in lower and upper
// case ("JPEG File (*.jpg *.JPG *.jpeg *.JPEG)").
std::string OutputFormatFilter(const OutputFormatRow& row);

}  // namespace duplora
