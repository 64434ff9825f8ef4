#include "app/flip/eye_frames.h"

#include <cstring>

namespace duplora {

ImageBuffer BuildEyeFrame(const DisplayComposer& composer, DisplayComposer::Picture which,
                          PixelSize screen, int scrollX, int scrollY, bool panorama) {
    if (!composer.Has(which) || screen.width <= 0 || screen.height <= 0) return {};
    const PixelSize picture{composer.Width(which), composer.Height(which)};
    ImageBuffer frame = CreateImage(screen.width, screen.height, 24);  // black
    if (!frame) return {};
    const int x = ClampOrWrap(scrollX, picture.width, screen.width, panorama);
    const int y = ClampOrWrap(scrollY, picture.height, screen.height, false);
    for (const FramePiece& piece : FramePieces(picture, screen, x, y, panorama)) {
        const ImageBuffer part =
            composer.Render(which, piece.sourceX, piece.sourceY, piece.width, piece.height);
        if (!part) return {};
        for (int row = 0; row < piece.height; ++row)
            std::memcpy(frame.Line(piece.screenY + row) + 3 * piece.screenX, part.Line(row),
                        3 * static_cast<std::size_t>(piece.width));
    }
    return frame;
}

}  // namespace duplora
