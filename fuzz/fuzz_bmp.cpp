// The BMP reader on arbitrary files. What it returns must be a sound picture, and
// writing that picture and reading it back must give the same pixels; no temporary file
// may stay behind.
#include <unistd.h>

#include "core/formats/bmp_codec.h"
#include "fuzz_picture.h"

using namespace duplora;

namespace {

std::int32_t Le32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}

// The size in the info header: 16-bit fields in the old core form, 32-bit otherwise.
bool AnnouncedSizeAllowed(const std::uint8_t* data, std::size_t size) {
    if (size < 26) return true;
    if (Le32(data + 14) == 12) return fuzz::FuzzSizeAllowed(data[18] | (data[19] << 8),
                                                            data[20] | (data[21] << 8));
    return fuzz::FuzzSizeAllowed(Le32(data + 18), Le32(data + 22));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch;
    if (!AnnouncedSizeAllowed(data, size)) return 0;
    const std::string path = scratch.File("in.bmp");
    if (!fuzz::WriteFile(path, data, size)) return 0;

    const ImageBuffer image = ReadBmpFile(path);
    if (image) {
        fuzz::CheckPicture(image, false);
        // Indexed pictures come back only when turning them into 24 bit ran out of memory.
        if (image.BitCount() == 24) {
            const std::string copy = scratch.File("copy.bmp");
            fuzz::Check(WriteBmpFile(copy, image).Ok());
            const ImageBuffer again = ReadBmpFile(copy);
            fuzz::Check(again && fuzz::SamePixels(image, again));
            ::unlink(copy.c_str());
        }
    }
    fuzz::Check(scratch.Count() == 1);
    return 0;
}
