// Multi-picture files of stereo cameras: two or more JPEG streams one after the other, the
// first carrying an APP2 "MPF" block whose index gives each picture's offset and size. The
// offsets count from the TIFF header inside that block (the first picture's is 0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/image/image_buffer.h"
#include "core/util/progress.h"
#include "core/util/result.h"

namespace duplora {

// Where one picture of the file lies, in file bytes.
struct MpoPicture {
    std::size_t offset = 0;
    std::size_t size = 0;
    std::uint32_t attribute = 0;  // the index entry's attribute word; 0 when found by scanning
};

// The MP index of the first picture: every entry whose picture starts with SOI inside the
// file, sizes cut at the end of the file. Empty when there is no index, or it is damaged
// (an entry outside the file, a count the block cannot hold, fewer than two usable entries).
std::vector<MpoPicture> ReadMpoIndex(std::span<const std::uint8_t> file);

// The JPEG streams of the file found without an index: the first one walked segment by
// segment to its end, then each next SOI after it. Embedded thumbnails inside APPn segments
// are never taken for a picture.
std::vector<MpoPicture> ScanJpegStreams(std::span<const std::uint8_t> file);

// The pictures of a multi-picture file: the index when it is sound, else the scan. Fewer
// than two means the file is not one.
std::vector<MpoPicture> FindMpoPictures(std::span<const std::uint8_t> file);

// What the reader gives: the first two pictures as left and right, each turned by its own
// Exif orientation.
struct MpoViews {
    ImageBuffer left;
    ImageBuffer right;
    bool partial = false;            // a picture ended early or was damaged
    int orientation = 100;           // the first picture's Exif orientation; 100 for none
    std::vector<std::uint8_t> exif;  // the first picture's APP1 Exif segment, when it has one
};

// Reads a file as a multi-picture file; both views empty when it is not one or a picture does
// not decode. Reports reading progress; nothing once `progress` is cancelled.
MpoViews ReadMpoFile(const std::string& path, const Progress& progress = NoProgress());
MpoViews ReadMpoBytes(std::span<const std::uint8_t> file, const Progress& progress = NoProgress());

// ---- writing ----------------------------------------------------------------------------

// The APP2 block of a picture of a multi-picture file: "MPF", a little-endian TIFF header,
// for the first picture the index IFD (version, count, one 16-byte entry per picture), and
// the attribute IFD with the version and the picture's number (from 1). The index entries'
// sizes and offsets are zero here; PatchMpoIndex fills them in.
std::vector<std::uint8_t> MakeMpfSegment(int pictureNumber, int pictureCount);

// Joins encoded JPEG streams into one multi-picture file: each gets its APP2 block after its
// leading APP0/APP1 segments, then the first one's index is patched with the final sizes
// and offsets. The first picture is marked representative; all are disparity views. Empty
// when a stream is not a JPEG.
std::vector<std::uint8_t> JoinMpoPictures(std::span<const std::vector<std::uint8_t>> jpegs);

// Writes the two views as a multi-picture file at `quality`, replacing the file atomically.
// `exif`, when not empty, is an APP1 segment put into both pictures (see exif_carry.h for
// the one made from a source). A quiet failure with the path when it cannot be written.
Status WriteMpoFile(const std::string& path, const ImageBuffer& left, const ImageBuffer& right,
                    int quality, std::span<const std::uint8_t> exif = {},
                    const Progress& progress = NoProgress());

}  // namespace duplora
