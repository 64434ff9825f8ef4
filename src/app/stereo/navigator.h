// The navigator: a thumbnail of the shown picture with the visible part outlined, which the
// user drags to scroll the view.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace duplora {

// The thumbnail size: the picture fitted into a square of the client area's longer side.
// Empty for an empty picture or client area.
QSize NavigatorThumbnailSize(QSize picture, QSize client);

// Where the thumbnail sits in the client area: centred.
QPoint NavigatorThumbnailOffset(QSize thumbnail, QSize client);

// The outline of the visible part of the view on the thumbnail.
QRect NavigatorFrame(QPoint scroll, QSize paneClient, QSize picture, QSize thumbnail,
                     QPoint offset);

// A drag on the thumbnail: the view scrolls by the mouse's way scaled from thumbnail to
// picture pixels, measured from where the button went down so that no rounding adds up.
class NavigatorDrag {
  public:
    NavigatorDrag(QPoint pressPoint, QPoint scrollAtPress)
        : press_(pressPoint), scroll_(scrollAtPress) {}
    // The scroll position for the mouse at `point`, clamped to 0 … maximum.
    QPoint ScrollFor(QPoint point, QSize picture, QSize thumbnail, QPoint maximum) const;

  private:
    QPoint press_;
    QPoint scroll_;
};

}  // namespace duplora
