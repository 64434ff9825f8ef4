// The output composer: one picture of the pair in a display mode, for saving, batch
// conversion and printing.
#pragma once

#include <string>

#include "core/image/convert.h"
#include "core/image/image_buffer.h"
#include "core/stereo/anaglyph_tables.h"
#include "core/stereo/common_area.h"
#include "core/stereo/display_mode.h"
#include "core/util/result.h"

namespace duplora {

// What the composers need to know of the open pair. The first view is always the left
// one: swapping exchanges the views and negates the offset before it gets here.
struct CompositionInput {
    const ImageBuffer* first = nullptr;
    const ImageBuffer* second = nullptr;
    int dx = 0;  // alignment offset in full-size pixels
    int dy = 0;
    int zoomPercent = 100;
    DisplayMode mode = DisplayMode::SideBySide;
    GreyAnaglyphPair greyPair = GreyAnaglyphPair::RedCyan;
    ColourAnaglyphKind colourKind = ColourAnaglyphKind::ColourRedCyan;
    int leftGamma = 100;  // anaglyph gammas in hundredths
    int rightGamma = 100;
    bool panorama = false;  // 360° views wrap around instead of being cropped
};

// The full-size picture of the mode (its row's composition) for the offset (dx, dy). In
// panorama mode both views are wrapped to the first view's size at their margins and
// combined whole. A quiet failure for a mode that is not in the table or views the mode
// cannot combine; CannotCreateImage when the side-by-side or over/under picture cannot be
// made. The result belongs to the caller.
Result<ImageBuffer> ComposeForOutput(const CompositionInput& input, DisplayMode mode, int dx,
                                     int dy);

// The view prepared for display or output at reference size refWidth × refHeight with the
// margins of `area`: cropped and scaled, or wrapped around in panorama mode.
ImageBuffer PrepareView(const ImageBuffer& view, int refWidth, int refHeight,
                        const CommonArea& area, bool second, bool panorama);

// The source pixels PrepareView reads (see ViewWalk); false where it gives no picture.
bool PrepareViewWalk(const ImageBuffer& view, int refWidth, int refHeight, const CommonArea& area,
                     bool second, bool panorama, ViewWalk& walk);

}  // namespace duplora
