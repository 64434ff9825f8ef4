// The window comes back where the user left it: size, maximised state and the toolbar; its
// pictures are drawn sharp at any scale; long work shows a bar and stops when asked.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <vector>

#include "app/shell/menu_rules.h"
#include "gui/shell/toolbar_icons.h"
#include "gui_test_main.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using WindowPlaceTest = test::WindowTest;

TEST_F(WindowPlaceTest, SizeStateAndToolbarComeBackOnTheNextStart) {
    {
        MainWindow first(*store_, host_, {});
        EXPECT_EQ(first.size(), QSize(1000, 700)) << "the first run's default";
        EXPECT_FALSE(first.findChild<QToolBar*>()->isHidden());
    }
    MainWindow& window = Start();
    window.resize(720, 510);
    window.findChild<QToolBar*>()->hide();
    test::Settle();
    ASSERT_TRUE(window.close());

    MainWindow again(*store_, host_, {});
    EXPECT_EQ(again.size(), QSize(720, 510));
    EXPECT_TRUE(again.findChild<QToolBar*>()->isHidden());
    EXPECT_FALSE(again.windowState() & Qt::WindowMaximized);

    again.show();
    again.showMaximized();
    test::Settle();
    again.findChild<QToolBar*>()->show();
    ASSERT_TRUE(again.close());
    MainWindow third(*store_, host_, {});
    EXPECT_TRUE(third.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(third.findChild<QToolBar*>()->isHidden());
}

// Thirty-four distinct 16 × 15 pictures, drawn anew at twice the size rather than scaled up.
TEST(ToolbarPictures, DistinctAndDrawnAnewAtTwiceTheSize) {
    std::vector<QImage> pictures;
    int drawnFiner = 0;
    for (int i = 0; i < kToolbarPictureCount; ++i) {
        const QImage one = ToolbarPicture(i), two = ToolbarPicture(i, 2);
        ASSERT_EQ(one.size(), QSize(16, 15)) << i;
        int drawn = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x) drawn += qAlpha(one.pixel(x, y)) != 0;
        EXPECT_GT(drawn, 20) << "picture " << i << " is nearly empty";
        for (const QImage& other : pictures) EXPECT_NE(one, other) << i;
        pictures.push_back(one);
        ASSERT_EQ(two.size(), QSize(32, 30)) << i;
        // A picture scaled up from 16 × 15 has every 2 × 2 block in one colour; a drawing
        // made at the larger size has edges inside some block (unless it is all upright
        // boxes on the grid).
        bool finer = false;
        for (int y = 0; y < 30 && !finer; y += 2)
            for (int x = 0; x < 32 && !finer; x += 2)
                finer = two.pixel(x, y) != two.pixel(x + 1, y + 1);
        drawnFiner += finer;
        EXPECT_FALSE(ToolbarIcon(i).pixmap(QSize(32, 30)).isNull()) << i;
    }
    EXPECT_GE(drawnFiner, kToolbarPictureCount / 2);
    EXPECT_TRUE(ToolbarPicture(34).isNull());
    EXPECT_EQ(ToolbarStrip().size(), QSize(544, 15));
    EXPECT_FALSE(ProgramIcon().pixmap(QSize(256, 256)).isNull());
}

// Opening a large picture shows the bar and "Abbrechen"; the button or Escape stops it, and
// the window stays as it was, without a message.
TEST_F(WindowPlaceTest, LongWorkShowsItsBarAndStopsOnTheButtonOrEscape) {
    const std::string big = dir_.filePath(QStringLiteral("big.bmp")).toStdString();
    ASSERT_TRUE(test::WriteBmpForTest(test::MakeNoise(3000, 2000, 7), big));
    MainWindow& window = Start();
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("workBar"));
    auto* stop = window.findChild<QPushButton*>(QStringLiteral("stopWork"));
    ASSERT_TRUE(bar && stop);
    EXPECT_FALSE(stop->isVisible());
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Escape" : "the button");
        bool stopped = false;
        // At the first report the user's click or key is on its way: it arrives while the
        // work lets the window answer.
        const QMetaObject::Connection watch =
            QObject::connect(bar, &QProgressBar::valueChanged, [&] {
                if (stopped || !stop->isVisible()) return;
                stopped = true;
                QWidget* to = byKey ? static_cast<QWidget*>(&window) : stop;
                const QPointF at = QRectF(stop->rect()).center();
                if (byKey) {
                    QCoreApplication::postEvent(
                        to, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
                } else {
                    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                        QCoreApplication::postEvent(
                            to, new QMouseEvent(type, at, stop->mapToGlobal(at), Qt::LeftButton,
                                                type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                 : Qt::NoButton,
                                                Qt::NoModifier));
                }
            });
        const int told = host_.Count();
        host_.QueueTyping(QString::fromStdString(big));
        window.ExecuteCommand(CmdOpenSingle);
        QObject::disconnect(watch);
        // The bar goes once the window is idle again.
        for (int wait = 0; wait < 100 && window.Working(); ++wait) QTest::qWait(10);
        EXPECT_TRUE(stopped) << "the bar never showed";
        EXPECT_FALSE(window.Document().BothLoaded());
        EXPECT_EQ(host_.Count(), told + 1)
            << "only the file dialog: " << host_.LastText().toStdString();
        EXPECT_FALSE(stop->isVisible());
        EXPECT_FALSE(window.Working());
    }
}

}  // namespace
}  // namespace duplora
