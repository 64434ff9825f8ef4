// The slide-show lists in the window: opening a list (by its dialog, or named on the command
// line or dropped), showing its entries with their layout, time, swap and alignment,
// stepping and the timed show over them, making lists from picked pictures, choosing the
// list that additions go to, adding the shown pair, removing the shown entry and writing
// the shown alignment into it.
#pragma once

#include <QString>

#include <functional>
#include <string>

#include "app/batch/slide_list.h"
#include "core/formats/open_preview.h"
#include "core/formats/stereo_layout.h"
#include "core/shell/command_ids.h"
#include "core/util/result.h"
#include "gui/lists/list_dialogs.h"
#include "gui/shell/window_services.h"

namespace duplora {

class CommandRegistry;

struct ListCommandContext : WindowServices {
    // Asks to save a modified pair; false when the user cancelled.
    std::function<bool()> mayReplacePair;
    // Open a list entry's files (reporting their own failures); true when shown.
    std::function<bool(const std::string& path, StereoLayout layout)> openStereo;
    std::function<bool(const std::string& left, const std::string& right)> openPair;
    // The layout the shown pair was opened with.
    std::function<StereoLayout()> layout;
    // The list named on the command line or dropped.
    std::function<std::string()> pendingPath;
    // Compose and lay out the view again after the order or the offset changed.
    std::function<void()> redisplay;
    std::function<void(CommandId)> execute;
    std::function<void(const QString&)> setTitle;
    // How pictures are previewed (the codec options of the window).
    std::function<PreviewOptions()> preview;
};

class ListCommands {
  public:
    explicit ListCommands(ListCommandContext context);

    // CmdOpenList, CmdOpenPendingList, CmdMakeList, CmdChooseList, CmdAddToList and
    // CmdDeleteFromList.
    void Register(CommandRegistry& registry);

    // ---- the show, for the window's stepping and timer ----------------------------------
    // Whether the pair shown is an entry of the open list.
    bool Playing() const;
    // Next, previous (also CmdNextPair) entry, wrapping; `fromTimer` skips entries whose
    // files are missing. False when nothing new is shown.
    bool Step(CommandId command, bool fromTimer = false);
    // The display time of the shown entry in milliseconds.
    int TimerMs() const;
    int Index() const { return player_.Index(); }
    int Count() const { return player_.Count(); }
    // The display time of the shown entry in tenths.
    int DisplayTime() const;
    // The comment written above the shown entry; empty when "Kommentar verbergen" is on.
    QString Comment() const { return Playing() ? comment_ : QString(); }
    // Another picture replaced the entry: the list is closed.
    void Closed();

    // CmdWriteAlignment while Playing(): writes the shown alignment and order into the
    // entry's line of the list (atomically), reports "(%s)\nInformationen ..." under
    // "Schreibe Ausrichtungsdaten" and steps to the next entry; a failure is told. The
    // outcome is returned as well.
    Status WriteAlignment();

    const SlideListPlayer& Player() const { return player_; }
    // The list additions go to.
    const std::string& SelectedList() const { return selectedList_; }
    const SlideShowOptions& ShowOptions() const { return options_; }

    // Opens the list and shows its first entry (the pair may be replaced without asking).
    bool OpenListFile(const std::string& path);

  private:
    void OpenListDialogCommand();
    void OpenPendingList();
    void MakeList();
    bool ChooseList();
    void AddToList();
    void DeleteFromList();

    bool Show(const SlidePlan& plan);
    // Selects the entry shown now again (a failed step moves the index past it).
    bool BackToShownEntry();
    void ReloadIfShown(const std::string& path);
    void Tell(const QString& text, const QString& caption);
    void TellListFailure(bool writing, const std::string& path);

    ListCommandContext c_;
    SlideListPlayer player_;
    ListSoundStarter sounds_;
    SlideShowOptions options_;
    ListMakerChoices maker_;
    std::string selectedList_;
    int addTime_ = 0;
    int shownIndex_ = -1;  // the entry the window shows; -1 for none
    QString comment_;      // of the entry shown
};

}  // namespace duplora
