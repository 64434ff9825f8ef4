#include "app/edit/overlay_preview.h"

#include <algorithm>

#include "app/edit/pair_overlay.h"
#include "app/edit/text_overlay.h"
#include "core/edit/logo.h"
#include "core/image/convert.h"

namespace duplora {

PreviewCut CornerCut(int corner, int width, int height, int previewWidth, int previewHeight) {
    PreviewCut cut;
    cut.width = std::clamp(previewWidth, 0, std::max(width, 0));
    cut.height = std::clamp(previewHeight, 0, std::max(height, 0));
    const bool right = corner == 1 || corner == 3;
    const bool bottom = corner == 2 || corner == 3;
    cut.x = right ? width - cut.width : 0;
    cut.y = bottom ? height - cut.height : 0;
    return cut;
}

namespace {

using Stamp = std::function<Result<ImageBuffer>(const ImageBuffer& part)>;

Result<ImageBuffer> CornerPreview(const ImageBuffer& first, int corner, int previewWidth,
                                  int previewHeight, const Stamp& stamp) {
    if (!first || previewWidth <= 0 || previewHeight <= 0) return Failure::Quiet();
    const PreviewCut part =
        CornerCut(corner, first.Width(), first.Height(), previewWidth, previewHeight);
    const ImageBuffer cut =
        CropRect(first, part.x, part.y, part.x + part.width, part.y + part.height);
    if (!cut) return Failure::Quiet();
    Result<ImageBuffer> stamped = stamp(cut);
    if (!stamped) return stamped;
    // The band makes the stamped part taller; the preview keeps the rows at its corner.
    const ImageBuffer& whole = stamped.Value();
    const PreviewCut shown =
        CornerCut(corner, whole.Width(), whole.Height(), previewWidth, previewHeight);
    if (shown.width == whole.Width() && shown.height == whole.Height()) return stamped;
    ImageBuffer out =
        CropRect(whole, shown.x, shown.y, shown.x + shown.width, shown.y + shown.height);
    if (!out) return Failure::Quiet();
    return out;
}

}  // namespace

Result<ImageBuffer> TextPreview(const ImageBuffer& first, const TextSet& set,
                                const std::string& fontDescription, int previewWidth,
                                int previewHeight) {
    return CornerPreview(
        first, set.corner, previewWidth, previewHeight,
        [&](const ImageBuffer& part) { return AddText(part, set, 0, fontDescription); });
}

Result<ImageBuffer> LogoPreview(const ImageBuffer& first, const ImageBuffer& logo,
                                const LogoSet& set, int previewWidth, int previewHeight) {
    return CornerPreview(
        first, set.corner, previewWidth, previewHeight,
        [&](const ImageBuffer& part) { return AddLogo(part, logo, LogoStampFor(set, 0)); });
}

}  // namespace duplora
