#include "app/stereo/navigator.h"

#include <algorithm>
#include <cstdint>

namespace duplora {

QSize NavigatorThumbnailSize(QSize picture, QSize client) {
    const std::int64_t pw = picture.width();
    const std::int64_t ph = picture.height();
    const std::int64_t m = std::max(client.width(), client.height());
    if (pw <= 0 || ph <= 0 || m <= 0) return {0, 0};
    std::int64_t tw = m;
    std::int64_t th = ph * m / pw;
    if (th > m) {
        tw = pw * m / ph;
        th = m;
    }
    return {static_cast<int>(tw), static_cast<int>(th)};
}

QPoint NavigatorThumbnailOffset(QSize thumbnail, QSize client) {
    return {(client.width() - thumbnail.width()) / 2, (client.height() - thumbnail.height()) / 2};
}

QRect NavigatorFrame(QPoint scroll, QSize paneClient, QSize picture, QSize thumbnail,
                     QPoint offset) {
    const std::int64_t pw = picture.width();
    const std::int64_t ph = picture.height();
    if (pw <= 0 || ph <= 0) return {};
    const std::int64_t tw = thumbnail.width();
    const std::int64_t th = thumbnail.height();
    return QRect(static_cast<int>(scroll.x() * tw / pw) + offset.x(),
                 static_cast<int>(scroll.y() * th / ph) + offset.y(),
                 static_cast<int>(paneClient.width() * tw / pw),
                 static_cast<int>(paneClient.height() * th / ph));
}

QPoint NavigatorDrag::ScrollFor(QPoint point, QSize picture, QSize thumbnail,
                                QPoint maximum) const {
    auto one = [](int scroll, int from, int to, int pictureLength, int thumbLength, int max) {
        if (thumbLength <= 0) return std::clamp(scroll, 0, std::max(0, max));
        const std::int64_t moved = std::int64_t{to - from} * pictureLength / thumbLength;
        return static_cast<int>(std::clamp<std::int64_t>(scroll + moved, 0, std::max(0, max)));
    };
    return {
        one(scroll_.x(), press_.x(), point.x(), picture.width(), thumbnail.width(), maximum.x()),
        one(scroll_.y(), press_.y(), point.y(), picture.height(), thumbnail.height(), maximum.y())};
}

}  // namespace duplora
