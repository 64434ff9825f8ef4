#include "core/formats/jpeg_codec.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h: which messages exist depends on the library's configuration.
#include <jerror.h>

#include "core/formats/atomic_file.h"
#include "core/formats/progress_counter.h"
#include "core/image/block_pool.h"
#include "core/util/parallel.h"

namespace duplora {

namespace {

// ---- error handling ------------------------------------------------------------
// The library reports a fatal error by calling error_exit, which must not return. It
// long-jumps back into RunGuarded, the one function that calls setjmp. Everything the
// guarded body touches lives in a job object in the caller's frame, and the body itself
// holds no object with a destructor while it calls into the library, so the jump skips
// no cleanup; the caller frees and closes after RunGuarded returns either way.

struct ErrorManager {
    jpeg_error_mgr library;
    std::jmp_buf jump;
    bool lostData = false;  // a warning that part of the picture could not be decoded
    char message[JMSG_LENGTH_MAX] = {};  // the error's text, for the failure's detail
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->library.format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// The texts of warnings and errors are never shown to anyone.
void QuietMessage(j_common_ptr) {}

// Warnings after which part of the picture is missing or wrong: the data ends early or is
// damaged. The others (an unknown JFIF version, stray bytes between segments, a bad ICC
// profile) leave the pixels whole.
bool LosesData(int code) {
    switch (code) {
#if JPEG_LIB_VERSION >= 70 || defined(C_ARITH_CODING_SUPPORTED) || defined(D_ARITH_CODING_SUPPORTED)
        case JWRN_ARITH_BAD_CODE:
#endif
        case JWRN_BOGUS_PROGRESSION:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_JPEG_EOF:
        case JWRN_MUST_RESYNC:
        case JWRN_NOT_SEQUENTIAL:
            return true;
        default:
            return false;
    }
}

// Warnings (level −1) are counted and remembered; trace messages are ignored.
void NoteMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    ++errors->library.num_warnings;
    if (LosesData(errors->library.msg_code)) errors->lostData = true;
}

jpeg_error_mgr* InitErrors(ErrorManager& errors) {
    jpeg_std_error(&errors.library);
    errors.library.error_exit = ErrorExit;
    errors.library.emit_message = NoteMessage;
    errors.library.output_message = QuietMessage;
    return &errors.library;
}

// False when the library reported an error while `body` ran.
bool RunGuarded(ErrorManager& errors, void (*body)(void*), void* job) {
    if (setjmp(errors.jump) != 0) return false;
    body(job);
    return true;
}

// ---- decoding ------------------------------------------------------------------

struct DecodeJob {
    jpeg_decompress_struct* info = nullptr;
    std::FILE* file = nullptr;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    bool preview = false;
    // Filled by the body (allocated through helpers, owned here).
    ImageBuffer image;
    std::vector<std::uint8_t> row;  // one decoded row (B,G,R or C,M,Y,K)
    std::vector<std::uint8_t> bgr;  // the CMYK row turned into B,G,R
    std::vector<int> columnEnds;    // preview: last source column of each output column
    int fullWidth = 0;
    int fullHeight = 0;
    bool refused = false;
    const Progress* progress = nullptr;
};

// Inverted CMYK as the library delivers it for Adobe files, turned into B,G,R.
void CmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const int third = (255 - cmyk[3]) / 3;
        const auto channel = [third](int v) {
            const int sum = (255 - v) + third;
            return static_cast<std::uint8_t>(255 - (sum > 255 ? 255 : sum));
        };
        bgr[0] = channel(cmyk[2]);
        bgr[1] = channel(cmyk[1]);
        bgr[2] = channel(cmyk[0]);
    }
}

// One preview row: source pixels are summed from the last emitted column on, and each
// output column takes the integer average once its threshold column is reached.
void ReduceRow(const std::uint8_t* bgr, int sourceWidth, const std::vector<int>& columnEnds,
               std::uint8_t* out) {
    std::uint32_t b = 0, g = 0, r = 0, count = 0;
    std::size_t next = 0;
    for (int x = 0; x < sourceWidth && next < columnEnds.size(); ++x, bgr += 3) {
        b += bgr[0], g += bgr[1], r += bgr[2], ++count;
        if (columnEnds[next] <= x) {
            out[0] = static_cast<std::uint8_t>(b / count);
            out[1] = static_cast<std::uint8_t>(g / count);
            out[2] = static_cast<std::uint8_t>(r / count);
            out += 3;
            ++next;
            b = g = r = count = 0;
        }
    }
}

// Allocations for the body; a separate function so that the body's own frame holds no
// temporaries with destructors, and no exception leaves it.
bool PrepareOutput(DecodeJob& job, int width, int height, int components) noexcept try {
    if (!ImageSizeAllowed(width, height)) return false;
    job.fullWidth = width;
    job.fullHeight = height;
    int outWidth = width, outHeight = height;
    if (job.preview) {
        if (width >= height) {
            outWidth = std::min(kJpegPreviewSize, width);
            outHeight = static_cast<int>(std::int64_t{outWidth} * height / width);
        } else {
            outHeight = std::min(kJpegPreviewSize, height);
            outWidth = static_cast<int>(std::int64_t{outHeight} * width / height);
        }
        outWidth = std::max(outWidth, 1);
        outHeight = std::max(outHeight, 1);
        job.columnEnds.resize(static_cast<std::size_t>(outWidth));
        for (int t = 0; t < outWidth; ++t)
            job.columnEnds[t] = static_cast<int>(std::int64_t{t} * width / outWidth);
    }
    job.image = CreateImageForOverwrite(outWidth, outHeight, 24);
    if (!job.image) return false;
    if (job.preview || components == 4) job.row.resize(std::size_t(width) * components);
    if (components == 4) job.bgr.resize(std::size_t(width) * 3);
    return true;
} catch (const std::bad_alloc&) {
    return false;
}

void DecodeBody(void* context) {
    DecodeJob& job = *static_cast<DecodeJob*>(context);
    jpeg_decompress_struct* info = job.info;
    jpeg_create_decompress(info);
    if (job.file)
        jpeg_stdio_src(info, job.file);
    else
        jpeg_mem_src(info, job.data, static_cast<unsigned long>(job.size));
    jpeg_read_header(info, TRUE);
    // Grey and colour files are delivered straight in the picture's B,G,R order (the
    // library's conversion is the same, only the byte order differs); CMYK files as
    // CMYK, turned below. Nothing else is changed: full size, default DCT method and
    // fancy upsampling.
    switch (info->out_color_space) {
        case JCS_GRAYSCALE:
        case JCS_RGB:
            info->out_color_space = JCS_EXT_BGR;
            break;
        case JCS_CMYK:
            break;
        default:
            job.refused = true;
            return;
    }
    if (!PrepareOutput(job, static_cast<int>(info->image_width),
                       static_cast<int>(info->image_height),
                       info->out_color_space == JCS_CMYK ? 4 : 3)) {
        job.refused = true;
        return;
    }
    jpeg_start_decompress(info);
    const int width = static_cast<int>(info->output_width);
    const int height = static_cast<int>(info->output_height);
    const bool cmyk = info->out_color_components == 4;
    if (width != job.fullWidth || height != job.fullHeight ||
        info->output_components != (cmyk ? 4 : 3)) {
        job.refused = true;
        return;
    }

    ProgressCounter progress(*job.progress, ProgressDirection::Reading,
                             static_cast<std::uint64_t>(height));
    ImageBuffer& image = job.image;
    if (!job.preview) {
        while (info->output_scanline < info->output_height) {
            const int y = static_cast<int>(info->output_scanline);
            progress.At(static_cast<std::uint64_t>(y));
            if (progress.Cancelled()) {
                job.refused = true;
                return;
            }
            if (cmyk) {
                JSAMPROW rows[1] = {job.row.data()};
                jpeg_read_scanlines(info, rows, 1);
                CmykToBgr(job.row.data(), image.Line(y), width);
            } else {
                JSAMPROW rows[4];
                const int n =
                    std::min(std::max(info->rec_outbuf_height, 1), std::min(4, height - y));
                for (int i = 0; i < n; ++i) rows[i] = image.Line(y + i);
                jpeg_read_scanlines(info, rows, static_cast<JDIMENSION>(n));
            }
        }
    } else {
        const int outHeight = image.Height();
        int next = 0;
        while (info->output_scanline < info->output_height) {
            const int y = static_cast<int>(info->output_scanline);
            progress.At(static_cast<std::uint64_t>(y));
            if (progress.Cancelled()) {
                job.refused = true;
                return;
            }
            JSAMPROW rows[1] = {job.row.data()};
            jpeg_read_scanlines(info, rows, 1);
            if (next < outHeight &&
                y >= static_cast<int>(std::int64_t{next} * height / outHeight)) {
                const std::uint8_t* bgr = job.row.data();
                if (cmyk) {
                    CmykToBgr(job.row.data(), job.bgr.data(), width);
                    bgr = job.bgr.data();
                }
                ReduceRow(bgr, width, job.columnEnds, image.Line(next));
                ++next;
            }
        }
    }
    jpeg_finish_decompress(info);
}

ImageBuffer Decode(DecodeJob& job, int* fullWidth, int* fullHeight, bool* partial) {
    // Zeroed so that destroying is safe even when creating failed inside the guard.
    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = InitErrors(errors);
    job.info = &info;
    const bool ok = RunGuarded(errors, DecodeBody, &job) && !job.refused;
    jpeg_destroy_decompress(&info);
    if (!ok) return {};
    if (partial) *partial = errors.lostData;
    if (job.preview) {
        if (fullWidth) *fullWidth = job.fullWidth;
        if (fullHeight) *fullHeight = job.fullHeight;
    }
    return std::move(job.image);
}

}  // namespace

ImageBuffer DecodeJpegFile(const std::string& path, bool preview, int* fullWidth, int* fullHeight,
                           bool* partial, const Progress& progress) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    DecodeJob job;
    job.file = file;
    job.preview = preview;
    job.progress = &progress;
    ImageBuffer image = Decode(job, fullWidth, fullHeight, partial);
    std::fclose(file);
    return image;
}

ImageBuffer DecodeJpegMemory(const std::uint8_t* data, std::size_t size, bool preview,
                             int* fullWidth, int* fullHeight, bool* partial,
                             const Progress& progress) {
    if (!data || size == 0) return {};
    DecodeJob job;
    job.data = data;
    job.size = size;
    job.preview = preview;
    job.progress = &progress;
    return Decode(job, fullWidth, fullHeight, partial);
}

// ---- encoding ------------------------------------------------------------------

namespace {

struct GreyTables {
    std::uint32_t red[256], green[256], blue[256];
    GreyTables() {
        for (int i = 0; i < 256; ++i) red[i] = 299u * i, green[i] = 587u * i, blue[i] = 114u * i;
    }
};

const GreyTables& Grey() {
    static const GreyTables tables;
    return tables;
}

// The double sum can fall below the exact value only where the exact value is an
// integer (a multiple of 1000 in thousandths); elsewhere the integer quotient is exact.
inline int GreyOf(const GreyTables& t, int r, int g, int b) {
    const std::uint32_t v = t.red[r] + t.green[g] + t.blue[b];
    if (v % 1000 == 0) [[unlikely]]
        return static_cast<int>(0.299 * r + 0.587 * g + 0.114 * b);
    return static_cast<int>(v / 1000);
}

struct EncodeJob {
    jpeg_compress_struct* info = nullptr;
    std::FILE* file = nullptr;
    int width = 0;
    int height = 0;
    bool colour = true;
    int quality = 75;
    bool bgrInput = false;  // rows are a picture's B,G,R rows
    // Row source: packed R,G,B pixels, or a picture.
    const std::uint8_t* rgb = nullptr;
    const ImageBuffer* image = nullptr;
    std::vector<std::uint8_t> grey;  // grey rows (all of them for packed input, one else)
    const Progress* progress = nullptr;
    bool cancelled = false;
};

void GreyRowFromBgr(const std::uint8_t* bgr, std::uint8_t* out, int width) {
    const GreyTables& t = Grey();
    for (int x = 0; x < width; ++x, bgr += 3)
        out[x] = static_cast<std::uint8_t>(GreyOf(t, bgr[2], bgr[1], bgr[0]));
}

void EncodeBody(void* context) {
    EncodeJob& job = *static_cast<EncodeJob*>(context);
    jpeg_compress_struct* info = job.info;
    jpeg_create_compress(info);
    jpeg_stdio_dest(info, job.file);
    info->image_width = static_cast<JDIMENSION>(job.width);
    info->image_height = static_cast<JDIMENSION>(job.height);
    if (job.colour) {
        info->input_components = 3;
        info->in_color_space = job.bgrInput ? JCS_EXT_BGR : JCS_RGB;
    } else {
        info->input_components = 1;
        info->in_color_space = JCS_GRAYSCALE;
    }
    jpeg_set_defaults(info);
    jpeg_set_quality(info, job.quality, TRUE);
    jpeg_start_compress(info, TRUE);
    ProgressCounter progress(*job.progress, ProgressDirection::Writing,
                             static_cast<std::uint64_t>(job.height));
    const std::size_t packedStride = std::size_t(job.width) * (job.colour ? 3 : 1);
    while (info->next_scanline < info->image_height) {
        const int y = static_cast<int>(info->next_scanline);
        progress.At(static_cast<std::uint64_t>(y));
        if (progress.Cancelled()) {
            // Unfinished: the library is destroyed without finishing, the file not kept.
            job.cancelled = true;
            return;
        }
        JSAMPROW rows[1];
        if (job.image) {
            if (job.colour) {
                rows[0] = const_cast<std::uint8_t*>(job.image->Line(y));
            } else {
                GreyRowFromBgr(job.image->Line(y), job.grey.data(), job.width);
                rows[0] = job.grey.data();
            }
        } else {
            const std::uint8_t* base = job.colour ? job.rgb : job.grey.data();
            rows[0] = const_cast<std::uint8_t*>(base + packedStride * static_cast<std::size_t>(y));
        }
        jpeg_write_scanlines(info, rows, 1);
    }
    jpeg_finish_compress(info);
}

Status Encode(const std::string& path, EncodeJob& job) {
    AtomicFileWriter writer;
    if (!writer.Open(path)) return CannotOpenFile(path);
    jpeg_compress_struct info{};
    ErrorManager errors;
    info.err = InitErrors(errors);
    job.info = &info;
    job.file = writer.File();
    const bool encoded = RunGuarded(errors, EncodeBody, &job);
    jpeg_destroy_compress(&info);
    // The library's own words go into the detail; the user is told by the caller.
    if (!encoded) return Failure::Quiet(path + ": " + errors.message);
    if (job.cancelled || !writer.Commit()) return Failure::Quiet(path);
    return {};
}

}  // namespace

int EncoderGrey(int r, int g, int b) {
    return GreyOf(Grey(), r & 255, g & 255, b & 255);
}

void PooledBlockDeleter::operator()(std::uint8_t* block) const noexcept {
    ReleaseBlock(block, capacity);
}

namespace {

// B,G,R → R,G,B (the same swap works both ways). Four pixels at a time as three words.
void SwapRedBlue(const std::uint8_t* s, std::uint8_t* d, int width) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 4 <= width; x += 4, s += 12, d += 12) {
            std::uint32_t w0, w1, w2;
            std::memcpy(&w0, s, 4), std::memcpy(&w1, s + 4, 4), std::memcpy(&w2, s + 8, 4);
            const std::uint32_t o0 =
                ((w0 >> 16) & 0xFF) | (w0 & 0xFF00) | ((w0 & 0xFF) << 16) | ((w1 & 0xFF00) << 16);
            const std::uint32_t o1 =
                (w1 & 0xFF) | ((w0 >> 24) << 8) | ((w2 & 0xFF) << 16) | (w1 & 0xFF000000u);
            const std::uint32_t o2 =
                ((w1 >> 16) & 0xFF) | ((w2 >> 24) << 8) | (w2 & 0xFF0000) | ((w2 & 0xFF00) << 16);
            std::memcpy(d, &o0, 4), std::memcpy(d + 4, &o1, 4), std::memcpy(d + 8, &o2, 4);
        }
    }
    for (; x < width; ++x, s += 3, d += 3) d[0] = s[2], d[1] = s[1], d[2] = s[0];
}

}  // namespace

PackedRgb DibToPackedRgb(const ImageBuffer& image) {
    PackedRgb out;
    if (!image || image.BitCount() != 24) return out;
    const int width = image.Width(), height = image.Height();
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::size_t capacity = 0;
    auto* block = static_cast<std::uint8_t*>(AcquireBlock(rowBytes * height, capacity));
    if (!block) return out;
    out.data = std::unique_ptr<std::uint8_t[], PooledBlockDeleter>(block, {capacity});
    out.width = width;
    out.height = height;
    ParallelRows(height, std::int64_t{width} * height, [&](int begin, int end) {
        for (int y = begin; y < end; ++y)
            SwapRedBlue(image.Line(y), block + rowBytes * static_cast<std::size_t>(y), width);
    });
    return out;
}

Status EncodeJpegFile(const std::string& path, const std::uint8_t* rgb, int width, int height,
                      bool colour, int quality, const Progress& progress) {
    if (!rgb || width <= 0 || height <= 0) return Failure::Quiet(path);
    EncodeJob job;
    job.progress = &progress;
    job.width = width;
    job.height = height;
    job.colour = colour;
    job.quality = std::clamp(quality, 1, 100);
    job.rgb = rgb;
    if (!colour) {
        const std::size_t pixels = std::size_t(width) * std::size_t(height);
        job.grey.resize(pixels);
        const GreyTables& t = Grey();
        for (std::size_t i = 0; i < pixels; ++i, rgb += 3)
            job.grey[i] = static_cast<std::uint8_t>(GreyOf(t, rgb[0], rgb[1], rgb[2]));
    }
    return Encode(path, job);
}

Status EncodeJpegImage(const std::string& path, const ImageBuffer& image, bool colour, int quality,
                       const Progress& progress) {
    if (!image || image.BitCount() != 24) return Failure::Quiet(path);
    EncodeJob job;
    job.progress = &progress;
    job.width = image.Width();
    job.height = image.Height();
    job.colour = colour;
    job.quality = std::clamp(quality, 1, 100);
    job.bgrInput = true;
    job.image = &image;
    if (!colour) job.grey.resize(static_cast<std::size_t>(job.width));
    return Encode(path, job);
}

}  // namespace duplora
