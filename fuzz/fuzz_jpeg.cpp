// The JPEG decoder and loader on arbitrary files: full decoding from a file and from
// memory, the reduced preview, and loading with the Exif orientation and thumbnail. The
// two sources must agree, the preview must be the full picture reduced by the preview
// rule, and the loader must give the decoded picture turned by the orientation it reports.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <vector>

#include "core/formats/exif.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jpeg_load.h"
#include "fuzz_picture.h"

using namespace duplora;

namespace {

struct ProbeErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void ProbeExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ProbeErrors*>(info->err)->jump, 1);
}
void ProbeQuiet(j_common_ptr) {}

// The size the frame header announces, read by the library itself; false when it finds
// no header.
bool ProbeSize(const std::uint8_t* data, std::size_t size, int& width, int& height) {
    if (size == 0) return false;
    jpeg_decompress_struct info{};
    ProbeErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = ProbeExit;
    errors.manager.output_message = ProbeQuiet;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    width = static_cast<int>(info.image_width);
    height = static_cast<int>(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
}

// The preview rule worked out independently: output row t is source row t·H/h, and
// output column t averages the source columns after the previous output column's
// threshold up to t·W/w.
void CheckPreviewRule(const ImageBuffer& full, const ImageBuffer& preview) {
    const int W = full.Width(), H = full.Height();
    const int longer = std::min(kJpegPreviewSize, std::max(W, H));
    const int w = W >= H ? longer : std::max(1, static_cast<int>(std::int64_t{longer} * W / H));
    const int h = W >= H ? std::max(1, static_cast<int>(std::int64_t{longer} * H / W)) : longer;
    fuzz::Check(preview.Width() == w && preview.Height() == h);
    for (int t = 0; t < h; ++t) {
        const std::uint8_t* src = full.Line(static_cast<int>(std::int64_t{t} * H / h));
        const std::uint8_t* out = preview.Line(t);
        int first = 0;
        for (int c = 0; c < w; ++c) {
            const int last = static_cast<int>(std::int64_t{c} * W / w);
            for (int k = 0; k < 3; ++k) {
                std::uint32_t sum = 0;
                for (int x = first; x <= last; ++x) sum += src[3 * x + k];
                fuzz::Check(out[3 * c + k] == sum / static_cast<std::uint32_t>(last - first + 1));
            }
            first = last + 1;
        }
    }
}

bool Turns(int orientation) {
    return orientation == 3 || orientation == 6 || orientation == 8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch;
    int width = 0, height = 0;
    const bool probed = ProbeSize(data, size, width, height);
    if (probed && !fuzz::FuzzSizeAllowed(width, height)) return 0;
    const std::string path = scratch.File("in.jpg");
    if (!fuzz::WriteFile(path, data, size)) return 0;

    // Full size: the full-size outputs stay untouched.
    int fullWidth = -1, fullHeight = -1;
    const ImageBuffer full = DecodeJpegFile(path, false, &fullWidth, &fullHeight);
    fuzz::Check(fullWidth == -1 && fullHeight == -1);
    if (full) {
        fuzz::CheckPicture(full, true);
        fuzz::Check(probed && full.Width() == width && full.Height() == height);
    }
    const ImageBuffer fromMemory = DecodeJpegMemory(data, size, false);
    fuzz::Check(static_cast<bool>(fromMemory) == static_cast<bool>(full));
    if (full) fuzz::Check(fuzz::SamePixels(full, fromMemory));

    // Preview: the full size is reported, and the pixels follow the rule.
    const ImageBuffer preview = DecodeJpegFile(path, true, &fullWidth, &fullHeight);
    fuzz::Check(static_cast<bool>(preview) == static_cast<bool>(full));
    if (preview) {
        fuzz::CheckPicture(preview, true);
        fuzz::Check(fullWidth == width && fullHeight == height);
        CheckPreviewRule(full, preview);
    }

    // Loading at full size: the decoded picture, turned by the orientation.
    const ExifFacts facts = ReadExifFacts(path);
    const JpegLoadResult loaded = LoadJpegImage(path, JpegLoadMode::Full);
    fuzz::Check(static_cast<bool>(loaded.image) == static_cast<bool>(full));
    if (loaded.image) {
        fuzz::CheckPicture(loaded.image, true);
        fuzz::Check(loaded.orientation == facts.orientation && !loaded.fromThumbnail);
        fuzz::Check(loaded.width == width && loaded.height == height);
        if (Turns(loaded.orientation))
            fuzz::Check(fuzz::SamePixels(loaded.image,
                                         ApplyExifOrientation(full, loaded.orientation)));
        else
            fuzz::Check(fuzz::SamePixels(loaded.image, full));
    }

    // Loading a preview: the Exif thumbnail when it decodes, else the reduced picture.
    std::vector<std::uint8_t> thumbnail;
    ReadExifFacts(path, &thumbnail);
    int thumbWidth = 0, thumbHeight = 0;
    if (!thumbnail.empty() && ProbeSize(thumbnail.data(), thumbnail.size(), thumbWidth,
                                        thumbHeight) &&
        !fuzz::FuzzSizeAllowed(thumbWidth, thumbHeight))
        return 0;
    const JpegLoadResult small = LoadJpegImage(path, JpegLoadMode::Preview);
    fuzz::Check(small.orientation == facts.orientation);
    if (preview) fuzz::Check(static_cast<bool>(small.image));
    if (small.image) {
        fuzz::CheckPicture(small.image, true);
        if (small.fromThumbnail) {
            fuzz::Check(small.width == facts.width && small.height == facts.height);
        } else {
            fuzz::Check(small.width == width && small.height == height);
            fuzz::Check(fuzz::SamePixels(small.image, Turns(small.orientation)
                                                          ? ApplyExifOrientation(
                                                                preview, small.orientation)
                                                          : DuplicateImage(preview)));
        }
    }
    fuzz::Check(scratch.Count() == 1);
    return 0;
}
