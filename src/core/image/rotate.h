// Quarter turns of a picture in its own depth.
#pragma once

#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

inline constexpr int kRotateClockwise = 1;         // "nach rechts drehen"
inline constexpr int kRotateCounterClockwise = 0;  // "nach links drehen" (any value but 1)

// The picture turned by 90°, clockwise for direction 1 and counter-clockwise for any
// other value: width and height exchange, clockwise (x, y) goes to (height − 1 − y, x)
// top-down. 1-, 4-, 8- and 24-bit pictures keep their depth and colour table. Reports
// writing progress by row bands. Empty for no picture or another depth, and when `progress`
// is cancelled.
ImageBuffer RotateQuarter(const ImageBuffer& image, int direction,
                          const Progress& progress = NoProgress());

}  // namespace duplora
