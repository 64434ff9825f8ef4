#include "app/edit/pair_overlay.h"

#include <climits>

#include "app/edit/text_overlay.h"
#include "core/image/convert.h"
#include "core/stereo/compose.h"

namespace duplora {

namespace {
int Negated(int depth) {
    return depth == INT_MIN ? INT_MAX : -depth;
}
}  // namespace

PairViews StampPair(const PairOverlayInput& input, int depth, const ViewStamp& stamp) {
    PairViews result;
    if (!input.first || !*input.first || !stamp) return result;
    if (!input.second || !*input.second) {
        result.first = stamp(*input.first, 0);
        result.ok = static_cast<bool>(result.first);
        return result;
    }
    CompositionInput composition;
    composition.first = input.first;
    composition.second = input.second;
    composition.dx = input.dx;
    composition.dy = input.dy;
    composition.panorama = input.panorama;
    const ImageBuffer pair =
        ComposeForOutput(composition, DisplayMode::SideBySide, input.dx, input.dy);
    if (!pair) return result;
    const int half = pair.Width() / 2, height = pair.Height();
    const ImageBuffer left = CropRect(pair, 0, 0, half, height);
    const ImageBuffer right = CropRect(pair, half, 0, 2 * half, height);
    if (!left || !right) return result;
    ImageBuffer first = stamp(left, 0);
    ImageBuffer second =
        first ? stamp(right, input.swapped ? Negated(depth) : depth) : ImageBuffer{};
    if (!first || !second) return result;
    result.first = std::move(first);
    result.second = std::move(second);
    result.ok = true;
    return result;
}

PairViews AddTextToPair(const PairOverlayInput& input, const Settings& settings) {
    const TextSet& set = settings.textSettings;
    return StampPair(input, set.depth, [&](const ImageBuffer& view, int depth) {
        return AddText(view, set, depth, settings.textFont);
    });
}

PairViews AddLogoToPair(const PairOverlayInput& input, const Settings& settings,
                        const CodecOptions& options) {
    if (!input.first || !*input.first) return {};
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
