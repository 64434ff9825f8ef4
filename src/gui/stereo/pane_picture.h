// What one pane shows, ready for the screen: the visible part of its display picture
// converted once to the screen's 32-bit format, over the background. Every paint draws from
// it; it is made anew only when the composition, the pane's size or the background changed,
// and a scroll moves it and makes only the strips that come into view. So a paint never
// converts more than the pane shows, and a repaint of the same view converts nothing.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/stereo/display_composer.h"

class QPainter;

namespace duplora {

class PanePicture {
  public:
    // Paints the part `dirty` (pane coordinates) of picture `which` as the pane of size
    // `client` shows it: its top-left at picture position `origin`, and, when `wrapX` is set
    // (panorama), the picture's start again from pane column *wrapX on.
    void Paint(QPainter& painter, const QRect& dirty, const DisplayComposer& composer,
               DisplayComposer::Picture which, QSize client, QPoint origin,
               std::optional<int> wrapX, QColor background);

    // The pane's picture as last made (for tests).
    const QImage& Image() const { return image_; }
    // How many times it was made.
    int Builds() const { return builds_; }

  private:
    struct Key {
        std::uint64_t generation = 0;
        int which = -1;
        QSize client;
        QPoint origin;
        std::optional<int> wrapX;
        QRgb background = 0;
        bool operator==(const Key&) const = default;
    };
    void Build(const DisplayComposer& composer, const Key& key);
    // Moves the picture made for the previous key when only the origin changed; false
    // where it cannot.
    bool Shift(const DisplayComposer& composer, const Key& key);
    // Makes `area` of the pane (background, and the picture with its left edge at pane
    // column −originX) for the current key.
    void Draw(const DisplayComposer& composer, const QRect& area, int originX,
              bool background = true);

    Key key_;
    // The pixels live in `storage_`, which only grows: a pane that changes size does not
    // take fresh memory (and its page faults) for every new size.
    std::vector<std::uint32_t> storage_;
    QImage image_;
    int builds_ = 0;
};

// Copies a 24-bit picture (blue, green, red) into 32-bit pixels 0xFFRRGGBB at column x,
// row y of `target` (`width` × `height` pixels, rows `stride` pixels apart); the part
// outside the target is left out.
void CopyToScreenPixels(const ImageBuffer& picture, std::uint32_t* target, int width, int height,
                        std::ptrdiff_t stride, int x, int y);

}  // namespace duplora
