// Slide-show list files: plain text, one stereo picture a line.
//
//   T,time,swap,X,Y,left,          a stereo file; T = StereoLayout + 11 (layouts 0-7)
//   21,time,swap,X,Y,left,right,   a pair of two files
//   T,time,swap,left,right,        older lists (T 1-9): no alignment
//   sound,program,argument         background sound, started when the list is opened
//
// A line is an entry when its first field is a whole number from 1 to 29 and the line holds
// at least five commas; any other line (comments, blank lines, garbage) is kept as it is and
// never touched by a rewrite. Lists written on Windows read as they are: backslashes in
// names are folder separators and CRLF line ends stay CRLF.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/formats/stereo_layout.h"

namespace duplora {

// A show of more pictures than this is cut off; the entries beyond stay in the file.
inline constexpr int kMaxListEntries = 5000;
// Larger files are not read: no real list comes near it.
inline constexpr std::size_t kMaxListFileSize = std::size_t{64} << 20;
// Only the first few sound lines are started.
inline constexpr std::size_t kMaxSoundLines = 8;
// Display times above this (one hour) are read as this.
inline constexpr int kMaxEntryTime = 36000;
// Alignment beyond the largest picture side means nothing; it is read as this.
inline constexpr int kMaxEntryOffset = 65535;
// A comment longer than this is cut for display.
inline constexpr std::size_t kMaxCommentLength = 1000;

inline constexpr int kPairEntryType = 21;

struct ListEntry {
    int type = 0;  // T: 11-18 a stereo file, 21 a pair; 1-9 from older lists
    int time = 0;  // display time in tenths of a second; 0 = the list's interval
    bool swap = false;
    int x = 0;  // alignment, stored the way a DAS file stores it
    int y = 0;
    std::string left;   // as written in the list (see ResolveListName)
    std::string right;  // pair entries only

    bool operator==(const ListEntry&) const = default;
};

struct SoundCommand {
    std::string program;   // as written in the list
    std::string argument;  // may be empty
    bool operator==(const SoundCommand&) const = default;
};

enum class ListLineKind { Other, Entry, Sound };

// Where one line lies in the file's text.
struct ListLineSpan {
    std::size_t begin = 0;  // first byte of the line
    std::size_t end = 0;    // end of its text: the line end (CR LF or LF) excluded
    std::size_t next = 0;   // first byte after the line end
};

// A whole list as read. The text is kept so that a rewrite copies every other line byte for
// byte.
struct ListFile {
    std::string text;
    std::vector<ListEntry> entries;        // in file order, at most kMaxListEntries
    std::vector<ListLineSpan> entryLines;  // the line of each entry
    // For each entry the nearest comment above it: a line led by "#", ";" or "//", without
    // the marker; a bare marker ends the comment before it.
    std::vector<std::string> comments;
    std::vector<SoundCommand> sounds;    // at most kMaxSoundLines
    std::size_t entriesBeyondLimit = 0;  // entry lines past kMaxListEntries, not shown
};

enum class ListResult {
    Ok = 0,
    CannotOpen,             // missing, unreadable, or not a regular file
    TooLarge,               // beyond kMaxListFileSize
    NoSuchEntry,            // the index is not an entry of the list
    EntryChanged,           // the list was changed elsewhere since it was read
    BadEntry,               // the entry cannot be stored (see ListEntryStorable)
    ListFull,               // the list would hold more than kMaxListEntries
    CannotCreateTemporary,  // no temporary file beside the list
    WriteFailed,            // writing failed; the list is as it was
    CannotReplace,          // the new list could not be renamed over the old one
};

// ---- lines ----------------------------------------------------------------------------

// What one line (with or without its line end) is.
ListLineKind ClassifyListLine(std::string_view line);

// The fields of an entry line; false when the line is not an entry. Numbers are read like
// the settings' numbers (a number followed by garbage counts, garbage alone is 0) and then
// brought into range: time 0..kMaxEntryTime (negative: the list's interval), X and Y within
// ±kMaxEntryOffset, swap on for anything but 0. Names lose surrounding blanks and line ends.
bool ParseListEntry(std::string_view line, ListEntry& out);

// The program and argument of a sound line; false when it is not one (or names no program).
bool ParseSoundLine(std::string_view line, SoundCommand& out);

// The layout an entry type opens with: 11-18 the layouts 0-7 and 21 a pair; in older lists
// 1-4 the layouts 0-3 and 5 a pair. None for the other types.
std::optional<StereoLayout> ListEntryLayout(int type);
inline bool IsPairEntryType(int type) {
    return type == kPairEntryType || type == 5;
}

// Whether the entry can be written so that it reads back the same: a type of 11-18 or 21,
// a left name (and for a pair a right name) without commas, line ends or NUL bytes and
// without blanks at either end, time and alignment in range.
bool ListEntryStorable(const ListEntry& entry);

// The entry's line without a line end: "%d,%d,%d,%d,%d,%s," and for a pair "%s,".
std::string FormatListEntry(const ListEntry& entry);

// A comment line for a list: a text that can never read as an entry or a sound line,
// line ends turned into blanks.
std::string FormatListComment(std::string_view text);

// ---- files ----------------------------------------------------------------------------

// Reads a list from its text.
ListFile ParseListText(std::string text);

// Reads the list file.
ListResult OpenList(const std::string& listPath, ListFile& out);

// One entry of the list file, counted from 0 in file order.
ListResult ReadListEntry(const std::string& listPath, int index, ListEntry& out);

// Adds entries at the end of the list, creating it when missing; a comment, when not empty,
// is written before them. A list whose last line has no line end gets one first; new lines
// end the way the list's lines end. A failed write takes back what it wrote.
ListResult AppendListEntries(const std::string& listPath, std::span<const ListEntry> entries,
                             std::string_view comment = {});
ListResult AppendListEntry(const std::string& listPath, const ListEntry& entry);

// Replaces the line of entry `index` (keeping its line end) or, for DeleteListEntry, drops
// it. With `expected`, the entry found there must still be that one. The new list is
// written beside the old and renamed over it; on any failure the old list stays as it was.
ListResult RewriteListEntry(const std::string& listPath, int index, const ListEntry& entry,
                            const ListEntry* expected = nullptr);
ListResult DeleteListEntry(const std::string& listPath, int index,
                           const ListEntry* expected = nullptr);

// The file a name in the list stands for. Backslashes are folder separators; a relative
// name is taken from the list's folder. A name written on Windows (a drive letter or a
// backslash) whose file is not found, is looked for by its file name in the list's folder,
// where a list and its pictures copied together are. A name that is not UTF-8 is also
// tried as Windows-1252 text. When nothing exists, the first candidate is returned.
std::string ResolveListName(const std::string& listPath, std::string_view name);

}  // namespace duplora
