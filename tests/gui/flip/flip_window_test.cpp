// F8 as the user meets it: the configured output opens, its keys act on the pair, Escape
// ends it; where there is no stereo OpenGL a message says so and nothing else changes.
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "app/flip/eye_frames.h"
#include "app/image/qimage_bridge.h"
#include "gui/flip/page_flipping.h"
#include "gui/gui_test_main.h"
#include "support/test_support.h"

namespace duplora {
namespace {

class FlipWindowTest : public test::NoisePairTest {
  protected:
    MainWindow& StartWith(std::string_view driver, std::string_view comset = "0",
                          std::string_view library = DUPLORA_WIN3D_RECORDER) {
        store_->WriteSetting("nVidia", driver);
        store_->WriteSetting("comset", comset);
        store_->WriteSetting("W3DLibrary", library);
        return StartSmallPair();
    }
    void Press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window, key, modifiers);
        test::Settle(2);
    }
};

#define NEED_SAMPLES() \
    if (!test::HaveSmallPair()) GTEST_SKIP() << "sample photographs missing"

TEST_F(FlipWindowTest, WithoutStereoOpenGlAMessageSaysSoAndNothingChanges) {
    NEED_SAMPLES();
    MainWindow& w = StartWith("2");
    const QString title = w.windowTitle();
    Key(Qt::Key_F8);
    ASSERT_EQ(host_.Count(), 1);
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("FEHLER"));
    EXPECT_TRUE(host_.LastText().contains(QStringLiteral("OpenGL")));
    EXPECT_FALSE(w.Flipping()->OpenGlActive());
    EXPECT_TRUE(w.CommandActs(CmdFreeTrim));
    EXPECT_EQ(w.windowTitle(), title);
}

TEST_F(FlipWindowTest, ViewsLargerThanTheTextureAskFirstAndNoKeepsThemAsTheyAre) {
    store_->WriteSetting("nVidia", "2");
    store_->WriteSetting("nTSize", "0");
    MainWindow& w = OpenNoisePair(1600, 1200);
    host_.QueueButton(QMessageBox::No);
    Key(Qt::Key_F8);
    ASSERT_EQ(host_.Count(), 1);
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Achtung"));
    EXPECT_EQ(host_.LastText(),
              QStringLiteral("Bildgröße(1600 x 1200) muß kleiner als die Texsturgröße(1024 x 1024) "
                             "im\n OpenGL Modus sein. \nSoll DPL  die Bildgröße anpassen? "));
    EXPECT_EQ(w.Document().Left().image.Width(), 1600);
    EXPECT_FALSE(w.Flipping()->OpenGlActive());
}

TEST_F(FlipWindowTest, DoubleWidthOutputShowsTheComposedViewsAndTakesItsKeys) {
    NEED_SAMPLES();
    MainWindow& w = StartWith("1");
    w.ExecuteCommand(CmdOverUnder);  // the output shows side by side whatever the mode
    Key(Qt::Key_F8);
    FlipScreenWindow* screen = w.Flipping()->ScreenWindow();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Duplora NVidia"));
    const QSize size = screen->size();
    // The right eye: its composed view side by side, whatever the window's mode.
    CompositionInput in;
    in.first = &w.Document().Left().image;
    in.second = &w.Document().Right().image;
    in.zoomPercent = w.Document().ZoomPercent();
    DisplayComposer sideBySide;
    ASSERT_TRUE(sideBySide.ComposeForDisplay(in));
    const ImageBuffer expected =
        BuildEyeFrame(sideBySide, DisplayComposer::kSecondView, {size.width(), size.height()},
                      w.Document().ScrollX(), w.Document().ScrollY(), false);
    ASSERT_TRUE(screen->Frame(1));
    EXPECT_EQ(test::PixelDigest(screen->Frame(1)), test::PixelDigest(expected));
    // The double-width surface: the right eye one screen width right of the left eye.
    const QImage surface = screen->Surface().convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(surface.size(), QSize(2 * size.width(), size.height()));
    EXPECT_EQ(surface.copy(size.width(), 0, size.width(), size.height()),
              QImageFromImageBuffer(expected).convertToFormat(QImage::Format_RGB888));

    Press(screen, Qt::Key_3);  // step 3
    Press(screen, Qt::Key_Left);
    EXPECT_EQ(w.Document().Dx(), 3);
    Press(screen, Qt::Key_0);  // step 10
    Press(screen, Qt::Key_Right);
    EXPECT_EQ(w.Document().Dx(), -7);
    EXPECT_EQ(w.Document().AlignmentStep(), 10);
    const int zoom = w.Document().ZoomPercent();
    Press(screen, Qt::Key_F2);
    EXPECT_GT(w.Document().ZoomPercent(), zoom);
    Press(screen, Qt::Key_Escape);
    EXPECT_EQ(w.Flipping()->ScreenWindow(), nullptr);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Document().Mode(), DisplayMode::OverUnder);
}

TEST_F(FlipWindowTest, Win3dHandsBothEyesToTheDriverLibrary) {
    NEED_SAMPLES();
    // One file per test process: the tests also run a second time beside this run.
    const std::string log =
        test::TestOutputDir() + "/win3d-window-" + std::to_string(getpid()) + ".txt";
    std::remove(log.c_str());
    setenv("W3D_RECORD_FILE", log.c_str(), 1);
    MainWindow& w = StartWith("0");
    Key(Qt::Key_F8);
    FlipScreenWindow* screen = w.Flipping()->ScreenWindow();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("W3DWindow"));
    Press(screen, Qt::Key_Escape);
    std::ifstream in(log);
    std::string all((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(all.find("present page=0 eye=1"), std::string::npos) << all;
    EXPECT_NE(all.find("stop display=0"), std::string::npos) << all;
}

TEST_F(FlipWindowTest, Win3dWithoutItsLibrarySaysThereIsNoDriver) {
    NEED_SAMPLES();
    MainWindow& w = StartWith("0", "0", "/nonexistent/libw3d_dd.so");
    Key(Qt::Key_F8);
    EXPECT_EQ(w.Flipping()->ScreenWindow(), nullptr);
    EXPECT_EQ(host_.LastText(), QStringLiteral("Kann keinen Pageflipping Stereotreiber finden"));
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("FEHLER"));
}

TEST_F(FlipWindowTest, StartDisplaySixEndsTheProgramWithThePageFlipping) {
    NEED_SAMPLES();
    MainWindow& w = StartWith("1", "6");
    test::Settle();
    FlipScreenWindow* screen = w.Flipping()->ScreenWindow();
    ASSERT_NE(screen, nullptr);
    Press(screen, Qt::Key_Return);
    test::Settle();
    EXPECT_FALSE(w.isVisible()) << host_.Count() << host_.LastText().toStdString();
}

}  // namespace
}  // namespace duplora
