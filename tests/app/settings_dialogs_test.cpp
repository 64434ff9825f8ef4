#include "app/shell/settings_dialogs.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace duplora {
namespace {

const std::string kFolder = "/opt/duplora";

std::vector<std::string> Names(const SettingWrites& writes) {
    std::vector<std::string> names;
    for (const auto& w : writes) names.push_back(w.first);
    return names;
}

// What the next start reads when the writes land on a store that held `before`.
Settings NextStart(const Settings& before, const SettingWrites& writes) {
    std::map<std::string, std::string> stored;
    for (const auto& [name, text] : AllSettingWrites(before)) stored[name] = text;
    for (const auto& [name, text] : writes) stored[name] = text;
    return ParseSettings([&](std::string_view name) { return stored[std::string(name)]; }, kFolder);
}

// Clamped at both ends, or the step that opens LZW (and the number just beside it).
TEST(Settei, AlignmentStepIsClampedOrOpensLzw) {
    const struct {
        int entered, step;
        bool lzw;
    } cases[] = {{500, 100, false}, {0, 1, false}, {3947, 4, true}, {3946, 100, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entered);
        Settings s = DefaultSettings(kFolder);
        SetteiState state = SetteiStateFromSettings(s);
        state.alignmentStep = c.entered;
        const SetteiResult r = ApplySetteiOk(s, state);
        EXPECT_EQ(s.nAdjustv, c.step);
        EXPECT_EQ(r.lzwSwitchedOn, c.lzw);
        EXPECT_EQ(LzwTiffAllowed(s), c.lzw);
        std::vector<std::string> expected{"Susie32Plugin", "GaibuFile", "SlideTime"};
        if (c.lzw) expected.push_back("special");
        for (const char* n :
             {"nAdjustv", "nWinMax", "GaibuHiki", "nWaku", "nTrimress", "nWcent", "TrimingSize"})
            expected.push_back(n);
        EXPECT_EQ(Names(r.writes), expected);
        // What is used now is what the next start reads.
        EXPECT_EQ(NextStart(DefaultSettings(kFolder), r.writes), s);
    }
}

TEST(Settei, OkTakesOverEveryControl) {
    Settings s = DefaultSettings(kFolder);
    const Settings before = s;
    SetteiState state = SetteiStateFromSettings(s);
    state.susie32Plugin = "/home/u/spi";
    state.gaibuFile = "";
    state.slideTime = 4000;
    state.winMax = true;
    state.gaibuHiki = true;
    state.waku = 150;
    state.trimRescale = true;
    state.packToCentre = true;
    state.trimSizes = {320, 240, 0, -5, 1024, 768, 1280, 1024, 1600, 1200};
    const SetteiResult r = ApplySetteiOk(s, state);
    EXPECT_EQ(s.susie32Plugin, "/home/u/spi/");
    EXPECT_EQ(s.gaibuFile, "gimp");
    EXPECT_EQ(s.slideTime, 3600);
    EXPECT_EQ(s.nWinMax, 1);
    EXPECT_EQ(s.gaibuHiki, 1);
    EXPECT_EQ(s.nWaku, 99);
    EXPECT_EQ(ViewFrameWidth(s), 99);
    EXPECT_EQ(s.nTrimress, 1);
    EXPECT_EQ(s.nWcent, 1);
    EXPECT_EQ(s.trimingSize,
              (std::array<int, 10>{320, 240, 1, 1, 1024, 768, 1280, 1024, 1600, 1200}));
    EXPECT_EQ(r.writes.back(), (std::pair<std::string, std::string>{
                                   "TrimingSize", "320,240,1,1,1024,768,1280,1024,1600,1200,"}));
    EXPECT_EQ(NextStart(before, r.writes), s);

    // While the frame is shown the frame width stays that of the frame.
    s.border.show = 1;
    state.waku = 7;
    ApplySetteiOk(s, state);
    EXPECT_EQ(s.nWaku, 7);
    EXPECT_EQ(ViewFrameWidth(s), 2 + 10 + 2);
}

TEST(Settei, ImmediateSwitchesAndBackground) {
    Settings s = DefaultSettings(kFolder);
    EXPECT_EQ(ToggleKantyo(s), (SettingWrites{{"nKantyo", "1"}}));
    EXPECT_EQ(ToggleKantyo(s), (SettingWrites{{"nKantyo", "0"}}));
    EXPECT_EQ(ToggleTwoStepTrim(s), (SettingWrites{{"n2action", "0"}}));
    EXPECT_EQ(s.n2action, 0);
    s.border.background = ColourRef(0, 0, 128);
    EXPECT_EQ(
        SetteiClosingWrites(s),
        (SettingWrites{{"border", "0\t1\t2\t10\t2\t4\t20\t4\t16777215\t0\t16777215\t8388608\t"}}));
    EXPECT_EQ(PluginFolderOfFile("/usr/lib/spi/ifpng.spi"), "/usr/lib/spi/");
    EXPECT_EQ(PluginFolderOfFile("ifpng.spi"), "./");
}

TEST(W3d, ColourDepthOfNoChoiceStartsAt16Bits) {
    for (int stored : {0, 3}) {
        Settings s = DefaultSettings(kFolder);
        s.n3DBpp = stored;
        const W3dState state = W3dStateFromSettings(s);
        EXPECT_EQ(state.colours, 0) << stored;
        EXPECT_EQ(s.n3DBpp, 1) << stored;
    }
    Settings s = DefaultSettings(kFolder);
    s.n3DBpp = 2;
    EXPECT_EQ(W3dStateFromSettings(s).colours, 1);
}

TEST(W3d, EveryChoiceIsWrittenAtOnce) {
    Settings s = DefaultSettings(kFolder);
    EXPECT_EQ(W3dChooseResolution(s, 5), (SettingWrites{{"n3DSize", "5"}}));
    EXPECT_EQ(PageFlipScreenMode(s.n3DSize).width, 1600);
    EXPECT_EQ(W3dChooseColours(s, 1), (SettingWrites{{"n3DBpp", "2"}}));
    EXPECT_EQ(PageFlipBitDepth(s.n3DBpp), 32);
    EXPECT_EQ(W3dChooseTexture(s, 8), (SettingWrites{{"nTSize", "8"}}));
    EXPECT_EQ(W3dChooseDriver(s, 0), (SettingWrites{{"nVidia", "0"}}));
    EXPECT_EQ(PageFlipScreenMode(99).width, 1024);  // no such mode: the start value
    const Settings chosen = s;
    EXPECT_TRUE(W3dChooseResolution(s, 6).empty());
    EXPECT_TRUE(W3dChooseColours(s, 2).empty());
    EXPECT_TRUE(W3dChooseTexture(s, -1).empty());
    EXPECT_TRUE(W3dChooseDriver(s, 3).empty());
    EXPECT_EQ(s, chosen);
}

TEST(Comset, LayoutTimesTenPlusDisplay) {
    Settings s = DefaultSettings(kFolder);
    EXPECT_EQ(ApplyComsetOk(s, {6, 5}), (SettingWrites{{"comset", "65"}}));
    const ComsetState back = ComsetStateFromSettings(s);
    EXPECT_EQ(back.layout, 6);
    EXPECT_EQ(back.display, 5);
    EXPECT_EQ(ApplyComsetOk(s, {7, 6}), (SettingWrites{{"comset", "76"}}));
    EXPECT_EQ(NextStart(DefaultSettings(kFolder), {{"comset", "76"}}).comset, 76);
    EXPECT_EQ(ApplyComsetOk(s, {9, 8}), (SettingWrites{{"comset", "0"}}));
}

TEST(FreeTrim, ASideOfZeroMakesFourToFour) {
    Settings s = DefaultSettings(kFolder);
    EXPECT_EQ(ApplyFreeTrimOk(s, {true, 16, 0}), (SettingWrites{{"nAspect", "1\t4\t4\t"}}));
    EXPECT_EQ(s.nAspect, (AspectSet{1, 4, 4}));
    EXPECT_EQ(ApplyFreeTrimOk(s, {false, 16, 9}), (SettingWrites{{"nAspect", "0\t16\t9\t"}}));
    EXPECT_EQ(NextStart(DefaultSettings(kFolder), {{"nAspect", "0\t16\t9\t"}}).nAspect,
              (AspectSet{0, 16, 9}));
    ApplyFreeTrimOk(s, {true, -2, 5});
    EXPECT_EQ(s.nAspect, (AspectSet{1, 4, 4}));
}

}  // namespace
}  // namespace duplora
