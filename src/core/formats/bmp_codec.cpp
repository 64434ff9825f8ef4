#include "core/formats/bmp_codec.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "core/formats/atomic_file.h"
#include "core/formats/dib_layout.h"
#include "core/formats/progress_counter.h"

namespace duplora {

namespace {

constexpr std::size_t kChunk = 32768;
constexpr std::size_t kFileHeaderBytes = 14;
// Header, masks and the largest colour table allowed by ParseDibHeader.
constexpr std::size_t kMaxInfoBytes = 4096 + 16 + 4 * 256;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads `size` bytes in chunks, reporting progress from `done` on.
bool ReadChunked(std::FILE* file, std::uint8_t* out, std::size_t size, ProgressCounter& progress,
                 std::uint64_t& done) {
    while (size > 0) {
        const std::size_t n = std::min(size, kChunk);
        if (std::fread(out, 1, n, file) != n) return false;
        progress.At(done);
        if (progress.Cancelled()) return false;
        done += n;
        out += n;
        size -= n;
    }
    return true;
}

}  // namespace

ImageBuffer ReadBmpFile(const std::string& path, const Progress& watcher) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    struct stat st {};
    if (::fstat(::fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    const std::uint64_t fileSize = static_cast<std::uint64_t>(st.st_size);

    std::uint8_t fileHeader[kFileHeaderBytes];
    if (std::fread(fileHeader, 1, kFileHeaderBytes, file.get()) != kFileHeaderBytes) return {};
    const bool magic = (fileHeader[0] == 'B' && fileHeader[1] == 'M') ||
                       (fileHeader[0] == 'M' && fileHeader[1] == 'B');
    if (!magic) return {};
    const std::uint32_t bitsOffset = fileHeader[10] | (fileHeader[11] << 8) |
                                     (fileHeader[12] << 16) |
                                     (static_cast<std::uint32_t>(fileHeader[13]) << 24);

    // The size field of the file header is often wrong in files from other programs;
    // what is really there counts, and every offset is checked against it.
    const std::uint64_t body = fileSize - kFileHeaderBytes;
    ProgressCounter progress(watcher, ProgressDirection::Reading, body);
    std::uint64_t done = 0;

    std::vector<std::uint8_t> info(
        static_cast<std::size_t>(std::min<std::uint64_t>(body, kMaxInfoBytes)));
    if (std::fread(info.data(), 1, info.size(), file.get()) != info.size()) return {};
    DibLayout layout;
    if (!ParseDibHeader(info.data(), info.size(), layout)) return {};
    const std::size_t infoBytes = layout.InfoBytes();
    if (infoBytes > info.size()) return {};
    progress.At(done);

    // Pixels follow the colour table unless the offset field leaves a gap behind it.
    std::uint64_t pixelStart = kFileHeaderBytes + infoBytes;
    if (bitsOffset > pixelStart) pixelStart = bitsOffset;
    if (pixelStart > fileSize) return {};
    // Run-length data runs to its end code; anything else must hold every row.
    const std::uint64_t pixelBytes =
        layout.RunLength() ? fileSize - pixelStart : std::uint64_t{layout.PixelBytes()};
    if (pixelBytes > fileSize - pixelStart) return {};
    if (std::fseek(file.get(), static_cast<long>(pixelStart), SEEK_SET) != 0) return {};
    done = pixelStart - kFileHeaderBytes;

    ImageBuffer image =
        CreateImageForDib(layout, info.data() + layout.headerBytes + layout.maskBytes);
    if (!image) return {};

    if (layout.RunLength()) {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(pixelBytes));
        if (!ReadChunked(file.get(), data.data(), data.size(), progress, done)) return {};
        if (!DecodeRunLength(layout, data.data(), data.size(), image)) return {};
    } else if (!layout.NeedsConversion()) {
        // The file's rows are the picture's rows: read them in place.
        if (!ReadChunked(file.get(), image.Pixels(), layout.PixelBytes(), progress, done))
            return {};
        if (layout.topDown) {
            std::vector<std::uint8_t> scratch(layout.stride);
            for (int a = 0, b = layout.height - 1; a < b; ++a, --b) {
                std::memcpy(scratch.data(), image.StoredRow(a), layout.stride);
                std::memcpy(image.StoredRow(a), image.StoredRow(b), layout.stride);
                std::memcpy(image.StoredRow(b), scratch.data(), layout.stride);
            }
        }
        ClearRowPadding(image);
    } else {
        const int rowsPerChunk = static_cast<int>(std::max<std::size_t>(1, kChunk / layout.stride));
        std::vector<std::uint8_t> chunk(layout.stride * static_cast<std::size_t>(rowsPerChunk));
        for (int first = 0; first < layout.height; first += rowsPerChunk) {
            const int rows = std::min(rowsPerChunk, layout.height - first);
            const std::size_t n = layout.stride * static_cast<std::size_t>(rows);
            if (std::fread(chunk.data(), 1, n, file.get()) != n) return {};
            progress.At(done);
            if (progress.Cancelled()) return {};
            done += n;
            for (int i = 0; i < rows; ++i) {
                const int fileRow = first + i;
                const int row = layout.topDown ? layout.height - 1 - fileRow : fileRow;
                ConvertDibRow(layout, chunk.data() + static_cast<std::size_t>(i) * layout.stride,
                              image.StoredRow(row));
            }
        }
    }

    if (image.BitCount() <= 8) {
        ImageBuffer trueColour = ExpandIndexedImage(image);
        if (trueColour) return trueColour;
    }
    return image;
}

Status WriteBmpFile(const std::string& path, const ImageBuffer& image, const Progress& watcher) {
    if (!image) return Failure::Quiet(path);
    const std::size_t stride = static_cast<std::size_t>(image.Stride());
    if (stride == 0) return Failure::Quiet(path);
    const std::uint64_t pixelOffset =
        std::uint64_t{image.HeaderSize()} + 4 * static_cast<std::uint64_t>(image.ColourCount());
    const std::uint64_t fileSize = stride * image.Height() + pixelOffset + kFileHeaderBytes;
    if (fileSize > 0xFFFFFFFFu) return Failure::Quiet(path);

    AtomicFileWriter writer;
    if (!writer.Open(path)) return CannotOpenFile(path);
    std::uint8_t header[kFileHeaderBytes] = {'B', 'M'};
    const auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) header[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(2, static_cast<std::uint32_t>(fileSize));
    put32(10, static_cast<std::uint32_t>(pixelOffset + kFileHeaderBytes));
    if (!writer.Write(header, sizeof header)) return Failure::Quiet(path);

    ProgressCounter progress(watcher, ProgressDirection::Writing, fileSize - kFileHeaderBytes);
    const std::uint8_t* data = image.Data();
    std::size_t remaining = static_cast<std::size_t>(fileSize - kFileHeaderBytes);
    std::uint64_t done = 0;
    while (remaining > 0) {
        const std::size_t n = std::min(remaining, kChunk);
        if (!writer.Write(data, n)) return Failure::Quiet(path);
        progress.At(done);
        if (progress.Cancelled()) return Failure::Quiet(path);
        done += n;
        data += n;
        remaining -= n;
    }
    if (!writer.Commit()) return Failure::Quiet(path);
    return {};
}

}  // namespace duplora
