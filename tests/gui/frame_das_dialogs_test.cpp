// The frame's dialog, the frame burnt into saved pictures, the DAS container dialog and
// "Schreibe Ausrichtung", as the user meets them: keys, visible fields, buttons and the file
// choosers. What the dialogs make is compared with the core operations called directly.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "app/edit/frame_style.h"
#include "app/image/qimage_bridge.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/das.h"
#include "core/formats/stereo_save.h"
#include "gui/edit/border_dialog.h"
#include "gui/edit/das_dialog.h"
#include "gui/shell/save_dialogs.h"
#include "gui_test_main.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ClickControl;
using test::Control;
using test::SamePixels;
using test::TypeOver;

using test::TypeFileName;

class FrameDasTest : public test::NoisePairTest {
  protected:
    MainWindow& Open(int width, int height) {
        return OpenNoisePair(width, height, "view_l.bmp", "view_r.bmp");
    }
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
    // The pair's side-by-side composition at full size with the document's offset.
    ImageBuffer Composed() const {
        const StereoDocument& doc = window_->Document();
        CompositionInput input;
        input.first = &doc.Left().image;
        input.second = &doc.Right().image;
        input.dx = doc.Dx();
        input.dy = doc.Dy();
        return ComposeSaveImage(input, false).ValueOr(ImageBuffer{});
    }
};

// ---- BORDER --------------------------------------------------------------------------------

TEST_F(FrameDasTest, BorderOkStoresTheValuesAndThePreviewIsTheCoreFrame) {
    Open(120, 90);
    const BorderSet before = window_->CurrentSettings().border;
    BorderSet expected = before;
    expected.show = 1;
    expected.roundCorners = 0;
    expected.outerDisplay = 3;
    expected.middleDisplay = 7;
    expected.outerPrint = 6;
    expected.innerColour = ColourRef(0x12, 0x34, 0x56);
    host_.QueueAs<BorderDialog>([](BorderDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("BORDER"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Rahmen"));
        // The first width has the focus.
        EXPECT_EQ(QApplication::focusWidget(), Control(d, 3219));
        TypeOver(Control(d, 3219), QStringLiteral("3"));
        TypeOver(Control(d, 3224), QStringLiteral("7"));
        TypeOver(Control(d, 3231), QStringLiteral("6"));
        ClickControl(d, 3228);
        ClickControl(d, 3229);
        ClickControl(d, 3225);  // the colour chooser, scripted below
        EXPECT_EQ(Control<QLabel>(d, 3226)->pixmap().toImage().pixelColor(4, 4),
                  QColor(0x12, 0x34, 0x56));
        // The preview is both views framed by the core with the view's widths.
        EXPECT_EQ(d.PreviewMode(), DisplayMode::SideBySide);
        const ImageBuffer framed =
            AddBorder(d.PreviewSource(), DisplayMode::SideBySide, DisplayFrameStyle(d.Border()))
                .ValueOr(ImageBuffer{});
        EXPECT_TRUE(SamePixels(ImageBufferFromQImage(d.Shown()), framed, "border_preview"));
        EXPECT_EQ(d.PreviewSource().Width(), 2 * 150);
        return true;
    });
    test::QueueColour(host_, QStringLiteral("#123456"));
    Key(Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(host_.Count(), 2);
    EXPECT_EQ(window_->CurrentSettings().border, expected);
    EXPECT_EQ(store_->ReadSetting("border"), "1\t0\t3\t7\t2\t6\t20\t4\t16777215\t0\t5649426\t0\t");
    // The view leaves room for the frame shown.
    EXPECT_EQ(window_->Document().FrameWidth(), 3 + 7 + 2);
}

TEST_F(FrameDasTest, BorderCancelChangesNothing) {
    Open(60, 40);
    const BorderSet before = window_->CurrentSettings().border;
    const int frame = window_->Document().FrameWidth();
    host_.Queue([](QDialog& d) {
        TypeOver(Control(d, 3227), QStringLiteral("9"));
        ClickControl(d, 3228);
        ASSERT_TRUE(test::ClickButton(d, QStringLiteral("Abbrechen")));
    });
    Key(Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(host_.Count(), 1);
    EXPECT_EQ(window_->CurrentSettings().border, before);
    EXPECT_EQ(store_->ReadSetting("border"), "");
    EXPECT_EQ(window_->Document().FrameWidth(), frame);
}

// ---- the frame burnt into saved pictures ----------------------------------------------------

TEST_F(FrameDasTest, SavesWithTheFrameShownCarryIt) {
    Open(64, 48);
    Key(Qt::Key_Left);                   // an offset, so the composition is cut
    window_->ExecuteCommand(CmdBorder);  // the toolbar's "frame shown"
    ASSERT_EQ(window_->CurrentSettings().border.show, 1);
    const BorderSet& border = window_->CurrentSettings().border;

    const std::string stereo = Path("framed.bmp");
    host_.Queue([&stereo](QDialog& d) {
        // The dialog's picture is the framed one.
        EXPECT_EQ(Control<QLabel>(d, 1234)->text(),
                  QStringLiteral("Bildgröße (%1 X %2)").arg(2 * (64 - 4) + 4 * 28).arg(48 + 56));
        TypeFileName(d, QString::fromStdString(stereo));
    });
    window_->ExecuteCommand(CmdSaveStereo);
    const ImageBuffer expected =
        AddBorder(Composed(), DisplayMode::SideBySide, border).ValueOr(ImageBuffer{});
    EXPECT_TRUE(SamePixels(ReadBmpFile(stereo), expected, "framed_stereo"));

    // Left and right files each get a frame of their own.
    host_.Queue([this](QDialog& d) { TypeFileName(d, QString::fromStdString(Path("lr.bmp"))); });
    window_->ExecuteCommand(CmdSaveLeftRight);
    const StereoViews views = SplitForLeftRightSave(Composed(), false);
    EXPECT_TRUE(SamePixels(
        ReadBmpFile(Path("lr_l.bmp")),
        AddBorder(views.left, DisplayMode::Single, border).ValueOr(ImageBuffer{}), "framed_left"));
    EXPECT_TRUE(
        SamePixels(ReadBmpFile(Path("lr_r.bmp")),
                   AddBorder(views.right, DisplayMode::Single, border).ValueOr(ImageBuffer{}),
                   "framed_right"));

    // With the frame hidden again, the save is the bare composition.
    window_->ExecuteCommand(CmdBorder);
    host_.Queue([this](QDialog& d) { TypeFileName(d, QString::fromStdString(Path("bare.bmp"))); });
    window_->ExecuteCommand(CmdSaveStereo);
    EXPECT_TRUE(SamePixels(ReadBmpFile(Path("bare.bmp")), Composed(), "bare"));
}

// ---- MKDAS ---------------------------------------------------------------------------------

// The container keeps the sources' times and gives them back: the core's DAS tests prove it.
TEST_F(FrameDasTest, DasRoundTripThroughTheDialogRestoresBothSources) {
    Open(50, 40);
    const QString out = dir_.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    const std::string das = (out + "/pair.das").toStdString();

    host_.Queue([&](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("MKDAS"));
        // The open pair's files are in the fields.
        EXPECT_EQ(Control<QLineEdit>(d, 1035)->text(), QString::fromStdString(leftPath_));
        EXPECT_EQ(Control<QLineEdit>(d, 1036)->text(), QString::fromStdString(rightPath_));
        ASSERT_TRUE(test::ClickButton(d, QStringLiteral("Erstellen/Wiederherstellen")));
        EXPECT_EQ(Control<QLabel>(d, 1040)->text(),
                  QStringLiteral("(pair.dasDatei erstellt - Zum Beenden [Abbrechen] drücken."));
        EXPECT_TRUE(Control<QLineEdit>(d, 1035)->text().isEmpty());
        // A container picked as the left file is its own partner; the button restores it.
        ClickControl(d, 1037);
        EXPECT_EQ(Control<QLineEdit>(d, 1036)->text(), QString::fromStdString(das));
        ASSERT_TRUE(test::ClickButton(d, QStringLiteral("Erstellen/Wiederherstellen")));
        EXPECT_EQ(Control<QLabel>(d, 1040)->text(),
                  QStringLiteral(
                      "Originaldatein wiederhergestellt !  Zum Beenden, [Abbrechen] drücken "));
        ASSERT_TRUE(test::ClickButton(d, QStringLiteral("Abbrechen")));
    });
    // The container's name: the left stem without "_l" in the left file's folder; typed over
    // with another folder.
    host_.Queue([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Erstellen/Wiederherstellen DAS Datei"));
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
                  QStringLiteral("view.das"));
        TypeFileName(d, QString::fromStdString(das));
    });
    host_.Queue([&](QDialog& d) { TypeFileName(d, QString::fromStdString(das)); });
    // Restoring offers the stored left name, which brings back both files.
    host_.Queue([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Originalbild wiederherstellen"));
        auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        EXPECT_EQ(name->text(), QStringLiteral("view_l.bmp"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    window_->ExecuteCommand(CmdMakeDas);
    EXPECT_EQ(host_.Count(), 4);

    for (const auto& [source, restored] :
         {std::pair{leftPath_, out + "/view_l.bmp"}, std::pair{rightPath_, out + "/view_r.bmp"}})
        EXPECT_EQ(test::FileBytes(restored), test::FileBytes(QString::fromStdString(source)));
}

TEST_F(FrameDasTest, DasDialogAsksForBothSourcesPairsAPickedLeftFileAndWritesNothingOnCancel) {
    const std::string left = Path("scene_L.bmp"), right = Path("scene_R.bmp");
    ASSERT_TRUE(test::WriteBmpForTest(test::MakeNoise(8, 8, 1), left) &&
                test::WriteBmpForTest(test::MakeNoise(8, 8, 2), right));
    Start();
    const QString hint = QStringLiteral(
        "Nach Eingabe des L/R Bildes oder einer DAS Datei, drücke Erstellen / Wiederherstellen "
        "Knopf");
    host_.Queue([&](QDialog& d) {
        EXPECT_EQ(Control<QLabel>(d, 1040)->text(), hint);
        ASSERT_TRUE(test::ClickButton(d, QStringLiteral("Erstellen/Wiederherstellen")));
        EXPECT_EQ(Control<QLabel>(d, 1040)->text(),
                  QStringLiteral("Bitte ein linkes/rechtes Quellbild oder die DAS Datei angeben."));
        // The right file follows the picked left one by its name.
        ClickControl(d, 1037);
        EXPECT_EQ(Control<QLineEdit>(d, 1035)->text(), QString::fromStdString(left));
        EXPECT_EQ(Control<QLineEdit>(d, 1036)->text(), QString::fromStdString(right));
        EXPECT_EQ(Control<QLabel>(d, 1040)->text(), hint);
        // Cancelling the name leaves the sources where they are.
        ASSERT_TRUE(test::ClickButton(d, QStringLiteral("Erstellen/Wiederherstellen")));
        EXPECT_EQ(
            Control<QLabel>(d, 1040)->text(),
            QStringLiteral(
                "Nach Auswahl der Quelldatei, bitte [Erstellen / Wiederherstellen] drücken."));
        ASSERT_TRUE(test::ClickButton(d, QStringLiteral("Abbrechen")));
    });
    host_.Queue([&](QDialog& d) { TypeFileName(d, QString::fromStdString(left)); });
    host_.Queue([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    window_->ExecuteCommand(CmdMakeDas);
    EXPECT_EQ(host_.Count(), 3);
    EXPECT_TRUE(QDir(dir_.path()).entryList({"*.das"}).isEmpty());
}

// ---- Schreibe Ausrichtung -------------------------------------------------------------------

// Which bytes of the container change is the core's (DasAlignmentWrite); here the shown offset
// reaches them.
TEST_F(FrameDasTest, WriteAlignmentWritesTheShownOffsetIntoTheOpenDas) {
    const ImageBuffer l = test::MakeNoise(40, 30, 5), r = test::MakeNoise(40, 30, 6);
    ASSERT_TRUE(test::WriteBmpForTest(l, Path("a_l.bmp")) &&
                test::WriteBmpForTest(r, Path("a_r.bmp")));
    const std::string das = Path("a.das");
    ASSERT_TRUE(CreateDasFile(das, Path("a_l.bmp"), Path("a_r.bmp"), 12, -3));
    Start({das, {}});
    ASSERT_TRUE(window_->Document().BothLoaded());
    EXPECT_EQ(window_->Document().Dx(), -12);
    Key(Qt::Key_Right);  // dx − 4
    Key(Qt::Key_Up);
    const int dx = window_->Document().Dx(), dy = window_->Document().Dy();
    Key(Qt::Key_Y);
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Schreibe Ausrichtungsdaten"));
    EXPECT_EQ(host_.LastText(),
              QStringLiteral("(%1)\nInformationen (X = %2,Y = %3)wurden geschrieben.")
                  .arg(QString::fromStdString(das))
                  .arg(-dx)
                  .arg(-dy));
    DasHeader header;
    ASSERT_TRUE(ReadDasHeader(das, header));
    EXPECT_EQ(header.alignX, -dx);
    EXPECT_EQ(header.alignY, dy);

    // Opened again, the pair shows the written alignment.
    window_.reset();
    Start({das, {}});
    EXPECT_EQ(window_->Document().Dx(), dx);
    EXPECT_EQ(window_->Document().Dy(), dy);
}

TEST_F(FrameDasTest, WriteAlignmentOnAPairOfFilesSaysItNeedsADas) {
    Open(40, 30);
    const QByteArray before = test::FileBytes(QString::fromStdString(leftPath_));
    Key(Qt::Key_Left);
    Key(Qt::Key_Y);
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("FEHLER"));
    EXPECT_TRUE(host_.LastText().startsWith(QStringLiteral("Kann Ausrichtungsdaten nicht")));
    EXPECT_EQ(test::FileBytes(QString::fromStdString(leftPath_)), before);
}

}  // namespace
}  // namespace duplora
