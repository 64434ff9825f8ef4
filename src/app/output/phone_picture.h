// The picture for a phone: a rectangle drawn over the pair, each view's part squeezed to the
// phone's view size and sharpened, so that the two side by side fill the phone's screen.
#pragma once

#include <QSize>

#include "app/shell/stereo_document.h"
#include "app/stereo/selection.h"
#include "core/image/image_buffer.h"

namespace duplora {

// One view on the phone: 120 × 320 for the `Docomo` setting 1, else 88 × 220.
QSize PhoneViewSize(int docomoSetting);

// The sharpening of the phone's views (SharpenImage's divisor).
inline constexpr int kPhoneSharpenDivisor = 20;

// Both views cut to `rect` (full-size pixels of the aligned pair as the view shows it, for
// the offset dx, dy), scaled to `viewSize` and sharpened. The new pair is aligned: offset
// 0, 0, zoom 100 %, scrolled to its top-left. Empty pictures when the rectangle leaves
// nothing of the pair.
EditedPair MakePhonePair(const ImageBuffer& left, const ImageBuffer& right,
                         const SelectionRect& rect, int dx, int dy, QSize viewSize);

}  // namespace duplora
