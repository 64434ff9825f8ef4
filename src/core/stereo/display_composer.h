// The display composer: keeps the pictures the view window paints — the composite, the
// prepared first view and the prepared second view — and the window title and status-bar
// texts that go with them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/image/image_buffer.h"
#include "core/stereo/compose.h"

namespace duplora {

struct DisplayTexts {
    std::string title;
    std::array<std::string, 3> status;  // size after alignment, offset, size and zoom
};

class DisplayComposer {
  public:
    // Pane numbers of the view window: 0 the composite (or the centre of three views),
    // 1 the left and 2 the right picture.
    enum Picture { kComposite = 0, kFirstView = 1, kSecondView = 2 };

    // Rebuilds all three pictures for the input's mode, zoom and offset and rewrites the
    // texts. True when the pictures the mode shows could all be made.
    bool ComposeForDisplay(const CompositionInput& input);

    // Same result after a change of the offset alone: in the interlace and anaglyph modes
    // without panorama only the composite is rebuilt from the views scaled before.
    bool RecomposeAfterOffset(const CompositionInput& input);

    // Title and status texts for the input and the pictures held now, without
    // recomposing (after edits, while page flipping runs); also kept as Texts().
    const DisplayTexts& RefreshCaptionAndStatus(const CompositionInput& input);

    const DisplayTexts& Texts() const { return texts_; }
    const ImageBuffer& Get(Picture which) const { return pictures_[which]; }
    const ImageBuffer& Composite() const { return pictures_[kComposite]; }
    const ImageBuffer& FirstView() const { return pictures_[kFirstView]; }
    const ImageBuffer& SecondView() const { return pictures_[kSecondView]; }

    // Frees the three pictures.
    void Clear();

  private:
    // What the scaled whole views of the interlace and anaglyph modes were made from.
    struct ScaledSource {
        const std::uint8_t* first = nullptr;
        const std::uint8_t* second = nullptr;
        int firstWidth = 0, firstHeight = 0, secondWidth = 0, secondHeight = 0;
        int zoomPercent = 0;
        bool valid = false;
        friend bool operator==(const ScaledSource&, const ScaledSource&) = default;
    };
    static ScaledSource SourceOf(const CompositionInput& input);
    void ComposeOffsetComposite(const CompositionInput& input);
    bool ModePicturesPresent(DisplayMode mode) const;

    std::array<ImageBuffer, 3> pictures_;
    ScaledSource scaled_;
    DisplayTexts texts_;
};

}  // namespace duplora
