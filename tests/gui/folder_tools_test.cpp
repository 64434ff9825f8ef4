// Renaming and the mosaic as the user meets them: the dialogs open by their keys, the rules
// are set in the panel with the sample line following every keystroke, and the files of a
// scratch folder come out renamed or joined, every one accounted for.
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>

#include <gtest/gtest.h>

#include "core/formats/load_chain.h"
#include "gui/lists/rename_dialogs.h"
#include "gui_test_main.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ClickControl;
using test::Control;
using test::PixelAt;
using test::Settle;
using test::TypeOver;

class FolderToolsTest : public test::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("work")));
    }
    QString F(const QString& name) const { return dir_.filePath(QStringLiteral("work/") + name); }
    QStringList Files() const {
        return QDir(dir_.filePath(QStringLiteral("work")))
            .entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    }
    void Touch(const QString& name, const QByteArray& bytes) {
        ASSERT_TRUE(test::WriteFileBytes(F(name), bytes));
    }
    // Shows the folder in the dialog, types `names` and clicks the button `id`.
    void Pick(QDialog& dialog, const QString& names, int id) {
        dialog.findChild<QFileDialog*>()->setDirectory(dir_.filePath(QStringLiteral("work")));
        Settle();
        if (!names.isEmpty()) test::TypeFileName(dialog, names, false);
        ClickControl(dialog, id);
    }
};

TEST_F(FolderToolsTest, RenumberingNamesTheSortedPicksAndShowsItsSample) {
    for (const char* name : {"img_0031.jpg", "IMG_0005.JPG", "img_0012.jpg", "keep.jpg"})
        Touch(QLatin1String(name), name);
    Start();
    host_.Queue([&](QDialog& dialog) {
        ASSERT_NE(dynamic_cast<RenameDialog*>(&dialog), nullptr);
        auto* sample = Control<QLabel>(dialog, 3158);
        ASSERT_TRUE(sample->isVisible());
        ClickControl(dialog, 3146);
        TypeOver(Control<QLineEdit>(dialog, 3154), QStringLiteral("P"));
        TypeOver(Control<QLineEdit>(dialog, 3155), QStringLiteral("007"));
        TypeOver(Control<QLineEdit>(dialog, 3156), QStringLiteral(".jpg"));
        EXPECT_EQ(sample->text(), QStringLiteral("IMG_0123.JPG --> P007.jpg"));
        // "*" keeps each file's digits.
        TypeOver(Control<QLineEdit>(dialog, 3155), QStringLiteral("*"));
        EXPECT_EQ(sample->text(), QStringLiteral("IMG_0123.JPG --> P0123.jpg"));
        TypeOver(Control<QLineEdit>(dialog, 3155), QStringLiteral("007"));
        Pick(dialog, QStringLiteral("\"img_0031.jpg\" \"IMG_0005.JPG\" \"img_0012.jpg\""), 1367);
    });
    host_.QueueButton(QMessageBox::Yes);  // "3 Dateien umbenennen. Wollen Sie starten ?"
    Key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(Files(), (QStringList{"keep.jpg", "P007.jpg", "P008.jpg", "P009.jpg"}));
    // Every file is still there, each under its new name.
    EXPECT_EQ(test::FileBytes(F("P007.jpg")), "IMG_0005.JPG");
    EXPECT_EQ(test::FileBytes(F("P008.jpg")), "img_0012.jpg");
    EXPECT_EQ(test::FileBytes(F("P009.jpg")), "img_0031.jpg");
}

TEST_F(FolderToolsTest, WholeFolderGetsLettersAndATakenNameIsSkipped) {
    for (const char* name : {"a.jpg", "b.jpg", "b_x.jpg", "f.jpg", "notes.txt"})
        Touch(QLatin1String(name), name);
    // A folder holds the name f.jpg would get.
    ASSERT_TRUE(QDir().mkpath(F(QStringLiteral("f_x.jpg"))));
    Start();
    host_.Queue([&](QDialog& dialog) {
        ClickControl(dialog, 3143);
        TypeOver(Control<QLineEdit>(dialog, 3150), QStringLiteral("_x"));
        EXPECT_EQ(Control<QLabel>(dialog, 3158)->text(),
                  QStringLiteral("IMG_0123.JPG --> IMG_0123_x.JPG"));
        Pick(dialog, {}, 1368);
    });
    host_.QueueButton(QMessageBox::Yes);
    Key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(host_.LastText(),
              QStringLiteral("Diese Datei existiert bereits - wird übersprungen."));
    // b_x.jpg makes room for b.jpg; f.jpg stays; the text file is no picture.
    EXPECT_EQ(Files(), (QStringList{"a_x.jpg", "b_x.jpg", "b_x_x.jpg", "f.jpg", "notes.txt"}));
    EXPECT_EQ(test::FileBytes(F("b_x.jpg")), "b.jpg");
    EXPECT_EQ(test::FileBytes(F("b_x_x.jpg")), "b_x.jpg");
}

TEST_F(FolderToolsTest, MosaicIsAsWideAsAllAndCentresEachPicture) {
    const auto one = [](std::uint32_t colour) { return [colour](int, int) { return colour; }; };
    ASSERT_TRUE(
        test::WriteBmpForTest(test::MakeImage(200, 80, one(0x2080C0)), F("b.bmp").toStdString()));
    ASSERT_TRUE(
        test::WriteBmpForTest(test::MakeImage(100, 50, one(0xC03020)), F("A.bmp").toStdString()));
    MainWindow& w = Start();
    QStringList titles;
    QObject::connect(&w, &QWidget::windowTitleChanged,
                     [&](const QString& title) { titles << title; });
    const QString target = F("joined.bmp");
    host_.Queue([&](QDialog& dialog) {
        ASSERT_EQ(dialog.objectName(), QStringLiteral("MULTICONNECT"));
        TypeOver(Control<QLineEdit>(dialog, 1410), target);
        Pick(dialog, QStringLiteral("\"b.bmp\" \"A.bmp\""), 1367);
    });
    host_.QueueButton(QMessageBox::Yes);  // "Verbinde 2 Dateien. Wollen Sie starten ?"
    Key(Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Mosaik Bild"));
    const ImageBuffer joined = LoadPictureFile(target.toStdString());
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined.Width(), 300);
    EXPECT_EQ(joined.Height(), 80);
    // "A" sorts first: 15 rows down, then "b" beside it, on black.
    EXPECT_EQ(PixelAt(joined, 0, 14), 0u);
    EXPECT_EQ(PixelAt(joined, 0, 15), 0xC03020u);
    EXPECT_EQ(PixelAt(joined, 99, 64), 0xC03020u);
    EXPECT_EQ(PixelAt(joined, 99, 65), 0u);
    EXPECT_EQ(PixelAt(joined, 100, 0), 0x2080C0u);
    EXPECT_TRUE(titles.contains(QStringLiteral("1/2")));
    EXPECT_TRUE(titles.contains(QStringLiteral("Image Size(x=300  Y=80)  2/2")));
    // ImageMagick reads the same size.
    QProcess identify;
    identify.start(QStringLiteral("identify"),
                   {QStringLiteral("-format"), QStringLiteral("%w %h"), target});
    if (identify.waitForFinished(20000) && identify.exitCode() == 0) {
        EXPECT_EQ(identify.readAllStandardOutput().trimmed(), "300 80");
    }

    // An existing target is replaced only when the user agrees.
    const QByteArray before = test::FileBytes(target);
    host_.Queue([&](QDialog& dialog) {
        TypeOver(Control<QLineEdit>(dialog, 1410), target);
        Pick(dialog, QStringLiteral("\"A.bmp\""), 1367);
    });
    host_.QueueButton(QMessageBox::Yes);
    host_.QueueButton(QMessageBox::No);  // "Datei bereits vorhanden. ..."
    w.ExecuteCommand(CmdMosaic);
    EXPECT_EQ(test::FileBytes(target), before);
}

}  // namespace
}  // namespace duplora
