#include "core/batch/mosaic.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/formats/bmp_codec.h"
#include "core/formats/formats_test_util.h"
#include "core/formats/load_chain.h"
#include "core/image/convert.h"
#include "support/test_support.h"
#include "support/told.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::MakeNoise;
using test::PixelAt;
using test::SamePixels;
using Names = std::vector<std::string>;

constexpr std::uint32_t kGrey = 0x808080;

TEST(PastePicture, PositionsAndClipping) {
    const ImageBuffer source = MakeNoise(3, 2, 11);
    // Inside, cut on each side, wholly outside on each side, and offsets at the int limits.
    const std::pair<int, int> places[] = {{0, 0},
                                          {2, 1},
                                          {-2, -1},
                                          {4, 4},
                                          {-2, 4},
                                          {6, 0},
                                          {-3, 0},
                                          {0, 5},
                                          {0, -2},
                                          {INT_MAX, 0},
                                          {INT_MIN, INT_MIN},
                                          {INT_MAX, INT_MAX}};
    for (const auto& [x, row] : places) {
        // Width 5: rows are padded, so strides of target and source differ. Target column
        // tx shows source column tx − x; stored row r shows the source's stored row r − row.
        ImageBuffer target = MakeImage(5, 5, [](int, int) { return kGrey; });
        const ImageBuffer expected = MakeImage(5, 5, [&](int tx, int ty) {
            const long sx = long{tx} - x, ss = 4L - ty - row;
            return sx < 0 || sx >= 3 || ss < 0 || ss >= 2 ? kGrey
                                                          : PixelAt(source, int(sx), int(1 - ss));
        });
        EXPECT_TRUE(PastePicture(target, source, x, row));
        EXPECT_TRUE(SamePixels(target, expected, "paste")) << x << "," << row;
        for (int r = 0; r < 5; ++r) EXPECT_EQ(target.StoredRow(r)[15], 0) << "padding, row " << r;
    }
}

TEST(PastePicture, RefusesOtherDepthsAndNoPicture) {
    ImageBuffer target = MakeImage(4, 4, [](int, int) { return kGrey; });
    const ImageBuffer before = DuplicateImage(target);
    ImageBuffer indexed = test::MakeIndexed(4, 4, 8, 3), none;
    EXPECT_FALSE(PastePicture(target, indexed, 0, 0));
    EXPECT_FALSE(PastePicture(target, none, 0, 0));
    EXPECT_FALSE(PastePicture(indexed, target, 0, 0));
    EXPECT_FALSE(PastePicture(none, target, 0, 0));
    EXPECT_TRUE(SamePixels(target, before));
}

std::vector<ImageBuffer> Pictures(ImageBuffer a, ImageBuffer b, ImageBuffer c = {}) {
    std::vector<ImageBuffer> all;
    all.push_back(std::move(a));
    all.push_back(std::move(b));
    if (c) all.push_back(std::move(c));
    return all;
}

TEST(ComposeMosaic, SizesAndVerticalCentring) {
    // An empty picture takes no place; the lower one is centred, an odd extra row below.
    const std::vector<ImageBuffer> pictures =
        Pictures(MakeNoise(100, 50, 1), ImageBuffer(), MakeNoise(200, 80, 2));
    Names calls;
    const ImageBuffer m = ComposeMosaic(pictures, [&](int i, int n, int w, int h) {
        calls.push_back(std::to_string(i) + "/" + std::to_string(n) + " " + std::to_string(w) +
                        "x" + std::to_string(h));
    });
    EXPECT_EQ(calls, (Names{"1/3 300x80", "3/3 300x80"}));
    EXPECT_TRUE(SamePixels(m,
                           MakeImage(300, 80,
                                     [&](int x, int y) -> std::uint32_t {
                                         if (x >= 100) return PixelAt(pictures[2], x - 100, y);
                                         return y < 15 || y >= 65 ? 0
                                                                  : PixelAt(pictures[0], x, y - 15);
                                     }),
                           "mosaic"));
    const ImageBuffer odd =
        ComposeMosaic(Pictures(MakeImage(1, 3, [](int, int) { return 0xFFFFFFu; }),
                               MakeImage(2, 6, [](int, int) { return kGrey; })));
    EXPECT_TRUE(SamePixels(odd,
                           MakeImage(3, 6,
                                     [](int x, int y) {
                                         return x > 0 ? kGrey : y >= 1 && y < 4 ? 0xFFFFFFu : 0u;
                                     }),
                           "mosaic_odd"));
    EXPECT_EQ(MosaicRow(6, 3), 2);
    EXPECT_FALSE(ComposeMosaic({}));
    EXPECT_FALSE(ComposeMosaic(Pictures(ImageBuffer(), test::MakeIndexed(4, 4, 4, 1))));
    // Wider together than a picture may be.
    EXPECT_FALSE(ComposeMosaic(Pictures(CreateImage(40000, 1, 24), CreateImage(40000, 1, 24))));
}

class MosaicFilesTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const ImageBuffer& image) {
        EXPECT_TRUE(WriteBmpFile(dir_ / name, image));
        return dir_ / name;
    }
    std::string WriteText(const std::string& name, const std::string& text) {
        EXPECT_TRUE(test::WriteAll(dir_ / name, test::Text(text)));
        return dir_ / name;
    }
    test::ScratchDir dir_;
    test::QuestionRecorder asked_;
};

const std::string kCannotSave = "FEHLER|Kann Bild nicht speichern";

TEST_F(MosaicFilesTest, SortsSkipsUnreadableAndWrites) {
    const ImageBuffer a = MakeNoise(10, 6, 1), b = MakeNoise(21, 10, 2);
    const Names paths = {Write("b.bmp", b), WriteText("c.jpg", "no picture"), Write("A.bmp", a),
                         dir_ / "missing.bmp"};
    std::vector<MosaicStep> steps;
    const std::string target = dir_ / "output.bmp";
    const MosaicResult r = MakeMosaic(paths, target, asked_.Policy(),
                                      [&](const MosaicStep& s) { steps.push_back(s); });
    EXPECT_EQ(std::tuple(r.status, r.width, r.height), std::tuple(MosaicStatus::Written, 31, 10));
    EXPECT_EQ(r.joined, (Names{dir_ / "A.bmp", dir_ / "b.bmp"}));
    EXPECT_EQ(r.unreadable, (Names{dir_ / "c.jpg", dir_ / "missing.bmp"}));
    EXPECT_EQ(asked_.questions,
              Names{"Konvertierung bestätigen|Verbinde 4 Dateien. Wollen Sie starten ?"});
    EXPECT_EQ(steps, (std::vector<MosaicStep>{{false, 1, 4},
                                              {false, 2, 4},
                                              {false, 3, 4},
                                              {false, 4, 4},
                                              {true, 1, 2, 31, 10},
                                              {true, 2, 2, 31, 10}}));
    EXPECT_FALSE(r.failure);
    EXPECT_TRUE(SamePixels(ReadBmpFile(target),
                           MakeImage(31, 10,
                                     [&](int x, int y) -> std::uint32_t {
                                         if (x >= 10) return PixelAt(b, x - 10, y);
                                         return (y >= 2 && y < 8) ? PixelAt(a, x, y - 2) : 0u;
                                     }),
                           "mosaic_file"));
}

TEST_F(MosaicFilesTest, QuestionsDecide) {
    const Names paths = {Write("a.bmp", MakeNoise(4, 4, 5))};
    const std::string target = WriteText("out.bmp", "old");
    asked_.answers = {false};
    EXPECT_EQ(MakeMosaic(paths, target, asked_.Policy()).status, MosaicStatus::Declined);
    asked_.answers = {true, false};
    const MosaicResult declined = MakeMosaic(paths, target, asked_.Policy());
    EXPECT_EQ(declined.status, MosaicStatus::Declined);
    EXPECT_FALSE(declined.failure);  // the user decided: nothing to tell
    ASSERT_EQ(asked_.questions.size(), 3u);
    EXPECT_EQ(asked_.questions[2],
              target + "|Datei bereits vorhanden. Wollen Sie diese Überschreiben?\t");
    EXPECT_EQ(test::ReadAll(target), test::Text("old"));
    asked_.answers = {true, true};
    EXPECT_EQ(MakeMosaic(paths, target, asked_.Policy()).status, MosaicStatus::Written);
    EXPECT_TRUE(SamePixels(ReadBmpFile(target), MakeNoise(4, 4, 5)));
    // Nothing picked: nothing asked.
    asked_.questions.clear();
    EXPECT_EQ(MakeMosaic({}, target, asked_.Policy()).status, MosaicStatus::NoFiles);
    EXPECT_TRUE(asked_.questions.empty());
}

TEST_F(MosaicFilesTest, NothingReadableOrUnwritableLeavesTheTarget) {
    const std::string target = WriteText("out.bmp", "old");
    MosaicResult r = MakeMosaic({dir_ / "missing.jpg", WriteText("x.bmp", "BM garbage")}, target,
                                ConfirmPolicy::Always());
    EXPECT_EQ(std::tuple(r.status, r.unreadable.size()), std::tuple(MosaicStatus::NoPicture, 2u));
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(test::Messages(*r.failure), Names{kCannotSave});
    EXPECT_EQ(test::ReadAll(target), test::Text("old"));
    const std::string picture = Write("a.bmp", MakeNoise(3, 3, 9));
    const std::string unwritable = dir_ / "no-such-folder/out.bmp";
    r = MakeMosaic({picture}, unwritable, ConfirmPolicy::Always());
    EXPECT_EQ(r.status, MosaicStatus::WriteFailed);
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(test::Messages(*r.failure),
              (Names{unwritable + "|Kann Bild nicht öffnen", kCannotSave}));
    EXPECT_EQ(ReadBmpFile(picture).Width(), 3);
}

TEST_F(MosaicFilesTest, FolderMosaicLeavesAnEarlierOutputOut) {
    Write("b.bmp", MakeNoise(5, 5, 1));
    Write("a.bmp", MakeNoise(7, 3, 2));
    WriteText("notes.txt", "text");
    const std::string target = Write("output.bmp", MakeNoise(50, 50, 3));
    const MosaicResult r = MakeFolderMosaic(dir_.Path(), target, ConfirmPolicy::Always());
    EXPECT_EQ(std::tuple(r.status, r.joined.size()), std::tuple(MosaicStatus::Written, 2u));
    const ImageBuffer written = ReadBmpFile(target);
    EXPECT_EQ(std::tuple(written.Width(), written.Height()), std::tuple(12, 5));
}

TEST_F(MosaicFilesTest, RealPhotographs) {
    const Names names = {"pairs/sugarshack_r.jpg", "pairs/gx8_l.jpg", "pairs/frozenpond_l.jpg"};
    Names paths;
    for (const std::string& n : names) {
        if (!test::SampleExists(n)) GTEST_SKIP() << "sample missing: " << n;
        paths.push_back(test::SamplePath(n));
    }
    const MosaicResult r = MakeMosaic(paths, dir_ / "output.bmp", ConfirmPolicy::Always());
    ASSERT_EQ(r.status, MosaicStatus::Written);
    // frozenpond 640×480, gx8 1824×1367, sugarshack 640×480, in that order; the small
    // picture on the left sits (1367 − 480) / 2 = 443 rows down.
    EXPECT_EQ(r.joined, (Names{paths[2], paths[1], paths[0]}));
    const ImageBuffer written = ReadBmpFile(dir_ / "output.bmp");
    ASSERT_EQ(written.Width(), 640 + 1824 + 640);
    ASSERT_EQ(written.Height(), 1367);
    const ImageBuffer pond = LoadPictureFile(paths[2]), gx8 = LoadPictureFile(paths[1]);
    EXPECT_TRUE(SamePixels(CropRect(written, 0, 443, 640, 923), pond, "mosaic_pond"));
    EXPECT_TRUE(SamePixels(CropRect(written, 640, 0, 2464, 1367), gx8, "mosaic_gx8"));
    EXPECT_EQ(PixelAt(written, 10, 442), 0u);
    EXPECT_EQ(PixelAt(written, 10, 923), 0u);
}

}  // namespace
}  // namespace duplora
