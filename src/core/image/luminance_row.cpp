#include "core/image/luminance_row.h"

#include <algorithm>
#include <cstring>

#include "core/image/luminance.h"

// The integer passes vectorise; wider vectors are used where the processor has them.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define DUPLORA_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define DUPLORA_WIDE_VECTORS
#endif

namespace duplora {
namespace {

// Marks of IntegerLuminance: the double evaluation must decide a coloured pixel; a grey
// pixel (B = G = R) whose luminance is one of the few the double evaluation lowers.
constexpr std::uint8_t kMarkColour = 1;
constexpr std::uint8_t kMarkGrey = 2;

// S = 114 B + 587 G + 299 R is 1000 times the luminance. It is split so that every step
// fits 16 bits (twice the lanes of 32-bit arithmetic): S = 8 U + V with
// U = 14 B + 73 G + 37 R and V = 2 B + 3 G + 3 R, so T = S >> 3 = U + (V >> 3) ≤ 31875,
// and S / 1000 = T / 125 = (T × 33555) >> 22 exactly for every such T. Only where S is a
// multiple of 1000 (V ≡ 0 mod 8 and T = 125 Q) may the double evaluation fall just below
// the integer; those pixels are marked. Returns the marks used, or-ed together.
DUPLORA_WIDE_VECTORS
unsigned IntegerLuminance(const std::uint8_t* __restrict bgr, std::uint8_t* __restrict out,
                          std::uint8_t* __restrict marks, int count) {
    std::uint8_t any = 0;  // bytes, so that the marks need no widening
    for (int i = 0; i < count; ++i) {
        const std::uint16_t b = bgr[3 * i], g = bgr[3 * i + 1], r = bgr[3 * i + 2];
        const auto u = static_cast<std::uint16_t>(14 * b + 73 * g + 37 * r);
        const auto v = static_cast<std::uint16_t>(2 * b + 3 * g + 3 * r);
        const auto t = static_cast<std::uint16_t>(u + (v >> 3));
        const auto q = static_cast<std::uint16_t>(
            static_cast<std::uint16_t>((static_cast<std::uint32_t>(t) * 33555u) >> 16) >> 6);
        out[i] = static_cast<std::uint8_t>(q);
        const auto exact =
            static_cast<std::uint8_t>(((v & 7) == 0) & (t == static_cast<std::uint16_t>(q * 125)));
        const auto grey = static_cast<std::uint8_t>((b == g) & (g == r));
        const auto m = static_cast<std::uint8_t>(exact + (exact & grey));
        marks[i] = m;
        any |= m;
    }
    return any;
}

// Grey pixels always have S = 1000 v, so a black-and-white picture is marked everywhere.
// The double evaluation gives v for them except for these sixteen values, where it gives
// v − 1 (a test checks every colour).
// Written with explicit vectors: as a plain loop the sixteen comparisons become a bit
// test on a 64-bit constant, which does not vectorise.
using Bytes32 = std::uint8_t __attribute__((vector_size(32)));

DUPLORA_WIDE_VECTORS
void LowerGreys(std::uint8_t* __restrict out, const std::uint8_t* __restrict marks, int count) {
    int i = 0;
    for (; i + 32 <= count; i += 32) {
        Bytes32 v, m;
        std::memcpy(&v, out + i, 32);
        std::memcpy(&m, marks + i, 32);
        const auto lowered = (v == 23) | (v == 46) | (v == 57) | (v == 59) | (v == 92) |
                             (v == 114) | (v == 118) | (v == 127) | (v == 184) | (v == 205) |
                             (v == 223) | (v == 228) | (v == 236) | (v == 241) | (v == 249) |
                             (v == 254);
        v -= (m >> 1) & (Bytes32)lowered;
        std::memcpy(out + i, &v, 32);
    }
    for (; i < count; ++i) {
        const std::uint8_t v = out[i];
        const bool lowered = v == 23 || v == 46 || v == 57 || v == 59 || v == 92 || v == 114 ||
                             v == 118 || v == 127 || v == 184 || v == 205 || v == 223 || v == 228 ||
                             v == 236 || v == 241 || v == 249 || v == 254;
        out[i] = static_cast<std::uint8_t>(v - ((marks[i] >> 1) & lowered));
    }
}

}  // namespace

void LuminanceRow(const std::uint8_t* bgr, std::uint8_t* out, int count) {
    constexpr int kBlock = 256;
    alignas(8) std::uint8_t marks[kBlock + 8];
    for (int start = 0; start < count; start += kBlock) {
        const int n = std::min(kBlock, count - start);
        const std::uint8_t* block = bgr + 3 * static_cast<std::ptrdiff_t>(start);
        const unsigned used = IntegerLuminance(block, out + start, marks, n);
        if (used & kMarkGrey) LowerGreys(out + start, marks, n);
        if (!(used & kMarkColour)) continue;
        // Coloured marks are rare (about one pixel in a thousand): skip eight at a time.
        std::memset(marks + n, 0, 8);
        for (int w = 0; w < n; w += 8) {
            std::uint64_t word;
            std::memcpy(&word, marks + w, 8);
            if (!(word & 0x0101010101010101u)) continue;
            for (int i = w; i < w + 8 && i < n; ++i)
                if (marks[i] & kMarkColour)
                    out[start + i] = static_cast<std::uint8_t>(
                        LuminanceDouble(block[3 * i], block[3 * i + 1], block[3 * i + 2]));
        }
    }
}

}  // namespace duplora
