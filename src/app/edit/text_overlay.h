// The text stamp: one line of text drawn into a view at a corner, with a depth shift, an
// optional shadow and an optional band. Glyphs come from Qt's font rendering; where they go
// and how they are laid on the picture is decided here, pixel by pixel.
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <string>

#include "app/shell/settings.h"
#include "core/edit/overlay.h"
#include "core/image/image_buffer.h"

namespace duplora {

// The stamp draws at most this many characters, the length the text field allows.
inline constexpr int kMaxStampTextLength = 500;

// The font of a stored description (QFont::toString() text); an empty or unreadable one
// gives the application's font. Smooth characters switch anti-aliasing on.
QFont TextStampFont(const std::string& description, bool smooth);

// The character height the stamp works with: the font's pixel size, or its point size at
// 96 dots per inch; at least 1.
int TextCharHeight(const QFont& font);

// The stamped text: the stored text cut to kMaxStampTextLength characters.
QString TextStampText(const std::string& text);

struct TextLayout {
    int charHeight = 0;
    std::int64_t estimatedWidth = 0;  // characters × charHeight / 2
    OverlayOrigin origin;             // top-left of the text's line, top-down, band included
};

// Where the text goes on a canvas of width × height (the band included) with this depth.
TextLayout LayoutTextStamp(const TextSet& set, int depth, int width, int height, const QFont& font);

// A 24-bit copy of `picture` on its band canvas (band height when set.band is on) with the
// text drawn: first in the shadow colour shifted by (shadowX, shadowY) when the shadow is on,
// then in the text colour at the layout's origin, the top of the line at that row. Without
// smooth characters every glyph pixel takes the colour as it is; with them, the glyph's
// coverage blends it over the picture. Glyph pixels outside the canvas are left out.
// PlaceOnBand's failure when the canvas cannot be made.
Result<ImageBuffer> AddText(const ImageBuffer& picture, const TextSet& set, int depth,
                            const std::string& fontDescription);

}  // namespace duplora
