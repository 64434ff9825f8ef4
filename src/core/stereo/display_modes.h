// The display-mode table: one row per mode with everything the program knows of it, read by
// the menus and commands, the document, the view window, the settings, the savers, the
// batch and the converter. A new mode is a row here and its composition function.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/image/image_buffer.h"
#include "core/shell/command_ids.h"
#include "core/stereo/anaglyph_tables.h"
#include "core/stereo/common_area.h"
#include "core/stereo/display_mode.h"
#include "core/util/result.h"

namespace duplora {

// How the view window shows a mode: the two views side by side or over/under (panes 1
// and 2), the two above their blend (panes 1, 2 and 0), or one picture (pane 0).
enum class ViewPanes { SideBySide, OverUnder, ThreeViews, One };

// What the composed picture of a mode holds, for the frame drawn round it: the two views
// side by side or over/under (a frame round each), or one picture.
enum class PictureHalves { SideBySide, OverUnder, None };

// The anaglyph choices the compositions of the anaglyph modes follow.
struct AnaglyphChoice {
    GreyAnaglyphPair greyPair = GreyAnaglyphPair::RedCyan;
    ColourAnaglyphKind colourKind = ColourAnaglyphKind::ColourRedCyan;
    AnaglyphTables tables{};
};

// The full-size picture of a mode: the first (left) and second (right) view combined over
// their common area. A quiet failure when a view is missing or the area does not fit them;
// the side-by-side and over/under layouts fail with CannotCreateImage when their picture
// cannot be made.
using ModeComposeFn = Result<ImageBuffer> (*)(const ImageBuffer& first, const ImageBuffer& second,
                                              const CommonArea& area,
                                              const AnaglyphChoice& anaglyph);

struct DisplayModeRow {
    DisplayMode mode;
    std::string_view key;  // the converter's name for it ("sbs")
    // The mode's place in the lists of modes that are stored by position: the start display
    // of `Comset`, the show type of a slide-show list and the batch's output layout
    // (0 side by side … 4 colour anaglyph); -1 for a mode none of them offers.
    int listIndex;
    std::string_view menuText;     // with its & mnemonic; empty for a mode without a command
    std::string_view accelerator;  // QKeySequence portable text; may be empty
    CommandId command;             // the command that selects it; CmdNone for none
    ViewPanes panes;
    PictureHalves halves;
    bool needsSecondView;  // false: the mode shows the first view alone
    ModeComposeFn compose;
};

// Every mode, in the order of their numbers, which is also the order of the stereo menu.
std::span<const DisplayModeRow> DisplayModeTable();

// The row of a mode; nullptr for a number that is no mode.
const DisplayModeRow* FindDisplayMode(DisplayMode mode);
const DisplayModeRow* DisplayModeByCommand(CommandId command);
const DisplayModeRow* DisplayModeByKey(std::string_view key);
// The mode at a list position (see DisplayModeRow::listIndex); none for a position no mode has.
std::optional<DisplayMode> DisplayModeAtListIndex(int index);

// The rows a list of modes stored by position offers, in list order.
std::span<const DisplayModeRow* const> ListedDisplayModes();

// The modes a batch run or the converter can write: the listed ones, then the half-width
// outputs (which are not stored by position).
std::span<const DisplayModeRow* const> BatchOutputModes();

}  // namespace duplora
