#include "core/batch/mosaic.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/batch/hook_recorder.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/formats_test_util.h"
#include "core/formats/load_chain.h"
#include "support/test_support.h"

namespace duplora {
namespace {

namespace fs = std::filesystem;
using test::MakeImage;
using test::MakeNoise;
using test::PixelAt;
using test::SamePixels;
using test::ScratchDir;

constexpr std::uint32_t kGrey = 0x808080;

// The expected target after a paste, pixel by pixel from the definition: target column
// tx shows source column tx − x; stored row sr shows the source's stored row sr − row.
ImageBuffer ExpectedPaste(const ImageBuffer& target, const ImageBuffer& source, long x, long row) {
    const int w = target.Width();
    const int h = target.Height();
    return MakeImage(w, h, [&](int tx, int ty) {
        const long sx = tx - x;
        const long storedRow = h - 1 - ty;
        const long ss = storedRow - row;
        if (sx < 0 || sx >= source.Width() || ss < 0 || ss >= source.Height())
            return PixelAt(target, tx, ty);
        return PixelAt(source, static_cast<int>(sx), static_cast<int>(source.Height() - 1 - ss));
    });
}

TEST(PastePicture, PositionsAndClipping) {
    const ImageBuffer source = MakeNoise(3, 2, 11);
    // Inside, cut on each side, wholly outside on each side, and offsets at the int limits.
    constexpr int kMax = INT_MAX, kMin = INT_MIN;
    struct Case {
        int x, row;
    } const cases[] = {
        {0, 0},  {2, 1}, {-2, -1}, {4, 4},    {-2, 4},      {6, 0},
        {-3, 0}, {0, 5}, {0, -2},  {kMax, 0}, {kMin, kMin}, {kMax, kMax},
    };
    for (const Case& c : cases) {
        // Width 5: rows are padded, so strides of target and source differ.
        ImageBuffer target = MakeImage(5, 5, [](int, int) { return kGrey; });
        const ImageBuffer expected = ExpectedPaste(target, source, c.x, c.row);
        EXPECT_TRUE(PastePicture(target, source, c.x, c.row));
        EXPECT_TRUE(SamePixels(target, expected, "paste")) << c.x << "," << c.row;
        for (int r = 0; r < 5; ++r) EXPECT_EQ(target.StoredRow(r)[15], 0) << "padding, row " << r;
    }
}

// Pins down the rows the model above counts: stored row 0 is the bottom row.
TEST(PastePicture, HandWorkedExample) {
    ImageBuffer target = CreateImage(4, 3, 24);
    const ImageBuffer source =
        MakeImage(2, 1, [](int x, int) { return x ? 0x0000FFu : 0xFF0000u; });
    ASSERT_TRUE(PastePicture(target, source, 1, 0));
    ASSERT_TRUE(PastePicture(target, source, 0, 2));
    const ImageBuffer expected = MakeImage(4, 3, [](int x, int y) -> std::uint32_t {
        if (y == 0) return x == 0 ? 0xFF0000u : x == 1 ? 0x0000FFu : 0u;
        if (y == 2) return x == 1 ? 0xFF0000u : x == 2 ? 0x0000FFu : 0u;
        return 0u;
    });
    EXPECT_TRUE(SamePixels(target, expected, "paste_by_hand"));
}

TEST(PastePicture, RefusesOtherDepthsAndNoPicture) {
    ImageBuffer target = MakeImage(4, 4, [](int, int) { return kGrey; });
    const ImageBuffer before = DuplicateImage(target);
    ImageBuffer indexed = test::MakeIndexed(4, 4, 8, 3);
    const ImageBuffer none;
    EXPECT_FALSE(PastePicture(target, indexed, 0, 0));
    EXPECT_FALSE(PastePicture(target, none, 0, 0));
    EXPECT_FALSE(PastePicture(indexed, target, 0, 0));
    ImageBuffer empty;
    EXPECT_FALSE(PastePicture(empty, target, 0, 0));
    EXPECT_TRUE(SamePixels(target, before));
}

template <class... P>
std::vector<ImageBuffer> Pictures(P&&... pictures) {
    std::vector<ImageBuffer> all;
    (all.push_back(std::move(pictures)), ...);
    return all;
}

TEST(ComposeMosaic, SizesAndVerticalCentring) {
    // An empty picture takes no place.
    const std::vector<ImageBuffer> pictures = Pictures(
        MakeImage(100, 50, [](int x, int y) { return 0x010000u * (x + 1) + y; }), ImageBuffer(),
        MakeImage(200, 80, [](int x, int y) { return 0x00FF00u | (x + y); }));
    std::vector<std::string> calls;
    const ImageBuffer m = ComposeMosaic(pictures, [&](int i, int n, int w, int h) {
        calls.push_back(std::to_string(i) + "/" + std::to_string(n) + " " + std::to_string(w) +
                        "x" + std::to_string(h));
    });
    EXPECT_EQ(calls, (std::vector<std::string>{"1/3 300x80", "3/3 300x80"}));
    const ImageBuffer expected = MakeImage(300, 80, [&](int x, int y) -> std::uint32_t {
        if (x >= 100) return PixelAt(pictures[2], x - 100, y);
        if (y < 15 || y >= 65) return 0;  // first picture 15 rows down from the top
        return PixelAt(pictures[0], x, y - 15);
    });
    EXPECT_TRUE(SamePixels(m, expected, "mosaic"));
}

TEST(ComposeMosaic, OddDifferencesAndBadInput) {
    // Of an odd difference the extra row goes below.
    const ImageBuffer m =
        ComposeMosaic(Pictures(MakeImage(1, 3, [](int, int) { return 0xFFFFFFu; }),
                               MakeImage(2, 6, [](int, int) { return kGrey; })));
    const ImageBuffer expected = MakeImage(3, 6, [](int x, int y) {
        return x > 0 ? kGrey : y >= 1 && y < 4 ? 0xFFFFFFu : 0u;
    });
    EXPECT_TRUE(SamePixels(m, expected, "mosaic_odd"));
    EXPECT_EQ(MosaicRow(6, 3), 2);

    EXPECT_FALSE(ComposeMosaic({}));
    EXPECT_FALSE(ComposeMosaic(Pictures(ImageBuffer(), test::MakeIndexed(4, 4, 4, 1))));
    // Wider together than a picture may be.
    EXPECT_FALSE(ComposeMosaic(Pictures(CreateImage(40000, 1, 24), CreateImage(40000, 1, 24))));
}

// ---- joining files ------------------------------------------------------------------

class MosaicFilesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir_.Path().empty()); }
    std::string Write(const std::string& name, const ImageBuffer& image) {
        EXPECT_TRUE(WriteBmpFile(dir_ / name, image));
        return dir_ / name;
    }
    std::string WriteText(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name) << text;
        return dir_ / name;
    }
    std::string Contents(const std::string& path) {
        std::ifstream in(path);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    ScratchDir dir_;
    test::HookRecorder hooks_;
};

const std::string kCannotSave = "FEHLER|Kann Bild nicht speichern";

TEST_F(MosaicFilesTest, SortsSkipsUnreadableAndWrites) {
    const ImageBuffer a = MakeNoise(10, 6, 1);
    const ImageBuffer b = MakeNoise(21, 10, 2);
    const std::vector<std::string> paths = {Write("b.bmp", b), WriteText("c.jpg", "no picture"),
                                            Write("A.bmp", a), dir_ / "missing.bmp"};
    std::vector<std::string> titles;
    const std::string target = dir_ / "output.bmp";
    const MosaicResult r =
        MakeMosaic(paths, target, [&](const std::string& t) { titles.push_back(t); });
    EXPECT_EQ(r.status, MosaicStatus::Written);
    EXPECT_EQ(r.width, 31);
    EXPECT_EQ(r.height, 10);
    EXPECT_EQ(r.joined, (std::vector<std::string>{dir_ / "A.bmp", dir_ / "b.bmp"}));
    EXPECT_EQ(r.unreadable, (std::vector<std::string>{dir_ / "c.jpg", dir_ / "missing.bmp"}));
    EXPECT_EQ(hooks_.questions,
              (std::vector<std::string>{
                  "Konvertierung bestätigen|Verbinde 4 Dateien. Wollen Sie starten ?"}));
    EXPECT_EQ(titles,
              (std::vector<std::string>{"1/4", "2/4", "3/4", "4/4", "Image Size(x=31  Y=10)  1/2",
                                        "Image Size(x=31  Y=10)  2/2"}));
    EXPECT_TRUE(hooks_.messages.empty());

    const ImageBuffer written = ReadBmpFile(target);
    const ImageBuffer expected = MakeImage(31, 10, [&](int x, int y) -> std::uint32_t {
        if (x >= 10) return PixelAt(b, x - 10, y);
        return (y >= 2 && y < 8) ? PixelAt(a, x, y - 2) : 0u;
    });
    EXPECT_TRUE(SamePixels(written, expected, "mosaic_file"));
}

TEST_F(MosaicFilesTest, QuestionsDecide) {
    const std::vector<std::string> paths = {Write("a.bmp", MakeNoise(4, 4, 5))};
    const std::string target = WriteText("out.bmp", "old");

    hooks_.answers = {Answer::No};
    EXPECT_EQ(MakeMosaic(paths, target).status, MosaicStatus::Declined);
    EXPECT_EQ(hooks_.questions.size(), 1u);
    hooks_.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(MakeMosaic(paths, target).status, MosaicStatus::Declined);
    ASSERT_EQ(hooks_.questions.size(), 3u);
    EXPECT_EQ(hooks_.questions[2],
              target + "|Datei bereits vorhanden. Wollen Sie diese Überschreiben?\t");
    EXPECT_EQ(Contents(target), "old");
    hooks_.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(MakeMosaic(paths, target).status, MosaicStatus::Written);
    EXPECT_TRUE(SamePixels(ReadBmpFile(target), MakeNoise(4, 4, 5)));

    // Nothing picked: nothing asked.
    hooks_.questions.clear();
    EXPECT_EQ(MakeMosaic({}, target).status, MosaicStatus::NoFiles);
    EXPECT_TRUE(hooks_.questions.empty());
}

TEST_F(MosaicFilesTest, NothingReadableOrUnwritableLeavesTheTarget) {
    const std::string target = WriteText("out.bmp", "old");
    MosaicResult r = MakeMosaic({dir_ / "missing.jpg", WriteText("x.bmp", "BM garbage")}, target);
    EXPECT_EQ(r.status, MosaicStatus::NoPicture);
    EXPECT_EQ(r.unreadable.size(), 2u);
    EXPECT_EQ(hooks_.messages, (std::vector<std::string>{kCannotSave}));
    EXPECT_EQ(Contents(target), "old");

    hooks_.messages.clear();
    const std::string picture = Write("a.bmp", MakeNoise(3, 3, 9));
    r = MakeMosaic({picture}, dir_ / "no-such-folder/out.bmp");
    EXPECT_EQ(r.status, MosaicStatus::WriteFailed);
    ASSERT_FALSE(hooks_.messages.empty());
    EXPECT_EQ(hooks_.messages.back(), kCannotSave);
    EXPECT_TRUE(fs::exists(picture));
}

TEST_F(MosaicFilesTest, FolderMosaicLeavesAnEarlierOutputOut) {
    Write("b.bmp", MakeNoise(5, 5, 1));
    Write("a.bmp", MakeNoise(7, 3, 2));
    WriteText("notes.txt", "text");
    const std::string target = Write("output.bmp", MakeNoise(50, 50, 3));
    const MosaicResult r = MakeFolderMosaic(dir_.Path(), target);
    EXPECT_EQ(r.status, MosaicStatus::Written);
    EXPECT_EQ(r.joined.size(), 2u);
    const ImageBuffer written = ReadBmpFile(target);
    EXPECT_EQ(written.Width(), 12);
    EXPECT_EQ(written.Height(), 5);
}

TEST_F(MosaicFilesTest, RealPhotographs) {
    const std::vector<std::string> names = {"pairs/sugarshack_r.jpg", "pairs/gx8_l.jpg",
                                            "pairs/frozenpond_l.jpg"};
    for (const std::string& n : names)
        if (!test::SampleExists(n)) GTEST_SKIP() << "sample missing: " << n;
    std::vector<std::string> paths;
    for (const std::string& n : names) paths.push_back(test::SamplePath(n));
    const std::string target = dir_ / "output.bmp";
    const MosaicResult r = MakeMosaic(paths, target);
    ASSERT_EQ(r.status, MosaicStatus::Written);
    // frozenpond 640×480, gx8 1824×1367, sugarshack 640×480, in that order.
    EXPECT_EQ(r.width, 640 + 1824 + 640);
    EXPECT_EQ(r.height, 1367);
    const ImageBuffer written = ReadBmpFile(target);
    ASSERT_TRUE(written);
    EXPECT_EQ(written.Width(), 3104);
    // The small picture on the left sits (1367 − 480) / 2 = 443 rows down.
    const ImageBuffer pond = LoadPictureFile(paths[2]);
    ASSERT_TRUE(pond);
    for (const auto& [x, y] : {std::pair{0, 0}, {300, 123}, {639, 479}})
        EXPECT_EQ(PixelAt(written, x, 443 + y), PixelAt(pond, x, y)) << x << "," << y;
    EXPECT_EQ(PixelAt(written, 10, 442), 0u);
    EXPECT_EQ(PixelAt(written, 10, 443 + 480), 0u);
    const ImageBuffer gx8 = LoadPictureFile(paths[1]);
    ASSERT_TRUE(gx8);
    EXPECT_EQ(PixelAt(written, 640, 0), PixelAt(gx8, 0, 0));
    EXPECT_EQ(PixelAt(written, 640 + 1823, 1366), PixelAt(gx8, 1823, 1366));
}

}  // namespace
}  // namespace duplora
