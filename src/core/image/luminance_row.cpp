#include "core/image/luminance_row.h"

#include <algorithm>

#include "core/image/luminance.h"

// The integer pass vectorises; wider vectors are used where the processor has them.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define DUPLORA_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define DUPLORA_WIDE_VECTORS
#endif

namespace duplora {
namespace {

// S = 114 B + 587 G + 299 R is 1000 times the luminance, and S / 1000 (floor) is exact
// for every S up to 255000 as ((S >> 3) × 33555) >> 22 in 32 bits. Only where S is a
// multiple of 1000 may the double evaluation fall just below the integer; those pixels
// are marked for it. Returns whether any pixel was marked.
DUPLORA_WIDE_VECTORS
bool IntegerLuminance(const std::uint8_t* __restrict bgr, std::uint8_t* __restrict out,
                      std::uint8_t* __restrict exact, int count) {
    unsigned any = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t s = 114u * bgr[3 * i] + 587u * bgr[3 * i + 1] + 299u * bgr[3 * i + 2];
        const std::uint32_t q = ((s >> 3) * 33555u) >> 22;
        out[i] = static_cast<std::uint8_t>(q);
        const std::uint8_t e = s == q * 1000u;
        exact[i] = e;
        any |= e;
    }
    return any != 0;
}

}  // namespace

void LuminanceRow(const std::uint8_t* bgr, std::uint8_t* out, int count) {
    constexpr int kBlock = 256;
    std::uint8_t exact[kBlock];
    for (int start = 0; start < count; start += kBlock) {
        const int n = std::min(kBlock, count - start);
        const std::uint8_t* block = bgr + 3 * static_cast<std::ptrdiff_t>(start);
        if (!IntegerLuminance(block, out + start, exact, n)) continue;
        for (int i = 0; i < n; ++i)
            if (exact[i])
                out[start + i] = static_cast<std::uint8_t>(
                    LuminanceDouble(block[3 * i], block[3 * i + 1], block[3 * i + 2]));
    }
}

}  // namespace duplora
