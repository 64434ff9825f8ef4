// How the alignment offset between the two views becomes crop margins.
#pragma once

namespace duplora {

// Four non-negative margins. The first (left) view is read from column firstX and stored
// row firstY, the second (right) view from column secondX and stored row secondY; the
// common size is (width − secondX − firstX) × (height − secondY − firstY). Stored rows
// count from the bottom of the picture.
struct CommonArea {
    int secondX = 0;
    int secondY = 0;
    int firstX = 0;
    int firstY = 0;

    friend bool operator==(const CommonArea&, const CommonArea&) = default;
};

// Margins for the offset (dx, dy) on views of width × height, keeping at least 10 pixels
// of each dimension. In panorama mode the views wrap around, so dx is not limited.
CommonArea ComputeCommonArea(int width, int height, int dx, int dy, bool panorama = false);

}  // namespace duplora
