#include "app/shell/folder_browse.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/stereo/view_numbers.h"

namespace duplora {
namespace {

using namespace view_command;

class FolderBrowseTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    // A folder below the temporary one; `relative` may hold several levels.
    std::string Folder(const std::string& relative) {
        const std::string path = Root() + relative;
        EXPECT_TRUE(QDir().mkpath(QString::fromStdString(path)));
        return path + "/";
    }

    std::string Root() { return dir_.path().toStdString() + "/"; }

    static void Write(const std::string& path, const std::string& bytes = "x") {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    QTemporaryDir dir_;
};

TEST_F(FolderBrowseTest, ListsPicturesSortedWithoutRegardToCase) {
    const std::string f = Folder("pics");
    for (const char* name : {"b.jpg", "A.JPG", "c.Tif", "e.png", "d.txt", "f.jpeg.txt"}) {
        Write(f + name);
    }
    Write(f + "empty.jpg", "");                            // size 0: not a picture to show
    QDir().mkpath(QString::fromStdString(f + "sub.jpg"));  // a folder, not a file

    FolderList list = BuildFolderList(f + "c.Tif");
    EXPECT_EQ(list.folder, f);
    EXPECT_EQ(list.names, (std::vector<std::string>{"A.JPG", "b.jpg", "c.Tif"}));
    EXPECT_EQ(list.index, 2);
    EXPECT_EQ(list.PathAt(0), f + "A.JPG");
    EXPECT_EQ(list.PathAt(3), "");

    // The path's case may differ; an unknown name gives the first entry.
    EXPECT_EQ(BuildFolderList(f + "C.TIF").index, 2);
    EXPECT_EQ(BuildFolderList(f + "gone.jpg").index, 0);
    EXPECT_EQ(BuildFolderList(f + "d.txt").index, 0);
}

TEST_F(FolderBrowseTest, ExactNameWinsOverOneDifferingInCase) {
    const std::string f = Folder("case");
    Write(f + "x.jpg");
    Write(f + "X.jpg");
    const FolderList list = BuildFolderList(f + "x.jpg");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.names, (std::vector<std::string>{"X.jpg", "x.jpg"}));  // ties in byte order
    EXPECT_EQ(list.names[list.index], "x.jpg");
    EXPECT_EQ(BuildFolderList(f + "X.jpg").index, 0);
}

TEST_F(FolderBrowseTest, CustomNameTest) {
    const std::string f = Folder("das");
    Write(f + "one.das");
    Write(f + "two.jpg");
    const FolderList list =
        BuildFolderList(f + "two.jpg", [](std::string_view n) { return n.ends_with(".das"); });
    EXPECT_EQ(list.names, (std::vector<std::string>{"one.das"}));
    EXPECT_EQ(list.index, 0);
}

TEST_F(FolderBrowseTest, FolderWithoutPicturesGivesAnEmptyList) {
    const std::string f = Folder("nothing");
    Write(f + "notes.txt");
    const FolderList list = BuildFolderList(f + "notes.txt");
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.index, 0);
    EXPECT_EQ(StepStereoFile(list, kNextImage), std::nullopt);
    EXPECT_EQ(StepPair(list, kNextImage, PairContext{f, f, {}, {}}), std::nullopt);
    EXPECT_FALSE(SlideShowCanStart(list));

    const FolderList missing = BuildFolderList(Root() + "no/such/folder/a.jpg");
    EXPECT_TRUE(missing.Empty());
    EXPECT_EQ(missing.index, 0);
}

TEST_F(FolderBrowseTest, Utf8NamesAndDotsInFolderNames) {
    const std::string f = Folder("Ferien.2023.v2/Straße am Fluß");
    for (const char* name :
         {"Brücke_l.jpg", "Brücke_r.jpg", "zebra.JPEG", "Ärger.jpg", "README", "v1.2_L.TIF"}) {
        Write(f + name);
    }
    const FolderList list = BuildFolderList(f + "Brücke_r.jpg");
    EXPECT_EQ(list.folder, f);
    // Case folded, then by code point: 'Ä' (U+00C4, folded U+00E4) sorts after 'z'.
    EXPECT_EQ(list.names, (std::vector<std::string>{"Brücke_l.jpg", "Brücke_r.jpg", "v1.2_L.TIF",
                                                    "zebra.JPEG", "Ärger.jpg"}));
    EXPECT_EQ(list.index, 1);
    EXPECT_EQ(StepStereoFile(list, kNextImage)->path, f + "v1.2_L.TIF");

    // The partner name is found in the file name, never in the dotted folder.
    EXPECT_EQ(PartnerFileName("Brücke_l.jpg"), "Brücke_r.jpg");
    EXPECT_EQ(PartnerFileName("v1.2_L.TIF"), "v1.2_R.TIF");
}

TEST_F(FolderBrowseTest, KeepsTheFirstFiveThousandFound) {
    const std::string f = Folder("many");
    for (int i = 0; i < kMaxFolderEntries + 3; ++i) Write(f + std::to_string(i) + ".jpg");
    const FolderList list = BuildFolderList(f + "0.jpg");
    EXPECT_EQ(list.Count(), kMaxFolderEntries);
    EXPECT_TRUE(std::is_sorted(list.names.begin(), list.names.end()));
}

TEST_F(FolderBrowseTest, PairsByPartnerNameAcrossRealFolders) {
    const std::string left = Folder("Links.v1");
    const std::string right = Folder("Rechts.v1");
    for (const char* name : {"Brücke_L.JPG", "Dom_L.JPG", "Eis_L.JPG"}) Write(left + name);
    Write(right + "Dom_R.JPG");
    Write(right + "Eis_L.JPG");  // same name wins over the partner name

    const FolderList list = BuildFolderList(left + "Brücke_L.JPG");
    ASSERT_EQ(list.Count(), 3);
    const PairContext context{left, right, {}, {}};
    auto step = StepPair(list, kNextImage, context);
    ASSERT_TRUE(step);
    EXPECT_EQ(*step, (PairStep{left + "Dom_L.JPG", right + "Dom_R.JPG", 1}));

    FolderList at = list;
    at.index = 1;
    step = StepPair(at, kNextImage, context);
    EXPECT_EQ(*step, (PairStep{left + "Eis_L.JPG", right + "Eis_L.JPG", 2}));

    // Brücke has no right view: consecutive entries of the list pair instead.
    at.index = 2;
    step = StepPair(at, kNextImage, context);
    EXPECT_EQ(*step, (PairStep{left + "Dom_L.JPG", left + "Eis_L.JPG", 1}));
}

// ---- Stepping without the file system -------------------------------------------------------

FolderList Listed(int count, int index, const std::string& folder = "/p/") {
    FolderList list;
    list.folder = folder;
    for (int i = 0; i < count; ++i) list.names.push_back("p" + std::to_string(i) + ".jpg");
    list.index = index;
    return list;
}

PairContext NoFiles(const std::string& left = "/p/", const std::string& right = "/p/") {
    return {left, right, [](const std::string&) { return false; }, {}};
}

TEST(FolderStepping, IndexWrapsAtBothEnds) {
    EXPECT_EQ(StepIndex(0, 3, -1), 2);
    EXPECT_EQ(StepIndex(2, 3, 1), 0);
    EXPECT_EQ(StepIndex(1, 3, -4), 0);
    EXPECT_EQ(StepIndex(1, 3, 7), 2);
    EXPECT_EQ(StepIndex(0, 0, 1), 0);
}

TEST(FolderStepping, StereoFileNextAndPreviousWrap) {
    const FolderList last = Listed(3, 2);
    EXPECT_EQ(*StepStereoFile(last, kNextImage), (StereoFileStep{"/p/p0.jpg", 0}));
    EXPECT_EQ(*StepStereoFile(last, kNextPair), (StereoFileStep{"/p/p0.jpg", 0}));
    const FolderList first = Listed(3, 0);
    EXPECT_EQ(*StepStereoFile(first, kPreviousImage), (StereoFileStep{"/p/p2.jpg", 2}));
    EXPECT_EQ(*StepStereoFile(Listed(1, 0), kNextImage), (StereoFileStep{"/p/p0.jpg", 0}));
    EXPECT_EQ(StepStereoFile(first, kSlideShow), std::nullopt);
}

struct PairCase {
    int count;
    int index;
    int command;
    int left;
    int right;
};

TEST(FolderStepping, ConsecutiveFilesPairInListOrder) {
    const PairCase cases[] = {
        {6, 0, kNextImage, 2, 3},     {6, 2, kNextImage, 4, 5},
        {6, 4, kNextImage, 0, 1},      // wraps past the end
        {6, 0, kPreviousImage, 4, 5},  // wraps before the start
        {6, 4, kPreviousImage, 2, 3}, {6, 0, kNextPair, 1, 2},
        {6, 5, kNextPair, 0, 1},      {5, 4, kNextImage, 1, 2},
        {5, 3, kNextImage, 0, 1},     {2, 0, kNextImage, 0, 1},
        {2, 0, kPreviousImage, 0, 1},
    };
    for (const PairCase& c : cases) {
        const auto step = StepPair(Listed(c.count, c.index), c.command, NoFiles());
        ASSERT_TRUE(step) << c.count << " " << c.index << " " << c.command;
        EXPECT_EQ(*step, (PairStep{"/p/p" + std::to_string(c.left) + ".jpg",
                                   "/p/p" + std::to_string(c.right) + ".jpg", c.left}))
            << c.count << " " << c.index << " " << c.command;
    }
    EXPECT_EQ(StepPair(Listed(1, 0), kNextImage, NoFiles()), std::nullopt);
    EXPECT_EQ(StepPair(Listed(6, 0), kSlideShow, NoFiles()), std::nullopt);
}

TEST(FolderStepping, NextThenPreviousReturnsToThePair) {
    FolderList list = Listed(8, 2);
    const auto next = StepPair(list, kNextImage, NoFiles());
    list.index = next->index;
    const auto back = StepPair(list, kPreviousImage, NoFiles());
    EXPECT_EQ(back->left, "/p/p2.jpg");
    EXPECT_EQ(back->right, "/p/p3.jpg");
}

TEST(FolderStepping, TwoFoldersPairBySameNameThenPartner) {
    FolderList list;
    list.folder = "/L/";
    list.names = {"a_l.jpg", "b_l.jpg", "c_l.jpg"};
    const std::set<std::string> files{"/R/a_l.jpg", "/R/b_r.jpg"};
    const PairContext context{
        "/L", "/R/", [&](const std::string& p) { return files.count(p) > 0; }, {}};

    list.index = 0;
    EXPECT_EQ(*StepPair(list, kNextImage, context), (PairStep{"/L/b_l.jpg", "/R/b_r.jpg", 1}));
    list.index = 1;
    EXPECT_EQ(*StepPair(list, kPreviousImage, context), (PairStep{"/L/a_l.jpg", "/R/a_l.jpg", 0}));
    list.index = 2;  // wraps to a_l.jpg
    EXPECT_EQ(*StepPair(list, kNextImage, context), (PairStep{"/L/a_l.jpg", "/R/a_l.jpg", 0}));
    EXPECT_EQ(*StepPair(list, kNextPair, context), (PairStep{"/L/a_l.jpg", "/R/a_l.jpg", 0}));
    // c has neither: consecutive pairing in the left folder.
    list.index = 1;
    EXPECT_EQ(*StepPair(list, kNextImage, context), (PairStep{"/L/a_l.jpg", "/L/b_l.jpg", 0}));
}

TEST(FolderStepping, OneFolderSpelledTwoWaysPairsConsecutively) {
    FolderList list = Listed(4, 0, "/p/");
    const PairContext context{"/p/", "/p", [](const std::string&) { return true; }, {}};
    EXPECT_EQ(*StepPair(list, kNextImage, context), (PairStep{"/p/p2.jpg", "/p/p3.jpg", 2}));
    const PairContext unknownRight{"/p/", "", [](const std::string&) { return true; }, {}};
    EXPECT_EQ(StepPair(list, kNextImage, unknownRight)->index, 2);
}

TEST(FolderNames, PartnerLetters) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"a_l.jpg", "a_r.jpg"}, {"A_R.JPG", "A_L.JPG"},  {"a_L.jps", "a_R.jps"},
        {"xr.tif", "xl.tif"},   {"l.jpg", "r.jpg"},      {"a_x.jpg", std::nullopt},
        {".jpg", std::nullopt}, {"noext", std::nullopt}, {"L", std::nullopt},
    };
    for (const auto& [name, partner] : cases) EXPECT_EQ(PartnerFileName(name), partner) << name;
}

TEST(FolderNames, DefaultPictureNames) {
    // The endings a stereo file may have; the plain endings are compared, as on Windows.
    for (const char* yes : {"a.jpg", "a.JPG", "a.jpeg", "a.Jps", "a.bmp", "a.tif", "a.TIFF",
                            "a.das", "a.bmi", "a.ios", "Ärger.Jpg"}) {
        EXPECT_TRUE(DefaultImageNameTest(yes)) << yes;
    }
    for (const char* no : {"a.png", "a.stj", "a.jpg.txt", "a.gif", "a.jp", ""}) {
        EXPECT_FALSE(DefaultImageNameTest(no)) << no;
    }
}

TEST(SlideShowTiming, IntervalAndTitle) {
    EXPECT_EQ(SlideShowIntervalMs(30), 3000);
    EXPECT_EQ(SlideShowIntervalMs(1), 100);
    EXPECT_EQ(SlideShowIntervalMs(0), 100);
    EXPECT_EQ(SlideShowIntervalMs(5000), 360000);
    EXPECT_EQ(SlideShowTitleText(30), "Slide Show Intervall 3.0 S.");
    EXPECT_EQ(SlideShowTitleText(5), "Slide Show Intervall 0.5 S.");
    EXPECT_EQ(SlideShowTitleText(125), "Slide Show Intervall 12.5 S.");
    EXPECT_TRUE(SlideShowCanStart(Listed(1, 0)));
}

}  // namespace
}  // namespace duplora
