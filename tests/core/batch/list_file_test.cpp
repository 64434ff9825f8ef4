#include "core/batch/list_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/formats/formats_test_util.h"
#include "core/formats/jpeg_file_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using namespace std::string_literals;
using test::FileSizeLimit;
using test::TempFolder;

std::string ReadText(const std::string& path) {
    const test::Bytes b = test::ReadBytes(path);
    return std::string(b.begin(), b.end());
}

void WriteText(const std::string& path, const std::string& text) {
    ASSERT_TRUE(test::WriteBytes(path, test::Bytes(text.begin(), text.end())));
}

ListEntry Entry(int type, int time, bool swap, int x, int y, std::string left,
                std::string right = {}) {
    return ListEntry{type, time, swap, x, y, std::move(left), std::move(right)};
}

// ---- one line -------------------------------------------------------------------------

struct LineCase {
    const char* name;
    std::string line;
    ListLineKind kind;
    ListEntry entry;  // checked for entries
};

class ListLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ListLine, ReadsAsExpected) {
    const LineCase& c = GetParam();
    EXPECT_EQ(ClassifyListLine(c.line), c.kind);
    ListEntry e;
    ASSERT_EQ(ParseListEntry(c.line, e), c.kind == ListLineKind::Entry);
    if (c.kind == ListLineKind::Entry) {
        EXPECT_EQ(e, c.entry);
    }
}

const LineCase kLineCases[] = {
    {"StereoFile", "11,0,0,0,0,/fotos/a.jpg,", ListLineKind::Entry,
     Entry(11, 0, false, 0, 0, "/fotos/a.jpg")},
    {"Pair", "21,25,1,-4,7,/l.jpg,/r.jpg,", ListLineKind::Entry,
     Entry(21, 25, true, -4, 7, "/l.jpg", "/r.jpg")},
    {"SecondNameOnlyForPairs", "12,0,0,0,0,/a.jpg,/b.jpg,", ListLineKind::Entry,
     Entry(12, 0, false, 0, 0, "/a.jpg")},
    {"FirstNumberZero", "0,0,0,0,0,/a.jpg,", ListLineKind::Other, {}},
    {"FirstNumber30", "30,0,0,0,0,/a.jpg,", ListLineKind::Other, {}},
    {"HugeType", "99999999999999999999999,0,0,0,0,a,", ListLineKind::Other, {}},
    {"FourCommas", "11,0,0,0,/a.jpg", ListLineKind::Other, {}},
    {"Empty", "", ListLineKind::Other, {}},
    {"CommentWithCommas", "# Rom, Tag 1, 2, 3, 4, 5", ListLineKind::Other, {}},
    {"TextAfterNumber", "12 Fotos aus Rom,a,b,c,d,e", ListLineKind::Other, {}},
    {"BlanksAroundFields", " 11 , 30 , 1 , 2 , 3 , /a b.jpg ,", ListLineKind::Entry,
     Entry(11, 30, true, 2, 3, "/a b.jpg")},
    {"CrLfCut", "13,0,0,0,0,C:\\a.jpg,\r\n", ListLineKind::Entry,
     Entry(13, 0, false, 0, 0, "C:\\a.jpg")},
    {"OlderPair", "5,30,1,C:\\l.jpg,C:\\r.jpg,", ListLineKind::Entry,
     Entry(5, 30, true, 0, 0, "C:\\l.jpg", "C:\\r.jpg")},
    {"OlderSingle", "2,0,0,C:\\a.jpg,,", ListLineKind::Entry,
     Entry(2, 0, false, 0, 0, "C:\\a.jpg")},
    {"HugeNumbers", "11,99999999999999999999,1,-99999999999,99999999999,a.jpg,",
     ListLineKind::Entry,
     Entry(11, kMaxEntryTime, true, -kMaxEntryOffset, kMaxEntryOffset, "a.jpg")},
    {"GarbageNumbers", "11,abc,xyz,12px,--3,a.jpg,", ListLineKind::Entry,
     Entry(11, 0, false, 12, 0, "a.jpg")},
    {"NegativeTimeIsDefault", "11,-5,2,0,0,a,", ListLineKind::Entry, Entry(11, 0, true, 0, 0, "a")},
    {"NulByte", std::string("11,0,0,0,0,a\0b,", 15), ListLineKind::Other, {}},
    {"Sound", "sound,/usr/bin/play,/musik/bg.wav", ListLineKind::Sound, {}},
    {"SoundBlanksAndCase", " Sound , play , bg.wav ,\r\n", ListLineKind::Sound, {}},
    {"SoundWithoutProgram", "sound,,bg.wav", ListLineKind::Other, {}},
    {"Sounds", "sounds,play,x", ListLineKind::Other, {}},
};

INSTANTIATE_TEST_SUITE_P(Lines, ListLine, ::testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ListLine, SoundFields) {
    SoundCommand s;
    ASSERT_TRUE(ParseSoundLine(" Sound , play , bg.wav ,\r\n", s));
    EXPECT_EQ(s, (SoundCommand{"play", "bg.wav"}));
    ASSERT_TRUE(ParseSoundLine("sound,C:\\Programme\\player.exe", s));
    EXPECT_EQ(s, (SoundCommand{"C:\\Programme\\player.exe", ""}));
}

TEST(ListLine, LayoutOfEachType) {
    const std::pair<int, std::optional<int>> cases[] = {
        {11, 0}, {18, 7},  {21, kPairLayout}, {5, kPairLayout}, {4, 3},
        {0, {}}, {10, {}}, {19, {}},          {22, {}},
    };
    for (const auto& [type, layout] : cases) EXPECT_EQ(ListEntryLayout(type), layout) << type;
}

TEST(ListLine, WrittenEntriesReadBack) {
    const ListEntry entries[] = {
        Entry(21, 25, true, -4, 7, "/l.jpg", "/r.jpg"),
        Entry(11, 0, false, 0, 0, "/fotos/Bäume mit Blättern.jpg"),
        Entry(18, kMaxEntryTime, false, kMaxEntryOffset, -kMaxEntryOffset, "rel/a.jps"),
    };
    EXPECT_EQ(FormatListEntry(entries[0]), "21,25,1,-4,7,/l.jpg,/r.jpg,");
    EXPECT_EQ(FormatListEntry(entries[1]), "11,0,0,0,0,/fotos/Bäume mit Blättern.jpg,");
    for (const ListEntry& e : entries) {
        ASSERT_TRUE(ListEntryStorable(e));
        ListEntry back;
        ASSERT_TRUE(ParseListEntry(FormatListEntry(e), back));
        EXPECT_EQ(back, e);
    }
}

TEST(ListLine, EntriesThatCannotBeStored) {
    const ListEntry bad[] = {
        Entry(21, 0, false, 0, 0, "/l.jpg"),             // pair without right
        Entry(11, 0, false, 0, 0, ""),                   // no name
        Entry(11, 0, false, 0, 0, "/Rom, Tag 1/a.jpg"),  // comma
        Entry(11, 0, false, 0, 0, "/a\n.jpg"),           // line end
        Entry(11, 0, false, 0, 0, " a.jpg"),             // would lose its blank
        Entry(5, 0, false, 0, 0, "/l.jpg", "/r.jpg"),    // older types are read only
        Entry(19, 0, false, 0, 0, "/a.jpg"),             // no such layout
        Entry(11, kMaxEntryTime + 1, false, 0, 0, "/a.jpg"),
        Entry(11, 0, false, kMaxEntryOffset + 1, 0, "/a.jpg"),
    };
    for (const ListEntry& e : bad) EXPECT_FALSE(ListEntryStorable(e)) << FormatListEntry(e);
}

TEST(ListLine, CommentsNeverReadAsEntries) {
    for (const char* text : {"12,3,4,5,6,7,", "sound,rm,-rf", "a\r\n21,0,0,0,0,x,y,", ""}) {
        const std::string line = FormatListComment(text);
        EXPECT_EQ(ClassifyListLine(line), ListLineKind::Other) << line;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    }
}

// ---- a whole list ---------------------------------------------------------------------

TEST(ListText, CountsEntriesAndFindsCommentsAndSounds) {
    const std::string text =
        "# Urlaub\r\n"
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
    const ListLineSpan last = list.entryLines[2];
    EXPECT_EQ(last.end, text.size());
    EXPECT_EQ(last.next, text.size());
}

TEST(ListText, ByteOrderMarkOfWindowsEditors) {
    const std::string text =
        "\xEF\xBB\xBF"
        "11,0,0,0,0,a.jpg,\r\n12,0,0,0,0,b.jpg,\r\n";
    const ListFile list = ParseListText(text);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].left, "a.jpg");
    EXPECT_EQ(list.entryLines[0].begin, 3u);  // a rewrite keeps the mark
}

TEST(ListText, MoreThanTheLimit) {
    std::string text;
    for (int i = 0; i < kMaxListEntries + 3; ++i)
        text += "11,0,0,0,0,f" + std::to_string(i) + ",\n";
    const ListFile list = ParseListText(text);
    EXPECT_EQ(list.entries.size(), static_cast<std::size_t>(kMaxListEntries));
    EXPECT_EQ(list.entriesBeyondLimit, 3u);
    EXPECT_EQ(list.entries.back().left, "f4999");
}

TEST(ListText, OnlyTheFirstSoundLinesAndShortComments) {
    std::string text;
    for (int i = 0; i < 20; ++i) text += "sound,p" + std::to_string(i) + "\n";
    text += "# " + std::string(5000, 'x') + "ä\n11,0,0,0,0,a,\n";
    const ListFile list = ParseListText(text);
    EXPECT_EQ(list.sounds.size(), kMaxSoundLines);
    ASSERT_EQ(list.comments.size(), 1u);
    EXPECT_EQ(list.comments[0].size(), kMaxCommentLength);
    // A cut never splits a character.
    const std::string accents =
        "# " + std::string(kMaxCommentLength - 1, 'x') + "ää\n11,0,0,0,0,a,";
    EXPECT_EQ(ParseListText(accents).comments[0].size(), kMaxCommentLength - 1);
}

// ---- files ----------------------------------------------------------------------------

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

TEST(ListFileRewrite, WritesAlignmentIntoEntryTwoOnly) {
    TempFolder folder;
    const std::string path = folder.File("liste.txt");
    WriteText(path, kMixedList);
    ListFile before;
    ASSERT_EQ(OpenList(path, before), ListResult::Ok);
    ASSERT_EQ(before.entries.size(), 3u);

    ListEntry e = before.entries[2];
    e.x = -4;
    e.y = 7;
    ASSERT_EQ(RewriteListEntry(path, 2, e, &before.entries[2]), ListResult::Ok);
    std::string expected = kMixedList;
    const std::string old = "13,0,1,0,0,/f/c.jpg,";
    expected.replace(expected.find(old), old.size(), "13,0,1,-4,7,/f/c.jpg,");
    EXPECT_EQ(ReadText(path), expected);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"liste.txt"});

    // The CRLF line keeps its CRLF.
    ListEntry pair = before.entries[1];
    pair.swap = true;
    ASSERT_EQ(RewriteListEntry(path, 1, pair), ListResult::Ok);
    EXPECT_NE(ReadText(path).find("21,30,1,1,2,/f/l.jpg,/f/r.jpg,\r\n  irgendein"),
              std::string::npos);
}

TEST(ListFileRewrite, DeleteDropsOnlyThatLine) {
    TempFolder folder;
    const std::string path = folder.File("liste.txt");
    WriteText(path, kMixedList);
    ASSERT_EQ(DeleteListEntry(path, 1), ListResult::Ok);
    std::string expected = kMixedList;
    const std::string line = "21,30,0,1,2,/f/l.jpg,/f/r.jpg,\r\n";
    expected.erase(expected.find(line), line.size());
    EXPECT_EQ(ReadText(path), expected);

    // The last entry, on a line without an end.
    WriteText(path, "# x\n11,0,0,0,0,a,\n12,0,0,0,0,b,");
    ASSERT_EQ(DeleteListEntry(path, 1), ListResult::Ok);
    EXPECT_EQ(ReadText(path), "# x\n11,0,0,0,0,a,\n");
    ASSERT_EQ(DeleteListEntry(path, 0), ListResult::Ok);
    EXPECT_EQ(ReadText(path), "# x\n");
    EXPECT_EQ(DeleteListEntry(path, 0), ListResult::NoSuchEntry);
}

TEST(ListFileRewrite, RefusalsLeaveTheListAsItWas) {
    TempFolder folder;
    const std::string path = folder.File("liste.txt");
    WriteText(path, kMixedList);
    ListEntry shown;
    ASSERT_EQ(ReadListEntry(path, 1, shown), ListResult::Ok);
    EXPECT_EQ(shown, Entry(21, 30, false, 1, 2, "/f/l.jpg", "/f/r.jpg"));
    EXPECT_EQ(ReadListEntry(path, 3, shown), ListResult::NoSuchEntry);
    EXPECT_EQ(shown.x, 0);  // nothing half-read is left behind
    ASSERT_EQ(ReadListEntry(path, 0, shown), ListResult::Ok);
    ListEntry other = shown;
    other.left = "/f/anders.jpg";

    EXPECT_EQ(RewriteListEntry(path, 3, shown), ListResult::NoSuchEntry);
    EXPECT_EQ(RewriteListEntry(path, -1, shown), ListResult::NoSuchEntry);
    EXPECT_EQ(RewriteListEntry(path, 0, shown, &other), ListResult::EntryChanged);
    EXPECT_EQ(DeleteListEntry(path, 0, &other), ListResult::EntryChanged);
    EXPECT_EQ(RewriteListEntry(path, 0, Entry(11, 0, false, 0, 0, "a,b")), ListResult::BadEntry);
    EXPECT_EQ(RewriteListEntry(folder.File("fehlt.txt"), 0, shown), ListResult::CannotOpen);
    EXPECT_EQ(ReadText(path), kMixedList);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"liste.txt"});
}

TEST(ListFileRewrite, KeepsPermissionsAndLinks) {
    TempFolder folder;
    const std::string path = folder.File("liste.txt");
    const std::string link = folder.File("link.txt");
    WriteText(path, "11,0,0,0,0,a,\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    ASSERT_EQ(RewriteListEntry(link, 0, Entry(12, 0, false, 0, 0, "b")), ListResult::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadText(path), "12,0,0,0,0,b,\n");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(ListFileRewrite, UnwritableFolderLeavesTheOldList) {
    TempFolder folder;
    const std::string sub = folder.File("ro");
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    const std::string path = sub + "/liste.txt";
    WriteText(path, kMixedList);
    ListResult result;
    {
        test::LockedFolder lock(sub);
        if (lock.Unlocked()) GTEST_SKIP() << "cannot make a folder unwritable here";
        result = RewriteListEntry(path, 0, Entry(12, 0, false, 0, 0, "/x.jpg"));
        EXPECT_EQ(DeleteListEntry(path, 0), ListResult::CannotCreateTemporary);
    }
    EXPECT_EQ(result, ListResult::CannotCreateTemporary);
    EXPECT_EQ(ReadText(path), kMixedList);
    EXPECT_EQ(std::filesystem::directory_iterator(sub)->path().filename(), "liste.txt");
}

// A file-size limit makes writes fail part way, even for a privileged user.
TEST(ListFileRewrite, FailedWriteLeavesTheOldList) {
    TempFolder folder;
    const std::string path = folder.File("liste.txt");
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "11,0,0,0,0,/fotos/bild" + std::to_string(i) + ".jpg,\r\n";
    WriteText(path, text);
    ListResult rewrite, append;
    {
        FileSizeLimit limit(text.size() - 100);
        rewrite = RewriteListEntry(path, 1999, Entry(12, 0, false, 0, 0, "/x.jpg"));
    }
    {
        FileSizeLimit limit(text.size() + 10);
        append = AppendListEntry(path, Entry(21, 0, false, 0, 0, "/links.jpg", "/rechts.jpg"));
    }
    ListResult create;
    {
        FileSizeLimit limit(5);  // a new list that cannot be written is not left behind
        create = AppendListEntry(folder.File("neu.txt"), Entry(12, 0, false, 0, 0, "/x.jpg"));
    }
    EXPECT_EQ(rewrite, ListResult::WriteFailed);
    EXPECT_EQ(append, ListResult::WriteFailed);
    EXPECT_EQ(create, ListResult::WriteFailed);
    EXPECT_EQ(ReadText(path), text);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"liste.txt"});
}

TEST(ListFileRewrite, ReadOnlyListIsRefused) {
    TempFolder folder;
    const std::string path = folder.File("liste.txt");
    WriteText(path, kMixedList);
    ::chmod(path.c_str(), 0444);
    const bool immutable = ::geteuid() == 0 && test::SetImmutable(path, true);
    if (::geteuid() == 0 && !immutable) GTEST_SKIP() << "cannot make a file read-only here";
    const ListResult rewrite = RewriteListEntry(path, 0, Entry(12, 0, false, 0, 0, "/x.jpg"));
    const ListResult append = AppendListEntry(path, Entry(12, 0, false, 0, 0, "/x.jpg"));
    if (immutable) test::SetImmutable(path, false);
    EXPECT_EQ(rewrite, ListResult::CannotOpen);
    EXPECT_EQ(append, ListResult::CannotOpen);
    EXPECT_EQ(ReadText(path), kMixedList);
}

TEST(ListFileAppend, CreatesAndFollowsTheListsLineEnds) {
    TempFolder folder;
    const std::string path = folder.File("neu.txt");
    const ListEntry pair = Entry(21, 0, true, -3, 2, "/l.jpg", "/r.jpg");
    ASSERT_EQ(AppendListEntry(path, pair), ListResult::Ok);
    EXPECT_EQ(ReadText(path), "21,0,1,-3,2,/l.jpg,/r.jpg,\n");

    // A Windows list whose last line has no line end.
    WriteText(path, "# Liste\r\n11,0,0,0,0,C:\\a.jpg,");
    const ListEntry more[] = {Entry(12, 0, false, 0, 0, "/b.jpg"), Entry(13, 5, false, 0, 0, "/c")};
    ASSERT_EQ(AppendListEntries(path, more, "Zweiter Teil\nmit Umbruch"), ListResult::Ok);
    EXPECT_EQ(ReadText(path),
              "# Liste\r\n11,0,0,0,0,C:\\a.jpg,\r\n# Zweiter Teil mit Umbruch\r\n"
              "12,0,0,0,0,/b.jpg,\r\n13,5,0,0,0,/c,\r\n");

    // A bad entry anywhere writes nothing.
    const std::string before = ReadText(path);
    const ListEntry mixed[] = {Entry(12, 0, false, 0, 0, "/ok.jpg"), Entry(12, 0, false, 0, 0, "")};
    EXPECT_EQ(AppendListEntries(path, mixed), ListResult::BadEntry);
    EXPECT_EQ(ReadText(path), before);
}

TEST(ListFileAppend, StopsAtTheEntryLimit) {
    TempFolder folder;
    const std::string path = folder.File("voll.txt");
    std::string text;
    for (int i = 0; i < kMaxListEntries - 1; ++i) text += "11,0,0,0,0,f,\n";
    WriteText(path, text);
    const ListEntry e = Entry(11, 0, false, 0, 0, "/g.jpg");
    ASSERT_EQ(AppendListEntry(path, e), ListResult::Ok);
    EXPECT_EQ(AppendListEntry(path, e), ListResult::ListFull);
    ListFile list;
    ASSERT_EQ(OpenList(path, list), ListResult::Ok);
    EXPECT_EQ(list.entries.size(), static_cast<std::size_t>(kMaxListEntries));
    EXPECT_EQ(list.entries.back().left, "/g.jpg");
}

TEST(ListFileOpen, FilesThatAreNoList) {
    TempFolder folder;
    ListFile list;
    ListEntry e;
    e.x = e.y = 99;
    EXPECT_EQ(OpenList(folder.File("fehlt.txt"), list), ListResult::CannotOpen);
    EXPECT_EQ(ReadListEntry(folder.File("fehlt.txt"), 0, e), ListResult::CannotOpen);
    EXPECT_EQ(e.x, 0);
    EXPECT_EQ(e.y, 0);
    EXPECT_EQ(OpenList(folder.Path(), list), ListResult::CannotOpen);
    EXPECT_EQ(AppendListEntry(folder.Path(), Entry(11, 0, false, 0, 0, "/a")),
              ListResult::CannotOpen);
    // A FIFO is refused at once instead of waiting for a writer.
    const std::string fifo = folder.File("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(OpenList(fifo, list), ListResult::CannotOpen);
    EXPECT_EQ(AppendListEntry(fifo, Entry(11, 0, false, 0, 0, "/a")), ListResult::CannotOpen);
    // Too large to be a list (a sparse file, so it costs no disk).
    const std::string big = folder.File("gross.txt");
    WriteText(big, "11,0,0,0,0,a,\n");
    ASSERT_EQ(::truncate(big.c_str(), static_cast<off_t>(kMaxListFileSize) + 1), 0);
    EXPECT_EQ(OpenList(big, list), ListResult::TooLarge);
    EXPECT_EQ(AppendListEntry(big, Entry(11, 0, false, 0, 0, "/a")), ListResult::TooLarge);
    EXPECT_EQ(std::filesystem::file_size(big), kMaxListFileSize + 1);
}

// Damaged lists read without loss: whatever the bytes, rewriting one entry changes that
// line alone.
TEST(ListFileOpen, DamagedListsLoseNothing) {
    TempFolder folder;
    const std::string path = folder.File("kaputt.txt");
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
        const ListEntry replacement = Entry(11, 0, false, 0, 0, "/neu.jpg");
        ASSERT_EQ(RewriteListEntry(path, static_cast<int>(last), replacement, &list.entries[last]),
                  ListResult::Ok);
        std::string expected = text;
        expected.replace(span.begin, span.end - span.begin, FormatListEntry(replacement));
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
    EXPECT_EQ(list.entries[1], Entry(11, 0, false, 0, 0, "/x"));
}

// ---- names ----------------------------------------------------------------------------

TEST(ListNames, ResolvedAgainstTheListsFolder) {
    TempFolder folder;
    const std::string list = folder.File("liste.txt");
    std::filesystem::create_directories(folder.File("bilder"));
    WriteText(folder.File("bilder/a.jpg"), "x");
    WriteText(folder.File("b.jpg"), "x");
    WriteText(folder.File("Bäume.jpg"), "x");

    EXPECT_EQ(ResolveListName(list, "bilder\\a.jpg"), folder.File("bilder/a.jpg"));
    EXPECT_EQ(ResolveListName(list, "/abs/x.jpg"), "/abs/x.jpg");
    EXPECT_EQ(ResolveListName(list, "fehlt.jpg"), folder.File("fehlt.jpg"));
    // A Windows path: its file is looked for beside the list.
    EXPECT_EQ(ResolveListName(list, "C:\\Fotos\\3D\\b.jpg"), folder.File("b.jpg"));
    EXPECT_EQ(ResolveListName(list, "\\\\server\\fotos\\b.jpg"), folder.File("b.jpg"));
    // Windows-1252 bytes of a German name.
    EXPECT_EQ(ResolveListName(list, "C:\\Fotos\\B\xe4ume.jpg"), folder.File("Bäume.jpg"));
    // An existing absolute path is used as it is.
    EXPECT_EQ(ResolveListName(list, folder.File("b.jpg")), folder.File("b.jpg"));
    EXPECT_EQ(ResolveListName(list, ""), "");
    EXPECT_EQ(ResolveListName("liste.txt", "a.jpg"), "a.jpg");
}

TEST(ListNames, WindowsListOfRealPhotographs) {
    const char* samples[] = {"pairs/gx8_l.jpg", "pairs/gx8_r.jpg",
                             "single-file/calf-left-right.jpg"};
    for (const char* s : samples)
        if (!test::SampleExists(s)) GTEST_SKIP() << "samples missing";
    TempFolder folder;
    std::filesystem::create_directory_symlink(
        std::filesystem::path(test::SamplePath("pairs/gx8_l.jpg")).parent_path(),
        folder.File("Paare"));
    std::filesystem::create_symlink(test::SamplePath(samples[2]),
                                    folder.File("calf-left-right.jpg"));
    const std::string path = folder.File("SLIDE.TXT");
    WriteText(path,
              "21,0,0,-12,3,Paare\\gx8_l.jpg,Paare\\gx8_r.jpg,\r\n"
              "1,40,1,C:\\Eigene Dateien\\calf-left-right.jpg,,\r\n");
    ListFile list;
    ASSERT_EQ(OpenList(path, list), ListResult::Ok);
    ASSERT_EQ(list.entries.size(), 2u);
    const std::string left = ResolveListName(path, list.entries[0].left);
    const std::string right = ResolveListName(path, list.entries[0].right);
    EXPECT_EQ(test::ReadBytes(left), test::ReadBytes(test::SamplePath(samples[0])));
    EXPECT_EQ(test::ReadBytes(right), test::ReadBytes(test::SamplePath(samples[1])));
    EXPECT_EQ(ListEntryLayout(list.entries[1].type), 0);
    EXPECT_EQ(test::ReadBytes(ResolveListName(path, list.entries[1].left)),
              test::ReadBytes(test::SamplePath(samples[2])));
}

}  // namespace
}  // namespace duplora
