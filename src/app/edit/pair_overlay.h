// Stamping text or a logo into the open pair: both views get the overlay, the right one
// shifted by the depth so the overlay floats in front of or behind the picture.
#pragma once

#include <functional>

#include "app/shell/settings.h"
#include "core/edit/logo.h"
#include "core/formats/codec_options.h"
#include "core/image/image_buffer.h"

namespace duplora {

struct PairOverlayInput {
    const ImageBuffer* first = nullptr;   // the left view as the document holds it
    const ImageBuffer* second = nullptr;  // null or empty when a single picture is shown
    int dx = 0;                           // alignment offset, full-size pixels
    int dy = 0;
    bool panorama = false;
    bool swapped = false;  // the views are shown swapped: the depth works the other way
};

// The new views; `second` is empty for a single picture. When the overlay cannot be made
// the result is a failure and the document keeps its views.
struct PairViews {
    ImageBuffer first;
    ImageBuffer second;
};

// Draws an overlay on one view with a depth.
using ViewStamp = std::function<Result<ImageBuffer>(const ImageBuffer& view, int depth)>;

// The pair composed side by side with its alignment offset, cut into its two halves (left
// half from column 0, right half from column W / 2, each W / 2 wide), the left half stamped
// with depth 0 and the right half with `depth` (negated while swapped). A single picture is
// stamped with depth 0. Taking the undo snapshot is the caller's part.
Result<PairViews> StampPair(const PairOverlayInput& input, int depth, const ViewStamp& stamp);

// The text of settings.textSettings in the font settings.textFont.
Result<PairViews> AddTextToPair(const PairOverlayInput& input, const Settings& settings);

// The logo of settings.logoSettings, read once for both views (the built-in logo when the file
// cannot be read).
Result<PairViews> AddLogoToPair(const PairOverlayInput& input, const Settings& settings,
                                const CodecOptions& options);

// The logo stamp of the stored logo settings with the given depth.
LogoStamp LogoStampFor(const LogoSet& set, int depth);

}  // namespace duplora
