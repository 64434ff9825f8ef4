#include "core/image/convert.h"

namespace duplora {

// Placeholders until the depth conversions land.
ImageBuffer ToTrueColour(const ImageBuffer&) { return {}; }
ImageBuffer CropRect(const ImageBuffer&, int, int, int, int) { return {}; }
ImageBuffer CentreOnCanvas(const ImageBuffer&, int, int) { return {}; }
ImageBuffer CropMargins(const ImageBuffer&, int, int, int, int, bool) { return {}; }
ImageBuffer ScaleToTrueColourGdi(const ImageBuffer&, int, int, int, int, int, int, bool) {
    return {};
}
ImageBuffer WrapView(const ImageBuffer&, int, int, int, int, int, int, bool) { return {}; }

}  // namespace duplora
