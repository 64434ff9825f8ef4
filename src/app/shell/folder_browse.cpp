#include "app/shell/folder_browse.h"

#include "core/formats/image_names.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

namespace fs = std::filesystem;

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + '/' + name;
}

// A folder without its trailing separators, for comparing two spellings of one folder.
std::string_view Trimmed(std::string_view folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
    return folder;
}

bool RegularFileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

int Wrapped(std::int64_t index, int count) {
    const std::int64_t r = index % count;
    return static_cast<int>(r < 0 ? r + count : r);
}

}  // namespace

bool DefaultImageNameTest(std::string_view name) { return IsKnownImageName(name, 0); }

std::string FolderList::PathAt(int i) const {
    if (i < 0 || i >= Count()) return {};
    return JoinPath(folder, names[static_cast<std::size_t>(i)]);
}

FolderList BuildFolderList(const std::string& path, const ImageNameTest& isImage) {
    FolderList list;
    const std::size_t slash = path.rfind('/');
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    if (slash != std::string::npos) list.folder = path.substr(0, slash + 1);

    std::error_code ec;
    fs::directory_iterator it(list.folder.empty() ? fs::path(".") : fs::path(list.folder), ec);
    // The first names found, up to the limit; then sorted.
    std::vector<std::pair<QString, std::string>> found;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (static_cast<int>(found.size()) >= kMaxFolderEntries) break;
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || entryError) continue;
        const std::uintmax_t size = it->file_size(entryError);
        if (entryError || size == 0) continue;
        std::string name = it->path().filename().string();
        if (isImage && !isImage(name)) continue;
        found.emplace_back(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                           std::move(name));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        const int c = QString::compare(a.first, b.first, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.second < b.second;
    });
    list.names.reserve(found.size());
    for (auto& entry : found) list.names.push_back(std::move(entry.second));

    const auto exact = std::find(list.names.begin(), list.names.end(), fileName);
    if (exact != list.names.end()) {
        list.index = static_cast<int>(exact - list.names.begin());
    } else {
        const QString wanted =
            QString::fromUtf8(fileName.data(), static_cast<qsizetype>(fileName.size()));
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (QString::compare(found[i].first, wanted, Qt::CaseInsensitive) == 0) {
                list.index = static_cast<int>(i);
                break;
            }
        }
    }
    return list;
}

int StepIndex(int index, int count, int by) {
    if (count <= 0) return 0;
    return Wrapped(std::int64_t{index} + by, count);
}

std::optional<StereoFileStep> StepStereoFile(const FolderList& list, CommandId command) {
    if (list.Empty()) return std::nullopt;
    int by = 0;
    if (command == CmdNextImage || command == CmdNextPair) by = 1;
    if (command == CmdPreviousImage) by = -1;
    if (by == 0) return std::nullopt;
    const int index = StepIndex(list.index, list.Count(), by);
    return StereoFileStep{list.PathAt(index), index};
}

std::optional<std::string> PartnerFileName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return std::nullopt;
    std::string partner(name);
    char& c = partner[dot - 1];
    switch (c) {
        case 'l':
            c = 'r';
            break;
        case 'r':
            c = 'l';
            break;
        case 'L':
            c = 'R';
            break;
        case 'R':
            c = 'L';
            break;
        default:
            return std::nullopt;
    }
    return partner;
}

std::optional<PairStep> StepPair(const FolderList& list, CommandId command,
                                 const PairContext& context) {
    if (list.Empty()) return std::nullopt;
    int direction = 0;
    if (command == CmdNextImage || command == CmdNextPair) direction = 1;
    if (command == CmdPreviousImage) direction = -1;
    if (direction == 0) return std::nullopt;
    const int count = list.Count();

    const auto exists = [&](const std::string& path) {
        return context.fileExists ? context.fileExists(path) : RegularFileExists(path);
    };
    const auto partnerOf = [&](std::string_view name) {
        return context.partner ? context.partner(name) : PartnerFileName(name);
    };

    const bool twoFolders =
        !context.rightFolder.empty() && Trimmed(context.rightFolder) != Trimmed(context.leftFolder);
    if (twoFolders) {
        const int index = StepIndex(list.index, count, direction);
        const std::string& name = list.names[static_cast<std::size_t>(index)];
        const std::string left = list.PathAt(index);
        std::string right = JoinPath(context.rightFolder, name);
        if (exists(right)) return PairStep{left, right, index};
        if (const auto partner = partnerOf(name)) {
            right = JoinPath(context.rightFolder, *partner);
            if (exists(right)) return PairStep{left, right, index};
        }
    }

    if (count < 2) return std::nullopt;
    const int by = command == CmdNextPair ? 1 : 2 * direction;
    const int index = StepIndex(list.index, count, by);
    return PairStep{list.PathAt(index), list.PathAt(StepIndex(index, count, 1)), index};
}

bool SlideShowCanStart(const FolderList& list) {
    return !list.Empty();
}

int SlideShowIntervalMs(int slideTime) {
    return std::clamp(slideTime, 1, 3600) * 100;
}

std::string SlideShowTitleText(int slideTime) {
    const int t = std::clamp(slideTime, 1, 3600);
    return FormatResString(StringId::SlideShowInterval, t / 10, t % 10);
}

}  // namespace duplora
