#include "app/shell/menu_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/shell/settings.h"
#include "app/shell/stereo_document.h"
#include "support/test_support.h"

namespace duplora {
namespace {

template <typename T>
std::map<CommandId, T> AsMap(const std::vector<std::pair<CommandId, T>>& list) {
    std::map<CommandId, T> map;
    for (const auto& [id, value] : list) EXPECT_TRUE(map.emplace(id, value).second) << id;
    return map;
}

void LoadPair(StereoDocument& doc) {
    doc.ClearForOpening("/p/a_l.jpg");
    doc.SetView(Side::Left, test::MakeNoise(4, 3, 1), "/p/a_l.jpg", "a_l.jpg");
    doc.SetView(Side::Right, test::MakeNoise(4, 3, 2), "/p/a_r.jpg", "a_r.jpg");
}

bool CopyEdit(StereoDocument& doc) {
    return doc.ApplyEdit([](const ImageBuffer& l, const ImageBuffer& r) {
        return EditedPair{DuplicateImage(l), DuplicateImage(r)};
    });
}

TEST(Toolbar, ButtonsPicturesAndTooltips) {
    std::set<CommandId> commands;
    for (const ToolButton& b : ToolbarButtons()) {
        if (b.style == ToolButtonStyle::Separator) {
            EXPECT_EQ(b.command, CmdNone);
            continue;
        }
        EXPECT_TRUE(commands.insert(b.command).second) << b.command;
        EXPECT_GE(b.picture, 0);
        EXPECT_LT(b.picture, kToolbarPictureCount);
        EXPECT_EQ(ToolbarDropDownMenu(b.command) != nullptr, b.style == ToolButtonStyle::DropDown)
            << b.command;
    }
    // A tooltip is the text two hundred above its command.
    EXPECT_EQ(ToolTipStringId(CmdOpenLeftRight), 2200);
    EXPECT_EQ(ToolTipText(CmdOpenLeftRight), "Linkes/Rechtes Bild öffnen...");
}

TEST(Toolbar, EnabledSets) {
    const std::set<CommandId> single = {
        CmdOpenStereo, CmdOpenLeftRight, CmdSaveStereo, CmdFreeTrim, CmdResize, CmdMouseCursor,
        CmdNavigator,  CmdFullScreen,    CmdFitWindow,  CmdZoom100,  CmdBorder, CmdPanorama};
    for (const ToolButton& b : ToolbarButtons()) {
        const CommandId id = b.command;
        EXPECT_EQ(ToolbarButtonEnabled(ToolbarSet::Start, id),
                  id == CmdOpenStereo || id == CmdOpenLeftRight)
            << id;
        EXPECT_EQ(ToolbarButtonEnabled(ToolbarSet::Stereo, id),
                  id != CmdNone && id != CmdUndo && id != CmdRedo)
            << id;
        EXPECT_EQ(ToolbarButtonEnabled(ToolbarSet::Single, id), single.count(id) == 1) << id;
    }
    EXPECT_FALSE(ToolbarButtonEnabled(ToolbarSet::Stereo, CmdHelp)) << "not a button";
}

TEST(MenuUpdate, UndoAndRedoFollowTheLeftViewOnTheToolbarAndEitherInTheMenu) {
    StereoDocument doc;
    LoadPair(doc);
    Settings settings;
    auto enabled = [&] { return AsMap(ComputeMenuUpdate(doc, settings, {true, true}).enabled); };
    EXPECT_EQ(ToolbarUndoRedo(doc), (UndoRedoEnabled{false, false}));
    EXPECT_TRUE(enabled().at(CmdCopy));
    EXPECT_FALSE(enabled().at(CmdUndo));
    ASSERT_TRUE(CopyEdit(doc));
    EXPECT_EQ(ToolbarUndoRedo(doc), (UndoRedoEnabled{true, false}));
    ASSERT_TRUE(doc.Swap());
    EXPECT_TRUE(enabled().at(CmdUndo));
    EXPECT_FALSE(enabled().at(CmdRedo));
    ASSERT_TRUE(doc.Swap());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(ToolbarUndoRedo(doc), (UndoRedoEnabled{false, true}));
    EXPECT_FALSE(enabled().at(CmdUndo));
    EXPECT_TRUE(enabled().at(CmdRedo));
    doc.Right().Clear();
    EXPECT_FALSE(enabled().at(CmdCopy));
    // Without a document menu none of its items are touched.
    const MenuUpdate start = ComputeMenuUpdate(doc, settings, {true, false});
    EXPECT_EQ(AsMap(start.enabled).count(CmdUndo), 0u);
    EXPECT_TRUE(start.texts.empty());
}

TEST(MenuUpdate, ChecksFollowTheDocumentAndPasteTheClipboard) {
    StereoDocument doc;
    Settings settings;
    for (bool clip : {false, true}) {
        const auto enabled = AsMap(ComputeMenuUpdate(doc, settings, {clip, false}).enabled);
        EXPECT_EQ(enabled.at(CmdPaste), clip);
        EXPECT_EQ(enabled.at(CmdPasteCompanion), clip);
    }
    LoadPair(doc);
    ASSERT_TRUE(doc.SelectDisplayMode(CmdGreyRedBlue));
    ASSERT_TRUE(doc.SelectDisplayMode(CmdHalfToneRedCyan));
    doc.SetPanorama(true);
    const auto checked = AsMap(ComputeMenuUpdate(doc, settings, {}).checked);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(checked.at(static_cast<CommandId>(CmdGreyRedCyan + k)), k == 2);
        EXPECT_EQ(checked.at(static_cast<CommandId>(CmdColourRedCyan + k)), k == 1);
    }
    EXPECT_TRUE(checked.at(CmdPanorama));
}

TEST(MenuUpdate, TrimPresetTexts) {
    StereoDocument doc;
    Settings settings;
    settings.trimingSize[6] = 333;
    settings.trimingSize[7] = 222;
    const auto texts = AsMap(ComputeMenuUpdate(doc, settings, {false, true}).texts);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts.at(CmdTrimPreset1), "Fester Ausschnitt (640x480)\t1");
    EXPECT_EQ(texts.at(CmdTrimPreset4), "Fester Ausschnitt (333x222)\t4");
    EXPECT_EQ(TrimPresetText(settings, 5), "");
}

TEST(ContextMenu, HeadItemsAndChoice) {
    StereoDocument doc;
    EXPECT_FALSE(ContextMenuAvailable(doc));
    LoadPair(doc);
    EXPECT_EQ(ContextMenuFor(doc), MenuId::Context);
    doc.SetSingleImageMode(true);
    EXPECT_EQ(ContextMenuFor(doc), MenuId::ContextSingle);
    EXPECT_EQ(ContextHeadText(CmdFullScreen, true, false), "An Fensterröße anpassen\tF");
    EXPECT_EQ(ContextHeadText(CmdMouseCursor, false, true), "Mauszeiger anzeigen\tM");
    EXPECT_EQ(ContextHeadText(CmdSwap, false, false), "");
}

}  // namespace
}  // namespace duplora
