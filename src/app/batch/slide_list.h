// Playing a slide-show list: what showing an entry means for the window, stepping and
// timing, writing the shown pair back into the list, and the list's background sound.
// The window acts on the plans; nothing here opens a picture or starts a timer.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/batch/list_file.h"
#include "core/stereo/display_mode.h"
#include "core/util/question.h"

namespace duplora {

// The choices of the list-open dialog.
struct SlideShowOptions {
    int showType = 0;          // listDisplayMode: 0 side by side ... 5 page flipping
    bool swap = false;         // "Vertausche L/R": every entry shown exchanged
    bool hideComment = false;  // "Kommentar verbergen"
    bool autostart = false;    // "Autostart Slide Show"
    int interval = 30;         // SlideTime: tenths of a second for entries with time 0
};

// The display of a show type: the mode at that list position (DisplayModeRow::listIndex), or
// none for page flipping (5), which is an output of its own. Unknown types show side by side.
std::optional<DisplayMode> ShowTypeDisplayMode(int showType);

// The list interval in force: 1..3600 tenths, anything else 3 seconds.
int ListInterval(int tenths);

enum class SlideProblem {
    None,
    UnknownType,  // an entry type that names no layout
    NoFileName,   // an empty name (or a pair without its right name)
    MissingFile,  // a named file does not exist
};

// What the window does to show entry `index`.
struct SlidePlan {
    int index = -1;
    bool pair = false;  // two files: LoadImageFile into the left and right slots
    // The layout `left` is opened with as a stereo file; Pair for two files.
    StereoLayout layout = StereoLayout::SideBySide;
    std::string left;        // resolved paths
    std::string right;       // pairs only
    bool listSwap = false;   // the entry's own swap request
    bool swapViews = false;  // show the right file (or half) on the left
    int dx = 0;              // the document's alignment offset to set after opening, for
    int dy = 0;              // the views as shown
    int displayTime = 30;    // tenths of a second
    int timerMs = 3000;      // the show's timer for this entry
    QString intervalText;    // "Slide Show Intervall 3.0 S."
    QString comment;         // the entry's comment; empty when hidden
    SlideProblem problem = SlideProblem::None;
    std::vector<std::string> missing;  // the named files that do not exist
    bool Showable() const { return problem == SlideProblem::None; }
};

// The plan for entry `index` of a list read from `listPath`.
SlidePlan PlanSlide(const ListFile& list, const std::string& listPath, int index,
                    const SlideShowOptions& options);

// The entry that stores what is shown: the shown entry's files and time, the views'
// order and alignment. `displaySwapped` says whether the right file is shown on the left;
// (dx, dy) is the document's offset. Older entry types are written in today's form.
ListEntry EntryFromDisplay(const ListEntry& shown, bool displaySwapped, int dx, int dy,
                           bool showSwap);

// The entry for a document not taken from the list: the files in their own order (for a
// stereo file `right` is ignored), layout 0-7 or 10, display time, alignment as above.
// A layout that a list cannot hold gives an entry that ListEntryStorable refuses.
ListEntry EntryForDocument(const std::string& left, const std::string& right, StereoLayout layout,
                           int time, bool displaySwapped, int dx, int dy);

// Texts the window shows around lists.
// StringId::SlideShowInterval
QString ListIntervalText(int tenths);
// StringId::ListCannotOpen / StringId::ListCannotCreate
QString ListFailureText(ListResult result, bool writing);
// StringId::ListAlignmentWritten
QString AlignmentWrittenText(const std::string& listPath, int dx, int dy);
QString EntryAppendedTitle(const std::string& listPath);

// The list being shown, its current entry and the timed show over it.
class SlideListPlayer {
  public:
    // Reads the list and selects entry 0; the show is stopped. Autostart is the window's.
    ListResult Open(const std::string& listPath, const SlideShowOptions& options);
    // Ends the list (another file was opened).
    void Close();
    bool IsOpen() const { return open_; }
    const std::string& ListPath() const { return path_; }
    const ListFile& List() const { return list_; }
    const SlideShowOptions& Options() const { return options_; }
    int Count() const { return static_cast<int>(list_.entries.size()); }
    int Index() const { return index_; }
    const ListEntry* CurrentEntry() const;

    SlidePlan Current() const;
    SlidePlan Select(int index);
    // Next and previous entry, wrapping at both ends; previous also stops the show.
    SlidePlan Next();
    SlidePlan Previous();

    // The timed show (command "Slide Show"): toggles; starts only with entries.
    bool ToggleShow();
    void StopShow() { running_ = false; }
    bool Running() const { return running_; }
    // The timer for the entry shown now.
    int TimerMs() const;
    // A timer tick: the next entry that can be shown, skipping those with missing files.
    // When none can, the show stops and there is nothing to show.
    std::optional<SlidePlan> Tick();

    // Writes the shown pair's order and alignment into the current entry and reads the
    // list again; the index stays (the window then steps on).
    ListResult WriteAlignment(bool displaySwapped, int dx, int dy);
    // Removes the current entry from the list and reads it again. The plan of the entry
    // that followed it, or none when the list is now empty.
    ListResult DeleteCurrent(std::optional<SlidePlan>& next);

  private:
    ListResult Reload();

    bool open_ = false;
    bool running_ = false;
    std::string path_;
    ListFile list_;
    SlideShowOptions options_;
    int index_ = 0;
};

// The program and arguments a sound line starts: names resolved like the list's names,
// never a shell command line.
struct SoundStart {
    QString program;
    QStringList arguments;
    QString workingDirectory;  // the list's folder
};
SoundStart ResolveSoundCommand(const std::string& listPath, const SoundCommand& sound);

// Starts a list's sound programs, but only after the user has agreed for that list. The
// consent lasts while the object lives, for the list with the same sound lines; a list
// whose sound lines changed is asked about again. Asking and starting are injected, so
// that tests start nothing.
class ListSoundStarter {
  public:
    using AskFn =
        std::function<bool(const QString& listPath, const std::vector<SoundStart>& starts)>;
    using StartFn = std::function<bool(const SoundStart& start)>;

    ListSoundStarter(AskFn ask, StartFn start) : ask_(std::move(ask)), start_(std::move(start)) {}

    // For a list just opened: asks when needed, then starts each program. Returns how many
    // started.
    int Start(const std::string& listPath, const std::vector<SoundCommand>& sounds);
    bool Agreed(const std::string& listPath, const std::vector<SoundCommand>& sounds) const;

    // The question ("Achtung", Yes/No) put to `confirm`, and a detached start without a
    // shell.
    static AskFn AskWith(ConfirmPolicy confirm);
    static StartFn StartDetached();

  private:
    static std::string Key(const std::string& listPath, const std::vector<SoundCommand>& sounds);

    AskFn ask_;
    StartFn start_;
    std::set<std::string> agreed_;
};

// The list maker's entries for picked files: sorted ignoring case; `sourceLayout` is the
// maker's radio (0-3 the layouts, 4 separate left and right files). Separate files take
// their right file from `rightFolder` (same name) or, without one, from the next picked
// file.
struct ListMakerResult {
    // StringId::ListUnpairedCount when separate files without a right folder are not paired
    int errorText = 0;
    std::vector<ListEntry> entries;
    std::vector<std::string> missingPairs;  // left files whose right file was not found
};
ListMakerResult MakeListEntries(std::vector<std::string> picked, int sourceLayout,
                                const std::string& rightFolder, int interval, bool swap);

}  // namespace duplora
