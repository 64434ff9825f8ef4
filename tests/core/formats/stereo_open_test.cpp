#include "core/formats/stereo_open.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/formats/bmp_codec.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/open_preview.h"
#include "core/formats/stereo_names.h"
#include "core/image/split.h"
#include "core/util/worker_pool.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::PixelAt;
using test::ScratchDir;

// Every pixel tells where it came from: red-green carry x, blue y.
std::uint32_t Code(int x, int y) {
    return (static_cast<std::uint32_t>(x) << 8) | static_cast<std::uint32_t>(y);
}
constexpr int kW = 7, kH = 5;  // odd both ways

// A view is the rectangle at (x0, y0) of the picture turned by `turn`: 1 not at all,
// 6 right, T(x, y) = S(y, H − 1 − x), 8 left, T(x, y) = S(W − 1 − y, x).
struct Crop {
    int turn, x0, y0;
};

ImageBuffer Expected(const Crop& c, int width, int height) {
    return test::MakeImage(width, height, [&](int x, int y) {
        x += c.x0, y += c.y0;
        return c.turn == 6 ? Code(y, kH - 1 - x) : c.turn == 8 ? Code(kW - 1 - y, x) : Code(x, y);
    });
}

struct SplitCase {
    const char* name;
    StereoLayout layout;
    int viewWidth, viewHeight;
    Crop left, right;
};

// A turned picture is W = 7 rows high: halves of 3 rows, the last row dropped.
const SplitCase kSplitCases[] = {
    {"SideBySide", StereoLayout::SideBySide, 3, 5, {1, 0, 0}, {1, 3, 0}},
    {"OverUnder", StereoLayout::OverUnder, 7, 2, {1, 0, 0}, {1, 0, 2}},
    {"TurnedRight", StereoLayout::TurnedRight, 5, 3, {6, 0, 3}, {6, 0, 0}},
    {"TurnedLeft", StereoLayout::TurnedLeft, 5, 3, {8, 0, 3}, {8, 0, 0}},
    {"TriDeltaTT", StereoLayout::TriDeltaTT, 5, 3, {6, 0, 3}, {8, 0, 3}},
    {"TriDeltaBB", StereoLayout::TriDeltaBB, 5, 3, {6, 0, 0}, {8, 0, 0}}};

TEST(SplitStereoPicture, EveryViewPixelComesFromItsSourcePixel) {
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(c.name);
        const StereoViews views = SplitStereoPicture(test::MakeImage(kW, kH, Code), c.layout);
        const int w = c.viewWidth, h = c.viewHeight;
        EXPECT_TRUE(test::SamePixels(views.left, Expected(c.left, w, h), "left"));
        EXPECT_TRUE(test::SamePixels(views.right, Expected(c.right, w, h), "right"));
    }
}

// Fields and colour channels split by the rules pinned with ExtractField and SplitAnaglyph:
// the left view is the even field and the red channel.
TEST(SplitStereoPicture, InterlaceAndAnaglyphTakeFieldsAndChannels) {
    for (const int height : {6, 5}) {
        const ImageBuffer picture = test::MakeNoise(9, height, 3);
        const StereoViews fields = SplitStereoPicture(picture, StereoLayout::Interlace);
        EXPECT_TRUE(test::SamePixels(fields.left, ExtractField(picture, false), "even-field"));
        EXPECT_TRUE(test::SamePixels(fields.right, ExtractField(picture, true), "odd-field"));
        const StereoViews colours = SplitStereoPicture(picture, StereoLayout::Anaglyph);
        EXPECT_TRUE(test::SamePixels(colours.left, SplitAnaglyph(picture, 1), "red"));
        EXPECT_TRUE(test::SamePixels(colours.right, SplitAnaglyph(picture, 0), "green-or-blue"));
    }
}

TEST(SplitStereoPicture, NothingForPicturesThatCannotBeSplit) {
    const ImageBuffer column = test::MakeNoise(1, 6, 1);
    const ImageBuffer row = test::MakeNoise(6, 1, 2);
    EXPECT_FALSE(SplitStereoPicture(column, StereoLayout::SideBySide));
    EXPECT_FALSE(SplitStereoPicture(row, StereoLayout::OverUnder));
    for (StereoLayout turned : {StereoLayout::TurnedRight, StereoLayout::TurnedLeft,
                                StereoLayout::TriDeltaTT, StereoLayout::TriDeltaBB})
        EXPECT_FALSE(SplitStereoPicture(column, turned));
    // One row still de-interlaces and one pixel still has colours.
    EXPECT_TRUE(SplitStereoPicture(row, StereoLayout::Interlace));
    EXPECT_TRUE(SplitStereoPicture(test::MakeNoise(1, 1, 3), StereoLayout::Anaglyph));
    EXPECT_FALSE(SplitStereoPicture(ImageBuffer{}, StereoLayout::SideBySide));
    EXPECT_FALSE(SplitStereoPicture(test::MakeIndexed(8, 8, 8, 1), StereoLayout::SideBySide));
    EXPECT_FALSE(SplitStereoPicture(test::MakeNoise(8, 8, 4), StereoLayout::Single));
}

TEST(StereoLayoutNumbers, StoredNumbersAndTheDialogsChoice) {
    for (int n = -1; n <= 21; ++n)
        EXPECT_EQ(StereoLayoutFromNumber(n).has_value(), (n >= 0 && n <= 8) || n == 10 || n == 20)
            << n;
    EXPECT_EQ(LayoutForStereoDialog(StereoLayout::Pair), StereoLayout::SideBySide);
    EXPECT_EQ(LayoutForStereoDialog(StereoLayout::Single), StereoLayout::SideBySide);
    EXPECT_EQ(LayoutForStereoDialog(StereoLayout::TriDeltaTT), StereoLayout::TriDeltaTT);
}

TEST(OpenStereoFile, SplitsAFileAndNamesTheViews) {
    ScratchDir dir;
    const ImageBuffer picture = test::MakeImage(kW, kH, Code);
    const std::string path = dir / "stereo.bmp";
    ASSERT_TRUE(WriteBmpFile(path, picture));
    const StereoOpenResult opened = OpenStereoFile(path, StereoLayout::OverUnder);
    ASSERT_TRUE(opened.loaded);
    EXPECT_EQ(opened.layout, StereoLayout::OverUnder);
    EXPECT_FALSE(opened.single || opened.hasAlignment);
    EXPECT_EQ(std::tuple(opened.leftPath, opened.rightPath), std::tuple(path, path));
    EXPECT_EQ(opened.leftName, "stereo.bmp - Links");
    EXPECT_EQ(opened.rightName, "stereo.bmp - Rechts");
    const StereoViews expected = SplitStereoPicture(picture, StereoLayout::OverUnder);
    EXPECT_TRUE(test::SamePixels(opened.left, expected.left, "open-left"));
    EXPECT_TRUE(test::SamePixels(opened.right, expected.right, "open-right"));

    // The number of a two-file pair reopens side by side.
    const StereoOpenResult pair = OpenStereoFile(path, StereoLayout::Pair);
    ASSERT_TRUE(pair.loaded);
    EXPECT_EQ(pair.layout, StereoLayout::SideBySide);
    EXPECT_EQ(pair.left.Width(), kW / 2);

    const StereoOpenResult single = OpenStereoFile(path, StereoLayout::Single);
    ASSERT_TRUE(single.loaded && single.single);
    EXPECT_EQ(single.leftName, "stereo.bmp");
    EXPECT_EQ(single.rightName, "stereo.bmp");
    EXPECT_TRUE(test::SamePixels(single.left, picture, "open-single"));
    EXPECT_FALSE(single.right);

    // Indexed pictures come out as true colour.
    const ImageBuffer indexed = test::MakeIndexed(10, 4, 8, 7);
    ASSERT_TRUE(WriteBmpFile(dir / "indexed.bmp", indexed));
    const StereoOpenResult colour = OpenStereoFile(dir / "indexed.bmp", StereoLayout::SideBySide);
    const StereoViews split =
        SplitStereoPicture(test::ExpandForTest(indexed), StereoLayout::SideBySide);
    EXPECT_TRUE(test::SamePixels(colour.left, split.left, "indexed-left"));
    EXPECT_TRUE(test::SamePixels(colour.right, split.right, "indexed-right"));
}

TEST(OpenStereoFile, FilesNoReaderTakesAreNotLoaded) {
    ScratchDir dir;
    test::WriteAll(dir / "junk.jpg", test::Bytes(300, 0x5A));
    const StereoOpenResult junk = OpenStereoFile(dir / "junk.jpg", StereoLayout::SideBySide);
    EXPECT_FALSE(junk.loaded || junk.left);
    EXPECT_EQ(junk.leftName, "junk.jpg - Links");
    EXPECT_FALSE(OpenStereoFile(dir / "missing.jpg", StereoLayout::SideBySide).loaded);
    EXPECT_FALSE(OpenStereoFile("", StereoLayout::SideBySide).loaded);
    // A picture one column wide opens but gives no side-by-side views.
    ASSERT_TRUE(WriteBmpFile(dir / "thin.bmp", test::MakeNoise(1, 5, 1)));
    EXPECT_FALSE(OpenStereoFile(dir / "thin.bmp", StereoLayout::SideBySide).loaded);
    // The DAS reader is asked last: never for pictures other readers take, and a file it
    // refuses does not open.
    int calls = 0;
    StereoOpenOptions options;
    options.readDas = [&](const std::string&) { return ++calls, DasPicture{}; };
    EXPECT_TRUE(OpenStereoFile(dir / "thin.bmp", StereoLayout::Single, options).loaded);
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(OpenStereoFile(dir / "junk.jpg", StereoLayout::SideBySide, options).loaded);
    EXPECT_EQ(calls, 1);
}

// The views are the decoded photograph split by the rules pinned above on small pictures;
// the expected split runs on one thread, so the bands of the large ones must not show.
TEST(OpenStereoFile, PhotographsOpenInTheirLayout) {
    const struct {
        const char* file;
        StereoLayout layout;
        int viewWidth, viewHeight;
    } cases[] = {{"GOPR0.left-right.jpg", StereoLayout::SideBySide, 4000, 3000},
                 {"capoda.left-right.jpg", StereoLayout::SideBySide, 4096, 4096},
                 {"calf-left-right.jpg", StereoLayout::SideBySide, 1920, 1080},
                 {"stereograph.left-right.jpg", StereoLayout::SideBySide, 1821, 1574},
                 {"walrus-360.top-bottom.jpg", StereoLayout::OverUnder, 4096, 2048},
                 {"persepolis.anaglyph.jpg", StereoLayout::Anaglyph, 943, 666},
                 {"wikipedia.anaglyph.jpg", StereoLayout::Anaglyph, 800, 633}};
    for (const auto& c : cases) {
        const std::string relative = std::string("single-file/") + c.file;
        SCOPED_TRACE(relative);
        if (!test::SampleExists(relative)) GTEST_SKIP() << relative << " missing";
        const std::string path = test::SamplePath(relative);
        const StereoOpenResult opened = OpenStereoFile(path, c.layout);
        ASSERT_TRUE(opened.loaded);
        for (const ImageBuffer* view : {&opened.left, &opened.right})
            EXPECT_EQ(std::pair(view->Width(), view->Height()),
                      std::pair(c.viewWidth, c.viewHeight));
        EXPECT_EQ(opened.leftName, std::string(c.file) + " - Links");
        ScopedInlinePasses oneThread;
        const StereoViews expected = SplitStereoPicture(DecodeJpegFile(path, false), c.layout);
        EXPECT_TRUE(test::SamePixels(opened.left, expected.left, "photo-left"));
        EXPECT_TRUE(test::SamePixels(opened.right, expected.right, "photo-right"));
    }
}

TEST(OpenLeftRight, RealPairsOpenAsTwoFiles) {
    const struct {
        const char *left, *right;
        int width, height;
    } pairs[] = {{"pairs/frozenpond_l.jpg", "pairs/frozenpond_r.jpg", 640, 480},
                 {"pairs/sugarshack_l.jpg", "pairs/sugarshack_r.jpg", 640, 480},
                 {"pairs/gx8_l.jpg", "pairs/gx8_r.jpg", 1824, 1367}};
    for (const auto& p : pairs) {
        if (!test::SampleExists(p.left) || !test::SampleExists(p.right)) continue;
        const std::string left = test::SamplePath(p.left), right = test::SamplePath(p.right);
        EXPECT_EQ(ProposeRightPartner(right, ""), left);  // from either side
        const StereoOpenResult opened = OpenLeftRight(left, right);
        ASSERT_TRUE(opened.loaded) << p.left;
        EXPECT_EQ(opened.layout, StereoLayout::Pair);
        EXPECT_FALSE(opened.single);
        EXPECT_EQ(std::pair(opened.leftPath, opened.rightPath), std::pair(left, right));
        EXPECT_EQ(opened.leftName, std::filesystem::path(left).filename().string());
        EXPECT_EQ(opened.rightName, std::filesystem::path(right).filename().string());
        EXPECT_EQ(std::pair(opened.left.Width(), opened.left.Height()),
                  std::pair(p.width, p.height));
        EXPECT_TRUE(test::SamePixels(opened.right, DecodeJpegFile(right, false), "pair-right"));
    }
    ScratchDir dir;
    EXPECT_FALSE(OpenLeftRight(test::SamplePath("pairs/gx8_l.jpg"), dir / "none_r.jpg").loaded);
}

TEST(FindPartnerName, TheLetterBeforeTheExtensionDecides) {
    const std::pair<const char*, const char*> cases[] = {
        // "" for none
        {"pair_r.jpg", "pair_l.jpg"},
        {"/a/PAIR_L.JPG", "/a/PAIR_R.JPG"},
        {"/a/pair.l.r.jpg", "/a/pair.l.l.jpg"},  // only the last dot counts
        {"/a/photo.jpg", ""},
        {"/a/pair_l", ""},       // no extension
        {"/fotos.l/photo", ""},  // the folder's dot is not an extension
        {"/a/.jpg", ""},         // a leading dot is no extension
        {"/Über.L/Schnee_L.jpeg", "/Über.L/Schnee_R.jpeg"},
        {"/Fotos/Größe_ö.jpg", ""},  // a multi-byte character before the dot
        {"", ""}};
    for (const auto& [path, partner] : cases)
        EXPECT_EQ(FindPartnerName(path).value_or(""), partner) << path;
}

TEST(ProposeRightPartner, PartnerThenTheLastRightFolder) {
    ScratchDir here, there;
    for (const char* name : {"a_l.jpg", "a_r.jpg", "b_l.jpg", "c.jpg", "d_l.jpg", "e_l.jpg"})
        test::WriteAll(here / name, {1});
    std::filesystem::create_directory(here / "e_r.jpg");  // a folder is no partner
    test::WriteAll(there / "b_l.jpg", {1});
    test::WriteAll(there / "d_r.jpg", {1});

    EXPECT_EQ(ProposeRightPartner(here / "a_l.jpg", there.Path()), here / "a_r.jpg");
    // No partner beside it: the same name in the last right folder, else its partner there.
    EXPECT_EQ(ProposeRightPartner(here / "b_l.jpg", there.Path()), there / "b_l.jpg");
    EXPECT_EQ(ProposeRightPartner(here / "d_l.jpg", there.Path()), there / "d_r.jpg");
    EXPECT_FALSE(ProposeRightPartner(here / "c.jpg", there.Path()));
    EXPECT_FALSE(ProposeRightPartner(here / "e_l.jpg", ""));
    // The last right folder is the file's own: nothing more to look at.
    EXPECT_FALSE(ProposeRightPartner(here / "b_l.jpg", here.Path()));
}

TEST(SplitQuotedNames, TwoToFourNamesOfAMultipleSelection) {
    EXPECT_EQ(SplitQuotedNames("\"a_l.jpg\" \"a_r.jpg\""),
              (std::vector<std::string>{"a_l.jpg", "a_r.jpg"}));
    EXPECT_EQ(SplitQuotedNames("\"1\" \"2\" \"3\" \"4\" \"5\"").size(), 4u);
    EXPECT_TRUE(SplitQuotedNames("\"only.jpg\"").empty());
    EXPECT_TRUE(SplitQuotedNames("plain.jpg").empty());
}

TEST(OpenPreview, KindSizeRotationAndTexts) {
    const std::pair<const char*, PreviewKind> kinds[] = {
        {"a.JPS", PreviewKind::StereoJpeg},    {"a.IOS", PreviewKind::Das},
        {"a.jpeg", PreviewKind::Jpeg},         {"a.stj", PreviewKind::Jpeg},
        {"a.BMI", PreviewKind::InterlacedBmp}, {"a.tiff", PreviewKind::Tiff},
        {"a.mpo", PreviewKind::StereoJpeg},    {"jpg", PreviewKind::Jpeg},
        {"a.png", PreviewKind::None},          {"", PreviewKind::None}};
    for (const auto& [name, kind] : kinds)
        EXPECT_EQ(ClassifyPreviewName(name, nullptr), kind) << name;

    const struct {
        int w, h, fw, fh;
    } fits[] = {{4000, 3000, 160, 120},
                {100, 50, 100, 50},
                {333, 999, 53, 160},
                {1000, 1, 160, 1},
                {0, 5, 0, 0}};
    for (const auto& c : fits) {
        const PreviewSize fit = FitPreviewSize(c.w, c.h);
        EXPECT_EQ(std::pair(fit.width, fit.height), std::pair(c.fw, c.fh)) << c.w << "x" << c.h;
    }
}

TEST(OpenPreview, JpegFromAPhotographAndItsChosenRotation) {
    if (!test::SampleExists("pairs/gx8_l.jpg")) GTEST_SKIP();
    const std::optional<OpenPreview> preview = LoadOpenPreview(test::SamplePath("pairs/gx8_l.jpg"));
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->kind, PreviewKind::Jpeg);
    ASSERT_TRUE(preview->image);
    EXPECT_LE(std::max(preview->width, preview->height), 160);
    EXPECT_EQ(std::pair(preview->reportedWidth, preview->reportedHeight), std::pair(1824, 1367));
    EXPECT_EQ(std::tuple(preview->depth, preview->orientation), std::tuple(24, 1));

    // The rotation chosen is written and turns the next preview.
    ScratchDir dir;
    const std::string path = dir / "turn.jpg";
    std::filesystem::copy_file(test::SamplePath("pairs/gx8_l.jpg"), path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    ASSERT_TRUE(WriteOrientationChoice(path, 6));
    const std::optional<OpenPreview> turned = LoadOpenPreview(path);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->orientation, 6);
    EXPECT_GT(turned->image.Height(), turned->image.Width());
    for (const int none : {0, 2, 5, 9}) EXPECT_FALSE(WriteOrientationChoice(path, none)) << none;

    // A JPEG without an Exif block has no orientation to offer.
    ASSERT_TRUE(EncodeJpegImage(dir / "plain.jpg", test::MakeNoise(20, 10, 1), true, 90));
    const std::optional<OpenPreview> plain = LoadOpenPreview(dir / "plain.jpg");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->orientation, kNoPreviewOrientation);
}

TEST(OpenPreview, BmpTiffAndFilesWithoutAPreview) {
    ScratchDir dir;
    ASSERT_TRUE(WriteBmpFile(dir / "wide.bmp", test::MakeNoise(2000, 500, 9)));
    const std::optional<OpenPreview> preview = LoadOpenPreview(dir / "wide.bmp");
    ASSERT_TRUE(preview);
    EXPECT_EQ(std::tuple(preview->kind, preview->width), std::tuple(PreviewKind::Bmp, 2000));
    // Kept at four times 160 × 40.
    EXPECT_EQ(std::pair(preview->image.Width(), preview->image.Height()), std::pair(640, 160));
    EXPECT_EQ(preview->depth, 24);
    EXPECT_EQ(preview->orientation, kNoPreviewOrientation);
    const ImageBuffer thumb = PreviewThumbnail(preview->image);
    EXPECT_EQ(std::pair(thumb.Width(), thumb.Height()), std::pair(160, 40));

    // Unknown kinds give an empty preview, a DAS file the real reader refuses shows no
    // sizes, and files that cannot be opened none at all.
    test::WriteAll(dir / "notes.txt", {1, 2});
    const std::optional<OpenPreview> none = LoadOpenPreview(dir / "notes.txt");
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->image);
    EXPECT_EQ(none->kind, PreviewKind::None);
    test::WriteAll(dir / "pair.das", test::Bytes(400, 0x44));
    const std::optional<OpenPreview> das = LoadOpenPreview(dir / "pair.das");
    ASSERT_TRUE(das);
    EXPECT_FALSE(das->image);
    EXPECT_FALSE(das->das);
    EXPECT_EQ(das->width, 0);
    EXPECT_FALSE(LoadOpenPreview(dir / "missing.bmp"));

    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    ASSERT_TRUE(test::RunQuiet("convert " + test::Quote(dir / "wide.bmp") +
                               " -resize 30x20! -type Grayscale " + test::Quote(dir / "grey.tif")));
    const std::optional<OpenPreview> tiff = LoadOpenPreview(dir / "grey.tif");
    ASSERT_TRUE(tiff);
    EXPECT_EQ(std::tuple(tiff->kind, tiff->depth), std::tuple(PreviewKind::Tiff, 8));
    EXPECT_EQ(std::pair(tiff->width, tiff->height), std::pair(30, 20));
    EXPECT_EQ(tiff->image.BitCount(), 24);
}

}  // namespace
}  // namespace duplora
