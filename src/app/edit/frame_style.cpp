#include "app/edit/frame_style.h"

namespace duplora {

namespace {
FrameStyle Style(const BorderSet& b, int outer, int middle, int inner) {
    FrameStyle s;
    s.outer = outer;
    s.middle = middle;
    s.inner = inner;
    s.outerColour = b.outerColour;
    s.middleColour = b.middleColour;
    s.innerColour = b.innerColour;
    s.roundCorners = b.roundCorners != 0;
    return s;
}
}  // namespace

FrameStyle PrintFrameStyle(const BorderSet& b) {
    return Style(b, b.outerPrint, b.middlePrint, b.innerPrint);
}

FrameStyle DisplayFrameStyle(const BorderSet& b) {
    return Style(b, b.outerDisplay, b.middleDisplay, b.innerDisplay);
}

Result<ImageBuffer> AddBorder(const ImageBuffer& picture, DisplayMode mode,
                              const BorderSet& border) {
    return AddBorder(picture, mode, PrintFrameStyle(border));
}

ImageBuffer FrameWhenShown(ImageBuffer picture, DisplayMode mode, const BorderSet& border,
                           Warnings* warnings) {
    if (!border.show || !picture) return picture;
    Result<ImageBuffer> framed = AddBorder(picture, mode, border);
    if (framed) return std::move(framed).Value();
    if (warnings) warnings->push_back(framed.Error());
    return picture;
}

}  // namespace duplora
