#include "core/stereo/display_composer.h"

#include <algorithm>
#include <climits>

#include "core/image/convert.h"
#include "core/stereo/combine.h"
#include "core/strings.h"

namespace duplora {
namespace {

constexpr int kTitlePair = 2592;       // "Linkes Bild(%s [%d x %d]) Rechtes Bild(…"
constexpr int kTitleSlideShow = 2593;  // "Slide Show Intervall %d.%d S."
constexpr int kStatusAligned = 2594;   // "Bildgröße nach Ausrichtung[%d x %d]"
constexpr int kStatusOffset = 2595;    // "Position Ausrichtung(x = %d y = %d)"
constexpr int kStatusZoom = 2596;      // "Bildgröße [%d x %d]  Zoom(%d %%)"
constexpr int kTitleSingle = 2694;     // "Bild(%s [%d x %d]) (%d/%d)"
constexpr int kTitlePanorama = 2699;   // "Panorama Modus"

bool IsCompositeMode(DisplayMode mode) {
    return mode == DisplayMode::Interlace || mode == DisplayMode::GreyAnaglyph ||
           mode == DisplayMode::ColourAnaglyph;
}

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// trunc(size × zoom / 100) without overflow; 0 when it cannot be a picture size.
int ZoomedSize(int size, int zoomPercent) {
    const std::int64_t v = std::int64_t{size} * zoomPercent / 100;
    return v > 0 && v <= INT_MAX / 2 ? static_cast<int>(v) : 0;
}

const ImageBuffer& ViewOf(const ImageBuffer* view) {
    static const ImageBuffer none;
    return view ? *view : none;
}

}  // namespace

void DisplayComposer::Clear() {
    for (ImageBuffer& picture : pictures_) picture.Reset();
    scaled_ = {};
}

DisplayComposer::ScaledSource DisplayComposer::SourceOf(const CompositionInput& input) {
    const ImageBuffer& first = ViewOf(input.first);
    const ImageBuffer& second = ViewOf(input.second);
    return {first.Data(),   second.Data(),   first.Width(),     first.Height(),
            second.Width(), second.Height(), input.zoomPercent, true};
}

bool DisplayComposer::ComposeForDisplay(const CompositionInput& input) {
    Clear();
    const ImageBuffer& first = ViewOf(input.first);
    const ImageBuffer& second = ViewOf(input.second);
    const int w0 = ZoomedSize(first.Width(), input.zoomPercent);
    const int h0 = ZoomedSize(first.Height(), input.zoomPercent);
    const DisplayMode mode = input.mode;
    const bool known = DisplayModeFromNumber(static_cast<int>(mode)).has_value();
    if (known && first && w0 > 0 && h0 > 0) {
        const CommonArea area =
            ComputeCommonArea(first.Width(), first.Height(), input.dx, input.dy, input.panorama);
        if (mode == DisplayMode::Single) {
            pictures_[kComposite] = PrepareView(first, w0, h0, area, false, input.panorama);
        } else if (!IsCompositeMode(mode) || input.panorama) {
            // The views cut to their common area (or wrapped around) at the zoom.
            pictures_[kFirstView] = PrepareView(first, w0, h0, area, false, input.panorama);
            pictures_[kSecondView] = PrepareView(second, w0, h0, area, true, input.panorama);
            if (mode == DisplayMode::ThreeViews)
                pictures_[kComposite] = ComposeBlend(pictures_[kFirstView], pictures_[kSecondView]);
            else if (IsCompositeMode(mode))
                ComposeOffsetComposite(input);
        } else {
            // Scaled whole, once per zoom: offset changes only re-cut the composite.
            pictures_[kFirstView] = CropScaleView(first, w0, h0, 0, 0, 0, 0, false);
            pictures_[kSecondView] = CropScaleView(second, w0, h0, 0, 0, 0, 0, true);
            scaled_ = SourceOf(input);
            ComposeOffsetComposite(input);
        }
    }
    RefreshCaptionAndStatus(input);
    return ModePicturesPresent(input.mode);
}

bool DisplayComposer::RecomposeAfterOffset(const CompositionInput& input) {
    if (!IsCompositeMode(input.mode) || input.panorama || !scaled_.valid ||
        !(scaled_ == SourceOf(input)))
        return ComposeForDisplay(input);
    pictures_[kComposite].Reset();
    ComposeOffsetComposite(input);
    RefreshCaptionAndStatus(input);
    return ModePicturesPresent(input.mode);
}

void DisplayComposer::ComposeOffsetComposite(const CompositionInput& input) {
    const ImageBuffer& a = pictures_[kFirstView];
    const ImageBuffer& b = pictures_[kSecondView];
    if (!a || !b) return;
    CommonArea area;
    if (!input.panorama) {
        // The offset scaled to the zoom; the limits stay those of the full-size views.
        const ImageBuffer& first = ViewOf(input.first);
        const int sdx = ClampToInt(std::int64_t{input.dx} * input.zoomPercent / 100);
        const int sdy = ClampToInt(std::int64_t{input.dy} * input.zoomPercent / 100);
        area = ComputeCommonArea(first.Width(), first.Height(), sdx, sdy, false);
        // An offset beyond the full-size limit, scaled down, can still pass the scaled
        // views' width: keep at least one column and row of them.
        const int maxX = a.Width() - 1, maxY = a.Height() - 1;
        area.secondX = std::min(area.secondX, maxX);
        area.firstX = std::min(area.firstX, maxX);
        area.secondY = std::min(area.secondY, maxY);
        area.firstY = std::min(area.firstY, maxY);
    }
    const AnaglyphTables tables = BuildAnaglyphTables(input.leftGamma, input.rightGamma);
    pictures_[kComposite] = ComposeByCode(static_cast<int>(input.mode), a, b, area, input.greyPair,
                                          input.colourKind, tables);
}

bool DisplayComposer::ModePicturesPresent(DisplayMode mode) const {
    switch (mode) {
        case DisplayMode::SideBySide:
        case DisplayMode::OverUnder:
            return pictures_[kFirstView] && pictures_[kSecondView];
        case DisplayMode::ThreeViews:
            return pictures_[kFirstView] && pictures_[kSecondView] && pictures_[kComposite];
        case DisplayMode::Interlace:
        case DisplayMode::GreyAnaglyph:
        case DisplayMode::ColourAnaglyph:
        case DisplayMode::Single:
            return static_cast<bool>(pictures_[kComposite]);
    }
    return false;
}

const DisplayTexts& DisplayComposer::RefreshCaptionAndStatus(const CompositionInput& input) {
    const ImageBuffer& first = ViewOf(input.first);
    const ImageBuffer& second = ViewOf(input.second);
    const bool single = input.mode == DisplayMode::Single;
    const int position = input.folderIndex + 1;

    DisplayTexts texts;
    if (single)
        texts.title = FormatResString(kTitleSingle, input.firstName.c_str(), first.Width(),
                                      first.Height(), position, input.folderCount);
    else
        texts.title = FormatResString(kTitlePair, input.firstName.c_str(), first.Width(),
                                      first.Height(), input.secondName.c_str(), second.Width(),
                                      second.Height(), position, input.folderCount);
    if (input.slideShowRunning)
        texts.title +=
            FormatResString(kTitleSlideShow, input.slideInterval / 10, input.slideInterval % 10);
    else if (input.panorama)
        texts.title += LoadResString(kTitlePanorama);

    const ImageBuffer& shown = single ? pictures_[kComposite] : pictures_[kFirstView];
    texts.status[2] =
        FormatResString(kStatusZoom, shown.Width(), shown.Height(), input.zoomPercent);
    if (!single) {
        const CommonArea area =
            ComputeCommonArea(first.Width(), first.Height(), input.dx, input.dy, input.panorama);
        const int alignedWidth =
            input.panorama ? first.Width() : first.Width() - area.firstX - area.secondX;
        const int alignedHeight = first.Height() - area.firstY - area.secondY;
        texts.status[0] = FormatResString(kStatusAligned, alignedWidth, alignedHeight);
        texts.status[1] = FormatResString(kStatusOffset, ClampToInt(-std::int64_t{input.dx}),
                                          ClampToInt(-std::int64_t{input.dy}));
    }
    texts_ = std::move(texts);
    return texts_;
}

}  // namespace duplora
