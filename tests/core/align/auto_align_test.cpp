#include "core/align/auto_align.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <set>
#include <utility>
#include <vector>

namespace duplora {
namespace {

TEST(MapPoint, WorkedOutValues) {
    // (10, −10) from the centre, doubled by the 50 % size: (120, 30); at 30 %,
    // (−10, −10) × 100 / 30 = −33.3 → −33, toward zero.
    EXPECT_EQ(MapPointBack(110, 40, 200, 100, 0, 50), (GuidePoint{120, 30}));
    EXPECT_EQ(MapPointBack(90, 40, 200, 100, 0, 30), (GuidePoint{67, 17}));
    // (50, −53) turned by 5.7°: (55.02, −47.77).
    EXPECT_EQ(MapPointBack(160, 20, 220, 146, 57, 100), (GuidePoint{165, 26}));
    // Turned by −30°: (16.80, −70.90), then × 100 / 80: (21, −88).
    EXPECT_EQ(MapPointBack(160, 20, 220, 146, -300, 80), (GuidePoint{130, -14}));
    // Turned by 30°: (69.80, −20.90) → (69, −20) × 80 / 100 = (55, −16).
    EXPECT_EQ(MapPointForward(160, 20, 220, 146, 300, 80), (GuidePoint{165, 57}));
    // A size of 0 shrinks everything onto the centre and has no inverse.
    EXPECT_EQ(MapPointForward(7, 9, 200, 100, 123, 0), (GuidePoint{100, 50}));
    EXPECT_FALSE(MapPointBack(10, 10, 200, 100, 0, 0));
    EXPECT_FALSE(MapPointBack(10, 10, 200, 100, 57, -20));
    // Extreme coordinates do not overflow.
    EXPECT_EQ(MapPointBack(2000000000, -2000000000, 100, 100, 450, 1)->x, INT_MAX);
    EXPECT_EQ(MapPointForward(-2000000000, 2000000000, 100, 100, 0, 1 << 30),
              (GuidePoint{INT_MIN, INT_MAX}));
}

TEST(MapPoint, ForwardUndoesBackWithinTheTruncation) {
    // The guide line goes back into the base with −rotation and comes forward into the
    // corrected preview with +rotation; four truncations lose at most a few pixels.
    for (int rotation : {-450, -57, 0, 123})
        for (int size : {50, 80, 125})
            for (int x = 0; x < 220; x += 7)
                for (int y = 0; y < 146; y += 5) {
                    const auto b = MapPointBack(x, y, 220, 146, -rotation, size);
                    ASSERT_TRUE(b);
                    const GuidePoint f = MapPointForward(b->x, b->y, 220, 146, rotation, size);
                    ASSERT_LE(std::abs(f.x - x), 4) << rotation << " " << size;
                    ASSERT_LE(std::abs(f.y - y), 4) << rotation << " " << size;
                }
}

using Pixel = std::pair<int, int>;  // (x, stored row)

std::set<Pixel> WhitePixels(const ImageBuffer& grey) {
    std::set<Pixel> white;
    for (int r = 0; r < grey.Height(); ++r)
        for (int x = 0; x < grey.Width(); ++x)
            if (grey.StoredRow(r)[x] == 255) white.insert({x, r});
    return white;
}

TEST(DrawGuideLine, TwoPixelsThickAlongBothAxesStoppingAtTheEdges) {
    ImageBuffer grey = CreateImage(8, 6, 8);
    // Rows h − y − 2: (1, 1) → row 3, (5, 3) → row 1. Along x, rows 3 + (i·−2)/4 for
    // i = 0…3: 3, 3, 2, 2, each with the row above; along the rows, columns 5 + (i·−4)/2
    // for i = 0, 1: 5, 3, each with the column to the right.
    ASSERT_TRUE(DrawGuideLine(grey, 1, 1, 5, 3));
    const std::set<Pixel> expected = {{1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 2},
                                      {3, 3}, {4, 2}, {4, 3}, {5, 1}, {6, 1}};
    EXPECT_EQ(WhitePixels(grey), expected);
    // The same line drawn from the other end gives the same pixels.
    ImageBuffer other = CreateImage(8, 6, 8);
    ASSERT_TRUE(DrawGuideLine(other, 5, 3, 1, 1));
    EXPECT_EQ(WhitePixels(other), expected);
    // y = −1 is the top row (row h − 1): the doubling row above it does not exist. The
    // last column has no right neighbour for the doubling along the rows.
    ImageBuffer top = CreateImage(8, 6, 8);
    ASSERT_TRUE(DrawGuideLine(top, 0, -1, 7, -1));
    for (int x = 0; x < 7; ++x) EXPECT_EQ(top.StoredRow(5)[x], 255) << x;
    ImageBuffer steep = CreateImage(8, 6, 8);
    ASSERT_TRUE(DrawGuideLine(steep, 7, -1, 7, 4));
    EXPECT_EQ(WhitePixels(steep), (std::set<Pixel>{{7, 0}, {7, 1}, {7, 2}, {7, 3}, {7, 4}}));
}

TEST(DrawGuideLine, RefusesEndsOutsideThePicture) {
    // 8 × 6: x in 0 … 7, y in −1 … 4 (rows 6 − y − 2 in 0 … 5).
    for (const auto& [x1, y1, x2, y2] : {std::tuple{-1, 1, 5, 3},
                                         {1, 1, 8, 3},
                                         {1, 5, 5, 3},
                                         {1, 1, 5, -2},
                                         {1, 100000, 5, 3},
                                         {-2147483647, 0, 0, 0}}) {
        ImageBuffer grey = CreateImage(8, 6, 8);
        EXPECT_FALSE(DrawGuideLine(grey, x1, y1, x2, y2)) << x1 << "," << y1;
        EXPECT_TRUE(WhitePixels(grey).empty());
    }
    ImageBuffer none, colour = CreateImage(8, 6, 24);
    EXPECT_FALSE(DrawGuideLine(none, 1, 1, 5, 3));
    EXPECT_FALSE(DrawGuideLine(colour, 1, 1, 5, 3));
}

GuideLine Drawn(int x1, int y1, int x2, int y2) {
    return GuideLine{GuideLine::kDrawing, x1, y1, x2, y2};
}

TEST(FinishGuideLine, AddsBackWhatTheOffsetCutUndoesTurnAndSizeAndBurnsTheLine) {
    ImageBuffer burnt = CreateImage(220, 146, 8);
    GuideLineView plain{false, 0, 0, 220, 146, 0, 100};
    EXPECT_EQ(FinishGuideLine(Drawn(10, 50, 110, 40), plain, burnt),
              (GuideLine{GuideLine::kSet, 10, 50, 110, 40}));
    // Rows 94 … 104 from column 10; the last step along x ends at column 109.
    EXPECT_EQ(burnt.StoredRow(94)[10], 255);
    EXPECT_EQ(burnt.StoredRow(104)[109], 255);
    // Left view: + max(dx, 0), + max(−dy, 0); right view: + max(−dx, 0), + max(dy, 0).
    for (const auto& [right, dx, dy, x, y] : {std::tuple{false, 7, -5, 17, 55},
                                              {false, -7, 5, 10, 50},
                                              {true, -7, 5, 17, 55},
                                              {true, 7, -5, 10, 50}}) {
        ImageBuffer base = CreateImage(220, 146, 8);
        const GuideLine set =
            FinishGuideLine(Drawn(10, 50, 110, 40), {right, dx, dy, 220, 146, 0, 100}, base);
        EXPECT_EQ((std::tuple{set.state, set.x1, set.y1}), (std::tuple{GuideLine::kSet, x, y}))
            << right << dx;
    }
    // A view shown turned by +3.0° and at 80 %: the drawn ends go back by −3.0°.
    ImageBuffer base = CreateImage(220, 146, 8);
    const auto a = MapPointBack(160, 20, 220, 146, -30, 80),
               b = MapPointBack(60, 120, 220, 146, -30, 80);
    EXPECT_EQ(FinishGuideLine(Drawn(160, 20, 60, 120), {false, 0, 0, 220, 146, 30, 80}, base),
              (GuideLine{GuideLine::kSet, a->x, a->y, b->x, b->y}));
}

TEST(FinishGuideLine, DropsClicksLinesOutsideAndZeroSize) {
    const GuideLine gone;
    ImageBuffer base = CreateImage(220, 146, 8);
    GuideLineView view{false, 0, 0, 220, 146, 0, 100};
    EXPECT_EQ(FinishGuideLine(Drawn(50, 50, 53, 47), view, base), gone);  // within 3 pixels
    EXPECT_EQ(FinishGuideLine(Drawn(50, 50, 54, 50), view, base).state, GuideLine::kSet);
    ImageBuffer clean = CreateImage(220, 146, 8);
    EXPECT_EQ(FinishGuideLine(Drawn(50, 50, 300, 50), view, clean), gone);  // outside the base
    EXPECT_TRUE(WhitePixels(clean).empty());
    GuideLineView zero{false, 0, 0, 220, 146, 0, 0};
    EXPECT_EQ(FinishGuideLine(Drawn(10, 10, 100, 100), zero, clean), gone);
    ImageBuffer none;
    EXPECT_EQ(FinishGuideLine(Drawn(10, 10, 100, 100), view, none), gone);
    // Only a line being drawn is finished.
    const GuideLine set{GuideLine::kSet, 1, 2, 3, 4};
    EXPECT_EQ(FinishGuideLine(set, view, clean), set);
}

TEST(LevellingRotationSlot, SlotTurnsTheLineLevel) {
    const struct {
        int x1, y1, x2, y2, slot;
    } cases[] = {{10, 50, 110, 40, 957},   // atan2(10, 100) = 5.71°
                 {110, 40, 10, 50, 957},   // drawn from the right end
                 {10, 40, 110, 50, 843},   // falling: −5.71°
                 {10, 200, 110, 27, 599},  // 59.97° turns the other way by 30.03° (1499 − 900)
                 // exactly 45° (450.0000000000005) stays; 45.28° wraps to −44.72°
                 {0, 100, 100, 0, 1350},
                 {0, 100, 100, -1, 452},
                 // vertical: ±90° wraps to no turn, whichever end was first
                 {50, 10, 50, 100, 900},
                 {50, 100, 50, 10, 900}};
    for (const auto& c : cases)
        EXPECT_EQ(LevellingRotationSlot(GuideLine{GuideLine::kSet, c.x1, c.y1, c.x2, c.y2}), c.slot)
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
}

// Both lines set; a 1824-pixel view in a 220-pixel preview (zoom 12).
const GuideLine kLeft{GuideLine::kSet, 10, 50, 110, 40}, kRight{GuideLine::kSet, 20, 60, 120, 55};
AutoAlignInput TwoLines() {
    return {0, false, kLeft, kRight, 220, 146, 12, 911, 888, 100, 110, 900, 700, 1824, 1367};
}

TEST(AutoAlign, BothViewsLevelledAndStartsMatched) {
    const AutoAlignResult r = AutoAlign(TwoLines());
    EXPECT_TRUE(r.leftLevelled && r.rightLevelled && r.pairMoved);
    // atan2(5, 100) = 2.86° on the right; (13 − 13)·100 / 12 + 912 and
    // (41 − 55)·100 / 12 = −116.7 → −116, + 683.
    EXPECT_EQ((std::vector{r.rotationLeft, r.rotationRight, r.positionX, r.positionY}),
              (std::vector{957, 928, 912, 567}));
    // The levelled lines' ends lie on one preview row each.
    EXPECT_EQ((std::vector{r.leftStart, r.leftEnd, r.rightStart, r.rightEnd}),
              (std::vector<GuidePoint>{{13, 41}, {113, 41}, {13, 55}, {121, 55}}));
}

// Which slots change, by view mode and by what is missing. Untouched slots keep the
// input values 911, 888, 900, 700.
TEST(AutoAlign, SlotsTouchedByModeAndLines) {
    const struct {
        const char* name;
        std::function<void(AutoAlignInput&)> change;
        int rotationLeft, rotationRight, positionX, positionY;
    } cases[] = {
        {"left view only", [](AutoAlignInput& in) { in.viewMode = 1; }, 957, 888, 900, 700},
        {"right view only", [](AutoAlignInput& in) { in.viewMode = 2; }, 911, 928, 900, 700},
        {"unknown mode", [](AutoAlignInput& in) { in.viewMode = 7; }, 911, 888, 900, 700},
        {"full size", [](AutoAlignInput& in) { in.fullSize = true; }, 911, 888, 900, 700},
        {"no left line", [](AutoAlignInput& in) { in.left = GuideLine{}; }, 911, 888, 900, 700},
        {"no right line: left levelled, pair stays", [](AutoAlignInput& in) { in.right.x1 = -1; },
         957, 888, 900, 700},
        // Reset keeps the points: a line whose state went back to 0 still counts.
        {"reset left line", [](AutoAlignInput& in) { in.left.state = GuideLine::kNone; }, 957, 928,
         912, 567},
        {"zoom 0 cannot be scaled back", [](AutoAlignInput& in) { in.zoom = 0; }, 957, 928, 900,
         700},
        // At 1 % the 14-pixel difference is 1400 pixels: 683 − 1400 stays at 0.
        {"kept in range below", [](AutoAlignInput& in) { in.zoom = 1; }, 957, 928, 912, 0},
        // Level lines; the right start comes forward to (11, −7): (10 − 11)·100 + 912 and
        // (140 + 7)·100 + 683, kept at the top of the range.
        {"kept in range above",
         [](AutoAlignInput& in) {
             in.zoom = 1;
             in.left = GuideLine{GuideLine::kSet, 10, 140, 110, 140};
             in.right = GuideLine{GuideLine::kSet, 20, 0, 120, 0};
         },
         900, 900, 812, 1367},
    };
    for (const auto& c : cases) {
        AutoAlignInput in = TwoLines();
        c.change(in);
        const AutoAlignResult r = AutoAlign(in);
        EXPECT_EQ((std::vector{r.rotationLeft, r.rotationRight, r.positionX, r.positionY}),
                  (std::vector{c.rotationLeft, c.rotationRight, c.positionX, c.positionY}))
            << c.name;
        EXPECT_EQ(r.leftLevelled, r.rotationLeft != 911) << c.name;
        EXPECT_EQ(r.pairMoved, r.positionY != 700) << c.name;
    }
}

}  // namespace
}  // namespace duplora
