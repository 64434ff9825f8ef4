// Sharpening, edge detection, text and logo as the user meets them: opened with their keys,
// numbers typed into the focused field, check boxes and buttons clicked, the font and colour
// choosers and the file dialog answered. OK must give exactly what the operations give for
// the same values, Abbrechen leaves the pair and the settings as they were, and undo brings
// the pair back.
#include <QAbstractButton>
#include <QApplication>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "app/edit/overlay_preview.h"
#include "app/edit/pair_overlay.h"
#include "app/image/qimage_bridge.h"
#include "app/shell/settings.h"
#include "core/edit/logo.h"
#include "core/image/filter.h"
#include "gui/edit/filter_dialogs.h"
#include "gui/edit/overlay_dialogs.h"
#include "gui_test_main.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ClickControl;
using test::SamePixels;
using test::Settle;
using test::Shown;
using test::TypeOver;

class PictureEditDialogs : public test::NoisePairTest {
  protected:
    MainWindow& Open(int width = 90, int height = 64) { return OpenNoisePair(width, height); }
    void Undo() {
        Key(Qt::Key_Z, Qt::ControlModifier);
        ExpectPair(left_, right_, "undone");
    }
    // The pair as the overlay of `settings` makes it from the opened views.
    PairOverlayInput Input(int dx = 0, int dy = 0) const {
        PairOverlayInput input;
        input.first = &left_;
        input.second = &right_;
        input.dx = dx;
        input.dy = dy;
        return input;
    }
};

// ---- sharpen and edges -------------------------------------------------------------------

struct FilterCase {
    const char* name;
    Qt::Key key;
    const char* dialog;
    int field;
    QString shownFirst;  // the stored value the field shows
    QString typed;
    int kept;  // what OK stores
    bool sharpen;
    int applied;  // the divisor or threshold the filter gets
};

class FilterDialogTest : public PictureEditDialogs,
                         public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterDialogTest, TypedValueIsKeptStoredAndAppliedToBothViews) {
    const FilterCase& c = GetParam();
    Open();
    host_.QueueAs<FilterValueDialog>([&c](FilterValueDialog& d) {
        EXPECT_EQ(d.objectName(), QString::fromLatin1(c.dialog));
        QWidget* focus = QApplication::focusWidget();
        EXPECT_EQ(focus, Shown(d, c.field));
        EXPECT_EQ(d.Field()->text(), c.shownFirst);
        TypeOver(focus, c.typed);
        return true;
    });
    Key(c.key);
    ASSERT_EQ(host_.Count(), 1);
    const auto filter = [&](const ImageBuffer& view) {
        return c.sharpen ? SharpenImage(view, c.applied) : DetectEdges(view, c.applied);
    };
    ExpectPair(filter(left_), filter(right_), c.name);
    const Settings& settings = window_->CurrentSettings();
    EXPECT_EQ(c.sharpen ? settings.sharpenStrength : settings.edgeThreshold, c.kept);
    EXPECT_EQ(store_->ReadSetting(c.sharpen ? setting::kNSharpen : setting::kNEdgedtc),
              std::to_string(c.kept));
    EXPECT_TRUE(window_->Document().Modified());
    Undo();

    // The next opening shows the kept value.
    host_.QueueAs<FilterValueDialog>([&c](FilterValueDialog& d) {
        EXPECT_EQ(d.Field()->text(), QString::number(c.kept));
        return false;
    });
    Key(c.key);
}

// How typed numbers are brought into range is the app's; the table keeps what the field itself
// reads: a sign, a lone sign and three digits.
INSTANTIATE_TEST_SUITE_P(
    Values, FilterDialogTest,
    ::testing::Values(
        FilterCase{"sharpen", Qt::Key_U, "SHAPEN", 3072, "40", "45", 45, true, 6},
        FilterCase{"sharpen_lone_sign", Qt::Key_U, "SHAPEN", 3072, "40", "-", 1, true, 50},
        FilterCase{"edges", Qt::Key_K, "EDGEDT", 3236, "16", "40", 40, false, 40},
        // 0 is kept as typed; the filter itself detects with 1.
        FilterCase{"edges_negative", Qt::Key_K, "EDGEDT", 3236, "16", "-7", 0, false, 1},
        FilterCase{"edges_too_high", Qt::Key_K, "EDGEDT", 3236, "16", "999", 255, false, 254}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PictureEditDialogs, CancelChangesNothing) {
    Open();
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_U, Qt::NoModifier}, std::pair{Qt::Key_K, Qt::NoModifier},
          std::pair{Qt::Key_T, Qt::ControlModifier}, std::pair{Qt::Key_G, Qt::ControlModifier}}) {
        host_.Queue([](QDialog& d) {
            TypeOver(QApplication::focusWidget(), QStringLiteral("7"));
            ASSERT_TRUE(test::ClickButton(d, QStringLiteral("Abbrechen")));
        });
        Key(key, modifiers);
    }
    EXPECT_EQ(host_.Count(), 4);
    ExpectPair(left_, right_, "cancel");
    EXPECT_FALSE(window_->Document().HasUndo());
    EXPECT_FALSE(window_->Document().Modified());
    for (std::string_view name : {setting::kNSharpen, setting::kNEdgedtc, setting::kTextset,
                                  setting::kLogoset, setting::kLogfont})
        EXPECT_EQ(store_->ReadSetting(name), "") << name;
    EXPECT_EQ(window_->CurrentSettings().sharpenStrength, 40);
}

// ---- text --------------------------------------------------------------------------------

TEST_F(PictureEditDialogs, TextWithFontColourShadowAndBandIsStampedOnBothViews) {
    Open(160, 90);
    host_.QueueAs<TextOverlayDialog>([this](TextOverlayDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Text hinzufügen"));
        // The text field has the focus.
        EXPECT_EQ(QApplication::focusWidget(), Shown(d, 3191));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Hallo 3D"));
        // The font chooser: a size typed into its size box.
        host_.Queue([](QDialog& font) {
            ASSERT_NE(qobject_cast<QFontDialog*>(&font), nullptr);
            QLineEdit* size = nullptr;
            bool number = false;
            for (QLineEdit* edit : font.findChildren<QLineEdit*>())
                if (edit->isVisible() && !edit->isReadOnly() &&
                    (edit->text().toInt(&number), number))
                    size = edit;
            ASSERT_NE(size, nullptr);
            TypeOver(size, QStringLiteral("24"));
            Settle(2);
            ASSERT_TRUE(test::ClickButton(font, QStringLiteral("OK")));
        });
        ClickControl(d, 3192);
        test::QueueColour(host_, QStringLiteral("#ff0000"));  // the text colour
        ClickControl(d, 1210);
        ClickControl(d, 3181);  // top left
        TypeOver(Shown(d, 3185), QStringLiteral("6"));
        TypeOver(Shown(d, 3186), QStringLiteral("4"));
        TypeOver(Shown(d, 3187), QStringLiteral("5"));
        TypeOver(Shown(d, 3205), QStringLiteral("20"));
        Settle(2);
        // The preview shows this very overlay on the left view's corner.
        const TextChoice choice = d.Choice();
        EXPECT_EQ(choice.set.textColour, ColourRef(255, 0, 0));
        QFont font;
        EXPECT_TRUE(font.fromString(QString::fromStdString(choice.font)));
        EXPECT_EQ(font.pointSize(), 24);
        const ImageBuffer preview =
            test::Made(TextPreview(left_, choice.set, choice.font, 320, 240));
        EXPECT_TRUE(SamePixels(ImageBufferFromQImage(d.Preview()), preview, "text_preview"));
        EXPECT_EQ(d.Preview().height(), 90 + 20);
        return true;
    });
    Key(Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(host_.Count(), 3);

    const Settings& settings = window_->CurrentSettings();
    TextSet expected;
    expected.corner = 0;
    expected.xDistance = 6;
    expected.yDistance = 4;
    expected.depth = 5;
    expected.textColour = ColourRef(255, 0, 0);
    expected.bandHeight = 20;
    expected.text = "Hallo 3D";
    EXPECT_EQ(settings.textSettings, expected);
    EXPECT_EQ(store_->ReadSetting(setting::kTextset),
              "0\t6\t4\t5\t255\t0\t1\t1\t1\t2105376\t1\t20\t0\tHallo 3D\t");
    EXPECT_EQ(store_->ReadSetting(setting::kLogfont), settings.textFont);

    Result<PairViews> made = AddTextToPair(Input(), settings);
    ASSERT_TRUE(made.Ok());
    ExpectPair(made.Value().first, made.Value().second, "text");
    EXPECT_EQ(window_->Document().Left().image.Height(), 90 + 20);
    Undo();
}

TEST_F(PictureEditDialogs, TextOnAnOffsetPairUsesTheCommonAreaAndClearsTheOffset) {
    Open(120, 80);
    Key(Qt::Key_Left);  // dx 4
    Key(Qt::Key_Up);    // dy −4
    ASSERT_EQ(window_->Document().Dx(), 4);
    host_.QueueAs<TextOverlayDialog>([](TextOverlayDialog& d) {
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("xy"));
        TypeOver(Shown(d, 3187), QStringLiteral("3"));
        return true;
    });
    Key(Qt::Key_T, Qt::ControlModifier);
    Result<PairViews> made = AddTextToPair(Input(4, -4), window_->CurrentSettings());
    ASSERT_TRUE(made.Ok());
    ExpectPair(made.Value().first, made.Value().second, "offset_text");
    EXPECT_EQ(window_->Document().Dx(), 0);
    EXPECT_EQ(window_->Document().Dy(), 0);
    Undo();
    EXPECT_EQ(window_->Document().Dx(), 4);
    EXPECT_EQ(window_->Document().Dy(), -4);
}

TEST_F(PictureEditDialogs, TextDefaultsAreSavedAndRestored) {
    Open();
    host_.QueueAs<TextOverlayDialog>([this](TextOverlayDialog& d) {
        TypeOver(Shown(d, 3185), QStringLiteral("17"));
        ClickControl(d, 3200);  // shadow off
        ClickControl(d, 3062);
        EXPECT_EQ(store_->ReadSetting(setting::kTextsetdef),
                  "3\t17\t0\t0\t15132390\t0\t0\t1\t1\t2105376\t1\t0\t0\t\t");
        TypeOver(Shown(d, 3185), QStringLiteral("2"));
        ClickControl(d, 3200);
        ClickControl(d, 3064);
        EXPECT_EQ(Shown<QSpinBox>(d, 3185)->value(), 17);
        EXPECT_FALSE(Shown<QAbstractButton>(d, 3200)->isChecked());
        return false;
    });
    Key(Qt::Key_T, Qt::ControlModifier);
    ExpectPair(left_, right_, "defaults");
    // Saved defaults stay saved; the values themselves were not taken.
    EXPECT_EQ(window_->CurrentSettings().textDefaults.xDistance, 17);
    EXPECT_EQ(store_->ReadSetting(setting::kTextset), "");
}

// ---- logo --------------------------------------------------------------------------------

TEST_F(PictureEditDialogs, LogoFromAFileWithATransparentColourPickedInThePreview) {
    Open(150, 100);
    // A logo with a white frame around a coloured middle.
    const ImageBuffer logo = test::MakeImage(30, 12, [](int x, int y) -> std::uint32_t {
        return (x < 3 || y < 3 || x >= 27 || y >= 9) ? 0xFFFFFFu : 0x20A040u + x;
    });
    const QString logoPath = dir_.filePath(QStringLiteral("logo.bmp"));
    ASSERT_TRUE(test::WriteBmpForTest(logo, logoPath.toStdString()));

    host_.QueueAs<LogoOverlayDialog>([&](LogoOverlayDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Logo Bild hinzufügen"));
        // Until a file is chosen the built-in logo shows.
        EXPECT_TRUE(d.Logo().builtIn);
        host_.QueueTyping(logoPath);
        ClickControl(d, 3217);
        EXPECT_FALSE(d.Logo().builtIn);
        EXPECT_EQ(Shown<QLineEdit>(d, 3216)->text(), logoPath);
        TypeOver(Shown(d, 3185), QStringLiteral("10"));
        TypeOver(Shown(d, 3186), QStringLiteral("8"));
        TypeOver(Shown(d, 3187), QStringLiteral("-4"));
        ClickControl(d, 3207);
        // "Auswahl", then a click on the logo in the preview. Bottom right corner: the logo's
        // columns 110…139 and rows 79…90 (row i lands on r0 + i − 1); its column 10 is picked.
        ClickControl(d, 3214);
        EXPECT_TRUE(d.Picking());
        const QPoint onLogo(110 + 10, 79 + 5);
        EXPECT_EQ(d.Preview().pixel(onLogo), qRgb(0x20, 0xA0, 0x4A));
        QTest::mouseClick(d.PreviewFrame(), Qt::LeftButton, Qt::NoModifier, onLogo + QPoint(2, 2));
        Settle(2);
        EXPECT_FALSE(d.Picking());
        EXPECT_EQ(d.Choice().transparentColour, ColourRef(0x20, 0xA0, 0x4A));
        // That column of the logo is left out now: the picture shows through.
        EXPECT_EQ(d.Preview().pixel(onLogo), qRgb(0, 0, 0) | test::PixelAt(left_, 120, 84));
        const ImageBuffer preview =
            test::Made(LogoPreview(left_, d.Logo().image, d.Choice(), 320, 240));
        EXPECT_TRUE(SamePixels(ImageBufferFromQImage(d.Preview()), preview, "logo_preview"));
        return true;
    });
    Key(Qt::Key_G, Qt::ControlModifier);
    ASSERT_EQ(host_.Count(), 2);

    LogoSet expected;
    expected.xDistance = 10;
    expected.yDistance = 8;
    expected.depth = -4;
    expected.transparent = 1;
    expected.transparentColour = ColourRef(0x20, 0xA0, 0x4A);
    expected.file = logoPath.toStdString();
    EXPECT_EQ(window_->CurrentSettings().logoSettings, expected);
    EXPECT_EQ(store_->ReadSetting(setting::kLogoset),
              "3\t10\t8\t-4\t1\t0\t0\t1\t4890656\t" + expected.file + "\t");
    Result<PairViews> made = AddLogoToPair(Input(), window_->CurrentSettings(), {});
    ASSERT_TRUE(made.Ok());
    ExpectPair(made.Value().first, made.Value().second, "logo");
    Undo();
}

TEST_F(PictureEditDialogs, LogoBandColourFromTheChooserAndDefaultsRestored) {
    Open();
    host_.QueueAs<LogoOverlayDialog>([this](LogoOverlayDialog& d) {
        TypeOver(Shown(d, 3205), QStringLiteral("12"));
        test::QueueColour(host_, QStringLiteral("#0000ff"));
        ClickControl(d, 1212);
        ClickControl(d, 3062);
        TypeOver(Shown(d, 3205), QStringLiteral("3"));
        ClickControl(d, 3064);
        EXPECT_EQ(Shown<QSpinBox>(d, 3205)->value(), 12);
        return true;
    });
    Key(Qt::Key_G, Qt::ControlModifier);
    const LogoSet& set = window_->CurrentSettings().logoSettings;
    EXPECT_EQ(set.bandHeight, 12);
    EXPECT_EQ(set.bandColour, ColourRef(0, 0, 255));
    EXPECT_EQ(window_->CurrentSettings().logoDefaults, set);
    EXPECT_EQ(store_->ReadSetting(setting::kLogosetdef), store_->ReadSetting(setting::kLogoset));
    // The built-in logo, on a band of blue below the picture.
    Result<PairViews> made = AddLogoToPair(Input(), window_->CurrentSettings(), {});
    ASSERT_TRUE(made.Ok());
    ExpectPair(made.Value().first, made.Value().second, "builtin_logo");
    EXPECT_EQ(test::PixelAt(window_->Document().Left().image, 0, 64 + 11), 0x0000FFu);
}

}  // namespace
}  // namespace duplora
