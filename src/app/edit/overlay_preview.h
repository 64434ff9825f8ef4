// What the text and logo dialogs show while the values change: the overlay stamped with
// depth 0 on the first view, cut to the preview's size at the corner the position refers to.
#pragma once

#include <string>

#include "app/shell/settings.h"
#include "core/image/image_buffer.h"
#include "core/util/result.h"

namespace duplora {

// A rectangle of a picture, top-down.
struct PreviewCut {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PreviewCut&) const = default;
};

// The part of a width × height picture a preview of at most previewWidth × previewHeight shows
// for `corner` (0 top left … 3 bottom right).
PreviewCut CornerCut(int corner, int width, int height, int previewWidth, int previewHeight);

// The stamped view as the preview shows it. The corner's part of `first` is stamped on its own:
// every overlay position counts from the corner's two edges, so these are the pixels of that
// corner of the whole view stamped, without stamping the whole view on every change.
Result<ImageBuffer> TextPreview(const ImageBuffer& first, const TextSet& set,
                                const std::string& fontDescription, int previewWidth,
                                int previewHeight);
Result<ImageBuffer> LogoPreview(const ImageBuffer& first, const ImageBuffer& logo,
                                const LogoSet& set, int previewWidth, int previewHeight);

}  // namespace duplora
