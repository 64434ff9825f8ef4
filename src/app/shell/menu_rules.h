// The rules behind the main window's command surfaces: the toolbar's buttons and enabled
// sets, the status bar's parts, and what changes in a menu each time it opens (enabling,
// check marks and the trim presets' texts). The window applies what these return.
#pragma once

#include <array>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/commands.h"
#include "core/shell/command_ids.h"

namespace duplora {

class StereoDocument;
struct Settings;

// ---- toolbar ------------------------------------------------------------------------------

inline constexpr int kToolbarControlId = 800;
// The button strip: 34 pictures of 16 × 15 pixels side by side; light grey is transparent.
inline constexpr int kToolbarPictureCount = 34;
inline constexpr int kToolbarPictureWidth = 16;
inline constexpr int kToolbarPictureHeight = 15;

enum class ToolButtonStyle { Separator, Button, DropDown, Check };

struct ToolButton {
    CommandId command;  // CmdNone for a separator
    int picture;        // index into the strip
    ToolButtonStyle style;
};

// The buttons from left to right, separators included.
std::span<const ToolButton> ToolbarButtons();

// The tooltip of a button is the string-table entry 200 above its command.
inline int ToolTipStringId(CommandId command) {
    return command + 200;
}
std::string ToolTipText(CommandId command);

// The menu a drop-down button opens below itself (CmdZoom100 ZOOM, CmdGreyAnaglyph TOOLSMG,
// CmdColourAnaglyph TOOLSMC).
const MenuDef* ToolbarDropDownMenu(CommandId command);

enum class ToolbarSet {
    Start,   // nothing loaded: the two open buttons
    Stereo,  // a pair: every button but undo and redo
    Single,  // a single picture
};

// Applied by first disabling every button and then enabling the set.
bool ToolbarButtonEnabled(ToolbarSet set, CommandId command);

// The toolbar's undo and redo buttons follow the left view.
struct UndoRedoEnabled {
    bool undo = false;
    bool redo = false;
    bool operator==(const UndoRedoEnabled&) const = default;
};
UndoRedoEnabled ToolbarUndoRedo(const StereoDocument& document);

// ---- status bar ---------------------------------------------------------------------------

inline constexpr int kStatusBarControlId = 1100;
// Right edges of the three parts, in pixels.
inline constexpr std::array<int, 3> kStatusPartEdges{200, 400, 3000};

// ---- menu update --------------------------------------------------------------------------

struct MenuUpdateInput {
    bool clipboardHasImage = false;
    // A document menu (DUPLORA or DUPLORASGL) is loaded, not SYOKI.
    bool documentMenu = false;
};

// What a menu's items get when it opens. Items not named keep their state.
struct MenuUpdate {
    std::vector<std::pair<CommandId, bool>> enabled;
    std::vector<std::pair<CommandId, bool>> checked;
    // Full texts with the shortcut after a tab (see MenuLabel).
    std::vector<std::pair<CommandId, std::string>> texts;
};
// The file history's items come from FileHistoryMenuItems (file_history.h).
MenuUpdate ComputeMenuUpdate(const StereoDocument& document, const Settings& settings,
                             const MenuUpdateInput& input);

// "Fester Ausschnitt (640x480)\t1" for preset index 0 … 4.
std::string TrimPresetText(const Settings& settings, int index);

// ---- context menu -------------------------------------------------------------------------

// The right-button menu opens only with both views loaded: two items for a single picture,
// otherwise those two, a separator and the six submenus.
bool ContextMenuAvailable(const StereoDocument& document);
MenuId ContextMenuFor(const StereoDocument& document);
// The head items' texts: CmdFullScreen and CmdMouseCursor, after the window's state.
std::string ContextHeadText(CommandId command, bool fullScreen, bool cursorHidden);

}  // namespace duplora
