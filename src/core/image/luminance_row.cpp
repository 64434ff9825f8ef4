#include "core/image/luminance_row.h"

#include <algorithm>
#include <cstring>

#include "core/image/luminance.h"

// The integer pass vectorises; wider vectors are used where the processor has them.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define DUPLORA_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define DUPLORA_WIDE_VECTORS
#endif

namespace duplora {
namespace {

// S = 114 B + 587 G + 299 R is 1000 times the luminance. It is split so that every step
// fits 16 bits (twice the lanes of 32-bit arithmetic): S = 8 U + V with
// U = 14 B + 73 G + 37 R and V = 2 B + 3 G + 3 R, so T = S >> 3 = U + (V >> 3) ≤ 31875,
// and S / 1000 = T / 125 = (T × 33555) >> 22 exactly for every such T. Only where S is a
// multiple of 1000 (V ≡ 0 mod 8 and T = 125 Q) may the double evaluation fall just below
// the integer; those pixels are marked for it. Returns whether any pixel was marked.
DUPLORA_WIDE_VECTORS
bool IntegerLuminance(const std::uint8_t* __restrict bgr, std::uint8_t* __restrict out,
                      std::uint8_t* __restrict exact, int count) {
    unsigned any = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint16_t b = bgr[3 * i], g = bgr[3 * i + 1], r = bgr[3 * i + 2];
        const auto u = static_cast<std::uint16_t>(14 * b + 73 * g + 37 * r);
        const auto v = static_cast<std::uint16_t>(2 * b + 3 * g + 3 * r);
        const auto t = static_cast<std::uint16_t>(u + (v >> 3));
        const auto q = static_cast<std::uint16_t>(
            static_cast<std::uint16_t>((static_cast<std::uint32_t>(t) * 33555u) >> 16) >> 6);
        out[i] = static_cast<std::uint8_t>(q);
        const std::uint8_t e = ((v & 7) == 0) & (t == static_cast<std::uint16_t>(q * 125));
        exact[i] = e;
        any |= e;
    }
    return any != 0;
}

}  // namespace

void LuminanceRow(const std::uint8_t* bgr, std::uint8_t* out, int count) {
    constexpr int kBlock = 256;
    alignas(8) std::uint8_t exact[kBlock + 8];
    for (int start = 0; start < count; start += kBlock) {
        const int n = std::min(kBlock, count - start);
        const std::uint8_t* block = bgr + 3 * static_cast<std::ptrdiff_t>(start);
        if (!IntegerLuminance(block, out + start, exact, n)) continue;
        std::memset(exact + n, 0, 8);
        // Marks are rare: skip eight at a time.
        for (int w = 0; w < n; w += 8) {
            std::uint64_t word;
            std::memcpy(&word, exact + w, 8);
            if (!word) continue;
            for (int i = w; i < w + 8 && i < n; ++i)
                if (exact[i])
                    out[start + i] = static_cast<std::uint8_t>(
                        LuminanceDouble(block[3 * i], block[3 * i + 1], block[3 * i + 2]));
        }
    }
}

}  // namespace duplora
