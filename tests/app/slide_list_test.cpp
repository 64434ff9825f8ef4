// Slide-show lists as the program plays them: what each entry shows, the player, writing the
// shown alignment back, sound lines and the list maker. Reading and rewriting lines is pinned
// by the core's list tests.
#include "app/batch/slide_list.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/batch/list_alignment.h"
#include "app/shell/stereo_document.h"
#include "support/qt_files.h"
#include "support/test_support.h"
#include "support/told.h"

namespace duplora {
namespace {

using Paths = std::vector<std::string>;

const std::string kList =
    "# Erster Tag\r\n"
    "11,0,0,0,0,a.jpg,\r\n"
    "21,20,0,3,4,l.jpg,r.jpg,\r\n"
    "sound,play,bg.wav\r\n"
    "; Zweiter Tag\r\n"
    "13,0,1,0,0,c.jpg,\r\n"
    "11,5,0,0,0,d.jpg,\r\n";

ListEntry Entry(int type, int time, bool swap, int x, int y, std::string left,
                std::string right = {}) {
    return ListEntry{type, time, swap, x, y, std::move(left), std::move(right)};
}

ListFile OneEntry(const ListEntry& e, const std::string& comment = {}) {
    ListFile list;
    list.entries = {e};
    list.comments = {comment};
    return list;
}

SlideShowOptions Interval(int tenths, bool swap = false) {
    SlideShowOptions o;
    o.interval = tenths;
    o.swap = swap;
    return o;
}

class SlideListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        for (const char* n : {"a.jpg", "l.jpg", "r.jpg", "c.jpg", "d.jpg", "bg.wav"}) Write(n, "x");
        Write("liste.txt", kList);
    }
    std::string File(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    void Write(const std::string& name, const std::string& text) const {
        ASSERT_TRUE(test::WriteFileBytes(QString::fromStdString(File(name)),
                                         QByteArray::fromStdString(text)));
    }
    std::string Read(const std::string& name) const {
        return test::FileBytes(QString::fromStdString(File(name))).toStdString();
    }
    // The player on kList.
    SlideListPlayer& Player() {
        EXPECT_EQ(player_.Open(File("liste.txt"), Interval(30)), ListResult::Ok);
        return player_;
    }

    QTemporaryDir dir_;
    SlideListPlayer player_;
};

TEST_F(SlideListTest, PlanShowsTheEntry) {
    const auto none = SlideProblem::None;
    using L = StereoLayout;
    const struct {
        ListEntry entry;
        SlideShowOptions options;
        StereoLayout layout;  // Pair for a pair
        bool swapViews;
        int dx, dy, displayTime;
        SlideProblem problem;
    } cases[] = {
        // A stereo file uses the list's interval, or its own time.
        {Entry(12, 0, false, 0, 0, "a.jpg"), Interval(45), L::OverUnder, false, 0, 0, 45, none},
        {Entry(17, 7, false, 0, 0, "a.jpg"), Interval(45), L::TriDeltaTT, false, 0, 0, 7, none},
        // Stored like a DAS file: X = 12, Y = -3 shows offsets -12, -3.
        {Entry(11, 0, false, 12, -3, "a.jpg"), Interval(30), L::SideBySide, false, -12, -3, 30,
         none},
        {Entry(21, 0, true, -4, 7, "l.jpg", "r.jpg"), Interval(30), L::Pair, true, -4, -7, 30,
         none},
        // The show's swap undoes the entry's.
        {Entry(21, 0, true, -4, 7, "l.jpg", "r.jpg"), Interval(30, true), L::Pair, false, 4, 7, 30,
         none},
        {Entry(5, 20, false, 0, 0, "l.jpg", "r.jpg"), Interval(30), L::Pair, false, 0, 0, 20, none},
        {Entry(11, 0, false, 0, 0, "a.jpg"), Interval(3601), L::SideBySide, false, 0, 0, 30, none},
        {Entry(19, 0, false, 0, 0, "a.jpg"), Interval(30), L::SideBySide, false, 0, 0, 30,
         SlideProblem::UnknownType},
        {Entry(21, 0, false, 0, 0, "l.jpg"), Interval(30), L::Pair, false, 0, 0, 30,
         SlideProblem::NoFileName},
        {Entry(21, 0, false, 0, 0, "l.jpg", "fehlt.jpg"), Interval(30), L::Pair, false, 0, 0, 30,
         SlideProblem::MissingFile},
    };
    for (const auto& c : cases) {
        const SlidePlan p = PlanSlide(OneEntry(c.entry), File("liste.txt"), 0, c.options);
        const bool pair = c.layout == L::Pair;
        EXPECT_EQ(std::tuple(p.problem, p.pair, p.layout, p.listSwap, p.swapViews, p.dx, p.dy,
                             p.displayTime, p.timerMs),
                  std::tuple(c.problem, pair, c.layout, c.entry.swap, c.swapViews, c.dx, c.dy,
                             c.displayTime, c.displayTime * 100))
            << FormatListEntry(c.entry);
        if (c.problem != none) continue;
        EXPECT_EQ(p.left, File(pair ? "l.jpg" : "a.jpg"));
        EXPECT_EQ(p.right, pair ? File("r.jpg") : "");
    }
}

TEST_F(SlideListTest, PlanTextsCommentsAndMissingFiles) {
    SlideShowOptions options = Interval(45);
    const std::string list = File("liste.txt");
    SlidePlan plan = PlanSlide(
        OneEntry(Entry(21, 0, false, 0, 0, "m_l.jpg", "m_r.jpg"), "Rom \xe4"), list, 0, options);
    EXPECT_EQ(plan.intervalText, QStringLiteral("Slide Show Intervall 4.5 S."));
    EXPECT_EQ(plan.comment, QStringLiteral("Rom ä"));  // Windows-1252 text
    EXPECT_EQ(plan.missing, (Paths{File("m_l.jpg"), File("m_r.jpg")}));
    options.hideComment = true;
    plan = PlanSlide(OneEntry(Entry(11, 0, false, 0, 0, "a.jpg"), "Blätter"), list, 0, options);
    EXPECT_TRUE(plan.comment.isEmpty());
    EXPECT_EQ(PlanSlide(ListFile{}, list, 0, options).problem, SlideProblem::NoFileName);
    // Show types are the modes' list positions; 5 is page flipping, unknown ones side by side.
    EXPECT_EQ(ShowTypeDisplayMode(2), DisplayMode::Interlace);
    EXPECT_EQ(ShowTypeDisplayMode(4), DisplayMode::ColourAnaglyph);
    EXPECT_EQ(ShowTypeDisplayMode(5), std::nullopt);
    EXPECT_EQ(ShowTypeDisplayMode(9), DisplayMode::SideBySide);
    EXPECT_EQ(ListIntervalText(30), QStringLiteral("Slide Show Intervall 3.0 S."));
    EXPECT_EQ(ListFailureText(ListResult::CannotOpen, false),
              QStringLiteral("Kann Slide Show Liste nicht öffnen !"));
    EXPECT_EQ(ListFailureText(ListResult::WriteFailed, true),
              QStringLiteral("Kann keine Slide Show Liste erstellen !"));
    EXPECT_EQ(AlignmentWrittenText("/x/l.txt", 4, -7),
              QStringLiteral("(/x/l.txt)\nInformationen (X = -4,Y = 7)wurden geschrieben."));
    EXPECT_EQ(EntryAppendedTitle("/x/l.txt"),
              QStringLiteral("File info. was writen in script file (/x/l.txt)"));
}

// Writing back what is shown, untouched, stores the entry as it was, whatever the swaps.
TEST_F(SlideListTest, ShownEntryWritesBackUnchanged) {
    for (bool swap : {false, true})
        for (bool showSwap : {false, true}) {
            const ListEntry e = Entry(21, 12, swap, -300, 45, "l.jpg", "r.jpg");
            const SlidePlan p = PlanSlide(OneEntry(e), File("l.txt"), 0, Interval(30, showSwap));
            EXPECT_EQ(EntryFromDisplay(e, p.swapViews, p.dx, p.dy, showSwap), e)
                << swap << showSwap;
            // Exchanging the views (which negates the offset) flips only the swap flag.
            ListEntry flipped = e;
            flipped.swap = !swap;
            EXPECT_EQ(EntryFromDisplay(e, !p.swapViews, -p.dx, -p.dy, showSwap), flipped);
        }
    EXPECT_EQ(FormatListEntry(
                  EntryForDocument("/f/l.jpg", "/f/r.jpg", StereoLayout::Pair, 25, false, 4, -7)),
              "21,25,0,-4,-7,/f/l.jpg,/f/r.jpg,");
    EXPECT_EQ(FormatListEntry(
                  EntryForDocument("/f/a.jps", "/ignored", StereoLayout::Anaglyph, 0, true, 4, -7)),
              "14,0,1,4,7,/f/a.jps,");
    EXPECT_FALSE(
        ListEntryStorable(EntryForDocument("/f/a.jpg", "", StereoLayout::Single, 0, false, 0, 0)));
    const ListEntry longest =
        EntryForDocument("/a", "", StereoLayout::SideBySide, 99999, false, 100000, 0);
    EXPECT_EQ(longest.time, kMaxEntryTime);
    EXPECT_TRUE(ListEntryStorable(longest));
    // An older entry is written in today's form.
    EXPECT_EQ(
        FormatListEntry(EntryFromDisplay(Entry(5, 3, false, 0, 0, "l", "r"), false, -1, 2, false)),
        "21,3,0,1,2,l,r,");
}

TEST_F(SlideListTest, PlayerStepsWrapsAndTimesTheShow) {
    SlideListPlayer& p = Player();
    EXPECT_EQ(p.Count(), 4);
    EXPECT_EQ(p.List().sounds.size(), 1u);
    EXPECT_EQ(p.Current().index, 0);
    EXPECT_EQ(p.Current().comment, QStringLiteral("Erster Tag"));
    EXPECT_EQ(p.Next().index, 1);
    EXPECT_EQ(p.Next().comment, QStringLiteral("Zweiter Tag"));
    EXPECT_EQ(p.Next().index, 3);
    EXPECT_EQ(p.Next().index, 0);
    EXPECT_EQ(p.Previous().index, 3);
    EXPECT_EQ(p.Select(1).left, File("l.jpg"));
    EXPECT_EQ(p.Select(9).index, 1);

    p.Select(0);
    EXPECT_TRUE(p.ToggleShow());
    EXPECT_EQ(p.TimerMs(), 3000);  // the list's interval
    ASSERT_TRUE(p.Tick());
    EXPECT_EQ(p.TimerMs(), 2000);  // the entry's own time
    EXPECT_EQ(p.Tick()->index, 2);
    EXPECT_EQ(p.Tick()->timerMs, 500);
    EXPECT_FALSE(p.ToggleShow());
    EXPECT_FALSE(p.Tick());
    EXPECT_TRUE(p.ToggleShow());
    p.Previous();  // stepping back stops the show
    EXPECT_FALSE(p.Running());

    // Entries whose files are gone are passed over; with none left the show stops.
    std::filesystem::remove(File("l.jpg"));
    p.Select(0);
    p.ToggleShow();
    EXPECT_EQ(p.Tick()->index, 2);
    for (const char* f : {"a.jpg", "c.jpg", "d.jpg"}) std::filesystem::remove(File(f));
    EXPECT_FALSE(p.Tick());
    EXPECT_FALSE(p.Running());
    // A user step still shows what is missing, so the window can say so.
    const SlidePlan plan = p.Next();
    EXPECT_EQ(plan.problem, SlideProblem::MissingFile);
    EXPECT_EQ(plan.missing, Paths{File("d.jpg")});
}

TEST_F(SlideListTest, PlayerOfAnEmptyOrMissingList) {
    SlideListPlayer other;
    EXPECT_EQ(other.Open(File("fehlt.txt"), Interval(30)), ListResult::CannotOpen);
    EXPECT_FALSE(other.IsOpen());
    EXPECT_FALSE(other.ToggleShow());
    EXPECT_EQ(other.WriteAlignment(false, 1, 1), ListResult::NoSuchEntry);
    Write("leer.txt", "# nichts\n0,0,0,0,0,a.jpg,\n");
    ASSERT_EQ(other.Open(File("leer.txt"), Interval(30)), ListResult::Ok);
    EXPECT_EQ(other.Count(), 0);
    EXPECT_FALSE(other.ToggleShow());
    EXPECT_EQ(other.Next().problem, SlideProblem::NoFileName);
    // A failed open keeps the list that was shown.
    SlideListPlayer& p = Player();
    EXPECT_EQ(p.Open(File("fehlt.txt"), Interval(30)), ListResult::CannotOpen);
    EXPECT_EQ(p.Count(), 4);
    p.Close();
    EXPECT_FALSE(p.IsOpen());
    EXPECT_EQ(p.Current().problem, SlideProblem::NoFileName);
}

TEST_F(SlideListTest, PlayerWritesTheAlignmentAsTheFilesSeeIt) {
    SlideListPlayer& p = Player();
    p.Select(2);
    ASSERT_TRUE(p.Current().swapViews);
    // Entry 2 is shown exchanged; its offset 4, -7 as shown is X = -4, Y = 7 for the files.
    ASSERT_EQ(p.WriteAlignment(true, -4, -7), ListResult::Ok);
    std::string expected = kList;
    expected.replace(expected.find("13,0,1,0,0,c.jpg,"), 17, "13,0,1,-4,7,c.jpg,");
    EXPECT_EQ(Read("liste.txt"), expected);
    EXPECT_EQ(p.Index(), 2);
    EXPECT_EQ(p.Current().dx, -4);  // shown as written

    // A list changed elsewhere is read again, not overwritten.
    p.Select(1);
    std::string edited = "11,0,0,0,0,a.jpg,\n11,0,0,0,0,d.jpg,\n";
    Write("liste.txt", edited);
    EXPECT_EQ(p.WriteAlignment(false, 1, 2), ListResult::EntryChanged);
    EXPECT_EQ(Read("liste.txt"), edited);
    EXPECT_EQ(p.Count(), 2);
    edited = "11,0,0,0,0,a.jpg,\n11,0,0,0,0,e.jpg,\n";
    Write("liste.txt", edited);
    std::optional<SlidePlan> next;
    EXPECT_EQ(p.DeleteCurrent(next), ListResult::EntryChanged);
    EXPECT_FALSE(next);
    EXPECT_EQ(Read("liste.txt"), edited);
    EXPECT_EQ(p.CurrentEntry()->left, "e.jpg");
}

TEST_F(SlideListTest, PlayerDeleteShowsTheFollowingEntry) {
    SlideListPlayer& p = Player();
    std::optional<SlidePlan> next;
    p.Select(1);
    ASSERT_EQ(p.DeleteCurrent(next), ListResult::Ok);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->left, File("c.jpg"));
    EXPECT_EQ(p.Count(), 3);
    std::string expected = kList;
    expected.erase(expected.find("21,20"), 26);
    EXPECT_EQ(Read("liste.txt"), expected);
    p.Select(2);  // the last: the first follows
    ASSERT_EQ(p.DeleteCurrent(next), ListResult::Ok);
    EXPECT_EQ(next->index, 0);
    p.Select(0);
    ASSERT_EQ(p.DeleteCurrent(next), ListResult::Ok);
    EXPECT_EQ(next->left, File("c.jpg"));
    p.ToggleShow();
    ASSERT_EQ(p.DeleteCurrent(next), ListResult::Ok);
    EXPECT_FALSE(next);
    EXPECT_EQ(p.Count(), 0);
    EXPECT_FALSE(p.Running());
    EXPECT_EQ(Read("liste.txt"), "# Erster Tag\r\nsound,play,bg.wav\r\n; Zweiter Tag\r\n");
}

// ---- the shown alignment written from the window ----------------------------------------

struct WriteCase {
    const char* name;
    bool listSwap;  // the entry is shown exchanged
    const char* line;
};

// The player on entry 1 of kList (a pair), shown in a document with the offset 4, 7.
class ListAlignmentTest : public SlideListTest, public ::testing::WithParamInterface<WriteCase> {
  protected:
    void Show(bool listSwap) {
        Player().Select(1);
        doc_.ClearForOpening("/x/l.jpg");
        doc_.SetView(Side::Left, test::MakeNoise(8, 6, 1), "/x/l.jpg", "l.jpg");
        doc_.SetView(Side::Right, test::MakeNoise(8, 6, 2), "/x/r.jpg", "r.jpg");
        doc_.SetListSwap(true, listSwap);
        doc_.SetOffset(4, 7);
    }
    StereoDocument doc_;
};

// Only that line changes, in the order the views are shown.
TEST_P(ListAlignmentTest, OnlyTheShownEntrysLineChanges) {
    Show(GetParam().listSwap);
    ASSERT_TRUE(ShowsListEntry(player_, doc_));
    ASSERT_TRUE(WriteShownEntryAlignment(player_, doc_).Ok());
    std::string expected = kList;
    expected.replace(expected.find("21,20,0,3,4,"), 12, GetParam().line);
    EXPECT_EQ(Read("liste.txt"), expected);
    // The player reads the list again and stays on the entry.
    EXPECT_EQ(player_.Index(), 1);
    EXPECT_EQ(player_.CurrentEntry()->x, player_.List().entries[1].x);
    // Rewritten beside itself and renamed over the old list: nothing left behind.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files),
              (QStringList{"a.jpg", "bg.wav", "c.jpg", "d.jpg", "l.jpg", "liste.txt", "r.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(Views, ListAlignmentTest,
                         ::testing::Values(WriteCase{"InListOrder", false, "21,20,0,-4,7,"},
                                           WriteCase{"Exchanged", true, "21,20,1,4,-7,"}),
                         [](const auto& info) { return std::string(info.param.name); });

// No entry shown (the document left the list), or the entry's line changed elsewhere since
// the list was read: refused without touching the list.
TEST_F(ListAlignmentTest, RefusedWithoutTouchingTheList) {
    Show(false);
    doc_.SetListSwap(false, false);
    EXPECT_FALSE(WriteShownEntryAlignment(player_, doc_).Ok());
    EXPECT_EQ(Read("liste.txt"), kList);

    Show(false);
    std::string changed = kList;
    changed.replace(changed.find("21,20,0,3,4,"), 12, "21,20,0,9,9,");
    Write("liste.txt", changed);
    const Status written = WriteShownEntryAlignment(player_, doc_);
    ASSERT_FALSE(written.Ok());
    EXPECT_EQ(written.Error().MessageText(), "Kann keine Slide Show Liste erstellen !");
    EXPECT_EQ(Read("liste.txt"), changed);
}

// ---- sound ----------------------------------------------------------------------------

TEST_F(SlideListTest, SoundStartsOnlyAfterConsentForThatList) {
    const std::string list = File("liste.txt");
    const std::vector<SoundCommand> sounds = {{"play", "bg.wav"}};
    int asked = 0;
    bool answer = false;
    std::vector<SoundStart> started;
    ListSoundStarter starter(
        [&](const QString&, const std::vector<SoundStart>&) { return ++asked, answer; },
        [&](const SoundStart& s) { return started.push_back(s), true; });
    EXPECT_EQ(starter.Start(list, {}), 0);  // nothing to ask about
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(starter.Start(list, sounds), 0);  // declined: nothing, and asked again later
    EXPECT_EQ(starter.Start(list, sounds), 0);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(started.empty());
    answer = true;
    EXPECT_EQ(starter.Start(list, sounds), 1);
    EXPECT_TRUE(starter.Agreed(list, sounds));
    EXPECT_EQ(starter.Start(File("./liste.txt"), sounds), 1);  // the same list: no question
    EXPECT_EQ(asked, 3);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].program, QStringLiteral("play"));
    EXPECT_EQ(started[0].arguments, QStringList{QString::fromStdString(File("bg.wav"))});
    // Changed sound lines, or another list, need a new consent.
    EXPECT_EQ(starter.Start(list, {{"rm", "bg.wav"}}), 1);
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(starter.Start(File("andere.txt"), sounds), 1);
    EXPECT_EQ(asked, 5);
}

TEST_F(SlideListTest, SoundCommandsAreNeverShellLinesAndTheQuestionGoesToThePolicy) {
    std::filesystem::create_directories(File("musik"));
    Write("musik/bg 1.wav", "x");
    const std::string list = File("liste.txt");
    SoundStart s = ResolveSoundCommand(list, {"bin\\player", "musik\\bg 1.wav"});
    EXPECT_EQ(s.program, QString::fromStdString(File("bin/player")));
    EXPECT_EQ(s.arguments, QStringList{QString::fromStdString(File("musik/bg 1.wav"))});
    EXPECT_EQ(s.workingDirectory, QFileInfo(QString::fromStdString(list)).absolutePath());
    // Not a file: passed on as one argument, blanks, quotes and semicolons and all.
    s = ResolveSoundCommand(list, {"mpv", "--loop \"x\"; rm -rf ~"});
    EXPECT_EQ(s.program, QStringLiteral("mpv"));
    EXPECT_EQ(s.arguments, QStringList{QStringLiteral("--loop \"x\"; rm -rf ~")});
    EXPECT_TRUE(ResolveSoundCommand(list, {"mpv", ""}).arguments.isEmpty());

    test::QuestionRecorder asked;
    asked.fallback = false;
    EXPECT_FALSE(ListSoundStarter::AskWith(asked.Policy())(
        QStringLiteral("/x/liste.txt"),
        {SoundStart{QStringLiteral("play"), {QStringLiteral("bg.wav")}, QStringLiteral("/x")}}));
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_TRUE(asked.questions[0].starts_with("Achtung")) << asked.questions[0];
    EXPECT_NE(asked.questions[0].find("/x/liste.txt"), std::string::npos);
    EXPECT_NE(asked.questions[0].find("play bg.wav"), std::string::npos);
}

// ---- list maker -----------------------------------------------------------------------

TEST_F(SlideListTest, MakerPairsWithTheRightFolderOrByName) {
    std::filesystem::create_directories(File("rechts"));
    Write("rechts/A.jpg", "x");
    Write("rechts/c.jpg", "x");
    const Paths picked = {"/l/c.jpg", "/l/b.jpg", "/l/A.jpg"};
    ListMakerResult r = MakeListEntries(picked, 1, "", 25, true);
    ASSERT_EQ(r.entries.size(), 3u);
    EXPECT_EQ(r.entries[0], Entry(12, 25, true, 0, 0, "/l/A.jpg"));
    EXPECT_EQ(r.entries[2].left, "/l/c.jpg");
    r = MakeListEntries(picked, 4, File("rechts"), 0, false);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0], Entry(21, 0, false, 0, 0, "/l/A.jpg", File("rechts/A.jpg")));
    EXPECT_EQ(r.missingPairs, Paths{"/l/b.jpg"});
    // Five separate files and no right folder cannot be paired.
    r = MakeListEntries({"1", "2", "3", "4", "5"}, 4, "", 0, false);
    EXPECT_EQ(r.errorText, 2678);
    EXPECT_TRUE(r.entries.empty());
    r = MakeListEntries({"/d/2_r.jpg", "/d/1_l.jpg", "/d/2_l.jpg", "/d/1_r.jpg"}, 4, "", 0, false);
    EXPECT_EQ(r.entries,
              (std::vector<ListEntry>{Entry(21, 0, false, 0, 0, "/d/1_l.jpg", "/d/1_r.jpg"),
                                      Entry(21, 0, false, 0, 0, "/d/2_l.jpg", "/d/2_r.jpg")}));
}

TEST_F(SlideListTest, MadeListPlaysRealPhotographs) {
    for (const char* s : {"pairs/sugarshack_l.jpg", "pairs/sugarshack_r.jpg"})
        if (!test::SampleExists(s)) GTEST_SKIP() << "samples missing";
    const std::string left = test::SamplePath("pairs/sugarshack_l.jpg");
    const std::string right = test::SamplePath("pairs/sugarshack_r.jpg");
    const ListMakerResult made = MakeListEntries({right, left}, 4, "", 0, false);
    ASSERT_EQ(AppendListEntries(File("neu.txt"), made.entries, "Zuckerhütte"), ListResult::Ok);
    SlideListPlayer player;
    ASSERT_EQ(player.Open(File("neu.txt"), Interval(30)), ListResult::Ok);
    const SlidePlan plan = player.Current();
    EXPECT_TRUE(plan.Showable());
    EXPECT_EQ(std::tuple(plan.left, plan.right), std::tuple(left, right));
    EXPECT_EQ(plan.comment, QStringLiteral("Zuckerhütte"));
}

}  // namespace
}  // namespace duplora
