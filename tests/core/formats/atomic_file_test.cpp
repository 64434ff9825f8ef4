#include "core/formats/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats_test_util.h"

namespace duplora {
namespace {

using test::ScratchDir;

std::vector<unsigned char> Text(const std::string& s) {
    return {s.begin(), s.end()};
}

std::span<const std::uint8_t> Span(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Two writers on the same target at once work on different temporary files; the last
// commit wins, an uncommitted writer leaves nothing behind.
TEST(AtomicFileWriter, UniqueTemporariesAndNothingLeftBehind) {
    ScratchDir dir;
    const std::string target = dir / "a.bin";
    ASSERT_TRUE(test::WriteAll(target, Text("old")));
    {
        AtomicFileWriter first, second, dropped;
        ASSERT_TRUE(first.Open(target));
        ASSERT_TRUE(second.Open(target));
        ASSERT_TRUE(dropped.Open(target));
        EXPECT_EQ(dir.Files().size(), 4u);
        ASSERT_TRUE(first.Write("one", 3));
        ASSERT_TRUE(second.Write("two", 3));
        ASSERT_TRUE(dropped.Write("three", 5));
        EXPECT_EQ(test::ReadAll(target), Text("old"));
        ASSERT_TRUE(first.Commit());
        EXPECT_EQ(test::ReadAll(target), Text("one"));
        ASSERT_TRUE(second.Commit());
        EXPECT_FALSE(second.Commit());  // once only
    }
    EXPECT_EQ(test::ReadAll(target), Text("two"));
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"a.bin"});

    AtomicFileWriter none;
    EXPECT_FALSE(none.Open(""));
    EXPECT_FALSE(none.Write("x", 1));
    EXPECT_FALSE(none.Commit());
    EXPECT_FALSE(none.Open(dir / "missing-folder/a.bin"));
}

// In-memory replacement goes through the same writer: the stamp's permissions and times
// are kept, a link is followed, and a failed write leaves the old file byte for byte.
TEST(ReplaceFile, KeepsTheStampFollowsLinksAndFailsCleanly) {
    ScratchDir dir;
    const std::string target = dir / "t.txt";
    ASSERT_TRUE(test::WriteAll(target, Text("before")));
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    const timespec times[2] = {{1100000000, 5}, {1200000000, 700}};
    ASSERT_EQ(::utimensat(AT_FDCWD, target.c_str(), times, 0), 0);
    ASSERT_EQ(::symlink("t.txt", (dir / "link").c_str()), 0);
    const FileStamp stamp = ReadFileStamp(target);
    ASSERT_TRUE(stamp.valid);
    EXPECT_EQ(stamp.size, 6u);

    const std::span<const std::uint8_t> pieces[] = {Span("af"), Span(""), Span("ter")};
    EXPECT_EQ(ReplaceFile(dir / "link", pieces, stamp), ReplaceResult::Ok);
    EXPECT_EQ(test::ReadAll(target), Text("after"));
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1200000000);
    EXPECT_EQ(st.st_mtim.tv_nsec, 700);

    // Without a stamp a new file gets the usual permissions.
    EXPECT_EQ(ReplaceFile(dir / "new.txt", Span("n"), FileStamp{}), ReplaceResult::Ok);
    EXPECT_EQ(test::ReadAll(dir / "new.txt"), Text("n"));

    // A write that runs into the file-size limit fails; the old file stays.
    const std::string big(300000, 'x');
    {
        test::FileSizeLimit limit(100000);
        if (!limit.Active()) GTEST_SKIP() << "cannot limit the file size";
        EXPECT_EQ(ReplaceFile(target, Span(big), stamp), ReplaceResult::WriteFailed);
    }
    EXPECT_EQ(test::ReadAll(target), Text("after"));
    // A folder as target cannot be renamed over.
    ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0755), 0);
    EXPECT_NE(ReplaceFile(dir / "sub", Span("x"), FileStamp{}), ReplaceResult::Ok);
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"link", "new.txt", "sub", "t.txt"}));
}

TEST(ReadFileHead, LimitsAndNonFiles) {
    ScratchDir dir;
    ASSERT_TRUE(test::WriteAll(dir / "f", Text("0123456789")));
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(ReadFileHead(dir / "f", 4, out));
    EXPECT_EQ(out, (std::vector<std::uint8_t>{'0', '1', '2', '3'}));
    ASSERT_TRUE(ReadFileHead(dir / "f", 100, out));
    EXPECT_EQ(out.size(), 10u);
    EXPECT_FALSE(ReadFileHead(dir.Path(), 100, out));
    EXPECT_FALSE(ReadFileHead(dir / "missing", 100, out));
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace duplora
