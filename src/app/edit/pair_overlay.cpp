#include "app/edit/pair_overlay.h"

#include <climits>
#include <utility>

#include "app/edit/text_overlay.h"
#include "core/image/convert.h"
#include "core/stereo/compose.h"

namespace duplora {

namespace {
int Negated(int depth) {
    return depth == INT_MIN ? INT_MAX : -depth;
}
}  // namespace

Result<PairViews> StampPair(const PairOverlayInput& input, int depth, const ViewStamp& stamp) {
    if (!input.first || !*input.first || !stamp) return Failure::Quiet();
    if (!input.second || !*input.second) {
        Result<ImageBuffer> single = stamp(*input.first, 0);
        if (!single) return std::move(single).Error();
        return PairViews{std::move(single).Value(), {}};
    }
    CompositionInput composition;
    composition.first = input.first;
    composition.second = input.second;
    composition.dx = input.dx;
    composition.dy = input.dy;
    composition.panorama = input.panorama;
    Result<ImageBuffer> composed =
        ComposeForOutput(composition, DisplayMode::SideBySide, input.dx, input.dy);
    if (!composed) return std::move(composed).Error();
    const ImageBuffer& pair = composed.Value();
    const int half = pair.Width() / 2, height = pair.Height();
    const ImageBuffer left = CropRect(pair, 0, 0, half, height);
    const ImageBuffer right = CropRect(pair, half, 0, 2 * half, height);
    if (!left || !right) return Failure::Quiet();
    Result<ImageBuffer> first = stamp(left, 0);
    if (!first) return std::move(first).Error();
    Result<ImageBuffer> second = stamp(right, input.swapped ? Negated(depth) : depth);
    if (!second) return std::move(second).Error();
    return PairViews{std::move(first).Value(), std::move(second).Value()};
}

Result<PairViews> AddTextToPair(const PairOverlayInput& input, const Settings& settings) {
    const TextSet& set = settings.textSettings;
    return StampPair(input, set.depth, [&](const ImageBuffer& view, int depth) {
        return AddText(view, set, depth, settings.textFont);
    });
}

Result<PairViews> AddLogoToPair(const PairOverlayInput& input, const Settings& settings,
                                const CodecOptions& options) {
    if (!input.first || !*input.first) return Failure::Quiet();
    const LogoSet& set = settings.logoSettings;
    const LogoPicture logo = LoadLogo(set.file, options);
    return StampPair(input, set.depth, [&](const ImageBuffer& view, int depth) {
        return AddLogo(view, logo.image, LogoStampFor(set, depth));
    });
}

LogoStamp LogoStampFor(const LogoSet& set, int depth) {
    LogoStamp stamp;
    stamp.placement = {set.corner, set.xDistance, set.yDistance, depth};
    stamp.band = {set.band ? set.bandHeight : 0, set.bandColour};
    stamp.transparent = set.transparent != 0;
    stamp.transparentColour = set.transparentColour;
    return stamp;
}

}  // namespace duplora
