#include "core/image/luminance_row.h"

#include "core/image/luminance.h"

namespace duplora {

// s = 587 G + 114 B + 299 R from the small tables (they stay in the first-level cache),
// s / 1000 by a multiply: for s ≤ 255000, (s >> 3) < 2^15 and 33555 · 125 − 2^22 = 71,
// so ((s >> 3) · 33555) >> 22 is exactly floor(s / 8 / 125). Where s is a multiple of
// 1000 the double evaluation decides, as in Luminance().
void LuminanceRow(const std::uint8_t* bgr, int count, std::uint8_t* out) {
    const LuminanceTables& t = GetLuminanceTables();
    for (int x = 0; x < count; ++x, bgr += 3) {
        const std::uint32_t s = t.green[bgr[1]] + t.blue[bgr[0]] + t.red[bgr[2]];
        std::uint32_t q = ((s >> 3) * 33555u) >> 22;
        if (q * 1000u == s) [[unlikely]]
            q = static_cast<std::uint32_t>(LuminanceDouble(bgr[0], bgr[1], bgr[2]));
        out[x] = static_cast<std::uint8_t>(q);
    }
}

}  // namespace duplora
