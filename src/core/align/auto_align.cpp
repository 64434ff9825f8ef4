#include "core/align/auto_align.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

namespace duplora {

namespace {

constexpr double kRadiansPerTenthDegree = 0.0017453292519943279;
constexpr double kTenthDegreesPerRadian = 572.9577951308238;
// Sizes are percentages (0 … 200 in the dialog); the bound only keeps absurd input
// from overflowing the 64-bit products.
constexpr std::int64_t kSizeBound = std::int64_t{1} << 24;

int Saturate(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// The point relative to the preview centre, turned by angle tenths of a degree and
// truncated toward zero.
std::pair<std::int64_t, std::int64_t> Turn(int x, int y, int width, int height, int angle) {
    const double cx = static_cast<double>(std::int64_t{x} - width / 2);
    const double cy = static_cast<double>(std::int64_t{y} - height / 2);
    const double a = angle * kRadiansPerTenthDegree;
    const double c = std::cos(a), s = std::sin(a);
    return {static_cast<std::int64_t>(cx * c - cy * s), static_cast<std::int64_t>(cx * s + cy * c)};
}

}  // namespace

std::optional<GuidePoint> MapPointBack(int x, int y, int width, int height, int angle, int size) {
    if (size <= 0) return std::nullopt;
    const auto [tx, ty] = Turn(x, y, width, height, angle);
    const std::int64_t s = std::min<std::int64_t>(size, kSizeBound);
    return GuidePoint{Saturate(tx * 100 / s + width / 2), Saturate(ty * 100 / s + height / 2)};
}

GuidePoint MapPointForward(int x, int y, int width, int height, int angle, int size) {
    const auto [tx, ty] = Turn(x, y, width, height, angle);
    const std::int64_t s = std::clamp<std::int64_t>(size, -kSizeBound, kSizeBound);
    return GuidePoint{Saturate(tx * s / 100 + width / 2), Saturate(ty * s / 100 + height / 2)};
}

bool DrawGuideLine(ImageBuffer& grey, int x1, int y1, int x2, int y2) {
    if (!grey || grey.BitCount() != 8) return false;
    const std::int64_t w = grey.Width(), h = grey.Height();
    // Rows as stored, bottom-up.
    const std::int64_t r1 = h - y1 - 2, r2 = h - y2 - 2;
    const auto inside = [&](std::int64_t x, std::int64_t r) {
        return x >= 0 && x < w && r >= 0 && r < h;
    };
    if (!inside(x1, r1) || !inside(x2, r2)) return false;
    const auto set = [&](std::int64_t x, std::int64_t r) {
        if (inside(x, r)) grey.StoredRow(static_cast<int>(r))[x] = 255;
    };

    // Along x: one pixel per column, and the one above it.
    std::int64_t xa = x1, ra = r1, xb = x2, rb = r2;
    if (xa > xb) std::swap(xa, xb), std::swap(ra, rb);
    for (std::int64_t i = 0; i < xb - xa; ++i) {
        const std::int64_t row = ra + (i * (rb - ra)) / (xb - xa);
        set(xa + i, row);
        set(xa + i, row + 1);
    }
    // Along the rows: one pixel per row, and the one to its right.
    std::int64_t r0 = r1, c0 = x1, rEnd = r2, cEnd = x2;
    if (r0 > rEnd) std::swap(r0, rEnd), std::swap(c0, cEnd);
    for (std::int64_t i = 0; i < rEnd - r0; ++i) {
        const std::int64_t column = c0 + (i * (cEnd - c0)) / (rEnd - r0);
        set(column, r0 + i);
        set(column + 1, r0 + i);
    }
    return true;
}

GuideLine FinishGuideLine(const GuideLine& drawn, const GuideLineView& view,
                          ImageBuffer& greyBase) {
    if (drawn.state != GuideLine::kDrawing) return drawn;
    const GuideLine gone;
    // The composed preview cut each view by the pair offset; add back what was cut.
    const int cropX = view.right ? std::max(-view.dx, 0) : std::max(view.dx, 0);
    const int cropY = view.right ? std::max(view.dy, 0) : std::max(-view.dy, 0);
    const auto back = [&](int x, int y) {
        return MapPointBack(Saturate(std::int64_t{x} + cropX), Saturate(std::int64_t{y} + cropY),
                            view.previewWidth, view.previewHeight, -view.rotation, view.size);
    };
    const std::optional<GuidePoint> a = back(drawn.x1, drawn.y1);
    const std::optional<GuidePoint> b = back(drawn.x2, drawn.y2);
    if (!a || !b) return gone;
    // A click without real movement leaves no line.
    if (std::llabs(std::int64_t{a->x} - b->x) <= 3 && std::llabs(std::int64_t{a->y} - b->y) <= 3)
        return gone;
    if (!DrawGuideLine(greyBase, a->x, a->y, b->x, b->y)) return gone;
    return GuideLine{GuideLine::kSet, a->x, a->y, b->x, b->y};
}

int LevellingRotationSlot(const GuideLine& line) {
    // The left end is the one with the smaller x; with equal x the start counts as right.
    const bool startIsLeft = line.x1 < line.x2;
    const std::int64_t yl = startIsLeft ? line.y1 : line.y2;
    const std::int64_t yr = startIsLeft ? line.y2 : line.y1;
    const double angle =
        std::atan2(static_cast<double>(yl - yr),
                   static_cast<double>(std::llabs(std::int64_t{line.x2} - line.x1)));
    int slot = 900 - static_cast<int>(angle * -kTenthDegreesPerRadian);
    // The nearer quarter turn: the rotation stays within ±45 degrees.
    if (slot - 900 > 450) slot -= 900;
    if (slot - 900 < -450) slot += 900;
    return slot;
}

AutoAlignResult AutoAlign(const AutoAlignInput& in) {
    AutoAlignResult out;
    out.rotationLeft = in.rotationLeft;
    out.rotationRight = in.rotationRight;
    out.positionX = in.positionX;
    out.positionY = in.positionY;
    if (in.fullSize || in.viewMode < 0 || in.viewMode > 2) return out;
    const int pw = in.previewWidth, ph = in.previewHeight;

    if (in.viewMode == 0 || in.viewMode == 1) {
        if (!in.left.HasPoints()) return out;
        out.rotationLeft = LevellingRotationSlot(in.left);
        out.leftLevelled = true;
        out.leftStart =
            MapPointForward(in.left.x1, in.left.y1, pw, ph, out.rotationLeft - 900, in.sizeLeft);
        out.leftEnd =
            MapPointForward(in.left.x2, in.left.y2, pw, ph, out.rotationLeft - 900, in.sizeLeft);
    }
    if (in.viewMode == 0 || in.viewMode == 2) {
        if (!in.right.HasPoints()) return out;
        out.rotationRight = LevellingRotationSlot(in.right);
        out.rightLevelled = true;
        out.rightStart = MapPointForward(in.right.x1, in.right.y1, pw, ph, out.rotationRight - 900,
                                         in.sizeRight);
        out.rightEnd = MapPointForward(in.right.x2, in.right.y2, pw, ph, out.rotationRight - 900,
                                       in.sizeRight);
    }
    // A zoom of 0 (a view more than a hundred times the preview) cannot be scaled back.
    if (in.viewMode == 0 && in.zoom > 0) {
        const std::int64_t rangeX = std::max(in.positionRangeX, 0);
        const std::int64_t rangeY = std::max(in.positionRangeY, 0);
        const std::int64_t x =
            (std::int64_t{out.leftStart.x} - out.rightStart.x) * 100 / in.zoom + rangeX / 2;
        const std::int64_t y =
            (std::int64_t{out.leftStart.y} - out.rightStart.y) * 100 / in.zoom + rangeY / 2;
        // Like every other change of a position slot, kept within its scroll range.
        out.positionX = static_cast<int>(std::clamp<std::int64_t>(x, 0, rangeX));
        out.positionY = static_cast<int>(std::clamp<std::int64_t>(y, 0, rangeY));
        out.pairMoved = true;
    }
    return out;
}

}  // namespace duplora
