#include "gui/stereo/pane_picture.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>

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
    if (!(key == key_) || image_.size() != client) {
        if (!Shift(composer, key)) Build(composer, key);
    }
    painter.drawImage(dirty.topLeft(), image_, dirty);
}

void PanePicture::Build(const DisplayComposer& composer, const Key& key) {
    key_ = key;
    ++builds_;
    const int cw = std::max(key.client.width(), 0), ch = std::max(key.client.height(), 0);
    const std::size_t size = static_cast<std::size_t>(cw) * ch;
    if (storage_.size() < size) storage_.resize(size);
    image_ =
        QImage(reinterpret_cast<uchar*>(storage_.data()), cw, ch, cw * 4, QImage::Format_RGB32);
    Draw(composer, QRect(0, 0, cw, ch), key.origin.x());
    // A 360° panorama continues with its left end after its right end.
    if (key.wrapX) Draw(composer, QRect(0, 0, cw, ch), -*key.wrapX, false);
}

bool PanePicture::Shift(const DisplayComposer& composer, const Key& key) {
    // Only a scroll of the same picture in the same pane: what stays visible moves, and
    // only the strips that come into view are made.
    Key same = key;
    same.origin = key_.origin;
    if (builds_ == 0 || !(same == key_) || key.wrapX || key_.wrapX) return false;
    const int cw = key.client.width(), ch = key.client.height();
    const int dx = key.origin.x() - key_.origin.x();
    const int dy = key.origin.y() - key_.origin.y();
    if (std::abs(dx) >= cw || std::abs(dy) >= ch || image_.size() != key.client) return false;
    key_ = key;
    ++builds_;
    std::uint32_t* pixels = storage_.data();
    // Pane pixel (x, y) now shows what (x + dx, y + dy) showed.
    const int x0 = std::max(0, -dx), x1 = std::min(cw, cw - dx);
    const std::size_t bytes = static_cast<std::size_t>(x1 - x0) * 4;
    auto move = [&](int y) {
        std::memmove(pixels + static_cast<std::ptrdiff_t>(y) * cw + x0,
                     pixels + static_cast<std::ptrdiff_t>(y + dy) * cw + x0 + dx, bytes);
    };
    const int y0 = std::max(0, -dy), y1 = std::min(ch, ch - dy);
    if (dy > 0) {
        for (int y = y0; y < y1; ++y) move(y);
    } else {
        for (int y = y1 - 1; y >= y0; --y) move(y);
    }
    if (dy > 0) Draw(composer, QRect(0, y1, cw, ch - y1), key.origin.x());
    if (dy < 0) Draw(composer, QRect(0, 0, cw, y0), key.origin.x());
    if (dx > 0) Draw(composer, QRect(x1, y0, cw - x1, y1 - y0), key.origin.x());
    if (dx < 0) Draw(composer, QRect(0, y0, x0, y1 - y0), key.origin.x());
    return true;
}

void PanePicture::Draw(const DisplayComposer& composer, const QRect& area, int originX,
                       bool background) {
    const int cw = image_.width(), ch = image_.height();
    const QRect target = area & QRect(0, 0, cw, ch);
    if (target.isEmpty()) return;
    std::uint32_t* pixels = storage_.data();
    if (background) {
        for (int y = target.top(); y <= target.bottom(); ++y)
            std::fill_n(pixels + static_cast<std::ptrdiff_t>(y) * cw + target.left(),
                        target.width(), key_.background);
    }
    const auto which = static_cast<DisplayComposer::Picture>(key_.which);
    const int pw = composer.Width(which), ph = composer.Height(which);
    // The pane shows picture columns from originX and rows from origin.y; a negative origin
    // centres a small picture.
    const QRect shown = target & QRect(-originX, -key_.origin.y(), pw, ph);
    if (shown.isEmpty()) return;
    // Bands of rows converted while they are still in the cache.
    composer.RenderBands(
        which, shown.left() + originX, shown.top() + key_.origin.y(), shown.width(), shown.height(),
        kBandRows, [&](const ImageBuffer& band, int firstRow) {
            CopyToScreenPixels(band, pixels, cw, ch, cw, shown.left(), shown.top() + firstRow);
        });
}

}  // namespace duplora
