#include "gui/shell/toolbar_icons.h"

#include <QPainter>
#include <QSvgRenderer>

#include "app/shell/menu_rules.h"

namespace duplora {

namespace {

bool InRange(int index) {
    return index >= 0 && index < kToolbarPictureCount;
}

}  // namespace

QString ToolbarPicturePath(int index) {
    return QStringLiteral(":/icons/toolbar/%1.svg").arg(index, 2, 10, QLatin1Char('0'));
}

QImage ToolbarPicture(int index, int scale) {
    if (!InRange(index) || scale < 1) return {};
    QImage image(kToolbarPictureWidth * scale, kToolbarPictureHeight * scale,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(ToolbarPicturePath(index));
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QImage ToolbarStrip() {
    QImage strip(kToolbarPictureWidth * kToolbarPictureCount, kToolbarPictureHeight,
                 QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter painter(&strip);
    for (int i = 0; i < kToolbarPictureCount; ++i)
        painter.drawImage(i * kToolbarPictureWidth, 0, ToolbarPicture(i));
    return strip;
}

QIcon ToolbarIcon(int index) {
    return InRange(index) ? QIcon(ToolbarPicturePath(index)) : QIcon();
}

QIcon ProgramIcon() {
    return QIcon(QStringLiteral(":/icons/org.duplora.Duplora.svg"));
}

}  // namespace duplora
