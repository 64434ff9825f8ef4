#include "app/stereo/zoom.h"

#include <algorithm>
#include <cstdint>

#include "app/stereo/view_layout.h"

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

QSize FitArea(DisplayMode mode, QSize viewClient, int frame) {
    const QSize area(viewClient.width() - 2 * frame, viewClient.height() - 2 * frame);
    return PaneShare(mode, area);
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

CommandId RefitCommand(FitMode fit) {
    switch (fit) {
        case FitMode::Window:
            return CmdFitWindow;
        case FitMode::Height:
            return CmdFitHeight;
        case FitMode::Width:
            return CmdFitWidth;
        case FitMode::None:
            break;
    }
    return CmdNone;
}

std::optional<ZoomResult> ApplyZoomCommand(const ZoomInput& in) {
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
        case CmdZoomIn:
            z = ZoomInStep(z0);
            break;
        case CmdZoomOut:
            z = ZoomOutStep(z0);
            break;
        case CmdZoom100:
            z = 100;
            break;
        case CmdZoom50:
            z = 50;
            break;
        case CmdZoom75:
            z = 75;
            break;
        case CmdZoom150:
            z = 150;
            break;
        case CmdZoom200:
            z = 200;
            break;
        case CmdFitWindow:
            z = fitted(FitMode::Window);
            break;
        case CmdFitHeight:
            z = fitted(FitMode::Height);
            r.followUp = CmdFitHeightSecondPass;
            break;
        case CmdFitHeightSecondPass:
            z = fitted(FitMode::Height);
            break;
        case CmdFitWidth:
            z = fitted(FitMode::Width);
            r.followUp = CmdFitWidthSecondPass;
            break;
        case CmdFitWidthSecondPass:
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
