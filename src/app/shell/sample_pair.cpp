#include "app/shell/sample_pair.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "app/image/qimage_bridge.h"

namespace duplora {

namespace {

// One view of the scene; `eye` is -1 for the left view and +1 for the right. Objects
// nearer than the window plane shift towards the nose, farther ones away from it.
QImage DrawView(int width, int height, int eye) {
    QImage view(width, height, QImage::Format_RGB32);
    QPainter p(&view);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = width / 640.0;
    auto shift = [&](double disparity) { return -eye * disparity * unit / 2.0; };

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(70, 120, 200));
    sky.setColorAt(0.6, QColor(190, 215, 240));
    sky.setColorAt(0.6001, QColor(90, 140, 70));
    sky.setColorAt(1.0, QColor(50, 95, 40));
    p.fillRect(view.rect(), sky);

    // Far hills, a tree in the middle distance, a sphere and a post up front.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 130, 150));
    QPolygonF hills;
    hills << QPointF(0, height * 0.6);
    for (int i = 0; i <= 8; ++i)
        hills << QPointF(width * i / 8.0 + shift(-6), height * (0.6 - 0.08 * ((i * 37) % 5) / 4.0));
    hills << QPointF(width, height * 0.6);
    p.drawPolygon(hills);

    const double treeX = width * 0.7 + shift(6);
    p.setBrush(QColor(100, 70, 40));
    p.drawRect(QRectF(treeX - 8 * unit, height * 0.45, 16 * unit, height * 0.2));
    p.setBrush(QColor(40, 110, 50));
    p.drawEllipse(QPointF(treeX, height * 0.42), 55 * unit, 70 * unit);

    const QPointF ball(width * 0.35 + shift(22), height * 0.62);
    QRadialGradient shade(ball + QPointF(-20 * unit, -25 * unit), 90 * unit);
    shade.setColorAt(0, QColor(255, 230, 200));
    shade.setColorAt(1, QColor(200, 40, 30));
    p.setBrush(shade);
    p.drawEllipse(ball, 70 * unit, 70 * unit);

    p.setBrush(QColor(230, 200, 60));
    p.drawRect(QRectF(width * 0.52 + shift(40), height * 0.55, 24 * unit, height * 0.45));
    p.end();
    return view;
}

}  // namespace

SamplePair MakeSamplePair(int width, int height) {
    SamplePair pair;
    pair.left = ImageBufferFromQImage(DrawView(width, height, -1));
    pair.right = ImageBufferFromQImage(DrawView(width, height, +1));
    return pair;
}

}  // namespace duplora
