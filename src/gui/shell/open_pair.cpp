#include "gui/shell/open_pair.h"

#include <utility>

#include "core/formats/stereo_open.h"

namespace duplora {

namespace {

OpenedViews FromResult(StereoOpenResult result) {
    OpenedViews views;
    views.leftPath = std::move(result.leftPath);
    views.rightPath = std::move(result.rightPath);
    views.leftName = std::move(result.leftName);
    views.rightName = std::move(result.rightName);
    views.failedPath = result.failedPath.empty() ? views.leftPath : std::move(result.failedPath);
    views.partial = result.partial;
    if (!result.loaded || !result.left || (!result.single && !result.right)) return views;
    views.left = std::move(result.left);
    views.right = std::move(result.right);
    views.hasAlignment = result.hasAlignment;
    views.dx = result.dx;
    views.dy = result.dy;
    views.ok = true;
    return views;
}

}  // namespace

OpenedViews OpenPairFiles(const std::string& leftPath, const std::string& rightPath,
                          const CodecOptions& codec, const Progress& progress) {
    return FromResult(OpenLeftRight(leftPath, rightPath, codec, progress));
}

OpenedViews OpenStereoPicture(const std::string& path, StereoLayout layout,
                              const CodecOptions& codec, const Progress& progress) {
    StereoOpenOptions options;
    options.codec = codec;
    return FromResult(OpenStereoFile(path, layout, options, progress));
}

}  // namespace duplora
