// Cutting the pair to a rectangle chosen in the view, scaling both views to a new size, and
// the arithmetic of the two size dialogs ("Umrechnung Bildgröße", "Freier Ausschnitt").
// The view shows the views cut to their common area, so a rectangle chosen there is in
// full-size pixels of the aligned pair; cutting both views by it leaves an aligned pair.
#pragma once

#include <QSize>

#include <optional>

#include "app/shell/stereo_document.h"
#include "app/stereo/selection.h"
#include "core/image/image_buffer.h"
#include "core/image/resample.h"

namespace duplora {

// The size of the pair after alignment as the view shows it: the common area of the
// offset, or the whole picture in panorama mode (the views wrap round there).
QSize AlignedSize(QSize view, int dx, int dy, bool panorama);

// The part of the rectangle (corners in any order) that lies within the aligned size; none
// when less than one pixel is left either way.
std::optional<SelectionRect> TrimArea(const SelectionRect& rect, QSize aligned);

// What a finished selection cuts.
struct TrimRequest {
    SelectionRect rect;  // full-size pixels of the aligned pair
    int dx = 0;
    int dy = 0;
    bool panorama = false;
    // Scale each cut to this size (a trim with the ratio of a preset); none keeps the cut.
    std::optional<QSize> scaleTo;
};

// One view cut to the request's rectangle: the left view with the common area's first
// margins, the right one (`second`) with the second margins. Empty when the rectangle
// leaves nothing of the pair or a picture cannot be made.
ImageBuffer TrimView(const ImageBuffer& view, QSize leftSize, const TrimRequest& request,
                     bool second);

// Both views cut (a missing right view stays missing, as in single-picture mode). The pair
// is aligned afterwards, so the offset becomes 0, 0 and the view starts at its top-left;
// the zoom of `current` is kept. Empty pictures when the rectangle leaves nothing.
EditedPair TrimPair(const ImageBuffer& left, const ImageBuffer& right, const TrimRequest& request,
                    const ViewState& current);

// ---- "Umrechnung Bildgröße" ---------------------------------------------------------------

// The values of the resize dialog, kept for its next opening.
struct ResizeChoice {
    int width = 0;   // X (1274)
    int height = 0;  // Y (1300)
    AspectMode aspect = AspectMode::KeepRatio;
    bool recompute = true;  // "neu berechnen" (1303)
    bool operator==(const ResizeChoice&) const = default;
};

// While the ratio is kept, an edited X gives Y = (reference height × X) / reference width
// and an edited Y gives X = (reference width × Y) / reference height. The result is kept
// within 0 … kMaxResizeSide; a reference with a zero side leaves the other value as it is.
inline constexpr int kMaxResizeSide = 65535;
int KeepRatioHeight(int width, QSize reference, int otherwise);
int KeepRatioWidth(int height, QSize reference, int otherwise);

// An aspect radio button was chosen: the mode is stored and X read again; with the
// recompute flag as stored when the dialog opened, an X beyond the reference width is set
// back to it; while the ratio is kept, Y follows X.
ResizeChoice AspectChosen(ResizeChoice shown, AspectMode mode, bool storedRecompute,
                          QSize reference);

// Both views scaled as the dialog asks, after cutting them to their common area. The pair
// is aligned afterwards, so the offset becomes 0, 0. Empty pictures when the sizes do not
// work out.
// A failure with a message when a frame could not be made; the pair is then left alone.
Result<EditedPair> ResizePair(const ImageBuffer& left, const ImageBuffer& right, int dx, int dy,
                              bool panorama, const ResizeChoice& choice, const ViewState& current,
                              const Progress& progress = NoProgress());

}  // namespace duplora
