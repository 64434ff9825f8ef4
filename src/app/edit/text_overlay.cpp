#include "app/edit/text_overlay.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace duplora {

namespace {

// Glyphs larger than any picture cannot show more than a picture's worth.
constexpr int kMaxRenderPixelSize = kMaxImageDimension;

struct Span {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return left >= right || top >= bottom; }
};

Span Intersect(const Span& a, const Span& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// Draws the text's coverage into a mask of `area` (canvas coordinates) with the line's
// top-left at `at`, and lays `colour` on the canvas through it.
void StampGlyphs(ImageBuffer& canvas, const QString& text, const QFont& font, int ascent,
                 OverlayOrigin at, const Span& area, int colour, bool smooth) {
    const int w = static_cast<int>(area.right - area.left);
    const int h = static_cast<int>(area.bottom - area.top);
    QImage mask(w, h, QImage::Format_Alpha8);
    if (mask.isNull()) return;
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 0, 255));
        const double x = static_cast<double>(at.x - area.left);
        const double baseline = static_cast<double>(at.y - area.top) + ascent;
        painter.drawText(QPointF(x, baseline), text);
    }
    std::uint8_t bgr[3];
    ColourBytes(colour, bgr);
    for (int my = 0; my < h; ++my) {
        const uchar* cover = mask.constScanLine(my);
        std::uint8_t* dst = canvas.Line(static_cast<int>(area.top + my)) + area.left * 3;
        for (int mx = 0; mx < w; ++mx, dst += 3) {
            const int a = cover[mx];
            if (a == 0) continue;
            if (!smooth) {
                // Aliased glyphs come as full coverage; a stray partial pixel counts by half.
                if (a < 128) continue;
                dst[0] = bgr[0], dst[1] = bgr[1], dst[2] = bgr[2];
            } else if (a == 255) {
                dst[0] = bgr[0], dst[1] = bgr[1], dst[2] = bgr[2];
            } else {
                for (int c = 0; c < 3; ++c)
                    dst[c] =
                        static_cast<std::uint8_t>((dst[c] * (255 - a) + bgr[c] * a + 127) / 255);
            }
        }
    }
}

}  // namespace

QFont TextStampFont(const std::string& description, bool smooth) {
    QFont font = QGuiApplication::font();
    if (!description.empty()) {
        QFont stored;
        if (stored.fromString(QString::fromStdString(description))) font = stored;
    }
    font.setStyleStrategy(smooth ? QFont::PreferAntialias : QFont::NoAntialias);
    return font;
}

int TextCharHeight(const QFont& font) {
    if (font.pixelSize() > 0) return font.pixelSize();
    const double points = font.pointSizeF();
    if (!(points > 0)) return 1;
    return static_cast<int>(std::clamp(std::lround(points * 96.0 / 72.0), 1L, long{INT32_MAX}));
}

QString TextStampText(const std::string& text) {
    const QList<uint> characters = QString::fromStdString(text).toUcs4();
    const qsizetype n = std::min<qsizetype>(characters.size(), kMaxStampTextLength);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), n);
}

TextLayout LayoutTextStamp(const TextSet& set, int depth, int width, int height,
                           const QFont& font) {
    TextLayout layout;
    layout.charHeight = TextCharHeight(font);
    const std::int64_t length = TextStampText(set.text).toUcs4().size();
    layout.estimatedWidth = length * layout.charHeight / 2;
    const OverlayPlacement placement{set.corner, set.xDistance, set.yDistance, depth};
    layout.origin =
        PlaceOverlay(placement, width, height, layout.estimatedWidth, layout.charHeight);
    return layout;
}

Result<ImageBuffer> AddText(const ImageBuffer& picture, const TextSet& set, int depth,
                            const std::string& fontDescription) {
    const OverlayBand band{set.band ? set.bandHeight : 0, set.bandColour};
    Result<ImageBuffer> placed = PlaceOnBand(picture, set.corner, band);
    if (!placed) return placed;
    ImageBuffer canvas = std::move(placed).Value();
    const QString text = TextStampText(set.text);
    if (text.isEmpty()) return canvas;

    const bool smooth = set.smooth != 0;
    QFont font = TextStampFont(fontDescription, smooth);
    const TextLayout layout = LayoutTextStamp(set, depth, canvas.Width(), canvas.Height(), font);
    font.setPixelSize(std::min(layout.charHeight, kMaxRenderPixelSize));
    const QFontMetrics metrics(font);

    // Generous bounds of what the glyphs can touch: the advance and line height, with a
    // character height of room on every side for overhangs.
    const std::int64_t pad = layout.charHeight;
    const Span glyphs{layout.origin.x - pad, layout.origin.y - pad,
                      layout.origin.x + metrics.horizontalAdvance(text) + pad,
                      layout.origin.y + std::max(metrics.height(), layout.charHeight) + pad};
    const Span whole{0, 0, canvas.Width(), canvas.Height()};

    if (set.shadow) {
        const OverlayOrigin at{layout.origin.x + set.shadowX, layout.origin.y + set.shadowY};
        const Span moved{glyphs.left + set.shadowX, glyphs.top + set.shadowY,
                         glyphs.right + set.shadowX, glyphs.bottom + set.shadowY};
        const Span area = Intersect(moved, whole);
        if (!area.Empty())
            StampGlyphs(canvas, text, font, metrics.ascent(), at, area, set.shadowColour, smooth);
    }
    const Span area = Intersect(glyphs, whole);
    if (!area.Empty())
        StampGlyphs(canvas, text, font, metrics.ascent(), layout.origin, area, set.textColour,
                    smooth);
    return canvas;
}

}  // namespace duplora
