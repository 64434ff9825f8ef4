#include "core/batch/rename.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "core/batch/name_order.h"
#include "core/formats/stereo_names.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

constexpr std::int64_t kNumberLimit = 1'000'000'000'000'000'000;

std::string_view NamePart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Offset of the extension's dot in a file name; npos for none or only a leading dot.
std::size_t NameExtensionDot(std::string_view name) {
    return ExtensionDot(name).value_or(std::string_view::npos);
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// True when [pos, pos + length) starts and ends on character boundaries.
bool OnCharacterBoundaries(std::string_view text, std::size_t pos, std::size_t length) {
    if (pos < text.size() && IsContinuationByte(text[pos])) return false;
    const std::size_t end = pos + length;
    return end >= text.size() || !IsContinuationByte(text[end]);
}

// First or last occurrence of `what` in `text` that covers whole UTF-8 characters.
std::size_t FindWhole(std::string_view text, std::string_view what, bool last) {
    if (what.empty() || what.size() > text.size()) return std::string_view::npos;
    if (last) {
        std::size_t from = text.size() - what.size();
        while (true) {
            const std::size_t pos = text.rfind(what, from);
            if (pos == std::string_view::npos) return pos;
            if (OnCharacterBoundaries(text, pos, what.size())) return pos;
            if (pos == 0) return std::string_view::npos;
            from = pos - 1;
        }
    }
    std::size_t from = 0;
    while (true) {
        const std::size_t pos = text.find(what, from);
        if (pos == std::string_view::npos) return pos;
        if (OnCharacterBoundaries(text, pos, what.size())) return pos;
        from = pos + 1;
    }
}

int CountCharacters(std::string_view text) {
    int count = 0;
    for (char c : text) count += IsContinuationByte(c) ? 0 : 1;
    return count;
}

std::string FormatPadded(std::int64_t number, int digits) {
    const bool negative = number < 0;
    const std::string magnitude = std::to_string(negative ? -number : number);
    // Like printf's "%0*d": the sign counts towards the width.
    const int width = digits - (negative ? 1 : 0);
    std::string out = negative ? "-" : "";
    if (width > static_cast<int>(magnitude.size())) out.append(width - magnitude.size(), '0');
    return out + magnitude;
}

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::string Key(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// Renames without ever replacing an existing file; 0 or the error number.
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    int error = errno;
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP) return error;
    // File systems without the flag: a hard link fails when the name is taken.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    error = errno;
    if (error == EEXIST) return error;
    // Nor hard links: the plain check is the best left.
    if (Exists(to)) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Moves `path` to a fresh hidden name in its own folder; the name, or empty on failure.
std::string ParkUnderTemporaryName(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    std::string temporary = (folder / ".duplora-rename-XXXXXX").string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return {};
    ::close(fd);
    // Replacing the empty placeholder just made for this purpose is intended.
    if (::rename(path.c_str(), temporary.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return {};
    }
    return temporary;
}

struct Candidate {
    std::size_t entry = 0;
    std::string sourceKey;
    std::string targetKey;
    bool accepted = true;
    std::string parkedAt;
};

}  // namespace

StartNumber ParseStartNumber(std::string_view text) {
    StartNumber start;
    if (text == "*") return start;
    start.digits = CountCharacters(text);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        value = value > (kNumberLimit - digit) / 10 ? kNumberLimit : value * 10 + digit;
    }
    start.number = negative ? -value : value;
    return start;
}

std::string NumberedName(std::string_view presentName, std::string_view prefix, int digits,
                         std::string_view suffix, std::int64_t number) {
    std::string name(prefix);
    if (digits > 0) {
        name += FormatPadded(number, digits);
    } else {
        const std::string_view present = NamePart(presentName);
        const std::size_t first = present.find_first_of("0123456789");
        if (first != std::string_view::npos) {
            const std::size_t end = present.find_first_not_of("0123456789", first);
            name += present.substr(first, end == std::string_view::npos ? end : end - first);
        }
    }
    name += suffix;
    return name;
}

std::string RenamedFileName(std::string_view fileName, const RenameOptions& options,
                            std::int64_t number) {
    const std::string_view name = NamePart(fileName);
    std::string result(name);
    switch (options.rule) {
        case RenameRule::AddLetters:
            result = InsertNameSuffix(name, options.addLetters);
            break;
        case RenameRule::DeleteLetters: {
            const std::size_t dot = NameExtensionDot(name);
            const std::string_view stem = name.substr(0, dot);
            const std::size_t pos = FindWhole(stem, options.deleteLetters, true);
            if (pos != std::string_view::npos) result.erase(pos, options.deleteLetters.size());
            break;
        }
        case RenameRule::ExchangeLetters: {
            const std::size_t pos = FindWhole(name, options.exchangeFrom, false);
            if (pos != std::string_view::npos)
                result.replace(pos, options.exchangeFrom.size(), options.exchangeTo);
            break;
        }
        case RenameRule::Renumber: {
            const StartNumber start = ParseStartNumber(options.startNumber);
            result = NumberedName(name, options.prefix, start.digits, options.suffix, number);
            break;
        }
    }
    return result;
}

std::string RenameSampleLine(const RenameOptions& options) {
    const std::int64_t number = ParseStartNumber(options.startNumber).number;
    return std::string(kRenameSampleName) + " --> " +
           RenamedFileName(kRenameSampleName, options, number);
}

int RenameResult::Count(RenameStatus status) const {
    int n = 0;
    for (const RenameEntry& e : entries) n += e.status == status ? 1 : 0;
    return n;
}

RenameResult RenameFiles(std::vector<std::string> paths, const RenameOptions& options,
                         const ConfirmPolicy& confirm) {
    RenameResult result;
    if (paths.empty()) return result;
    const std::string question =
        FormatResString(StringId::RenameConfirmStart, static_cast<int>(paths.size()));
    if (!confirm.Confirms(
            {question, LoadResString(StringId::ConfirmConversionCaption), QuestionKind::YesNo}))
        return result;
    result.started = true;
    if (options.rule == RenameRule::Renumber) SortNamesNoCase(paths);

    // Every file's new name first, so that the whole run can be checked before anything
    // is moved.
    std::int64_t number = ParseStartNumber(options.startNumber).number;
    std::vector<Candidate> candidates;
    std::unordered_set<std::string> sourcesSeen;
    result.entries.reserve(paths.size());
    for (std::string& path : paths) {
        RenameEntry entry;
        entry.source = std::move(path);
        entry.location = entry.source;
        const std::string_view name = NamePart(entry.source);
        const std::string newName = RenamedFileName(name, options, number);
        if (number < kNumberLimit) ++number;
        const std::size_t folderLength = entry.source.size() - name.size();
        if (IsPlainFileName(newName)) entry.target = entry.source.substr(0, folderLength) + newName;
        if (entry.target.empty()) {
            entry.status = RenameStatus::Failed;
        } else if (newName == name) {
            entry.status = RenameStatus::Unchanged;
        } else if (!Exists(entry.source) || !sourcesSeen.insert(Key(entry.source)).second) {
            // Missing, or listed twice (gone after its first rename).
            entry.status = RenameStatus::Failed;
        } else {
            entry.status = RenameStatus::Renamed;
            candidates.push_back(
                {result.entries.size(), Key(entry.source), Key(entry.target), true, {}});
        }
        result.entries.push_back(std::move(entry));
    }

    // A new name is free when nothing is there, or when the file there is itself renamed
    // in this run; of several files wanting one name the first gets it.
    std::unordered_map<std::string, std::size_t> claimant;  // new name → candidate
    std::unordered_set<std::string> sources;
    for (const Candidate& c : candidates) sources.insert(c.sourceKey);
    std::vector<std::size_t> refused;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        Candidate& c = candidates[k];
        const bool occupied = sources.count(c.targetKey) == 0 && Exists(c.targetKey);
        if (occupied || !claimant.emplace(c.targetKey, k).second) {
            c.accepted = false;
            refused.push_back(k);
        }
    }
    // A file that stays keeps its name from whoever wanted it, and so on down the chain.
    const auto refuseChains = [&](std::vector<std::size_t> staying) {
        while (!staying.empty()) {
            const Candidate& stays = candidates[staying.back()];
            staying.pop_back();
            const auto it = claimant.find(stays.sourceKey);
            if (it == claimant.end() || !candidates[it->second].accepted) continue;
            Candidate& wanted = candidates[it->second];
            wanted.accepted = false;
            RenameEntry& entry = result.entries[wanted.entry];
            entry.status = RenameStatus::TargetExists;
            // Nothing has taken a name yet, so a parked file can always go back.
            if (!wanted.parkedAt.empty() && RenameNoReplace(wanted.parkedAt, entry.source) == 0) {
                wanted.parkedAt.clear();
                entry.location = entry.source;
            }
            staying.push_back(it->second);
        }
    };
    for (std::size_t k : refused)
        result.entries[candidates[k].entry].status = RenameStatus::TargetExists;
    refuseChains(std::move(refused));

    const auto move = [&](Candidate& c) {
        RenameEntry& entry = result.entries[c.entry];
        const int error =
            RenameNoReplace(c.parkedAt.empty() ? entry.source : c.parkedAt, entry.target);
        if (error == 0) {
            entry.location = entry.target;
            return true;
        }
        c.accepted = false;
        entry.status = error == EEXIST ? RenameStatus::TargetExists : RenameStatus::Failed;
        if (!c.parkedAt.empty() && RenameNoReplace(c.parkedAt, entry.source) == 0)
            entry.location = entry.source;
        return false;
    };

    // Chains (a→b, b→c) are worked from the end whose new name is free, each file moving
    // into a name just vacated; when a rename fails, the files before it have not moved
    // yet and simply stay.
    std::unordered_set<std::string> movingSources;
    for (const Candidate& c : candidates)
        if (c.accepted) movingSources.insert(c.sourceKey);
    std::vector<bool> inChain(candidates.size(), false);
    std::vector<std::size_t> chainStarts;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        if (!candidates[k].accepted || movingSources.count(candidates[k].targetKey)) continue;
        chainStarts.push_back(k);
        for (std::size_t current = k;;) {
            inChain[current] = true;
            const auto it = claimant.find(candidates[current].sourceKey);
            if (it == claimant.end() || !candidates[it->second].accepted) break;
            current = it->second;
        }
    }
    // What is left are rings (a→b, b→a): their files first go to unique temporary names
    // in their folders.
    std::vector<std::size_t> unparked;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        Candidate& c = candidates[k];
        if (!c.accepted || inChain[k]) continue;
        c.parkedAt = ParkUnderTemporaryName(result.entries[c.entry].source);
        if (!c.parkedAt.empty()) {
            result.entries[c.entry].location = c.parkedAt;
        } else {
            c.accepted = false;
            result.entries[c.entry].status = RenameStatus::Failed;
            unparked.push_back(k);
        }
    }
    refuseChains(std::move(unparked));

    for (std::size_t k : chainStarts) {
        for (std::size_t current = k; candidates[current].accepted;) {
            const bool moved = move(candidates[current]);
            const auto it = claimant.find(candidates[current].sourceKey);
            if (it == claimant.end() || !candidates[it->second].accepted) break;
            if (!moved) {
                refuseChains({current});
                break;
            }
            current = it->second;
        }
    }
    for (std::size_t k = 0; k < candidates.size(); ++k)
        if (candidates[k].accepted && !inChain[k]) move(candidates[k]);

    for (const RenameEntry& entry : result.entries) {
        if (entry.status == RenameStatus::TargetExists)
            result.told.push_back(Failure::Message(StringId::RenameTargetExists,
                                                   StringId::WarningCaption, entry.source));
        else if (entry.status == RenameStatus::Failed)
            result.told.push_back(Failure::Message(StringId::RenameFailed, StringId::ErrorCaption,
                                                   entry.source, MessageIcon::Error));
    }
    return result;
}

RenameResult RenameFolder(const std::string& folder, const RenameOptions& options,
                          const ConfirmPolicy& confirm) {
    return RenameFiles(KnownImageFiles(folder, 1), options, confirm);
}

}  // namespace duplora
