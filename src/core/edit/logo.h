// The logo stamp: a small picture copied into a view at a corner, with a depth shift, an
// optional band and an optional transparent colour.
#pragma once

#include <string>

#include "core/edit/overlay.h"
#include "core/formats/codec_options.h"
#include "core/image/image_buffer.h"

namespace duplora {

struct LogoStamp {
    OverlayPlacement placement;
    OverlayBand band;  // height 0 when the band is off
    // Logo pixels of this colour reference are left out while `transparent` is on.
    bool transparent = false;
    int transparentColour = 0xFFFFFF;
};

// The program's own logo, 302 × 38 pixels in 16 colours (4 bits); white background.
ImageBuffer BuiltinLogo();

struct LogoPicture {
    ImageBuffer image;  // as read: any depth
    bool builtIn = false;
};

// The logo file read with LoadPictureFile, or the built-in logo when that fails (an empty
// path included).
LogoPicture LoadLogo(const std::string& logoFile, const CodecOptions& options = {});

// A 24-bit copy of `picture` on its band canvas (PlaceOnBand) with the logo copied in:
// logo row i (from the top) lands on canvas row r0 + i − 1, logo column j on column c0 + j,
// where (c0, r0) is PlaceOverlay for the logo's size; rows and columns outside the canvas
// are left out. A logo of 1, 4 or 8 bits goes through its colour table. A quiet failure for
// no picture, no logo or a logo that cannot be converted; PlaceOnBand's failure otherwise.
Result<ImageBuffer> AddLogo(const ImageBuffer& picture, const ImageBuffer& logo,
                            const LogoStamp& stamp);

// The same with the logo read by LoadLogo.
Result<ImageBuffer> AddLogo(const ImageBuffer& picture, const std::string& logoFile,
                            const LogoStamp& stamp, const CodecOptions& options = {});

}  // namespace duplora
