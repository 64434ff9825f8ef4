// The adjustment dialogs' values without their window: the ten values (rotation, perspective,
// size and position of the two views) with their ranges, labels and linking, the lens table,
// the stored "Werte speichern" text, and what OK does to the pair — each view corrected with
// CorrectionTransform and its size change, both views at once on the worker pool.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/align/correction.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

enum AdjustSlot : int {
    kRotationLeft = 0,
    kRotationRight = 1,
    kPerspectiveVLeft = 2,
    kPerspectiveVRight = 3,
    kPerspectiveHLeft = 4,
    kPerspectiveHRight = 5,
    kSizeLeft = 6,
    kSizeRight = 7,
    kPositionX = 8,
    kPositionY = 9,
};
inline constexpr int kAdjustSlotCount = 10;
inline constexpr int kAngleSlotRange = 1800;  // ±90.0 degrees in tenths
inline constexpr int kSizeSlotRange = 200;    // 0 … 200 percent

// Control ids of slot s: its scroll bar, its value label and its "Löschen" button.
inline constexpr int SlotScrollBarId(int slot) {
    return 3013 + slot;
}
inline constexpr int SlotLabelId(int slot) {
    return 3024 + slot;
}
inline constexpr int SlotResetId(int slot) {
    return 3034 + slot;
}

// The slot that moves with `slot` while the rotations are linked; −1 for none.
int LinkedSlot(int slot);

// Scroll positions of the ten values. A slot's centre (range / 2) means no correction.
struct AdjustmentSlots {
    std::array<int, kAdjustSlotCount> value{};
    std::array<int, kAdjustSlotCount> range{};

    int Centre(int slot) const { return range[slot] / 2; }
    int Signed(int slot) const { return value[slot] - Centre(slot); }
    // Moves a slot (clamped to 0 … range); with `link`, its partner follows (rotations
    // together, perspectives mirrored). Returns the values whose value changed.
    std::vector<int> Set(int slot, int position, bool link);
    // Back to the centre, with the partner when linked.
    std::vector<int> Reset(int slot, bool link);
};

// Opening values for a left view of width × height and the pair's offset (dx, dy).
AdjustmentSlots StartAdjustmentSlots(int width, int height, int dx, int dy);

struct AdjustmentOffset {
    int dx = 0;
    int dy = 0;
    friend bool operator==(const AdjustmentOffset&, const AdjustmentOffset&) = default;
};
// The pair's offset the position values stand for.
AdjustmentOffset OffsetFromSlots(const AdjustmentSlots& values);

// What the slot's label shows: degrees for angles, percent for sizes, pixels for positions.
std::string SlotLabelText(const AdjustmentSlots& values, int slot);

// One view's corrections: angles in signed tenths of a degree, size change in percent.
struct CorrectionSet {
    int rotation = 0;
    int perspectiveV = 0;
    int perspectiveH = 0;
    int sizeDelta = 0;
    bool IsZero() const {
        return rotation == 0 && perspectiveV == 0 && perspectiveH == 0 && sizeDelta == 0;
    }
    friend bool operator==(const CorrectionSet&, const CorrectionSet&) = default;
};
CorrectionSet CorrectionOf(const AdjustmentSlots& values, bool right);

// The lens choice "Brennweite:" and the half field of view each stands for.
struct Lens {
    const char* text;
    int halfFieldOfView;  // tenths of a degree
};
std::span<const Lens> LensTable();
inline constexpr int kDefaultLens = 3;

// "Werte speichern": the signed values of values 0, 1, 6, 7, 8, 9, 2, 3, 4, 5, each followed
// by a comma.
std::string FormatStoredAdjustment(const AdjustmentSlots& values);
// "Werte wiederherstellen": the numbers of such a text put back in the same order about
// the values' centres, up to the first one missing. Returns the values set.
std::vector<int> RestoreStoredAdjustment(AdjustmentSlots& values, std::string_view text);

// What the dialog hands back on OK.
struct AdjustmentResult {
    AdjustmentOffset offset;
    CorrectionSet left, right;
    int halfFieldOfView = kDefaultHalfFieldOfView;
};

// ---- applying -----------------------------------------------------------------------------

// The steps CorrectView takes for `set`.
int CorrectionStepCount(const CorrectionSet& set);

// One view corrected at its own size W × H: a larger size is cut centred from the corrected,
// enlarged picture; a smaller one is shrunk first and corrected onto the black W × H canvas.
// Empty when a step fails or `progress` is cancelled. `stepDone` is called after each step;
// the transform and the resizing report to `progress` (writing), each from 0 to 100 %.
ImageBuffer CorrectView(const ImageBuffer& view, const CorrectionSet& set, int halfFieldOfView,
                        const std::function<void()>& stepDone = {},
                        const Progress& progress = NoProgress());

struct CorrectedPair {
    ImageBuffer left;
    ImageBuffer right;
};
// Both views at once on the worker pool (the calling thread does the right one); a view
// whose correction fails comes back as an unchanged copy, and so do both when `progress`
// is cancelled. `progress` hears on the calling thread how much of all the steps of the
// pair is done (writing).
CorrectedPair CorrectPair(const ImageBuffer& left, const ImageBuffer& right,
                          const AdjustmentResult& result, const Progress& progress = NoProgress());

}  // namespace duplora
