#include "core/formats/stereo_save.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/formats/bmp_codec.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jps_descriptor.h"
#include "core/formats/save_estimate.h"
#include "core/formats/stereo_names.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Bytes;
using test::PixelAt;
using test::ReadAll;
using test::ScratchDir;

TEST(SaveNames, SuffixesExtensionsAndTypes) {
    const std::pair<const char*, const char*> suffixed[] = {
        {"/a/pair.x.jpg", "/a/pair.x_l.jpg"},
        {"/Fotos 2024.05/pair", "/Fotos 2024.05/pair_l"},  // no dot in the name
        {"/Bilder/Größe.jpg", "/Bilder/Größe_l.jpg"},
        {"/a/.hidden", "/a/.hidden_l"}};
    for (const auto& [path, expected] : suffixed) EXPECT_EQ(InsertNameSuffix(path, "_l"), expected);
    const LeftRightNames names = MakeLeftRightNames("/a/stem.jpg", "_l", "_r");
    EXPECT_EQ(test::TwoNames(names.left, names.right),
              test::TwoNames("/a/stem_l.jpg", "/a/stem_r.jpg"));
    EXPECT_FALSE(names.Same());
    EXPECT_TRUE(MakeLeftRightNames("/a/stem.jpg", "", "").Same());

    EXPECT_EQ(FixSaveExtension("photo.jpeg", OutputFormat::Jpeg), "photo.jpeg");
    EXPECT_EQ(FixSaveExtension("/a.b/photo", OutputFormat::Bmp), "/a.b/photo.bmp");
    // An STJ name gets its ending written anew; other formats keep theirs in any case.
    EXPECT_EQ(FixSaveExtension("photo.STJ", OutputFormat::Stj), "photo.stj");
    EXPECT_EQ(FixSaveExtension("photo.JPS", OutputFormat::Jps), "photo.JPS");
    // Twenty characters, not twenty bytes, and never half a character.
    EXPECT_EQ(LimitNameSuffix("abcdefghijklmnopqrstuvwxyz"), "abcdefghijklmnopqrst");
    EXPECT_EQ(LimitNameSuffix(std::string(22, 'x') + "ä"), std::string(20, 'x'));
    EXPECT_EQ(LimitNameSuffix("ääääääääääääääääääääää"), "ääääääääääääääääääää");

    EXPECT_EQ(ResolveSaveType("a.STJ", std::nullopt), OutputFormat::Stj);
    EXPECT_EQ(ResolveSaveType("a.stj", OutputFormat::Jpeg), OutputFormat::Stj);
    EXPECT_EQ(ResolveSaveType("a.jpg", OutputFormat::Bmp), OutputFormat::Bmp);
    EXPECT_EQ(ResolveSaveType("a.jps", std::nullopt), OutputFormat::Jps);
    EXPECT_EQ(ResolveSaveType("a.png", std::nullopt), OutputFormat::Jpeg);
    // A container is made from the source files, not saved from a picture.
    EXPECT_EQ(ResolveSaveType("a.das", std::nullopt), OutputFormat::Jpeg);
    EXPECT_EQ(StepSaveQuality(95, 10), 99);
    EXPECT_EQ(StepSaveQuality(5, -10), 1);
}

TEST(SavePanel, ControlsAndTexts) {
    const SavePanelState bmp = SavePanelFor(OutputFormat::Bmp, true);
    EXPECT_FALSE(bmp.quality || bmp.sizeText || bmp.exifSwitch || bmp.exactButton);
    const SavePanelState stj = SavePanelFor(OutputFormat::Stj, true);
    EXPECT_TRUE(stj.quality && stj.phoneNote && stj.exactButton && !stj.exifSwitch);
}

TEST(ComposeSaveImage, DisplayModeAndMirror) {
    const ImageBuffer left =
        test::MakeImage(4, 2, [](int x, int y) { return 0x100000u + x * 16 + y; });
    const ImageBuffer right =
        test::MakeImage(4, 2, [](int x, int y) { return 0x200000u + x * 16 + y; });
    CompositionInput input{.first = &left, .second = &right, .mode = DisplayMode::SideBySide};
    const ImageBuffer sbs = ComposeSaveImage(input, false).ValueOr({});
    ASSERT_EQ(std::pair(sbs.Width(), sbs.Height()), std::pair(8, 2));
    EXPECT_EQ(PixelAt(sbs, 1, 1), 0x100011u);
    EXPECT_EQ(PixelAt(sbs, 5, 0), 0x200010u);
    EXPECT_TRUE(test::SamePixels(ComposeLeftRightImage(input).ValueOr({}), sbs, "lr-compose"));

    // The mirror turns the left half round, only side by side and not for single pictures.
    const ImageBuffer mirrored =
        ApplySaveMirror(DuplicateImage(sbs), true, DisplayMode::SideBySide, false);
    EXPECT_EQ(PixelAt(mirrored, 0, 1), 0x100031u);
    EXPECT_EQ(PixelAt(mirrored, 3, 0), 0x100000u);
    EXPECT_EQ(PixelAt(mirrored, 5, 0), 0x200010u);
    for (const auto& [on, mode, single] : {std::tuple{true, DisplayMode::OverUnder, false},
                                           {true, DisplayMode::SideBySide, true},
                                           {false, DisplayMode::SideBySide, false}})
        EXPECT_TRUE(test::SamePixels(ApplySaveMirror(DuplicateImage(sbs), on, mode, single), sbs,
                                     "mirror-off"));

    input.mode = DisplayMode::OverUnder;
    const ImageBuffer ou = ComposeSaveImage(input, false).ValueOr({});
    EXPECT_EQ(std::pair(ou.Width(), ou.Height()), std::pair(4, 4));
    EXPECT_TRUE(test::SamePixels(ComposeSaveImage(input, true).ValueOr({}), left, "single"));
    input.second = nullptr;
    const Result<ImageBuffer> none = ComposeSaveImage(input, false);
    EXPECT_FALSE(none);
    EXPECT_TRUE(test::Messages(none).empty());

    // A side-by-side picture beyond the size limits cannot be made, and says so.
    const ImageBuffer wide = test::MakeNoise(40000, 1, 3);
    input.first = input.second = &wide;
    input.mode = DisplayMode::SideBySide;
    EXPECT_EQ(test::Messages(ComposeSaveImage(input, false)),
              std::vector<std::string>{"FEHLER|Kann BMP Datei nicht erstellen."});
}

TEST(WriteStjFile, FixedHeadThenTheJpegWithoutItsOwnStart) {
    static const std::uint8_t kHead[43] = {
        0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x00, 0x01, 0x00,
        0x96, 0x00, 0x96, 0x00, 0x00, 0xFF, 0xE5, 0x00, 0x08, 0x33, 0x44, 0x70, 0x69, 0x63, 0x00,
        0xFF, 0xFE, 0x00, 0x0B, 0x63, 0x6F, 0x70, 0x79, 0x3D, 0x22, 0x4E, 0x4F, 0x22};

    ScratchDir dir;
    const ImageBuffer picture = test::MakeGradient(64, 32);
    ASSERT_TRUE(EncodeJpegImage(dir / "in.jpg", picture, true, 90));
    ASSERT_TRUE(WriteStjFile(dir / "out.stj", dir / "in.jpg"));
    const Bytes jpeg = ReadAll(dir / "in.jpg");
    const Bytes stj = ReadAll(dir / "out.stj");
    ASSERT_EQ(stj.size(), jpeg.size() + 23);
    EXPECT_TRUE(std::equal(kHead, kHead + 43, stj.begin()));
    EXPECT_TRUE(std::equal(jpeg.begin() + 20, jpeg.end(), stj.begin() + 43));
    // Still a JPEG stream: the same pixels come out.
    EXPECT_TRUE(test::SamePixels(DecodeJpegFile(dir / "out.stj", false),
                                 DecodeJpegFile(dir / "in.jpg", false), "stj"));

    // Anything but SOI and a JFIF APP0 at the start is refused, and the target stays.
    ASSERT_TRUE(WriteBmpFile(dir / "in.bmp", picture));
    EXPECT_FALSE(WriteStjFile(dir / "out.stj", dir / "in.bmp"));
    EXPECT_FALSE(WriteStjFile(dir / "out.stj", dir / "missing.jpg"));
    EXPECT_EQ(ReadAll(dir / "out.stj"), stj);
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"in.bmp", "in.jpg", "out.stj"}));
}

// Each type goes to its writer: BMP as held, JPEG at the quality, JPS the same JPEG
// under another name, STJ the same stream wrapped; no scratch file stays behind.
TEST(SaveStereoPicture, EveryTypeGoesToItsWriter) {
    ScratchDir dir;
    const ImageBuffer picture = test::MakeGradient(301, 120);
    SaveSettings settings{.quality = 85};
    for (const auto& [name, type] : {std::pair{"s.bmp", OutputFormat::Bmp},
                                     {"s.jpg", OutputFormat::Jpeg},
                                     {"s.jps", OutputFormat::Jps},
                                     {"s.stj", OutputFormat::Stj}}) {
        settings.type = type;
        ASSERT_TRUE(SaveStereoPicture(dir / name, picture, settings)) << name;
    }
    EXPECT_TRUE(test::SamePixels(ReadBmpFile(dir / "s.bmp"), picture, "bmp"));
    ASSERT_TRUE(EncodeJpegImage(dir / "expected.jpg", picture, true, 85));
    EXPECT_EQ(ReadAll(dir / "s.jpg"), ReadAll(dir / "expected.jpg"));
    // A JPS is the same JPEG with the stereo descriptor after its JFIF segment.
    Bytes jps = ReadAll(dir / "expected.jpg");
    const std::vector<std::uint8_t> descriptor =
        MakeJpsSegment(JpsDescriptorForMode(DisplayMode::SideBySide));
    jps.insert(jps.begin() + 20, descriptor.begin(), descriptor.end());
    EXPECT_EQ(ReadAll(dir / "s.jps"), jps);
    ASSERT_TRUE(WriteStjFile(dir / "expected.stj", dir / "expected.jpg"));
    EXPECT_EQ(ReadAll(dir / "s.stj"), ReadAll(dir / "expected.stj"));
    if (test::HaveTool("identify")) {
        EXPECT_EQ(test::Capture("identify -format '%w %h' " + test::Quote("jpeg:" + dir / "s.stj")),
                  "301 120");
    }
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"expected.jpg", "expected.stj", "s.bmp",
                                                     "s.jpg", "s.jps", "s.stj"}));
}

TEST(SaveStereoPicture, ExifBlockOnlyWhenAskedAndNeverInStj) {
    ScratchDir dir;
    SaveSettings settings{.exifThumbnail = true};
    for (const auto& [name, type, exif] :
         {std::tuple{"e.jps", OutputFormat::Jps, true}, {"e.stj", OutputFormat::Stj, false}}) {
        settings.type = type;
        ASSERT_TRUE(SaveStereoPicture(dir / name, test::MakeGradient(320, 200), settings));
        const Bytes head = ReadAll(dir / name);
        EXPECT_EQ(std::string(head.begin(), head.begin() + 200).find("Exif") != std::string::npos,
                  exif)
            << name;
    }
}

TEST(SaveLeftRightFiles, WritesBothHalvesUnderTheSuffixes) {
    ScratchDir dir;
    const ImageBuffer sbs = test::MakeImage(9, 4, [](int x, int y) { return (x << 8) | y; });
    SaveSettings settings{.type = OutputFormat::Bmp};
    test::QuestionRecorder asked;
    ASSERT_TRUE(SaveLeftRightFiles(dir / "pair.bmp", sbs, "_l", "_r", settings, asked.Policy()));
    EXPECT_TRUE(asked.questions.empty());
    const ImageBuffer left = ReadBmpFile(dir / "pair_l.bmp");
    const ImageBuffer right = ReadBmpFile(dir / "pair_r.bmp");
    ASSERT_EQ(std::pair(left.Width(), right.Width()), std::pair(4, 4));  // odd column dropped
    EXPECT_EQ(PixelAt(left, 3, 2), (3u << 8) | 2);
    EXPECT_EQ(PixelAt(right, 0, 1), (4u << 8) | 1);

    // Mirrored and with an overlay on each view.
    settings.mirrorLeft = true;
    int overlays = 0;
    ASSERT_TRUE(SaveLeftRightFiles(dir / "pair.bmp", sbs, "_l", "_r", settings, asked.Policy(),
                                   [&](ImageBuffer& view) {
                                       ++overlays;
                                       view.Line(0)[0] = 0xEE;
                                   }));
    EXPECT_EQ(overlays, 2);
    // The left file existed.
    EXPECT_EQ(asked.questions,
              std::vector<std::string>{dir / "pair_l.bmp" +
                                       "|Datei bereits vorhanden! Diese Datei ersetzen ?"});
    EXPECT_EQ(asked.kinds, std::vector<QuestionKind>{QuestionKind::OkCancel});
    const ImageBuffer mirrored = ReadBmpFile(dir / "pair_l.bmp");
    EXPECT_EQ(PixelAt(mirrored, 3, 2), 2u);
    EXPECT_EQ(PixelAt(mirrored, 0, 0) & 0xFF, 0xEEu);
}

TEST(SaveLeftRightFiles, EqualNamesAreRefusedAndCancelWritesNothing) {
    ScratchDir dir;
    const ImageBuffer sbs = test::MakeNoise(10, 4, 2);
    SaveSettings settings;
    const std::string sameNames =
        "FEHLER|Linker und rechter Dateiname sind gleich. Bitte unterschiedliche "
        "Namenszusätze für das linke und das rechte Bild angeben.";
    test::QuestionRecorder asked;
    EXPECT_EQ(test::Messages(
                  SaveLeftRightFiles(dir / "same.jpg", sbs, "_x", "_x", settings, asked.Policy())),
              std::vector<std::string>{sameNames});
    EXPECT_TRUE(asked.questions.empty());
    EXPECT_TRUE(dir.Files().empty());
    EXPECT_EQ(test::Messages(ConfirmLeftRightNames(MakeLeftRightNames(dir / "same.jpg", "", ""),
                                                   OverwritePolicy::Always())),
              std::vector<std::string>{sameNames});

    // Only the right file exists: the question names it, and Cancel keeps it as it was
    // without a word.
    const Bytes old(10, 0x33);
    ASSERT_TRUE(test::WriteAll(dir / "pair_r.jpg", old));
    asked.fallback = false;
    const Result<Warnings> cancelled =
        SaveLeftRightFiles(dir / "pair.jpg", sbs, "_l", "_r", settings, asked.Policy());
    EXPECT_FALSE(cancelled);
    EXPECT_TRUE(test::Messages(cancelled).empty());
    EXPECT_EQ(asked.questions,
              std::vector<std::string>{dir / "pair_r.jpg" +
                                       "|Datei bereits vorhanden! Diese Datei ersetzen ?"});
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"pair_r.jpg"}));
    EXPECT_EQ(ReadAll(dir / "pair_r.jpg"), old);
    // Nothing to split is a failure the user hears of.
    EXPECT_EQ(test::Messages(SaveLeftRightFiles(dir / "pair.jpg", ImageBuffer{}, "_l", "_r",
                                                settings, OverwritePolicy::Always())),
              std::vector<std::string>{"FEHLER|Kann Bild nicht speichern"});
}

// Scratch files go to a folder of the test's own, so that it can see them all removed.
class SizeEstimateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* tmp = std::getenv("TMPDIR")) old_ = tmp;
        ::setenv("TMPDIR", temp_.Path().c_str(), 1);
    }
    void TearDown() override { old_ ? ::setenv("TMPDIR", old_->c_str(), 1) : ::unsetenv("TMPDIR"); }
    std::optional<std::string> old_;
    ScratchDir temp_, out_;
};

TEST_F(SizeEstimateTest, SmallPictureIsMeasuredExactly) {
    const ImageBuffer picture = test::MakeGradient(200, 100);
    const SavePreview preview = MakeSavePreview(picture);
    EXPECT_FALSE(preview.reduced);
    EXPECT_EQ(preview.sizeFactor, 1.0);
    const SizeEstimate estimate = EstimateSaveSize(preview, 99, OutputFormat::Jpeg);
    ASSERT_TRUE(estimate.ok);
    EXPECT_TRUE(estimate.exact);
    SaveSettings settings{.quality = 99};
    ASSERT_TRUE(SaveStereoPicture(out_ / "a.jpg", picture, settings));
    EXPECT_EQ(estimate.bytes, static_cast<std::int64_t>(ReadAll(out_ / "a.jpg").size()));
    // The box shows what the encoder made of it.
    EXPECT_TRUE(test::SamePixels(estimate.shown, DecodeJpegFile(out_ / "a.jpg", false), "shown"));

    settings.type = OutputFormat::Stj;
    ASSERT_TRUE(SaveStereoPicture(out_ / "a.stj", picture, settings));
    EXPECT_EQ(EstimateSaveSize(preview, 99, OutputFormat::Stj).bytes,
              static_cast<std::int64_t>(ReadAll(out_ / "a.stj").size()));
    EXPECT_TRUE(temp_.Files().empty());
}

TEST_F(SizeEstimateTest, LargePictureIsEstimatedThenMeasured) {
    const ImageBuffer picture = test::MakeGradient(4000, 1500);
    SavePreview preview = MakeSavePreview(picture);
    ASSERT_TRUE(preview.reduced);
    EXPECT_EQ(std::pair(preview.image.Width(), preview.image.Height()), std::pair(220, 82));
    EXPECT_DOUBLE_EQ(preview.sizeFactor, std::pow(4000.0 / 220 * (1500.0 / 82), 0.85));

    const SizeEstimate about = EstimateSaveSize(preview, 80, OutputFormat::Jpeg);
    ASSERT_TRUE(about.ok);
    EXPECT_FALSE(about.exact);
    EXPECT_EQ(about.bytes % 100, 0);
    EXPECT_GT(about.bytes, 0);

    const SizeEstimate exact = MeasureExactSize(picture, preview, 80, OutputFormat::Jpeg, true);
    ASSERT_TRUE(exact.ok);
    EXPECT_TRUE(exact.exact);
    const SaveSettings settings{.quality = 80, .exifThumbnail = true};
    ASSERT_TRUE(SaveStereoPicture(out_ / "big.jpg", picture, settings));
    const auto saved = static_cast<std::int64_t>(ReadAll(out_ / "big.jpg").size());
    EXPECT_EQ(exact.bytes, saved);
    // Later estimates at the same quality scale by the measured ratio and land on the
    // measured size rounded down to hundreds.
    const SizeEstimate scaled = EstimateSaveSize(preview, 80, OutputFormat::Jpeg);
    EXPECT_NEAR(static_cast<double>(scaled.bytes), static_cast<double>(saved / 100 * 100), 100.0);
    EXPECT_TRUE(temp_.Files().empty());
}

}  // namespace
}  // namespace duplora
