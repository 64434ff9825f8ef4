// Automatic scrolling in the main window: I and Shift+I start it, the window keeps handling
// events while it runs, the arrows steer it, P switches panorama, another key or a left
// click ends it. The pass rules themselves are the app layer's, tested there.
#include <QTest>

#include <gtest/gtest.h>

#include "gui/stereo/view_widget.h"
#include "gui_test_main.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Settle;

constexpr int kWaitMs = 10000;

class AutoScrollTest : public test::NoisePairTest {
  protected:
    // A pair of width × height noise views shown at 100 %.
    void Open(int width, int height) {
        OpenNoisePair(width, height).ExecuteCommand(CmdZoom100);
        Settle();
    }
    QPoint Maximum() const { return window_->View()->ScrollMaximum(); }
    bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, kWaitMs);
    }
    // The scroll position does not move for a while.
    bool Still() {
        const QPoint at = Scroll();
        QTest::qWait(150);
        return Scroll() == at;
    }
};

TEST_F(AutoScrollTest, HorizontalScrollingSwingsBackAtTheEndsAndAnotherKeyStopsIt) {
    Open(900, 100);
    ASSERT_GT(Maximum().x(), 0);
    // The key returns at once: the scrolling runs from the event loop.
    Key(Qt::Key_I);
    ASSERT_TRUE(WaitFor([&] { return Scroll().x() > 0; }));
    // Faster, on towards the end, where it turns back.
    for (int k = 0; k < 9; ++k) Key(Qt::Key_Up);
    ASSERT_TRUE(WaitFor([&] { return Scroll().x() == Maximum().x(); }));
    ASSERT_TRUE(WaitFor([&] { return Scroll().x() < Maximum().x(); }));
    // Right again, then any other key ends it; that key does nothing else.
    Key(Qt::Key_Right);
    ASSERT_TRUE(WaitFor([&] { return Scroll().x() == Maximum().x(); }));
    Key(Qt::Key_Left);
    ASSERT_TRUE(WaitFor([&] { return Scroll().x() < Maximum().x() - 10; }));
    const int navigator = window_->CurrentSettings().showNavigator;
    Key(Qt::Key_N);  // the navigator's key when not scrolling
    EXPECT_TRUE(Still());
    EXPECT_EQ(window_->CurrentSettings().showNavigator, navigator);
    EXPECT_EQ(Scroll().y(), 0);
    // The arrows are the alignment's again.
    const int dx = window_->Document().Dx();
    Key(Qt::Key_Left);
    EXPECT_NE(window_->Document().Dx(), dx);
}

TEST_F(AutoScrollTest, PanoramaRunsOnRoundThePictureAndPSwitchesIt) {
    Open(900, 100);
    window_->ExecuteCommand(CmdPanorama);
    ASSERT_TRUE(window_->Document().Panorama());
    window_->View()->ScrollTo({Maximum().x(), 0});
    const int start = Scroll().x();
    Key(Qt::Key_I);
    for (int k = 0; k < 6; ++k) Key(Qt::Key_Up);
    // Past the end it comes round to the picture's start.
    ASSERT_TRUE(WaitFor([&] { return Scroll().x() < start; }));
    Key(Qt::Key_P);
    EXPECT_FALSE(window_->Document().Panorama());
    Key(Qt::Key_Escape);
    EXPECT_TRUE(Still());
}

TEST_F(AutoScrollTest, VerticalScrollingAndALeftClickEndsIt) {
    Open(200, 1500);
    ASSERT_GT(Maximum().y(), 0);
    ASSERT_EQ(Maximum().x(), 0);
    // Horizontally the picture fits: nothing moves.
    const QPoint start = Scroll();
    Key(Qt::Key_I);
    EXPECT_TRUE(Still());
    EXPECT_EQ(Scroll(), start);
    Key(Qt::Key_I, Qt::ShiftModifier);
    ASSERT_TRUE(WaitFor([&] { return Scroll().y() != start.y(); }));
    QWidget* pane = window_->View()->Pane(1);
    QTest::mouseClick(pane, Qt::LeftButton, Qt::NoModifier, pane->rect().center());
    Settle(2);
    EXPECT_TRUE(Still());
    EXPECT_EQ(Scroll().x(), 0);
}

}  // namespace
}  // namespace duplora
