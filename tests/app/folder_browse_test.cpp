#include "app/shell/folder_browse.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <string>
#include <vector>

#include "core/shell/command_ids.h"

namespace duplora {
namespace {

using Names = std::vector<std::string>;

class FolderBrowseTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    // A folder below the temporary one holding `files` (each one byte long).
    std::string Folder(const std::string& relative, const Names& files) {
        const std::string path = Root() + relative;
        EXPECT_TRUE(QDir().mkpath(QString::fromStdString(path)));
        for (const std::string& name : files) std::ofstream(path + "/" + name) << "x";
        return path + "/";
    }
    std::string Root() { return dir_.path().toStdString() + "/"; }
    // A list of `count` names p0.jpg … in /p/, without the file system.
    static FolderList Listed(int count, int index) {
        FolderList list;
        list.folder = "/p/";
        for (int i = 0; i < count; ++i) list.names.push_back("p" + std::to_string(i) + ".jpg");
        list.index = index;
        return list;
    }
    static std::string P(int i) { return "/p/p" + std::to_string(i) + ".jpg"; }
    static PairContext NoFiles() {
        return {"/p/", "/p/", [](const std::string&) { return false; }, {}};
    }

    QTemporaryDir dir_;
};

TEST_F(FolderBrowseTest, ListsPicturesSortedWithoutRegardToCase) {
    const std::string f =
        Folder("pics", {"b.jpg", "A.JPG", "c.Tif", "e.png", "d.txt", "f.jpeg.txt"});
    std::ofstream(f + "empty.jpg");                        // size 0: not a picture to show
    QDir().mkpath(QString::fromStdString(f + "sub.jpg"));  // a folder, not a file
    FolderList list = BuildFolderList(f + "c.Tif");
    EXPECT_EQ(list.folder, f);
    EXPECT_EQ(list.names, (Names{"A.JPG", "b.jpg", "c.Tif"}));
    EXPECT_EQ(list.index, 2);
    EXPECT_EQ(list.PathAt(0), f + "A.JPG");
    EXPECT_EQ(list.PathAt(3), "");
    // The path's case may differ; an unknown name gives the first entry.
    EXPECT_EQ(BuildFolderList(f + "C.TIF").index, 2);
    EXPECT_EQ(BuildFolderList(f + "gone.jpg").index, 0);
    // Another test of the names.
    list = BuildFolderList(f + "c.Tif", [](std::string_view n) { return n.ends_with(".png"); });
    EXPECT_EQ(std::tuple(list.names, list.index), std::tuple(Names{"e.png"}, 0));
    // Of two names differing in case only, the exact one is chosen.
    const std::string c = Folder("case", {"x.jpg", "X.jpg"});
    EXPECT_EQ(BuildFolderList(c + "x.jpg").index, 1);
    EXPECT_EQ(BuildFolderList(c + "X.jpg").index, 0);
    // Case folded, then by code point: 'Ä' (U+00C4, folded U+00E4) sorts after 'z'; dots in
    // folder names are no extensions.
    const std::string u =
        Folder("Ferien.2023.v2/Straße am Fluß",
               {"Brücke_l.jpg", "Brücke_r.jpg", "zebra.JPEG", "Ärger.jpg", "README", "v1.2_L.TIF"});
    list = BuildFolderList(u + "Brücke_r.jpg");
    EXPECT_EQ(list.folder, u);
    EXPECT_EQ(list.names,
              (Names{"Brücke_l.jpg", "Brücke_r.jpg", "v1.2_L.TIF", "zebra.JPEG", "Ärger.jpg"}));
    EXPECT_EQ(list.index, 1);
    EXPECT_EQ(StepStereoFile(list, CmdNextImage)->path, u + "v1.2_L.TIF");
}

TEST_F(FolderBrowseTest, EmptyFoldersAndTheFirstFiveThousandFound) {
    const std::string f = Folder("nothing", {"notes.txt"});
    for (const std::string& path : {f + "notes.txt", Root() + "no/such/folder/a.jpg"}) {
        const FolderList list = BuildFolderList(path);
        EXPECT_TRUE(list.Empty());
        EXPECT_EQ(list.index, 0);
        EXPECT_EQ(StepStereoFile(list, CmdNextImage), std::nullopt);
        EXPECT_EQ(StepPair(list, CmdNextImage, PairContext{f, f, {}, {}}), std::nullopt);
        EXPECT_FALSE(SlideShowCanStart(list));
    }
    Names many;
    for (int i = 0; i < kMaxFolderEntries + 3; ++i) many.push_back(std::to_string(i) + ".jpg");
    const FolderList list = BuildFolderList(Folder("many", many) + "0.jpg");
    EXPECT_EQ(list.Count(), kMaxFolderEntries);
    EXPECT_TRUE(std::is_sorted(list.names.begin(), list.names.end()));
}

TEST_F(FolderBrowseTest, PairsBySameNameThenPartnerNameAcrossFolders) {
    const std::string left = Folder("Links.v1", {"Brücke_L.JPG", "Dom_L.JPG", "Eis_L.JPG"});
    const std::string right = Folder("Rechts.v1", {"Dom_R.JPG", "Eis_L.JPG"});
    FolderList list = BuildFolderList(left + "Brücke_L.JPG");
    ASSERT_EQ(list.Count(), 3);
    const PairContext context{left, right, {}, {}};
    EXPECT_EQ(*StepPair(list, CmdNextImage, context),
              (PairStep{left + "Dom_L.JPG", right + "Dom_R.JPG", 1}));
    list.index = 1;
    EXPECT_EQ(*StepPair(list, CmdNextImage, context),
              (PairStep{left + "Eis_L.JPG", right + "Eis_L.JPG", 2}));
    // Brücke has no right view: consecutive entries of the list pair instead.
    list.index = 2;
    EXPECT_EQ(*StepPair(list, CmdNextImage, context),
              (PairStep{left + "Dom_L.JPG", left + "Eis_L.JPG", 1}));
}

TEST_F(FolderBrowseTest, StereoFilesWrapAtBothEnds) {
    EXPECT_EQ(StepIndex(1, 3, -4), 0);
    EXPECT_EQ(StepIndex(1, 3, 7), 2);
    EXPECT_EQ(StepIndex(0, 0, 1), 0);
    EXPECT_EQ(*StepStereoFile(Listed(3, 2), CmdNextImage), (StereoFileStep{P(0), 0}));
    EXPECT_EQ(*StepStereoFile(Listed(3, 2), CmdNextPair), (StereoFileStep{P(0), 0}));
    EXPECT_EQ(*StepStereoFile(Listed(3, 0), CmdPreviousImage), (StereoFileStep{P(2), 2}));
    EXPECT_EQ(*StepStereoFile(Listed(1, 0), CmdNextImage), (StereoFileStep{P(0), 0}));
    EXPECT_EQ(StepStereoFile(Listed(3, 0), CmdSlideShow), std::nullopt);
}

TEST_F(FolderBrowseTest, ConsecutiveFilesPairInListOrder) {
    const struct {
        int count, index;
        CommandId command;
        int left;  // file of the pair
    } cases[] = {
        {6, 0, CmdNextImage, 2},     {6, 4, CmdNextImage, 0},
        {6, 0, CmdPreviousImage, 4},  // wrapping
        {6, 0, CmdNextPair, 1},      {6, 5, CmdNextPair, 0},
        {5, 4, CmdNextImage, 1},     {5, 3, CmdNextImage, 0},
        {2, 0, CmdPreviousImage, 0},
    };
    for (const auto& [count, index, command, left] : cases) {
        const auto step = StepPair(Listed(count, index), command, NoFiles());
        ASSERT_TRUE(step) << count << " " << index << " " << command;
        EXPECT_EQ(*step, (PairStep{P(left), P(left + 1), left}))
            << count << " " << index << " " << command;
    }
    EXPECT_EQ(StepPair(Listed(1, 0), CmdNextImage, NoFiles()), std::nullopt);
    EXPECT_EQ(StepPair(Listed(6, 0), CmdSlideShow, NoFiles()), std::nullopt);
    // Next, then previous, returns to the pair.
    FolderList list = Listed(8, 2);
    list.index = StepPair(list, CmdNextImage, NoFiles())->index;
    EXPECT_EQ(*StepPair(list, CmdPreviousImage, NoFiles()), (PairStep{P(2), P(3), 2}));
    // One folder spelled two ways, or an unknown right folder, pairs consecutively.
    const auto any = [](const std::string&) { return true; };
    EXPECT_EQ(*StepPair(Listed(4, 0), CmdNextImage, {"/p/", "/p", any, {}}),
              (PairStep{P(2), P(3), 2}));
    EXPECT_EQ(StepPair(Listed(4, 0), CmdNextImage, {"/p/", "", any, {}})->index, 2);
}

TEST_F(FolderBrowseTest, PartnerLettersPictureNamesAndSlideShowTiming) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"a_l.jpg", "a_r.jpg"}, {"A_R.JPG", "A_L.JPG"}, {"xr.tif", "xl.tif"}, {"l.jpg", "r.jpg"},
        {"a_x.jpg", {}},        {".jpg", {}},           {"noext", {}},
    };
    for (const auto& [name, partner] : cases) EXPECT_EQ(PartnerFileName(name), partner) << name;
    // The plain endings are compared, as on Windows.
    for (const char* yes : {"a.JPG", "a.jpeg", "a.Jps", "a.TIFF", "a.das", "Ärger.Jpg"})
        EXPECT_TRUE(DefaultImageNameTest(yes)) << yes;
    for (const char* no : {"a.png", "a.jpg.txt", "a.jp", ""})
        EXPECT_FALSE(DefaultImageNameTest(no)) << no;
    EXPECT_EQ(SlideShowIntervalMs(30), 3000);
    EXPECT_EQ(SlideShowIntervalMs(0), 100);
    EXPECT_EQ(SlideShowIntervalMs(5000), 360000);
    EXPECT_EQ(SlideShowTitleText(5), "Slide Show Intervall 0.5 S.");
    EXPECT_EQ(SlideShowTitleText(125), "Slide Show Intervall 12.5 S.");
    EXPECT_TRUE(SlideShowCanStart(Listed(1, 0)));
}

}  // namespace
}  // namespace duplora
