#include "app/shell/file_history.h"

#include <algorithm>

#include "app/shell/path_names.h"
#include "app/shell/settings.h"

namespace duplora {

FileHistory ReadFileHistory(const Settings& settings) {
    FileHistory history;
    for (int k = 0; k < kFileHistorySize; ++k) {
        history[k].first = settings.fileHistory[2 * k];
        history[k].second = settings.fileHistory[2 * k + 1];
        // The stored number, checked when the settings were read.
        history[k].layout =
            StereoLayoutFromNumber(settings.fileTypeHistory[k]).value_or(StereoLayout::SideBySide);
    }
    return history;
}

void StoreFileHistory(Settings& settings, const FileHistory& history) {
    for (int k = 0; k < kFileHistorySize; ++k) {
        settings.fileHistory[2 * k] = history[k].first;
        settings.fileHistory[2 * k + 1] = history[k].second;
        settings.fileTypeHistory[k] = static_cast<int>(history[k].layout);
    }
}

SettingWrites UpdateFileHistory(Settings& settings, const HistoryEntry& opened) {
    FileHistory history = ReadFileHistory(settings);
    auto same = history.end();
    if (opened.second.empty())
        same = std::find_if(history.begin(), history.end(), [&](const HistoryEntry& e) {
            return e.second.empty() && e.first == opened.first;
        });
    if (same != history.end()) {
        same->layout = opened.layout;
    } else {
        std::move_backward(history.begin(), history.end() - 1, history.end());
        history[0] = opened;
    }
    StoreFileHistory(settings, history);
    return FileHistoryWrites(settings);
}

std::vector<HistoryMenuItem> FileHistoryMenuItems(const Settings& settings) {
    std::vector<HistoryMenuItem> items;
    const FileHistory history = ReadFileHistory(settings);
    if (history[0].first.empty()) return items;
    for (int k = 0; k < kFileHistorySize; ++k) {
        const HistoryEntry& entry = history[k];
        if (entry.first.empty()) continue;
        std::string text = entry.first;
        if (!entry.second.empty()) {
            text += '/';
            text += FileNamePart(entry.second);
        }
        items.push_back({kHistoryCommands[k], std::move(text)});
    }
    return items;
}

std::optional<HistoryOpening> OpenFromHistory(const Settings& settings, CommandId item) {
    const auto it = std::ranges::find(kHistoryCommands, item);
    if (it == kHistoryCommands.end()) return std::nullopt;
    const auto k = static_cast<std::size_t>(it - kHistoryCommands.begin());
    const HistoryEntry entry = ReadFileHistory(settings)[k];
    if (entry.first.empty()) return std::nullopt;
    if (entry.second.empty()) return HistoryOpening{CmdOpenPending, entry.first, {}, entry.layout};
    return HistoryOpening{CmdOpenPendingPair, entry.second, entry.first, entry.layout};
}

}  // namespace duplora
