#include "core/stereo/compose.h"

#include "core/image/convert.h"
#include "core/stereo/display_modes.h"

namespace duplora {

bool PrepareViewWalk(const ImageBuffer& view, int refWidth, int refHeight, const CommonArea& area,
                     bool second, bool panorama, ViewWalk& walk) {
    walk = {};
    if (!view) return false;
    if (!panorama)
        return CropScaleWalk(view, refWidth, refHeight, area.secondX, area.secondY, area.firstX,
                             area.firstY, second, walk);
    // A 360° view repeats every full turn; wrapping the start column into the picture keeps
    // any offset, however many turns, inside it.
    CommonArea wrapped = area;
    const int width = view.Width(), height = view.Height();
    if (width <= 0 || height <= 0) return false;
    wrapped.secondX %= width;
    wrapped.firstX %= width;
    wrapped.secondY %= height;
    wrapped.firstY %= height;
    return WrapWalk(view, refWidth, refHeight, wrapped.secondX, wrapped.secondY, wrapped.firstX,
                    wrapped.firstY, second, walk);
}

ImageBuffer PrepareView(const ImageBuffer& view, int refWidth, int refHeight,
                        const CommonArea& area, bool second, bool panorama) {
    if (!view) return {};
    if (!panorama)
        return CropScaleView(view, refWidth, refHeight, area.secondX, area.secondY, area.firstX,
                             area.firstY, second);
    // A 360° view repeats every full turn; wrapping the start column into the picture keeps
    // any offset, however many turns, inside it.
    CommonArea wrapped = area;
    const int width = view.Width(), height = view.Height();
    if (width <= 0 || height <= 0) return {};
    wrapped.secondX %= width;
    wrapped.firstX %= width;
    wrapped.secondY %= height;
    wrapped.firstY %= height;
    return WrapView(view, refWidth, refHeight, wrapped.secondX, wrapped.secondY, wrapped.firstX,
                    wrapped.firstY, second);
}

Result<ImageBuffer> ComposeForOutput(const CompositionInput& input, DisplayMode mode, int dx,
                                     int dy) {
    const DisplayModeRow* row = FindDisplayMode(mode);
    if (!row || !input.first || !*input.first) return Failure::Quiet();
    const ImageBuffer& first = *input.first;
    static const ImageBuffer kNoView;
    const ImageBuffer& second = input.second ? *input.second : kNoView;
    AnaglyphChoice anaglyph{input.greyPair, input.colourKind, {}};
    if (!row->needsSecondView) return row->compose(first, second, CommonArea{}, anaglyph);
    if (!second) return Failure::Quiet();
    anaglyph.tables = BuildAnaglyphTables(input.leftGamma, input.rightGamma);
    const int width = first.Width(), height = first.Height();
    const CommonArea area = ComputeCommonArea(width, height, dx, dy, input.panorama);
    if (!input.panorama) return row->compose(first, second, area, anaglyph);
    const ImageBuffer a = PrepareView(first, width, height, area, false, true);
    const ImageBuffer b = PrepareView(second, width, height, area, true, true);
    return row->compose(a, b, CommonArea{}, anaglyph);
}

}  // namespace duplora
