#include "core/batch/list_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/formats/formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using namespace std::string_literals;
using test::ScratchDir;

std::string ReadText(const std::string& path) {
    const test::Bytes b = test::ReadAll(path);
    return std::string(b.begin(), b.end());
}

void WriteText(const std::string& path, const std::string& text) {
    ASSERT_TRUE(test::WriteAll(path, test::Bytes(text.begin(), text.end())));
}

ListEntry Entry(int type, int time, bool swap, int x, int y, std::string left,
                std::string right = {}) {
    return ListEntry{type, time, swap, x, y, std::move(left), std::move(right)};
}

ListEntry Single(std::string name, int type = 11) {
    return Entry(type, 0, false, 0, 0, std::move(name));
}

TEST(ListLine, ReadsAsExpected) {
    const struct {
        std::string line;
        std::optional<ListEntry> entry;  // none: not an entry
    } cases[] = {
        {"21,25,1,-4,7,/l.jpg,/r.jpg,", Entry(21, 25, true, -4, 7, "/l.jpg", "/r.jpg")},
        {"12,0,0,0,0,/a.jpg,/b.jpg,", Single("/a.jpg", 12)},  // a second name only for pairs
        {"0,0,0,0,0,/a.jpg,", {}},
        {"30,0,0,0,0,/a.jpg,", {}},
        {"99999999999999999999999,0,0,0,0,a,", {}},
        {"11,0,0,0,/a.jpg", {}},  // four commas
        {"# Rom, Tag 1, 2, 3, 4, 5", {}},
        {"12 Fotos aus Rom,a,b,c,d,e", {}},
        {" 11 , 30 , 1 , 2 , 3 , /a b.jpg ,", Entry(11, 30, true, 2, 3, "/a b.jpg")},
        {"13,0,0,0,0,C:\\a.jpg,\r\n", Single("C:\\a.jpg", 13)},
        {"5,30,1,C:\\l.jpg,C:\\r.jpg,", Entry(5, 30, true, 0, 0, "C:\\l.jpg", "C:\\r.jpg")},
        {"2,0,0,C:\\a.jpg,,", Single("C:\\a.jpg", 2)},
        {"11,99999999999999999999,1,-99999999999,99999999999,a.jpg,",
         Entry(11, kMaxEntryTime, true, -kMaxEntryOffset, kMaxEntryOffset, "a.jpg")},
        {"11,abc,xyz,12px,--3,a.jpg,", Entry(11, 0, false, 12, 0, "a.jpg")},
        {"11,-5,2,0,0,a,", Entry(11, 0, true, 0, 0, "a")},  // a negative time is the default
        {std::string("11,0,0,0,0,a\0b,", 15), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ClassifyListLine(c.line), c.entry ? ListLineKind::Entry : ListLineKind::Other);
        ListEntry e;
        ASSERT_EQ(ParseListEntry(c.line, e), c.entry.has_value());
        if (c.entry) {
            EXPECT_EQ(e, *c.entry);
        }
    }
}

TEST(ListLine, SoundLinesAndLayouts) {
    SoundCommand s;
    ASSERT_TRUE(ParseSoundLine(" Sound , play , bg.wav ,\r\n", s));
    EXPECT_EQ(s, (SoundCommand{"play", "bg.wav"}));
    EXPECT_EQ(ClassifyListLine(" Sound , play , bg.wav ,\r\n"), ListLineKind::Sound);
    ASSERT_TRUE(ParseSoundLine("sound,C:\\Programme\\player.exe", s));
    EXPECT_EQ(s, (SoundCommand{"C:\\Programme\\player.exe", ""}));
    for (const char* other : {"sound,,bg.wav", "sounds,play,x"})
        EXPECT_EQ(ClassifyListLine(other), ListLineKind::Other) << other;
    using L = StereoLayout;
    const std::pair<int, std::optional<StereoLayout>> layouts[] = {
        {11, L::SideBySide},
        {18, L::TriDeltaBB},
        {21, L::Pair},
        {5, L::Pair},
        {4, L::Anaglyph},
        {1, L::SideBySide},
        {0, {}},
        {10, {}},
        {19, {}},
        {22, {}},
    };
    for (const auto& [type, layout] : layouts) EXPECT_EQ(ListEntryLayout(type), layout) << type;
}

TEST(ListLine, WrittenEntriesReadBackAndBadOnesAreRefused) {
    for (const ListEntry& e :
         {Entry(21, 25, true, -4, 7, "/l.jpg", "/r.jpg"), Single("/fotos/Bäume mit Blättern.jpg"),
          Entry(18, kMaxEntryTime, false, kMaxEntryOffset, -kMaxEntryOffset, "rel/a.jps")}) {
        ASSERT_TRUE(ListEntryStorable(e));
        ListEntry back;
        ASSERT_TRUE(ParseListEntry(FormatListEntry(e), back));
        EXPECT_EQ(back, e);
    }
    const ListEntry bad[] = {
        Single("/l.jpg", 21),                          // pair without right
        Single(""),                                    // no name
        Single("/Rom, Tag 1/a.jpg"),                   // comma
        Single("/a\n.jpg"),                            // line end
        Single(" a.jpg"),                              // would lose its blank
        Entry(5, 0, false, 0, 0, "/l.jpg", "/r.jpg"),  // older types are read only
        Single("/a.jpg", 19),                          // no such layout
        Entry(11, kMaxEntryTime + 1, false, 0, 0, "/a.jpg"),
        Entry(11, 0, false, kMaxEntryOffset + 1, 0, "/a.jpg"),
    };
    for (const ListEntry& e : bad) EXPECT_FALSE(ListEntryStorable(e)) << FormatListEntry(e);
    for (const char* text : {"12,3,4,5,6,7,", "sound,rm,-rf", "a\r\n21,0,0,0,0,x,y,", ""}) {
        const std::string line = FormatListComment(text);
        EXPECT_EQ(ClassifyListLine(line), ListLineKind::Other) << line;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    }
}

TEST(ListText, CountsEntriesAndFindsCommentsAndSounds) {
    const std::string text =
        "\xEF\xBB\xBF# Urlaub\r\n"  // the byte order mark of Windows editors
        "11,0,0,0,0,a.jpg,\r\n"
        "sound,play,bg.wav\r\n"
        "0,0,0,0,0,not.jpg,\r\n"
        "\r\n"
        "21,0,0,0,0,l.jpg,r.jpg,\n"
        "; Zweiter Tag\n"
        "\x01\x02\xff binary\n"
        "12,5,0,0,0,b.jpg,";  // no line end
    const ListFile list = ParseListText(text);
    EXPECT_EQ(list.text, text);
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.entries[2].left, "b.jpg");
    EXPECT_EQ(list.comments, (std::vector<std::string>{"Urlaub", "Urlaub", "Zweiter Tag"}));
    EXPECT_EQ(list.sounds, (std::vector<SoundCommand>{{"play", "bg.wav"}}));
    // Spans: text without the line end, next after it.
    const ListLineSpan first = list.entryLines[0];
    EXPECT_EQ(text.substr(first.begin, first.end - first.begin), "11,0,0,0,0,a.jpg,");
    EXPECT_EQ(text.substr(first.end, first.next - first.end), "\r\n");
    EXPECT_EQ(list.entryLines[2].end, text.size());
    EXPECT_EQ(list.entryLines[2].next, text.size());
    const std::string marked =
        "\xEF\xBB\xBF"
        "11,0,0,0,0,a.jpg,";
    EXPECT_EQ(ParseListText(marked).entryLines[0].begin, 3u);
}

TEST(ListText, LimitsOfEntriesSoundsAndComments) {
    std::string text;
    for (int i = 0; i < kMaxListEntries + 3; ++i)
        text += "11,0,0,0,0,f" + std::to_string(i) + ",\n";
    ListFile list = ParseListText(text);
    EXPECT_EQ(list.entries.size(), static_cast<std::size_t>(kMaxListEntries));
    EXPECT_EQ(list.entriesBeyondLimit, 3u);
    EXPECT_EQ(list.entries.back().left, "f4999");

    text.clear();
    for (int i = 0; i < 20; ++i) text += "sound,p" + std::to_string(i) + "\n";
    text += "# " + std::string(5000, 'x') + "ä\n11,0,0,0,0,a,\n";
    list = ParseListText(text);
    EXPECT_EQ(list.sounds.size(), kMaxSoundLines);
    EXPECT_EQ(list.comments.at(0).size(), kMaxCommentLength);
    // A cut never splits a character.
    const std::string accents =
        "# " + std::string(kMaxCommentLength - 1, 'x') + "ää\n11,0,0,0,0,a,";
    EXPECT_EQ(ParseListText(accents).comments[0].size(), kMaxCommentLength - 1);
}

// Comments, a sound line, a CRLF entry, a line without any end, binary bytes and an entry
// beyond the five-comma rule, all of which a rewrite must keep.
const std::string kMixedList =
    "# Meine Liste, 3 Bilder\n"
    "sound,play,bg.wav\n"
    "11,0,0,0,0,/f/a.jpg,\n"
    "21,30,0,1,2,/f/l.jpg,/f/r.jpg,\r\n"
    "  irgendein Text\n"
    "11,0,0,0,/f/keine.jpg\n"
    "\x00\x01\xfe\xff\n"
    "13,0,1,0,0,/f/c.jpg,\n"
    "\n"
    "# Ende"s;

std::string Replaced(std::string text, const std::string& old, const std::string& now) {
    return text.replace(text.find(old), old.size(), now);
}

class ListFileTest : public ::testing::Test {
  protected:
    void SetUp() override { WriteText(path_, kMixedList); }
    ScratchDir folder_;
    const std::string path_ = folder_ / "liste.txt";
};

TEST_F(ListFileTest, RewriteAndDeleteChangeOnlyTheirLine) {
    ListFile before;
    ASSERT_EQ(OpenList(path_, before), ListResult::Ok);
    ASSERT_EQ(before.entries.size(), 3u);
    ListEntry e = before.entries[2];
    e.x = -4;
    e.y = 7;
    ASSERT_EQ(RewriteListEntry(path_, 2, e, &before.entries[2]), ListResult::Ok);
    std::string expected = Replaced(kMixedList, "13,0,1,0,0,", "13,0,1,-4,7,");
    EXPECT_EQ(ReadText(path_), expected);
    EXPECT_EQ(folder_.Files(), std::vector<std::string>{"liste.txt"});
    // The CRLF line keeps its CRLF; deleting it takes the CRLF along.
    ListEntry pair = before.entries[1];
    pair.swap = true;
    ASSERT_EQ(RewriteListEntry(path_, 1, pair), ListResult::Ok);
    expected = Replaced(expected, "21,30,0,", "21,30,1,");
    EXPECT_EQ(ReadText(path_), expected);
    ASSERT_EQ(DeleteListEntry(path_, 1), ListResult::Ok);
    EXPECT_EQ(ReadText(path_), Replaced(expected, "21,30,1,1,2,/f/l.jpg,/f/r.jpg,\r\n", ""));

    // The last entry, on a line without an end.
    WriteText(path_, "# x\n11,0,0,0,0,a,\n12,0,0,0,0,b,");
    ASSERT_EQ(DeleteListEntry(path_, 1), ListResult::Ok);
    EXPECT_EQ(ReadText(path_), "# x\n11,0,0,0,0,a,\n");
    ASSERT_EQ(DeleteListEntry(path_, 0), ListResult::Ok);
    EXPECT_EQ(ReadText(path_), "# x\n");
    EXPECT_EQ(DeleteListEntry(path_, 0), ListResult::NoSuchEntry);
}

TEST_F(ListFileTest, RefusalsLeaveTheListAsItWas) {
    ListEntry shown;
    ASSERT_EQ(ReadListEntry(path_, 1, shown), ListResult::Ok);
    EXPECT_EQ(shown, Entry(21, 30, false, 1, 2, "/f/l.jpg", "/f/r.jpg"));
    EXPECT_EQ(ReadListEntry(path_, 3, shown), ListResult::NoSuchEntry);
    EXPECT_EQ(shown.x, 0);  // nothing half-read is left behind
    ASSERT_EQ(ReadListEntry(path_, 0, shown), ListResult::Ok);
    ListEntry other = shown;
    other.left = "/f/anders.jpg";

    EXPECT_EQ(RewriteListEntry(path_, 3, shown), ListResult::NoSuchEntry);
    EXPECT_EQ(RewriteListEntry(path_, -1, shown), ListResult::NoSuchEntry);
    EXPECT_EQ(RewriteListEntry(path_, 0, shown, &other), ListResult::EntryChanged);
    EXPECT_EQ(DeleteListEntry(path_, 0, &other), ListResult::EntryChanged);
    EXPECT_EQ(RewriteListEntry(path_, 0, Single("a,b")), ListResult::BadEntry);
    EXPECT_EQ(RewriteListEntry(folder_ / "fehlt.txt", 0, shown), ListResult::CannotOpen);
    EXPECT_EQ(ReadText(path_), kMixedList);
    EXPECT_EQ(folder_.Files(), std::vector<std::string>{"liste.txt"});
}

TEST_F(ListFileTest, KeepsPermissionsAndLinks) {
    const std::string link = folder_ / "link.txt";
    ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
    ASSERT_EQ(::symlink(path_.c_str(), link.c_str()), 0);
    ASSERT_EQ(RewriteListEntry(link, 0, Single("b", 12)), ListResult::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadText(path_), Replaced(kMixedList, "11,0,0,0,0,/f/a.jpg,", "12,0,0,0,0,b,"));
    struct stat st;
    ASSERT_EQ(::stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(ListFileTest, ReadOnlyListOrFolderIsRefused) {
    ::chmod(path_.c_str(), 0444);
    const bool immutable = ::geteuid() == 0 && test::SetImmutable(path_, true);
    if (::geteuid() == 0 && !immutable) GTEST_SKIP() << "cannot make a file read-only here";
    const ListResult rewrite = RewriteListEntry(path_, 0, Single("/x.jpg"));
    const ListResult append = AppendListEntry(path_, Single("/x.jpg"));
    if (immutable) test::SetImmutable(path_, false);
    EXPECT_EQ(rewrite, ListResult::CannotOpen);
    EXPECT_EQ(append, ListResult::CannotOpen);
    EXPECT_EQ(ReadText(path_), kMixedList);

    // In a folder that takes no new files the temporary copy cannot be made.
    const std::string sub = folder_ / "ro";
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    const std::string inner = sub + "/liste.txt";
    WriteText(inner, kMixedList);
    {
        test::LockedFolder lock(sub);
        if (lock.Unlocked()) GTEST_SKIP() << "cannot make a folder unwritable here";
        EXPECT_EQ(RewriteListEntry(inner, 0, Single("/x.jpg")), ListResult::CannotCreateTemporary);
        EXPECT_EQ(DeleteListEntry(inner, 0), ListResult::CannotCreateTemporary);
    }
    EXPECT_EQ(ReadText(inner), kMixedList);
    EXPECT_EQ(std::filesystem::directory_iterator(sub)->path().filename(), "liste.txt");
}

// A file-size limit makes writes fail part way, even for a privileged user.
TEST_F(ListFileTest, FailedWriteLeavesTheOldList) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "11,0,0,0,0,/fotos/bild" + std::to_string(i) + ".jpg,\r\n";
    WriteText(path_, text);
    ListResult rewrite, append, create;
    {
        test::DiskFullAfter limit(text.size() - 100);
        rewrite = RewriteListEntry(path_, 1999, Single("/x.jpg"));
    }
    {
        test::DiskFullAfter limit(text.size() + 10);
        append = AppendListEntry(path_, Entry(21, 0, false, 0, 0, "/links.jpg", "/rechts.jpg"));
    }
    {
        test::DiskFullAfter limit(5);  // a new list that cannot be written is not left behind
        create = AppendListEntry(folder_ / "neu.txt", Single("/x.jpg"));
    }
    EXPECT_EQ(rewrite, ListResult::WriteFailed);
    EXPECT_EQ(append, ListResult::WriteFailed);
    EXPECT_EQ(create, ListResult::WriteFailed);
    EXPECT_EQ(ReadText(path_), text);
    EXPECT_EQ(folder_.Files(), std::vector<std::string>{"liste.txt"});
}

TEST_F(ListFileTest, AppendCreatesAndFollowsTheListsLineEnds) {
    const std::string path = folder_ / "neu.txt";
    ASSERT_EQ(AppendListEntry(path, Entry(21, 0, true, -3, 2, "/l.jpg", "/r.jpg")), ListResult::Ok);
    EXPECT_EQ(ReadText(path), "21,0,1,-3,2,/l.jpg,/r.jpg,\n");

    // A Windows list whose last line has no line end.
    WriteText(path, "# Liste\r\n11,0,0,0,0,C:\\a.jpg,");
    const ListEntry more[] = {Single("/b.jpg", 12), Entry(13, 5, false, 0, 0, "/c")};
    ASSERT_EQ(AppendListEntries(path, more, "Zweiter Teil\nmit Umbruch"), ListResult::Ok);
    EXPECT_EQ(ReadText(path),
              "# Liste\r\n11,0,0,0,0,C:\\a.jpg,\r\n# Zweiter Teil mit Umbruch\r\n"
              "12,0,0,0,0,/b.jpg,\r\n13,5,0,0,0,/c,\r\n");

    // A bad entry anywhere writes nothing.
    const std::string before = ReadText(path);
    const ListEntry mixed[] = {Single("/ok.jpg", 12), Single("", 12)};
    EXPECT_EQ(AppendListEntries(path, mixed), ListResult::BadEntry);
    EXPECT_EQ(ReadText(path), before);

    // Up to the entry limit and no further.
    std::string full;
    for (int i = 0; i < kMaxListEntries - 1; ++i) full += "11,0,0,0,0,f,\n";
    WriteText(path, full);
    ASSERT_EQ(AppendListEntry(path, Single("/g.jpg")), ListResult::Ok);
    EXPECT_EQ(AppendListEntry(path, Single("/g.jpg")), ListResult::ListFull);
    ListFile list;
    ASSERT_EQ(OpenList(path, list), ListResult::Ok);
    EXPECT_EQ(list.entries.size(), static_cast<std::size_t>(kMaxListEntries));
    EXPECT_EQ(list.entries.back().left, "/g.jpg");
}

TEST_F(ListFileTest, FilesThatAreNoList) {
    ListFile list;
    ListEntry e;
    e.x = e.y = 99;
    EXPECT_EQ(OpenList(folder_ / "fehlt.txt", list), ListResult::CannotOpen);
    EXPECT_EQ(ReadListEntry(folder_ / "fehlt.txt", 0, e), ListResult::CannotOpen);
    EXPECT_EQ(std::tuple(e.x, e.y), std::tuple(0, 0));
    EXPECT_EQ(OpenList(folder_.Path(), list), ListResult::CannotOpen);
    EXPECT_EQ(AppendListEntry(folder_.Path(), Single("/a")), ListResult::CannotOpen);
    // A FIFO is refused at once instead of waiting for a writer.
    const std::string fifo = folder_ / "fifo.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(OpenList(fifo, list), ListResult::CannotOpen);
    EXPECT_EQ(AppendListEntry(fifo, Single("/a")), ListResult::CannotOpen);
    // Too large to be a list (a sparse file, so it costs no disk).
    const std::string big = folder_ / "gross.txt";
    WriteText(big, "11,0,0,0,0,a,\n");
    ASSERT_EQ(::truncate(big.c_str(), static_cast<off_t>(kMaxListFileSize) + 1), 0);
    EXPECT_EQ(OpenList(big, list), ListResult::TooLarge);
    EXPECT_EQ(AppendListEntry(big, Single("/a")), ListResult::TooLarge);
    EXPECT_EQ(std::filesystem::file_size(big), kMaxListFileSize + 1);
}

// Damaged lists read without loss: whatever the bytes, rewriting one entry changes that
// line alone.
TEST_F(ListFileTest, DamagedListsLoseNothing) {
    const std::string path = folder_ / "kaputt.txt";
    std::mt19937 random(7);
    std::string garbage(20000, '\0');
    for (char& c : garbage) c = static_cast<char>(random() % 7 == 0 ? ',' : random() & 0xFF);
    const std::string longName = "/" + std::string(3 << 20, 'n') + ".jpg";
    const std::string texts[] = {
        garbage + "\n11,0,0,0,0,/a.jpg,\n" + garbage,
        "11,0,0,0,0," + longName + ",\n" + std::string(1 << 20, ',') + "\n12,0,0,0,0,/b,\r\n",
        "21,1e999,9999999999999,-99999999999999999999,0x10,/l.jpg\n\n\r\r\n11,,,,,/x,",
    };
    for (const std::string& text : texts) {
        WriteText(path, text);
        ListFile list;
        ASSERT_EQ(OpenList(path, list), ListResult::Ok);
        ASSERT_FALSE(list.entries.empty());
        const std::size_t last = list.entries.size() - 1;
        const ListLineSpan span = list.entryLines[last];
        ASSERT_EQ(
            RewriteListEntry(path, static_cast<int>(last), Single("/neu.jpg"), &list.entries[last]),
            ListResult::Ok);
        std::string expected = text;
        expected.replace(span.begin, span.end - span.begin, "11,0,0,0,0,/neu.jpg,");
        EXPECT_EQ(ReadText(path), expected);
    }
    ListFile list;
    WriteText(path, texts[1]);
    ASSERT_EQ(OpenList(path, list), ListResult::Ok);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].left, longName);
    WriteText(path, texts[2]);
    ASSERT_EQ(OpenList(path, list), ListResult::Ok);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0], Entry(21, 1, true, -kMaxEntryOffset, 0, "/l.jpg"));
    EXPECT_EQ(list.entries[1], Single("/x"));
}

TEST_F(ListFileTest, ResolvedAgainstTheListsFolder) {
    std::filesystem::create_directories(folder_ / "bilder");
    for (const char* name : {"bilder/a.jpg", "b.jpg", "Bäume.jpg"}) WriteText(folder_ / name, "x");
    const std::pair<std::string, std::string> cases[] = {
        {"bilder\\a.jpg", folder_ / "bilder/a.jpg"},
        {"/abs/x.jpg", "/abs/x.jpg"},
        {"fehlt.jpg", folder_ / "fehlt.jpg"},
        // A Windows path: its file is looked for beside the list.
        {"C:\\Fotos\\3D\\b.jpg", folder_ / "b.jpg"},
        {"\\\\server\\fotos\\b.jpg", folder_ / "b.jpg"},
        {"C:\\Fotos\\B\xe4ume.jpg", folder_ / "Bäume.jpg"},  // Windows-1252 bytes
        {folder_ / "b.jpg", folder_ / "b.jpg"},
        {"", ""},
    };
    for (const auto& [name, resolved] : cases) EXPECT_EQ(ResolveListName(path_, name), resolved);
    EXPECT_EQ(ResolveListName("liste.txt", "a.jpg"), "a.jpg");
}

}  // namespace
}  // namespace duplora
