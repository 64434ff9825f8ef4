// The TIFF readers on arbitrary files, with LZW switched on: the strip reader and the
// RGBA fallback. What they return must be a sound picture of the size the file
// announces; with LZW switched off an LZW file must be refused by both.
#include <tiffio.h>

#include "core/formats/tiff_codec.h"
#include "fuzz_picture.h"

using namespace duplora;

namespace {

int Quiet(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct Announced {
    bool opened = false;
    std::uint32_t width = 0, height = 0;
    std::uint16_t compression = COMPRESSION_NONE;
};

// The first directory's size and compression, read by libtiff itself.
Announced Probe(const std::string& path) {
    Announced a;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    TIFF* tif = TIFFOpenExt(path.c_str(), "r", options);
    TIFFOpenOptionsFree(options);
    if (!tif) return a;
    a.opened = TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &a.width) &&
               TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &a.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &a.compression);
    TIFFClose(tif);
    return a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch;
    const std::string path = scratch.File("in.tif");
    if (!fuzz::WriteFile(path, data, size)) return 0;
    const Announced announced = Probe(path);
    if (announced.opened && !fuzz::FuzzSizeAllowed(announced.width, announced.height)) return 0;

    CodecOptions lzw;
    lzw.allowLzw = true;
    const ImageBuffer strips = ReadTiffFile(path, lzw);
    if (strips) {
        fuzz::CheckPicture(strips, false);
        fuzz::Check(announced.opened && static_cast<std::uint32_t>(strips.Width()) ==
                                            announced.width &&
                    static_cast<std::uint32_t>(strips.Height()) == announced.height);
    }
    const ImageBuffer rgba = ReadTiffRgba(path, lzw);
    if (rgba) {
        fuzz::CheckPicture(rgba, true);
        fuzz::Check(announced.opened &&
                    static_cast<std::uint32_t>(rgba.Width()) == announced.width &&
                    static_cast<std::uint32_t>(rgba.Height()) == announced.height);
    }
    if (announced.opened && announced.compression == COMPRESSION_LZW) {
        fuzz::Check(!ReadTiffFile(path));
        fuzz::Check(!ReadTiffRgba(path));
    }
    fuzz::Check(scratch.Count() == 1);
    return 0;
}
