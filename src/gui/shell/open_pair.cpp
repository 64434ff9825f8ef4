#include "gui/shell/open_pair.h"

#include <cstring>
#include <utility>

#include "core/formats/load_chain.h"
#include "core/formats/stereo_open.h"

namespace duplora {

namespace {

// Columns [x, x + width) of a 24-bit picture, row by row.
ImageBuffer CutColumns(const ImageBuffer& picture, int x, int width) {
    ImageBuffer out = CreateImageForOverwrite(width, picture.Height(), 24);
    if (!out) return out;
    for (int y = 0; y < picture.Height(); ++y)
        std::memcpy(out.Line(y), picture.Line(y) + 3 * x, static_cast<std::size_t>(3) * width);
    return out;
}

}  // namespace

SideBySideViews SplitSideBySide(const ImageBuffer& picture) {
    SideBySideViews views;
    if (!picture || picture.BitCount() != 24) return views;
    const int half = picture.Width() / 2;
    if (half <= 0) return views;
    ImageBuffer left = CutColumns(picture, 0, half);
    ImageBuffer right = CutColumns(picture, half, half);
    if (!left || !right) return views;
    views.left = std::move(left);
    views.right = std::move(right);
    return views;
}

OpenedViews OpenPairFiles(const std::string& leftPath, const std::string& rightPath) {
    OpenedViews views;
    LoadedImage left = LoadImageFile(leftPath);
    LoadedImage right = LoadImageFile(rightPath);
    views.leftPath = left.path;
    views.rightPath = right.path;
    views.leftName = left.displayName;
    views.rightName = right.displayName;
    if (!left.loaded || !right.loaded || !left.image || !right.image) return views;
    views.left = std::move(left.image);
    views.right = std::move(right.image);
    views.ok = true;
    return views;
}

OpenedViews OpenStereoPicture(const std::string& path, int layout) {
    OpenedViews views;
    const StereoLayout split = StereoLayoutFromNumber(layout).value_or(StereoLayout::SideBySide);
    StereoOpenResult opened = OpenStereoFile(path, split);
    views.leftPath = std::move(opened.leftPath);
    views.rightPath = std::move(opened.rightPath);
    views.leftName = std::move(opened.leftName);
    views.rightName = std::move(opened.rightName);
    if (!opened.loaded || !opened.left) return views;
    views.left = std::move(opened.left);
    views.right = std::move(opened.right);
    views.hasAlignment = opened.hasAlignment;
    views.dx = opened.dx;
    views.dy = opened.dy;
    views.ok = true;
    return views;
}

}  // namespace duplora
