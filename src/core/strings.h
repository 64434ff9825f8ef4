// The program's string table: every user-visible text by its number.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace duplora {

struct StringEntry {
    int id;
    const char* text;  // UTF-8
};

// Puts the interface texts into the user's language: given a German text, its translation,
// or the text itself where there is none. Installed once at start, before any worker reads
// texts; without one (the default) every text stays German.
using TextTranslator = std::string (*)(std::string_view german);
void SetTextTranslator(TextTranslator translator);
// A German text of the interface in the user's language.
std::string TranslateText(std::string_view german);

// The text of a string-table entry in the user's language; a missing entry yields an empty
// string.
// Returns a copy, so any number of results stay valid at once.
std::string LoadResString(int id);

// Same, with printf-style arguments filled in (the table's texts use %d and %s); the
// translated template is filled, so the arguments stay as given.
std::string FormatResString(int id, ...);

// The whole table as written (German), sorted by id.
std::span<const StringEntry> StringTable();

}  // namespace duplora
