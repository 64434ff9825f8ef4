// Stepping through the pictures of a folder: the sorted list of its picture files, the next
// and previous file of a one-file stereo picture, the next and previous pair of a two-file
// one, and the timed slide show over the folder.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/command_ids.h"

namespace duplora {

// The list keeps at most this many names, the first ones found.
inline constexpr int kMaxFolderEntries = 5000;

// Decides by a file name (no folder) whether the file is a picture to browse.
using ImageNameTest = std::function<bool(std::string_view name)>;

// The names a folder list collects: the endings of the image-name test, set 0.
bool DefaultImageNameTest(std::string_view name);

struct FolderList {
    std::string folder;              // ends in '/', or empty for the working folder
    std::vector<std::string> names;  // file names, sorted without regard to case
    int index = 0;                   // the current entry; 0 when the list is empty

    bool Empty() const { return names.empty(); }
    int Count() const { return static_cast<int>(names.size()); }
    // Folder plus the name at `i`; empty when `i` is out of range.
    std::string PathAt(int i) const;
};

// The picture files of the folder of `path`: regular files with a non-zero size whose names
// pass the test, sorted without regard to case (Unicode case folding, ties in byte order).
// The current index is that of the file `path` names — an exact match first, otherwise one
// that differs only in case — or 0. A folder that cannot be read gives an empty list.
FolderList BuildFolderList(const std::string& path,
                           const ImageNameTest& isImage = DefaultImageNameTest);

// `index` moved by `by` entries, wrapping at both ends; 0 for an empty list.
int StepIndex(int index, int count, int by);

// How the open document was loaded: both views from one file, or from two files.
enum class BrowseKind { TwoFiles = 0, StereoFile = 1 };

// Next image (CmdNextImage) and next pair (CmdNextPair) step forward, previous image
// (CmdPreviousImage) back; the previous-image step also stops a running slide show (the caller's
// part).
struct StereoFileStep {
    std::string path;
    int index = 0;
    bool operator==(const StereoFileStep&) const = default;
};
// The file to open next for a document loaded from one stereo file; none for an empty list
// or another command.
std::optional<StereoFileStep> StepStereoFile(const FolderList& list, CommandId command);

// The partner of a file name: the letter just before the extension's dot exchanged, l ↔ r
// and L ↔ R. None when the name has no extension, starts with its dot, or has another letter
// there. Only the name is looked at, so dots in folder names never count.
std::optional<std::string> PartnerFileName(std::string_view name);

// Where the two views of the open document came from.
struct PairContext {
    std::string leftFolder;   // folder of the left view
    std::string rightFolder;  // folder of the right view; empty when unknown
    std::function<bool(const std::string& path)> fileExists;  // empty: a regular file exists
    std::function<std::optional<std::string>(std::string_view name)> partner;  // empty: above
};

struct PairStep {
    std::string left;
    std::string right;
    int index = 0;
    bool operator==(const PairStep&) const = default;
};

// The pair to open next for a document loaded from two files.
// Views from two folders pair by name: the next (or previous) name of the list in the left
// folder, with the same name in the right folder, or failing that its partner name there.
// Views from one folder, or names without a partner, pair consecutive entries of the list,
// the left view at the index and the right view after it, in list order: next moves two
// entries on, previous two back, and next pair (CmdNextPair) one on, which re-pairs the list when
// its files were paired off by one. Lists with fewer than two entries give no consecutive
// pair.
std::optional<PairStep> StepPair(const FolderList& list, CommandId command,
                                 const PairContext& context);

// The slide show only starts over a non-empty list; its timer interval in milliseconds from
// `SlideTime` in tenths of a second (kept within 1 … 3600).
bool SlideShowCanStart(const FolderList& list);
int SlideShowIntervalMs(int slideTime);
// The title's note "Slide Show Intervall s.t S.".
std::string SlideShowTitleText(int slideTime);

}  // namespace duplora
