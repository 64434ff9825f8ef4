// The program's string table: every user-visible text by its number.
#pragma once

#include <span>
#include <string>

namespace duplora {

struct StringEntry {
    int id;
    const char* text;  // UTF-8
};

// The text of a string-table entry; a missing entry yields an empty string.
// Returns a copy, so any number of results stay valid at once.
std::string LoadResString(int id);

// Same, with printf-style arguments filled in (the table's texts use %d and %s).
std::string FormatResString(int id, ...);

// The whole table, sorted by id.
std::span<const StringEntry> StringTable();

}  // namespace duplora
