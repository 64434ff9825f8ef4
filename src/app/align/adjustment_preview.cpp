#include "app/align/adjustment_preview.h"

#include <algorithm>

#include "core/align/correction.h"
#include "core/image/convert.h"
#include "core/image/resample.h"

namespace duplora {

void AdjustmentPreview::SetViews(const ImageBuffer* left, const ImageBuffer* right) {
    views_[0].source = left;
    views_[1].source = right;
}

void AdjustmentPreview::Layout(int controlWidth, int controlHeight, bool fullSize, bool edges,
                               const EdgeViewProgress& progress) {
    fullSize_ = fullSize;
    edges_ = edges;
    const ImageBuffer* left = views_[0].source;
    const int w = left ? left->Width() : 0, h = left ? left->Height() : 0;
    pw_ = ph_ = 0;
    zoom_ = 100;
    if (w > 0 && h > 0) {
        if (fullSize) {
            pw_ = w;
            ph_ = h;
        } else if (controlWidth > 0 && controlHeight > 0) {
            pw_ = controlWidth;
            ph_ = static_cast<int>(static_cast<long long>(pw_) * h / w);
            zoom_ = static_cast<int>(static_cast<long long>(pw_) * 100 / w);
            if (ph_ > controlHeight) {
                ph_ = controlHeight;
                pw_ = static_cast<int>(static_cast<long long>(ph_) * w / h);
                zoom_ = static_cast<int>(static_cast<long long>(ph_) * 100 / h);
            }
        }
    }
    RebuildBases(progress);
}

void AdjustmentPreview::RebuildBases(const EdgeViewProgress& progress) {
    for (View& view : views_) {
        view.base = {};
        view.corrected = {};
        view.made.valid = false;
        if (!view.source || !*view.source || pw_ <= 0 || ph_ <= 0) continue;
        ImageBuffer holder;
        const ImageBuffer* colour = AsTrueColour(*view.source, holder);
        if (!colour) continue;
        ImageBuffer reduced;
        if (!fullSize_) {
            reduced = ResizeImage(*colour, pw_, ph_);
            if (!reduced) continue;
            colour = &reduced;
        }
        view.base = edges_ ? EdgeView(*colour, 16, progress) : PreviewGrey(*colour);
    }
}

void AdjustmentPreview::Correct(View& view, const CorrectionSet& set, int halfFieldOfView) {
    const Made wanted{true, set, halfFieldOfView, fullSize_};
    if (view.made == wanted) return;
    view.made = wanted;
    view.corrected = {};
    if (!view.base) return;
    ++corrections_;
    const auto correct = [&](const ImageBuffer& grey) {
        return PreviewCorrection(grey, set.rotation, set.perspectiveV, set.perspectiveH, fullSize_,
                                 halfFieldOfView);
    };
    const int size = 100 + set.sizeDelta;
    // Shrinking first and enlarging last keeps the most of the picture in the preview.
    if (size <= 100) {
        const ImageBuffer scaled = PreviewScale(view.base, size);
        if (scaled) view.corrected = correct(scaled);
    } else {
        const ImageBuffer corrected = correct(view.base);
        if (corrected) view.corrected = PreviewScale(corrected, size);
    }
}

const PreviewComposition& AdjustmentPreview::Compose(const AdjustmentSlots& values, int mode,
                                                     int halfFieldOfView) {
    Correct(views_[0], CorrectionOf(values, false), halfFieldOfView);
    Correct(views_[1], CorrectionOf(values, true), halfFieldOfView);
    dx_ = static_cast<int>(static_cast<long long>(values.Signed(kPositionX)) * zoom_ / 100);
    dy_ = static_cast<int>(static_cast<long long>(values.Signed(kPositionY)) * zoom_ / 100);
    if (views_[0].corrected && views_[1].corrected)
        composed_ = PreviewCompose(views_[0].corrected, views_[1].corrected, dx_, dy_, mode);
    else
        composed_ = {};
    return composed_;
}

}  // namespace duplora
