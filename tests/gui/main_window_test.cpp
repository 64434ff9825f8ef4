#include "gui/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "app/shell/menu_rules.h"
#include "app/stereo/navigator.h"
#include "app/stereo/view_layout.h"
#include "core/formats/load_chain.h"
#include "core/strings.h"
#include "gui/stereo/navigator_window.h"
#include "gui/stereo/view_widget.h"
#include "gui_test_main.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::kSmallLeft;
using test::kSmallRight;
using test::MenuOf;
using test::Opened;
using test::QSample;
using test::SamplePath;
using test::Settle;

const char* const kSideBySide = "single-file/calf-left-right.jpg";

bool HaveSamples() {
    return test::HaveSmallPair() && test::SampleExists(kSideBySide);
}

void Drop(MainWindow& w, const QStringList& files) {
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    Settle();
}

// Which toolbar buttons are enabled must be exactly `enabled(command)`.
template <typename Rule>
void ExpectButtons(MainWindow& w, Rule enabled) {
    for (const ToolButton& button : ToolbarButtons()) {
        if (button.command == CmdNone) continue;
        EXPECT_EQ(w.ToolbarAction(button.command)->isEnabled(), enabled(button.command))
            << button.command;
    }
}

using MainWindowTest = test::WindowTest;

using PairWindowTest = test::SamplePairTest;

// ---- start, menus and toolbar -----------------------------------------------------------------

TEST_F(MainWindowTest, StartsEmptyWithTheStartMenuTheToolbarAndOnlyTheOpenButtons) {
    MainWindow& w = Start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Duplora"));
    EXPECT_EQ(w.LoadedMenu(), MainMenu::Start);
    EXPECT_EQ(w.menuBar()->objectName(), QStringLiteral("SYOKI"));
    EXPECT_EQ(Statuses(), QStringList({"", "", ""}));
    ExpectButtons(w, [](CommandId c) { return c == CmdOpenStereo || c == CmdOpenLeftRight; });
    for (int pane = 0; pane < 3; ++pane) EXPECT_FALSE(w.View()->Pane(pane)->isVisible());
    EXPECT_EQ(w.BuildContextMenu(), nullptr);  // nothing loaded: no menu
    // Reading and writing progress shows in the first status part.
    const Progress& progress = w.WorkProgress();
    progress(ProgressDirection::Reading, 40);
    EXPECT_EQ(Status(0), QStringLiteral("lese... 40 %"));
    progress(ProgressDirection::Writing, 7);
    EXPECT_EQ(Status(0), QStringLiteral("schreibe... 7 %"));
    EXPECT_FALSE(progress.Cancelled());

    // The toolbar follows its table, with tooltips, pictures and drop-downs.
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
        EXPECT_FALSE(action->icon().isNull()) << b.command;
        // Every tooltip is the string table's entry 200 above the command.
        EXPECT_FALSE(action->toolTip().isEmpty()) << b.command;
        EXPECT_EQ(action->toolTip(), QString::fromStdString(LoadResString(b.command + 200)));
        EXPECT_EQ(action->isCheckable(), b.style == ToolButtonStyle::Check);
        EXPECT_EQ(w.ToolbarDropDown(b.command) != nullptr, b.style == ToolButtonStyle::DropDown);
    }
    EXPECT_EQ(w.ToolbarAction(CmdPanorama)->toolTip(), QStringLiteral("360° Panorama Modus"));
    EXPECT_EQ(w.ToolbarDropDown(CmdZoom100)->actions().at(2)->text(),
              QStringLiteral("1&00% Größe"));
}

// ---- opening ------------------------------------------------------------------------------------

TEST_F(PairWindowTest, CommandLinePairOpensWithTheSecondArgumentAsTheLeftView) {
    MainWindow& w = *window_;
    StereoDocument& doc = w.Document();
    ASSERT_TRUE(doc.BothLoaded());
    EXPECT_EQ(std::pair(doc.Left().path, doc.Right().path),
              std::pair(SamplePath(kSmallLeft), SamplePath(kSmallRight)));
    EXPECT_EQ(w.LoadedMenu(), MainMenu::Duplora);
    EXPECT_EQ(doc.Mode(), DisplayMode::SideBySide);
    EXPECT_EQ(w.FitModeNow(), 1);  // a command-line start without a display setting fits

    Key(Qt::Key_O);  // 100 %
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Linkes Bild(sugarshack_l.jpg [640 x 480]) Rechtes "
                                              "Bild(sugarshack_r.jpg [640 x 480])  (5/6)  "));
    EXPECT_EQ(Statuses(), QStringList({"Bildgröße nach Ausrichtung[640 x 480]",
                                       "Position Ausrichtung(x = 0 y = 0)",
                                       "Bildgröße [640 x 480]  Zoom(100 %)"}));
    ExpectButtons(w, [](CommandId c) { return c != CmdUndo && c != CmdRedo && !NotYetBuilt(c); });
}

TEST_F(PairWindowTest, FitToWindowIsTheLargestZoomWhosePicturesFitTheirPanes) {
    MainWindow& w = *window_;
    w.ExecuteCommand(CmdZoom200);  // scroll bars first, to see them go
    for (CommandId mode : {CmdThreeViews, CmdGreyAnaglyph}) {
        w.ExecuteCommand(mode);
        w.ExecuteCommand(CmdFitWindow);
        Settle();
        const int z = w.Document().ZoomPercent();
        const QSize view = w.View()->size();
        const int f = 2 * w.Document().FrameWidth();
        QSize room(view.width() - f, view.height() - f);
        if (mode == CmdThreeViews) room = QSize(view.width() / 2 - f, view.height() / 2 - f);
        EXPECT_LE(640 * z / 100, room.width()) << mode;
        EXPECT_LE(480 * z / 100, room.height()) << mode;
        // The fit's integer steps may stop one percent short, never more.
        EXPECT_TRUE(640 * (z + 2) / 100 > room.width() || 480 * (z + 2) / 100 > room.height())
            << mode;
        EXPECT_EQ(w.View()->Pan(), PanState::Fits) << mode;
        EXPECT_FALSE(w.View()->horizontalScrollBar()->isVisible()) << mode;
    }
}

TEST_F(PairWindowTest, SinglePictureLoadsTheSingleMenuAndToolbarSet) {
    MainWindow& w = *window_;
    OpenSingle(QSample(kSmallLeft));
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Monobild öffnen"));
    EXPECT_TRUE(w.Document().SingleImageMode());
    EXPECT_EQ(w.Document().Mode(), DisplayMode::Single);
    EXPECT_EQ(w.LoadedMenu(), MainMenu::DuploraSgl);
    Key(Qt::Key_O);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Bild(sugarshack_l.jpg [640 x 480]) (5/6)"));
    EXPECT_EQ(Statuses(), QStringList({"", "", "Bildgröße [640 x 480]  Zoom(100 %)"}));
    ExpectButtons(w, [](CommandId c) {
        return ToolbarButtonEnabled(ToolbarSet::Single, c) && !NotYetBuilt(c);
    });
    EXPECT_TRUE(w.View()->Pane(0)->isVisible());
    EXPECT_FALSE(w.View()->Pane(1)->isVisible());
    std::unique_ptr<QMenu> context(w.BuildContextMenu());
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->actions().size(), 2);
    // Swapping and the display modes do nothing here.
    Key(Qt::Key_X);
    Key(Qt::Key_F9);
    EXPECT_EQ(w.Document().Mode(), DisplayMode::Single);
    EXPECT_FALSE(w.Document().Swapped());
}

TEST_F(PairWindowTest, OpeningsGoIntoTheFileHistoryMenu) {
    MainWindow& w = *window_;
    QStringList history;
    for (QAction* a : Opened(MenuOf(w, QStringLiteral("STFILE"))))
        if (a->property("historyItem").toBool() && !a->isSeparator()) history << a->text();
    EXPECT_EQ(history, QStringList({QSample(kSmallLeft) + QStringLiteral("/sugarshack_r.jpg")}));
    EXPECT_EQ(store_->ReadSetting("FileHistory1"), SamplePath(kSmallRight));
    // Opening it again from the menu keeps one entry.
    w.ExecuteCommand(CmdHistory1);
    Settle();
    EXPECT_EQ(w.Document().Left().path, SamplePath(kSmallLeft));
    EXPECT_TRUE(store_->ReadSetting("FileHistory2").empty());
}

// ---- keys, wheel, mouse, drops and the clipboard ----------------------------------------------

TEST_F(PairWindowTest, KeysAlignSwitchModesZoomAndSwap) {
    MainWindow& w = *window_;
    Key(Qt::Key_O);
    Key(Qt::Key_Left);
    EXPECT_EQ(w.Document().Dx(), 4);
    EXPECT_EQ(Statuses(), QStringList({"Bildgröße nach Ausrichtung[636 x 480]",
                                       "Position Ausrichtung(x = -4 y = 0)",
                                       "Bildgröße [636 x 480]  Zoom(100 %)"}));
    Key(Qt::Key_Up);
    EXPECT_EQ(Status(1), QStringLiteral("Position Ausrichtung(x = -4 y = 4)"));
    Key(Qt::Key_Home);
    EXPECT_EQ(w.Document().Dx(), 0);
    EXPECT_FALSE(w.Document().Modified());
    for (const auto& [key, mode] : {std::pair{Qt::Key_F4, DisplayMode::Interlace},
                                    {Qt::Key_F5, DisplayMode::ThreeViews},
                                    {Qt::Key_F9, DisplayMode::SideBySide}}) {
        Key(key);
        EXPECT_EQ(w.Document().Mode(), mode);
    }
    Key(Qt::Key_F2);
    EXPECT_EQ(w.Document().ZoomPercent(), 110);
    Key(Qt::Key_F3);
    EXPECT_EQ(w.Document().ZoomPercent(), 100);
    EXPECT_EQ(w.FitModeNow(), 0);
    Key(Qt::Key_Left);
    Key(Qt::Key_X);
    EXPECT_TRUE(w.Document().Swapped());
    EXPECT_EQ(w.Document().Dx(), -4);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Linkes Bild(sugarshack_r.jpg [640 x 480]) Rechtes "
                                              "Bild(sugarshack_l.jpg [640 x 480])  (5/6)  "));
    Key(Qt::Key_F);
    EXPECT_EQ(w.FitModeNow(), 1);
}

TEST_F(PairWindowTest, WheelZoomsInAwayFromTheUserAndOutTowardsThem) {
    MainWindow& w = *window_;
    Key(Qt::Key_O);
    auto wheel = [&](int delta, int times) {
        QWidget* target = w.View()->viewport();
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        for (int i = 0; i < times; ++i) {
            QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &event);
            Settle(2);
        }
    };
    wheel(120, 2);
    EXPECT_EQ(w.Document().ZoomPercent(), 121);
    wheel(-120, 2);
    EXPECT_EQ(w.Document().ZoomPercent(), 100);
    wheel(-120, 1);
    EXPECT_EQ(Status(2), QStringLiteral("Bildgröße [576 x 432]  Zoom(90 %)"));
}

TEST_F(PairWindowTest, ClickInTheLeftEdgeStepsBackAndDraggingALargePicturePans) {
    MainWindow& w = *window_;
    ViewWidget* view = w.View();
    ASSERT_EQ(view->Pan(), PanState::Fits);
    QWidget* pane = view->Pane(1);
    QTest::mouseClick(pane, Qt::LeftButton, Qt::NoModifier, QPoint(2, pane->height() / 2));
    Settle();
    // The pair two entries back in the folder: frozenpond_r and gx8_l come before it.
    EXPECT_EQ(std::pair(w.Document().Left().path, w.Document().Right().path),
              std::pair(SamplePath("pairs/gx8_l.jpg"), SamplePath("pairs/gx8_r.jpg")));
    EXPECT_EQ(w.Folder().index, 2);

    w.ExecuteCommand(CmdZoom100);
    Settle();
    ASSERT_EQ(view->Pan(), PanState::Both);
    const QPoint centre = pane->rect().center();
    const QPoint before = Scroll();
    test::DragMouse(pane, centre, centre - QPoint(30, 20));
    EXPECT_EQ(Scroll(), before + QPoint(30, 20));
    EXPECT_EQ(QPoint(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value()),
              Scroll());
    // Both panes show the same place of their pictures.
    test::ExpectPaneShows(view->Pane(1), w.Composer().FirstView(), Scroll(), {97, 89});
    test::ExpectPaneShows(view->Pane(2), w.Composer().SecondView(), Scroll(), {97, 89});
}

TEST_F(MainWindowTest, DroppedFilesOpenAsAPairWithItsContextMenu) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = Start();
    Drop(w, {QSample(kSmallRight), QSample(kSmallLeft)});
    ASSERT_TRUE(w.Document().BothLoaded());
    EXPECT_EQ(std::pair(w.Document().Left().path, w.Document().Right().path),
              std::pair(SamplePath(kSmallLeft), SamplePath(kSmallRight)));
    EXPECT_EQ(w.LoadedMenu(), MainMenu::Duplora);
    EXPECT_EQ(w.FitModeNow(), 1);  // a drop is no command-line start: fitted
    std::unique_ptr<QMenu> menu(w.BuildContextMenu());
    ASSERT_NE(menu, nullptr);
    QStringList titles;
    for (QAction* a : menu->actions())
        titles << (a->menu() ? a->menu()->title() : a->isSeparator() ? "|" : a->text());
    EXPECT_EQ(titles, QStringList({"Vollbild\tV", "Mauszeiger verbergen\tM", "|", "Datei",
                                   "Editieren", "Ansicht", "Stereo", "Asrichten", "Hilfe"}));
}

TEST_F(PairWindowTest, CopyAndPasteMakeAModifiedPairOfTheShownPicture) {
    MainWindow& w = *window_;
    Key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(QApplication::clipboard()->image().size(), QSize(1280, 480));
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(w.Document().BothLoaded());
    EXPECT_TRUE(w.Document().Modified());
    EXPECT_EQ(std::pair(w.Document().Left().name, w.Document().Right().name),
              std::pair(std::string("Linkes Bild einfügen"), std::string("Rechtes Bild einfügen")));
    const LoadedImage left = LoadImageFile(SamplePath(kSmallLeft));
    EXPECT_TRUE(test::SamePixels(w.Document().Left().image, left.image, "pasted_left"));
}

// ---- panes and what they paint ------------------------------------------------------------------

struct LayoutCase {
    const char* name;
    CommandId command;
    int wcent;
};

class PaneLayoutTest : public test::WindowTest, public ::testing::WithParamInterface<LayoutCase> {};

// Where the layout puts each pane is pinned in the view tests; the window must follow it.
TEST_P(PaneLayoutTest, PanesAreWhereTheLayoutPutsThem) {
    if (!test::HaveSmallPair()) GTEST_SKIP() << "sample photographs missing";
    store_->WriteSetting("nWcent", std::to_string(GetParam().wcent));
    MainWindow& w = StartSmallPair();
    w.ExecuteCommand(GetParam().command);
    w.ExecuteCommand(CmdZoom50);
    Settle();
    const DisplayMode mode = w.Document().Mode();
    std::array<QSize, 3> sizes;
    for (int i = 0; i < 3; ++i) {
        const ImageBuffer& p = w.Composer().Get(static_cast<DisplayComposer::Picture>(i));
        sizes[i] = p ? QSize(p.Width(), p.Height()) : QSize(0, 0);
    }
    const PaneLayout expected = LayoutPanes(mode, GetParam().wcent, w.View()->viewport()->size(),
                                            w.Document().FrameWidth(), sizes);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.View()->Pane(i)->isVisible(), PaneShown(mode, i)) << i;
        if (!PaneShown(mode, i)) continue;
        EXPECT_EQ(w.View()->PaneRect(i), expected.panes[i]) << "pane " << i;
        // At 50 % the whole picture fits: the pane is the picture's size.
        EXPECT_EQ(w.View()->PaneRect(i).size(), sizes[i]) << "pane " << i;
    }
    EXPECT_EQ(w.View()->Pan(), PanState::Fits);
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfPacking, PaneLayoutTest,
                         ::testing::Values(LayoutCase{"SideBySidePacked", CmdSideBySide, 1},
                                           LayoutCase{"ThreeViewsCentred", CmdThreeViews, 0},
                                           LayoutCase{"AnaglyphPacked", CmdColourAnaglyph, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PairWindowTest, BorderButtonFramesEachPaneInThreeBands) {
    MainWindow& w = *window_;
    w.ExecuteCommand(CmdBorder);
    w.ExecuteCommand(CmdZoom50);
    Settle();
    EXPECT_EQ(w.Document().FrameWidth(), 14);  // 2 + 10 + 2
    EXPECT_EQ(store_->ReadSetting("border").front(), '1');
    const QRect pane = w.View()->PaneRect(1);
    const QImage shown = w.View()->viewport()->grab().toImage();
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
    // Outer, middle and inner band, then the background beyond.
    for (const auto& [distance, colour] :
         {std::pair{14, white}, {12, black}, {1, white}, {15, black}})
        EXPECT_EQ(shown.pixel(pane.left() - distance, pane.center().y()), colour) << distance;
    w.ExecuteCommand(CmdBorder);
    EXPECT_EQ(w.Document().FrameWidth(), 5);
}

// ---- edits, menus, modes and closing ------------------------------------------------------------

TEST_F(PairWindowTest, EditsEnableUndoAndRedoOnTheToolbarAndInTheMenu) {
    MainWindow& w = *window_;
    auto undoItem = [&]() -> QAction* {
        for (QAction* a : Opened(MenuOf(w, QStringLiteral("STEDIT"))))
            if (a->data().toInt() == CmdUndo) return a;
        return nullptr;
    };
    ASSERT_NE(undoItem(), nullptr);
    EXPECT_FALSE(undoItem()->isEnabled());
    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Rückgängig\tStrg+Z"));
    auto expect = [&](int width, bool undo, bool redo) {
        EXPECT_EQ(w.Document().Left().image.Width(), width);
        EXPECT_EQ(w.ToolbarAction(CmdUndo)->isEnabled(), undo);
        EXPECT_EQ(w.ToolbarAction(CmdRedo)->isEnabled(), redo);
    };
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(w.Document().Modified());
    expect(480, true, false);
    EXPECT_TRUE(undoItem()->isEnabled());
    // Undo does not hang on the menu's state: the shortcut works whatever the menu showed.
    Key(Qt::Key_Z);
    expect(640, false, true);
    Key(Qt::Key_Y, Qt::ControlModifier);
    expect(480, true, false);
}

TEST_F(PairWindowTest, SlideShowAndFullScreenRunUntilTheKeyThatEndsThem) {
    MainWindow& w = *window_;
    Key(Qt::Key_S);
    EXPECT_TRUE(w.SlideShowRunning());
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("Slide Show Intervall 3.0 S.")));
    Key(Qt::Key_Left);  // any other command ends it
    EXPECT_FALSE(w.SlideShowRunning());
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("(5/6)  ")));

    Key(Qt::Key_V);
    EXPECT_TRUE(w.FullScreen());
    EXPECT_FALSE(w.menuBar()->isVisible() || w.statusBar()->isVisible());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(w.FullScreen());
    EXPECT_TRUE(w.menuBar()->isVisible());
    Key(Qt::Key_Escape);  // nothing to leave
    EXPECT_FALSE(w.FullScreen());
}

TEST_F(PairWindowTest, NavigatorShowsAThumbnailAndDraggingOnItScrollsTheView) {
    MainWindow& w = *window_;
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
    w.View()->ScrollTo(QPoint(0, 0));
    Settle();
    const QRect frame = navigator->VisibleFrame();
    EXPECT_EQ(frame.topLeft(), navigator->ThumbnailOffset());  // scrolled to the top-left

    test::DragMouse(navigator, frame.center(), frame.center() + QPoint(20, 10));
    const QSize thumb = navigator->ThumbnailSize();
    EXPECT_EQ(Scroll(),
              QPoint(20 * picture.width() / thumb.width(), 10 * picture.height() / thumb.height()));
    EXPECT_EQ(w.View()->horizontalScrollBar()->value(), Scroll().x());

    navigator->close();  // closing is the command too
    Settle();
    EXPECT_FALSE(navigator->isVisible());
    EXPECT_EQ(store_->ReadSetting("nLoc"), "0");
}

// The closing question's answers as the user meets them are driven by scripts/e2e; here its
// text, that a cancelled save keeps the change, and what closing stores.
TEST_F(PairWindowTest, ClosingWithChangesAsksAndOnlyNoOrASaveLetsTheWindowGo) {
    MainWindow& w = *window_;
    w.ExecuteCommand(CmdGreyYellowBlue);
    w.ExecuteCommand(CmdRotateRight);
    host_.Reset();
    EXPECT_FALSE(w.close());  // Cancel
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(host_.Count(), 1);
    EXPECT_EQ(host_.LastText(), QStringLiteral("Änderungen im Bild [sugarshack.jpg] speichern ?"));
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("sugarshack.jpg"));
    // "Ja" and then a cancelled save dialog: nothing was saved, so the window stays.
    host_.QueueButton(QMessageBox::Yes);
    EXPECT_FALSE(w.close());
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Stereobild Speichern"));
    EXPECT_TRUE(w.Document().Modified());
    host_.QueueButton(QMessageBox::No);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    // Closing stores the last folders and the anaglyph choices made.
    EXPECT_EQ(store_->ReadSetting("OpenFolder"), SamplePath("pairs"));
    EXPECT_EQ(store_->ReadSetting("nAnatype"), "3");
}

// Every way of putting another pair in the window asks first when the shown one was changed:
// Cancel keeps it, "Nein" lets the new one in.
TEST_F(PairWindowTest, ReplacingAModifiedPairAsksFirst) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = *window_;
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"next image", [&] { Key(Qt::Key_Space); }},
        {"previous image", [&] { Key(Qt::Key_Backspace); }},
        {"double click",
         [&] {
             QTest::mouseDClick(w.View()->Pane(1), Qt::LeftButton, Qt::NoModifier,
                                w.View()->Pane(1)->rect().center());
             Settle();
         }},
        {"history",
         [&] {
             w.ExecuteCommand(CmdHistory1);
             Settle();
         }},
        {"drop", [&] { Drop(w, {QSample(kSideBySide)}); }},
        {"open dialog", [&] { Key(Qt::Key_O, Qt::ControlModifier); }},
        {"paste", [&] { Key(Qt::Key_V, Qt::ControlModifier); }},
    };
    QApplication::clipboard()->setImage(QImage(64, 32, QImage::Format_RGB32));
    for (const auto& [name, replace] : ways) {
        w.ExecuteCommand(CmdRotateRight);
        ASSERT_TRUE(w.Document().Modified()) << name;
        const std::string left = w.Document().Left().path;
        host_.Reset();
        host_.QueueButton(QMessageBox::Cancel);
        replace();
        EXPECT_EQ(host_.Count(), 1) << name;
        EXPECT_EQ(host_.LastText(),
                  QStringLiteral("Änderungen im Bild [sugarshack.jpg] speichern ?"))
            << name;
        EXPECT_TRUE(w.Document().Modified()) << name;
        EXPECT_EQ(w.Document().Left().path, left) << name;
        EXPECT_EQ(w.Document().Left().image.Width(), 480) << name;
        w.ExecuteCommand(CmdUndo);
        w.Document().SetModified(false);
    }
    // "Nein" goes on.
    w.ExecuteCommand(CmdRotateRight);
    host_.QueueButton(QMessageBox::No);
    Key(Qt::Key_Space);
    EXPECT_FALSE(w.Document().Modified());
    EXPECT_NE(w.Document().Left().path, SamplePath(kSmallLeft));
}

// Every menu item, accelerator and toolbar button that is enabled in a state does something
// there: it has a handler whose guard lets it act. Commands still waiting for their window
// show disabled everywhere.
TEST_F(MainWindowTest, NoEnabledCommandIsSilent) {
    if (!HaveSamples()) GTEST_SKIP() << "sample photographs missing";
    const auto check = [this](const char* state) {
        MainWindow& w = *window_;
        std::vector<QAction*> actions;
        const std::function<void(QMenu*)> walk = [&](QMenu* menu) {
            for (QAction* a : Opened(menu)) {
                if (a->menu())
                    walk(a->menu());
                else if (a->data().isValid())
                    actions.push_back(a);
            }
        };
        for (QAction* top : w.menuBar()->actions())
            if (top->menu()) walk(top->menu());
        for (QAction* a : w.actions())
            if (a->objectName().startsWith(QStringLiteral("key"))) actions.push_back(a);
        for (const ToolButton& b : ToolbarButtons()) {
            if (b.command == CmdNone) continue;
            actions.push_back(w.ToolbarAction(b.command));
            QMenu* drop = w.ToolbarDropDown(b.command);
            if (drop && w.ToolbarAction(b.command)->isEnabled()) walk(drop);
        }
        int enabled = 0;
        for (QAction* a : actions) {
            const bool key = a->objectName().startsWith(QStringLiteral("key"));
            const auto command = static_cast<CommandId>(
                a->data().isValid() ? a->data().toInt() : a->objectName().mid(key ? 3 : 2).toInt());
            if (NotYetBuilt(command)) {
                EXPECT_FALSE(a->isEnabled()) << state << ": " << command << " waits for its window";
                continue;
            }
            if (!a->isEnabled()) continue;
            ++enabled;
            EXPECT_TRUE(w.HasHandler(command)) << state << ": " << command << " has no handler";
            // Accelerators are always there; the menus and toolbar offer only what acts.
            EXPECT_TRUE(key || w.CommandActs(command))
                << state << ": " << command << " is offered but does nothing";
        }
        EXPECT_GT(enabled, 10) << state;
    };
    Start();
    check("nothing");
    window_.reset();
    StartSmallPair();
    check("pair");
    OpenSingle(QSample(kSmallLeft));
    check("single picture");
}

TEST_F(PairWindowTest, ScrollBarsPageByAFixedStepAndAnUnchangedPairClosesUnasked) {
    window_->ExecuteCommand(CmdZoom200);
    Settle();
    QScrollBar* bar = window_->View()->horizontalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    const int start = Scroll().x();
    for (const auto& [action, times, moved] :
         {std::tuple{QAbstractSlider::SliderPageStepAdd, 1, 50},
          {QAbstractSlider::SliderPageStepSub, 2, -50}}) {
        for (int i = 0; i < times; ++i) bar->triggerAction(action);
        Settle();
        EXPECT_EQ(Scroll().x(), start + moved);
    }
    // Closing without changes asks nothing.
    EXPECT_TRUE(window_->close());
    EXPECT_EQ(host_.Count(), 0);
}

// ---- robustness ---------------------------------------------------------------------------------

enum class Loaded { Nothing, Pair, Single };

const char* const kLoadedNames[] = {"NothingLoaded", "PairLoaded", "SingleLoaded"};

class CommandRobustnessTest : public test::WindowTest,
                              public ::testing::WithParamInterface<std::tuple<Loaded, unsigned>> {};

TEST_P(CommandRobustnessTest, EveryCommandInRandomOrderNeitherCrashesNorBlocks) {
    const auto [loaded, seed] = GetParam();
    if (loaded != Loaded::Nothing && !test::HaveSmallPair()) GTEST_SKIP() << "samples missing";
    MainWindow& w = loaded == Loaded::Nothing ? Start() : StartSmallPair();
    if (loaded == Loaded::Single) {
        OpenSingle(QSample(kSmallLeft));
        ASSERT_TRUE(w.Document().SingleImageMode());
    }
    const int modalBefore = test::ModalWindowsSeen();
    std::vector<CommandId> commands;
    for (const CommandEntry& entry : CommandTable()) commands.push_back(entry.id);
    // Ids that are no command are ignored too.
    for (int unknown : {999, 2040, 5001}) commands.push_back(static_cast<CommandId>(unknown));
    std::mt19937 random(seed);
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

INSTANTIATE_TEST_SUITE_P(ThreeStatesThreeSeeds, CommandRobustnessTest,
                         ::testing::Combine(::testing::Values(Loaded::Nothing, Loaded::Pair,
                                                              Loaded::Single),
                                            ::testing::Values(1u, 2u, 3u)),
                         [](const auto& info) {
                             return kLoadedNames[static_cast<int>(std::get<0>(info.param))] +
                                    std::string("Seed") + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace duplora
