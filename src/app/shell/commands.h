// The command table and the menus as data. The main window makes one action per table entry
// (text, shortcuts) and builds its menu bar, the context menu and the toolbar drop-downs from
// the menu structures, so every surface ends in the same ExecuteCommand(CommandId).
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "core/shell/command_ids.h"

namespace duplora {

// When a command acts at all, given with its handler. Commands are guarded rather than
// disabled: the window checks the guard and otherwise ignores the command.
enum class CommandGuard {
    Always,      // opening, batch, settings, help
    Loaded,      // both views loaded: a pair, or a single picture
    Stereo,      // a pair, not single-image mode
    LoadedNoGl,  // Loaded, and the OpenGL stereo window is not up
    StereoNoGl,  // Stereo, and the OpenGL stereo window is not up
    Internal,    // sent by the program itself; the sender has checked
};

struct CommandEntry {
    CommandId id;
    // German text with its & mnemonic; empty for commands without a menu item.
    std::string_view text;
    // Accelerators as QKeySequence portable text, one key each; unused ones are empty.
    std::array<std::string_view, 4> keys;
};

// Every command, sorted by id.
std::span<const CommandEntry> CommandTable();
// The entry of an id, or nullptr for an id that is not a command.
const CommandEntry* FindCommand(int id);

// The commands whose windows are not built yet: the menus, keys and toolbar show them
// disabled, and nothing handles them.
std::span<const CommandId> NotYetBuiltCommands();
bool NotYetBuilt(CommandId command);

// What the guards look at.
struct CommandContext {
    bool bothLoaded = false;
    bool singleImageMode = false;
    bool openGlActive = false;
};
bool GuardAllows(CommandGuard guard, const CommandContext& context);

// ---- menus --------------------------------------------------------------------------------

enum class MenuId {
    Start,       // menu bar while nothing is loaded
    Duplora,     // menu bar of a stereo pair
    DuploraSgl,  // menu bar of a single picture
    // Popups of the menu bars, each also loadable on its own (the context menu's submenus).
    File,
    Edit,
    View,
    Stereo,
    Align,
    Help,
    StartFile,
    StartEdit,
    SglFile,
    SglEdit,
    SglView,
    SlideShowList,
    GreyAnaglyph,    // also the toolbar drop-down TOOLSMG
    ColourAnaglyph,  // also the toolbar drop-down TOOLSMC
    Zoom,            // toolbar drop-down ZOOM
    Context,         // right-button menu of a stereo pair
    ContextSingle,   // right-button menu of a single picture: the two head items only
};

enum class MenuEntryKind {
    Item,
    Separator,
    Submenu,
    // Where the file history goes (its items and a separator are inserted here while the
    // history is not empty).
    HistorySlot,
    // The context menu's first two items, whose texts depend on the window state.
    ContextHead,
};

struct MenuEntry {
    MenuEntryKind kind;
    CommandId command = CmdNone;
    // Item: replaces the command's text in this menu when not empty (such an item needs an
    // action of its own that sends the same command; the shortcuts stay on the command's
    // main action). Submenu: the title.
    std::string_view text = {};
    // Submenu title from the string table when not 0 (the context menu's titles).
    int titleStringId = 0;
    MenuId submenu = MenuId::Start;
};

struct MenuDef {
    MenuId id;
    std::string_view name;  // resource name, e.g. "DUPLORA"
    std::span<const MenuEntry> entries;
};

const MenuDef& GetMenu(MenuId id);
std::span<const MenuDef> AllMenus();

// The text an item shows: the entry's own, else the command's; in the user's language.
std::string MenuItemText(const MenuEntry& entry);
// A submenu's title, from the string table where it has an id; in the user's language.
std::string SubmenuTitle(const MenuEntry& entry);
// The label of a text that carries its shortcut after a tab ("Vollbild\tV" → "Vollbild").
std::string_view MenuLabel(std::string_view text);

}  // namespace duplora
