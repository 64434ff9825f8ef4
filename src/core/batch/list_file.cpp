#include "core/batch/list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "core/formats/atomic_file.h"
#include "core/shell/setting_values.h"

namespace duplora {

namespace {

constexpr std::size_t kEntryFields = 7;  // T, time, swap, X, Y, left, right

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A line without the line end it may still carry.
std::string_view StripLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

// The first `count` comma-separated fields (fewer when the line has fewer). Only as many
// as an entry needs are looked at, so a line of a million commas costs nothing.
std::size_t SplitFields(std::string_view line, std::string_view* fields, std::size_t count) {
    std::size_t n = 0;
    while (n < count) {
        const std::size_t comma = line.find(',');
        fields[n++] = line.substr(0, comma);
        if (comma == std::string_view::npos) break;
        line.remove_prefix(comma + 1);
    }
    return n;
}

// The whole field must be a number (blanks around it allowed): "12 Fotos, ..." is a comment,
// not an entry.
std::optional<int> StrictNumber(std::string_view field) {
    field = TrimBlanks(field);
    bool negative = false;
    if (!field.empty() && (field.front() == '+' || field.front() == '-')) {
        negative = field.front() == '-';
        field.remove_prefix(1);
    }
    if (field.empty()) return std::nullopt;
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = std::min(value * 10 + (c - '0'), 1000000);  // saturates far above 29
    }
    return negative ? -value : value;
}

int LenientNumber(std::string_view field, int low, int high) {
    return std::clamp(ParseSettingInt(field), low, high);
}

std::string CleanName(std::string_view field) {
    return std::string(TrimBlanks(StripLineEnd(TrimBlanks(field))));
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
               return lower(x) == lower(y);
           });
}

bool StorableName(std::string_view name) {
    if (name.empty() || IsBlank(name.front()) || IsBlank(name.back())) return false;
    return name.find_first_of(std::string_view(",\r\n\0", 4)) == std::string_view::npos;
}

// Length of the longest prefix of s, at most `limit` bytes, that does not end inside a
// UTF-8 sequence.
std::size_t Utf8Prefix(std::string_view s, std::size_t limit) {
    if (s.size() <= limit) return s.size();
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return n;
}

// The text of a comment line for display: a line led by "#", ";" or "//", without the
// marker and blanks. None for other lines, and for binary bytes.
std::optional<std::string> CommentText(std::string_view line) {
    std::string_view s = TrimBlanks(StripLineEnd(line));
    if (s.starts_with("//"))
        s.remove_prefix(2);
    else if (!s.empty() && (s.front() == '#' || s.front() == ';'))
        s.remove_prefix(1);
    else
        return std::nullopt;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7F) return std::nullopt;
    }
    s = TrimBlanks(s);
    return std::string(s.substr(0, Utf8Prefix(s, kMaxCommentLength)));
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t length;
        std::uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (s.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < smallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

// Windows-1252 text as UTF-8: what German lists made on Windows hold.
std::string Windows1252ToUtf8(std::string_view s) {
    static constexpr std::uint16_t kHigh[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    std::string out;
    out.reserve(s.size() * 2);
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        const std::uint32_t cp = c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(path, ec);
}

ListResult ReadListText(const std::string& listPath, std::string& out) {
    struct stat st;
    if (::stat(listPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::uint64_t>(st.st_size) > kMaxListFileSize)
        return ListResult::TooLarge;
    std::vector<std::uint8_t> bytes;
    if (!ReadFileHead(listPath, kMaxListFileSize + 1, bytes)) return ListResult::CannotOpen;
    if (bytes.size() > kMaxListFileSize) return ListResult::TooLarge;
    try {
        out.assign(bytes.begin(), bytes.end());
    } catch (const std::bad_alloc&) {
        return ListResult::TooLarge;
    }
    return ListResult::Ok;
}

// The line end new lines get: the one of the list's last complete line.
std::string_view LineEndOf(std::string_view text) {
    const std::size_t nl = text.rfind('\n');
    if (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r') return "\r\n";
    return "\n";
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ReadAllAt(int fd, std::string& out, std::size_t size) {
    out.resize(size);
    std::size_t got = 0;
    if (!ReadAll(fd, reinterpret_cast<std::uint8_t*>(out.data()), size, got)) return false;
    out.resize(got);
    return true;
}

ListResult ReplaceListLine(const std::string& listPath, int index, const ListEntry* entry,
                           const ListEntry* expected) {
    if (entry && !ListEntryStorable(*entry)) return ListResult::BadEntry;
    // A list the user made read-only stays so, although its folder would allow a rename.
    if (::access(listPath.c_str(), W_OK) != 0) return ListResult::CannotOpen;
    std::string text;
    if (const ListResult r = ReadListText(listPath, text); r != ListResult::Ok) return r;
    ListFile list = ParseListText(std::move(text));
    if (index < 0 || static_cast<std::size_t>(index) >= list.entries.size())
        return ListResult::NoSuchEntry;
    if (expected && *expected != list.entries[static_cast<std::size_t>(index)])
        return ListResult::EntryChanged;

    const ListLineSpan line = list.entryLines[static_cast<std::size_t>(index)];
    const std::string_view all = list.text;
    const std::string replacement = entry ? FormatListEntry(*entry) : std::string();
    const auto bytes = [](std::string_view s) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(s.data()),
                                             s.size());
    };
    // The replaced line keeps its own line end; a dropped line goes with it.
    const std::span<const std::uint8_t> pieces[] = {
        bytes(all.substr(0, line.begin)), bytes(replacement),
        bytes(all.substr(entry ? line.end : line.next))};

    // Permissions and owner stay; the modification time is that of the rewrite.
    FileStamp stamp = ReadFileStamp(listPath);
    stamp.modifyTime = {0, UTIME_NOW};
    switch (ReplaceFile(listPath, pieces, stamp)) {
        case ReplaceResult::Ok:
            return ListResult::Ok;
        case ReplaceResult::CannotCreate:
            return ListResult::CannotCreateTemporary;
        case ReplaceResult::WriteFailed:
            return ListResult::WriteFailed;
        case ReplaceResult::CannotRename:
            return ListResult::CannotReplace;
    }
    return ListResult::WriteFailed;
}

}  // namespace

// ---- lines ----------------------------------------------------------------------------

bool ParseListEntry(std::string_view line, ListEntry& out) {
    line = StripLineEnd(line);
    if (line.find('\0') != std::string_view::npos) return false;
    std::string_view f[kEntryFields];
    const std::size_t n = SplitFields(line, f, kEntryFields);
    const std::optional<int> type = StrictNumber(f[0]);
    if (!type || *type < 1 || *type > 29) return false;
    if (std::count(line.begin(), line.end(), ',') < 5) return false;  // so n >= 6

    ListEntry e;
    e.type = *type;
    e.time = std::max(0, LenientNumber(f[1], -1, kMaxEntryTime));
    e.swap = ParseSettingInt(f[2]) != 0;
    std::size_t name = 3;  // older lists: T, time, swap, left, right
    if (e.type > 9) {
        e.x = LenientNumber(f[3], -kMaxEntryOffset, kMaxEntryOffset);
        e.y = LenientNumber(f[4], -kMaxEntryOffset, kMaxEntryOffset);
        name = 5;
    }
    e.left = CleanName(f[name]);
    if (IsPairEntryType(e.type) && name + 1 < n) e.right = CleanName(f[name + 1]);
    out = std::move(e);
    return true;
}

bool ParseSoundLine(std::string_view line, SoundCommand& out) {
    line = StripLineEnd(line);
    if (line.find('\0') != std::string_view::npos) return false;
    std::string_view f[3];
    const std::size_t n = SplitFields(line, f, 3);
    if (n < 2 || !EqualsIgnoreCase(TrimBlanks(f[0]), "sound")) return false;
    SoundCommand s;
    s.program = CleanName(f[1]);
    if (n > 2) s.argument = CleanName(f[2]);
    if (s.program.empty()) return false;
    out = std::move(s);
    return true;
}

ListLineKind ClassifyListLine(std::string_view line) {
    ListEntry entry;
    if (ParseListEntry(line, entry)) return ListLineKind::Entry;
    SoundCommand sound;
    if (ParseSoundLine(line, sound)) return ListLineKind::Sound;
    return ListLineKind::Other;
}

std::optional<StereoLayout> ListEntryLayout(int type) {
    if (type >= 11 && type <= 18) return StereoLayoutFromNumber(type - 11);
    if (type == kPairEntryType || type == 5) return StereoLayout::Pair;
    // Older lists numbered the list maker's source layouts from 1.
    if (type >= 1 && type <= 4) return StereoLayoutFromNumber(type - 1);
    return std::nullopt;
}

bool ListEntryStorable(const ListEntry& e) {
    const bool pair = e.type == kPairEntryType;
    if (!pair && (e.type < 11 || e.type > 18)) return false;
    if (e.time < 0 || e.time > kMaxEntryTime) return false;
    if (std::abs(e.x) > kMaxEntryOffset || std::abs(e.y) > kMaxEntryOffset) return false;
    return StorableName(e.left) && (!pair || StorableName(e.right));
}

std::string FormatListEntry(const ListEntry& e) {
    std::string line = std::to_string(e.type) + ',' + std::to_string(e.time) + ',' +
                       (e.swap ? "1" : "0") + ',' + std::to_string(e.x) + ',' +
                       std::to_string(e.y) + ',' + e.left + ',';
    if (e.type == kPairEntryType) line += e.right + ',';
    return line;
}

std::string FormatListComment(std::string_view text) {
    std::string line = "# ";
    for (char c : text) {
        if (c == '\0') continue;
        line += c == '\r' || c == '\n' ? ' ' : c;
    }
    return line;
}

// ---- files ----------------------------------------------------------------------------

ListFile ParseListText(std::string text) {
    ListFile list;
    list.text = std::move(text);
    const std::string_view all = list.text;
    std::string comment;
    // A byte-order mark (Windows editors write one) stays in front of the first line.
    std::size_t pos = all.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < all.size()) {
        const std::size_t nl = all.find('\n', pos);
        ListLineSpan span;
        span.begin = pos;
        span.end = nl == std::string_view::npos ? all.size() : nl;
        span.next = nl == std::string_view::npos ? all.size() : nl + 1;
        if (nl != std::string_view::npos && span.end > pos && all[span.end - 1] == '\r') --span.end;
        const std::string_view line = all.substr(pos, span.end - pos);
        pos = span.next;

        ListEntry entry;
        SoundCommand sound;
        if (ParseListEntry(line, entry)) {
            if (list.entries.size() < static_cast<std::size_t>(kMaxListEntries)) {
                list.entries.push_back(std::move(entry));
                list.entryLines.push_back(span);
                list.comments.push_back(comment);
            } else {
                ++list.entriesBeyondLimit;
            }
        } else if (ParseSoundLine(line, sound)) {
            if (list.sounds.size() < kMaxSoundLines) list.sounds.push_back(std::move(sound));
        } else if (auto text = CommentText(line)) {
            comment = std::move(*text);
        }
    }
    return list;
}

ListResult OpenList(const std::string& listPath, ListFile& out) {
    std::string text;
    if (const ListResult r = ReadListText(listPath, text); r != ListResult::Ok) return r;
    out = ParseListText(std::move(text));
    return ListResult::Ok;
}

ListResult ReadListEntry(const std::string& listPath, int index, ListEntry& out) {
    out.x = out.y = 0;
    ListFile list;
    if (const ListResult r = OpenList(listPath, list); r != ListResult::Ok) return r;
    if (index < 0 || static_cast<std::size_t>(index) >= list.entries.size())
        return ListResult::NoSuchEntry;
    out = std::move(list.entries[static_cast<std::size_t>(index)]);
    return ListResult::Ok;
}

ListResult AppendListEntries(const std::string& listPath, std::span<const ListEntry> entries,
                             std::string_view comment) {
    for (const ListEntry& e : entries)
        if (!ListEntryStorable(e)) return ListResult::BadEntry;
    if (listPath.empty()) return ListResult::CannotOpen;
    struct stat st;
    const bool existed = ::stat(listPath.c_str(), &st) == 0;
    // Non-blocking, so that a FIFO cannot hang the caller before it is refused.
    FileDescriptor fd(
        ::open(listPath.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644));
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return ListResult::CannotOpen;
    if (static_cast<std::uint64_t>(st.st_size) > kMaxListFileSize) return ListResult::TooLarge;

    std::string text;
    if (!ReadAllAt(fd.Get(), text, static_cast<std::size_t>(st.st_size)))
        return ListResult::CannotOpen;
    const std::size_t oldSize = text.size();
    const std::string_view ending = LineEndOf(text);
    std::string added;
    if (!text.empty() && text.back() != '\n') added = text.back() == '\r' ? "\n" : ending;
    {
        const ListFile list = ParseListText(std::move(text));
        if (list.entries.size() + list.entriesBeyondLimit + entries.size() >
            static_cast<std::size_t>(kMaxListEntries))
            return ListResult::ListFull;
    }
    if (!comment.empty()) (added += FormatListComment(comment)) += ending;
    for (const ListEntry& e : entries) (added += FormatListEntry(e)) += ending;

    if (!WriteAll(fd.Get(), added) || ::fsync(fd.Get()) != 0) {
        // Take back a partly written line, so that the list reads as before.
        [[maybe_unused]] const int cut = ::ftruncate(fd.Get(), static_cast<off_t>(oldSize));
        if (!existed) ::unlink(listPath.c_str());
        return ListResult::WriteFailed;
    }
    return fd.Close() ? ListResult::Ok : ListResult::WriteFailed;
}

ListResult AppendListEntry(const std::string& listPath, const ListEntry& entry) {
    return AppendListEntries(listPath, std::span<const ListEntry>(&entry, 1));
}

ListResult RewriteListEntry(const std::string& listPath, int index, const ListEntry& entry,
                            const ListEntry* expected) {
    return ReplaceListLine(listPath, index, &entry, expected);
}

ListResult DeleteListEntry(const std::string& listPath, int index, const ListEntry* expected) {
    return ReplaceListLine(listPath, index, nullptr, expected);
}

std::string ResolveListName(const std::string& listPath, std::string_view name) {
    if (name.empty()) return {};
    std::string path(name);
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    const bool windows = drive || path.find('\\') != std::string::npos;
    std::replace(path.begin(), path.end(), '\\', '/');

    const std::filesystem::path folder = std::filesystem::path(listPath).parent_path();
    const auto inFolder = [&](const std::string& p) {
        return folder.empty() ? p : (folder / p).string();
    };
    std::vector<std::string> candidates;
    const auto add = [&](const std::string& p) {
        if (drive) return;  // a drive letter means nothing here
        candidates.push_back(p.front() == '/' ? p : inFolder(p));
    };
    const bool utf8 = IsValidUtf8(path);
    add(path);
    if (!utf8) add(Windows1252ToUtf8(path));
    if (windows) {
        const std::string file = std::filesystem::path(path).filename().string();
        if (!file.empty()) {
            candidates.push_back(inFolder(file));
            if (!utf8) candidates.push_back(inFolder(Windows1252ToUtf8(file)));
        }
    }
    for (const std::string& c : candidates)
        if (Exists(c)) return c;
    if (candidates.empty()) return inFolder(path);  // "C:" alone, or a folder with a drive
    return candidates.front();
}

}  // namespace duplora
