#include "gui/stereo/pane_picture.h"

#include <QPainter>

#include <algorithm>

namespace duplora {

namespace {
constexpr int kBandRows = 32;
}  // namespace

void CopyToScreenPixels(const ImageBuffer& picture, std::uint32_t* target, int width, int height,
                        std::ptrdiff_t stride, int x, int y) {
    if (!picture || picture.BitCount() != 24 || !target) return;
    const int x0 = std::max(x, 0);
    const int x1 = std::min(x + picture.Width(), width);
    const int y0 = std::max(y, 0);
    const int y1 = std::min(y + picture.Height(), height);
    if (x0 >= x1 || y0 >= y1) return;
    const int n = x1 - x0;
    for (int row = y0; row < y1; ++row) {
        const std::uint8_t* s = picture.Line(row - y) + 3 * (x0 - x);
        std::uint32_t* d = target + row * stride + x0;
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
    const int cw = std::max(key.client.width(), 0), ch = std::max(key.client.height(), 0);
    const std::size_t size = static_cast<std::size_t>(cw) * ch;
    if (storage_.size() < size) storage_.resize(size);
    std::uint32_t* pixels = storage_.data();
    image_ = QImage(reinterpret_cast<uchar*>(pixels), cw, ch, cw * 4, QImage::Format_RGB32);
    image_.fill(key.background);
    const auto which = static_cast<DisplayComposer::Picture>(key.which);
    const int pw = composer.Width(which), ph = composer.Height(which);
    if (pw <= 0 || ph <= 0 || size == 0) return;
    // The pane shows picture columns from origin.x and rows from origin.y; a negative
    // origin centres a small picture.
    const int top = std::max(0, -key.origin.y());
    const int bottom = std::min(ch, ph - key.origin.y());
    auto draw = [&](int originX) {
        const int first = std::max(originX, 0);
        const int last = std::min(cw + originX, pw);
        if (first >= last || top >= bottom) return;
        // Bands of rows converted while they are still in the cache.
        composer.RenderBands(which, first, top + key.origin.y(), last - first, bottom - top,
                             kBandRows, [&](const ImageBuffer& band, int firstRow) {
                                 CopyToScreenPixels(band, pixels, cw, ch, cw, first - originX,
                                                    top + firstRow);
                             });
    };
    draw(key.origin.x());
    // A 360° panorama continues with its left end after its right end.
    if (key.wrapX) draw(-*key.wrapX);
}

}  // namespace duplora
