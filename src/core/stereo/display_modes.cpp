#include "core/stereo/display_modes.h"

#include <algorithm>
#include <array>

#include "core/image/convert.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/combine.h"
#include "core/stereo/half_views.h"

namespace duplora {

namespace {

// A composition that gives no picture fails quietly: the views do not fit the area.
Result<ImageBuffer> MadeOrQuiet(ImageBuffer image) {
    if (!image) return Failure::Quiet();
    return image;
}

Result<ImageBuffer> MadeOrQuiet(Result<ImageBuffer> made) {
    return made;
}

// A composition that has no anaglyph choice to follow.
template <auto kCompose>
Result<ImageBuffer> Plain(const ImageBuffer& first, const ImageBuffer& second,
                          const CommonArea& area, const AnaglyphChoice&) {
    return MadeOrQuiet(kCompose(first, second, area));
}

Result<ImageBuffer> Grey(const ImageBuffer& first, const ImageBuffer& second,
                         const CommonArea& area, const AnaglyphChoice& anaglyph) {
    return MadeOrQuiet(
        ComposeGreyAnaglyph(first, second, area, anaglyph.greyPair, anaglyph.tables));
}

Result<ImageBuffer> Colour(const ImageBuffer& first, const ImageBuffer& second,
                           const CommonArea& area, const AnaglyphChoice& anaglyph) {
    return MadeOrQuiet(
        ComposeColourAnaglyph(first, second, area, anaglyph.colourKind, anaglyph.tables));
}

// The side-by-side and over/under pictures with each view halved along their joining axis.
Result<ImageBuffer> ComposeHalfSideBySide(const ImageBuffer& first, const ImageBuffer& second,
                                          const CommonArea& area, const AnaglyphChoice&) {
    Result<ImageBuffer> whole = ComposeSideBySide(first, second, area);
    if (!whole) return whole;
    return MadeOrQuiet(HalveViews(whole.Value(), true));
}

Result<ImageBuffer> ComposeHalfOverUnder(const ImageBuffer& first, const ImageBuffer& second,
                                         const CommonArea& area, const AnaglyphChoice&) {
    Result<ImageBuffer> whole = ComposeOverUnder(first, second, area);
    if (!whole) return whole;
    return MadeOrQuiet(HalveViews(whole.Value(), false));
}

// A single picture is its first view as it is.
Result<ImageBuffer> FirstView(const ImageBuffer& first, const ImageBuffer&, const CommonArea&,
                              const AnaglyphChoice&) {
    return MadeOrQuiet(DuplicateTrueColour(first));
}

using M = DisplayMode;
using V = ViewPanes;
using H = PictureHalves;

// clang-format off
constexpr DisplayModeRow kModes[] = {
    {M::SideBySide, "sbs", 0, "&Nebeneinander", "F9", CmdSideBySide,
     V::SideBySide, H::SideBySide, true, Plain<ComposeSideBySide>},
    {M::OverUnder, "ou", 1, "&Übereinander", "F10", CmdOverUnder,
     V::OverUnder, H::OverUnder, true, Plain<ComposeOverUnder>},
    // Saved, copied or printed, the three views are the side-by-side picture.
    {M::ThreeViews, "three-views", -1, "3er &Ansicht", "F5", CmdThreeViews,
     V::ThreeViews, H::SideBySide, true, Plain<ComposeSideBySide>},
    {M::Interlace, "interlace", 2, "&Interlace", "F4", CmdInterlace,
     V::One, H::None, true, Plain<ComposeInterlace>},
    {M::GreyAnaglyph, "grey-anaglyph", 3, "&Grau-Anaglyph", "F6", CmdGreyAnaglyph,
     V::One, H::None, true, Grey},
    {M::ColourAnaglyph, "colour-anaglyph", 4, "&Farb-Anaglyph", "F7", CmdColourAnaglyph,
     V::One, H::None, true, Colour},
    {M::Single, "single", -1, "", "", CmdNone,
     V::One, H::None, false, FirstView},
    // Outputs only: no command, no list position; the batch offers them after the listed.
    {M::HalfSideBySide, "half-sbs", -1, "", "", CmdNone,
     V::SideBySide, H::SideBySide, true, ComposeHalfSideBySide},
    {M::HalfOverUnder, "half-ou", -1, "", "", CmdNone,
     V::OverUnder, H::OverUnder, true, ComposeHalfOverUnder},
};
// clang-format on

template <typename Pred>
const DisplayModeRow* FindRow(Pred pred) {
    const auto it = std::ranges::find_if(kModes, pred);
    return it == std::end(kModes) ? nullptr : &*it;
}

// The rows that have a list position, in list order.
constexpr auto kListed = [] {
    constexpr int count =
        static_cast<int>(std::ranges::count_if(kModes, [](auto& r) { return r.listIndex >= 0; }));
    std::array<const DisplayModeRow*, count> listed{};
    for (const DisplayModeRow& row : kModes)
        if (row.listIndex >= 0) listed[row.listIndex] = &row;
    return listed;
}();
static_assert(std::ranges::none_of(kListed, [](auto* row) { return row == nullptr; }),
              "list positions run from 0 without a gap");

}  // namespace

std::span<const DisplayModeRow> DisplayModeTable() {
    return kModes;
}

const DisplayModeRow* FindDisplayMode(DisplayMode mode) {
    return FindRow([mode](const DisplayModeRow& r) { return r.mode == mode; });
}

const DisplayModeRow* DisplayModeByCommand(CommandId command) {
    if (command == CmdNone) return nullptr;
    return FindRow([command](const DisplayModeRow& r) { return r.command == command; });
}

const DisplayModeRow* DisplayModeByKey(std::string_view key) {
    return FindRow([key](const DisplayModeRow& r) { return r.key == key; });
}

std::optional<DisplayMode> DisplayModeAtListIndex(int index) {
    if (index < 0 || index >= static_cast<int>(kListed.size())) return std::nullopt;
    return kListed[static_cast<std::size_t>(index)]->mode;
}

std::span<const DisplayModeRow* const> ListedDisplayModes() {
    return kListed;
}

std::span<const DisplayModeRow* const> BatchOutputModes() {
    static const auto modes = [] {
        std::array<const DisplayModeRow*, kListed.size() + 2> all{};
        std::ranges::copy(kListed, all.begin());
        all[kListed.size()] = FindDisplayMode(DisplayMode::HalfSideBySide);
        all[kListed.size() + 1] = FindDisplayMode(DisplayMode::HalfOverUnder);
        return all;
    }();
    return modes;
}

}  // namespace duplora
