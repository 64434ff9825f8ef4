#include "app/batch/slide_list.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

#include "core/batch/hook_recorder.h"
#include "core/strings.h"
#include "support/test_support.h"

namespace duplora {
namespace {

class ListFolder {
  public:
    ListFolder() { EXPECT_TRUE(dir_.isValid()); }
    std::string File(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    void Write(const std::string& name, const std::string& text) const {
        QFile file(QString::fromStdString(File(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    std::string Read(const std::string& name) const {
        QFile file(QString::fromStdString(File(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    // Empty picture files the entries can name.
    void Touch(std::initializer_list<const char*> names) const {
        for (const char* n : names) Write(n, "x");
    }

  private:
    QTemporaryDir dir_;
};

ListEntry Entry(int type, int time, bool swap, int x, int y, std::string left,
                std::string right = {}) {
    return ListEntry{type, time, swap, x, y, std::move(left), std::move(right)};
}

ListFile OneEntry(const ListEntry& e, const std::string& comment = {}) {
    ListFile list;
    list.entries.push_back(e);
    list.comments.push_back(comment);
    return list;
}

// ---- showing an entry -----------------------------------------------------------------

SlideShowOptions Interval(int tenths, bool swap = false) {
    SlideShowOptions o;
    o.interval = tenths;
    o.swap = swap;
    return o;
}

TEST(SlidePlan, ShowsTheEntry) {
    const auto none = SlideProblem::None;
    const struct {
        ListEntry entry;
        SlideShowOptions options;
        int layout;  // kPairLayout for a pair
        bool swapViews;
        int dx, dy;
        int displayTime;
        SlideProblem problem;
    } cases[] = {
        // A stereo file uses the list's interval, or its own time.
        {Entry(12, 0, false, 0, 0, "a.jpg"), Interval(45), 1, false, 0, 0, 45, none},
        {Entry(17, 7, false, 0, 0, "a.jpg"), Interval(45), 6, false, 0, 0, 7, none},
        // Stored like a DAS file: X = 12, Y = -3 shows offsets -12, -3.
        {Entry(11, 0, false, 12, -3, "a.jpg"), Interval(30), 0, false, -12, -3, 30, none},
        {Entry(21, 0, true, -4, 7, "l.jpg", "r.jpg"), Interval(30), 10, true, -4, -7, 30, none},
        // The show's swap undoes the entry's.
        {Entry(21, 0, true, -4, 7, "l.jpg", "r.jpg"), Interval(30, true), 10, false, 4, 7, 30,
         none},
        {Entry(5, 20, false, 0, 0, "l.jpg", "r.jpg"), Interval(30), 10, false, 0, 0, 20, none},
        {Entry(11, 0, false, 0, 0, "a.jpg"), Interval(3601), 0, false, 0, 0, 30, none},
        {Entry(19, 0, false, 0, 0, "a.jpg"), Interval(30), 0, false, 0, 0, 30,
         SlideProblem::UnknownType},
        {Entry(21, 0, false, 0, 0, "l.jpg"), Interval(30), 10, false, 0, 0, 30,
         SlideProblem::NoFileName},
        {Entry(21, 0, false, 0, 0, "l.jpg", "fehlt.jpg"), Interval(30), 10, false, 0, 0, 30,
         SlideProblem::MissingFile},
    };
    ListFolder folder;
    folder.Touch({"a.jpg", "l.jpg", "r.jpg"});
    for (const auto& c : cases) {
        SCOPED_TRACE(FormatListEntry(c.entry));
        const SlidePlan plan = PlanSlide(OneEntry(c.entry), folder.File("liste.txt"), 0, c.options);
        const bool pair = c.layout == kPairLayout;
        EXPECT_EQ(plan.problem, c.problem);
        EXPECT_EQ(plan.pair, pair);
        EXPECT_EQ(plan.layout, c.layout);
        EXPECT_EQ(plan.listSwap, c.entry.swap);
        EXPECT_EQ(plan.swapViews, c.swapViews);
        EXPECT_EQ(plan.dx, c.dx);
        EXPECT_EQ(plan.dy, c.dy);
        EXPECT_EQ(plan.displayTime, c.displayTime);
        EXPECT_EQ(plan.timerMs, c.displayTime * 100);
        if (c.problem == none) {
            EXPECT_EQ(plan.left, folder.File(pair ? "l.jpg" : "a.jpg"));
            EXPECT_EQ(plan.right, pair ? folder.File("r.jpg") : "");
        }
    }
}

TEST(SlidePlan, TextsCommentAndMissingFiles) {
    ListFolder folder;
    const std::string listPath = folder.File("liste.txt");
    SlideShowOptions options = Interval(45);
    SlidePlan plan = PlanSlide(OneEntry(Entry(21, 0, false, 0, 0, "l.jpg", "r.jpg"), "Rom \xe4"),
                               listPath, 0, options);
    EXPECT_EQ(plan.intervalText, QStringLiteral("Slide Show Intervall 4.5 S."));
    EXPECT_EQ(plan.comment, QStringLiteral("Rom ä"));  // Windows-1252 text
    EXPECT_EQ(plan.missing, (std::vector<std::string>{folder.File("l.jpg"), folder.File("r.jpg")}));
    options.hideComment = true;
    plan = PlanSlide(OneEntry(Entry(11, 0, false, 0, 0, "a.jpg"), "Blätter"), listPath, 0, options);
    EXPECT_TRUE(plan.comment.isEmpty());
    EXPECT_EQ(PlanSlide(ListFile{}, listPath, 0, options).problem, SlideProblem::NoFileName);
}

TEST(SlidePlan, ShowTypesBeyondTheList) {
    EXPECT_EQ(ShowTypeDisplayMode(4), 22);
    EXPECT_EQ(ShowTypeDisplayMode(5), std::nullopt);
    EXPECT_EQ(ShowTypeDisplayMode(9), 0);
}

// Writing back what is shown, untouched, stores the entry as it was, whatever the swaps.
TEST(SlidePlan, ShownEntryWritesBackUnchanged) {
    ListFolder folder;
    for (bool swap : {false, true})
        for (bool showSwap : {false, true}) {
            const ListEntry e = Entry(21, 12, swap, -300, 45, "l.jpg", "r.jpg");
            const SlidePlan p =
                PlanSlide(OneEntry(e), folder.File("l.txt"), 0, Interval(30, showSwap));
            EXPECT_EQ(EntryFromDisplay(e, p.swapViews, p.dx, p.dy, showSwap), e)
                << swap << showSwap;
            // Exchanging the views (which negates the offset) flips only the swap flag.
            ListEntry flipped = e;
            flipped.swap = !swap;
            EXPECT_EQ(EntryFromDisplay(e, !p.swapViews, -p.dx, -p.dy, showSwap), flipped);
        }
}

TEST(SlidePlan, EntriesForTheShownDocument) {
    EXPECT_EQ(FormatListEntry(EntryForDocument("/f/l.jpg", "/f/r.jpg", 10, 25, false, 4, -7)),
              "21,25,0,-4,-7,/f/l.jpg,/f/r.jpg,");
    EXPECT_EQ(FormatListEntry(EntryForDocument("/f/a.jps", "/ignored", 3, 0, true, 4, -7)),
              "14,0,1,4,7,/f/a.jps,");
    EXPECT_FALSE(ListEntryStorable(EntryForDocument("/f/a.jpg", "", 20, 0, false, 0, 0)));
    EXPECT_EQ(EntryForDocument("/a", "", 0, 99999, false, 100000, 0).time, kMaxEntryTime);
    EXPECT_TRUE(ListEntryStorable(EntryForDocument("/a", "", 0, 99999, false, 100000, 0)));
    // An older entry is written in today's form.
    EXPECT_EQ(
        FormatListEntry(EntryFromDisplay(Entry(5, 3, false, 0, 0, "l", "r"), false, -1, 2, false)),
        "21,3,0,1,2,l,r,");
}

TEST(SlidePlan, Texts) {
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

// ---- the player -----------------------------------------------------------------------

const std::string kList =
    "# Erster Tag\r\n"
    "11,0,0,0,0,a.jpg,\r\n"
    "21,20,0,3,4,l.jpg,r.jpg,\r\n"
    "sound,play,bg.wav\r\n"
    "; Zweiter Tag\r\n"
    "13,0,1,0,0,c.jpg,\r\n"
    "11,5,0,0,0,d.jpg,\r\n";

class Player : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_.Touch({"a.jpg", "l.jpg", "r.jpg", "c.jpg", "d.jpg"});
        folder_.Write("liste.txt", kList);
        ASSERT_EQ(player_.Open(folder_.File("liste.txt"), Interval(30)), ListResult::Ok);
    }
    ListFolder folder_;
    SlideListPlayer player_;
};

TEST_F(Player, StepsAndWraps) {
    EXPECT_EQ(player_.Count(), 4);
    EXPECT_EQ(player_.Current().index, 0);
    EXPECT_EQ(player_.Current().comment, QStringLiteral("Erster Tag"));
    EXPECT_EQ(player_.Next().index, 1);
    EXPECT_EQ(player_.Next().comment, QStringLiteral("Zweiter Tag"));
    EXPECT_EQ(player_.Next().index, 3);
    EXPECT_EQ(player_.Next().index, 0);
    EXPECT_EQ(player_.Previous().index, 3);
    EXPECT_EQ(player_.Select(1).left, folder_.File("l.jpg"));
    EXPECT_EQ(player_.Select(9).index, 1);
    EXPECT_EQ(player_.List().sounds.size(), 1u);
}

TEST_F(Player, TimedShow) {
    EXPECT_TRUE(player_.ToggleShow());
    EXPECT_EQ(player_.TimerMs(), 3000);  // list interval
    ASSERT_TRUE(player_.Tick());
    EXPECT_EQ(player_.TimerMs(), 2000);  // the entry's own time
    EXPECT_EQ(player_.Tick()->index, 2);
    EXPECT_EQ(player_.Tick()->timerMs, 500);
    EXPECT_FALSE(player_.ToggleShow());
    EXPECT_FALSE(player_.Tick());
    EXPECT_TRUE(player_.ToggleShow());
    player_.Previous();  // stepping back stops the show
    EXPECT_FALSE(player_.Running());

    // Entries whose files are gone are passed over; with none left the show stops.
    std::filesystem::remove(folder_.File("l.jpg"));
    player_.Select(0);
    player_.ToggleShow();
    EXPECT_EQ(player_.Tick()->index, 2);
    for (const char* f : {"a.jpg", "c.jpg", "d.jpg"}) std::filesystem::remove(folder_.File(f));
    EXPECT_FALSE(player_.Tick());
    EXPECT_FALSE(player_.Running());
    // A user step still shows what is missing, so the window can say so.
    const SlidePlan plan = player_.Next();
    EXPECT_EQ(plan.problem, SlideProblem::MissingFile);
    EXPECT_EQ(plan.missing, std::vector<std::string>{folder_.File("d.jpg")});
}

TEST_F(Player, EmptyOrMissingList) {
    SlideListPlayer other;
    EXPECT_EQ(other.Open(folder_.File("fehlt.txt"), Interval(30)), ListResult::CannotOpen);
    EXPECT_FALSE(other.IsOpen());
    EXPECT_FALSE(other.ToggleShow());
    EXPECT_EQ(other.WriteAlignment(false, 1, 1), ListResult::NoSuchEntry);
    folder_.Write("leer.txt", "# nichts\n0,0,0,0,0,a.jpg,\n");
    ASSERT_EQ(other.Open(folder_.File("leer.txt"), Interval(30)), ListResult::Ok);
    EXPECT_EQ(other.Count(), 0);
    EXPECT_FALSE(other.ToggleShow());
    EXPECT_EQ(other.Next().problem, SlideProblem::NoFileName);
    // A failed open keeps the list that was shown.
    EXPECT_EQ(player_.Open(folder_.File("fehlt.txt"), Interval(30)), ListResult::CannotOpen);
    EXPECT_EQ(player_.Count(), 4);
    player_.Close();
    EXPECT_FALSE(player_.IsOpen());
    EXPECT_EQ(player_.Current().problem, SlideProblem::NoFileName);
}

TEST_F(Player, WritesAlignmentIntoEntryTwoOnly) {
    player_.Select(2);
    ASSERT_EQ(player_.Current().swapViews, true);
    // Entry 2 is shown exchanged; its offset 4, -7 as shown is X = -4, Y = 7 for the files.
    ASSERT_EQ(player_.WriteAlignment(true, -4, -7), ListResult::Ok);
    std::string expected = kList;
    expected.replace(expected.find("13,0,1,0,0,c.jpg,"), 17, "13,0,1,-4,7,c.jpg,");
    EXPECT_EQ(folder_.Read("liste.txt"), expected);
    EXPECT_EQ(player_.Index(), 2);
    EXPECT_EQ(player_.Current().dx, -4);  // shown as written
}

TEST_F(Player, ListChangedElsewhereIsNotOverwritten) {
    player_.Select(1);
    std::string edited = "11,0,0,0,0,a.jpg,\n11,0,0,0,0,d.jpg,\n";
    folder_.Write("liste.txt", edited);
    EXPECT_EQ(player_.WriteAlignment(false, 1, 2), ListResult::EntryChanged);
    EXPECT_EQ(folder_.Read("liste.txt"), edited);
    EXPECT_EQ(player_.Count(), 2);  // read again
    edited = "11,0,0,0,0,a.jpg,\n11,0,0,0,0,e.jpg,\n";
    folder_.Write("liste.txt", edited);
    std::optional<SlidePlan> next;
    EXPECT_EQ(player_.DeleteCurrent(next), ListResult::EntryChanged);
    EXPECT_FALSE(next);
    EXPECT_EQ(folder_.Read("liste.txt"), edited);
    EXPECT_EQ(player_.CurrentEntry()->left, "e.jpg");
}

TEST_F(Player, DeleteShowsTheFollowingEntry) {
    std::optional<SlidePlan> next;
    player_.Select(1);
    ASSERT_EQ(player_.DeleteCurrent(next), ListResult::Ok);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->left, folder_.File("c.jpg"));
    EXPECT_EQ(player_.Count(), 3);
    std::string expected = kList;
    expected.erase(expected.find("21,20"), 26);
    EXPECT_EQ(folder_.Read("liste.txt"), expected);

    player_.Select(2);  // the last: the first follows
    ASSERT_EQ(player_.DeleteCurrent(next), ListResult::Ok);
    EXPECT_EQ(next->index, 0);
    player_.Select(0);
    ASSERT_EQ(player_.DeleteCurrent(next), ListResult::Ok);
    EXPECT_EQ(next->left, folder_.File("c.jpg"));
    player_.ToggleShow();
    ASSERT_EQ(player_.DeleteCurrent(next), ListResult::Ok);
    EXPECT_FALSE(next);
    EXPECT_EQ(player_.Count(), 0);
    EXPECT_FALSE(player_.Running());
    EXPECT_EQ(folder_.Read("liste.txt"), "# Erster Tag\r\nsound,play,bg.wav\r\n; Zweiter Tag\r\n");
}

// ---- sound ----------------------------------------------------------------------------

struct SoundRecorder {
    int asked = 0;
    bool answer = false;
    std::vector<SoundStart> started;
    ListSoundStarter Make() {
        return ListSoundStarter(
            [this](const QString&, const std::vector<SoundStart>&) {
                ++asked;
                return answer;
            },
            [this](const SoundStart& s) {
                started.push_back(s);
                return true;
            });
    }
};

TEST(ListSound, StartsOnlyAfterConsentForThatList) {
    ListFolder folder;
    folder.Write("bg.wav", "x");
    const std::string list = folder.File("liste.txt");
    const std::vector<SoundCommand> sounds = {{"play", "bg.wav"}};
    SoundRecorder r;
    ListSoundStarter starter = r.Make();

    EXPECT_EQ(starter.Start(list, {}), 0);  // nothing to ask about
    EXPECT_EQ(r.asked, 0);
    EXPECT_EQ(starter.Start(list, sounds), 0);  // declined: nothing, and asked again later
    EXPECT_EQ(starter.Start(list, sounds), 0);
    EXPECT_EQ(r.asked, 2);
    EXPECT_TRUE(r.started.empty());

    r.answer = true;
    EXPECT_EQ(starter.Start(list, sounds), 1);
    EXPECT_EQ(r.asked, 3);
    EXPECT_TRUE(starter.Agreed(list, sounds));
    EXPECT_EQ(starter.Start(folder.File("./liste.txt"), sounds), 1);  // the same list: no question
    EXPECT_EQ(r.asked, 3);
    ASSERT_EQ(r.started.size(), 2u);
    EXPECT_EQ(r.started[0].program, QStringLiteral("play"));
    EXPECT_EQ(r.started[0].arguments, QStringList{QString::fromStdString(folder.File("bg.wav"))});

    // Changed sound lines, or another list, need a new consent.
    EXPECT_EQ(starter.Start(list, {{"rm", "bg.wav"}}), 1);
    EXPECT_EQ(r.asked, 4);
    EXPECT_EQ(starter.Start(folder.File("andere.txt"), sounds), 1);
    EXPECT_EQ(r.asked, 5);
}

TEST(ListSound, CommandsAreNeverShellLines) {
    ListFolder folder;
    std::filesystem::create_directories(folder.File("musik"));
    folder.Write("musik/bg 1.wav", "x");
    const std::string list = folder.File("liste.txt");
    SoundStart s = ResolveSoundCommand(list, {"bin\\player", "musik\\bg 1.wav"});
    EXPECT_EQ(s.program, QString::fromStdString(folder.File("bin/player")));
    EXPECT_EQ(s.arguments, QStringList{QString::fromStdString(folder.File("musik/bg 1.wav"))});
    EXPECT_EQ(s.workingDirectory, QFileInfo(QString::fromStdString(list)).absolutePath());
    // Not a file: passed on as one argument, blanks, quotes and semicolons and all.
    s = ResolveSoundCommand(list, {"mpv", "--loop \"x\"; rm -rf ~"});
    EXPECT_EQ(s.program, QStringLiteral("mpv"));
    EXPECT_EQ(s.arguments, QStringList{QStringLiteral("--loop \"x\"; rm -rf ~")});
    EXPECT_TRUE(ResolveSoundCommand(list, {"mpv", ""}).arguments.isEmpty());
}

TEST(ListSound, QuestionGoesThroughTheHook) {
    test::HookRecorder hooks;
    hooks.fallback = Answer::No;
    EXPECT_FALSE(ListSoundStarter::AskThroughHook()(
        QStringLiteral("/x/liste.txt"),
        {SoundStart{QStringLiteral("play"), {QStringLiteral("bg.wav")}, QStringLiteral("/x")}}));
    ASSERT_EQ(hooks.questions.size(), 1u);
    EXPECT_TRUE(hooks.questions[0].starts_with("Achtung")) << hooks.questions[0];
    EXPECT_NE(hooks.questions[0].find("/x/liste.txt"), std::string::npos);
    EXPECT_NE(hooks.questions[0].find("play bg.wav"), std::string::npos);
}

// ---- list maker -----------------------------------------------------------------------

TEST(ListMaker, Entries) {
    ListFolder folder;
    std::filesystem::create_directories(folder.File("rechts"));
    folder.Write("rechts/A.jpg", "x");
    folder.Write("rechts/c.jpg", "x");
    const std::vector<std::string> picked = {"/l/c.jpg", "/l/b.jpg", "/l/A.jpg"};

    ListMakerResult r = MakeListEntries(picked, 1, "", 25, true);
    ASSERT_EQ(r.entries.size(), 3u);
    EXPECT_EQ(r.entries[0], Entry(12, 25, true, 0, 0, "/l/A.jpg"));
    EXPECT_EQ(r.entries[2].left, "/l/c.jpg");

    r = MakeListEntries(picked, 4, folder.File("rechts"), 0, false);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0], Entry(21, 0, false, 0, 0, "/l/A.jpg", folder.File("rechts/A.jpg")));
    EXPECT_EQ(r.missingPairs, std::vector<std::string>{"/l/b.jpg"});

    // Five separate files and no right folder cannot be paired.
    r = MakeListEntries({"1", "2", "3", "4", "5"}, 4, "", 0, false);
    EXPECT_EQ(r.errorText, 2678);
    EXPECT_TRUE(r.entries.empty());
    r = MakeListEntries({"/d/2_r.jpg", "/d/1_l.jpg", "/d/2_l.jpg", "/d/1_r.jpg"}, 4, "", 0, false);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0], Entry(21, 0, false, 0, 0, "/d/1_l.jpg", "/d/1_r.jpg"));
    EXPECT_EQ(r.entries[1], Entry(21, 0, false, 0, 0, "/d/2_l.jpg", "/d/2_r.jpg"));
}

TEST(ListMaker, WrittenListPlaysRealPhotographs) {
    for (const char* s : {"pairs/sugarshack_l.jpg", "pairs/sugarshack_r.jpg"})
        if (!test::SampleExists(s)) GTEST_SKIP() << "samples missing";
    ListFolder folder;
    const ListMakerResult made = MakeListEntries(
        {test::SamplePath("pairs/sugarshack_r.jpg"), test::SamplePath("pairs/sugarshack_l.jpg")}, 4,
        "", 0, false);
    ASSERT_EQ(AppendListEntries(folder.File("neu.txt"), made.entries, "Zuckerhütte"),
              ListResult::Ok);
    SlideListPlayer player;
    ASSERT_EQ(player.Open(folder.File("neu.txt"), Interval(30)), ListResult::Ok);
    const SlidePlan plan = player.Current();
    EXPECT_TRUE(plan.Showable());
    EXPECT_EQ(plan.left, test::SamplePath("pairs/sugarshack_l.jpg"));
    EXPECT_EQ(plan.right, test::SamplePath("pairs/sugarshack_r.jpg"));
    EXPECT_EQ(plan.comment, QStringLiteral("Zuckerhütte"));
}

}  // namespace
}  // namespace duplora
