// File names of stereo pairs: the partner of an L/R-named file, the names of the two files
// a pair is saved as, and the extension the save dialog's file type asks for. Only the
// file-name part of a path is looked at for the extension's dot, so a folder such as
// "/photos/2024.05" never counts as an extension. Names are UTF-8; every change here is
// made next to an ASCII character, so multi-byte characters stay whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/formats/output_formats.h"

namespace duplora {

// Offset of the extension's dot in `path`, searched in the file-name part only; none when
// the name has no dot or only a leading one (".hidden").
std::optional<std::size_t> ExtensionDot(std::string_view path);

// The partner of a pair file: the character just before the extension's dot is exchanged,
// "l" ↔ "r" and "L" ↔ "R" ("pair_L.jpg" → "pair_R.jpg"). None when the name has no
// extension or another character stands there.
std::optional<std::string> FindPartnerName(std::string_view path);

// `suffix` put before the extension's dot ("a/pair.jpg", "_l" → "a/pair_l.jpg"); appended
// to a name without an extension.
std::string InsertNameSuffix(std::string_view path, std::string_view suffix);

// The two files a pair is saved as. Equal names (equal suffixes) are refused by the savers
// instead of writing the right view over the left one.
struct LeftRightNames {
    std::string left;
    std::string right;
    bool Same() const { return left == right; }
};
LeftRightNames MakeLeftRightNames(std::string_view chosen, std::string_view leftSuffix,
                                  std::string_view rightSuffix);

// Longest name suffix the save dialog keeps, in characters.
inline constexpr std::size_t kMaxNameSuffixCharacters = 20;
// The suffix cut to 20 characters (whole UTF-8 characters).
std::string LimitNameSuffix(std::string_view suffix);

// The name with the extension of the format (".jpg", ".bmp", ".jps", ".stj"), unless it
// already classifies as that format (OutputFormatByName); an STJ name is always rewritten,
// to itself when it already ends in ".stj".
std::string FixSaveExtension(std::string_view name, OutputFormat format);

// The names of a multiple selection as the file box shows them ("a.jpg" "b.jpg"): the text
// between quote characters, at most four names. Empty when the text holds fewer than two.
std::vector<std::string> SplitQuotedNames(std::string_view text);

}  // namespace duplora
