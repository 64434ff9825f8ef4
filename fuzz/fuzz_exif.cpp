// The Exif reader on arbitrary bytes: the header scan in every mode in memory, and
// ExifTool's reading modes (orientation; thumbnail and size) on a file.
#include <algorithm>
#include <cstring>

#include "core/formats/exif.h"
#include "fuzz_support.h"

using namespace duplora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch;
    const std::size_t headerSize = std::min(size, kExifHeaderSize);

    std::vector<std::uint8_t> header(data, data + headerSize);
    ExifValues values;
    values.orientation = 6;
    values.pixelWidth = 4000;
    values.pixelHeight = 3000;
    for (int mode = 0; mode <= 3; ++mode) {
        bool changed = false;
        const ExifFacts facts =
            ScanExifHeader(header, static_cast<ExifToolMode>(mode), values, &changed);
        // Reading never alters the bytes.
        if (mode < 2) fuzz::Check(!changed && std::equal(header.begin(), header.end(), data));
        if (facts.thumbnailInside) {
            fuzz::Check(facts.tiffHeader + facts.thumbnailOffset + facts.thumbnailLength <=
                        headerSize);
        }
        if (facts.result == ExifToolResult::NoExif) fuzz::Check(!facts.thumbnailInside);
    }

    const std::string path = scratch.File("in.jpg");
    const std::string thumb = scratch.File("thumb.jpg");
    if (!fuzz::WriteFile(path, data, size)) return 0;
    const ExifFacts read = ExifTool(path, thumb, ExifToolMode::ReadOrientation);
    const ExifFacts extracted = ExifTool(path, thumb, ExifToolMode::ExtractThumbnail);
    fuzz::Check(read.orientation == extracted.orientation);
    if (extracted.result == ExifToolResult::ThumbnailWritten) {
        const std::vector<std::uint8_t> bytes = fuzz::ReadFile(thumb);
        const std::uint8_t* expected = data + extracted.tiffHeader + extracted.thumbnailOffset;
        fuzz::Check(bytes.size() == extracted.thumbnailLength &&
                    std::equal(bytes.begin(), bytes.end(), expected));
        ::unlink(thumb.c_str());
    }
    fuzz::Check(scratch.Count() == 1);
    return 0;
}
