#include "app/stereo/display_texts.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/shell/dialog_texts.h"
#include "support/test_support.h"

namespace duplora {
namespace {

constexpr const char* kPairTitle =
    "Linkes Bild(baum_l.jpg [20 x 12]) Rechtes Bild(baum_r.jpg [20 x 12])  (3/7)  ";

class DisplayTextsTest : public ::testing::Test {
  protected:
    DisplayTextsTest() : a(test::MakeNoise(20, 12, 1)), b(test::MakeNoise(20, 12, 2)) {
        in.first = &a;
        in.second = &b;
        facts.firstName = "baum_l.jpg";
        facts.secondName = "baum_r.jpg";
        facts.folderIndex = 2;
        facts.folderCount = 7;
    }
    DisplayTexts Texts() { return MakeDisplayTexts(in, facts, composer); }

    ImageBuffer a, b;
    CompositionInput in;
    TitleFacts facts;
    DisplayComposer composer;
};

TEST_F(DisplayTextsTest, SideBySide) {
    in.zoomPercent = 50;
    in.dx = 4;
    in.dy = -1;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    const DisplayTexts texts = Texts();
    EXPECT_EQ(texts.title, kPairTitle);
    // The common area 16 × 11, shown at half size.
    EXPECT_EQ(texts.status, (std::array<std::string, 3>{"Bildgröße nach Ausrichtung[16 x 11]",
                                                        "Position Ausrichtung(x = -4 y = 1)",
                                                        "Bildgröße [8 x 5]  Zoom(50 %)"}));
}

TEST_F(DisplayTextsTest, TitleAdditions) {
    facts.slideShowRunning = true;
    facts.slideInterval = 25;
    in.panorama = true;
    const std::string base = kPairTitle;
    EXPECT_EQ(Texts().title, base + "Slide Show Intervall 2.5 S.");
    facts.slideShowRunning = false;
    EXPECT_EQ(Texts().title, base + "Panorama Modus");
    // Panorama keeps the full width after alignment; the height still keeps ten rows.
    in.dx = -300;
    in.dy = 5;
    EXPECT_EQ(Texts().status[0], "Bildgröße nach Ausrichtung[20 x 10]");
    EXPECT_EQ(Texts().status[1], "Position Ausrichtung(x = 300 y = -5)");
}

TEST_F(DisplayTextsTest, SinglePictureAndNothingShown) {
    in.mode = DisplayMode::Single;
    in.second = nullptr;
    in.zoomPercent = 150;
    facts.folderIndex = 0;
    facts.folderCount = 1;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    EXPECT_EQ(Texts().title, "Bild(baum_l.jpg [20 x 12]) (1/1)");
    EXPECT_EQ(Texts().status,
              (std::array<std::string, 3>{"", "", "Bildgröße [30 x 18]  Zoom(150 %)"}));
    in.mode = DisplayMode::SideBySide;
    in.second = &b;
    in.zoomPercent = 0;
    EXPECT_FALSE(composer.ComposeForDisplay(in));
    EXPECT_EQ(Texts().status[2], "Bildgröße [0 x 0]  Zoom(0 %)");
}

TEST(DialogTexts, SaveTitlesPartnerQuestionAndLayoutRadios) {
    EXPECT_EQ(SaveDialogTitle(false), "Stereobild Speichern");
    EXPECT_EQ(SaveDialogTitle(true), "Bild speichern");
    EXPECT_EQ(LeftRightSaveDialogTitle(), "Linkes/Rechtes Bild Speichern");
    EXPECT_EQ(SaveImageSizeText(test::MakeNoise(40, 30, 1)), "Bildgröße (40 X 30)");
    EXPECT_EQ(PartnerQuestionText("/x/a_r.jpg"), "Öffne '/x/a_r.jpg' als Stereopaar?");
    EXPECT_EQ(PartnerQuestionCaption(), "Bestätigung");
    for (int layout = 0; layout <= 7; ++layout) {
        const auto asLayout = static_cast<StereoLayout>(layout);
        EXPECT_EQ(LayoutRadioId(asLayout), 3001 + layout);
        EXPECT_EQ(LayoutFromRadioId(3001 + layout), asLayout);
    }
    EXPECT_EQ(LayoutRadioId(StereoLayout::Pair), 0);
    EXPECT_EQ(LayoutRadioId(StereoLayout::Single), 0);
    EXPECT_FALSE(LayoutFromRadioId(3000));
    EXPECT_FALSE(LayoutFromRadioId(3009));
}

// The texts beside the open dialog's preview box, for each kind of preview.
TEST(DialogTexts, PreviewTypeColoursAndSizes) {
    struct Case {
        PreviewKind kind;
        int depth, width, height, reportedWidth, reportedHeight;
        bool das;
        const char* type;
        const char* colours;
    };
    const Case cases[] = {
        {PreviewKind::Jpeg, 24, 160, 120, 1824, 1367, false, "Dateityp : Jpeg File",
         "Bildgröße: 1824x1367  Farben: Volle Farbanzahl "},
        {PreviewKind::StereoJpeg, 24, 160, 120, 0, 0, false, "Dateityp : Jpeg Stereo File",
         "Bildgröße: 160x120  Farben: Volle Farbanzahl "},
        {PreviewKind::Bmp, 4, 30, 20, 0, 0, false, "Dateityp : BMP File",
         "Bildgröße: 30x20  Farben: 16 Farben "},
        {PreviewKind::InterlacedBmp, 1, 31, 17, -1, 5, false, "Dateityp : BMP Interlaced File",
         "Farben: 2 Farben "},
        {PreviewKind::Tiff, 8, 30, 20, 0, 0, false, "Dateityp : Susie plug-in File",
         "Bildgröße: 30x20  Farben: 256 Farben "},
        {PreviewKind::Plugin, 16, 30, 20, 0, 0, false, "Dateityp : Susie plug-in File",
         "Bildgröße: 30x20  Farben: 64k Farben "},
        {PreviewKind::Das, 24, 160, 60, 0, 0, true, "Dateityp : DAS File",
         "Bildgröße: 1824x1367 - 1800x1300  Farben: Volle Farbanzahl "},
        // A DAS file the reader refused shows its type only; no known kind shows nothing.
        {PreviewKind::Das, 0, 0, 0, 0, 0, false, "Dateityp : DAS File", ""},
        {PreviewKind::None, 0, 0, 0, 0, 0, false, "", ""},
    };
    for (const Case& c : cases) {
        OpenPreview preview;
        preview.kind = c.kind;
        preview.depth = c.depth;
        preview.width = c.width;
        preview.height = c.height;
        preview.reportedWidth = c.reportedWidth;
        preview.reportedHeight = c.reportedHeight;
        preview.das = c.das;
        preview.dasSizes.leftWidth = 1824;
        preview.dasSizes.leftHeight = 1367;
        preview.dasSizes.rightWidth = 1800;
        preview.dasSizes.rightHeight = 1300;
        const PreviewTexts texts = PreviewTextsFor(preview);
        EXPECT_EQ(texts.type, c.type);
        EXPECT_EQ(texts.colours, c.colours) << c.type;
    }
    EXPECT_EQ(ColourCountText(32), "");
}

TEST(DialogTexts, TurnRadiosFollowTheExifOrientation) {
    EXPECT_FALSE(RotationRadiosFor(kNoPreviewOrientation).visible);
    for (const auto& [orientation, radio] :
         {std::pair{1, 1261}, {8, 1260}, {6, 1262}, {3, 1263}, {5, 0}}) {
        const RotationChoice choice = RotationRadiosFor(orientation);
        EXPECT_TRUE(choice.visible);
        EXPECT_EQ(choice.checkedRadio, radio) << orientation;
        EXPECT_EQ(OrientationForRadio(radio), radio ? orientation : 0);
    }
    EXPECT_EQ(OrientationForRadio(1264), 0);
}

TEST(DialogTexts, MosaicTitleAndReport) {
    EXPECT_EQ(MosaicTitle({false, 3, 4}), "3/4");
    EXPECT_EQ(MosaicTitle({true, 1, 2, 31, 10}), "Image Size(x=31  Y=10)  1/2");
    EXPECT_EQ(MosaicReportCaption(), "Mosaik Bild");
}

TEST(DialogTexts, SaveEstimate) {
    SizeEstimate estimate;
    EXPECT_EQ(SaveEstimateText(estimate), "");
    estimate.ok = true;
    estimate.bytes = 123400;
    EXPECT_EQ(SaveEstimateText(estimate), "Dateigröße nach Speichern:\n ca. 123400 Bytes");
    estimate.exact = true;
    estimate.bytes = 123456;
    EXPECT_EQ(SaveEstimateText(estimate), "Dateigröße nach Speichern:\n genau 123456 Bytes");
}

}  // namespace
}  // namespace duplora
