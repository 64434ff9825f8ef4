#include "gui/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "app/shell/menu_rules.h"
#include "app/stereo/navigator.h"
#include "app/stereo/view_layout.h"
#include "app/stereo/zoom.h"
#include "core/formats/load_chain.h"
#include "gui/shell/dialogs.h"
#include "gui/shell/toolbar_icons.h"
#include "gui/stereo/navigator_window.h"
#include "gui/stereo/view_widget.h"
#include "gui_test_main.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::PixelAt;
using test::SampleExists;
using test::SamplePath;

const char* const kLeft = "pairs/sugarshack_l.jpg";
const char* const kRight = "pairs/sugarshack_r.jpg";
const char* const kSideBySide = "single-file/calf-left-right.jpg";

void Settle(int rounds = 8) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
    }
}

QRgb Rgb(std::uint32_t rrggbb) {
    return 0xFF000000u | rrggbb;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        store_ = std::make_unique<SettingsStore>(dir_.filePath(QStringLiteral("duplmaker.ini")));
        dialogs::ResetSkipped();
    }
    void TearDown() override {
        window_.reset();
        dialogs::ResetSkipped();
    }

    bool HaveSamples() const {
        return SampleExists(kLeft) && SampleExists(kRight) && SampleExists(kSideBySide);
    }

    MainWindow& Start(CommandLinePaths paths = {}, bool sample = false) {
        StartOptions options;
        options.commandLine = std::move(paths);
        options.samplePairWhenEmpty = sample;
        window_ = std::make_unique<MainWindow>(*store_, options);
        window_->resize(1000, 700);
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        Settle();
        return *window_;
    }

    // The sugar-shack pair from the command line: the second argument is the left view.
    MainWindow& StartWithPair() { return Start({SamplePath(kRight), SamplePath(kLeft)}); }

    void Drop(const QStringList& files) {
        QList<QUrl> urls;
        for (const QString& file : files) urls << QUrl::fromLocalFile(file);
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &drop);
        Settle();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window_.get(), key, modifiers);
        Settle(2);
    }

    QString Status(int part) const { return window_->StatusText(part); }

    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<MainWindow> window_;
};

// ---- start, menus and toolbar -----------------------------------------------------------------

TEST_F(MainWindowTest, StartsEmptyWithTheStartMenuAndOnlyTheOpenButtons) {
    MainWindow& w = Start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Duplora"));
    EXPECT_EQ(w.LoadedMenu(), MainMenu::Syoki);
    EXPECT_EQ(w.menuBar()->objectName(), QStringLiteral("SYOKI"));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Status(i).isEmpty());
    for (const ToolButton& button : ToolbarButtons()) {
        if (button.command == CmdNone) continue;
        const bool open = button.command == CmdOpenStereo || button.command == CmdOpenLeftRight;
        EXPECT_EQ(w.ToolbarAction(button.command)->isEnabled(), open) << button.command;
    }
    for (const QWidget* pane : {w.View()->Pane(0), w.View()->Pane(1), w.View()->Pane(2)})
        EXPECT_FALSE(pane->isVisible());
}

TEST_F(MainWindowTest, ToolbarFollowsTheTableWithTooltipsPicturesAndDropDowns) {
    MainWindow& w = Start();
    const QToolBar* toolbar = w.findChild<QToolBar*>(QStringLiteral("ctl800"));
    ASSERT_NE(toolbar, nullptr);
    const QList<QAction*> actions = toolbar->actions();
    const auto buttons = ToolbarButtons();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(buttons.size()));
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const ToolButton& b = buttons[i];
        QAction* action = actions[static_cast<qsizetype>(i)];
        if (b.command == CmdNone) {
            EXPECT_TRUE(action->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(action, w.ToolbarAction(b.command));
        EXPECT_FALSE(action->toolTip().isEmpty()) << b.command;
        EXPECT_FALSE(action->icon().isNull()) << b.command;
        EXPECT_EQ(action->isCheckable(), b.style == ToolButtonStyle::Check);
        EXPECT_EQ(w.ToolbarDropDown(b.command) != nullptr, b.style == ToolButtonStyle::DropDown);
    }
    EXPECT_EQ(w.ToolbarAction(CmdBorder)->toolTip(), QStringLiteral("Zeige/Verberge Rahmen"));
    EXPECT_EQ(w.ToolbarAction(CmdOpenLeftRight)->toolTip(),
              QStringLiteral("Linkes/Rechtes Bild öffnen..."));
    EXPECT_EQ(w.ToolbarAction(CmdPanorama)->toolTip(), QStringLiteral("360° Panorama Modus"));

    QMenu* zoom = w.ToolbarDropDown(CmdZoom100);
    ASSERT_NE(zoom, nullptr);
    QStringList texts;
    for (QAction* a : zoom->actions()) texts << a->text();
    EXPECT_EQ(texts, QStringList({"&50% Größe", "&75% Größe", "1&00% Größe", "&150% Größe",
                                  "&200% Größe"}));
}

TEST(ToolbarPictures, ThirtyFourDistinctSixteenByFifteenPictures) {
    std::vector<QImage> pictures;
    for (int i = 0; i < kToolbarPictureCount; ++i) {
        const QImage picture = ToolbarPicture(i);
        ASSERT_EQ(picture.size(), QSize(16, 15)) << i;
        int drawn = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x) drawn += qAlpha(picture.pixel(x, y)) != 0;
        EXPECT_GT(drawn, 20) << "picture " << i << " is nearly empty";
        for (const QImage& other : pictures) EXPECT_NE(picture, other) << i;
        pictures.push_back(picture);
    }
    EXPECT_TRUE(ToolbarPicture(34).isNull());
    EXPECT_EQ(ToolbarStrip().size(), QSize(544, 15));
}

// ---- opening ------------------------------------------------------------------------------------

TEST_F(MainWindowTest, CommandLinePairOpensWithTheSecondArgumentAsTheLeftView) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    StereoDocument& doc = w.Document();
    ASSERT_TRUE(doc.BothLoaded());
    EXPECT_EQ(doc.Left().path, SamplePath(kLeft));
    EXPECT_EQ(doc.Right().path, SamplePath(kRight));
    EXPECT_EQ(w.LoadedMenu(), MainMenu::Duplora);
    EXPECT_EQ(doc.Mode(), DisplayMode::SideBySide);
    EXPECT_EQ(w.FitModeNow(), 1);  // a command-line start without a display setting fits

    Key(Qt::Key_O);  // 100 %
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Linkes Bild(sugarshack_l.jpg [640 x 480]) Rechtes "
                                              "Bild(sugarshack_r.jpg [640 x 480])  (5/6)  "));
    EXPECT_EQ(Status(0), QStringLiteral("Bildgröße nach Ausrichtung[640 x 480]"));
    EXPECT_EQ(Status(1), QStringLiteral("Position Ausrichtung(x = 0 y = 0)"));
    EXPECT_EQ(Status(2), QStringLiteral("Bildgröße [640 x 480]  Zoom(100 %)"));

    // Every toolbar button but undo and redo.
    for (const auto& button : ToolbarButtons()) {
        if (button.command == CmdNone) continue;
        const bool expected = button.command != CmdUndo && button.command != CmdRedo;
        EXPECT_EQ(w.ToolbarAction(button.command)->isEnabled(), expected) << button.command;
    }
}

TEST_F(MainWindowTest, FitToWindowIsTheLargestZoomWhosePicturesFitTheirPanes) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(CmdZoom200);  // scroll bars first, to see them go
    for (CommandId mode : {CmdSideBySide, CmdOverUnder, CmdThreeViews, CmdGreyAnaglyph}) {
        w.ExecuteCommand(mode);
        w.ExecuteCommand(CmdFitWindow);
        Settle();
        const int z = w.Document().ZoomPercent();
        const QSize view = w.View()->size();
        const int f = 2 * w.Document().FrameWidth();
        QSize room(view.width() - f, view.height() - f);
        if (mode == CmdSideBySide || mode == CmdThreeViews) room.setWidth(view.width() / 2 - f);
        if (mode == CmdOverUnder || mode == CmdThreeViews) room.setHeight(view.height() / 2 - f);
        EXPECT_LE(640 * z / 100, room.width()) << mode;
        EXPECT_LE(480 * z / 100, room.height()) << mode;
        // The fit's integer steps may stop one percent short, never more.
        EXPECT_TRUE(640 * (z + 2) / 100 > room.width() || 480 * (z + 2) / 100 > room.height())
            << mode;
        EXPECT_EQ(w.View()->Pan(), PanState::Fits) << mode;
        EXPECT_FALSE(w.View()->horizontalScrollBar()->isVisible()) << mode;
        EXPECT_FALSE(w.View()->verticalScrollBar()->isVisible()) << mode;
        EXPECT_EQ(Status(2), QStringLiteral("Bildgröße [%1 x %2]  Zoom(%3 %)")
                                 .arg(640 * z / 100)
                                 .arg(480 * z / 100)
                                 .arg(z));
    }
}

TEST_F(MainWindowTest, StartWithoutFilesShowsTheSamplePair) {
    MainWindow& w = Start({}, true);
    ASSERT_TRUE(w.Document().BothLoaded());
    EXPECT_EQ(w.Document().Mode(), DisplayMode::SideBySide);
    EXPECT_EQ(w.LoadedMenu(), MainMenu::Duplora);
    EXPECT_TRUE(w.View()->Pane(1)->isVisible());
    EXPECT_TRUE(w.View()->Pane(2)->isVisible());
    EXPECT_FALSE(w.Document().Modified());
    EXPECT_EQ(w.FitModeNow(), 1);
}

TEST_F(MainWindowTest, DroppedFilesOpenTheSecondAsTheLeftView) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = Start();
    Drop({QString::fromStdString(SamplePath(kRight)), QString::fromStdString(SamplePath(kLeft))});
    ASSERT_TRUE(w.Document().BothLoaded());
    EXPECT_EQ(w.Document().Left().path, SamplePath(kLeft));
    EXPECT_EQ(w.Document().Right().path, SamplePath(kRight));
    EXPECT_EQ(w.LoadedMenu(), MainMenu::Duplora);
    // A drop is no command-line start: fitted to the window.
    EXPECT_EQ(w.FitModeNow(), 1);
}

TEST_F(MainWindowTest, DroppedSideBySideFileIsCutIntoItsHalvesAndPaintedOneToOne) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = Start();
    Drop({QString::fromStdString(SamplePath(kSideBySide))});
    ASSERT_TRUE(w.Document().BothLoaded());
    Key(Qt::Key_O);
    EXPECT_EQ(w.windowTitle(),
              QStringLiteral("Linkes Bild(calf-left-right.jpg - Links [1920 x 1080]) Rechtes "
                             "Bild(calf-left-right.jpg - Rechts [1920 x 1080])  (1/7)  "));
    EXPECT_EQ(Status(0), QStringLiteral("Bildgröße nach Ausrichtung[1920 x 1080]"));
    EXPECT_EQ(Status(2), QStringLiteral("Bildgröße [1920 x 1080]  Zoom(100 %)"));

    // The views are the file's halves, and the panes show them pixel for pixel from the
    // scroll position.
    const LoadedImage source = LoadImageFile(SamplePath(kSideBySide));
    ASSERT_TRUE(source.loaded);
    const ImageBuffer& first = w.Composer().FirstView();
    const ImageBuffer& second = w.Composer().SecondView();
    for (const QPoint p : {QPoint(0, 0), QPoint(1919, 1079), QPoint(777, 333)}) {
        EXPECT_EQ(PixelAt(first, p.x(), p.y()), PixelAt(source.image, p.x(), p.y()));
        EXPECT_EQ(PixelAt(second, p.x(), p.y()), PixelAt(source.image, 1920 + p.x(), p.y()));
    }
    // Scroll somewhere in the middle and compare what the panes paint.
    w.View()->horizontalScrollBar()->setValue(300);
    w.View()->verticalScrollBar()->setValue(200);
    Settle();
    const QPoint scroll(w.Document().ScrollX(), w.Document().ScrollY());
    EXPECT_EQ(scroll, QPoint(300, 200));
    for (int pane = 1; pane <= 2; ++pane) {
        const ImageBuffer& picture = pane == 1 ? first : second;
        const QImage shown = w.View()->Pane(pane)->grab().toImage();
        ASSERT_FALSE(shown.isNull());
        for (int y = 0; y < shown.height(); y += 37)
            for (int x = 0; x < shown.width(); x += 29)
                ASSERT_EQ(shown.pixel(x, y), Rgb(PixelAt(picture, scroll.x() + x, scroll.y() + y)))
                    << "pane " << pane << " at " << x << "," << y;
    }
}

TEST_F(MainWindowTest, SinglePictureLoadsTheSingleMenuAndToolbarSet) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    dialogs::QueueFiles({QString::fromStdString(SamplePath(kLeft))});
    w.ExecuteCommand(CmdOpenSingle);
    Settle();
    EXPECT_EQ(dialogs::LastSkippedCaption(), QStringLiteral("Monobild öffnen"));
    EXPECT_TRUE(w.Document().SingleImageMode());
    EXPECT_EQ(w.Document().Mode(), DisplayMode::Single);
    EXPECT_EQ(w.LoadedMenu(), MainMenu::DuploraSgl);
    Key(Qt::Key_O);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Bild(sugarshack_l.jpg [640 x 480]) (5/6)"));
    EXPECT_TRUE(Status(0).isEmpty());
    EXPECT_TRUE(Status(1).isEmpty());
    EXPECT_EQ(Status(2), QStringLiteral("Bildgröße [640 x 480]  Zoom(100 %)"));
    EXPECT_FALSE(w.ToolbarAction(CmdSwap)->isEnabled());
    EXPECT_FALSE(w.ToolbarAction(CmdSideBySide)->isEnabled());
    EXPECT_TRUE(w.ToolbarAction(CmdFitWindow)->isEnabled());
    EXPECT_TRUE(w.ToolbarAction(CmdBorder)->isEnabled());
    EXPECT_TRUE(w.View()->Pane(0)->isVisible());
    EXPECT_FALSE(w.View()->Pane(1)->isVisible());

    // Swapping and the display modes do nothing here.
    Key(Qt::Key_X);
    Key(Qt::Key_F9);
    EXPECT_EQ(w.Document().Mode(), DisplayMode::Single);
    EXPECT_FALSE(w.Document().Swapped());

    // A pair afterwards brings the stereo menu and buttons back, side by side.
    dialogs::QueueFiles(
        {QString::fromStdString(SamplePath(kLeft)), QString::fromStdString(SamplePath(kRight))});
    w.ExecuteCommand(CmdOpenLeftRight);
    Settle();
    EXPECT_FALSE(w.Document().SingleImageMode());
    EXPECT_EQ(w.LoadedMenu(), MainMenu::Duplora);
    EXPECT_EQ(w.Document().Mode(), DisplayMode::SideBySide);
    EXPECT_TRUE(w.ToolbarAction(CmdSwap)->isEnabled());
}

TEST_F(MainWindowTest, LeftRightDialogOffersThePartnerFile) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = Start();
    dialogs::QueueFiles({QString::fromStdString(SamplePath(kRight))});
    dialogs::QueueButton(QMessageBox::Yes);
    w.ExecuteCommand(CmdOpenLeftRight);
    Settle();
    EXPECT_EQ(dialogs::LastSkippedText(),
              QString::fromStdString("Öffne '" + SamplePath(kLeft) + "' als Stereopaar?"));
    EXPECT_EQ(dialogs::LastSkippedCaption(), QStringLiteral("Bestätigung"));
    // The chosen file is the left view, its partner the right one.
    EXPECT_EQ(w.Document().Left().path, SamplePath(kRight));
    EXPECT_EQ(w.Document().Right().path, SamplePath(kLeft));
}

TEST_F(MainWindowTest, OpeningsGoIntoTheFileHistoryMenu) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    QMenu* file = w.menuBar()->findChild<QMenu*>(QStringLiteral("STFILE"));
    ASSERT_NE(file, nullptr);
    QMetaObject::invokeMethod(file, "aboutToShow", Qt::DirectConnection);
    QStringList history;
    for (QAction* a : file->actions())
        if (a->property("historyItem").toBool() && !a->isSeparator()) history << a->text();
    EXPECT_EQ(history, QStringList({QString::fromStdString(SamplePath(kLeft)) +
                                    QStringLiteral("/sugarshack_r.jpg")}));
    EXPECT_EQ(store_->ReadSetting("FileHistory0"), SamplePath(kLeft));
    EXPECT_EQ(store_->ReadSetting("FileHistory1"), SamplePath(kRight));

    // Opening it again from the menu keeps one entry.
    w.ExecuteCommand(CmdHistory1);
    Settle();
    EXPECT_EQ(w.Document().Left().path, SamplePath(kLeft));
    EXPECT_TRUE(store_->ReadSetting("FileHistory2").empty());
}

// ---- keys, wheel and mouse
// ------------------------------------------------------------------------

TEST_F(MainWindowTest, ArrowKeysAlignAndTheStatusBarFollows) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    Key(Qt::Key_O);
    Key(Qt::Key_Left);
    EXPECT_EQ(w.Document().Dx(), 4);
    EXPECT_EQ(Status(0), QStringLiteral("Bildgröße nach Ausrichtung[636 x 480]"));
    EXPECT_EQ(Status(1), QStringLiteral("Position Ausrichtung(x = -4 y = 0)"));
    EXPECT_EQ(Status(2), QStringLiteral("Bildgröße [636 x 480]  Zoom(100 %)"));
    Key(Qt::Key_Up);
    EXPECT_EQ(w.Document().Dy(), -4);
    EXPECT_EQ(Status(1), QStringLiteral("Position Ausrichtung(x = -4 y = 4)"));
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(w.Document().Dx(), -4);
    EXPECT_EQ(w.Document().Dy(), 0);
    Key(Qt::Key_Home);
    EXPECT_EQ(Status(1), QStringLiteral("Position Ausrichtung(x = 0 y = 0)"));
    EXPECT_FALSE(w.Document().Modified());
}

TEST_F(MainWindowTest, KeysSwitchDisplayModesZoomAndSwap) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    const struct {
        Qt::Key key;
        DisplayMode mode;
    } modes[] = {{Qt::Key_F4, DisplayMode::Interlace},      {Qt::Key_F6, DisplayMode::GreyAnaglyph},
                 {Qt::Key_F7, DisplayMode::ColourAnaglyph}, {Qt::Key_F5, DisplayMode::ThreeViews},
                 {Qt::Key_F10, DisplayMode::OverUnder},     {Qt::Key_F9, DisplayMode::SideBySide}};
    for (const auto& m : modes) {
        Key(m.key);
        EXPECT_EQ(w.Document().Mode(), m.mode);
    }
    Key(Qt::Key_O);
    Key(Qt::Key_F2);
    EXPECT_EQ(w.Document().ZoomPercent(), 110);
    Key(Qt::Key_F3);
    EXPECT_EQ(w.Document().ZoomPercent(), 100);
    EXPECT_EQ(w.FitModeNow(), 0);
    Key(Qt::Key_Left);
    Key(Qt::Key_X);
    EXPECT_TRUE(w.Document().Swapped());
    EXPECT_EQ(w.Document().Left().path, SamplePath(kRight));
    EXPECT_EQ(w.Document().Dx(), -4);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Linkes Bild(sugarshack_r.jpg [640 x 480]) Rechtes "
                                              "Bild(sugarshack_l.jpg [640 x 480])  (5/6)  "));
    Key(Qt::Key_F);
    EXPECT_EQ(w.FitModeNow(), 1);
}

TEST_F(MainWindowTest, GreyAnaglyphDropDownChoicesCarryTheCheckMark) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(CmdGreyYellowBlue);
    EXPECT_EQ(w.Document().Mode(), DisplayMode::GreyAnaglyph);
    QMenu* grey = w.ToolbarDropDown(CmdGreyAnaglyph);
    ASSERT_NE(grey, nullptr);
    QMetaObject::invokeMethod(grey, "aboutToShow", Qt::DirectConnection);
    for (QAction* a : grey->actions()) {
        if (!a->isCheckable()) continue;
        EXPECT_EQ(a->isChecked(), a->data().toInt() == CmdGreyYellowBlue) << a->data().toInt();
    }
    Key(Qt::Key_F9);
    Key(Qt::Key_F6);  // keeps the pair
    EXPECT_EQ(w.Document().GreyPair(), 3);
}

TEST_F(MainWindowTest, WheelZoomsInAwayFromTheUserAndOutTowardsThem) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    Key(Qt::Key_O);
    auto wheel = [&](int delta) {
        QWidget* target = w.View()->viewport();
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
        Settle(2);
    };
    wheel(120);
    EXPECT_EQ(w.Document().ZoomPercent(), 110);
    wheel(120);
    EXPECT_EQ(w.Document().ZoomPercent(), 121);
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(w.Document().ZoomPercent(), 100);
    wheel(-120);
    EXPECT_EQ(w.Document().ZoomPercent(), 90);
    EXPECT_EQ(Status(2), QStringLiteral("Bildgröße [576 x 432]  Zoom(90 %)"));
}

TEST_F(MainWindowTest, DraggingALargePicturePansBothPanes) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(CmdZoom200);
    Settle();
    ViewWidget* view = w.View();
    ASSERT_EQ(view->Pan(), PanState::Both);
    QWidget* pane = view->Pane(1);
    const QPoint centre = pane->rect().center();
    const QPoint before(w.Document().ScrollX(), w.Document().ScrollY());
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, centre);
    QMouseEvent move(QEvent::MouseMove, QPointF(centre - QPoint(30, 20)),
                     pane->mapToGlobal(QPointF(centre - QPoint(30, 20))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane, &move);
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, centre - QPoint(30, 20));
    Settle();
    EXPECT_EQ(QPoint(w.Document().ScrollX(), w.Document().ScrollY()), before + QPoint(30, 20));
    EXPECT_EQ(view->horizontalScrollBar()->value(), w.Document().ScrollX());
    EXPECT_EQ(view->verticalScrollBar()->value(), w.Document().ScrollY());
    // Both panes show the same place of their pictures.
    const QImage left = view->Pane(1)->grab().toImage();
    EXPECT_EQ(left.pixel(5, 5), Rgb(PixelAt(w.Composer().FirstView(), w.Document().ScrollX() + 5,
                                            w.Document().ScrollY() + 5)));
}

TEST_F(MainWindowTest, ClickInTheLeftEdgeOfAFittedPaneStepsBack) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    ASSERT_EQ(w.View()->Pan(), PanState::Fits);
    QWidget* pane = w.View()->Pane(1);
    QTest::mouseClick(pane, Qt::LeftButton, Qt::NoModifier, QPoint(2, pane->height() / 2));
    Settle();
    // The pair two entries back in the folder: frozenpond_r and gx8_l come before it.
    EXPECT_EQ(w.Document().Left().path, SamplePath("pairs/gx8_l.jpg"));
    EXPECT_EQ(w.Document().Right().path, SamplePath("pairs/gx8_r.jpg"));
    EXPECT_EQ(w.Folder().index, 2);
}

// ---- pane layout and painting
// ---------------------------------------------------------------------

struct LayoutCase {
    CommandId command;
    int wcent;
};

class PaneLayoutTest : public MainWindowTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(PaneLayoutTest, PanesAreWhereTheLayoutPutsThem) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    store_->WriteSetting("nWcent", std::to_string(GetParam().wcent));
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(GetParam().command);
    w.ExecuteCommand(CmdZoom50);
    Settle();
    const int mode = static_cast<int>(w.Document().Mode());
    std::array<QSize, 3> sizes;
    for (int i = 0; i < 3; ++i) {
        const ImageBuffer& p = w.Composer().Get(static_cast<DisplayComposer::Picture>(i));
        sizes[i] = p ? QSize(p.Width(), p.Height()) : QSize(0, 0);
    }
    const PaneLayout expected = LayoutPanes(mode, GetParam().wcent, w.View()->viewport()->size(),
                                            w.Document().FrameWidth(), sizes);
    for (int i = 0; i < 3; ++i) {
        if (!PaneShown(mode, i)) {
            EXPECT_FALSE(w.View()->Pane(i)->isVisible()) << i;
            continue;
        }
        EXPECT_TRUE(w.View()->Pane(i)->isVisible()) << i;
        EXPECT_EQ(w.View()->PaneRect(i), expected.panes[i]) << "pane " << i;
        // At 50 % the whole picture fits: the pane is the picture's size.
        EXPECT_EQ(w.View()->PaneRect(i).size(), sizes[i]) << "pane " << i;
    }
    EXPECT_EQ(w.View()->Pan(), PanState::Fits);
}

INSTANTIATE_TEST_SUITE_P(
    EveryModeBothPackings, PaneLayoutTest,
    ::testing::Values(LayoutCase{CmdSideBySide, 0}, LayoutCase{CmdSideBySide, 1},
                      LayoutCase{CmdOverUnder, 0}, LayoutCase{CmdOverUnder, 1},
                      LayoutCase{CmdThreeViews, 0}, LayoutCase{CmdThreeViews, 1},
                      LayoutCase{CmdInterlace, 0}, LayoutCase{CmdInterlace, 1},
                      LayoutCase{CmdGreyAnaglyph, 0}, LayoutCase{CmdColourAnaglyph, 1}));

TEST_F(MainWindowTest, PackedSideBySidePanesMeetAtTheCentreLine) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    store_->WriteSetting("nWcent", "1");
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(CmdZoom50);
    Settle();
    const int half = w.View()->viewport()->width() / 2;
    const int frame = w.Document().FrameWidth();
    EXPECT_EQ(w.View()->PaneRect(1).right() + 1, half - frame);
    EXPECT_EQ(w.View()->PaneRect(2).left(), half + frame);
}

TEST_F(MainWindowTest, InterlacePaneKeepsTheLineParityOfTheScreen) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(CmdInterlace);
    w.ExecuteCommand(CmdZoom200);
    w.View()->verticalScrollBar()->setValue(101);
    Settle();
    QWidget* pane = w.View()->Pane(0);
    const ImageBuffer& picture = w.Composer().Composite();
    ASSERT_TRUE(picture);
    const QImage shown = pane->grab().toImage();
    const int screenY = pane->mapToGlobal(QPoint(0, 0)).y();
    const int originY = InterlaceOriginY(w.Document().ScrollY(), screenY, picture.Height());
    // The origin row is even when the pane's screen line and the picture height have the
    // same parity, odd otherwise; and it is the scroll position or one below it.
    EXPECT_EQ(originY & 1, (screenY & 1) == (picture.Height() & 1) ? 0 : 1);
    EXPECT_GE(originY - w.Document().ScrollY(), 0);
    EXPECT_LE(originY - w.Document().ScrollY(), 1);
    for (int y = 0; y < shown.height() - 1; y += 7)
        for (int x = 0; x < shown.width(); x += 41)
            ASSERT_EQ(shown.pixel(x, y),
                      Rgb(PixelAt(picture, w.Document().ScrollX() + x, originY + y)))
                << x << "," << y;
}

TEST_F(MainWindowTest, GreyAnaglyphPaneShowsTheComposite) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(CmdGreyRedCyan);
    w.ExecuteCommand(CmdZoom100);
    Settle();
    const ImageBuffer& picture = w.Composer().Composite();
    ASSERT_TRUE(picture);
    const QImage shown = w.View()->Pane(0)->grab().toImage();
    const QPoint scroll(w.Document().ScrollX(), w.Document().ScrollY());
    for (int y = 0; y < shown.height(); y += 13)
        for (int x = 0; x < shown.width(); x += 17) {
            const std::uint32_t p = PixelAt(picture, scroll.x() + x, scroll.y() + y);
            ASSERT_EQ(shown.pixel(x, y), Rgb(p));
            // Red/cyan grey anaglyph: green and blue carry the same right-view level.
            ASSERT_EQ((p >> 8) & 0xFF, p & 0xFF);
        }
}

// ---- edits, undo and closing
// ------------------------------------------------------------------------

TEST_F(MainWindowTest, RotateUndoAndRedoWithTheirButtons) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(w.Document().Left().image.Width(), 480);
    EXPECT_EQ(w.Document().Left().image.Height(), 640);
    EXPECT_TRUE(w.Document().Modified());
    EXPECT_TRUE(w.ToolbarAction(CmdUndo)->isEnabled());
    EXPECT_FALSE(w.ToolbarAction(CmdRedo)->isEnabled());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Document().Left().image.Width(), 640);
    EXPECT_FALSE(w.ToolbarAction(CmdUndo)->isEnabled());
    EXPECT_TRUE(w.ToolbarAction(CmdRedo)->isEnabled());
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.Document().Left().image.Width(), 480);
    // Turning left undoes turning right, pixel for pixel.
    Key(Qt::Key_Left, Qt::ShiftModifier);
    const LoadedImage original = LoadImageFile(SamplePath(kLeft));
    EXPECT_TRUE(test::SamePixels(w.Document().Left().image, original.image, "rotated_back"));
}

TEST_F(MainWindowTest, ClosingWithChangesAsksAndCancelKeepsTheWindow) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(CmdRotateRight);
    dialogs::ResetSkipped();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(dialogs::SkippedCount(), 1);
    EXPECT_EQ(dialogs::LastSkippedText(),
              QStringLiteral("Änderungen im Bild [sugarshack.jpg] speichern ?"));
    EXPECT_EQ(dialogs::LastSkippedCaption(), QStringLiteral("sugarshack.jpg"));
    dialogs::QueueButton(QMessageBox::No);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    // Closing stores the last folders.
    EXPECT_EQ(store_->ReadSetting("OpenFolder"), SamplePath("pairs"));
}

TEST_F(MainWindowTest, ClosingWithoutChangesAsksNothing) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(dialogs::SkippedCount(), 0);
}

TEST_F(MainWindowTest, ContextMenuOfAPairAndOfASinglePicture) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = Start();
    EXPECT_EQ(w.BuildContextMenu(), nullptr);  // nothing loaded: no menu
    Drop({QString::fromStdString(SamplePath(kRight)), QString::fromStdString(SamplePath(kLeft))});
    std::unique_ptr<QMenu> pair(w.BuildContextMenu());
    ASSERT_NE(pair, nullptr);
    QStringList titles;
    for (QAction* a : pair->actions())
        titles << (a->menu() ? a->menu()->title() : a->isSeparator() ? "|" : a->text());
    EXPECT_EQ(titles, QStringList({"Vollbild\tV", "Mauszeiger verbergen\tM", "|", "Datei",
                                   "Editieren", "Ansicht", "Stereo", "Asrichten", "Hilfe"}));
    dialogs::QueueFiles({QString::fromStdString(SamplePath(kLeft))});
    w.ExecuteCommand(CmdOpenSingle);
    Settle();
    std::unique_ptr<QMenu> single(w.BuildContextMenu());
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->actions().size(), 2);
}

TEST_F(MainWindowTest, EditMenuEnablesUndoAndNamesTheTrimPresetsWhenItOpens) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    QMenu* edit = w.menuBar()->findChild<QMenu*>(QStringLiteral("STEDIT"));
    ASSERT_NE(edit, nullptr);
    auto item = [&](CommandId command) -> QAction* {
        for (QAction* a : edit->actions())
            if (a->data().toInt() == command) return a;
        return nullptr;
    };
    QMetaObject::invokeMethod(edit, "aboutToShow", Qt::DirectConnection);
    ASSERT_NE(item(CmdUndo), nullptr);
    EXPECT_FALSE(item(CmdUndo)->isEnabled());
    EXPECT_FALSE(item(CmdRedo)->isEnabled());
    EXPECT_TRUE(item(CmdCopy)->isEnabled());
    EXPECT_EQ(item(CmdTrimPreset1)->text(), QStringLiteral("Fester Ausschnitt (640x480)\t1"));
    EXPECT_EQ(item(CmdTrimPreset5)->text(), QStringLiteral("Fester Ausschnitt (1600x1200)\t5"));
    EXPECT_EQ(item(CmdUndo)->text(), QStringLiteral("&Rückgängig\tStrg+Z"));
    w.ExecuteCommand(CmdRotateLeft);
    QMetaObject::invokeMethod(edit, "aboutToShow", Qt::DirectConnection);
    EXPECT_TRUE(item(CmdUndo)->isEnabled());
    // Undo does not hang on the menu's state: the shortcut works whatever the menu showed.
    Key(Qt::Key_Z);
    EXPECT_EQ(w.Document().Left().image.Width(), 640);
}

TEST_F(MainWindowTest, CopyAndPasteMakeAModifiedPairOfTheShownPicture) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    Key(Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(1280, 480));
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(w.Document().BothLoaded());
    EXPECT_TRUE(w.Document().Modified());
    EXPECT_EQ(w.Document().Left().name, "Linkes Bild einfügen");
    EXPECT_EQ(w.Document().Right().name, "Rechtes Bild einfügen");
    const LoadedImage left = LoadImageFile(SamplePath(kLeft));
    EXPECT_TRUE(test::SamePixels(w.Document().Left().image, left.image, "pasted_left"));
}

TEST_F(MainWindowTest, BorderButtonFramesEachPaneInThreeBands) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(CmdBorder);
    w.ExecuteCommand(CmdZoom50);
    Settle();
    EXPECT_EQ(w.CurrentSettings().border.show, 1);
    EXPECT_EQ(w.Document().FrameWidth(), 14);  // 2 + 10 + 2
    EXPECT_EQ(store_->ReadSetting("border"), FormatSetting(w.CurrentSettings(), "border"));
    EXPECT_EQ(store_->ReadSetting("border").front(), '1');
    const QRect pane = w.View()->PaneRect(1);
    const QImage shown = w.View()->viewport()->grab().toImage();
    const int y = pane.center().y();
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
    EXPECT_EQ(shown.pixel(pane.left() - 14, y), white);  // outer
    EXPECT_EQ(shown.pixel(pane.left() - 13, y), white);
    EXPECT_EQ(shown.pixel(pane.left() - 12, y), black);  // middle
    EXPECT_EQ(shown.pixel(pane.left() - 3, y), black);
    EXPECT_EQ(shown.pixel(pane.left() - 2, y), white);  // inner
    EXPECT_EQ(shown.pixel(pane.left() - 1, y), white);
    EXPECT_EQ(shown.pixel(pane.left() - 15, y), black);  // background
    w.ExecuteCommand(CmdBorder);
    EXPECT_EQ(w.Document().FrameWidth(), 5);
}

TEST_F(MainWindowTest, SlideShowRunsOverTheFolderUntilAnotherCommand) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    Key(Qt::Key_S);
    EXPECT_TRUE(w.SlideShowRunning());
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("Slide Show Intervall 3.0 S.")));
    Key(Qt::Key_Left);
    EXPECT_FALSE(w.SlideShowRunning());
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("(5/6)  ")));
}

TEST_F(MainWindowTest, FullScreenShowsTheViewAloneAndEscapeLeaves) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    Key(Qt::Key_V);
    EXPECT_TRUE(w.FullScreen());
    EXPECT_FALSE(w.menuBar()->isVisible());
    EXPECT_FALSE(w.statusBar()->isVisible());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(w.FullScreen());
    EXPECT_TRUE(w.menuBar()->isVisible());
    Key(Qt::Key_Escape);  // nothing to leave
    EXPECT_FALSE(w.FullScreen());
}

TEST_F(MainWindowTest, ReadingAndWritingProgressShowsInTheFirstStatusPart) {
    MainWindow& w = Start();
    ReportProgress(ProgressDirection::Reading, 40);
    EXPECT_EQ(w.StatusText(0), QStringLiteral("lese... 40 %"));
    ReportProgress(ProgressDirection::Writing, 7);
    EXPECT_EQ(w.StatusText(0), QStringLiteral("schreibe... 7 %"));
}

TEST_F(MainWindowTest, NavigatorShowsAThumbnailAndDraggingOnItScrollsTheView) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = StartWithPair();
    w.ExecuteCommand(CmdZoom200);
    Settle();
    NavigatorWindow* navigator = w.Navigator();
    ASSERT_NE(navigator, nullptr);
    EXPECT_FALSE(navigator->isVisible());
    Key(Qt::Key_N);
    ASSERT_TRUE(navigator->isVisible());
    EXPECT_EQ(store_->ReadSetting("nLoc"), "1");
    const QSize picture(1280, 960);  // the left view at 200 %
    EXPECT_EQ(navigator->ThumbnailSize(), NavigatorThumbnailSize(picture, navigator->size()));
    w.View()->horizontalScrollBar()->setValue(0);
    w.View()->verticalScrollBar()->setValue(0);
    Settle();
    const QRect frame = navigator->VisibleFrame();
    EXPECT_EQ(frame.topLeft(), navigator->ThumbnailOffset());  // scrolled to the top-left

    const QPoint from = frame.center();
    const QPoint to = from + QPoint(20, 10);
    QTest::mousePress(navigator, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), navigator->mapToGlobal(QPointF(to)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(navigator, &move);
    QTest::mouseRelease(navigator, Qt::LeftButton, Qt::NoModifier, to);
    const int tw = navigator->ThumbnailSize().width();
    const int th = navigator->ThumbnailSize().height();
    EXPECT_EQ(w.Document().ScrollX(), 20 * picture.width() / tw);
    EXPECT_EQ(w.Document().ScrollY(), 10 * picture.height() / th);
    EXPECT_EQ(w.View()->horizontalScrollBar()->value(), w.Document().ScrollX());

    navigator->close();  // closing is the command too
    Settle();
    EXPECT_FALSE(navigator->isVisible());
    EXPECT_EQ(store_->ReadSetting("nLoc"), "0");
}

// ---- robustness
// -------------------------------------------------------------------------------------

enum class Loaded { Nothing, Pair, Single };

struct RobustCase {
    Loaded loaded;
    unsigned seed;
};

class CommandRobustnessTest : public MainWindowTest,
                              public ::testing::WithParamInterface<RobustCase> {};

TEST_P(CommandRobustnessTest, EveryCommandInRandomOrderNeitherCrashesNorBlocks) {
    const RobustCase c = GetParam();
    if (c.loaded != Loaded::Nothing && !HaveSamples()) GTEST_SKIP() << "samples missing";
    MainWindow& w = c.loaded == Loaded::Pair ? StartWithPair() : Start();
    if (c.loaded == Loaded::Single) {
        dialogs::QueueFiles({QString::fromStdString(SamplePath(kLeft))});
        w.ExecuteCommand(CmdOpenSingle);
        Settle();
        ASSERT_TRUE(w.Document().SingleImageMode());
    }
    const int modalBefore = test::ModalWindowsSeen();
    std::vector<CommandId> commands;
    for (const CommandEntry& entry : CommandTable()) commands.push_back(entry.id);
    // Ids that are no command are ignored too.
    commands.push_back(static_cast<CommandId>(999));
    commands.push_back(static_cast<CommandId>(2040));
    commands.push_back(static_cast<CommandId>(5001));
    std::mt19937 random(c.seed);
    for (int round = 0; round < 2; ++round) {
        std::shuffle(commands.begin(), commands.end(), random);
        for (std::size_t i = 0; i < commands.size(); ++i) {
            w.ExecuteCommand(commands[i]);
            if (i % 8 == 0) Settle(1);
        }
    }
    Settle();
    EXPECT_EQ(test::ModalWindowsSeen(), modalBefore);
    // The window is still consistent: what is loaded is shown.
    if (w.Document().BothLoaded() && w.Document().Left().image) {
        EXPECT_FALSE(w.windowTitle().isEmpty());
        EXPECT_TRUE(
            w.View()->PaneRect(w.Document().Mode() < DisplayMode::Interlace ? 1 : 0).isValid());
    }
}

INSTANTIATE_TEST_SUITE_P(
    ThreeStatesThreeSeeds, CommandRobustnessTest,
    ::testing::Values(RobustCase{Loaded::Nothing, 1}, RobustCase{Loaded::Nothing, 2},
                      RobustCase{Loaded::Nothing, 3}, RobustCase{Loaded::Pair, 1},
                      RobustCase{Loaded::Pair, 2}, RobustCase{Loaded::Pair, 3},
                      RobustCase{Loaded::Single, 1}, RobustCase{Loaded::Single, 2},
                      RobustCase{Loaded::Single, 3}));

}  // namespace
}  // namespace duplora
