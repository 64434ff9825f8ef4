// The display composer: keeps the pictures the view window paints — the composite, the
// prepared first view and the prepared second view.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/image/image_buffer.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/anaglyph_tables.h"
#include "core/stereo/compose.h"

namespace duplora {

// The pictures are not kept as pixels: each is a recipe over the two views (which source
// pixel every picture pixel comes from, and how the two are combined), and pixels are made
// only for the part that is asked for — the visible part of a pane, a thumbnail. The views
// given to a composition must stay alive until the next composition or Clear; a view that
// has been replaced or freed since (different pixel block or size) gives no pixels.
class DisplayComposer {
  public:
    // Pane numbers of the view window: 0 the composite (or the centre of three views),
    // 1 the left and 2 the right picture.
    enum Picture { kComposite = 0, kFirstView = 1, kSecondView = 2 };

    // Rebuilds all three pictures for the input's mode, zoom and offset. True when the
    // pictures the mode shows could all be made.
    bool ComposeForDisplay(const CompositionInput& input);

    // Same result after a change of the offset alone: in the interlace and anaglyph modes
    // without panorama only the composite is rebuilt; the scaled views stay.
    bool RecomposeAfterOffset(const CompositionInput& input);

    // Whether picture `which` exists, and its size (0 × 0 when not).
    bool Has(Picture which) const { return recipes_[which].kind != Kind::None; }
    int Width(Picture which) const { return recipes_[which].width; }
    int Height(Picture which) const { return recipes_[which].height; }
    // Changes with every composition and Clear: what was made from the pictures before is
    // out of date when it differs.
    std::uint64_t Generation() const { return generation_; }

    // The part [left, left + width) × [top, top + height) of picture `which` (rows counted
    // from the top), as a 24-bit picture of that size. None when the part does not lie
    // inside the picture, or the views have changed since the composition.
    ImageBuffer Render(Picture which, int left, int top, int width, int height) const;
    // The same part made in bands of at most `bandRows` rows, each handed to
    // sink(band, firstRow) as a 24-bit picture `width` wide with firstRow counted from the
    // part's top. Bands stay small enough for the processor's cache, and are made on all
    // cores at once: the sink is called from several threads, each time for other rows.
    // False (and no call) where Render gives none.
    bool RenderBands(Picture which, int left, int top, int width, int height, int bandRows,
                     const std::function<void(const ImageBuffer& band, int firstRow)>& sink) const;
    // Picked pixels of picture `which`: the result's column j is picture column cols[j] and
    // its stored row k (from the bottom) is picture stored row storedRows[k].
    ImageBuffer RenderSampled(Picture which, std::span<const int> cols,
                              std::span<const int> storedRows) const;

    // The whole picture, made on first use and kept until the next composition. For tools
    // and tests; the view paints with Render, which never makes more than it shows.
    const ImageBuffer& Get(Picture which) const;
    const ImageBuffer& Composite() const { return Get(kComposite); }
    const ImageBuffer& FirstView() const { return Get(kFirstView); }
    const ImageBuffer& SecondView() const { return Get(kSecondView); }

    // Forgets the three pictures.
    void Clear();

  private:
    enum class Kind { None, View, Blend, Interlace, Anaglyph };

    // A view as it was when the recipe was made.
    struct Source {
        const ImageBuffer* image = nullptr;
        const std::uint8_t* data = nullptr;
        int width = 0, height = 0, bits = 0;
        bool Unchanged() const;
    };

    // One picture: for every picture column and stored row, the source column and row of
    // each contributing view. In the interlace picture, even stored rows s come from the
    // first view's row firstRows[s], odd ones from the second view's row secondRows[s − 1],
    // and with an odd height the top row is black.
    struct Recipe {
        Kind kind = Kind::None;
        int width = 0, height = 0;
        Source first, second;
        std::vector<int> firstCols, firstRows, secondCols, secondRows;
        const AnaglyphMethodRow* method = nullptr;  // the anaglyph's
        AnaglyphTables tables{};
    };

    static Source SourceFor(const ImageBuffer& view);
    static Recipe ViewRecipe(const ImageBuffer& view, int refWidth, int refHeight,
                             const CommonArea& area, bool second, bool panorama);
    void ComposeOffsetComposite(const CompositionInput& input);
    bool ModePicturesPresent(DisplayMode mode) const;
    void Forget(Picture which);

    std::array<Recipe, 3> recipes_;
    mutable std::array<ImageBuffer, 3> whole_;
    // The views and zoom the scaled views of the interlace and anaglyph modes were made for.
    struct ScaledSource {
        const std::uint8_t* first = nullptr;
        const std::uint8_t* second = nullptr;
        int firstWidth = 0, firstHeight = 0, secondWidth = 0, secondHeight = 0;
        int zoomPercent = 0;
        bool valid = false;
        friend bool operator==(const ScaledSource&, const ScaledSource&) = default;
    };
    static ScaledSource ScaledSourceOf(const CompositionInput& input);
    ScaledSource scaled_;
    std::uint64_t generation_ = 0;
};

}  // namespace duplora
