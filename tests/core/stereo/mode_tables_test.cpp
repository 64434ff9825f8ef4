// The display-mode and anaglyph-method tables: what the menus, the settings, the stored
// lists and the converter rely on, and each row's composition agreeing with its row.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/display_modes.h"
#include "stereo_test_util.h"

namespace duplora {
namespace {

using M = DisplayMode;

TEST(DisplayModeTable, NumbersKeysAndCommandsAreUniqueAndListPositionsAreTheStoredOnes) {
    std::set<int> numbers;
    std::set<std::string_view> keys;
    std::set<CommandId> commands;
    for (const DisplayModeRow& row : DisplayModeTable()) {
        EXPECT_TRUE(numbers.insert(static_cast<int>(row.mode)).second) << row.key;
        EXPECT_TRUE(keys.insert(row.key).second) << row.key;
        EXPECT_EQ(FindDisplayMode(row.mode), &row);
        EXPECT_EQ(DisplayModeByKey(row.key), &row);
        // A mode with a command has a menu item; the single picture has neither.
        EXPECT_EQ(row.command == CmdNone, row.menuText.empty()) << row.key;
        if (row.command == CmdNone) continue;
        EXPECT_TRUE(commands.insert(row.command).second) << row.key;
        EXPECT_EQ(DisplayModeByCommand(row.command), &row);
    }
    EXPECT_EQ(DisplayModeByCommand(CmdNone), nullptr);
    EXPECT_EQ(FindDisplayMode(static_cast<DisplayMode>(2)), nullptr);
    EXPECT_EQ(DisplayModeByKey("3d"), nullptr);
    // The start display, the show type and the batch layout store these positions; 5 is
    // page flipping there, which is an output of its own.
    const DisplayMode listed[] = {M::SideBySide, M::OverUnder, M::Interlace, M::GreyAnaglyph,
                                  M::ColourAnaglyph};
    ASSERT_EQ(ListedDisplayModes().size(), std::size(listed));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(DisplayModeAtListIndex(i), listed[i]);
        EXPECT_EQ(ListedDisplayModes()[i]->listIndex, i);
    }
    EXPECT_EQ(DisplayModeAtListIndex(5), std::nullopt);
    EXPECT_EQ(DisplayModeAtListIndex(-1), std::nullopt);
}

// The picture each row composes has the shape its frame halves describe: two views side by
// side, over/under, or one picture the size of a view.
TEST(DisplayModeTable, EachCompositionHasTheShapeOfItsHalves) {
    const ImageBuffer a = test::MakeNoise(7, 5, 1), b = test::MakeNoise(7, 5, 2), none;
    const AnaglyphChoice anaglyph{GreyAnaglyphPair::RedBlue, ColourAnaglyphKind::HalfToneRedCyan,
                                  BuildAnaglyphTables(100, 100)};
    for (const DisplayModeRow& row : DisplayModeTable()) {
        const ImageBuffer out =
            test::Made(row.compose(a, row.needsSecondView ? b : none, {}, anaglyph));
        ASSERT_TRUE(out) << row.key;
        const int across = row.halves == PictureHalves::SideBySide ? 2 : 1;
        const int down = row.halves == PictureHalves::OverUnder ? 2 : 1;
        // The half-size outputs halve each view along the axis they are joined on.
        const int width = row.mode == DisplayMode::HalfSideBySide ? 2 * (7 / 2) : 7 * across;
        const int height = row.mode == DisplayMode::HalfOverUnder ? 2 * (5 / 2) : 5 * down;
        EXPECT_EQ(std::pair(out.Width(), out.Height()), std::pair(width, height)) << row.key;
    }
}

TEST(AnaglyphMethodTable, MethodsAreNumberedInMenuOrderWithUniqueKeysAndCommands) {
    std::set<std::string_view> keys;
    std::set<CommandId> commands;
    for (const DisplayModeRow& row : DisplayModeTable()) commands.insert(row.command);
    for (const DisplayMode mode : {M::GreyAnaglyph, M::ColourAnaglyph}) {
        const auto methods = AnaglyphMethodsOf(mode);
        ASSERT_FALSE(methods.empty());
        for (std::size_t i = 0; i < methods.size(); ++i) {
            const AnaglyphMethodRow& row = methods[i];
            EXPECT_EQ(row.mode, mode);
            // Stored numbers run 0, 1, … in menu order.
            EXPECT_EQ(row.number, static_cast<int>(i)) << row.key;
            EXPECT_TRUE(keys.insert(row.key).second) << row.key;
            EXPECT_TRUE(commands.insert(row.command).second) << row.key;
            EXPECT_FALSE(row.menuText.empty());
            EXPECT_EQ(AnaglyphMethodByCommand(row.command), &row);
            EXPECT_EQ(AnaglyphMethodByKey(mode, row.key), &row);
        }
    }
    EXPECT_EQ(AnaglyphMethodTable().size(), AnaglyphMethodsOf(M::GreyAnaglyph).size() +
                                                AnaglyphMethodsOf(M::ColourAnaglyph).size());
    EXPECT_TRUE(AnaglyphMethodsOf(M::SideBySide).empty());
    // A key names a method of its own mode only.
    EXPECT_EQ(AnaglyphMethodByKey(M::ColourAnaglyph, "red-cyan"), nullptr);
    EXPECT_EQ(GreyAnaglyphPairFromNumber(3), GreyAnaglyphPair::YellowBlue);
    EXPECT_EQ(GreyAnaglyphPairFromNumber(4), std::nullopt);
    EXPECT_EQ(ColourAnaglyphKindFromNumber(-1), std::nullopt);
    EXPECT_EQ(ChosenAnaglyphMethod(M::ColourAnaglyph, GreyAnaglyphPair::RedBlue,
                                   ColourAnaglyphKind::ColourYellowBlue)
                  ->command,
              CmdColourYellowBlue);
    EXPECT_EQ(ChosenAnaglyphMethod(M::Interlace, {}, {}), nullptr);
}

}  // namespace
}  // namespace duplora
