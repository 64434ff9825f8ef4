// The JPS descriptor reader on arbitrary JPEG headers, and the camera Exif taken from them.
// A descriptor read is written again and read back the same; an adapted Exif segment is
// one whole APP1 segment that is read back as one.
#include "core/formats/exif_carry.h"
#include "core/formats/jps_descriptor.h"
#include "fuzz_support.h"

using namespace duplora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (const std::optional<JpsDescriptor> d = ReadJpsDescriptor(bytes)) {
        std::vector<std::uint8_t> again{0xFF, 0xD8};
        const std::vector<std::uint8_t> segment = MakeJpsSegment(*d);
        fuzz::Check(segment.size() >= 4 &&
                    (std::size_t(segment[2]) << 8 | segment[3]) + 2 == segment.size());
        again.insert(again.end(), segment.begin(), segment.end());
        const std::optional<JpsDescriptor> back = ReadJpsDescriptor(again);
        fuzz::Check(back && back->layout == d->layout && back->leftFirst == d->leftFirst &&
                    back->halfWidth == d->halfWidth && back->halfHeight == d->halfHeight &&
                    back->separation == d->separation && back->stereo == d->stereo &&
                    back->comment == d->comment);
    }
    const std::span<const std::uint8_t> exif = FindFirstExifSegment(bytes);
    if (!exif.empty()) {
        fuzz::Check(exif.data() >= data && exif.data() + exif.size() <= data + size);
        const std::vector<std::uint8_t> adapted = AdaptExifSegment(exif, 1234, 567);
        if (!adapted.empty()) {
            fuzz::Check(adapted.size() == exif.size());
            std::vector<std::uint8_t> jpeg{0xFF, 0xD8};
            jpeg.insert(jpeg.end(), adapted.begin(), adapted.end());
            fuzz::Check(FindFirstExifSegment(jpeg).size() == adapted.size());
        }
    }
    return 0;
}
