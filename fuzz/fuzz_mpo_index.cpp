// The multi-picture reader on arbitrary files: the index, the scan and the decode. Every
// picture found must lie inside the file and start with SOI; the index's pictures are the
// ones the reader takes when it has at least two.
#include "core/formats/mpo.h"
#include "fuzz_support.h"

using namespace duplora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const auto inside = [&](const std::vector<MpoPicture>& pictures) {
        for (const MpoPicture& p : pictures) {
            fuzz::Check(p.offset < size && p.size <= size - p.offset && p.size >= 3);
            fuzz::Check(data[p.offset] == 0xFF && data[p.offset + 1] == 0xD8);
        }
    };
    const std::vector<MpoPicture> index = ReadMpoIndex(file);
    inside(index);
    fuzz::Check(index.empty() || index.size() >= 2);
    const std::vector<MpoPicture> scanned = ScanJpegStreams(file);
    inside(scanned);
    for (std::size_t i = 1; i < scanned.size(); ++i)
        fuzz::Check(scanned[i].offset >= scanned[i - 1].offset + scanned[i - 1].size);
    const std::vector<MpoPicture> found = FindMpoPictures(file);
    inside(found);
    if (index.size() >= 2) fuzz::Check(found.size() == index.size());
    // Decoding is the codec's business; keep it to inputs small enough to stay quick.
    if (size <= 32768) {
        const MpoViews views = ReadMpoBytes(file);
        fuzz::Check(!views.left == !views.right);
        if (views.left) fuzz::Check(found.size() >= 2);
    }
    return 0;
}
