// The alignment dialogs as the user meets them: opened with their keys, scroll bars moved with
// the keyboard and the mouse, guide lines drawn in the preview, OK and Abbrechen clicked. OK
// must give exactly what the core operations give for the same values, Abbrechen leaves the
// pair as it was. Undo of these edits is the document's, tested there.
#include <QAbstractButton>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "app/align/adjustment.h"
#include "app/image/qimage_bridge.h"
#include "app/shell/settings.h"
#include "core/align/gamma.h"
#include "core/stereo/anaglyph_methods.h"
#include "gui/align/adjust_dialog.h"
#include "gui/align/gamma_dialogs.h"
#include "gui_test_main.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ClickControl;
using test::Press;
using test::Settle;
using test::Shown;

QString Text(QWidget& dialog, int id) {
    auto* label = Shown<QLabel>(dialog, id);
    return label ? label->text() : QString();
}

// A click into a horizontal scroll bar's trough right of the thumb: one page up.
void PageRight(QWidget& dialog, int id) {
    if (auto* bar = Shown<QScrollBar>(dialog, id)) {
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                          QPoint(bar->width() - bar->height() - 4, bar->height() / 2));
        Settle(2);
    }
}

using AlignDialogs = test::NoisePairTest;

TEST_F(AlignDialogs, AdjustOkGivesTheCorrectionsOfTheCore) {
    OpenNoisePair(241, 161);
    host_.QueueAs<AdjustDialog>([](AdjustDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("ANGLES"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Justage"));
        // The rotation's scroll bar has the focus; the linked right rotation follows it.
        Press(Qt::Key_Right, 5);
        EXPECT_EQ(Text(d, 3024), QStringLiteral("0.5 Grad"));
        EXPECT_EQ(Text(d, 3025), QStringLiteral("0.5 Grad"));
        PageRight(d, 3020);
        EXPECT_EQ(Text(d, 3031), QStringLiteral("110 %"));
        EXPECT_EQ(Text(d, 3030), QStringLiteral("100 %"));
        EXPECT_EQ(d.findChild<QWidget*>(QStringLiteral("ctl3016")), nullptr);
        return true;
    });
    Key(Qt::Key_J);
    ASSERT_EQ(host_.Count(), 1);
    ExpectPair(CorrectView(left_, {5, 0, 0, 0}, kDefaultHalfFieldOfView),
               CorrectView(right_, {5, 0, 0, 10}, kDefaultHalfFieldOfView), "adjust");
}

TEST_F(AlignDialogs, ExtendedAdjustMirrorsPerspectivesAndShrinksOntoBlack) {
    OpenNoisePair(200, 120);
    host_.QueueAs<AdjustDialog>([](AdjustDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("ANGLESK"));
        PageRight(d, 3015);  // V_Links +1.0 degree, V_Rechts mirrored
        EXPECT_EQ(Text(d, 3027), QStringLiteral("-1.0 Grad"));
        ClickControl(d, 3176);  // unlinked from here on
        EXPECT_FALSE(Shown<QAbstractButton>(d, 3176)->isChecked());
        PageRight(d, 3017);
        EXPECT_EQ(Text(d, 3029), QStringLiteral("0.0 Grad"));
        Shown<QScrollBar>(d, 3019)->setFocus();
        Press(Qt::Key_PageUp, 5);  // 50 %
        EXPECT_EQ(Text(d, 3030), QStringLiteral("50 %"));
        return true;
    });
    Key(Qt::Key_H);
    ExpectPair(CorrectView(left_, {0, 10, 10, -50}, kDefaultHalfFieldOfView),
               CorrectView(right_, {0, -10, 0, 0}, kDefaultHalfFieldOfView), "extended");
}

TEST_F(AlignDialogs, CancelChangesNothingAndASinglePictureOpensNone) {
    OpenNoisePair(120, 90);
    for (Qt::Key key : {Qt::Key_J, Qt::Key_H, Qt::Key_G}) {
        host_.Queue([](QDialog& d) {
            Press(Qt::Key_End);
            ASSERT_TRUE(test::ClickButton(d, QStringLiteral("Abbrechen")));
        });
        Key(key);
    }
    // OK with nothing changed makes no undo step either.
    for (Qt::Key key : {Qt::Key_J, Qt::Key_G}) {
        host_.Queue([](QDialog& d) { ASSERT_TRUE(test::ClickButton(d, QStringLiteral("OK"))); });
        Key(key);
    }
    EXPECT_EQ(host_.Count(), 5);
    ExpectPair(left_, right_, "cancel");
    EXPECT_FALSE(window_->Document().HasUndo());
    // A single picture opens none of them.
    window_->Document().SetSingleImageMode(true);
    host_.Reset();
    for (Qt::Key key : {Qt::Key_J, Qt::Key_H, Qt::Key_G}) Key(key);
    EXPECT_EQ(host_.Count(), 0);
}

TEST_F(AlignDialogs, OffsetRoundTripsThroughThePositionSlots) {
    MainWindow& window = OpenNoisePair(241, 161);
    window.Document().SetOffset(7, -3);
    // Unchanged labels: the offset stays and no undo step is made.
    host_.QueueAs<AdjustDialog>([](AdjustDialog& d) {
        EXPECT_EQ(Text(d, 3032), QStringLiteral("-7"));
        EXPECT_EQ(Text(d, 3033), QStringLiteral("3"));
        return true;
    });
    Key(Qt::Key_J);
    EXPECT_EQ(window.Document().Dx(), 7);
    EXPECT_EQ(window.Document().Dy(), -3);
    EXPECT_FALSE(window.Document().HasUndo());
    host_.QueueAs<AdjustDialog>([](AdjustDialog& d) {
        Shown<QScrollBar>(d, 3021)->setFocus();
        Press(Qt::Key_Left, 2);
        Shown<QScrollBar>(d, 3022)->setFocus();
        Press(Qt::Key_Down, 4);
        EXPECT_EQ(Text(d, 3032), QStringLiteral("-9"));
        EXPECT_EQ(Text(d, 3033), QStringLiteral("-1"));
        return true;
    });
    Key(Qt::Key_J);
    EXPECT_EQ(window.Document().Dx(), 9);
    EXPECT_EQ(window.Document().Dy(), 1);
    ExpectPair(left_, right_, "offset");
}

TEST_F(AlignDialogs, GuideLineAndAutoAdjustLevelTheLeftView) {
    OpenNoisePair(400, 300);
    host_.QueueAs<AdjustDialog>([](AdjustDialog& d) {
        ClickControl(d, 3046);
        QWidget* pane = Shown(d, 1233);
        test::DragMouse(pane, QPoint(10, 50), QPoint(110, 40), 4);
        EXPECT_EQ(d.Line(false).state, GuideLine::kSet);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Justage"));
        ClickControl(d, 3060);
        EXPECT_EQ(Text(d, 3024), QStringLiteral("5.7 Grad"));
        // A second line in the same view needs "Hilfslinie zurücksetzen" first.
        const GuideLine first = d.Line(false);
        test::DragMouse(pane, QPoint(20, 80), QPoint(200, 80), 4);
        EXPECT_EQ(d.Line(false), first);
        ClickControl(d, 3059);
        EXPECT_EQ(d.Line(false).state, GuideLine::kNone);
        return false;
    });
    Key(Qt::Key_J);
    ExpectPair(left_, right_, "guide");
}

TEST_F(AlignDialogs, MovingAPositionOnlyComposesAgain) {
    OpenNoisePair(320, 200);
    host_.QueueAs<AdjustDialog>([](AdjustDialog& d) {
        const int before = d.Preview().Corrections();
        EXPECT_GT(before, 0);
        Shown<QScrollBar>(d, 3021)->setFocus();
        Press(Qt::Key_Right, 3);
        EXPECT_EQ(d.Preview().Corrections(), before);
        Shown<QScrollBar>(d, 3013)->setFocus();
        Press(Qt::Key_Right);
        EXPECT_EQ(d.Preview().Corrections(), before + 2);  // both views, linked
        EXPECT_FALSE(d.Shown().isNull());
        return false;
    });
    Key(Qt::Key_J);
}

TEST_F(AlignDialogs, FullSizeEdgesAndTheAlternatingView) {
    OpenNoisePair(900, 700);
    host_.QueueAs<AdjustDialog>([](AdjustDialog& d) {
        ClickControl(d, 3049);
        EXPECT_EQ(d.Preview().Zoom(), 100);
        EXPECT_EQ(d.Preview().PreviewWidth(), 900);
        QWidget* pane = Shown(d, 1233);
        test::DragMouse(pane, QPoint(200, 200), QPoint(100, 120), 3);  // pans, moves nothing
        EXPECT_EQ(Text(d, 3032), QStringLiteral("0"));
        ClickControl(d, 3236);
        EXPECT_FALSE(d.Shown().isNull());
        ClickControl(d, 3049);
        EXPECT_LT(d.Preview().PreviewWidth(), 900);
        ClickControl(d, 3048);
        EXPECT_EQ(d.ViewMode(), 3);
        const QImage first = d.Shown();
        // The next tick (20 × 10 ms) shows the other view.
        for (int wait = 0; wait < 40 && d.Shown() == first; ++wait) QTest::qWait(50);
        EXPECT_NE(d.Shown(), first);
        return false;
    });
    Key(Qt::Key_J);
}

TEST_F(AlignDialogs, GammaOkGivesApplyGammaOfBothViews) {
    OpenNoisePair(150, 100);
    host_.QueueAs<GammaDialog>([](GammaDialog& d) {
        EXPECT_EQ(Text(d, 3079).left(6), QStringLiteral("Gamma "));
        PageRight(d, 3077);
        Shown<QScrollBar>(d, 3078)->setFocus();
        Press(Qt::Key_Left, 3);
        EXPECT_EQ(d.Choice().left, 110);
        EXPECT_EQ(d.Choice().right, 97);
        EXPECT_EQ(d.Shown(true), QImageFromImageBuffer(ApplyGamma(d.Base(true), 97, true).image));
        return true;
    });
    Key(Qt::Key_G);
    ExpectPair(ApplyGamma(left_, 110, false).image, ApplyGamma(right_, 97, false).image, "gamma");
}

TEST_F(AlignDialogs, AnaglyphSettingsStoreTheChoiceAndSwitchTheDisplay) {
    MainWindow& window = OpenNoisePair(160, 120);
    window.ExecuteCommand(CmdGreyYellowBlue);
    host_.QueueAs<AnaglyphSettingsDialog>([](AnaglyphSettingsDialog& d) {
        EXPECT_TRUE(Shown<QRadioButton>(d, 1515)->isChecked());
        ClickControl(d, 1517);
        PageRight(d, 3078);
        EXPECT_FALSE(d.Shown().isNull());
        return true;
    });
    Key(Qt::Key_Y, Qt::AltModifier);
    EXPECT_EQ(store_->ReadSetting(setting::kNAnactype), "3");
    EXPECT_EQ(store_->ReadSetting(setting::kNGmmab), "110");
    EXPECT_EQ(window.Document().Mode(), DisplayMode::ColourAnaglyph);
    EXPECT_EQ(window.Document().ColourKind(), ColourAnaglyphKind::HalfToneYellowBlue);
    // From the colour menu the colour kind is preselected; Abbrechen stores nothing.
    host_.QueueAs<AnaglyphSettingsDialog>([](AnaglyphSettingsDialog& d) {
        EXPECT_TRUE(Shown<QRadioButton>(d, 1517)->isChecked());
        ClickControl(d, 1510);
        return false;
    });
    Key(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(store_->ReadSetting(setting::kNAnatype), "");
}

// The least-squares kinds are radio buttons of their own below the others, with the texts and
// keys of their menu items: picking one shows its anaglyph in the preview, and OK selects it
// as the menu item does.
TEST_F(AlignDialogs, AnaglyphSettingsOfferTheDuboisKinds) {
    MainWindow& window = OpenNoisePair(160, 120);
    host_.QueueAs<AnaglyphSettingsDialog>([](AnaglyphSettingsDialog& d) {
        const char* const texts[] = {"&Dubois (rot/cyan)", "Dubois (grün/&magenta)",
                                     "Dubois (&amber/blau)"};
        for (int k = 0; k < 3; ++k) {
            auto* radio = Shown<QRadioButton>(d, 1518 + k);
            EXPECT_TRUE(radio && radio->text() == QString::fromUtf8(texts[k])) << texts[k];
        }
        ClickControl(d, 1519);
        const ImageBuffer expected = ComposeColourAnaglyph(
            d.Reduced(false), d.Reduced(true), CommonArea{}, ColourAnaglyphKind::DuboisGreenMagenta,
            BuildAnaglyphTables(100, 100));
        EXPECT_EQ(d.Shown(), QImageFromImageBuffer(expected));
        return true;
    });
    Key(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(store_->ReadSetting(setting::kNAnactype), "5");
    EXPECT_EQ(window.Document().Mode(), DisplayMode::ColourAnaglyph);
    EXPECT_EQ(window.Document().ColourKind(), ColourAnaglyphKind::DuboisGreenMagenta);
    // A kind chosen from the menu is the one checked at the next opening.
    window.ExecuteCommand(CmdDuboisAmberBlue);
    host_.QueueAs<AnaglyphSettingsDialog>([](AnaglyphSettingsDialog& d) {
        EXPECT_TRUE(Shown<QRadioButton>(d, 1520)->isChecked());
        EXPECT_TRUE(Shown<QRadioButton>(d, 1520)->hasFocus());
        // The key clicks the button as a mouse would, pressed for a moment.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
        auto* redCyan = Shown<QRadioButton>(d, 1518);
        EXPECT_TRUE(QTest::qWaitFor([&] { return redCyan->isChecked(); }, 2000));
        return true;
    });
    Key(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(window.Document().ColourKind(), ColourAnaglyphKind::DuboisRedCyan);
    EXPECT_EQ(store_->ReadSetting(setting::kNAnactype), "4");
}

TEST_F(AlignDialogs, StoredValuesComeBackInTheNextOpening) {
    OpenNoisePair(160, 100);
    host_.QueueAs<AdjustDialog>([](AdjustDialog& d) {
        ClickControl(d, 3176);
        Shown<QScrollBar>(d, 3013)->setFocus();
        Press(Qt::Key_Right, 15);
        Shown<QScrollBar>(d, 3014)->setFocus();
        Press(Qt::Key_Left, 15);
        ClickControl(d, 3062);  // answered "Ja" below
        return false;
    });
    host_.QueueButton(QMessageBox::Yes);
    Key(Qt::Key_J);
    EXPECT_EQ(store_->ReadSetting(setting::kKantanTyousei), "15,-15,0,0,0,0,0,0,0,0,");
    host_.QueueAs<AdjustDialog>([](AdjustDialog& d) {
        EXPECT_EQ(Text(d, 3024), QStringLiteral("0.0 Grad"));
        ClickControl(d, 3064);
        EXPECT_EQ(Text(d, 3024), QStringLiteral("1.5 Grad"));
        EXPECT_EQ(Text(d, 3025), QStringLiteral("-1.5 Grad"));
        return false;
    });
    Key(Qt::Key_J);
}

// Tiny and very wide pictures: every dialog opens, takes a change and closes.
TEST_F(AlignDialogs, OddPicturesNeitherCrashNorHang) {
    for (const QSize size : {QSize(1, 1), QSize(20000, 200)}) {
        OpenNoisePair(size.width(), size.height());
        for (Qt::Key key : {Qt::Key_J, Qt::Key_H, Qt::Key_G, Qt::Key_Y}) {
            host_.Queue([](QDialog& d) {
                Press(Qt::Key_PageUp);
                ASSERT_TRUE(test::ClickButton(d, QStringLiteral("OK")));
            });
            Key(key, key == Qt::Key_Y ? Qt::AltModifier : Qt::NoModifier);
        }
        EXPECT_EQ(host_.PendingScripts(), 0);
        EXPECT_EQ(window_->Document().Left().image.Width(), size.width());
        window_.reset();
        host_.Reset();
    }
}

}  // namespace
}  // namespace duplora
