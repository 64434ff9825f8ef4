// Ordering file names the way a person reads a folder listing: without regard to letter
// case, for names in any script, and the picture files of one folder in that order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace duplora {

// Negative, zero or positive as `a` sorts before, with or after `b` when letter case is
// ignored (ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters are folded; UTF-8
// is compared by whole characters). Names that differ only in case fall back to byte order,
// so the order is total and the same on every run.
int CompareNamesNoCase(std::string_view a, std::string_view b);

// Sorts paths by their file-name part with CompareNamesNoCase (whole paths break ties).
void SortNamesNoCase(std::vector<std::string>& paths);

// The regular files of `folder` whose names pass IsKnownImageName(name, extensionSet), as
// paths in the folder, sorted with SortNamesNoCase. Empty when the folder cannot be read.
std::vector<std::string> KnownImageFiles(const std::string& folder, int extensionSet = 1);

}  // namespace duplora
