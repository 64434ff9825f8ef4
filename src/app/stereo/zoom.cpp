#include "app/stereo/zoom.h"

#include <algorithm>
#include <cstdint>

#include "app/stereo/view_numbers.h"

namespace duplora {

namespace {

int Bounded(std::int64_t zoom) {
    return static_cast<int>(std::clamp<std::int64_t>(zoom, kMinZoomPercent, kMaxZoomPercent));
}

int Snapped(int zoom) {
    return (zoom > 90 && zoom < 110) ? 100 : zoom;
}

}  // namespace

int ZoomInStep(int zoom) {
    std::int64_t z = std::int64_t{zoom} * 110 / 100;
    if (z < 10) z += 1;
    return Bounded(Snapped(Bounded(z)));
}

int ZoomOutStep(int zoom) {
    const std::int64_t z = std::int64_t{zoom} * 100 / 110;
    return Bounded(Snapped(Bounded(z)));
}

QSize FitArea(int mode, QSize viewClient, int frame) {
    int aw = viewClient.width() - 2 * frame;
    int ah = viewClient.height() - 2 * frame;
    if (mode == view_mode::kSideBySide || mode == view_mode::kThreeViews) aw /= 2;
    if (mode == view_mode::kOverUnder || mode == view_mode::kThreeViews) ah /= 2;
    return {aw, ah};
}

std::optional<int> FitZoom(FitMode fit, QSize area, QSize leftView) {
    const std::int64_t aw = area.width();
    const std::int64_t ah = area.height();
    const std::int64_t iw = leftView.width();
    const std::int64_t ih = leftView.height();
    if (aw <= 0 || ah <= 0 || iw <= 0 || ih <= 0) return std::nullopt;
    std::int64_t z = 0;
    switch (fit) {
        case FitMode::Height:
            z = (ah * iw / ih) * 100 / iw;
            break;
        case FitMode::Width:
            z = (aw * ih / iw) * 100 / ih;
            break;
        case FitMode::Window: {
            const std::int64_t fw = (ah * iw / aw > ih) ? aw : ah * iw / ih;
            z = fw * 100 / iw;
            break;
        }
        case FitMode::None:
            return std::nullopt;
    }
    return Bounded(z);
}

QPoint KeepCentre(QPoint scroll, QSize paneClient, int oldZoom, int newZoom) {
    const std::int64_t z0 = std::max(oldZoom, 1);
    const std::int64_t z = newZoom;
    auto one = [&](std::int64_t s, std::int64_t c) {
        const std::int64_t v = s * z / z0 - (c - c * z / z0) / 2;
        return static_cast<int>(std::clamp<std::int64_t>(v, 0, INT32_MAX));
    };
    return {one(scroll.x(), paneClient.width()), one(scroll.y(), paneClient.height())};
}

int RefitCommand(FitMode fit) {
    switch (fit) {
        case FitMode::Window:
            return view_command::kFitWindow;
        case FitMode::Height:
            return view_command::kFitHeight;
        case FitMode::Width:
            return view_command::kFitWidth;
        case FitMode::None:
            break;
    }
    return 0;
}

std::optional<ZoomResult> ApplyZoomCommand(const ZoomInput& in) {
    using namespace view_command;
    const int margin = 2 * in.frame + 10;
    if (in.viewClient.width() < margin || in.viewClient.height() < margin) return std::nullopt;

    const int z0 = std::max(in.zoom, kMinZoomPercent);
    ZoomResult r;
    auto fitted = [&](FitMode fit) -> std::optional<int> {
        const QSize area =
            in.outputArea ? *in.outputArea : FitArea(in.mode, in.viewClient, in.frame);
        r.fit = fit;
        return FitZoom(fit, area, in.leftView);
    };

    std::optional<int> z;
    switch (in.command) {
        case kZoomIn:
            z = ZoomInStep(z0);
            break;
        case kZoomOut:
            z = ZoomOutStep(z0);
            break;
        case kZoom100:
            z = 100;
            break;
        case kZoom50:
            z = 50;
            break;
        case kZoom75:
            z = 75;
            break;
        case kZoom150:
            z = 150;
            break;
        case kZoom200:
            z = 200;
            break;
        case kFitWindow:
            z = fitted(FitMode::Window);
            break;
        case kFitHeight:
            z = fitted(FitMode::Height);
            r.followUp = kFitHeightAgain;
            break;
        case kFitHeightAgain:
            z = fitted(FitMode::Height);
            break;
        case kFitWidth:
            z = fitted(FitMode::Width);
            r.followUp = kFitWidthAgain;
            break;
        case kFitWidthAgain:
            z = fitted(FitMode::Width);
            break;
        default:
            return std::nullopt;
    }
    if (!z) return std::nullopt;
    r.zoom = Bounded(*z);
    r.scroll = KeepCentre(in.scroll, in.paneClient, z0, r.zoom);
    return r;
}

}  // namespace duplora
