#include "app/align/gamma_choices.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>

#include "app/shell/settings.h"
#include "core/image/luminance.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/anaglyph_tables.h"
#include "core/stereo/combine.h"
#include "core/stereo/common_area.h"
#include "core/stereo/display_mode.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

constexpr const char* kChoiceTexts[kFirstAnaglyphChoices] = {
    "rot/cyan",      "rot/grün",  "rot/blau",    "Farbe (R/C)",
    "Halbton (R/C)", "gelb/blau", "Farbe (G/B)", "Halbton (G/B)"};

// The colour kinds of the method table after the first four, each a choice of its own.
std::span<const AnaglyphMethodRow> FurtherColourKinds() {
    const std::span<const AnaglyphMethodRow> kinds = AnaglyphMethodsOf(DisplayMode::ColourAnaglyph);
    return kinds.size() > 4 ? kinds.subspan(4) : std::span<const AnaglyphMethodRow>{};
}

const AnaglyphMethodRow* FurtherColourKind(int index) {
    const std::span<const AnaglyphMethodRow> further = FurtherColourKinds();
    const int k = index - kFirstAnaglyphChoices;
    return k >= 0 && k < static_cast<int>(further.size()) ? &further[k] : nullptr;
}

// What the composition takes of one pixel (B, G, R) for the left or the right view.
int LeftLevel(int choice, const std::uint8_t* p) {
    switch (choice) {
        case 3:
            return p[2];
        case 6:
            return p[0];
        default:
            return Luminance(p[0], p[1], p[2]);
    }
}

int RightLevel(int choice, const std::uint8_t* p) {
    switch (choice) {
        case 3:
        case 4:
            return static_cast<int>(0.837 * p[1] + 0.163 * p[0]);
        case 6:
        case 7:
            return static_cast<int>(0.334 * p[2] + 0.666 * p[1]);
        default:
            return Luminance(p[0], p[1], p[2]);
    }
}

int Density(const ImageBuffer& view, const LevelTable& table, bool right, int choice) {
    if (!view || view.BitCount() != 24) return 0;
    std::int64_t sum = 0;
    for (int row = 0; row < view.Height(); ++row) {
        const std::uint8_t* p = view.StoredRow(row);
        for (int x = 0; x < view.Width(); ++x, p += 3)
            sum += table[std::min(255, right ? RightLevel(choice, p) : LeftLevel(choice, p))];
    }
    const std::int64_t pixels = std::int64_t{view.Width()} * view.Height();
    return pixels > 0 ? static_cast<int>(sum / pixels) : 0;
}

}  // namespace

PreviewSize GammaPreviewSize(int width, int height, int limit) {
    if (width <= 0 || height <= 0) return {};
    PreviewSize size{limit, static_cast<int>(static_cast<long long>(height) * limit / width)};
    if (size.height > limit)
        size = {static_cast<int>(static_cast<long long>(width) * limit / height), limit};
    return {std::max(size.width, 1), std::max(size.height, 1)};
}

PreviewSize FitPreviewSize(int width, int height, int areaWidth, int areaHeight) {
    if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0) return {};
    PreviewSize size{areaWidth,
                     static_cast<int>(static_cast<long long>(areaWidth) * height / width)};
    if (size.height > areaHeight)
        size = {static_cast<int>(static_cast<long long>(areaHeight) * width / height), areaHeight};
    return {std::max(size.width, 1), std::max(size.height, 1)};
}

std::string GammaText(int gamma) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d", gamma / 100, gamma % 100);
    return text;
}

std::string GammaDensityText(int gamma, int density) {
    return FormatResString(StringId::GammaDensity, gamma / 100, gamma % 100, density);
}

int AnaglyphChoiceCount() {
    return kFirstAnaglyphChoices + static_cast<int>(FurtherColourKinds().size());
}

std::string AnaglyphChoiceText(int index) {
    if (index >= 0 && index < kFirstAnaglyphChoices) return kChoiceTexts[index];
    const AnaglyphMethodRow* row = FurtherColourKind(index);
    return row ? std::string(row->menuText) : std::string();
}

bool IsColourAnaglyphChoice(int index) {
    return index == 3 || index == 4 || index == 6 || index == 7 || FurtherColourKind(index);
}

int AnaglyphChoiceAtOpening(GreyAnaglyphPair greyPair, ColourAnaglyphKind colourKind,
                            bool fromColourMenu) {
    if (fromColourMenu) {
        const std::span<const AnaglyphMethodRow> further = FurtherColourKinds();
        const auto it =
            std::ranges::find(further, static_cast<int>(colourKind), &AnaglyphMethodRow::number);
        if (it != further.end())
            return kFirstAnaglyphChoices + static_cast<int>(it - further.begin());
        const int kind = std::clamp(static_cast<int>(colourKind), 0, 3);
        return kind + 3 + (kind > 1 ? 1 : 0);
    }
    const int pair = std::clamp(static_cast<int>(greyPair), 0, 3);
    return pair == 3 ? 5 : pair;
}

GreyAnaglyphPair GreyPairOfChoice(int index) {
    return static_cast<GreyAnaglyphPair>(index == 5 ? 3 : std::clamp(index, 0, 2));
}

ColourAnaglyphKind ColourKindOfChoice(int index) {
    if (const AnaglyphMethodRow* row = FurtherColourKind(index))
        return static_cast<ColourAnaglyphKind>(row->number);
    return static_cast<ColourAnaglyphKind>(index >= 6 ? index - 4 : std::clamp(index - 3, 0, 1));
}

AnaglyphPreview ComposeAnaglyphPreview(const ImageBuffer& left, const ImageBuffer& right,
                                       int choice, int leftGamma, int rightGamma, int shown) {
    AnaglyphPreview preview;
    if (!left || !right || left.BitCount() != 24 || right.BitCount() != 24) return preview;
    const AnaglyphTables tables = BuildAnaglyphTables(leftGamma, rightGamma);
    preview.leftDensity = Density(left, tables.left, false, choice);
    preview.rightDensity = Density(right, tables.right, true, choice);
    // A black view fills none of its channels.
    ImageBuffer black;
    if (shown != 0) black = CreateImage(left.Width(), left.Height(), 24);
    const ImageBuffer& first = shown == 2 ? black : left;
    const ImageBuffer& second = shown == 1 ? black : right;
    if (IsColourAnaglyphChoice(choice))
        preview.image =
            ComposeColourAnaglyph(first, second, CommonArea{}, ColourKindOfChoice(choice), tables);
    else
        preview.image =
            ComposeGreyAnaglyph(first, second, CommonArea{}, GreyPairOfChoice(choice), tables);
    return preview;
}

SettingWrites ApplyAnaglyphSettings(Settings& settings, int choice, int leftGamma, int rightGamma) {
    SettingWrites writes;
    if (IsColourAnaglyphChoice(choice)) {
        settings.colourAnaglyphKind = ColourKindOfChoice(choice);
        writes = SettingWritesFor(settings, {setting::kNAnactype});
    } else {
        settings.greyAnaglyphPair = GreyPairOfChoice(choice);
        writes = SettingWritesFor(settings, {setting::kNAnatype});
    }
    settings.leftGamma = std::clamp(leftGamma, 1, 500);
    settings.rightGamma = std::clamp(rightGamma, 1, 500);
    const SettingWrites gammas = SettingWritesFor(settings, {setting::kNGmmar, setting::kNGmmab});
    writes.insert(writes.end(), gammas.begin(), gammas.end());
    return writes;
}

}  // namespace duplora
