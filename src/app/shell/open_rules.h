// What the main window opens from its command line and from dropped files, and what it does
// after an opening succeeds: plain decisions, returned as data for the window to carry out.
#pragma once

#include <QList>
#include <QUrl>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/shell/menu_rules.h"
#include "core/formats/stereo_layout.h"
#include "core/shell/command_ids.h"
#include "core/stereo/display_mode.h"

namespace duplora {

// ---- command line and drops ---------------------------------------------------------------

// The two paths the program takes from its arguments: the first argument, and the last
// further one as the second (a third argument replaces the second).
struct CommandLinePaths {
    std::string first;
    std::string second;
    bool operator==(const CommandLinePaths&) const = default;
};

// From the arguments after the program name.
CommandLinePaths CommandLineFromArguments(std::span<const std::string> arguments);
// From main's argc/argv (argv[0] is the program).
CommandLinePaths CommandLineFromArgv(int argc, const char* const* argv);

// An opening the window asks for with one of its internal commands.
struct OpenRequest {
    // CmdOpenPending one stereo file, CmdOpenPendingPair a pair, CmdOpenPendingList a slide-show
    // list.
    CommandId command = CmdNone;
    // The file to open: the stereo file, the pair's right view or the list.
    std::string path;
    // The pair's left view (CmdOpenPendingPair only).
    std::string leftPath;
    // Opened from the command line: the start display of `commandLineOpening` follows the opening.
    bool commandLineStart = false;
    // The layout to open with; none keeps the current one.
    std::optional<StereoLayout> layout;
    // Handle the command at once instead of posting it (page flipping that ends the
    // program shows the picture before the main window first appears).
    bool sendAtOnce = false;
    bool operator==(const OpenRequest&) const = default;
};

// True when the file can be opened for reading.
bool FileReadable(const std::string& path);

// What the command line opens, if anything. An empty first path opens nothing; a list
// named without a folder is looked for in the program's folder; a file that cannot be read
// is ignored without a message. `commandLineOpening` gives the layout (tens digit) and, through its
// display digit 6, whether the command is handled at once.
std::optional<OpenRequest> CommandLineOpening(
    const CommandLinePaths& paths, const std::string& programFolder, int commandLineOpening,
    const std::function<bool(const std::string&)>& readable = FileReadable);

// What dropped files open: a list by its extension, else the second file as the left view
// and the first as the right one, else the one file as a stereo file.
std::optional<OpenRequest> DropOpening(std::span<const std::string> files);

// The local files among dropped URLs, in order.
std::vector<std::string> LocalFilesFromUrls(const QList<QUrl>& urls);

// ---- after an opening ---------------------------------------------------------------------

enum class OpenedKind {
    Stereo,  // a stereo file or a pair
    Mono,    // a single picture (CmdOpenSingle)
    Paste,   // a picture from the clipboard, split as a side-by-side pair
};

// The menu bar in use. SYOKI stands for the old menu state 0, the others for state 2.
enum class MainMenu { Start, Duplora, DuploraSgl };

struct AfterOpeningInput {
    OpenedKind kind = OpenedKind::Stereo;
    MainMenu loadedMenu = MainMenu::Start;
    bool fromHistory = false;
    bool commandLineStart = false;
    int commandLineOpening = 0;
    int openAtFullSize = 0;  // "in Normalgröße öffnen"
    int fitMode = 0;         // 0 none, 1 window, 2 image height, 3 image width
    std::string openedPath;
};

struct QueuedCommand {
    CommandId command;
    bool sendAtOnce;  // handled at once; otherwise posted
    bool operator==(const QueuedCommand&) const = default;
};

struct AfterOpening {
    bool modified = false;             // the document's modified flag from now on
    bool equalizeSizes = false;        // bring both views to the same size
    std::optional<MainMenu> loadMenu;  // none keeps the menu bar
    ToolbarSet toolbar = ToolbarSet::Stereo;
    bool singleImageMode = false;
    std::optional<DisplayMode> displayMode;  // none keeps the mode
    bool rebuildFolderList = false;          // also ends a playing slide-show list
    std::string openFolder;                  // new `OpenFolder`; empty keeps it
    bool updateHistory = false;
    // Commands in order: the start display, then the fitting.
    std::vector<QueuedCommand> commands;
    // The start display 6: when page flipping ends, the program ends.
    bool closeWhenPageFlippingEnds = false;
};

AfterOpening PlanAfterOpening(const AfterOpeningInput& input);

// The commands of the start display (units digit of `commandLineOpening`) after a command-line
// opening.
std::vector<QueuedCommand> StartDisplayCommands(int commandLineOpening);

// The fitting command re-applied when the window changes size; none for FitMode 0.
std::optional<CommandId> FitCommand(int fitMode);

// A wheel turned away from the user (positive angle) zooms in, towards the user zooms out.
std::optional<CommandId> WheelCommand(int angleDelta);

}  // namespace duplora
