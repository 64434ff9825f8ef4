// The command table, the menus and toolbar, what each state enables, and what an opening
// asks for.
#include "app/shell/commands.h"

#include <gtest/gtest.h>

#include <QKeySequence>
#include <QTemporaryDir>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/shell/menu_rules.h"
#include "app/shell/open_rules.h"
#include "app/shell/settings.h"
#include "app/shell/stereo_document.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/display_modes.h"
#include "support/test_support.h"

namespace duplora {
namespace {

// Every menu reachable from a menu, the menu itself included.
void Reachable(MenuId id, std::set<MenuId>& seen) {
    if (!seen.insert(id).second) return;
    for (const MenuEntry& e : GetMenu(id).entries)
        if (e.kind == MenuEntryKind::Submenu) Reachable(e.submenu, seen);
}

std::set<CommandId> ItemsUnder(MenuId root) {
    std::set<MenuId> menus;
    Reachable(root, menus);
    std::set<CommandId> items;
    for (MenuId id : menus)
        for (const MenuEntry& e : GetMenu(id).entries)
            if (e.kind == MenuEntryKind::Item || e.kind == MenuEntryKind::ContextHead)
                items.insert(e.command);
    return items;
}

TEST(CommandTable, IdsAndKeysAreUniqueAndEveryKeyParses) {
    std::set<int> ids;
    std::map<QKeySequence, int> owner;
    for (const CommandEntry& c : CommandTable()) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
        EXPECT_EQ(FindCommand(c.id), &c);
        for (std::string_view key : c.keys) {
            if (key.empty()) continue;
            const QString text = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
            const QKeySequence seq = QKeySequence::fromString(text, QKeySequence::PortableText);
            ASSERT_EQ(seq.count(), 1) << key << " of " << c.id;
            EXPECT_NE(seq[0].key(), Qt::Key_unknown) << key;
            EXPECT_EQ(seq.toString(QKeySequence::PortableText), text) << "not canonical: " << key;
            EXPECT_TRUE(owner.emplace(seq, c.id).second) << key << " of " << c.id << " is taken";
        }
    }
    for (int unknown : {0, 1520, 2036, 2180, 5000}) EXPECT_EQ(FindCommand(unknown), nullptr);
    EXPECT_EQ(owner.at(QKeySequence(QStringLiteral("Z"))), CmdUndo);  // two keys, one command
    EXPECT_EQ(owner.at(QKeySequence(QStringLiteral("Ctrl+Z"))), CmdUndo);
    // The texts keep their German spelling, slips included.
    EXPECT_EQ(FindCommand(2000)->text, "&Linkes/Rechtes Bild öfnnen...");
    EXPECT_EQ(FindCommand(2035)->text, "Panorama Modus (360°)");
}

TEST(Menus, EveryItemRefersToATableEntry) {
    std::set<MenuId> ids;
    for (const MenuDef& menu : AllMenus()) {
        EXPECT_TRUE(ids.insert(menu.id).second) << menu.name;
        EXPECT_EQ(&GetMenu(menu.id), &menu);
        ASSERT_FALSE(menu.entries.empty()) << menu.name;
        EXPECT_NE(menu.entries.front().kind, MenuEntryKind::Separator) << menu.name;
        EXPECT_NE(menu.entries.back().kind, MenuEntryKind::Separator) << menu.name;
        for (std::size_t i = 0; i < menu.entries.size(); ++i) {
            const MenuEntry& e = menu.entries[i];
            if (i > 0 && e.kind == MenuEntryKind::Separator) {
                EXPECT_NE(menu.entries[i - 1].kind, MenuEntryKind::Separator) << menu.name;
            }
            if (e.kind == MenuEntryKind::Item) {
                ASSERT_NE(FindCommand(e.command), nullptr) << menu.name << " item " << e.command;
                EXPECT_FALSE(MenuItemText(e).empty()) << e.command;
            } else if (e.kind == MenuEntryKind::Submenu) {
                EXPECT_FALSE(SubmenuTitle(e).empty()) << menu.name;
                EXPECT_NE(e.submenu, menu.id);
            }
        }
    }
}

TEST(Menus, EveryCommandWithATextCanBeReached) {
    const std::set<CommandId> stereo = ItemsUnder(MenuId::Duplora);
    std::set<CommandId> onToolbar;
    for (const ToolButton& b : ToolbarButtons()) {
        onToolbar.insert(b.command);
        if (const MenuDef* dropDown = ToolbarDropDownMenu(b.command))
            for (CommandId id : ItemsUnder(dropDown->id)) onToolbar.insert(id);
    }
    for (const CommandEntry& c : CommandTable()) {
        if (c.text.empty()) continue;
        EXPECT_TRUE(stereo.count(c.id) || onToolbar.count(c.id)) << c.id << " " << c.text;
    }
}

TEST(Menus, HistorySlotStandsBeforeExitInEveryMenuBar) {
    EXPECT_TRUE(ItemsUnder(MenuId::Start).count(CmdOpenStereo));
    for (MenuId bar : {MenuId::Start, MenuId::Duplora, MenuId::DuploraSgl}) {
        std::set<MenuId> menus;
        Reachable(bar, menus);
        int historySlots = 0;
        for (MenuId id : menus) {
            const auto entries = GetMenu(id).entries;
            for (std::size_t i = 0; i < entries.size(); ++i) {
                if (entries[i].kind != MenuEntryKind::HistorySlot) continue;
                ++historySlots;
                ASSERT_LT(i + 1, entries.size());
                EXPECT_EQ(entries[i + 1].command, CmdExit);
                EXPECT_EQ(entries[i - 1].kind, MenuEntryKind::Separator);
            }
        }
        EXPECT_EQ(historySlots, 1);
    }
}

TEST(Menus, TextsOverriddenInOneMenu) {
    const auto& zoom = GetMenu(MenuId::Zoom).entries;
    ASSERT_EQ(zoom.size(), 5u);
    EXPECT_EQ(MenuItemText(zoom[2]), "1&00% Größe");
    EXPECT_EQ(MenuItemText({MenuEntryKind::Item, CmdZoom100}), "&Originalgröße (100%)");
    EXPECT_EQ(MenuLabel("Vollbild\tV"), "Vollbild");
    EXPECT_EQ(MenuLabel("&Drucken..."), "&Drucken...");
}

// The stereo menu and the anaglyph submenus come from the mode and method tables.
TEST(Menus, StereoMenuAndAnaglyphSubmenusFollowTheirTables) {
    for (DisplayMode mode : {DisplayMode::GreyAnaglyph, DisplayMode::ColourAnaglyph}) {
        const auto& entries = GetMenu(mode == DisplayMode::GreyAnaglyph ? MenuId::GreyAnaglyph
                                                                        : MenuId::ColourAnaglyph)
                                  .entries;
        const auto methods = AnaglyphMethodsOf(mode);
        ASSERT_EQ(entries.size(), methods.size() + 2);  // a separator and the settings
        for (std::size_t k = 0; k < methods.size(); ++k) {
            EXPECT_EQ(entries[k].command, methods[k].command);
            EXPECT_EQ(MenuItemText(entries[k]), methods[k].menuText);
        }
        EXPECT_EQ(MenuItemText(entries.back()), "&Einstellungen...");
    }
    const auto& stereo = GetMenu(MenuId::Stereo).entries;
    ASSERT_EQ(stereo.size(), 10u);
    EXPECT_EQ(MenuItemText(stereo[2]), FindDisplayMode(DisplayMode::ThreeViews)->menuText);
    EXPECT_EQ(stereo[4].submenu, MenuId::GreyAnaglyph);
    EXPECT_EQ(stereo[5].submenu, MenuId::ColourAnaglyph);
    EXPECT_EQ(stereo.back().command, CmdSwap);
    EXPECT_EQ(FindCommand(CmdInterlace)->keys[0], "F4");
}

// ---- what the menus show for a document ---------------------------------------------------

class MenuUpdateTest : public ::testing::Test {
  protected:
    void LoadPair() {
        doc_.ClearForOpening("/p/a_l.jpg");
        doc_.SetView(Side::Left, test::MakeNoise(4, 3, 1), "/p/a_l.jpg", "a_l.jpg");
        doc_.SetView(Side::Right, test::MakeNoise(4, 3, 2), "/p/a_r.jpg", "a_r.jpg");
    }
    template <typename T>
    static std::map<CommandId, T> AsMap(const std::vector<std::pair<CommandId, T>>& list) {
        std::map<CommandId, T> map;
        for (const auto& [id, value] : list) EXPECT_TRUE(map.emplace(id, value).second) << id;
        return map;
    }
    std::map<CommandId, bool> Enabled(MenuUpdateInput in = {true, true}) const {
        return AsMap(ComputeMenuUpdate(doc_, settings_, in).enabled);
    }

    StereoDocument doc_;
    Settings settings_;
};

TEST_F(MenuUpdateTest, UndoAndRedoFollowTheLeftViewOnTheToolbarAndEitherInTheMenu) {
    LoadPair();
    EXPECT_EQ(ToolbarUndoRedo(doc_), (UndoRedoEnabled{false, false}));
    EXPECT_TRUE(Enabled().at(CmdCopy));
    EXPECT_FALSE(Enabled().at(CmdUndo));
    ASSERT_TRUE(doc_.ApplyEdit([](const ImageBuffer& l, const ImageBuffer& r) {
        return EditedPair{DuplicateImage(l), DuplicateImage(r)};
    }));
    EXPECT_EQ(ToolbarUndoRedo(doc_), (UndoRedoEnabled{true, false}));
    ASSERT_TRUE(doc_.Swap());
    EXPECT_TRUE(Enabled().at(CmdUndo));
    EXPECT_FALSE(Enabled().at(CmdRedo));
    ASSERT_TRUE(doc_.Swap());
    ASSERT_TRUE(doc_.Undo());
    EXPECT_EQ(ToolbarUndoRedo(doc_), (UndoRedoEnabled{false, true}));
    EXPECT_FALSE(Enabled().at(CmdUndo));
    EXPECT_TRUE(Enabled().at(CmdRedo));
    doc_.Right().Clear();
    EXPECT_FALSE(Enabled().at(CmdCopy));
    // Without a document menu none of its items are touched.
    const MenuUpdate start = ComputeMenuUpdate(doc_, settings_, {true, false});
    EXPECT_EQ(AsMap(start.enabled).count(CmdUndo), 0u);
    EXPECT_TRUE(start.texts.empty());
}

TEST_F(MenuUpdateTest, ChecksFollowTheDocumentPasteTheClipboardAndPresetsTheirSizes) {
    for (bool clip : {false, true}) {
        EXPECT_EQ(Enabled({clip, false}).at(CmdPaste), clip);
        EXPECT_EQ(Enabled({clip, false}).at(CmdPasteCompanion), clip);
    }
    settings_.trimPresets[6] = 333;
    settings_.trimPresets[7] = 222;
    const auto texts = AsMap(ComputeMenuUpdate(doc_, settings_, {false, true}).texts);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts.at(CmdTrimPreset1), "Fester Ausschnitt (640x480)\t1");
    EXPECT_EQ(texts.at(CmdTrimPreset4), "Fester Ausschnitt (333x222)\t4");
    EXPECT_EQ(TrimPresetText(settings_, 5), "");

    LoadPair();
    ASSERT_TRUE(doc_.SelectDisplayMode(CmdGreyRedBlue));
    ASSERT_TRUE(doc_.SelectDisplayMode(CmdHalfToneRedCyan));
    doc_.SetPanorama(true);
    const auto checked = AsMap(ComputeMenuUpdate(doc_, settings_, {}).checked);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(checked.at(static_cast<CommandId>(CmdGreyRedCyan + k)), k == 2);
        EXPECT_EQ(checked.at(static_cast<CommandId>(CmdColourRedCyan + k)), k == 1);
    }
    EXPECT_TRUE(checked.at(CmdPanorama));
}

TEST_F(MenuUpdateTest, ContextMenuHeadItemsAndChoice) {
    EXPECT_FALSE(ContextMenuAvailable(doc_));
    LoadPair();
    EXPECT_EQ(ContextMenuFor(doc_), MenuId::Context);
    doc_.SetSingleImageMode(true);
    EXPECT_EQ(ContextMenuFor(doc_), MenuId::ContextSingle);
    EXPECT_EQ(ContextHeadText(CmdFullScreen, true, false), "An Fensterröße anpassen\tF");
    EXPECT_EQ(ContextHeadText(CmdMouseCursor, false, true), "Mauszeiger anzeigen\tM");
    EXPECT_EQ(ContextHeadText(CmdSwap, false, false), "");
}

// ---- command line and drops ---------------------------------------------------------------

TEST(CommandLine, FirstArgumentAndLastFurtherOne) {
    using V = std::vector<std::string>;
    EXPECT_EQ(CommandLineFromArguments(V{}), (CommandLinePaths{}));
    EXPECT_EQ(CommandLineFromArguments(V{"a.jps"}), (CommandLinePaths{"a.jps", ""}));
    EXPECT_EQ(CommandLineFromArguments(V{"r.jpg", "x.jpg", "l.jpg"}),
              (CommandLinePaths{"r.jpg", "l.jpg"}));
    const char* argv[] = {"duplora", "r.jpg", "l.jpg", nullptr};
    EXPECT_EQ(CommandLineFromArgv(3, argv), (CommandLinePaths{"r.jpg", "l.jpg"}));
    EXPECT_EQ(CommandLineFromArgv(1, argv), (CommandLinePaths{}));
}

TEST(CommandLine, OpensPairsFilesAndListsAndRefusesTheRest) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto make = [&](const std::string& name) {
        const std::string path = dir.path().toStdString() + "/" + name;
        std::ofstream(path) << "x";
        return path;
    };
    // A pair: the second argument is the left view; the start setting picks the layout.
    const std::string right = make("r 1.jpg"), left = make("l 1.jpg");
    EXPECT_EQ(CommandLineOpening({right, left}, "/opt/duplora", 37),
              (OpenRequest{CmdOpenPendingPair, right, left, true, StereoLayout::Anaglyph, false}));
    // One file, with the page flipping that ends the program sent at once.
    const std::string file = make("Größe.jps");
    EXPECT_EQ(CommandLineOpening({file, ""}, "/opt/duplora", 16),
              (OpenRequest{CmdOpenPending, file, "", true, StereoLayout::OverUnder, true}));
    // A list without a folder is looked for beside the program.
    std::vector<std::string> asked;
    const auto list = CommandLineOpening({"show.TXT", "ignored.jpg"}, "/opt/duplora", 6,
                                         [&](const std::string& p) {
                                             asked.push_back(p);
                                             return true;
                                         });
    EXPECT_EQ(list,
              (OpenRequest{CmdOpenPendingList, "/opt/duplora/show.TXT", "", false, {}, false}));
    EXPECT_EQ(asked, std::vector<std::string>{"/opt/duplora/show.TXT"});
    // Nothing for an empty, garbled or missing first path, nor for a folder.
    for (const std::string& bad :
         {std::string(), "\x1f" + file, " " + file, file + ".missing", dir.path().toStdString()})
        EXPECT_FALSE(CommandLineOpening({bad, file}, "/opt", 0).has_value()) << bad;
}

TEST(CommandLine, DropsOpenAListFirstThenAPairThenOneFile) {
    using V = std::vector<std::string>;
    EXPECT_FALSE(DropOpening(V{}).has_value());
    EXPECT_EQ(DropOpening(V{"/a/one.jpg", "/a/two.jpg", "/a/three.jpg"}),
              (OpenRequest{CmdOpenPendingPair, "/a/one.jpg", "/a/two.jpg", false, {}, false}));
    EXPECT_EQ(DropOpening(V{"/a/list.txt", "/a/two.jpg"})->command, CmdOpenPendingList);
    EXPECT_EQ(DropOpening(V{"/a.txt/photo.jps"})->command, CmdOpenPending);
    const QList<QUrl> urls = {QUrl::fromLocalFile(QStringLiteral("/tmp/mein Bild_l.jpg")),
                              QUrl(QStringLiteral("https://example.org/x.jpg")),
                              QUrl::fromLocalFile(QStringLiteral("/tmp/Größe.jps"))};
    EXPECT_EQ(LocalFilesFromUrls(urls),
              (std::vector<std::string>{"/tmp/mein Bild_l.jpg", "/tmp/Größe.jps"}));
}

// ---- after an opening ---------------------------------------------------------------------

TEST(AfterOpening, StereoFromNothingLoadsTheStereoMenu) {
    AfterOpeningInput in;
    in.openedPath = "/pics/trip/a.jps";
    const AfterOpening plan = PlanAfterOpening(in);
    EXPECT_EQ(plan.loadMenu, MainMenu::Duplora);
    EXPECT_TRUE(plan.equalizeSizes && plan.updateHistory && plan.rebuildFolderList);
    EXPECT_FALSE(plan.modified);
    EXPECT_EQ(plan.openFolder, "/pics/trip");
    EXPECT_EQ(plan.commands, (std::vector<QueuedCommand>{{CmdFitWindow, false}}));
    // A paste is a modification and no history entry; an opening from the history neither.
    in.kind = OpenedKind::Paste;
    EXPECT_TRUE(PlanAfterOpening(in).modified);
    EXPECT_FALSE(PlanAfterOpening(in).updateHistory);
    EXPECT_TRUE(PlanAfterOpening(in).commands.empty());
    AfterOpeningInput history;
    history.fromHistory = true;
    EXPECT_FALSE(PlanAfterOpening(history).updateHistory);
    history.kind = OpenedKind::Mono;
    EXPECT_FALSE(PlanAfterOpening(history).equalizeSizes);
}

TEST(AfterOpening, MenuSwitches) {
    const struct {
        OpenedKind kind;
        MainMenu loaded;
        std::optional<MainMenu> load;
        ToolbarSet toolbar;
        std::optional<DisplayMode> mode;
    } cases[] = {
        {OpenedKind::Stereo, MainMenu::Duplora, std::nullopt, ToolbarSet::Stereo, std::nullopt},
        {OpenedKind::Stereo, MainMenu::DuploraSgl, MainMenu::Duplora, ToolbarSet::Stereo,
         DisplayMode::SideBySide},
        {OpenedKind::Mono, MainMenu::Duplora, MainMenu::DuploraSgl, ToolbarSet::Single,
         DisplayMode::Single},
        {OpenedKind::Mono, MainMenu::DuploraSgl, std::nullopt, ToolbarSet::Single,
         DisplayMode::Single},
        {OpenedKind::Paste, MainMenu::Start, MainMenu::Duplora, ToolbarSet::Stereo,
         DisplayMode::SideBySide},
    };
    for (const auto& c : cases) {
        AfterOpeningInput in;
        in.kind = c.kind;
        in.loadedMenu = c.loaded;
        const AfterOpening plan = PlanAfterOpening(in);
        EXPECT_EQ(std::tuple(plan.loadMenu, plan.toolbar), std::tuple(c.load, c.toolbar));
        EXPECT_EQ(plan.singleImageMode, c.kind == OpenedKind::Mono);
        EXPECT_EQ(plan.displayMode, c.mode);
    }
}

TEST(AfterOpening, FittingAndTheStartDisplayOfACommandLineOpening) {
    const struct {
        OpenedKind kind;
        int openAtFullSize, fitMode;
        CommandId command;
    } fits[] = {
        {OpenedKind::Stereo, 0, 0, CmdFitWindow}, {OpenedKind::Stereo, 0, 2, CmdFitHeight},
        {OpenedKind::Stereo, 0, 3, CmdFitWidth},  {OpenedKind::Stereo, 1, 2, CmdZoom100},
        {OpenedKind::Mono, 0, 2, CmdFitWindow},   {OpenedKind::Mono, 1, 0, CmdZoom100},
    };
    for (const auto& c : fits) {
        AfterOpeningInput in;
        in.kind = c.kind;
        in.openAtFullSize = c.openAtFullSize;
        in.fitMode = c.fitMode;
        in.commandLineOpening = 3;  // not a command-line opening: ignored
        EXPECT_EQ(PlanAfterOpening(in).commands, (std::vector<QueuedCommand>{{c.command, false}}))
            << c.openAtFullSize << " " << c.fitMode;
    }
    // Digits 1 to 4 show the listed display mode of that number first; 5 and 6 flip pages.
    for (int digit = 0; digit <= 6; ++digit) {
        AfterOpeningInput in;
        in.commandLineStart = true;
        in.commandLineOpening = 20 + digit;
        in.openAtFullSize = 1;  // the start display decides, not the open dialog's setting
        const AfterOpening plan = PlanAfterOpening(in);
        std::vector<QueuedCommand> expected = {{CmdFitWindow, false}};
        if (digit >= 1 && digit <= 4)
            expected.insert(expected.begin(),
                            QueuedCommand{ListedDisplayModes()[digit]->command, true});
        if (digit >= 5) expected = {{CmdPageFlipping, digit == 5}};
        EXPECT_EQ(plan.commands, expected) << digit;
        EXPECT_EQ(plan.closeWhenPageFlippingEnds, digit == 6);
    }
}

}  // namespace
}  // namespace duplora
