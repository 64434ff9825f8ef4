// The logo stamped when no logo file can be read: "Duplora" beside two overlapping lens
// rings in the red and cyan of anaglyph glasses. Drawn from the small description below
// into a 302 × 38 picture of 16 colours, white background (the default transparent colour).

#include <array>
#include <cstdint>

#include "core/edit/logo.h"

namespace duplora {

namespace {

constexpr int kWidth = 302;
constexpr int kHeight = 38;

// Colour table: blue, green, red.
constexpr std::array<std::array<std::uint8_t, 3>, 16> kColours{{
    {255, 255, 255},  // 0 background
    {40, 40, 220},    // 1 red ring and fringe
    {210, 170, 0},    // 2 cyan ring and fringe
    {70, 40, 40},     // 3 where both lenses overlap
    {90, 35, 25},     // 4 lettering
    {180, 170, 170},  // 5 soft shadow
    {160, 160, 250},  // 6 inside the red lens
    {240, 225, 160},  // 7 inside the cyan lens
    {0, 0, 0},
    {36, 36, 36},
    {72, 72, 72},
    {108, 108, 108},
    {144, 144, 144},
    {180, 180, 180},
    {216, 216, 216},
    {240, 240, 240},
}};

// Glyphs on a 5 × 9 grid: rows 0–6 above the base line, 7–8 the descender.
struct Glyph {
    char letter;
    std::array<const char*, 9> rows;
};
constexpr std::array<Glyph, 7> kGlyphs{{
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####.", ".....", "....."}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#", ".....", "....."}},
    {'p', {".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###.", ".....", "....."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", ".....", "....."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####", ".....", "....."}},
}};

constexpr int kScale = 4;             // one grid cell = 4 × 4 pixels
constexpr int kAdvance = 6 * kScale;  // glyph plus one empty cell
constexpr int kTextWidth = 7 * kAdvance - kScale;
constexpr int kLensRadius = 14, kLensInner = 10;
constexpr int kEmblemWidth = 2 * kLensRadius + 16 + 2;  // two rings 16 apart
constexpr int kLeft = (kWidth - (kEmblemWidth + 14 + kTextWidth)) / 2;
constexpr int kTextLeft = kLeft + kEmblemWidth + 14;
constexpr int kTextTop = 1;

void Put(ImageBuffer& image, int x, int y, int index) {
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return;
    std::uint8_t& byte = image.Line(y)[x / 2];
    byte = (x & 1) ? static_cast<std::uint8_t>((byte & 0xF0) | index)
                   : static_cast<std::uint8_t>((byte & 0x0F) | (index << 4));
}

// 0 outside the lens, 1 inside, 2 on its ring.
int Lens(int x, int y, int cx, int cy) {
    const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    if (d > kLensRadius * kLensRadius) return 0;
    return d > kLensInner * kLensInner ? 2 : 1;
}

void DrawLetters(ImageBuffer& image, int dx, int dy, int index) {
    for (int g = 0; g < 7; ++g) {
        for (int r = 0; r < 9; ++r) {
            for (int c = 0; c < 5; ++c) {
                if (kGlyphs[g].rows[r][c] != '#') continue;
                const int x0 = kTextLeft + g * kAdvance + c * kScale + dx;
                const int y0 = kTextTop + r * kScale + dy;
                for (int y = y0; y < y0 + kScale; ++y)
                    for (int x = x0; x < x0 + kScale; ++x) Put(image, x, y, index);
            }
        }
    }
}

}  // namespace

ImageBuffer BuiltinLogo() {
    ImageBuffer image = CreateImage(kWidth, kHeight, 4);
    if (!image) return image;
    std::uint8_t* table = image.ColourTable();
    for (std::size_t k = 0; k < kColours.size(); ++k) {
        table[k * 4] = kColours[k][0];
        table[k * 4 + 1] = kColours[k][1];
        table[k * 4 + 2] = kColours[k][2];
        table[k * 4 + 3] = 0;
    }

    const int leftLens = kLeft + kLensRadius + 1, rightLens = leftLens + 16;
    const int lensRow = kHeight / 2 - 1;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = kLeft; x < kLeft + kEmblemWidth; ++x) {
            const int red = Lens(x, y, leftLens, lensRow);
            const int cyan = Lens(x, y, rightLens, lensRow);
            if (red == 0 && cyan == 0) continue;
            int index;
            if (red != 0 && cyan != 0)
                index = 3;
            else if (red != 0)
                index = red == 2 ? 1 : 6;
            else
                index = cyan == 2 ? 2 : 7;
            Put(image, x, y, index);
        }
    }

    // A soft shadow, then red and cyan fringes, then the lettering itself.
    DrawLetters(image, 1, 1, 5);
    DrawLetters(image, -2, 0, 1);
    DrawLetters(image, 2, 0, 2);
    DrawLetters(image, 0, 0, 4);
    return image;
}

}  // namespace duplora
