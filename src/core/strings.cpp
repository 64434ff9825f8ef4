#include "core/strings.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace duplora {

// Defined in res/core/string_table.cpp.
extern const StringEntry kStringTable[];
extern const std::size_t kStringTableSize;

namespace {
std::atomic<TextTranslator> gTranslator{nullptr};
}  // namespace

void SetTextTranslator(TextTranslator translator) {
    gTranslator.store(translator);
}

std::string TranslateText(std::string_view german) {
    const TextTranslator translator = gTranslator.load();
    return translator && !german.empty() ? translator(german) : std::string(german);
}

std::span<const StringEntry> StringTable() {
    return {kStringTable, kStringTableSize};
}

std::string LoadResString(int id) {
    auto table = StringTable();
    auto it = std::lower_bound(table.begin(), table.end(), id,
                               [](const StringEntry& e, int v) { return e.id < v; });
    if (it == table.end() || it->id != id) return {};
    return TranslateText(it->text);
}

std::string FormatResString(int id, ...) {
    const std::string format = LoadResString(id);
    va_list args;
    va_start(args, id);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format.c_str(), copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), format.c_str(), args);
        out.assign(buf.data(), static_cast<std::size_t>(n));
    }
    va_end(args);
    return out;
}

}  // namespace duplora
