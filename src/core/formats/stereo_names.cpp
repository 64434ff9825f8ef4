#include "core/formats/stereo_names.h"

namespace duplora {

namespace {

std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// A UTF-8 continuation byte (10xxxxxx) never starts a character.
bool ContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::optional<std::size_t> ExtensionDot(std::string_view path) {
    const std::size_t start = NameStart(path);
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || dot <= start) return std::nullopt;
    return dot;
}

std::optional<std::string> FindPartnerName(std::string_view path) {
    const std::optional<std::size_t> dot = ExtensionDot(path);
    if (!dot) return std::nullopt;
    // The dot is not the name's first character, so there is one before it; a byte of a
    // multi-byte character is never one of the four letters.
    char replacement;
    switch (path[*dot - 1]) {
        case 'r':
            replacement = 'l';
            break;
        case 'R':
            replacement = 'L';
            break;
        case 'l':
            replacement = 'r';
            break;
        case 'L':
            replacement = 'R';
            break;
        default:
            return std::nullopt;
    }
    std::string partner(path);
    partner[*dot - 1] = replacement;
    return partner;
}

std::string InsertNameSuffix(std::string_view path, std::string_view suffix) {
    const std::optional<std::size_t> dot = ExtensionDot(path);
    std::string out;
    out.reserve(path.size() + suffix.size());
    if (!dot) {
        out.append(path).append(suffix);
        return out;
    }
    out.append(path.substr(0, *dot)).append(suffix).append(path.substr(*dot));
    return out;
}

LeftRightNames MakeLeftRightNames(std::string_view chosen, std::string_view leftSuffix,
                                  std::string_view rightSuffix) {
    return {InsertNameSuffix(chosen, leftSuffix), InsertNameSuffix(chosen, rightSuffix)};
}

std::string LimitNameSuffix(std::string_view suffix) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (ContinuationByte(suffix[i])) continue;
        if (characters == kMaxNameSuffixCharacters) return std::string(suffix.substr(0, i));
        ++characters;
    }
    return std::string(suffix);
}

std::string FixSaveExtension(std::string_view name, OutputFormat format) {
    const OutputFormatRow* row = FindOutputFormat(format);
    if (!row) return std::string(name);
    if (!row->rewritesEnding && OutputFormatByName(name) == format) return std::string(name);
    const std::optional<std::size_t> dot = ExtensionDot(name);
    std::string out(dot ? name.substr(0, *dot) : name);
    out.append(row->extension);
    return out;
}

std::vector<std::string> SplitQuotedNames(std::string_view text) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    while (names.size() < 4) {
        const std::size_t open = text.find('"', pos);
        if (open == std::string_view::npos) break;
        const std::size_t close = text.find('"', open + 1);
        if (close == std::string_view::npos) break;
        if (close > open + 1) names.emplace_back(text.substr(open + 1, close - open - 1));
        pos = close + 1;
    }
    if (names.size() < 2) names.clear();
    return names;
}

}  // namespace duplora
