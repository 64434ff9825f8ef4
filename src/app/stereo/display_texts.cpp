#include "app/stereo/display_texts.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/stereo/common_area.h"
#include "core/stereo/display_modes.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

const ImageBuffer& ViewOf(const ImageBuffer* view) {
    static const ImageBuffer none;
    return view ? *view : none;
}

}  // namespace

DisplayTexts MakeDisplayTexts(const CompositionInput& input, const TitleFacts& facts,
                              const DisplayComposer& composer) {
    const ImageBuffer& first = ViewOf(input.first);
    const ImageBuffer& second = ViewOf(input.second);
    const DisplayModeRow* row = FindDisplayMode(input.mode);
    const bool single = row && !row->needsSecondView;  // the first view alone
    const int position = facts.folderIndex + 1;

    DisplayTexts texts;
    if (single)
        texts.title = FormatResString(StringId::TitleSingle, facts.firstName.c_str(), first.Width(),
                                      first.Height(), position, facts.folderCount);
    else
        texts.title = FormatResString(StringId::TitlePair, facts.firstName.c_str(), first.Width(),
                                      first.Height(), facts.secondName.c_str(), second.Width(),
                                      second.Height(), position, facts.folderCount);
    if (facts.slideShowRunning)
        texts.title += FormatResString(StringId::SlideShowInterval, facts.slideInterval / 10,
                                       facts.slideInterval % 10);
    else if (input.panorama)
        texts.title += LoadResString(StringId::TitlePanorama);

    const DisplayComposer::Picture shown =
        single ? DisplayComposer::kComposite : DisplayComposer::kFirstView;
    texts.status[2] = FormatResString(StringId::StatusSizeZoom, composer.Width(shown),
                                      composer.Height(shown), input.zoomPercent);
    if (!single) {
        const CommonArea area =
            ComputeCommonArea(first.Width(), first.Height(), input.dx, input.dy, input.panorama);
        const int alignedWidth =
            input.panorama ? first.Width() : first.Width() - area.firstX - area.secondX;
        const int alignedHeight = first.Height() - area.firstY - area.secondY;
        texts.status[0] = FormatResString(StringId::StatusAlignedSize, alignedWidth, alignedHeight);
        texts.status[1] =
            FormatResString(StringId::StatusAlignmentOffset, ClampToInt(-std::int64_t{input.dx}),
                            ClampToInt(-std::int64_t{input.dy}));
    }
    return texts;
}

}  // namespace duplora
