#include "core/formats/tiff_codec.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include <tiffio.h>

#include "core/formats/progress_counter.h"

namespace duplora {

namespace {

constexpr std::uint32_t kPixelsPerMetre = 2834;  // 72 dots per inch

// Counts the errors in the int `user` points to, when it points to one.
int QuietHandler(TIFF*, void* user, const char*, const char*, va_list) {
    if (user) ++*static_cast<int*>(user);
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// Opens for reading with this handle's errors and warnings going nowhere, the errors
// counted in `errors` (which must outlive the handle); the global handlers stay untouched,
// so other threads and other users of libtiff are unaffected.
TiffHandle OpenQuiet(const std::string& path, int* errors = nullptr) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, QuietHandler, errors);
    TIFFOpenOptionsSetWarningHandlerExtR(options, QuietHandler, nullptr);
    TiffHandle tif(TIFFOpenExt(path.c_str(), "r", options));
    TIFFOpenOptionsFree(options);
    return tif;
}

bool CompressionAllowed(std::uint16_t compression, bool allowLzw) {
    switch (compression) {
        case COMPRESSION_NONE:
        case COMPRESSION_CCITTRLE:
        case COMPRESSION_CCITTFAX3:
        case COMPRESSION_PACKBITS:
        case COMPRESSION_DEFLATE:
        case COMPRESSION_ADOBE_DEFLATE:
            return true;
        case COMPRESSION_LZW:
            return allowLzw;
        default:
            return false;
    }
}

// libtiff sizes its decoding buffers (one strip or one tile) by what the file declares,
// so a few hundred bytes declaring thousands of samples per pixel make it ask for
// gigabytes. Neither reader can use more than eight samples of at most 16 bits, and no
// strip or tile may be larger than the largest picture; other files are refused before
// libtiff makes any buffer.
constexpr std::uint16_t kMaxSamplesPerPixel = 8;
constexpr std::uint16_t kMaxBitsPerSample = 16;

bool DecodeBuffersSane(TIFF* t) {
    std::uint16_t bps = 1, spp = 1;
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &spp);
    if (bps == 0 || bps > kMaxBitsPerSample || spp == 0 || spp > kMaxSamplesPerPixel)
        return false;
    const std::uint64_t block = TIFFIsTiled(t) ? TIFFTileSize64(t) : TIFFStripSize64(t);
    return block > 0 && block <= kMaxPixelBytes;
}

void SetHeaderExtras(ImageBuffer& image, int bits) {
    std::uint8_t* h = image.Data();
    const std::uint32_t size = static_cast<std::uint32_t>(
        std::uint64_t{static_cast<std::uint32_t>(bits)} * image.Width() * image.Height() / 8);
    std::memcpy(h + 20, &size, 4);
    std::memcpy(h + 24, &kPixelsPerMetre, 4);
    std::memcpy(h + 28, &kPixelsPerMetre, 4);
}

bool FillColourTable(TIFF* tif, ImageBuffer& image, std::uint16_t photometric, int bps) {
    const int entries = 1 << image.BitCount();
    std::uint8_t* table = image.ColourTable();
    if (photometric == PHOTOMETRIC_PALETTE) {
        std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green || !blue)
            return false;
        // libtiff holds 2^bps entries; the picture's table has as many.
        const int count = std::min(entries, 1 << bps);
        bool wide = false;
        for (int i = 0; i < count; ++i)
            if (red[i] >= 256 || green[i] >= 256 || blue[i] >= 256) wide = true;
        const auto scale = [wide](std::uint16_t v) {
            return static_cast<std::uint8_t>(wide ? std::uint32_t{v} * 255 / 65535 : v);
        };
        for (int i = 0; i < count; ++i) {
            table[i * 4] = scale(blue[i]);
            table[i * 4 + 1] = scale(green[i]);
            table[i * 4 + 2] = scale(red[i]);
            table[i * 4 + 3] = 0;
        }
        return true;
    }
    const bool whiteIsZero = photometric == PHOTOMETRIC_MINISWHITE;
    const int step = entries == 2 ? 255 : entries == 16 ? 17 : 1;
    for (int i = 0; i < entries; ++i) {
        const int v = whiteIsZero ? 255 - step * i : step * i;
        table[i * 4] = table[i * 4 + 1] = table[i * 4 + 2] = static_cast<std::uint8_t>(v);
        table[i * 4 + 3] = 0;
    }
    return true;
}

// How one decoded TIFF row becomes a picture row.
enum class RowKind { Copy, Grey16, Rgb8, Rgb16, Cmyk8 };

void ConvertRow(RowKind kind, const std::uint8_t* s, std::uint8_t* d, int width, int step,
                std::size_t copyBytes) {
    switch (kind) {
        case RowKind::Copy:
            std::memcpy(d, s, copyBytes);
            break;
        case RowKind::Grey16:
            for (int x = 0; x < width; ++x, s += 2) {
                std::uint16_t v;
                std::memcpy(&v, s, 2);
                d[x] = static_cast<std::uint8_t>(v >> 8);
            }
            break;
        case RowKind::Rgb8:
            for (int x = 0; x < width; ++x, s += step, d += 3)
                d[0] = s[2], d[1] = s[1], d[2] = s[0];
            break;
        case RowKind::Rgb16:
            for (int x = 0; x < width; ++x, s += step, d += 3) {
                std::uint16_t v[3];
                std::memcpy(v, s, 6);
                d[0] = static_cast<std::uint8_t>(v[2] >> 8);
                d[1] = static_cast<std::uint8_t>(v[1] >> 8);
                d[2] = static_cast<std::uint8_t>(v[0] >> 8);
            }
            break;
        case RowKind::Cmyk8:
            for (int x = 0; x < width; ++x, s += step, d += 3) {
                const int k = 255 - s[3];
                d[0] = static_cast<std::uint8_t>((255 - s[2]) * k / 255);
                d[1] = static_cast<std::uint8_t>((255 - s[1]) * k / 255);
                d[2] = static_cast<std::uint8_t>((255 - s[0]) * k / 255);
            }
            break;
    }
}

}  // namespace

ImageBuffer ReadTiffFile(const std::string& path, const CodecOptions& options, bool* partial,
                         const Progress& watcher) {
    TiffHandle tif = OpenQuiet(path);
    if (!tif) return {};
    TIFF* t = tif.get();
    std::uint32_t width = 0, height = 0, rowsPerStrip = 0;
    std::uint16_t bps = 1, spp = 1, compression = 1, photometric = 0, planar = 1;
    if (!TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(t, TIFFTAG_IMAGELENGTH, &height) ||
        !TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &photometric))
        return {};
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(t, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    TIFFGetFieldDefaulted(t, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &planar);

    if (!CompressionAllowed(compression, options.allowLzw)) return {};
    if (!ImageSizeAllowed(width, height) || !DecodeBuffersSane(t)) return {};
    // Tiled files and separate colour planes are left to the RGBA reader.
    if (TIFFIsTiled(t) || (spp > 1 && planar != PLANARCONFIG_CONTIG)) return {};
    const std::uint64_t scanline = TIFFScanlineSize64(t);
    if (scanline == 0) return {};
    const std::uint64_t bytesPerPixel = scanline / width;

    // Only the sample layouts this reader takes apart correctly; every other file goes
    // to the RGBA reader instead of being misread.
    RowKind kind = RowKind::Copy;
    int bits = 0;
    if (bytesPerPixel < 3) {
        const bool greyOrPalette = photometric == PHOTOMETRIC_MINISWHITE ||
                                   photometric == PHOTOMETRIC_MINISBLACK ||
                                   (photometric == PHOTOMETRIC_PALETTE && bps <= 8);
        if (spp != 1 || !greyOrPalette) return {};
        switch (bps) {
            case 1:
                bits = 1;
                break;
            case 4:
                bits = 4;
                break;
            case 8:
                bits = 8;
                break;
            case 16:
                bits = 8, kind = RowKind::Grey16;
                break;
            default:
                return {};
        }
    } else {
        bits = 24;
        if (photometric == PHOTOMETRIC_RGB && spp >= 3 && bps == 8)
            kind = RowKind::Rgb8;
        else if (photometric == PHOTOMETRIC_RGB && spp >= 3 && bps == 16)
            kind = RowKind::Rgb16;
        else if (photometric == PHOTOMETRIC_SEPARATED && spp == 4 && bps == 8)
            kind = RowKind::Cmyk8;
        else
            return {};
    }
    const int step = static_cast<int>(std::uint64_t{spp} * bps / 8);
    if (bits == 24 && static_cast<std::uint64_t>(step) * width > scanline) return {};

    ImageBuffer image = CreateImage(static_cast<int>(width), static_cast<int>(height), bits);
    if (!image) return {};
    SetHeaderExtras(image, bits);
    if (bits <= 8 && !FillColourTable(t, image, photometric, bps)) return {};

    if (rowsPerStrip == 0) return {};
    rowsPerStrip = std::min(rowsPerStrip, height);
    const std::uint64_t stripBytes = scanline * rowsPerStrip;
    if (stripBytes > kMaxPixelBytes * 2) return {};
    std::vector<std::uint8_t> strip(static_cast<std::size_t>(stripBytes));
    const std::size_t copyBytes = std::min<std::size_t>(static_cast<std::size_t>(scanline),
                                                        static_cast<std::size_t>(image.Stride()));

    ProgressCounter progress(watcher, ProgressDirection::Reading, height);
    bool anyStrip = false, lost = false;
    for (std::uint32_t row = 0; row < height; row += rowsPerStrip) {
        progress.At(row);
        if (progress.Cancelled()) return {};
        const std::uint32_t rows = std::min(rowsPerStrip, height - row);
        const tmsize_t want = static_cast<tmsize_t>(scanline * rows);
        // A strip that decodes short, or fails part-way, keeps what it gave and leaves the
        // rest black.
        std::memset(strip.data(), 0, static_cast<std::size_t>(want));
        const tmsize_t got =
            TIFFReadEncodedStrip(t, TIFFComputeStrip(t, row, 0), strip.data(), want);
        if (got >= 0) anyStrip = true;
        if (got < want) lost = true;
        for (std::uint32_t i = 0; i < rows; ++i)
            ConvertRow(kind, strip.data() + scanline * i, image.Line(static_cast<int>(row + i)),
                       static_cast<int>(width), step, copyBytes);
    }
    if (!anyStrip) return {};
    ClearRowPadding(image);
    if (partial) *partial = lost;
    return image;
}

ImageBuffer ReadTiffRgba(const std::string& path, const CodecOptions& options, bool* partial,
                         const Progress& watcher) {
    int errors = 0;
    TiffHandle tif = OpenQuiet(path, &errors);
    if (!tif) return {};
    TIFF* t = tif.get();
    std::uint32_t width = 0, height = 0;
    std::uint16_t compression = 1;
    if (!TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(t, TIFFTAG_IMAGELENGTH, &height))
        return {};
    TIFFGetFieldDefaulted(t, TIFFTAG_COMPRESSION, &compression);
    if (compression == COMPRESSION_OJPEG) return {};
    if (compression == COMPRESSION_LZW && !options.allowLzw) return {};
    if (!ImageSizeAllowed(width, height) || !DecodeBuffersSane(t)) return {};

    const std::size_t pixels = std::size_t{width} * height;
    std::unique_ptr<std::uint32_t, void (*)(void*)> raster(
        static_cast<std::uint32_t*>(_TIFFmalloc(static_cast<tmsize_t>(pixels * 4))), _TIFFfree);
    if (!raster) return {};
    // Not stopping at an error: a strip or tile that cannot be read is reported, and the
    // picture is what the others gave (black where nothing was put).
    std::memset(raster.get(), 0, pixels * 4);
    const int errorsBefore = errors;
    if (!TIFFReadRGBAImage(t, width, height, raster.get(), 0)) return {};
    const bool lost = errors > errorsBefore;

    ImageBuffer image =
        CreateImageForOverwrite(static_cast<int>(width), static_cast<int>(height), 24);
    if (!image) return {};
    if (watcher.Cancelled()) return {};
    ProgressCounter progress(watcher, ProgressDirection::Reading, height);
    // The raster runs bottom-up like the picture's rows.
    for (std::uint32_t y = 0; y < height; ++y) {
        progress.At(y);
        const std::uint32_t* s = raster.get() + std::size_t{y} * width;
        std::uint8_t* d = image.StoredRow(static_cast<int>(y));
        for (std::uint32_t x = 0; x < width; ++x, d += 3) {
            const std::uint32_t v = s[x];
            d[0] = static_cast<std::uint8_t>(TIFFGetB(v));
            d[1] = static_cast<std::uint8_t>(TIFFGetG(v));
            d[2] = static_cast<std::uint8_t>(TIFFGetR(v));
        }
    }
    if (partial) *partial = lost;
    return image;
}

}  // namespace duplora
