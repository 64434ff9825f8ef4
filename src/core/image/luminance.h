// Luminance of a colour: trunc(0.587 G + 0.114 B + 0.299 R) evaluated in double
// precision, exactly as written. The double sum differs from the exact rational value
// only where 587 G + 114 B + 299 R is a multiple of 1000, where it may fall just below
// the integer; those colours take the double path, every other colour is an integer
// table lookup. Proven equal over all 16,777,216 colours by a test.
#pragma once

#include <cstdint>

namespace duplora {

struct LuminanceTables {
    std::uint32_t green[256];
    std::uint32_t blue[256];
    std::uint32_t red[256];
    // Index: 587 G + 114 B + 299 R. Low 8 bits: the quotient by 1000; bit 8 set where
    // the remainder is 0 and the double evaluation must decide.
    std::uint16_t quotient[255 * 1000 + 1];
};

const LuminanceTables& GetLuminanceTables();

inline int LuminanceDouble(int b, int g, int r) {
    return static_cast<int>(0.587 * g + 0.114 * b + 0.299 * r);
}

inline int Luminance(const LuminanceTables& t, int b, int g, int r) {
    const std::uint16_t q = t.quotient[t.green[g] + t.blue[b] + t.red[r]];
    if (q & 0x100) [[unlikely]]
        return LuminanceDouble(b, g, r);
    return q;
}

inline int Luminance(int b, int g, int r) { return Luminance(GetLuminanceTables(), b, g, r); }

}  // namespace duplora
