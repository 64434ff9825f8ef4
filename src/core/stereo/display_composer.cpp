#include "core/stereo/display_composer.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/image/convert.h"
#include "core/image/pixel_gather.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/combine.h"
#include "core/stereo/display_modes.h"
#include "core/util/parallel.h"

namespace duplora {
namespace {

// One picture made of both views (interlace and the anaglyphs).
bool IsCompositeMode(DisplayMode mode) {
    const DisplayModeRow* row = FindDisplayMode(mode);
    return row && row->panes == ViewPanes::One && row->needsSecondView;
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
    for (int i = 0; i < 3; ++i) Forget(static_cast<Picture>(i));
    scaled_ = {};
}

void DisplayComposer::Forget(Picture which) {
    recipes_[which] = {};
    whole_[which].Reset();
    ++generation_;
}

bool DisplayComposer::Source::Unchanged() const {
    return image && image->Data() == data && data && image->Width() == width &&
           image->Height() == height && image->BitCount() == bits;
}

DisplayComposer::Source DisplayComposer::SourceFor(const ImageBuffer& view) {
    return {&view, view.Data(), view.Width(), view.Height(), view.BitCount()};
}

DisplayComposer::ScaledSource DisplayComposer::ScaledSourceOf(const CompositionInput& input) {
    const ImageBuffer& first = ViewOf(input.first);
    const ImageBuffer& second = ViewOf(input.second);
    return {first.Data(),   second.Data(),   first.Width(),     first.Height(),
            second.Width(), second.Height(), input.zoomPercent, true};
}

DisplayComposer::Recipe DisplayComposer::ViewRecipe(const ImageBuffer& view, int refWidth,
                                                    int refHeight, const CommonArea& area,
                                                    bool second, bool panorama) {
    Recipe recipe;
    ViewWalk walk;
    if (!PrepareViewWalk(view, refWidth, refHeight, area, second, panorama, walk)) return recipe;
    recipe.kind = Kind::View;
    recipe.width = static_cast<int>(walk.cols.size());
    recipe.height = static_cast<int>(walk.rows.size());
    recipe.first = SourceFor(view);
    recipe.firstCols = std::move(walk.cols);
    recipe.firstRows = std::move(walk.rows);
    return recipe;
}

bool DisplayComposer::ComposeForDisplay(const CompositionInput& input) {
    Clear();
    const ImageBuffer& first = ViewOf(input.first);
    const ImageBuffer& second = ViewOf(input.second);
    const int w0 = ZoomedSize(first.Width(), input.zoomPercent);
    const int h0 = ZoomedSize(first.Height(), input.zoomPercent);
    const DisplayMode mode = input.mode;
    const DisplayModeRow* row = FindDisplayMode(mode);
    if (row && first && w0 > 0 && h0 > 0) {
        const CommonArea area =
            ComputeCommonArea(first.Width(), first.Height(), input.dx, input.dy, input.panorama);
        if (!row->needsSecondView) {
            recipes_[kComposite] = ViewRecipe(first, w0, h0, area, false, input.panorama);
        } else if (!IsCompositeMode(mode) || input.panorama) {
            // The views cut to their common area (or wrapped around) at the zoom.
            recipes_[kFirstView] = ViewRecipe(first, w0, h0, area, false, input.panorama);
            recipes_[kSecondView] = ViewRecipe(second, w0, h0, area, true, input.panorama);
            const Recipe& a = recipes_[kFirstView];
            const Recipe& b = recipes_[kSecondView];
            if (row->panes == ViewPanes::ThreeViews && a.kind != Kind::None &&
                b.kind != Kind::None && a.width == b.width && a.height == b.height) {
                Recipe blend = a;
                blend.kind = Kind::Blend;
                blend.second = b.first;
                blend.secondCols = b.firstCols;
                blend.secondRows = b.firstRows;
                recipes_[kComposite] = std::move(blend);
            } else if (IsCompositeMode(mode)) {
                ComposeOffsetComposite(input);
            }
        } else {
            // Scaled whole, once per zoom: offset changes only re-cut the composite.
            recipes_[kFirstView] = ViewRecipe(first, w0, h0, CommonArea{}, false, false);
            recipes_[kSecondView] = ViewRecipe(second, w0, h0, CommonArea{}, true, false);
            scaled_ = ScaledSourceOf(input);
            ComposeOffsetComposite(input);
        }
    }
    return ModePicturesPresent(input.mode);
}

bool DisplayComposer::RecomposeAfterOffset(const CompositionInput& input) {
    if (!IsCompositeMode(input.mode) || input.panorama || !scaled_.valid ||
        !(scaled_ == ScaledSourceOf(input)))
        return ComposeForDisplay(input);
    Forget(kComposite);
    ComposeOffsetComposite(input);
    return ModePicturesPresent(input.mode);
}

void DisplayComposer::ComposeOffsetComposite(const CompositionInput& input) {
    const Recipe& a = recipes_[kFirstView];
    const Recipe& b = recipes_[kSecondView];
    if (a.kind == Kind::None || b.kind == Kind::None) return;
    CommonArea area;
    if (!input.panorama) {
        // The offset scaled to the zoom; the limits stay those of the full-size views.
        const ImageBuffer& first = ViewOf(input.first);
        const int sdx = ClampToInt(std::int64_t{input.dx} * input.zoomPercent / 100);
        const int sdy = ClampToInt(std::int64_t{input.dy} * input.zoomPercent / 100);
        area = ComputeCommonArea(first.Width(), first.Height(), sdx, sdy, false);
        // An offset beyond the full-size limit, scaled down, can still pass the scaled
        // views' width: keep at least one column and row of them.
        const int maxX = a.width - 1, maxY = a.height - 1;
        area.secondX = std::min(area.secondX, maxX);
        area.firstX = std::min(area.firstX, maxX);
        area.secondY = std::min(area.secondY, maxY);
        area.firstY = std::min(area.firstY, maxY);
    }
    // The combiners' rule for the common area of two views: the first view's size less the
    // margins, and the second view's part inside it.
    const std::int64_t w = std::int64_t{a.width} - area.secondX - area.firstX;
    const std::int64_t h = std::int64_t{a.height} - area.secondY - area.firstY;
    if (w < 1 || h < 1 || area.secondX + w > b.width || area.secondY + h > b.height) return;
    const AnaglyphMethodRow* method =
        ChosenAnaglyphMethod(input.mode, input.greyPair, input.colourKind);
    if (input.mode != DisplayMode::Interlace && !method) return;

    Recipe c;
    c.kind = method ? Kind::Anaglyph : Kind::Interlace;
    c.method = method;
    c.width = static_cast<int>(w);
    c.height = static_cast<int>(h);
    c.first = a.first;
    c.second = b.first;
    auto cut = [](const std::vector<int>& walk, int from, std::int64_t count) {
        return std::vector<int>(walk.begin() + from, walk.begin() + from + count);
    };
    c.firstCols = cut(a.firstCols, area.firstX, w);
    c.firstRows = cut(a.firstRows, area.firstY, h);
    c.secondCols = cut(b.firstCols, area.secondX, w);
    c.secondRows = cut(b.firstRows, area.secondY, h);
    c.tables = BuildAnaglyphTables(input.leftGamma, input.rightGamma);
    recipes_[kComposite] = std::move(c);
}

ImageBuffer DisplayComposer::Render(Picture which, int left, int top, int width, int height) const {
    const Recipe& recipe = recipes_[which];
    if (width <= 0 || height <= 0 || left < 0 || top < 0 || left > recipe.width - width ||
        top > recipe.height - height)
        return {};
    std::vector<int> cols(static_cast<std::size_t>(width));
    std::vector<int> rows(static_cast<std::size_t>(height));
    for (int j = 0; j < width; ++j) cols[j] = left + j;
    // Top-down rows top … top + height − 1 are stored rows H − top − height … H − top − 1.
    const int bottom = recipe.height - top - height;
    for (int k = 0; k < height; ++k) rows[k] = bottom + k;
    return RenderSampled(which, cols, rows);
}

bool DisplayComposer::RenderBands(
    Picture which, int left, int top, int width, int height, int bandRows,
    const std::function<void(const ImageBuffer& band, int firstRow)>& sink) const {
    const Recipe& recipe = recipes_[which];
    if (width <= 0 || height <= 0 || bandRows <= 0 || left < 0 || top < 0 ||
        left > recipe.width - width || top > recipe.height - height)
        return false;
    const bool two = recipe.kind != Kind::View;
    if (recipe.kind == Kind::None || !recipe.first.Unchanged() ||
        (two && !recipe.second.Unchanged()))
        return false;
    std::vector<int> cols(static_cast<std::size_t>(width));
    for (int j = 0; j < width; ++j) cols[j] = left + j;
    const int bands = (height + bandRows - 1) / bandRows;
    ParallelRows(bands, std::int64_t{width} * height, [&](int begin, int end) {
        std::vector<int> rows;
        for (int band = begin; band < end; ++band) {
            const int first = band * bandRows;
            const int count = std::min(bandRows, height - first);
            // Part rows first … first + count − 1 from the top are these stored rows.
            const int bottom = recipe.height - top - first - count;
            rows.resize(static_cast<std::size_t>(count));
            for (int k = 0; k < count; ++k) rows[k] = bottom + k;
            const ImageBuffer part = RenderSampled(which, cols, rows);
            if (part) sink(part, first);
        }
    });
    return true;
}

ImageBuffer DisplayComposer::RenderSampled(Picture which, std::span<const int> cols,
                                           std::span<const int> storedRows) const {
    const Recipe& recipe = recipes_[which];
    if (recipe.kind == Kind::None || cols.empty() || storedRows.empty()) return {};
    const bool two = recipe.kind != Kind::View;
    if (!recipe.first.Unchanged() || (two && !recipe.second.Unchanged())) return {};
    for (const int c : cols)
        if (c < 0 || c >= recipe.width) return {};
    for (const int r : storedRows)
        if (r < 0 || r >= recipe.height) return {};
    const int n = static_cast<int>(cols.size());
    const int m = static_cast<int>(storedRows.size());

    // The source columns of the picked picture columns.
    auto pick = [](const std::vector<int>& walk, std::span<const int> at) {
        std::vector<int> out(at.size());
        for (std::size_t i = 0; i < at.size(); ++i) out[i] = walk[static_cast<std::size_t>(at[i])];
        return out;
    };
    const std::vector<int> firstCols = pick(recipe.firstCols, cols);
    const std::vector<int> secondCols = two ? pick(recipe.secondCols, cols) : std::vector<int>();

    if (recipe.kind == Kind::Interlace) {
        ImageBuffer out = CreateImageForOverwrite(n, m, 24);
        if (!out) return out;
        const bool blackTop = recipe.height % 2 != 0;
        for (int k = 0; k < m; ++k) {
            const int s = storedRows[k];
            if (blackTop && s == recipe.height - 1) {
                std::memset(out.StoredRow(k), 0, static_cast<std::size_t>(n) * 3);
            } else if (s % 2 == 0) {
                const int row = recipe.firstRows[s];
                GatherTrueColour(*recipe.first.image, firstCols, {&row, 1}, out, 0, k);
            } else {
                const int row = recipe.secondRows[s - 1];
                GatherTrueColour(*recipe.second.image, secondCols, {&row, 1}, out, 0, k);
            }
        }
        return out;
    }

    ImageBuffer a = CreateImageForOverwrite(n, m, 24);
    if (!a) return a;
    GatherTrueColour(*recipe.first.image, firstCols, pick(recipe.firstRows, storedRows), a, 0, 0);
    if (!two) return a;
    ImageBuffer b = CreateImageForOverwrite(n, m, 24);
    if (!b) return b;
    GatherTrueColour(*recipe.second.image, secondCols, pick(recipe.secondRows, storedRows), b, 0,
                     0);
    // Every combination is pixel by pixel, so the part combined is the part of the whole.
    switch (recipe.kind) {
        case Kind::Blend:
            return ComposeBlend(a, b);
        case Kind::Anaglyph:
            return recipe.method->compose(a, b, CommonArea{}, recipe.tables);
        default:
            return {};
    }
}

const ImageBuffer& DisplayComposer::Get(Picture which) const {
    ImageBuffer& whole = whole_[which];
    if (!whole && recipes_[which].kind != Kind::None)
        whole = Render(which, 0, 0, recipes_[which].width, recipes_[which].height);
    return whole;
}

bool DisplayComposer::ModePicturesPresent(DisplayMode mode) const {
    const DisplayModeRow* row = FindDisplayMode(mode);
    if (!row) return false;
    switch (row->panes) {
        case ViewPanes::SideBySide:
        case ViewPanes::OverUnder:
            return Has(kFirstView) && Has(kSecondView);
        case ViewPanes::ThreeViews:
            return Has(kFirstView) && Has(kSecondView) && Has(kComposite);
        case ViewPanes::One:
            return Has(kComposite);
    }
    return false;
}

}  // namespace duplora
