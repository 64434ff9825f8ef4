#include "core/formats/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/formats/bmp_codec.h"
#include "core/formats/das.h"
#include "core/formats/exif.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jpeg_segments.h"
#include "core/formats/stereo_save.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ScratchDir;
using test::Text;

std::span<const std::uint8_t> Span(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Writers on one target use different temporary files, the last commit wins, an
// uncommitted one leaves nothing, and the target's permissions stay.
TEST(AtomicFileWriter, UniqueTemporariesAndNothingLeftBehind) {
    ScratchDir dir;
    const std::string target = dir / "a.bin";
    ASSERT_TRUE(test::WriteAll(target, Text("old")));
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
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
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    AtomicFileWriter none;
    EXPECT_FALSE(none.Open(""));
    EXPECT_FALSE(none.Write("x", 1));
    EXPECT_FALSE(none.Commit());
    EXPECT_FALSE(none.Open(dir / "missing-folder/a.bin"));
}

// The stamp's permissions and times are kept and a link is followed.
TEST(ReplaceFile, KeepsTheStampAndFollowsLinks) {
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
    EXPECT_EQ(std::tuple(st.st_mode & 07777, st.st_mtim.tv_sec), std::tuple(0640u, 1200000000));
    EXPECT_EQ(st.st_mtim.tv_nsec, 700);

    EXPECT_EQ(ReplaceFile(dir / "new.txt", Span("n"), FileStamp{}), ReplaceResult::Ok);
    EXPECT_EQ(test::ReadAll(dir / "new.txt"), Text("n"));
    // A folder cannot be renamed over.
    ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0755), 0);
    EXPECT_NE(ReplaceFile(dir / "sub", Span("x"), FileStamp{}), ReplaceResult::Ok);
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"link", "new.txt", "sub", "t.txt"}));
}

TEST(ReadFileHead, LimitsAndNonFiles) {
    ScratchDir dir;
    ASSERT_TRUE(test::WriteAll(dir / "f", Text("0123456789")));
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(ReadFileHead(dir / "f", 4, out));
    EXPECT_EQ(out, Text("0123"));
    ASSERT_TRUE(ReadFileHead(dir / "f", 100, out));
    EXPECT_EQ(out.size(), 10u);
    EXPECT_FALSE(ReadFileHead(dir.Path(), 100, out));
    EXPECT_FALSE(ReadFileHead(dir / "missing", 100, out));
    EXPECT_TRUE(out.empty());
}

enum class Trouble { BadInput, FullDisk, LockedFolder, NoFolder };

// A write that gives no reason: a success when it wrote.
Status Wrote(bool wrote) {
    if (wrote) return {};
    return Failure::Quiet();
}
template <typename T>
Status Wrote(const Result<T>& result) {
    if (result) return {};
    return result.Error();
}

struct WriterCase {
    const char* name;
    Trouble trouble;
    // Writes `target` in `folder`, which also holds the JPEGs l.jpg and r.jpg and the text
    // file notes.jpg; a success when the write did what it must not.
    std::function<Status(const std::string& target, const std::string& folder)> write;
    // The last message the failure tells, "caption|text" ("" for the target as caption);
    // none where it is not pinned.
    const char* told = nullptr;
};

Status SaveAs(OutputFormat type, const std::string& target) {
    return Wrote(SaveStereoPicture(target, test::MakeNoise(300, 200, 4), {.type = type}));
}

const WriterCase kWriterCases[] = {
    {"BmpWithoutPicture", Trouble::BadInput,
     [](auto& t, auto&) { return WriteBmpFile(t, ImageBuffer{}); }},
    {"Bmp", Trouble::FullDisk,
     [](auto& t, auto&) { return WriteBmpFile(t, test::MakeNoise(200, 200, 2)); }},
    {"Bmp", Trouble::NoFolder,
     [](auto& t, auto&) { return WriteBmpFile(t, test::MakeNoise(4, 4, 1)); },
     "|Kann Bild nicht öffnen"},
    {"JpegBadInput", Trouble::BadInput,
     [](auto& t, auto&) {
         const std::uint8_t pixel[3] = {1, 2, 3};
         const std::vector<std::uint8_t> row(70000 * 3);  // wider than JPEG holds
         return Wrote(EncodeJpegFile(t, nullptr, 1, 1, true, 90) ||
                      EncodeJpegFile(t, pixel, 0, 1, true, 90) ||
                      EncodeJpegFile(t, pixel, 1, 0, true, 90) ||
                      EncodeJpegFile(t, row.data(), 70000, 1, true, 90) ||
                      EncodeJpegImage(t, test::MakeIndexed(4, 4, 8, 2), true, 90));
     }},
    {"Jpeg", Trouble::FullDisk,
     [](auto& t, auto&) { return EncodeJpegImage(t, test::MakeNoise(300, 300, 3), true, 95); }},
    {"Jpeg", Trouble::NoFolder,
     [](auto& t, auto&) {
         const std::uint8_t pixel[3] = {1, 2, 3};
         return EncodeJpegFile(t, pixel, 1, 1, true, 90);
     },
     "|Kann Bild nicht öffnen"},
    {"SaveJpeg", Trouble::LockedFolder,
     [](auto& t, auto&) { return SaveAs(OutputFormat::Jpeg, t); },
     "FEHLER|Kann Bild nicht speichern"},
    {"SaveBmp", Trouble::LockedFolder, [](auto& t, auto&) { return SaveAs(OutputFormat::Bmp, t); },
     "FEHLER|Kann Bild nicht speichern"},
    {"SaveStj", Trouble::LockedFolder, [](auto& t, auto&) { return SaveAs(OutputFormat::Stj, t); },
     "FEHLER|Kann Bild nicht speichern"},
    {"DasBadSources", Trouble::BadInput,
     [](auto& t, auto& f) {
         return Wrote(CreateDasFile(t, f + "/l.jpg", f + "/missing.jpg", 1, 1) ||
                      CreateDasFile(t, f + "/missing.jpg", f + "/r.jpg", 1, 1) ||
                      CreateDasFile(t, f + "/l.jpg", f + "/notes.jpg", 1, 1));
     }},
    {"Das", Trouble::LockedFolder,
     [](auto& t, auto& f) { return Wrote(CreateDasFile(t, f + "/l.jpg", f + "/r.jpg", 5, 5)); }},
    {"ReplaceFile", Trouble::FullDisk,
     [](auto& t, auto&) {
         const std::string big(300000, 'x');
         return Wrote(ReplaceFile(t, Span(big), ReadFileStamp(t)) != ReplaceResult::WriteFailed);
     }},
    {"SegmentEdit", Trouble::LockedFolder,
     [](auto& t, auto&) -> Status {
         const SegmentEditResult r = EditJpegSegments(t, {}, SegmentEditMode::DropApp0);
         if (r == SegmentEditResult::Ok) return {};
         return SegmentEditFailure(r, SegmentEditMode::DropApp0);
     },
     "FEHLER|Kann temporäre Datei nicht erstellen. CD-ROM?"},
    {"AddExifBlock", Trouble::LockedFolder, [](auto& t, auto&) { return AddExifBlock(t); },
     "|Error Add Exif info."},
};

TEST(FailedWrites, LeaveTheOldFile) {
    const char* const troubles[] = {"BadInput", "FullDisk", "LockedFolder", "NoFolder"};
    for (const WriterCase& c : kWriterCases) {
        SCOPED_TRACE(std::string(c.name) + " " + troubles[static_cast<int>(c.trouble)]);
        ScratchDir dir;
        for (const char* name : {"old.jpg", "l.jpg", "r.jpg"})
            ASSERT_TRUE(EncodeJpegImage(dir / name, test::MakeNoise(64, 48, 1), true, 90));
        ASSERT_TRUE(test::WriteAll(dir / "notes.jpg", Text("no picture")));
        const test::Bytes old = test::ReadAll(dir / "old.jpg");
        const auto files = dir.Files();
        const std::string target =
            dir / (c.trouble == Trouble::NoFolder ? "none/x.jpg" : "old.jpg");
        std::vector<std::string> told;
        {
            std::optional<test::DiskFullAfter> limit;
            std::optional<test::LockedFolder> lock;
            if (c.trouble == Trouble::FullDisk) {
                limit.emplace(4096);
                ASSERT_TRUE(limit->Active());
            } else if (c.trouble == Trouble::LockedFolder) {
                lock.emplace(dir.Path());
                if (lock->Unlocked()) continue;  // no way to make a folder unwritable here
            }
            const Status written = c.write(target, dir.Path());
            EXPECT_FALSE(written);
            told = test::Messages(written);
        }
        EXPECT_EQ(test::ReadAll(dir / "old.jpg"), old);
        EXPECT_EQ(dir.Files(), files);
        if (c.told) {
            ASSERT_FALSE(told.empty());
            EXPECT_EQ(told.back(), c.told[0] == '|' ? target + c.told : std::string(c.told));
        }
    }
}

}  // namespace
}  // namespace duplora
