// "Automatisch ausrichten" as the user meets it: chosen from the "Ausrichten" menu it
// resamples the right view, moves the pair by the whole pixels of the height, says what
// it did, and one undo brings everything back. Pictures without common features get a
// message and stay as they were.
#include <QProgressBar>

#include <gtest/gtest.h>

#include <cmath>

#include "core/align/feature_align.h"
#include "core/formats/jpeg_codec.h"
#include "core/strings.h"
#include "gui_test_main.h"
#include "res/core/string_ids.h"
#include "support/test_support.h"

namespace duplora {
namespace {

// The visible item of the alignment menu that runs `command`, as the menu shows it.
QAction* AlignMenuItem(MainWindow& w, CommandId command) {
    for (QAction* a : test::Opened(test::MenuOf(w, QStringLiteral("STAJUST"))))
        if (a->data().toInt() == command && a->isVisible()) return a;
    return nullptr;
}

class AutoAlignWindowTest : public test::SamplePairTest {};

TEST_F(AutoAlignWindowTest, MenuItemAlignsThePairAsOneUndoableStep) {
    MainWindow& w = *window_;
    QAction* item = AlignMenuItem(w, CmdAutoAlign);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("&Automatisch ausrichten"));
    ASSERT_TRUE(item->isEnabled());

    StereoDocument& doc = w.Document();
    const std::uint64_t left = test::PixelDigest(doc.Left().image);
    const std::uint64_t right = test::PixelDigest(doc.Right().image);
    const int dx = doc.Dx();
    Result<FeatureAlignment> expected = FindFeatureAlignment(doc.Left().image, doc.Right().image);
    ASSERT_TRUE(expected);

    bool barWhileTold = true;
    host_.Queue([&](QDialog&) {
        barWhileTold = w.findChild<QProgressBar*>(QStringLiteral("correctionProgress")) != nullptr;
    });
    item->trigger();
    test::Settle();
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(test::PixelDigest(doc.Left().image), left);
    EXPECT_NE(test::PixelDigest(doc.Right().image), right);
    const int kept = static_cast<int>(std::lround(expected.Value().verticalShift));
    EXPECT_EQ(doc.Dy(), kept);
    EXPECT_EQ(doc.Dx(), dx);
    const ImageBuffer aligned =
        ApplyFeatureAlignment(doc.Right().undoImage, expected.Value(), kept);
    EXPECT_EQ(test::PixelDigest(doc.Right().image), test::PixelDigest(aligned));
    ASSERT_EQ(host_.Count(), 1);
    EXPECT_FALSE(barWhileTold) << "the progress bar stayed under the message";
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Duplora"));
    EXPECT_TRUE(host_.LastText().startsWith(QStringLiteral("Automatisch ausgerichtet: Drehung ")))
        << host_.LastText().toStdString();

    Key(Qt::Key_Z);
    EXPECT_EQ(test::PixelDigest(doc.Left().image), left);
    EXPECT_EQ(test::PixelDigest(doc.Right().image), right);
    EXPECT_EQ(doc.Dy(), 0);
}

TEST_F(AutoAlignWindowTest, PicturesWithoutFeaturesAreLeftAsTheyWereWithAMessage) {
    const ImageBuffer flat = test::MakeImage(320, 240, [](int, int) { return 0x6080A0u; });
    const std::string left = dir_.filePath(QStringLiteral("flat_l.jpg")).toStdString();
    const std::string right = dir_.filePath(QStringLiteral("flat_r.jpg")).toStdString();
    ASSERT_TRUE(EncodeJpegImage(left, flat, true, 90));
    ASSERT_TRUE(EncodeJpegImage(right, flat, true, 90));
    window_.reset();
    MainWindow& w = StartWithPair(left, right);
    const std::uint64_t before = test::PixelDigest(w.Document().Right().image);
    QAction* item = AlignMenuItem(w, CmdAutoAlign);
    ASSERT_NE(item, nullptr);
    item->trigger();
    test::Settle();
    ASSERT_EQ(host_.Count(), 1);
    EXPECT_EQ(host_.LastText().toStdString(), LoadResString(StringId::AutoAlignTooFewFeatures));
    EXPECT_FALSE(w.Document().Modified());
    EXPECT_EQ(test::PixelDigest(w.Document().Right().image), before);
}

}  // namespace
}  // namespace duplora
