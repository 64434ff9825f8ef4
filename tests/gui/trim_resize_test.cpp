// Trims chosen with the mouse in every kind of view, resizing and turning the pair, stepping
// through a folder, and the two size dialogs on their own. Undo of these edits is the
// document's, tested there.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "app/image/trim_resize.h"
#include "core/formats/load_chain.h"
#include "core/image/convert.h"
#include "core/image/resample.h"
#include "core/image/rotate.h"
#include "gui/shell/main_window.h"
#include "gui/shell/trim_dialogs.h"
#include "gui/stereo/view_widget.h"
#include "gui_test_main.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MoveMouse;
using test::PixelAt;
using test::SamePixels;
using test::SampleExists;
using test::SamplePath;
using test::Settle;

const char* const kPairs[] = {"frozenpond_l.jpg", "frozenpond_r.jpg", "gx8_l.jpg",
                              "gx8_r.jpg",        "sugarshack_l.jpg", "sugarshack_r.jpg"};

ImageBuffer Original(const std::string& name) {
    return LoadImageFile(SamplePath("pairs/" + name)).image;
}

void Drag(QWidget* pane, QPoint from, QPoint to) {
    test::DragMouse(pane, from, to, 4);
}

// The pane shows `picture` inverted at `inverted` and as it is at `plain`.
void ExpectInverted(QWidget* pane, const ImageBuffer& picture,
                    std::initializer_list<QPoint> inverted, std::initializer_list<QPoint> plain) {
    const QImage image = pane->grab().toImage();
    for (const QPoint p : inverted)
        EXPECT_EQ(image.pixel(p), test::Rgb(0xFFFFFFu ^ PixelAt(picture, p.x(), p.y()))) << p.x();
    for (const QPoint p : plain)
        EXPECT_EQ(image.pixel(p), test::Rgb(PixelAt(picture, p.x(), p.y()))) << p.x();
}

// The window steps through the samples' folder of three pairs; skips without them.
class TrimResizeTest : public test::WindowTest {
  protected:
    void SetUp() override {
        for (const char* name : kPairs)
            if (!SampleExists(std::string("pairs/") + name)) GTEST_SKIP() << "samples missing";
        WindowTest::SetUp();
    }

    static std::string InPairs(const char* name) {
        return SamplePath(std::string("pairs/") + name);
    }

    MainWindow& Start(const char* left = "sugarshack_l.jpg",
                      const char* right = "sugarshack_r.jpg") {
        return StartWithPair(InPairs(left), InPairs(right));
    }

    // 50 %: pane pixel p is full-size pixel 2p.
    void Zoom50() {
        window_->ExecuteCommand(CmdZoom50);
        window_->View()->ScrollTo(QPoint(0, 0));
        Settle();
    }

    void OpenSingle(const char* name) {
        host_.QueueTyping(QString::fromStdString(InPairs(name)));
        window_->ExecuteCommand(CmdOpenSingle);
        Settle();
        ASSERT_TRUE(window_->Document().SingleImageMode());
    }
};

// ---- trims ----------------------------------------------------------------------------------

TEST_F(TrimResizeTest, FreeTrimSideBySideInOneStep) {
    store_->WriteSetting("n2action", "0");
    MainWindow& w = Start();
    Zoom50();
    ViewWidget* view = w.View();
    Key(Qt::Key_A);
    ASSERT_EQ(view->SelectionMode(), SelectionMode::Free);
    EXPECT_EQ(view->Pane(1)->cursor().shape(), Qt::CrossCursor);

    // A cross-hair follows the mouse in both panes, drawn by inverting the picture.
    MoveMouse(view->Pane(2), QPoint(50, 60), Qt::NoButton);
    Settle();
    const ImageBuffer& shownLeft = w.Composer().FirstView();
    ExpectInverted(view->Pane(1), shownLeft, {{50, 10}, {10, 60}}, {{10, 10}});
    // The band being drawn in the right pane; where its corner meets the cross-hair, each
    // pixel is inverted once.
    MoveMouse(view->Pane(2), QPoint(30, 40), Qt::NoButton);
    QTest::mousePress(view->Pane(2), Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    MoveMouse(view->Pane(2), QPoint(150, 120), Qt::LeftButton);
    Settle();
    ExpectInverted(view->Pane(1), shownLeft, {{150, 80}, {90, 120}, {150, 120}, {30, 80}},
                   {{60, 60}});
    // One step: cut on release, pane pixel p being full-size pixel 2p.
    QTest::mouseRelease(view->Pane(2), Qt::LeftButton, Qt::NoModifier, QPoint(150, 120));
    Settle();
    EXPECT_FALSE(view->SelectionActive());
    const ImageBuffer left = Original("sugarshack_l.jpg");
    const ImageBuffer right = Original("sugarshack_r.jpg");
    ExpectPair(CropRect(left, 60, 80, 300, 240), CropRect(right, 60, 80, 300, 240), "free");
    EXPECT_TRUE(w.Document().Modified());
    EXPECT_EQ(Status(2), QStringLiteral("Bildgröße [120 x 80]  Zoom(50 %)"));
    EXPECT_EQ(w.View()->PaneRect(1).size(), QSize(120, 80));
}

TEST_F(TrimResizeTest, TwoStepTrimOverUnderWithAnOffsetIsDrawnMovedAndCut) {
    MainWindow& w = Start();  // two steps is the default
    w.ExecuteCommand(CmdOverUnder);
    Key(Qt::Key_Left);  // the right view moves by one step: dx = 4
    ASSERT_EQ(w.Document().Dx(), 4);
    Zoom50();
    ViewWidget* view = w.View();
    Key(Qt::Key_A);

    // First the size, drawn in the lower pane; it stays on the screen in both panes.
    Drag(view->Pane(2), QPoint(5, 5), QPoint(65, 45));
    ASSERT_EQ(view->SelectionMode(), SelectionMode::MoveFree);
    EXPECT_EQ(Status(0), QStringLiteral("(10,10)-(130,90) [120 X 80]"));
    EXPECT_EQ(view->Pane(2)->cursor().shape(), Qt::SizeAllCursor);
    for (int pane : {1, 2})
        ExpectInverted(view->Pane(pane),
                       w.Composer().Get(static_cast<DisplayComposer::Picture>(pane)),
                       {{35, 5}, {65, 30}}, {{35, 20}});
    EXPECT_EQ(w.Document().Left().image.Width(), 640);  // nothing cut yet

    // Then the place: moved by (10, 5) pane pixels, 20 × 10 full-size pixels.
    Drag(view->Pane(1), QPoint(30, 20), QPoint(40, 25));
    EXPECT_FALSE(view->SelectionActive());
    const ImageBuffer left = Original("sugarshack_l.jpg");
    const ImageBuffer right = Original("sugarshack_r.jpg");
    const ImageBuffer commonLeft = CropMargins(left, 4, 0, 0, 0, false);
    const ImageBuffer commonRight = CropMargins(right, 4, 0, 0, 0, true);
    ExpectPair(CropRect(commonLeft, 30, 20, 150, 100), CropRect(commonRight, 30, 20, 150, 100),
               "two_step");
    // The cut pair is aligned.
    EXPECT_EQ(w.Document().Dx(), 0);
}

TEST_F(TrimResizeTest, PresetRatioTrimInAnaglyphKeepsTheRatioAndScalesToThePreset) {
    store_->WriteSetting("n2action", "0");
    store_->WriteSetting("nTrimress", "1");
    store_->WriteSetting("TrimingSize", "160,120,800,600,1024,768,1280,1024,1600,1200,");
    MainWindow& w = Start();
    w.ExecuteCommand(CmdGreyAnaglyph);
    Zoom50();
    ViewWidget* view = w.View();
    // The edit menu names the preset by its size; its item starts the trim.
    QAction* preset = nullptr;
    for (QAction* a : test::Opened(test::MenuOf(w, QStringLiteral("STEDIT"))))
        if (a->text() == QStringLiteral("Fester Ausschnitt (160x120)\t1")) preset = a;
    ASSERT_NE(preset, nullptr);
    preset->trigger();
    ASSERT_EQ(view->SelectionMode(), SelectionMode::PresetRatio);
    // The corner keeps 4 : 3; the side that is too long is shortened: (2, 2)-(202, 152).
    Drag(view->Pane(0), QPoint(1, 1), QPoint(101, 91));
    const auto cut = [](const char* name) {
        return ResizeImage(CropRect(Original(name), 2, 2, 202, 152), 160, 120);
    };
    ExpectPair(cut("sugarshack_l.jpg"), cut("sugarshack_r.jpg"), "ratio");
    EXPECT_EQ(w.Document().Mode(), DisplayMode::GreyAnaglyph);
}

TEST_F(TrimResizeTest, CustomTrimOfASinglePictureThroughItsDialog) {
    MainWindow& w = Start();
    OpenSingle("gx8_l.jpg");
    Zoom50();
    bool asked = false;
    host_.QueueAs<TrimSizeDialog>([&](TrimSizeDialog& dialog) {
        asked = true;
        EXPECT_EQ(dialog.ReferenceLabel()->text(), QStringLiteral("1824 x 1367"));
        // Nothing stored yet: the picture's own size is offered.
        EXPECT_EQ(dialog.WidthBox()->value(), 1824);
        EXPECT_EQ(dialog.HeightBox()->value(), 1367);
        dialog.WidthBox()->setValue(200);
        dialog.HeightBox()->setValue(100);
        dialog.RescaleBox()->setChecked(false);
        return true;
    });
    Key(Qt::Key_B);
    ASSERT_TRUE(asked);
    ViewWidget* view = w.View();
    ASSERT_EQ(view->SelectionMode(), SelectionMode::MoveFree);
    EXPECT_EQ(store_->ReadSetting("nTrimresd"), "0,200,100");
    Drag(view->Pane(0), QPoint(10, 10), QPoint(40, 30));
    const ImageBuffer picture = Original("gx8_l.jpg");
    EXPECT_TRUE(SamePixels(w.Document().Left().image, CropRect(picture, 60, 40, 260, 140),
                           "custom_single"));
    EXPECT_EQ(view->PaneRect(0).size(), QSize(100, 50));

    // Cancelled, the dialog changes nothing and starts nothing.
    host_.QueueAs<TrimSizeDialog>([](TrimSizeDialog& dialog) {
        EXPECT_EQ(dialog.WidthBox()->value(), 200);
        EXPECT_FALSE(dialog.RescaleBox()->isChecked());
        return false;
    });
    Key(Qt::Key_0);
    EXPECT_FALSE(view->SelectionActive());

    // The single picture resizes alone.
    host_.QueueAs<ResizeDialog>([](ResizeDialog& dialog) {
        EXPECT_EQ(dialog.ReferenceLabel()->text(), QStringLiteral("200 x 100"));
        dialog.WidthBox()->setValue(50);
        return true;
    });
    Key(Qt::Key_R);
    EXPECT_TRUE(SamePixels(w.Document().Left().image,
                           ResizeImage(CropRect(picture, 60, 40, 260, 140), 50, 25),
                           "resize_single"));
    EXPECT_FALSE(w.Document().Right().image);
}

// ---- resize and rotate ----------------------------------------------------------------------

TEST_F(TrimResizeTest, ResizeThroughItsDialogKeepsTheRatio) {
    MainWindow& w = Start();
    host_.QueueAs<ResizeDialog>([](ResizeDialog& dialog) {
        EXPECT_EQ(dialog.ReferenceLabel()->text(), QStringLiteral("640 x 480"));
        dialog.WidthBox()->setValue(320);
        EXPECT_EQ(dialog.HeightBox()->value(), 240);
        return true;
    });
    Key(Qt::Key_R);
    const ImageBuffer left = Original("sugarshack_l.jpg");
    const ImageBuffer right = Original("sugarshack_r.jpg");
    ExpectPair(ResizeImage(left, 320, 240), ResizeImage(right, 320, 240), "resize");
    EXPECT_TRUE(w.Document().Modified());

    // Cancel keeps the pictures; the ratio mode chosen before cancelling stays chosen.
    host_.QueueAs<ResizeDialog>([](ResizeDialog& dialog) {
        EXPECT_EQ(dialog.ReferenceLabel()->text(), QStringLiteral("320 x 240"));
        EXPECT_EQ(dialog.WidthBox()->value(), 320);
        dialog.AspectButton(AspectMode::KeepRatioFrame)->click();
        return false;
    });
    Key(Qt::Key_R);
    EXPECT_EQ(w.Document().Left().image.Width(), 320);
    bool kept = false;
    host_.QueueAs<ResizeDialog>([&kept](ResizeDialog& dialog) {
        kept = dialog.AspectButton(AspectMode::KeepRatioFrame)->isChecked();
        return false;
    });
    Key(Qt::Key_R);
    EXPECT_TRUE(kept);
}

TEST_F(TrimResizeTest, RotateTurnsASinglePictureAndThePairWithItsOffset) {
    MainWindow& w = Start();
    OpenSingle("frozenpond_l.jpg");
    const ImageBuffer picture = Original("frozenpond_l.jpg");
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_TRUE(SamePixels(w.Document().Left().image,
                           RotateQuarter(picture, kRotateCounterClockwise), "rotate_single"));
    EXPECT_FALSE(w.Document().Right().image);
    EXPECT_GT(w.View()->PaneRect(0).height(), w.View()->PaneRect(0).width());

    // A pair turns with its offset: dx = 4 becomes dy = 4 turning right. (The turned picture
    // is left unsaved.)
    host_.QueueButton(QMessageBox::No);
    host_.QueueTyping(QStringLiteral("\"%1\" \"%2\"")
                          .arg(QString::fromStdString(InPairs("sugarshack_l.jpg")),
                               QString::fromStdString(InPairs("sugarshack_r.jpg"))));
    w.ExecuteCommand(CmdOpenLeftRight);
    Settle();
    Key(Qt::Key_Left);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(SamePixels(w.Document().Right().image,
                           RotateQuarter(Original("sugarshack_r.jpg"), kRotateClockwise),
                           "rotate_pair"));
    EXPECT_EQ(w.Document().Dx(), 0);
    EXPECT_EQ(w.Document().Dy(), 4);
}

// ---- the folder and the cursor --------------------------------------------------------------

TEST_F(TrimResizeTest, StepsThroughTheFolderByPairsAndByPictures) {
    MainWindow& w = Start("gx8_l.jpg", "gx8_r.jpg");
    ASSERT_EQ(w.Folder().Count(), 6);
    auto expectPair = [&](const char* left, const char* right, int index) {
        EXPECT_EQ(w.Document().Left().path, InPairs(left));
        EXPECT_EQ(w.Document().Right().path, InPairs(right));
        EXPECT_EQ(w.Folder().index, index);
    };
    Key(Qt::Key_Space);  // next image: the next two files
    expectPair("sugarshack_l.jpg", "sugarshack_r.jpg", 4);
    Key(Qt::Key_Backspace);  // previous image
    expectPair("gx8_l.jpg", "gx8_r.jpg", 2);
    Key(Qt::Key_Space, Qt::ControlModifier);  // next pair: one file on
    expectPair("gx8_r.jpg", "sugarshack_l.jpg", 3);

    // A single picture steps file by file and stays a single picture.
    OpenSingle("gx8_r.jpg");
    EXPECT_EQ(w.Folder().index, 3);
    Key(Qt::Key_Space);
    EXPECT_EQ(w.Document().Left().path, InPairs("sugarshack_l.jpg"));
    EXPECT_EQ(w.Document().Mode(), DisplayMode::Single);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(w.Document().Left().image.Width(), 1824);
}

TEST_F(TrimResizeTest, AnotherCommandEndsTheSelectionAndTheHiddenCursorComesBack) {
    MainWindow& w = Start();
    Zoom50();
    ViewWidget* view = w.View();
    Key(Qt::Key_M);
    ASSERT_TRUE(view->CursorHidden());
    MoveMouse(view->Pane(1), QPoint(100, 100), Qt::NoButton);
    EXPECT_EQ(view->Pane(1)->cursor().shape(), Qt::BlankCursor);
    Key(Qt::Key_A);
    EXPECT_EQ(view->Pane(1)->cursor().shape(), Qt::CrossCursor);
    Drag(view->Pane(1), QPoint(20, 20), QPoint(60, 45));  // two steps: first the size
    EXPECT_EQ(Status(0), QStringLiteral("(40,40)-(120,90) [80 X 50]"));
    Key(Qt::Key_Up);  // given up, and the command is carried out
    EXPECT_FALSE(view->SelectionActive());
    EXPECT_EQ(w.Document().Dy(), -4);
    EXPECT_FALSE(w.Document().Modified());
    EXPECT_EQ(Status(0), QStringLiteral("Bildgröße nach Ausrichtung[640 x 476]"));
    EXPECT_EQ(view->Pane(1)->cursor().shape(), Qt::BlankCursor);
    Key(Qt::Key_M);
    EXPECT_NE(view->Pane(1)->cursor().shape(), Qt::BlankCursor);
}

// ---- the dialogs on their own ---------------------------------------------------------------
// (Asking through the window, with OK and Cancel, is driven above.)

TEST(ResizeDialogWidget, TextsValuesAndTheKeptRatio) {
    ResizeChoice stored{1000, 123, AspectMode::KeepRatio, true};
    ResizeDialog dialog(stored, QSize(640, 480));
    // Shown without modality: the test's watchdog closes modal windows.
    EXPECT_TRUE(dialog.isModal());
    dialog.setWindowModality(Qt::NonModal);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Umrechnung Bildgröße"));
    EXPECT_EQ(dialog.ReferenceLabel()->text(), QStringLiteral("640 x 480"));
    EXPECT_EQ(dialog.RecomputeBox()->text(), QStringLiteral("neu berechnen"));
    EXPECT_EQ(dialog.AspectButton(AspectMode::KeepRatioFrame)->text(),
              QStringLiteral("Verhältnis mit Rahmen beibehalten"));
    EXPECT_TRUE(dialog.AspectButton(AspectMode::KeepRatio)->isChecked());
    // The stored target is shown as it was, not recomputed.
    EXPECT_EQ(dialog.WidthBox()->value(), 1000);
    EXPECT_EQ(dialog.HeightBox()->value(), 123);

    // Typing X gives Y, typing Y gives X.
    QLineEdit* x = dialog.WidthBox()->findChild<QLineEdit*>();
    QLineEdit* y = dialog.HeightBox()->findChild<QLineEdit*>();
    x->selectAll();
    QTest::keyClicks(x, QStringLiteral("320"));
    EXPECT_EQ(dialog.WidthBox()->value(), 320);
    EXPECT_EQ(dialog.HeightBox()->value(), 240);
    y->selectAll();
    QTest::keyClicks(y, QStringLiteral("120"));
    EXPECT_EQ(dialog.WidthBox()->value(), 160);
    // Free: the sides are independent.
    dialog.AspectButton(AspectMode::Free)->click();
    dialog.WidthBox()->setValue(700);
    EXPECT_EQ(dialog.Choice(), (ResizeChoice{700, 120, AspectMode::Free, true}));

    // The stored recompute flag decides the limit, not the ticked box.
    ResizeDialog unlimited(ResizeChoice{1000, 100, AspectMode::Free, false}, QSize(640, 480));
    unlimited.RecomputeBox()->setChecked(true);
    unlimited.AspectButton(AspectMode::KeepRatio)->click();
    EXPECT_EQ(unlimited.Choice(), (ResizeChoice{1000, 750, AspectMode::KeepRatio, true}));
    // A first opening offers the reference size.
    ResizeDialog first(ResizeChoice{0, 0, AspectMode::KeepRatio, true}, QSize(640, 480));
    EXPECT_EQ(first.WidthBox()->value(), 640);
    EXPECT_EQ(first.HeightBox()->value(), 480);
}

TEST(TrimSizeDialogWidget, TextsAndValues) {
    TrimSizeDialog dialog(TrimResizeSet{1, 300, 200}, QSize(636, 480));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Freier Ausschnitt"));
    EXPECT_EQ(dialog.RescaleBox()->text(),
              QStringLiteral("Nach Ausschittsanpassung auf obige Größe umrechnen."));
    EXPECT_EQ(dialog.ReferenceLabel()->text(), QStringLiteral("636 x 480"));
    EXPECT_EQ(dialog.Choice(), (TrimResizeSet{1, 300, 200}));
    dialog.RescaleBox()->setChecked(false);
    dialog.WidthBox()->setValue(0);  // a trim is at least one pixel
    EXPECT_EQ(dialog.Choice(), (TrimResizeSet{0, 1, 200}));
}

}  // namespace
}  // namespace duplora
