// The five most recent openings, kept in the settings (`FileHistory0` … `FileHistory9`,
// `FileTypeHistory`) and shown as items CmdHistory1–CmdHistory5 of the file menu.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/shell/settings_store.h"
#include "core/formats/stereo_layout.h"
#include "core/shell/command_ids.h"

namespace duplora {

struct Settings;

inline constexpr int kFileHistorySize = 5;
static_assert(kHistoryCommands.size() == kFileHistorySize);

// One opening: a stereo file (second empty) or a pair (first the left view, second the
// right), with the layout it was opened with.
struct HistoryEntry {
    std::string first;
    std::string second;
    StereoLayout layout = StereoLayout::SideBySide;
    bool operator==(const HistoryEntry&) const = default;
};

using FileHistory = std::array<HistoryEntry, kFileHistorySize>;

FileHistory ReadFileHistory(const Settings& settings);
void StoreFileHistory(Settings& settings, const FileHistory& history);

// After a successful opening that did not come from the history. Reopening a file that is
// already listed on its own only renews its layout, where it stands; anything else goes to
// the top and pushes the others down, the fifth dropping out. Returns the ten paths and the
// layouts, to be written together.
SettingWrites UpdateFileHistory(Settings& settings, const HistoryEntry& opened);

struct HistoryMenuItem {
    CommandId command;  // 2151 + entry index
    std::string text;
    bool operator==(const HistoryMenuItem&) const = default;
};

// The items the file menu shows: none while the first entry is empty; entries with an empty
// first path are left out. A pair reads "first path/file name of the second".
std::vector<HistoryMenuItem> FileHistoryMenuItems(const Settings& settings);

// What choosing a history item opens, without a dialog and without reordering the history.
struct HistoryOpening {
    CommandId command;            // CmdOpenPendingPair for a pair, CmdOpenPending for one file
    std::string pendingPath;      // the file, or the pair's right view
    std::string pendingLeftPath;  // the pair's left view
    StereoLayout layout = StereoLayout::SideBySide;
    bool operator==(const HistoryOpening&) const = default;
};
std::optional<HistoryOpening> OpenFromHistory(const Settings& settings, CommandId item);

}  // namespace duplora
