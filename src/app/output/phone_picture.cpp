#include "app/output/phone_picture.h"

#include "app/image/trim_resize.h"
#include "core/image/filter.h"

namespace duplora {

QSize PhoneViewSize(int docomoSetting) {
    return docomoSetting == 1 ? QSize(120, 320) : QSize(88, 220);
}

EditedPair MakePhonePair(const ImageBuffer& left, const ImageBuffer& right,
                         const SelectionRect& rect, int dx, int dy, QSize viewSize) {
    EditedPair pair;
    if (!left || !right || viewSize.isEmpty()) return pair;
    TrimRequest request;
    request.rect = rect;
    request.dx = dx;
    request.dy = dy;
    request.scaleTo = viewSize;
    const QSize size(left.Width(), left.Height());
    const ImageBuffer cutLeft = TrimView(left, size, request, false);
    const ImageBuffer cutRight = cutLeft ? TrimView(right, size, request, true) : ImageBuffer();
    if (!cutLeft || !cutRight) return pair;
    pair.left = SharpenImage(cutLeft, kPhoneSharpenDivisor);
    pair.right = SharpenImage(cutRight, kPhoneSharpenDivisor);
    if (!pair.left || !pair.right) return EditedPair{};
    pair.view = ViewState{};
    return pair;
}

}  // namespace duplora
