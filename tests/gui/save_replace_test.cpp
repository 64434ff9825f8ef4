// Saving over an existing file asks first, in the window's own German, and only once the name
// has its final ending; Qt's own dialog texts come in German too.
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "core/formats/load_chain.h"
#include "gui/shell/dialogs.h"
#include "gui/shell/file_dialog_panel.h"
#include "gui/shell/main_window.h"
#include "support/test_support.h"

namespace duplora {
namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(StereoSaveReplace, ExistingFileIsAskedAboutUnderItsFullName) {
    const std::string left = test::SamplePath("pairs/sugarshack_l.jpg");
    const std::string right = test::SamplePath("pairs/sugarshack_r.jpg");
    if (!test::SampleExists("pairs/sugarshack_l.jpg")) GTEST_SKIP() << "samples missing";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SettingsStore store(dir.filePath(QStringLiteral("duplmaker.ini")));
    StartOptions options;
    options.samplePairWhenEmpty = false;
    MainWindow window(store, options);
    dialogs::ResetSkipped();
    ClearDialogDrivers();
    dialogs::QueueFiles({QString::fromStdString(left), QString::fromStdString(right)});
    window.ExecuteCommand(CmdOpenLeftRight);
    ASSERT_TRUE(window.Document().BothLoaded());

    // "bild" typed without an ending becomes bild.jpg (JPEG is the first type), which exists.
    const QString target = dir.filePath(QStringLiteral("bild.jpg"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    const auto saveAs = [&](const QString& typed) {
        QueueDialogDriver([typed](FileDialogPanel& dialog) {
            dialog.SelectFiles({typed});
            return true;
        });
        window.Document().SetModified(true);
        window.ExecuteCommand(CmdSaveStereo);
    };

    dialogs::ResetSkipped();
    dialogs::QueueButton(QMessageBox::Cancel);
    saveAs(dir.filePath(QStringLiteral("bild")));
    EXPECT_EQ(dialogs::LastSkippedText(),
              QStringLiteral("Datei bereits vorhanden! Diese Datei ersetzen ?"));
    EXPECT_EQ(dialogs::LastSkippedCaption(), target);
    EXPECT_EQ(FileBytes(target), QByteArray("old"));
    EXPECT_TRUE(window.Document().Modified());

    dialogs::ResetSkipped();
    dialogs::QueueButton(QMessageBox::Ok);
    saveAs(dir.filePath(QStringLiteral("bild")));
    EXPECT_EQ(dialogs::SkippedCount(), 1);
    const LoadedImage read = LoadImageFile(target.toStdString());
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(read.image.Width(), 1280);
    EXPECT_FALSE(window.Document().Modified());

    // A new name is written without a question.
    dialogs::ResetSkipped();
    saveAs(dir.filePath(QStringLiteral("neu.bmp")));
    EXPECT_EQ(dialogs::SkippedCount(), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("neu.bmp"))));
    EXPECT_EQ(QueuedDialogDrivers(), 0);
}

TEST(GermanQtTexts, MessageBoxButtonsSpeakGerman) {
    if (!dialogs::InstallGermanQtTexts()) GTEST_SKIP() << "Qt's translations are not installed";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&Nein"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

}  // namespace
}  // namespace duplora
