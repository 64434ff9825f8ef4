// The segment editor on arbitrary files. The first byte picks the mode (1 to 7), the rest
// is the file; it also serves as the source file of modes 5 and 6. A failed edit must
// leave the file byte for byte, a successful one must keep everything from the scan on,
// and no temporary file may stay behind.
#include <algorithm>

#include "core/formats/jpeg_segments.h"
#include "fuzz_support.h"

using namespace duplora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch;
    if (size < 1) return 0;
    const auto mode = static_cast<SegmentEditMode>(data[0] % 7 + 1);
    const std::span<const std::uint8_t> body(data + 1, size - 1);

    const std::string path = scratch.File("in.jpg");
    const std::string sourcePath = scratch.File("source.jpg");
    if (!fuzz::WriteFile(path, body.data(), body.size()) ||
        !fuzz::WriteFile(sourcePath, body.data(), body.size()))
        return 0;
    static const std::uint8_t kExif[] = {0xFF, 0xE1, 0x00, 0x0A, 'E', 'x',
                                         'i',  'f',  0,    0,    'M', 'M'};
    SegmentSource source;
    source.comment = "fuzz";
    source.block.assign(std::begin(kExif), std::end(kExif));
    source.path = sourcePath;

    const SegmentEditResult result = EditJpegSegments(path, source, mode);
    const std::vector<std::uint8_t> after = fuzz::ReadFile(path);
    if (result != SegmentEditResult::Ok) {
        fuzz::Check(std::equal(after.begin(), after.end(), body.begin(), body.end()));
    } else {
        // The same edit in memory predicts the file.
        std::span<const std::uint8_t> block = source.block;
        if (mode == SegmentEditMode::ReplaceApp1 || mode == SegmentEditMode::CopyApp1)
            block = FindFirstApp1(body.first(std::min<std::size_t>(body.size(), 65535)));
        std::vector<std::uint8_t> head;
        std::size_t tail = 0;
        fuzz::Check(EditSegmentsInMemory(body, block, source.comment, mode, head, tail) ==
                    SegmentEditResult::Ok);
        head.insert(head.end(), body.begin() + static_cast<std::ptrdiff_t>(tail), body.end());
        fuzz::Check(after == head);
        fuzz::Check(tail + 1 < body.size() && body[tail] == 0xFF && body[tail + 1] == 0xDA);
    }
    fuzz::Check(scratch.Count() == 2);
    return 0;
}
