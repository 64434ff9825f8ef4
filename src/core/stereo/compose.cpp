#include "core/stereo/compose.h"

#include "core/image/convert.h"
#include "core/stereo/combine.h"

namespace duplora {

namespace {
Result<ImageBuffer> MadeOrQuiet(ImageBuffer image) {
    if (!image) return Failure::Quiet();
    return image;
}
}  // namespace

Result<ImageBuffer> ComposeByCode(int code, const ImageBuffer& first, const ImageBuffer& second,
                                  const CommonArea& area, GreyAnaglyphPair pair,
                                  ColourAnaglyphKind kind, const AnaglyphTables& tables) {
    switch (code) {
        case 0:
        case 10:
            return ComposeSideBySide(first, second, area);
        case 1:
            return ComposeOverUnder(first, second, area);
        case 20:
            return MadeOrQuiet(ComposeInterlace(first, second, area));
        case 21:
            return MadeOrQuiet(ComposeGreyAnaglyph(first, second, area, pair, tables));
        case 22:
            return MadeOrQuiet(ComposeColourAnaglyph(first, second, area, kind, tables));
        default:
            return Failure::Quiet();
    }
}

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

Result<ImageBuffer> ComposeForOutput(const CompositionInput& input, int code, int dx, int dy) {
    if (!input.first || !*input.first) return Failure::Quiet();
    const ImageBuffer& first = *input.first;
    if (code == 25) return MadeOrQuiet(DuplicateTrueColour(first));
    if (!input.second || !*input.second) return Failure::Quiet();
    const ImageBuffer& second = *input.second;
    const AnaglyphTables tables = BuildAnaglyphTables(input.leftGamma, input.rightGamma);
    const int width = first.Width(), height = first.Height();
    const CommonArea area = ComputeCommonArea(width, height, dx, dy, input.panorama);
    if (!input.panorama)
        return ComposeByCode(code, first, second, area, input.greyPair, input.colourKind, tables);
    const ImageBuffer a = PrepareView(first, width, height, area, false, true);
    const ImageBuffer b = PrepareView(second, width, height, area, true, true);
    return ComposeByCode(code, a, b, CommonArea{}, input.greyPair, input.colourKind, tables);
}

}  // namespace duplora
