#include "core/edit/border.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/edit/overlay.h"
#include "core/image/convert.h"
#include "core/stereo/display_modes.h"
#include "core/util/parallel.h"

namespace duplora {

namespace {

// A frame round each half the mode's picture holds, or one round all of it.
PictureHalves HalvesOf(DisplayMode mode) {
    const DisplayModeRow* row = FindDisplayMode(mode);
    return row ? row->halves : PictureHalves::None;
}

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool HoldsRow(int y) const { return y >= top && y < bottom; }
};

Rect Inset(const Rect& r, int by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// One view's frame: its box in the output, the nested middle and inner areas, and where
// its part of the picture goes.
struct Frame {
    Rect box, middle, inner, picture;
    int sourceLeft = 0, sourceTop = 0;  // top-down, in the picture
};

}  // namespace

int RoundedCornerInset(int rowFromEdge, int ellipseWidth, int ellipseHeight) {
    const std::int64_t a = ellipseWidth, b = ellipseHeight;
    if (a <= 0 || b <= 0 || rowFromEdge < 0) return 0;
    // Work in half pixels from the ellipse's centre: the pixel centre is at (u/2, v/2),
    // and it lies inside when u²b² + v²a² ≤ a²b².
    const std::int64_t v = b - 2 * std::int64_t{rowFromEdge} - 1;
    if (v <= 0) return 0;
    const std::int64_t limit = a * a * b * b - v * v * a * a;
    int inset = 0;
    for (std::int64_t u = a - 1; u > 0; u -= 2, ++inset)
        if (u * u * b * b <= limit) break;
    return inset;
}

bool FramedSize(int width, int height, DisplayMode mode, const FrameStyle& style, int& outWidth,
                int& outHeight) {
    if (width < 0 || height < 0 || style.outer < 0 || style.middle < 0 || style.inner < 0)
        return false;
    const std::int64_t t = std::int64_t{style.outer} + style.middle + style.inner;
    const PictureHalves halves = HalvesOf(mode);
    const std::int64_t w = width + (halves == PictureHalves::SideBySide ? 4 : 2) * t;
    const std::int64_t h = height + (halves == PictureHalves::OverUnder ? 4 : 2) * t;
    if (w > INT32_MAX || h > INT32_MAX) return false;
    outWidth = static_cast<int>(w);
    outHeight = static_cast<int>(h);
    return true;
}

Result<ImageBuffer> AddBorder(const ImageBuffer& picture, DisplayMode mode,
                              const FrameStyle& style) {
    if (!picture) return Failure::Quiet();
    if (style.outer < 0 || style.middle < 0 || style.inner < 0) return Failure::Quiet();
    ImageBuffer converted;
    const ImageBuffer* trueColour = AsTrueColour(picture, converted);
    if (!trueColour) return Failure::Quiet();
    const ImageBuffer& source = *trueColour;
    const int width = source.Width(), height = source.Height();

    int outW = 0, outH = 0;
    ImageBuffer out;
    if (FramedSize(width, height, mode, style, outW, outH) && ImageSizeAllowed(outW, outH))
        out = CreateImageForOverwrite(outW, outH, 24);
    if (!out) return CannotCreateImage(outW, outH);

    const int o = style.outer, m = style.middle, total = o + m + style.inner;
    const PictureHalves halves = HalvesOf(mode);
    std::vector<Frame> frames;
    const auto addFrame = [&](const Rect& box, int srcLeft, int srcTop, int srcW, int srcH) {
        Frame f;
        f.box = box;
        f.middle = Inset(box, o);
        f.inner = Inset(box, o + m);
        f.picture = {box.left + total, box.top + total, box.left + total + srcW,
                     box.top + total + srcH};
        f.sourceLeft = srcLeft;
        f.sourceTop = srcTop;
        frames.push_back(f);
    };
    if (halves == PictureHalves::SideBySide) {
        const int half = outW / 2;
        addFrame({0, 0, half, outH}, 0, 0, width / 2, height);
        addFrame({half, 0, outW, outH}, width / 2, 0, width / 2, height);
    } else if (halves == PictureHalves::OverUnder) {
        const int half = outH / 2;
        addFrame({0, 0, outW, half}, 0, 0, width, height / 2);
        addFrame({0, half, outW, outH}, 0, height / 2, width, height / 2);
    } else {
        addFrame({0, 0, outW, outH}, 0, 0, width, height);
    }

    // One full row of each frame colour; frame pixels are copied from these.
    const std::size_t rowBytes = static_cast<std::size_t>(outW) * 3;
    std::array<std::vector<std::uint8_t>, 3> colourRows;
    const int colours[3] = {style.outerColour, style.middleColour, style.innerColour};
    for (int k = 0; k < 3; ++k) {
        colourRows[k].resize(rowBytes + 3);
        std::uint8_t bgr[3];
        ColourBytes(colours[k], bgr);
        FillPixels(colourRows[k].data(), outW, bgr);
    }
    const auto copyColour = [&](std::uint8_t* dst, int level, int from, int to) {
        if (to > from)
            std::memcpy(dst + std::size_t(from) * 3,
                        colourRows[level].data() + std::size_t(from) * 3,
                        std::size_t(to - from) * 3);
    };

    ParallelRows(outH, std::int64_t{outW} * outH, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            std::uint8_t* dst = out.Line(y);
            for (const Frame& f : frames) {
                if (!f.box.HoldsRow(y)) continue;
                const int boxLeft = f.box.left, boxRight = f.box.right;
                if (!f.middle.HoldsRow(y)) {
                    copyColour(dst, 0, boxLeft, boxRight);
                    continue;
                }
                int inset = 0;
                if (style.roundCorners) {
                    const int mw = f.middle.right - f.middle.left;
                    const int mh = f.middle.bottom - f.middle.top;
                    const int fromEdge = std::min(y - f.middle.top, f.middle.bottom - 1 - y);
                    inset = RoundedCornerInset(fromEdge, std::min(m, mw), std::min(m, mh));
                }
                const int midLeft = f.middle.left + inset, midRight = f.middle.right - inset;
                copyColour(dst, 0, boxLeft, midLeft);
                copyColour(dst, 0, midRight, boxRight);
                if (!f.inner.HoldsRow(y)) {
                    copyColour(dst, 1, midLeft, midRight);
                    continue;
                }
                copyColour(dst, 1, midLeft, f.inner.left);
                copyColour(dst, 1, f.inner.right, midRight);
                if (!f.picture.HoldsRow(y)) {
                    copyColour(dst, 2, f.inner.left, f.inner.right);
                    continue;
                }
                copyColour(dst, 2, f.inner.left, f.picture.left);
                copyColour(dst, 2, f.picture.right, f.inner.right);
                const int sy = f.sourceTop + (y - f.picture.top);
                std::memcpy(dst + std::size_t(f.picture.left) * 3,
                            source.Line(sy) + std::size_t(f.sourceLeft) * 3,
                            std::size_t(f.picture.right - f.picture.left) * 3);
            }
        }
    });
    return out;
}

}  // namespace duplora
