// Renaming many files at once by one of four rules: letters added before the extension,
// letters deleted, letters exchanged, or a new numbered name. The rules look at the
// file-name part only (a dot in a folder name is never the extension's) and work on whole
// UTF-8 characters. Renaming never loses a file: a name that is taken is skipped, never
// overwritten, and chains and swaps within one run (a→b, b→c; a↔b) come out right.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "core/util/question.h"
#include "core/util/result.h"

namespace duplora {

enum class RenameRule { AddLetters = 0, DeleteLetters = 1, ExchangeLetters = 2, Renumber = 3 };

// Longest texts the option fields take, in characters (the dialog enforces them).
inline constexpr int kRenameLettersMaxChars = 19;   // added and deleted letters
inline constexpr int kRenameExchangeMaxChars = 39;  // both texts of the exchange
inline constexpr int kRenameAffixMaxChars = 127;    // prefix and suffix of renumbering
inline constexpr int kRenameStartMaxChars = 19;     // start number

// The options, kept between runs by the caller.
struct RenameOptions {
    RenameRule rule = RenameRule::AddLetters;
    std::string addLetters;     // inserted before the extension
    std::string deleteLetters;  // removed from the name (before the extension)
    std::string exchangeFrom;   // replaced, extension included ...
    std::string exchangeTo;     // ... by this
    std::string prefix;         // renumbering: text before the number
    std::string startNumber;    // renumbering: "007" starts at 7 with three digits; "*"
                                // keeps each file's own digits
    std::string suffix;         // renumbering: text after the number (with the extension)
};

// The start-number field read: the digit count is the number of characters of the text
// (0 for "*", which keeps each file's own digits) and the number its value, read as
// atoi reads (leading blanks, a sign, digits; 0 when there are none; limited to ±10^18).
struct StartNumber {
    int digits = 0;
    std::int64_t number = 0;
};
StartNumber ParseStartNumber(std::string_view text);

// Renumbered name: with `digits` > 0, prefix + `number` written with at least `digits`
// digits, zero-padded, + suffix. With 0, prefix + the first run of ASCII digits in the
// file-name part of `presentName` (nothing when it has none) + suffix.
std::string NumberedName(std::string_view presentName, std::string_view prefix, int digits,
                         std::string_view suffix, std::int64_t number);

// The new file name (no folder) of `fileName` (a path's folder part is ignored) under the
// options; `number` is the running number of renumbering, unused by the other rules.
// Adding puts the letters before the extension's dot (appended when there is none).
// Deleting removes the last occurrence of the letters in the name before the extension,
// which undoes adding. Exchanging replaces the first occurrence in the whole name. A rule
// whose text is empty or not found leaves the name as it is.
std::string RenamedFileName(std::string_view fileName, const RenameOptions& options,
                            std::int64_t number);

// Example name shown beside the options.
inline constexpr std::string_view kRenameSampleName = "IMG_0123.JPG";
// The sample line: "IMG_0123.JPG --> " and the sample name renamed under the options
// (renumbering shows the start number).
std::string RenameSampleLine(const RenameOptions& options);

// What happened to one file of a run.
enum class RenameStatus {
    Renamed,       // now under `target`
    Unchanged,     // the rule gives the same name; nothing to do
    TargetExists,  // the new name is taken (also by an earlier file of the run): skipped
    Failed,        // missing source, a name that is no plain file name, or a failed rename
};

struct RenameEntry {
    std::string source;  // as given
    std::string target;  // new path in the source's folder (empty when no name was formed)
    RenameStatus status = RenameStatus::Failed;
    // Where the file is after the run (source, target, or — only if putting it back after
    // a failure was impossible — a hidden temporary name in the same folder).
    std::string location;
};

struct RenameResult {
    bool started = false;              // false when the list was empty or the user said No
    std::vector<RenameEntry> entries;  // in list order (sorted when renumbering)
    // What the user is told after the work, one message per skipped file in the list's
    // order: "Diese Datei existiert bereits - wird übersprungen." (caption "Achtung") for a
    // taken name, "Fehler beim Umbenennen - wird übersprungen." ("FEHLER") for a failure.
    std::vector<Failure> told;
    int Count(RenameStatus status) const;
};

// Renames the files once `confirm` agrees to "%d Dateien umbenennen. Wollen Sie starten ?"
// (Yes/No, caption "Konvertierung bestätigen"); renumbering sorts the list by name without
// regard to case, the other rules keep its order; the number goes up by one for every file
// of the list. A taken new name or a failure skips the file (see RenameResult::told).
// A new name that another file of the same run moves away from is free: chains (a→b,
// b→c) are renamed from their free end, rings (a→b, b→a) through unique temporary names in
// their folder, and a link that cannot move keeps every file before it where it is.
RenameResult RenameFiles(std::vector<std::string> paths, const RenameOptions& options,
                         const ConfirmPolicy& confirm);

// "Rename all files": every picture file of the folder (extension set 1) renamed as above.
RenameResult RenameFolder(const std::string& folder, const RenameOptions& options,
                          const ConfirmPolicy& confirm);

}  // namespace duplora
