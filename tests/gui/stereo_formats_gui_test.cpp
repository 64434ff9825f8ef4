// Multi-picture files, the layout told from a file's content, half-size and camera-Exif
// saves, and the least-squares anaglyphs, as a user meets them in the window.
#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/formats/mpo.h"
#include "core/formats/open_preview.h"
#include "gui/shell/main_window.h"
#include "gui/shell/open_dialogs.h"
#include "gui/shell/save_dialogs.h"
#include "gui_test_main.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Control;
using test::Settle;

// Picking a file checks the layout its content tells, whatever its name says; the user's
// click afterwards stands.
TEST(StereoFormatsDialogs, OpenDialogPreselectsTheLayoutOfTheContent) {
    if (!test::SampleExists("mpo/sugarshack.mpo") ||
        !test::SampleExists("single-file/walrus-360.top-bottom.jpg"))
        GTEST_SKIP() << "sample photographs missing";
    QTemporaryDir dir;
    const QString mpo = dir.filePath(QStringLiteral("a.jpg"));
    const QString ou = dir.filePath(QStringLiteral("b.jpg"));
    std::filesystem::copy_file(test::SamplePath("mpo/sugarshack.mpo"), mpo.toStdString());
    std::filesystem::copy_file(test::SamplePath("single-file/walrus-360.top-bottom.jpg"),
                               ou.toStdString());
    OpenDialogSetup setup;
    setup.kind = OpenDialogKind::StereoFile;
    setup.title = QStringLiteral("Stereobild öffnen");
    setup.filter = OpenDialogFilter(nullptr);
    OpenDialog dialog(setup);
    dialog.show();
    QRadioButton* mpoRadio = Control<QRadioButton>(dialog, 3009);
    ASSERT_NE(mpoRadio, nullptr);
    EXPECT_EQ(mpoRadio->text(), QStringLiteral("MPO"));
    EXPECT_TRUE(mpoRadio->isVisible());
    test::ClickFile(dialog, mpo);
    EXPECT_TRUE(mpoRadio->isChecked());
    EXPECT_EQ(dialog.Layout(), StereoLayout::Mpo);
    test::ClickFile(dialog, ou);
    EXPECT_TRUE(Control<QRadioButton>(dialog, 3002)->isChecked());
    test::ClickControl(dialog, 3001);
    EXPECT_EQ(dialog.Layout(), StereoLayout::SideBySide);
}

class StereoFormatsWindow : public test::WindowTest {};

// An MPO opens through the dialog as its two pictures, saves as MPO by its type, and a
// side-by-side save with halved views keeps a view's size; the panel shows the switches
// where they apply.
TEST_F(StereoFormatsWindow, MpoOpensAndSavesAndHalfSizeAndCameraExifSwitches) {
    if (!test::SampleExists("mpo/frozenpond.mpo")) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = Start();
    host_.QueueTyping(test::QSample("mpo/frozenpond.mpo"));
    w.ExecuteCommand(CmdOpenStereo);
    Settle();
    ASSERT_TRUE(w.Document().Left().image);
    EXPECT_EQ(w.Document().Left().image.Width(), 640);
    EXPECT_EQ(w.Document().Right().image.Width(), 640);

    const QString mpo = dir_.filePath(QStringLiteral("out.mpo"));
    host_.Queue([&](QDialog& dialog) {
        auto* save = dynamic_cast<SaveDialog*>(&dialog);
        ASSERT_NE(save, nullptr);
        QCheckBox* half = dialog.findChild<QCheckBox*>(QStringLiteral("halfSize"));
        QCheckBox* camera = dialog.findChild<QCheckBox*>(QStringLiteral("cameraExif"));
        ASSERT_TRUE(half && camera);
        EXPECT_TRUE(half->isVisible());
        EXPECT_TRUE(camera->isVisible());
        EXPECT_FALSE(camera->isChecked());  // off until chosen
        save->SelectType(OutputFormat::Bmp);
        EXPECT_FALSE(camera->isVisible());
        save->SelectType(OutputFormat::Mpo);
        EXPECT_FALSE(half->isVisible());
        EXPECT_TRUE(camera->isVisible());
        test::TypeFileName(*save, mpo);
    });
    w.ExecuteCommand(CmdSaveStereo);
    Settle();
    const QByteArray bytes = test::FileBytes(mpo);
    const std::vector<MpoPicture> index = ReadMpoIndex(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
    EXPECT_EQ(index.size(), 2u);

    const QString half = dir_.filePath(QStringLiteral("half.jpg"));
    host_.Queue([&](QDialog& dialog) {
        auto* save = dynamic_cast<SaveDialog*>(&dialog);
        ASSERT_NE(save, nullptr);
        save->SelectType(OutputFormat::Jpeg);
        dialog.findChild<QCheckBox*>(QStringLiteral("halfSize"))->click();
        test::TypeFileName(*save, half);
    });
    w.ExecuteCommand(CmdSaveStereo);
    Settle();
    const ImageBuffer written = test::LoadJpeg(half.toStdString());
    ASSERT_TRUE(written);
    EXPECT_EQ(written.Width(), 640);
    EXPECT_EQ(written.Height(), 480);
}

// The least-squares kinds are items of the colour-anaglyph menu and select the mode.
TEST_F(StereoFormatsWindow, DuboisKindsAreInTheColourAnaglyphMenu) {
    if (!test::SampleExists("mpo/sugarshack.mpo")) GTEST_SKIP() << "sample photographs missing";
    MainWindow& w = Start();
    host_.QueueTyping(test::QSample("mpo/sugarshack.mpo"));
    w.ExecuteCommand(CmdOpenStereo);
    Settle();
    QStringList texts;
    for (QAction* a : test::Opened(test::MenuOf(w, QStringLiteral("TOOLSMC"))))
        texts << a->text().section('\t', 0, 0);
    for (const char* text :
         {"&Dubois (rot/cyan)", "Dubois (grün/&magenta)", "Dubois (&amber/blau)"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    w.ExecuteCommand(CmdDuboisAmberBlue);
    Settle();
    EXPECT_EQ(w.Document().Mode(), DisplayMode::ColourAnaglyph);
    EXPECT_EQ(w.Document().ColourKind(), ColourAnaglyphKind::DuboisAmberBlue);
}

}  // namespace
}  // namespace duplora
