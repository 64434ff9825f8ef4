#include "app/image/qimage_bridge.h"

namespace duplora {

ImageBuffer ImageBufferFromQImage(const QImage& source) {
    if (source.isNull() || !ImageSizeAllowed(source.width(), source.height())) return {};
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    ImageBuffer image = CreateImageForOverwrite(rgb.width(), rgb.height(), 24);
    if (!image) return image;
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* src = rgb.constScanLine(y);
        std::uint8_t* dst = image.Line(y);
        for (int x = 0; x < rgb.width(); ++x) {
            dst[x * 3] = src[x * 3 + 2];
            dst[x * 3 + 1] = src[x * 3 + 1];
            dst[x * 3 + 2] = src[x * 3];
        }
    }
    return image;
}

QImage QImageFromImageBuffer(const ImageBuffer& image) {
    if (!image) return {};
    const int width = image.Width(), height = image.Height(), bits = image.BitCount();
    QImage out(width, height, QImage::Format_RGB888);
    if (out.isNull()) return out;
    const std::uint8_t* table = image.ColourTable();
    const int entries = image.ColourCount();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = image.Line(y);
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            int b, g, r;
            if (bits == 24) {
                b = src[x * 3], g = src[x * 3 + 1], r = src[x * 3 + 2];
            } else {
                int index = 0;
                if (bits == 8) index = src[x];
                else if (bits == 4) index = (x & 1) ? (src[x / 2] & 0xF) : (src[x / 2] >> 4);
                else if (bits == 1) index = (src[x / 8] >> (7 - (x & 7))) & 1;
                if (index >= entries) index = 0;
                b = table[index * 4], g = table[index * 4 + 1], r = table[index * 4 + 2];
            }
            dst[x * 3] = static_cast<uchar>(r);
            dst[x * 3 + 1] = static_cast<uchar>(g);
            dst[x * 3 + 2] = static_cast<uchar>(b);
        }
    }
    return out;
}

}  // namespace duplora
