#include "core/stereo/common_area.h"

#include <algorithm>
#include <cstdint>

namespace duplora {
namespace {

// An offset that would leave fewer than 10 pixels is pulled back to leave exactly 10.
// Pictures of 10 pixels or fewer cannot keep 10, so any offset there becomes 0.
std::int64_t LimitOffset(std::int64_t offset, int size) {
    const std::int64_t limit = std::max(size - 10, 0);
    if (offset > limit) return limit;
    if (offset < -limit) return -limit;
    return offset;
}

}  // namespace

CommonArea ComputeCommonArea(int width, int height, int dx, int dy, bool panorama) {
    std::int64_t x = dx, y = dy;
    if (!panorama) x = LimitOffset(x, width);
    y = LimitOffset(y, height);
    CommonArea area;
    // |INT_MIN| does not fit an int; a margin that large is refused by every user anyway.
    area.secondX = static_cast<int>(std::clamp<std::int64_t>(x, 0, INT32_MAX));
    area.secondY = static_cast<int>(std::max<std::int64_t>(y, 0));
    area.firstX = static_cast<int>(std::clamp<std::int64_t>(-x, 0, INT32_MAX));
    area.firstY = static_cast<int>(std::max<std::int64_t>(-y, 0));
    return area;
}

}  // namespace duplora
