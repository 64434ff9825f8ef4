#include "gui/stereo/pane_picture.h"

#include <QPainter>

#include <algorithm>

namespace duplora {

void CopyToScreenImage(const ImageBuffer& picture, QImage& target, QPoint at) {
    if (!picture || picture.BitCount() != 24 || target.format() != QImage::Format_RGB32) return;
    const int x0 = std::max(at.x(), 0);
    const int x1 = std::min(at.x() + picture.Width(), target.width());
    const int y0 = std::max(at.y(), 0);
    const int y1 = std::min(at.y() + picture.Height(), target.height());
    if (x0 >= x1 || y0 >= y1) return;
    const int n = x1 - x0;
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* s = picture.Line(y - at.y()) + 3 * (x0 - at.x());
        auto* d = reinterpret_cast<std::uint32_t*>(target.scanLine(y)) + x0;
        for (int i = 0; i < n; ++i)
            d[i] = 0xFF000000u | std::uint32_t{s[3 * i + 2]} << 16 |
                   std::uint32_t{s[3 * i + 1]} << 8 | s[3 * i];
    }
}

void PanePicture::Paint(QPainter& painter, const QRect& dirty, const DisplayComposer& composer,
                        DisplayComposer::Picture which, QSize client, QPoint origin,
                        std::optional<int> wrapX, QColor background) {
    const Key key{composer.Generation(), which, client, origin, wrapX, background.rgb()};
    if (!(key == key_) || image_.size() != client) Build(composer, key);
    painter.drawImage(dirty.topLeft(), image_, dirty);
}

void PanePicture::Build(const DisplayComposer& composer, const Key& key) {
    key_ = key;
    ++builds_;
    if (image_.size() != key.client || image_.format() != QImage::Format_RGB32)
        image_ = QImage(key.client, QImage::Format_RGB32);
    image_.fill(key.background);
    const auto which = static_cast<DisplayComposer::Picture>(key.which);
    const int pw = composer.Width(which), ph = composer.Height(which);
    if (pw <= 0 || ph <= 0 || key.client.isEmpty()) return;
    // The pane shows picture columns from origin.x and rows from origin.y; a negative
    // origin centres a small picture.
    const int cw = key.client.width(), ch = key.client.height();
    const int top = std::max(0, -key.origin.y());
    const int bottom = std::min(ch, ph - key.origin.y());
    auto draw = [&](int originX) {
        const int first = std::max(originX, 0);
        const int last = std::min(cw + originX, pw);
        if (first >= last || top >= bottom) return;
        const ImageBuffer part = composer.Render(which, first, top + key.origin.y(), last - first,
                                                 bottom - top);
        CopyToScreenImage(part, image_, QPoint(first - originX, top));
    };
    draw(key.origin.x());
    // A 360° panorama continues with its left end after its right end.
    if (key.wrapX) draw(-*key.wrapX);
}

}  // namespace duplora
