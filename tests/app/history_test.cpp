#include "app/shell/file_history.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>

#include <map>
#include <string>

#include "app/shell/settings.h"
#include "app/shell/settings_store.h"

namespace duplora {
namespace {

std::vector<std::string> Firsts(const Settings& s) {
    std::vector<std::string> firsts;
    for (const HistoryEntry& e : ReadFileHistory(s)) firsts.push_back(e.first);
    return firsts;
}

TEST(FileHistory, NewOpeningsGoOnTopAndTheSixthDropsTheOldest) {
    Settings s;
    for (int i = 1; i <= 6; ++i)
        UpdateFileHistory(s, {"/p/" + std::to_string(i) + ".jps", "", i % 8});
    EXPECT_EQ(Firsts(s), (std::vector<std::string>{"/p/6.jps", "/p/5.jps", "/p/4.jps", "/p/3.jps",
                                                   "/p/2.jps"}));
    EXPECT_EQ(s.fileTypeHistory, (std::array<int, 5>{6, 5, 4, 3, 2}));
}

TEST(FileHistory, ReopeningAListedFileOnlyRenewsItsLayout) {
    Settings s;
    UpdateFileHistory(s, {"/p/a.jpg", "", 0});
    UpdateFileHistory(s, {"/p/b.jpg", "", 1});
    UpdateFileHistory(s, {"/p/a.jpg", "", 4});
    EXPECT_EQ(Firsts(s), (std::vector<std::string>{"/p/b.jpg", "/p/a.jpg", "", "", ""}));
    EXPECT_EQ(s.fileTypeHistory[1], 4);
    // A pair is always a new entry, even with the same first path.
    UpdateFileHistory(s, {"/p/a.jpg", "/p/c.jpg", kPairLayout});
    EXPECT_EQ(Firsts(s), (std::vector<std::string>{"/p/a.jpg", "/p/b.jpg", "/p/a.jpg", "", ""}));
    EXPECT_EQ(ReadFileHistory(s)[0].second, "/p/c.jpg");
    // And a single file whose path is listed only as a pair's left view is new as well.
    UpdateFileHistory(s, {"/p/c.jpg", "", 2});
    EXPECT_EQ(Firsts(s)[0], "/p/c.jpg");
}

TEST(FileHistory, MenuItemTextsAndChoosingAnItem) {
    Settings s;
    EXPECT_TRUE(FileHistoryMenuItems(s).empty());
    UpdateFileHistory(s, {"/p/one.jps", "", 3});
    UpdateFileHistory(s, {"/home/me/Bilder/l_l.jpg", "/home/me/Bilder/r_r.jpg", kPairLayout});
    const auto items = FileHistoryMenuItems(s);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], (HistoryMenuItem{CmdHistory1, "/home/me/Bilder/l_l.jpg/r_r.jpg"}));
    EXPECT_EQ(items[1], (HistoryMenuItem{CmdHistory2, "/p/one.jps"}));
    // A pair opens with the right view first, as on the command line.
    EXPECT_EQ(OpenFromHistory(s, CmdHistory1),
              (HistoryOpening{CmdOpenPendingPair, "/home/me/Bilder/r_r.jpg",
                              "/home/me/Bilder/l_l.jpg", kPairLayout}));
    EXPECT_EQ(OpenFromHistory(s, CmdHistory2),
              (HistoryOpening{CmdOpenPending, "/p/one.jps", "", 3}));
    EXPECT_FALSE(OpenFromHistory(s, CmdHistory3).has_value());
    EXPECT_FALSE(OpenFromHistory(s, CmdMultiRename).has_value());

    // An entry with an empty first path is skipped; the others keep their numbers.
    s.fileHistory[2] = "";
    s.fileHistory[3] = "";
    s.fileHistory[4] = "/p/three.jps";
    const auto gap = FileHistoryMenuItems(s);
    ASSERT_EQ(gap.size(), 2u);
    EXPECT_EQ(gap[1], (HistoryMenuItem{CmdHistory3, "/p/three.jps"}));
    // Later entries alone do not count while the first is empty.
    s.fileHistory[0] = "";
    EXPECT_TRUE(FileHistoryMenuItems(s).empty());
}

TEST(FileHistory, AllTenPathsAndTheLayoutsAreWrittenTogether) {
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("duplmaker.ini"));
    Settings s;
    UpdateFileHistory(s, {"/p/Größe 1.jps", "", 1});
    const SettingWrites writes = UpdateFileHistory(s, {"/p/l.jpg", "/p/r.jpg", kPairLayout});
    ASSERT_EQ(writes.size(), 11u);
    std::map<std::string, std::string> values(writes.begin(), writes.end());
    EXPECT_EQ(values.at("FileHistory1"), "/p/r.jpg");
    EXPECT_EQ(values.at("FileHistory9"), "");
    EXPECT_EQ(values.at("FileTypeHistory"), "10,1,0,0,0,");

    {
        SettingsStore store(ini);
        ASSERT_TRUE(store.WriteSettings(writes));
    }
    SettingsStore store(ini);
    const Settings back = ReadAllSettings(store, "/opt/duplora");
    EXPECT_EQ(ReadFileHistory(back), ReadFileHistory(s));
}

}  // namespace
}  // namespace duplora
