#include "app/shell/path_names.h"

#include <algorithm>
#include <cstddef>

namespace duplora {

namespace {

bool IsMarkerLetter(char c) {
    return c == 'l' || c == 'L' || c == 'r' || c == 'R';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length in bytes of the UTF-8 character that starts with this byte; a stray continuation
// or invalid byte counts as one, so the scan always advances.
std::size_t CharLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

}  // namespace

std::string_view FileNamePart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FolderPart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    if (slash == 0) return path.substr(0, 1);
    return path.substr(0, slash);
}

std::string_view ExtensionOf(std::string_view path) {
    const std::string_view name = FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

bool HasListExtension(std::string_view path) {
    const std::string_view ext = ExtensionOf(path);
    if (ext.size() != 3) return false;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return lower(ext[0]) == 't' && lower(ext[1]) == 'x' && lower(ext[2]) == 't';
}

std::string PairBaseName(std::string_view leftPath) {
    const std::string_view name = FileNamePart(leftPath);
    std::string out;
    out.reserve(name.size());
    std::size_t i = 0;
    while (i < name.size()) {
        const char c = name[i];
        // All three patterns are ASCII, so looking at the next bytes is safe: they are whole
        // characters whenever they match.
        const bool markerFollows =
            i + 2 < name.size() && IsMarkerLetter(name[i + 1]) && name[i + 2] == '.';
        if (markerFollows && (c == '_' || c == '.')) {
            i += 2;  // drop the separator and the letter; the dot is copied next
            continue;
        }
        if (markerFollows && IsDigit(c)) {
            out += c;
            i += 2;
            continue;
        }
        const std::size_t n = std::min(CharLength(static_cast<unsigned char>(c)), name.size() - i);
        out.append(name.substr(i, n));
        i += n;
    }
    return out;
}

}  // namespace duplora
