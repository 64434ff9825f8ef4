// The panes paint only their visible part, made once per view: what they show must still be
// the display picture pixel for pixel.
#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

#include "app/shell/settings_store.h"
#include "app/stereo/view_layout.h"
#include "core/stereo/display_composer.h"
#include "gui/shell/main_window.h"
#include "gui/stereo/pane_picture.h"
#include "gui/stereo/view_widget.h"
#include "gui_test_main.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeNoise;
using test::PixelAt;
using test::Rgb;
using test::Settle;

// A small picture is centred in a larger pane over the background; a large one is cut at
// the origin; the panorama copy continues after the right end.
TEST(PanePicture, CentresCutsAndWraps) {
    const ImageBuffer a = MakeNoise(30, 20, 1), b = MakeNoise(30, 20, 2);
    CompositionInput in;
    in.first = &a;
    in.second = &b;
    in.mode = DisplayMode::ColourAnaglyph;
    DisplayComposer composer;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    const ImageBuffer& whole = composer.Composite();
    const QColor background(10, 20, 30);

    struct Case {
        QSize client;
        QPoint origin;
        std::optional<int> wrapX;
    } cases[] = {{{50, 40}, {-10, -10}, {}}, {{12, 9}, {7, 4}, {}}, {{25, 20}, {20, 0}, 10}};
    for (const Case& c : cases) {
        PanePicture pane;
        QImage screen(c.client, QImage::Format_RGB32);
        screen.fill(Qt::white);
        {
            QPainter painter(&screen);
            pane.Paint(painter, QRect(QPoint(0, 0), c.client), composer,
                       DisplayComposer::kComposite, c.client, c.origin, c.wrapX, background);
        }
        for (int y = 0; y < c.client.height(); ++y)
            for (int x = 0; x < c.client.width(); ++x) {
                int px = x + c.origin.x();
                const int py = y + c.origin.y();
                if (c.wrapX && x >= *c.wrapX) px = x - *c.wrapX;
                const bool inside = px >= 0 && px < 30 && py >= 0 && py < 20;
                const QRgb expected = inside ? Rgb(PixelAt(whole, px, py)) : background.rgb();
                ASSERT_EQ(screen.pixel(x, y), expected) << x << "," << y;
            }
        // Painting the same again, or a part of it, makes nothing new.
        QPainter painter(&screen);
        pane.Paint(painter, QRect(1, 1, 3, 3), composer, DisplayComposer::kComposite, c.client,
                   c.origin, c.wrapX, background);
        EXPECT_EQ(pane.Builds(), 1);
    }
}

using ViewPaintTest = test::SamplePairTest;

TEST_F(ViewPaintTest, APaneIsMadeOncePerViewAtItsOwnSize) {
    MainWindow& w = *window_;
    w.ExecuteCommand(CmdGreyRedCyan);
    w.ExecuteCommand(CmdZoom200);
    Settle();
    QWidget* pane = w.View()->Pane(0);
    const PanePicture& made = w.View()->PanePictureOf(0);
    pane->repaint();
    const int builds = made.Builds();
    // The pane's size, not the picture's (1280 × 960 at 200 %).
    EXPECT_EQ(made.Image().size(), pane->size());
    EXPECT_LT(pane->width(), 1280);
    pane->repaint();
    pane->repaint();
    EXPECT_EQ(made.Builds(), builds);

    // A scroll makes it anew, and it shows the picture from the new place.
    w.View()->horizontalScrollBar()->setValue(123);
    w.View()->verticalScrollBar()->setValue(45);
    Settle();
    pane->repaint();
    EXPECT_GT(made.Builds(), builds);
    ASSERT_EQ(Scroll(), QPoint(123, 45));
    test::ExpectPaneShows(pane, w.Composer().Composite(), Scroll(), {13, 11});

    // An alignment step changes the composite: the pane follows.
    const int before = made.Builds();
    w.ExecuteCommand(CmdAlignLeft);
    pane->repaint();
    EXPECT_GT(made.Builds(), before);
    test::ExpectPaneShows(pane, w.Composer().Composite(), Scroll(), {19, 17});
}

TEST_F(ViewPaintTest, ScrollingMovesThePaneAndMakesTheNewStrips) {
    MainWindow& w = *window_;
    for (const CommandId mode : {CmdColourAnaglyph, CmdInterlace, CmdSideBySide}) {
        w.ExecuteCommand(mode);
        w.ExecuteCommand(CmdZoom200);
        Settle();
        const int index = mode == CmdSideBySide ? 2 : 0;
        QWidget* pane = w.View()->Pane(index);
        const ImageBuffer& picture = w.Composer().Get(static_cast<DisplayComposer::Picture>(index));
        ASSERT_TRUE(picture);
        // Small steps every way (odd ones for the interlace parity), a step larger than the
        // pane, and back to the start.
        for (const QPoint step : {QPoint(7, 0), QPoint(0, 5), QPoint(-3, -2), QPoint(40, 31),
                                  QPoint(600, 0), QPoint(13, -40), QPoint(-2000, -2000)}) {
            SCOPED_TRACE(testing::Message()
                         << "mode " << mode << " step " << step.x() << "," << step.y());
            w.View()->ScrollTo(Scroll() + step);
            Settle();
            const int screenY = pane->mapToGlobal(QPoint(0, 0)).y();
            const int originY = mode == CmdInterlace
                                    ? InterlaceOriginY(Scroll().y(), screenY, picture.Height())
                                    : Scroll().y();
            test::ExpectPaneShows(pane, picture, QPoint(Scroll().x(), originY), {5, 3});
        }
    }
}

TEST_F(ViewPaintTest, PanoramaPaneContinuesWithTheLeftEnd) {
    MainWindow& w = *window_;
    w.ExecuteCommand(CmdZoom200);
    w.ExecuteCommand(CmdPanorama);
    Settle();
    ASSERT_TRUE(w.Document().Panorama());
    // Dragging wraps the scroll position past the scroll bar's end.
    const ImageBuffer& picture = w.Composer().FirstView();
    w.Document().SetScroll(picture.Width() - 100, 0);
    Settle();
    QWidget* pane = w.View()->Pane(1);
    const auto second = PanoramaSecondCopyX(picture.Width(), pane->width(), Scroll().x());
    ASSERT_TRUE(second.has_value());
    test::ExpectPaneShows(pane, picture, Scroll(), {7, 23}, second);
}

}  // namespace
}  // namespace duplora
