#include "core/batch/rename.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/batch/name_order.h"
#include "core/formats/formats_test_util.h"

namespace duplora {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using Names = std::vector<std::string>;

RenameOptions Add(std::string letters) {
    return {.rule = RenameRule::AddLetters, .addLetters = std::move(letters)};
}
RenameOptions Delete(std::string letters) {
    return {.rule = RenameRule::DeleteLetters, .deleteLetters = std::move(letters)};
}
RenameOptions Exchange(std::string from, std::string to) {
    return {.rule = RenameRule::ExchangeLetters,
            .exchangeFrom = std::move(from),
            .exchangeTo = std::move(to)};
}
RenameOptions Renumber(std::string prefix, std::string start, std::string suffix) {
    return {.rule = RenameRule::Renumber,
            .prefix = std::move(prefix),
            .startNumber = std::move(start),
            .suffix = std::move(suffix)};
}

TEST(RenameRules, Table) {
    const struct {
        const char* what;
        RenameOptions options;
        std::string name;
        std::int64_t number;
        std::string expected;
    } cases[] = {
        {"add before the extension", Add("_l"), "IMG_0123.JPG", 0, "IMG_0123_l.JPG"},
        {"add to the last extension", Add("_x"), "a.tar.gz", 0, "a.tar_x.gz"},
        {"leading dot is no extension", Add("_x"), ".hidden", 0, ".hidden_x"},
        {"folder dots ignored", Add("_x"), "/photos/2024.05/bild", 0, "bild_x"},
        {"delete the last occurrence", Delete("_l"), "a_l_l.jpg", 0, "a_l.jpg"},
        // Removing what adding put there gives the name back, also for overlapping text.
        {"delete undoes add", Delete("ba"), "xbabba.jpg", 0, "xbab.jpg"},
        {"delete leaves the extension", Delete("jpg"), "photo.jpg", 0, "photo.jpg"},
        // A lone continuation byte never splits a character.
        {"delete half a character", Delete("\xBC"), "Brücke.jpg", 0, "Brücke.jpg"},
        {"exchange includes the extension", Exchange("JPG", "jpeg"), "IMG_0123.JPG", 0,
         "IMG_0123.jpeg"},
        {"exchange the first occurrence", Exchange("X", "Y"), "aXbX.jpg", 0, "aYbX.jpg"},
        {"exchange UTF-8", Exchange("ü", "ue"), "Brücke.jpg", 0, "Bruecke.jpg"},
        {"exchange empty text", Exchange("", "x"), "a.jpg", 0, "a.jpg"},
        {"exchange in the name only", Exchange("2024", "x"), "/f/2024.05/a.jpg", 0, "a.jpg"},
        {"renumber grows past the width", Renumber("P", "007", ".jpg"), "x", 1234, "P1234.jpg"},
        {"keep numbering", Renumber("IMG_", "*", ".JPG"), "DSC01234.jpg", 99, "IMG_01234.JPG"},
        {"keep the first run", Renumber("", "*", ".jpg"), "a12b34.jpg", 0, "12.jpg"},
        {"keep numbering, folder digits ignored", Renumber("p", "*", ".jpg"), "/2024.05/x7.jpg", 0,
         "p7.jpg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RenamedFileName(c.name, c.options, c.number), c.expected) << c.what;
}

TEST(RenameRules, StartNumber) {
    const struct {
        const char* text;
        int digits;
        std::int64_t number;
    } cases[] = {
        {"007", 3, 7},
        {"*", 0, 0},
        {"12a", 3, 12},
        {"-3", 2, -3},
        {"ä1", 2, 0},  // characters, not bytes, give the width
        {"99999999999999999999", 20, 1'000'000'000'000'000'000},
    };
    for (const auto& c : cases) {
        const StartNumber s = ParseStartNumber(c.text);
        EXPECT_EQ(std::pair(s.digits, s.number), std::pair(c.digits, c.number)) << c.text;
    }
}

TEST(RenameRules, NumberedNameWidths) {
    EXPECT_EQ(NumberedName("", "P", 3, ".jpg", 7), "P007.jpg");
    EXPECT_EQ(NumberedName("", "P", 2, "", 123), "P123");
    EXPECT_EQ(NumberedName("", "", 4, "", -7), "-007");
    EXPECT_EQ(NumberedName("", "Bild ", 19, "", 1).size(), 5u + 19u);
    EXPECT_EQ(NumberedName("/a/b9/IMG_0042.JPG", "S", 0, "_r.jpg", 5), "S0042_r.jpg");
}

TEST(RenameRules, SampleLine) {
    EXPECT_EQ(RenameSampleLine(Add("_l")), "IMG_0123.JPG --> IMG_0123_l.JPG");
    EXPECT_EQ(RenameSampleLine(Renumber("P", "007", ".jpg")), "IMG_0123.JPG --> P007.jpg");
    EXPECT_EQ(RenameSampleLine(Renumber("Bild", "*", ".jpg")), "IMG_0123.JPG --> Bild0123.jpg");
}

TEST(NameOrder, IgnoresCaseInAnyScript) {
    std::vector<std::string> names = {"/f/c.jpg",     "/f/B.jpg", "/f/a.jpg",     "/f/ärger.jpg",
                                      "/f/äpfel.jpg", "/f/A.jpg", "/f/Zebra.jpg", "/f/Äpfel.jpg"};
    SortNamesNoCase(names);
    // Ä and ä sort together (after Z, as their code points do); only a tie in everything
    // but case falls back to bytes.
    const std::vector<std::string> expected = {"/f/A.jpg",     "/f/a.jpg",     "/f/B.jpg",
                                               "/f/c.jpg",     "/f/Zebra.jpg", "/f/Äpfel.jpg",
                                               "/f/äpfel.jpg", "/f/ärger.jpg"};
    EXPECT_EQ(names, expected);
    EXPECT_LT(CompareNamesNoCase("ÄPFEL", "ärger"), 0);
    EXPECT_EQ(CompareNamesNoCase("ΑΒΓ", "αβγ") * CompareNamesNoCase("αβγ", "ΑΒΓ"), -1);
    EXPECT_LT(CompareNamesNoCase("ŁÓDŹ", "łódź1"), 0);
    EXPECT_LT(CompareNamesNoCase("a", "ab"), 0);
    // Bytes that are no UTF-8 (a cut-off character) still give a total order.
    EXPECT_EQ(CompareNamesNoCase("\xFF", "\xFE"), -CompareNamesNoCase("\xFE", "\xFF"));
    EXPECT_EQ(CompareNamesNoCase("\xC3", "\xC3\xA4"), -CompareNamesNoCase("\xC3\xA4", "\xC3"));
    EXPECT_NE(CompareNamesNoCase("\xC3", "\xC3\xA4"), 0);
}

// Each file holds its own first name, so a test can tell where every file went.
class RenameFilesTest : public ::testing::Test {
  protected:
    std::string Make(const std::string& name) {
        EXPECT_TRUE(test::WriteAll(dir_ / name, test::Text(name)));
        return dir_ / name;
    }
    std::string Contents(const std::string& name) {
        const test::Bytes bytes = test::ReadAll(dir_ / name);
        return std::string(bytes.begin(), bytes.end());
    }
    // Every file of the folder as "name<first name".
    Names Where() {
        Names where;
        for (const std::string& name : dir_.Files()) where.push_back(name + "<" + Contents(name));
        return where;
    }
    // A run whose questions go to asked_; what it tells the user is added to told_.
    RenameResult Run(std::vector<std::string> paths, const RenameOptions& options) {
        RenameResult r = RenameFiles(std::move(paths), options, asked_.Policy());
        for (std::string& m : test::Messages(r.told)) told_.push_back(std::move(m));
        return r;
    }
    ScratchDir dir_;
    test::QuestionRecorder asked_;
    Names told_;
};

using S = RenameStatus;
std::vector<RenameStatus> Statuses(const RenameResult& r) {
    std::vector<RenameStatus> statuses;
    for (const auto& e : r.entries) statuses.push_back(e.status);
    return statuses;
}

const std::string kExists = "Achtung|Diese Datei existiert bereits - wird übersprungen.";
const std::string kFailed = "FEHLER|Fehler beim Umbenennen - wird übersprungen.";

TEST_F(RenameFilesTest, AsksFirstAndNoChangesNothing) {
    const Names paths = {Make("a.jpg"), Make("b.jpg"), Make("c.jpg")};
    asked_.fallback = false;
    const RenameResult r = Run(paths, Add("_x"));
    EXPECT_FALSE(r.started);
    ASSERT_EQ(asked_.questions.size(), 1u);
    EXPECT_EQ(asked_.questions[0],
              "Konvertierung bestätigen|3 Dateien umbenennen. Wollen Sie starten ?");
    EXPECT_EQ(dir_.Files(), (Names{"a.jpg", "b.jpg", "c.jpg"}));

    // Nothing picked: nothing to ask.
    EXPECT_FALSE(Run({}, Add("_x")).started);
    EXPECT_EQ(asked_.questions.size(), 1u);
}

TEST_F(RenameFilesTest, RenumberSortsWithoutRegardToCase) {
    const Names paths = {Make("c.jpg"), Make("A.jpg"), Make("b.JPG")};
    const RenameResult r = Run(paths, Renumber("P", "007", ".jpg"));
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.Count(RenameStatus::Renamed), 3);
    EXPECT_EQ(Where(), (Names{"P007.jpg<A.jpg", "P008.jpg<b.JPG", "P009.jpg<c.jpg"}));
    EXPECT_TRUE(told_.empty());
}

// Renames that depend on each other: taken one by one, each new name would exist.
TEST_F(RenameFilesTest, ChainsRingsAndBrokenChainsNeverOverwrite) {
    const std::string x130(130, 'X');
    const struct {
        Names files;  // renamed, in this order; "+" marks a file only present
        RenameOptions options;
        Names where, messages;
    } cases[] = {
        {{"1.jpg", "2.jpg", "3.jpg"},
         Renumber("", "2", ".jpg"),
         {"2.jpg<1.jpg", "3.jpg<2.jpg", "4.jpg<3.jpg"},
         {}},
        {{"2.jpg", "3.jpg", "4.jpg"},
         Renumber("", "1", ".jpg"),
         {"1.jpg<2.jpg", "2.jpg<3.jpg", "3.jpg<4.jpg"},
         {}},
        // Sorted as text "10.jpg" comes first: renumbering from 9 swaps the two names.
        {{"9.jpg", "10.jpg"}, Renumber("", "9", ".jpg"), {"10.jpg<9.jpg", "9.jpg<10.jpg"}, {}},
        // 3.jpg is not part of the run: 2 cannot move, so 1 cannot either.
        {{"1.jpg", "2.jpg", "+3.jpg"},
         Renumber("", "2", ".jpg"),
         {"1.jpg<1.jpg", "2.jpg<2.jpg", "3.jpg<3.jpg"},
         {kExists, kExists}},
        // X.jpg → X…X.jpg (130 X), which itself would get a name too long for the folder.
        {{"X.jpg", x130 + ".jpg"},
         Exchange("X", x130),
         {"X.jpg<X.jpg", x130 + ".jpg<" + x130 + ".jpg"},
         {kExists, kFailed}},
    };
    for (const auto& c : cases) {
        for (const std::string& name : dir_.Files()) fs::remove(dir_ / name);
        told_.clear();
        Names paths;
        for (const std::string& name : c.files)
            if (name[0] == '+')
                Make(name.substr(1));
            else
                paths.push_back(Make(name));
        Run(paths, c.options);
        EXPECT_EQ(Where(), c.where) << c.files[0];
        EXPECT_EQ(told_, c.messages) << c.files[0];
    }
}

TEST_F(RenameFilesTest, TakenNamesAreSkippedInOrder) {
    // b1.jpg stays as it is (nothing to exchange), so a1.jpg cannot become b1.jpg; of two
    // files wanting one new name the first in the list gets it.
    const Names paths = {Make("a1.jpg"), Make("b1.jpg"), Make("a2.jpg")};
    RenameResult r = Run(paths, Exchange("a", "b"));
    ASSERT_EQ(Statuses(r), (std::vector{S::TargetExists, S::Unchanged, S::Renamed}));
    EXPECT_EQ(r.entries[2].location, dir_ / "b2.jpg");
    EXPECT_EQ(told_, (Names{kExists}));

    told_.clear();
    const Names same = {Make("x.jpg"), Make("y.jpg")};
    r = Run(same, Renumber("same", "*", ".jpg"));
    EXPECT_EQ(Statuses(r), (std::vector{S::Renamed, S::TargetExists}));
    EXPECT_EQ(Contents("same.jpg"), "x.jpg");
    EXPECT_EQ(Contents("y.jpg"), "y.jpg");
}

TEST_F(RenameFilesTest, BadEntriesFailAndTheRestGoesOn) {
    const Names paths = {dir_ / "missing.jpg", Make("a.jpg"), Make("b.jpg")};
    RenameResult r = Run(paths, Add("_x"));
    EXPECT_EQ(Statuses(r), (std::vector{S::Failed, S::Renamed, S::Renamed}));
    EXPECT_EQ(told_, (Names{kFailed}));
    EXPECT_EQ(dir_.Files(), (Names{"a_x.jpg", "b_x.jpg"}));

    // A name that would leave the folder, or be no name at all, is refused.
    told_.clear();
    r = Run({dir_ / "a_x.jpg"}, Add("/../y"));
    EXPECT_EQ(r.entries[0].status, RenameStatus::Failed);
    EXPECT_TRUE(r.entries[0].target.empty());
    r = Run({dir_ / "a_x.jpg"}, Exchange("a_x.jpg", ".."));
    EXPECT_EQ(r.entries[0].status, RenameStatus::Failed);
    r = Run({dir_ / "b_x.jpg", dir_ / "b_x.jpg"}, Add("1"));
    EXPECT_EQ(Statuses(r), (std::vector{S::Renamed, S::Failed}));  // gone after its first rename
    EXPECT_EQ(told_, (Names{kFailed, kFailed, kFailed}));
    EXPECT_EQ(dir_.Files(), (Names{"a_x.jpg", "b_x1.jpg"}));

    // A new name that is a folder is taken, too.
    told_.clear();
    fs::create_directory(dir_ / "c_x.jpg");
    r = Run({Make("c.jpg")}, Add("_x"));
    EXPECT_EQ(r.entries[0].status, RenameStatus::TargetExists);
    EXPECT_EQ(Contents("c.jpg"), "c.jpg");
}

TEST_F(RenameFilesTest, WholeFolderTakesThePictureFilesOnly) {
    Make("b.tif");
    Make("a.JPG");
    Make("notes.txt");
    fs::create_directory(dir_ / "folder.jpg");
    const RenameResult r = RenameFolder(dir_.Path(), Renumber("s", "01", ".x"), asked_.Policy());
    ASSERT_EQ(asked_.questions.size(), 1u);
    EXPECT_EQ(asked_.questions[0],
              "Konvertierung bestätigen|2 Dateien umbenennen. Wollen Sie starten ?");
    EXPECT_EQ(r.Count(RenameStatus::Renamed), 2);
    EXPECT_EQ(Contents("s01.x"), "a.JPG");
    EXPECT_EQ(Contents("s02.x"), "b.tif");
    EXPECT_EQ(Contents("notes.txt"), "notes.txt");

    EXPECT_TRUE(KnownImageFiles(dir_ / "no-such-folder").empty());
}

}  // namespace
}  // namespace duplora
