// The Exif block of JPEG files: reading the orientation, the main picture's size, the
// comment and the embedded thumbnail; writing a new orientation or new pixel dimensions
// into an existing block; and giving the JPEG files this program writes a block of their
// own with a freshly made thumbnail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <vector>
#include "core/util/result.h"

namespace duplora {

// Orientation reported when a file has no Orientation tag.
inline constexpr int kNoOrientation = 100;
// Everything is read from, and patched in, this many bytes at the start of the file;
// Exif data beyond them is not seen.
inline constexpr std::size_t kExifHeaderSize = 65535;

enum class ExifToolMode {
    ReadOrientation = 0,
    ExtractThumbnail = 1,  // also the main picture's size
    WriteOrientation = 2,
    WriteDimensions = 3,  // PixelXDimension and PixelYDimension
};

enum class ExifToolResult {
    ThumbnailWritten = 0,
    Done = 1,
    CannotOpen = 2,
    CannotWrite = 3,
    NoExif = 4,
};

// What the writing modes put into the file.
struct ExifValues {
    int orientation = 1;  // WriteOrientation
    int pixelWidth = 0;   // WriteDimensions
    int pixelHeight = 0;
};

// What one pass over a file's header found. The one record of these facts: the picture
// loaders, the open dialog's preview, the DAS reader and the Exif editor all read them here.
struct ExifFacts {
    ExifToolResult result = ExifToolResult::NoExif;
    int orientation = kNoOrientation;  // tag 274
    int width = 0;                     // main picture, from its frame header
    int height = 0;
    std::size_t tiffHeader = 0;         // file offset of the TIFF header, when found
    std::uint32_t thumbnailOffset = 0;  // tags 513 and 514, relative to the TIFF header
    std::uint32_t thumbnailLength = 0;
    bool thumbnailInside = false;  // offset and length lie inside the Exif block that was read
    std::string comment;           // the COM segment's text up to its first zero byte

    // An APP1 "Exif" block with a whole TIFF header was found.
    bool HasExif() const { return tiffHeader != 0; }
};

// Reads (modes 0, 1) or patches in place (modes 2, 3) the header bytes of a JPEG file.
// `changed` tells whether a writing mode altered any byte. Every offset, length and
// count is checked against the bytes given; never reads or writes outside them.
ExifFacts ScanExifHeader(std::span<std::uint8_t> header, ExifToolMode mode,
                         const ExifValues& values = {}, bool* changed = nullptr);

// Reads the facts of header bytes without changing them. When `thumbnail` is given it
// receives the thumbnail's bytes if they lie inside the block, else it is emptied.
ExifFacts ReadExifFacts(std::span<const std::uint8_t> header,
                        std::vector<std::uint8_t>* thumbnail = nullptr);
// The same for the first 65535 bytes of a file; no Exif (orientation 100) when it cannot
// be read.
ExifFacts ReadExifFacts(const std::string& path, std::vector<std::uint8_t>* thumbnail = nullptr);

// The whole operation on a file. Mode 1 writes the thumbnail's bytes to `thumbnailPath`
// (result 0) when the file has one inside its first 65535 bytes. Modes 2 and 3 replace the
// file atomically, keeping its times and permissions, and only when a value changed.
ExifFacts ExifTool(const std::string& path, const std::string& thumbnailPath, ExifToolMode mode,
                   const ExifValues& values = {});

// ---- the Exif block of files this program writes ------------------------------------

// Layout of the 640-byte template (offsets from its first byte; the TIFF header is at 10
// and offsets inside the block count from there). The thumbnail follows at 640.
inline constexpr std::size_t kExifTemplateSize = 640;
inline constexpr std::size_t kExifTemplateLengthAt = 2;      // APP1 length, big-endian
inline constexpr std::size_t kExifTemplateDateTimeAt = 218;  // 19 characters and a zero
inline constexpr std::size_t kExifTemplatePixelXAt = 284;    // low 16 bits, little-endian
inline constexpr std::size_t kExifTemplatePixelYAt = 296;
inline constexpr std::size_t kExifTemplateOriginalAt = 436;     // DateTimeOriginal
inline constexpr std::size_t kExifTemplateDigitizedAt = 456;    // DateTimeDigitized
inline constexpr std::size_t kExifTemplateThumbLengthAt = 616;  // JPEGInterchangeFormatLength
// The APP1 length field caps the thumbnail.
inline constexpr std::size_t kMaxExifThumbnailSize = 65535 + 2 - kExifTemplateSize;

// The template, defined in res/core/exif_template.cpp.
std::span<const std::uint8_t, kExifTemplateSize> ExifTemplate();

// The complete APP1 segment: the template with the thumbnail appended and length, dates
// ("YYYY:MM:DD hh:mm:ss"), pixel size and thumbnail length patched. Empty when the
// thumbnail is empty or too large.
std::vector<std::uint8_t> MakeExifBlock(std::span<const std::uint8_t> thumbnail, int width,
                                        int height, const std::string& dateTime);

// The date text of the block for a time: local time as "%04d:%02d:%02d %02d:%02d:%02d".
std::string ExifDateText(std::time_t time);

// Gives a JPEG file that has no Exif block one with a 160-pixel thumbnail, keeping the
// file's times. A failure when nothing was added: with an English message (the path as
// caption) for what the user should hear of, quiet for a file that already has an Exif
// block (it is left alone) or cannot be read.
Status AddExifBlock(const std::string& path);

}  // namespace duplora
