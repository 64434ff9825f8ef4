#include "app/image/trim_resize.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/image/convert.h"
#include "core/stereo/common_area.h"
#include "core/stereo/compose.h"

namespace duplora {

namespace {

int ClampSide(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, kMaxResizeSide));
}

// The offset, scroll and zoom of a pair that was just cut or scaled: aligned, shown from
// its top-left, at the zoom it had.
ViewState AlignedState(const ViewState& current) {
    return ViewState{0, 0, 0, 0, current.zoom};
}

}  // namespace

QSize AlignedSize(QSize view, int dx, int dy, bool panorama) {
    if (view.width() <= 0 || view.height() <= 0) return {0, 0};
    if (panorama) return view;
    const CommonArea area = ComputeCommonArea(view.width(), view.height(), dx, dy, false);
    return {std::max(0, view.width() - area.firstX - area.secondX),
            std::max(0, view.height() - area.firstY - area.secondY)};
}

std::optional<SelectionRect> TrimArea(const SelectionRect& rect, QSize aligned) {
    const SelectionRect r = rect.Ordered();
    const int w = std::max(0, aligned.width());
    const int h = std::max(0, aligned.height());
    SelectionRect area{std::clamp(r.x1, 0, w), std::clamp(r.y1, 0, h), std::clamp(r.x2, 0, w),
                       std::clamp(r.y2, 0, h)};
    if (area.x2 - area.x1 < 1 || area.y2 - area.y1 < 1) return std::nullopt;
    return area;
}

ImageBuffer TrimView(const ImageBuffer& view, QSize leftSize, const TrimRequest& request,
                     bool second) {
    if (!view || leftSize.width() <= 0 || leftSize.height() <= 0) return {};
    const auto area =
        TrimArea(request.rect, AlignedSize(leftSize, request.dx, request.dy, request.panorama));
    if (!area) return {};
    const int w = leftSize.width();
    const int h = leftSize.height();
    const CommonArea common = ComputeCommonArea(w, h, request.dx, request.dy, request.panorama);
    ImageBuffer cut;
    if (request.panorama) {
        // The view as the panorama shows it, wrapped round, then the rectangle of that.
        const ImageBuffer wrapped = PrepareView(view, w, h, common, second, true);
        if (!wrapped) return {};
        cut = CropRect(wrapped, area->x1, area->y1, area->x2, area->y2);
    } else {
        // Straight from the view: its common area starts, top-down, at column firstX and
        // row secondY (the margins count stored rows from the bottom); the second view's
        // at secondX, firstY.
        const int left = second ? common.secondX : common.firstX;
        const int top = second ? common.firstY : common.secondY;
        cut = CropRect(view, left + area->x1, top + area->y1, left + area->x2, top + area->y2);
    }
    if (!cut || !request.scaleTo) return cut;
    return ResizeImage(cut, request.scaleTo->width(), request.scaleTo->height());
}

EditedPair TrimPair(const ImageBuffer& left, const ImageBuffer& right, const TrimRequest& request,
                    const ViewState& current) {
    EditedPair pair;
    if (!left) return pair;
    const QSize size(left.Width(), left.Height());
    pair.left = TrimView(left, size, request, false);
    if (pair.left && right) pair.right = TrimView(right, size, request, true);
    pair.view = AlignedState(current);
    return pair;
}

int KeepRatioHeight(int width, QSize reference, int otherwise) {
    if (reference.width() <= 0 || reference.height() <= 0) return otherwise;
    return ClampSide(std::int64_t{reference.height()} * width / reference.width());
}

int KeepRatioWidth(int height, QSize reference, int otherwise) {
    if (reference.width() <= 0 || reference.height() <= 0) return otherwise;
    return ClampSide(std::int64_t{reference.width()} * height / reference.height());
}

ResizeChoice AspectChosen(ResizeChoice shown, AspectMode mode, bool storedRecompute,
                          QSize reference) {
    shown.aspect = mode;
    if (storedRecompute && reference.width() > 0 && shown.width > reference.width())
        shown.width = reference.width();
    if (mode == AspectMode::KeepRatio)
        shown.height = KeepRatioHeight(shown.width, reference, shown.height);
    return shown;
}

Result<EditedPair> ResizePair(const ImageBuffer& left, const ImageBuffer& right, int dx, int dy,
                              bool panorama, const ResizeChoice& choice, const ViewState& current,
                              const Progress& progress) {
    EditedPair pair;
    if (!left) return pair;
    const int w = left.Width();
    const int h = left.Height();
    pair.view = AlignedState(current);
    // A view that could not be made leaves its slot empty, which refuses the edit; a frame
    // that could not be made is told as well.
    std::optional<Failure> failure;
    const auto Take = [&failure](ImageBuffer& slot, Result<ImageBuffer> made) {
        if (made) {
            slot = std::move(made).Value();
            return true;
        }
        failure = std::move(made).Error();
        return false;
    };
    const auto Failed = [&failure](EditedPair& partial) -> Result<EditedPair> {
        if (failure && failure->HasMessage()) return std::move(*failure);
        return std::move(partial);
    };
    if (panorama) {
        // A panorama has no common area to cut to: each view is scaled as it is shown,
        // wrapped round by the offset.
        const CommonArea common = ComputeCommonArea(w, h, dx, dy, true);
        const ResizeGeometry g =
            ComputeResizeGeometry(w, h, 0, 0, false, choice.width, choice.height, choice.aspect);
        if (!g.valid) return pair;
        const ImageBuffer a = PrepareView(left, w, h, common, false, true);
        if (!Take(pair.left, ResizeView(a, g, false, choice.recompute, progress)))
            return Failed(pair);
        if (right) {
            const ImageBuffer b = PrepareView(right, w, h, common, true, true);
            if (!Take(pair.right, ResizeView(b, g, false, choice.recompute, progress)))
                return Failed(pair);
        }
        return pair;
    }
    const ResizeGeometry g =
        ComputeResizeGeometry(w, h, dx, dy, false, choice.width, choice.height, choice.aspect);
    if (!g.valid) return pair;
    if (!Take(pair.left, ResizeView(left, g, false, choice.recompute, progress)))
        return Failed(pair);
    if (right && !Take(pair.right, ResizeView(right, g, true, choice.recompute, progress)))
        return Failed(pair);
    return pair;
}

}  // namespace duplora
