// The adjustment dialog's live red/cyan preview: grey copies of the two views no larger than
// the preview (or the views themselves at 100 %), each view's corrected copy kept until its
// own values, the lens or its base change, and the composition for the position values and the
// view mode. Moving a position slot only composes again.
#pragma once

#include <array>

#include "app/align/adjustment.h"
#include "core/align/preview.h"
#include "core/image/image_buffer.h"

namespace duplora {

class AdjustmentPreview {
  public:
    // The views are not owned and must outlive the preview.
    void SetViews(const ImageBuffer* left, const ImageBuffer* right);

    // Fits the preview into a control of width × height (fit mode), or shows the views at
    // 1:1 (full size), and builds the grey bases again.
    // The edge view reports its progress in tens of percent.
    void Layout(int controlWidth, int controlHeight, bool fullSize, bool edges,
                const EdgeViewProgress& progress = {});
    // Builds the grey bases again at the present size (drops burned-in guide lines).
    void RebuildBases(const EdgeViewProgress& progress = {});

    bool FullSize() const { return fullSize_; }
    int PreviewWidth() const { return pw_; }
    int PreviewHeight() const { return ph_; }
    int Zoom() const { return zoom_; }

    // The picture for the values and view mode (0 both, 1 left, 2 right), corrected views
    // recomputed only where their values changed since the last time.
    const PreviewComposition& Compose(const AdjustmentSlots& values, int mode, int halfFieldOfView);
    const PreviewComposition& Last() const { return composed_; }
    // The shift the last composition used, in preview pixels.
    int ComposedDx() const { return dx_; }
    int ComposedDy() const { return dy_; }

    // A view's grey base, to burn a guide line into; call BaseChanged afterwards.
    ImageBuffer& Base(bool right) { return views_[right ? 1 : 0].base; }
    void BaseChanged(bool right) { views_[right ? 1 : 0].made.valid = false; }

    // How often the corrected views were computed (for tests and measurements).
    int Corrections() const { return corrections_; }

  private:
    struct Made {
        bool valid = false;
        CorrectionSet set;
        int halfFieldOfView = 0;
        bool nearest = false;
        friend bool operator==(const Made&, const Made&) = default;
    };
    struct View {
        const ImageBuffer* source = nullptr;
        ImageBuffer base;
        ImageBuffer corrected;
        Made made;
    };
    void Correct(View& view, const CorrectionSet& set, int halfFieldOfView);

    std::array<View, 2> views_;
    bool fullSize_ = false;
    bool edges_ = false;
    int pw_ = 0, ph_ = 0, zoom_ = 100;
    int dx_ = 0, dy_ = 0;
    PreviewComposition composed_;
    int corrections_ = 0;
};

}  // namespace duplora
