// What the text and logo stamps share: the corner rule that places an overlay, and the
// canvas with its optional coloured band above or below the picture.
#pragma once

#include <cstdint>

#include "core/image/image_buffer.h"

namespace duplora {

// Where an overlay goes. Corner 0 top left, 1 top right, 2 bottom left, 3 bottom right;
// the distances are from that corner's edges; the depth shifts the overlay to the left by
// that many pixels (to the right when negative), which sets its depth in the pair.
struct OverlayPlacement {
    int corner = 3;
    int xDistance = 0;
    int yDistance = 0;
    int depth = 0;
};

// The band added to the picture: `height` rows of `colour` (a colour reference: red in
// the low byte, then green, then blue) above the picture for the top corners, below it
// for the bottom ones. A height of 0 adds nothing.
struct OverlayBand {
    int height = 0;
    int colour = 0;
};

struct OverlayOrigin {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

// Top-left corner, top-down, of an overlay of overlayWidth × overlayHeight on a canvas of
// width × height (the band included), for a corner 0…3. Computed in 64 bits: distances
// and depth may put it far outside the canvas.
OverlayOrigin PlaceOverlay(const OverlayPlacement& placement, int width, int height,
                           std::int64_t overlayWidth, std::int64_t overlayHeight);

// A 24-bit picture of width × (height + band height) filled with the band colour, with the
// picture drawn 1:1 below the band (corners 0 and 1) or at the top (corners 2 and 3).
// Pictures of 1, 4 and 8 bits go through their colour table. A quiet failure for no picture,
// another depth, a corner outside 0…3 or a negative band; CannotCreateImage when the canvas
// cannot be made (too large included).
Result<ImageBuffer> PlaceOnBand(const ImageBuffer& picture, int corner, const OverlayBand& band);

// The three bytes (blue, green, red) of a colour reference, as a pixel is stored.
inline void ColourBytes(int colour, std::uint8_t out[3]) {
    out[0] = static_cast<std::uint8_t>(colour >> 16);
    out[1] = static_cast<std::uint8_t>(colour >> 8);
    out[2] = static_cast<std::uint8_t>(colour);
}

// Writes `count` pixels of one colour (blue, green, red) from `row`.
void FillPixels(std::uint8_t* row, std::int64_t count, const std::uint8_t bgr[3]);

}  // namespace duplora
