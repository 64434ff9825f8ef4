// The open and save dialogs, as widgets and through the window's commands: every layout the
// stereo-file dialog offers opens through the core's reader, and what the save dialogs write
// reads back. What the readers and writers do with the pixels is pinned in the core.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/shell/dialog_texts.h"

#include <gtest/gtest.h>

#include "core/formats/bmp_codec.h"
#include "core/formats/das.h"
#include "core/formats/load_chain.h"
#include "core/formats/open_preview.h"
#include "gui/shell/main_window.h"
#include "gui/shell/open_dialogs.h"
#include "gui/shell/save_dialogs.h"
#include "gui_test_main.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ClickControl;
using test::Control;
using test::FileBytes;
using test::kSmallLeft;
using test::kSmallRight;
using test::MakeImage;
using test::MakeNoise;
using test::PixelAt;
using test::QSample;
using test::SampleExists;
using test::SamplePath;
using test::Settle;
using test::TypeFileName;

const char* const kGx8Left = "pairs/gx8_l.jpg";

class OpenSaveTest : public test::WindowTest {
  protected:
    // The next stereo-file dialog picks `path` with the layout radio of `layout` (turned left
    // has no radio of its own and is kept from the last opening).
    void QueueStereoOpen(const QString& path, int layout) {
        host_.Queue([path, layout](QDialog& dialog) {
            ClickControl(dialog, 3001 + layout);
            TypeFileName(dialog, path);
        });
    }

    // The next save dialog is set up by `setUp`, then saves as `path`.
    void QueueSave(const QString& path, std::function<void(SaveDialog&)> setUp = {}) {
        host_.Queue([path, setUp](QDialog& dialog) {
            auto* save = dynamic_cast<SaveDialog*>(&dialog);
            ASSERT_NE(save, nullptr);
            if (setUp) setUp(*save);
            TypeFileName(dialog, path);
        });
    }

    // Opens through the stereo-file dialog and shows the result at 100 %.
    void OpenStereo(const QString& path, int layout) {
        QueueStereoOpen(path, layout);
        window_->ExecuteCommand(CmdOpenStereo);
        Settle();
        window_->ExecuteCommand(CmdZoom100);
        Settle();
    }

    QSize ViewSize(Side side) const {
        const ImageBuffer& image = window_->Document().View(side).image;
        return {image.Width(), image.Height()};
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }
};

// ---- the open dialog as a widget ---------------------------------------------------------

OpenDialogSetup StereoSetup(StereoLayout layout, bool preview) {
    OpenDialogSetup setup;
    setup.kind = OpenDialogKind::StereoFile;
    setup.title = QStringLiteral("Stereobild öffnen");
    setup.filter = OpenDialogFilter(nullptr);
    setup.layout = layout;
    setup.showPreview = preview;
    setup.preview.readDas = ReadDasPreview;
    return setup;
}

TEST(OpenDialogWidget, LayoutRadiosStartOnTheRememberedLayoutAndSetIt) {
    struct Case {
        StereoLayout remembered;
        int checkedId;
    };
    // Turned left is checked though hidden; a pair starts on side by side.
    for (const Case c : {Case{StereoLayout::Anaglyph, 3004}, Case{StereoLayout::TurnedLeft, 3006},
                         Case{StereoLayout::Pair, 3001}}) {
        OpenDialog dialog(StereoSetup(c.remembered, false));
        for (int id = 3001; id <= 3008; ++id) {
            QRadioButton* radio = Control<QRadioButton>(dialog, id);
            ASSERT_NE(radio, nullptr) << id;
            EXPECT_EQ(radio->isChecked(), id == c.checkedId) << c.checkedId << " " << id;
            // Turned left has no button of its own.
            EXPECT_EQ(radio->isHidden(), id == 3006) << id;
        }
    }
    OpenDialog dialog(StereoSetup(StereoLayout::SideBySide, false));
    Control<QRadioButton>(dialog, 3007)->click();
    EXPECT_EQ(dialog.Layout(), StereoLayout::TriDeltaTT);
    Control<QCheckBox>(dialog, 3000)->click();
    EXPECT_TRUE(dialog.FitSize());
    EXPECT_EQ(Control<QCheckBox>(dialog, 3000)->text(), QStringLiteral("in Normalgröße öffnen"));
}

// The texts and thumbnails of each kind of file are pinned with the core's preview.
TEST(OpenDialogWidget, PreviewShowsTypeSizeColoursAndAFittedThumbnail) {
    if (!SampleExists(kGx8Left) || !SampleExists(kSmallLeft)) GTEST_SKIP() << "no samples";
    // With the preview off nothing is read; switching it on previews the selected file.
    OpenDialog dialog(StereoSetup(StereoLayout::SideBySide, false));
    dialog.show();
    test::ClickFile(dialog, QSample(kGx8Left));
    EXPECT_FALSE(dialog.Preview());
    EXPECT_TRUE(Control<QLabel>(dialog, 1238)->text().isEmpty());
    Control<QCheckBox>(dialog, 1231)->click();
    EXPECT_EQ(Control<QLabel>(dialog, 1234)->text(), QStringLiteral("Dateityp : Jpeg File"));
    EXPECT_EQ(Control<QLabel>(dialog, 1238)->text(),
              QStringLiteral("Bildgröße: 1824x1367  Farben: Volle Farbanzahl "));
    // The longer side fitted to 160, the shorter one in proportion (the Exif thumbnail or
    // the 1/8 reduction, whichever the file gives).
    ASSERT_TRUE(dialog.Preview());
    const QSize thumbnail = Control<QLabel>(dialog, 1232)->pixmap().size();
    EXPECT_EQ(thumbnail.width(), 160);
    EXPECT_EQ(thumbnail.height(), 160 * dialog.Preview()->height / dialog.Preview()->width);
    // The file has an Exif orientation of 1: the rotation radios show "Original".
    EXPECT_TRUE(Control<QRadioButton>(dialog, 1261)->isChecked());
    for (int id = 1260; id <= 1263; ++id)
        EXPECT_FALSE(Control<QRadioButton>(dialog, id)->isHidden()) << id;
    // A file without an Exif orientation hides them; switching the preview off clears all.
    test::ClickFile(dialog, QSample(kSmallLeft));
    EXPECT_TRUE(Control<QRadioButton>(dialog, 1261)->isHidden());
    Control<QCheckBox>(dialog, 1231)->click();
    EXPECT_FALSE(dialog.ShowPreview());
    for (int id : {1234, 1238}) EXPECT_TRUE(Control<QLabel>(dialog, id)->text().isEmpty()) << id;
    EXPECT_TRUE(Control<QLabel>(dialog, 1232)->pixmap().isNull());
}

TEST(OpenDialogWidget, ChoosingARotationRewritesTheTagKeepingTheFileTime) {
    if (!SampleExists(kGx8Left)) GTEST_SKIP() << "sample photographs missing";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("turn.jpg"));
    ASSERT_TRUE(QFile::copy(QSample(kGx8Left), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    struct stat before {};
    ASSERT_EQ(::stat(copy.toLocal8Bit().constData(), &before), 0);

    OpenDialog dialog(StereoSetup(StereoLayout::SideBySide, true));
    dialog.show();
    test::ClickFile(dialog, copy);
    Control<QRadioButton>(dialog, 1262)->click();  // "rechts 90°"
    ASSERT_TRUE(dialog.Preview());
    EXPECT_EQ(dialog.Preview()->orientation, 6);
    // The preview is rebuilt from the turned file: now higher than wide.
    const QSize turned = Control<QLabel>(dialog, 1232)->pixmap().size();
    EXPECT_EQ(turned.height(), 160);
    EXPECT_NEAR(turned.width(), 120, 1);
    struct stat after {};
    ASSERT_EQ(::stat(copy.toLocal8Bit().constData(), &after), 0);
    EXPECT_EQ(after.st_mtime, before.st_mtime);
}

TEST(OpenDialogWidget, LeftRightDialogTakesSeveralFilesAndSingleHasNoPanel) {
    OpenDialogSetup setup = StereoSetup(StereoLayout::SideBySide, false);
    setup.kind = OpenDialogKind::LeftRight;
    OpenDialog pair(setup);
    EXPECT_EQ(pair.Files()->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(pair.findChild<QLabel*>(QStringLiteral("multiHint"))->text(),
              QStringLiteral("Sie können mehrere Bilder (L/R) zugleich auswählen. "));

    setup.kind = OpenDialogKind::Single;
    OpenDialog single(setup);
    EXPECT_TRUE(single.Panel()->isHidden());
    EXPECT_EQ(single.Files()->fileMode(), QFileDialog::ExistingFile);
    EXPECT_TRUE(single.Files()->nameFilters().front().startsWith(
        QStringLiteral("JPS/DAS/BMI/JPG/STJ/BMP/TIF File (")));
}

// Shown as the user sees it: the file list, the name box (with the keyboard focus) and the
// type list sit inside the dialog's window beside the options; typing a name and Return
// accepts, Escape cancels.
TEST(OpenDialogWidget, ShownDialogHoldsTheFileListAndTakesATypedName) {
    if (!SampleExists(kSmallLeft)) GTEST_SKIP() << "sample photographs missing";
    test::ScriptedHost host;
    for (const bool accept : {true, false}) {
        OpenDialog dialog(StereoSetup(StereoLayout::OverUnder, true));
        host.Queue([&dialog, accept](QDialog&) {
            for (const char* name :
                 {"stackedWidget", "fileNameEdit", "fileTypeCombo", "buttonBox"}) {
                QWidget* part = dialog.findChild<QWidget*>(QLatin1String(name));
                ASSERT_NE(part, nullptr) << name;
                EXPECT_TRUE(part->isVisible()) << name;
                EXPECT_EQ(part->window(), &dialog) << name;
            }
            EXPECT_EQ(QApplication::focusWidget(), dialog.NameBox());
            EXPECT_TRUE(Control<QRadioButton>(dialog, 3002)->isVisible());
            if (accept)
                test::TypeIntoFocus(QSample(kSmallLeft));
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        EXPECT_EQ(dialog.Run(host), accept);
        if (accept) {
            ASSERT_EQ(dialog.Chosen().size(), 1);
            // The samples folder may be reached through "..": compare where the names lead.
            EXPECT_EQ(QFileInfo(dialog.Chosen().front()).canonicalFilePath(),
                      QFileInfo(QSample(kSmallLeft)).canonicalFilePath());
            EXPECT_EQ(dialog.Layout(), StereoLayout::OverUnder);
        }
    }
}

// ---- the save dialog as a widget ---------------------------------------------------------

SaveDialogSetup SaveSetup(const ImageBuffer& image, OutputFormat type, const QString& name) {
    SaveDialogSetup setup;
    setup.kind = SaveDialogKind::StereoPicture;
    setup.title = QStringLiteral("Stereobild Speichern");
    setup.name = name;
    setup.saveImage = &image;
    setup.settings.type = type;
    setup.settings.quality = 99;
    return setup;
}

// How the estimate is made and rounded is pinned with the core's size estimate; here the
// labels show it and the button asks for the measurement.
TEST(SaveDialogWidget, LargePictureIsEstimatedUntilTheButtonMeasuresIt) {
    const ImageBuffer image = MakeImage(2000, 750, [](int x, int y) {
        return static_cast<std::uint32_t>(((x / 7) * 0x10305 + (y / 5) * 0x30201) & 0xFFFFFF);
    });
    for (const bool large : {true, false}) {
        const ImageBuffer small = MakeNoise(200, 100, 3);
        SaveDialog dialog(
            SaveSetup(large ? image : small, OutputFormat::Jpeg, QStringLiteral("pair.jpg")));
        EXPECT_EQ(Control<QPushButton>(dialog, 3096)->isHidden(), !large);
        EXPECT_EQ(dialog.Estimate().exact, !large);
        EXPECT_EQ(Control<QLabel>(dialog, 1230)->text(),
                  QString::fromStdString(SaveEstimateText(dialog.Estimate())));
        if (!large) continue;
        Control<QPushButton>(dialog, 3096)->click();
        EXPECT_TRUE(dialog.Estimate().exact);
        Control<QScrollBar>(dialog, 1243)->setValue(98);
        EXPECT_EQ(Control<QLabel>(dialog, 1242)->text(), QStringLiteral("98"));
    }
}

// Which controls each type shows is pinned with the core's save panel.
TEST(SaveDialogWidget, TypeListFixesTheExtensionAndShowsTheRightControls) {
    const ImageBuffer image = MakeNoise(300, 300, 5);
    SaveDialog dialog(SaveSetup(image, OutputFormat::Jpeg, QStringLiteral("pair.bmp")));
    EXPECT_EQ(dialog.NameInBox(), QStringLiteral("pair.jpg"));
    for (const auto& [type, name] : {std::pair{OutputFormat::Bmp, "pair.bmp"},
                                     {OutputFormat::Stj, "pair.stj"},
                                     {OutputFormat::Jps, "pair.jps"}}) {
        dialog.SelectType(type);
        EXPECT_EQ(dialog.NameInBox(), QLatin1String(name));
        EXPECT_EQ(Control<QWidget>(dialog, 1243)->isHidden(), type == OutputFormat::Bmp) << name;
        EXPECT_EQ(Control<QLabel>(dialog, 3073)->isHidden(), type != OutputFormat::Stj) << name;
    }
}

TEST(SaveDialogWidget, LeftRightDialogOffersJpegAndBmpAndKeepsTwentyCharacterSuffixes) {
    const ImageBuffer image = MakeNoise(100, 50, 9);
    SaveDialogSetup setup = SaveSetup(image, OutputFormat::Stj, QStringLiteral("a.jpg"));
    setup.kind = SaveDialogKind::LeftRight;
    setup.leftSuffix = QStringLiteral("_l");
    setup.rightSuffix = QStringLiteral("_r");
    SaveDialog dialog(setup);
    EXPECT_EQ(dialog.Files()->nameFilters(),
              QStringList({QStringLiteral("JPEG File (*.jpg *.JPG *.jpeg *.JPEG)"),
                           QStringLiteral("BMP File (*.bmp *.BMP)")}));
    EXPECT_EQ(dialog.Settings().type, OutputFormat::Jpeg);  // no STJ here
    EXPECT_EQ(Control<QLineEdit>(dialog, 3057)->text(), QStringLiteral("_l"));
    Control<QLineEdit>(dialog, 3058)->setText(QStringLiteral("_rechts_und_noch_viel_mehr"));
    EXPECT_EQ(dialog.RightSuffix(), QStringLiteral("_rechts_und_noch_vie"));
}

// ---- opening through the window ------------------------------------------------------------

TEST_F(OpenSaveTest, LeftRightDialogOffersThePartnerOrAsksForTheRightFile) {
    if (!SampleExists(kGx8Left) || !test::HaveSmallPair()) GTEST_SKIP() << "samples missing";
    MainWindow& w = Start();
    host_.QueueTyping(QSample(kSmallRight));
    host_.QueueButton(QMessageBox::Yes);
    w.ExecuteCommand(CmdOpenLeftRight);
    Settle();
    EXPECT_EQ(host_.LastText(), "Öffne '" + QSample(kSmallLeft) + "' als Stereopaar?");
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Bestätigung"));
    // The chosen file is the left view, its partner the right one.
    EXPECT_EQ(std::pair(w.Document().Left().path, w.Document().Right().path),
              std::pair(SamplePath(kSmallRight), SamplePath(kSmallLeft)));

    // Declined, the right file is asked for.
    host_.Reset();
    host_.QueueTyping(QSample(kGx8Left));
    host_.QueueButton(QMessageBox::No);
    host_.QueueTyping(QSample(kSmallRight));
    w.ExecuteCommand(CmdOpenLeftRight);
    Settle();
    EXPECT_EQ(host_.Count(), 3);
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Rechtes Bild öffnen"));
    EXPECT_EQ(w.Document().Left().path, SamplePath(kGx8Left));
    EXPECT_EQ(w.Document().Right().path, SamplePath(kSmallRight));
    // Different sizes are brought to one.
    EXPECT_EQ(ViewSize(Side::Left), ViewSize(Side::Right));
}

// Every layout of a small generated picture: the view sizes each split gives show that the
// chosen radio reached the reader.
TEST_F(OpenSaveTest, EverySplitLayoutOpensAGeneratedPicture) {
    MainWindow& w = Start();
    const QString path = Path(QStringLiteral("made.bmp"));
    ASSERT_TRUE(WriteBmpFile(path.toStdString(), MakeNoise(41, 30, 1)));
    // Side by side drops the odd last column; the turned layouts swap the sides.
    for (const auto& [layout, view] : {std::pair{0, QSize(20, 30)},
                                       {1, QSize(41, 15)},
                                       {2, QSize(41, 30)},
                                       {3, QSize(41, 30)},
                                       {4, QSize(30, 20)},
                                       {6, QSize(30, 20)},
                                       {7, QSize(30, 20)}}) {
        OpenStereo(path, layout);
        ASSERT_TRUE(w.Document().BothLoaded()) << layout;
        EXPECT_EQ(ViewSize(Side::Left), view) << layout;
        EXPECT_EQ(ViewSize(Side::Right), view) << layout;
        EXPECT_EQ(w.CurrentSettings().fileTypeHistory[0], layout);
    }
    // A file no reader takes leaves the pair as it was and says why.
    const QString title = w.windowTitle();
    const QString text = Path(QStringLiteral("cut.jpg"));
    ASSERT_TRUE(test::WriteFileBytes(text, QByteArray::fromHex("FFD8FFE000104A46494600")));
    const QString unknown = Path(QStringLiteral("notes.xyz"));
    ASSERT_TRUE(test::WriteFileBytes(unknown, "not a picture"));
    // A BMP head that promises 70000 × 10 pixels.
    QByteArray head(54, '\0');
    head[0] = 'B';
    head[1] = 'M';
    for (int i = 0; i < 4; ++i) head[18 + i] = static_cast<char>((70000 >> (8 * i)) & 0xFF);
    head[22] = 10;
    const QString huge = Path(QStringLiteral("huge.bmp"));
    ASSERT_TRUE(test::WriteFileBytes(huge, head));
    const struct {
        QString path;
        const char* why;
    } unreadable[] = {
        {text, "Die Datei ist beschädigt oder unvollständig."},
        {unknown, "Das Bildformat ist unbekannt."},
        {huge, "Das Bild ist zu groß."},
    };
    for (const auto& c : unreadable) {
        OpenStereo(c.path, 0);
        EXPECT_TRUE(w.Document().BothLoaded());
        EXPECT_EQ(w.windowTitle(), title);
        EXPECT_EQ(host_.LastText(), QStringLiteral("Die Datei [%1] kann nicht gelesen werden: %2")
                                        .arg(c.path, QString::fromUtf8(c.why)));
    }
}

TEST_F(OpenSaveTest, JpegCutShortOpensWithAWarning) {
    if (!SampleExists(kSmallLeft)) GTEST_SKIP() << "samples missing";
    MainWindow& w = Start();
    const QString cut = Path(QStringLiteral("cut.jpg"));
    const QByteArray whole = FileBytes(QSample(kSmallLeft));
    ASSERT_TRUE(test::WriteFileBytes(cut, whole.left(whole.size() / 2)));
    OpenStereo(cut, 0);
    EXPECT_TRUE(w.Document().BothLoaded());
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Achtung"));
    EXPECT_EQ(
        host_.LastText(),
        QStringLiteral("Die Datei [%1] ist beschädigt und wurde nur zum Teil gelesen.").arg(cut));
}

TEST_F(OpenSaveTest, DasFileSplitsSideBySideAndBringsItsAlignment) {
    if (!SampleExists(kSmallLeft) || !SampleExists(kSmallRight)) GTEST_SKIP() << "samples missing";
    MainWindow& w = Start();
    const QString das = Path(QStringLiteral("pair.das"));
    ASSERT_TRUE(
        CreateDasFile(das.toStdString(), SamplePath(kSmallLeft), SamplePath(kSmallRight), 5, 3));
    OpenStereo(das, 1);  // over/under chosen: a container is side by side all the same
    ASSERT_TRUE(w.Document().BothLoaded());
    EXPECT_EQ(ViewSize(Side::Left), QSize(640, 480));
    EXPECT_EQ(w.Document().Dx(), -5);
    EXPECT_EQ(w.Document().Dy(), 3);
}

TEST_F(OpenSaveTest, CancelledStereoDialogOpensNothingButKeepsThePickedLayout) {
    MainWindow& w = Start();
    host_.Queue([](QDialog& dialog) {
        ClickControl(dialog, 3003);
        ClickControl(dialog, 1231);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    w.ExecuteCommand(CmdOpenStereo);
    Settle();
    EXPECT_FALSE(w.Document().BothLoaded());
    EXPECT_EQ(store_->ReadSetting("nOpenPreview"), "1");
    // The next dialog starts on interlace.
    bool interlace = false;
    host_.Queue([&interlace](QDialog& dialog) {
        interlace = Control<QRadioButton>(dialog, 3003)->isChecked();
    });
    w.ExecuteCommand(CmdOpenStereo);
    EXPECT_TRUE(interlace);
}

// ---- saving through the window -----------------------------------------------------------

// Starts with the small pair, or skips without the photographs.
class SaveThroughWindowTest : public OpenSaveTest {
  protected:
    void SetUp() override {
        OpenSaveTest::SetUp();
        if (!test::HaveSmallPair()) GTEST_SKIP() << "sample photographs missing";
        StartSmallPair();
        ASSERT_TRUE(window_->Document().BothLoaded());
    }
    const ImageBuffer& Left() const { return window_->Document().Left().image; }
    const ImageBuffer& Right() const { return window_->Document().Right().image; }

    // Saves left and right files named after `name`, with suffixes typed in when given.
    void SaveLeftRight(const QString& name, const QString& left = {}, const QString& right = {}) {
        QueueSave(Path(name), [left, right](SaveDialog& dialog) {
            if (left.isEmpty()) return;
            test::TypeOver(Control(dialog, 3057), left);
            test::TypeOver(Control(dialog, 3058), right);
        });
        window_->ExecuteCommand(CmdSaveLeftRight);
    }
};

// What each type writes is pinned by the core's save tests; here the dialog's choice reaches
// it, the pair counts as saved and the choices are stored.
TEST_F(SaveThroughWindowTest, StereoPictureReadsBackInEveryType) {
    MainWindow& w = *window_;
    for (const char* name : {"out.bmp", "out.jpg", "out.jps", "out.stj"}) {
        w.Document().SetModified(true);
        host_.Reset();
        const QString path = Path(QLatin1String(name));
        QueueSave(path, [](SaveDialog& dialog) { dialog.SetQuality(90); });
        w.ExecuteCommand(CmdSaveStereo);
        EXPECT_EQ(host_.Count(), 1) << name;  // the save dialog; nothing to tell
        const LoadedImage read = LoadImageFile(path.toStdString());
        ASSERT_TRUE(read.loaded) << name;
        EXPECT_EQ(QSize(read.image.Width(), read.image.Height()), QSize(1280, 480)) << name;
        EXPECT_FALSE(w.Document().Modified()) << name;
    }
    EXPECT_EQ(w.CurrentSettings().saveFolder, dir_.path().toStdString());
    EXPECT_EQ(store_->ReadSetting("nQuality"), "90");
    // A JPS opens again as a side-by-side stereo file.
    OpenStereo(Path(QStringLiteral("out.jps")), 0);
    EXPECT_EQ(ViewSize(Side::Left), QSize(640, 480));
}

TEST_F(SaveThroughWindowTest, MirrorSwitchTurnsTheLeftHalfOfASideBySideSave) {
    const QString path = Path(QStringLiteral("mirror.bmp"));
    QueueSave(path, [](SaveDialog& dialog) {
        // Hidden until a double click with the right button.
        QCheckBox* mirror = Control<QCheckBox>(dialog, 3217);
        QTest::mouseDClick(&dialog, Qt::LeftButton);
        EXPECT_TRUE(mirror->isHidden());
        QTest::mouseDClick(&dialog, Qt::RightButton);
        EXPECT_FALSE(mirror->isHidden());
        mirror->click();
    });
    window_->ExecuteCommand(CmdSaveStereo);
    const LoadedImage read = LoadImageFile(path.toStdString());
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(PixelAt(read.image, 0, 10), PixelAt(Left(), 639, 10));
    EXPECT_EQ(PixelAt(read.image, 640, 10), PixelAt(Right(), 0, 10));
    // The views themselves are not touched.
    EXPECT_EQ(PixelAt(Left(), 0, 10), PixelAt(LoadImageFile(SamplePath(kSmallLeft)).image, 0, 10));
    // Once on, the switch is there from the start.
    bool shown = false;
    host_.Queue(
        [&shown](QDialog& dialog) { shown = Control<QCheckBox>(dialog, 3217)->isVisible(); });
    window_->ExecuteCommand(CmdSaveStereo);
    EXPECT_TRUE(shown);
}

TEST_F(SaveThroughWindowTest, LeftAndRightFilesGetTheirSuffixes) {
    SaveLeftRight(QStringLiteral("pair.bmp"), QStringLiteral("-L"), QStringLiteral("-R"));
    const LoadedImage left = LoadImageFile(Path(QStringLiteral("pair-L.bmp")).toStdString());
    const LoadedImage right = LoadImageFile(Path(QStringLiteral("pair-R.bmp")).toStdString());
    EXPECT_TRUE(test::SamePixels(left.image, Left()));
    EXPECT_TRUE(test::SamePixels(right.image, Right()));
    EXPECT_EQ(store_->ReadSetting("Leftname"), "-L");
    EXPECT_EQ(store_->ReadSetting("Rightname"), "-R");
    // As JPEG files with the stored suffixes.
    SaveLeftRight(QStringLiteral("pair.jpg"));
    EXPECT_EQ(LoadImageFile(Path(QStringLiteral("pair-R.jpg")).toStdString()).image.Width(), 640);
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("pair-L.jpg"))));
}

// Each writer's failure on a full disk is pinned with the core's file writing; here the
// window tells it and keeps the pair modified.
TEST_F(SaveThroughWindowTest, FailingSaveTellsTheUserAndLeavesTheOldFile) {
    const QString folder = Path(QStringLiteral("full"));
    ASSERT_TRUE(QDir().mkpath(folder));
    window_->Document().SetModified(true);
    const QString target = folder + QStringLiteral("/keep.jpg");
    ASSERT_TRUE(test::WriteFileBytes(target, "the old picture"));
    QueueSave(target);
    host_.QueueButton(QMessageBox::Ok);  // replace it
    {
        test::DiskFullAfter full(2000);
        ASSERT_TRUE(full.Active());
        window_->ExecuteCommand(CmdSaveStereo);
    }
    EXPECT_EQ(host_.LastText(), QStringLiteral("Kann Bild nicht speichern"));
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("FEHLER"));
    EXPECT_EQ(FileBytes(target), QByteArray("the old picture"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no scratch file left behind";
    EXPECT_TRUE(window_->Document().Modified());
}

// "bild" typed without an ending becomes bild.jpg (JPEG is the first type), which exists: the
// question names the whole path; Cancel keeps the old file and the modified pair.
TEST_F(SaveThroughWindowTest, NameWithoutEndingGetsItBeforeTheReplaceQuestion) {
    const QString target = Path(QStringLiteral("bild.jpg"));
    ASSERT_TRUE(test::WriteFileBytes(target, "old"));
    for (const auto answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
        window_->Document().SetModified(true);
        QueueSave(Path(QStringLiteral("bild")));
        host_.QueueButton(answer);
        window_->ExecuteCommand(CmdSaveStereo);
        EXPECT_EQ(host_.LastText(),
                  QStringLiteral("Datei bereits vorhanden! Diese Datei ersetzen ?"));
        EXPECT_EQ(host_.LastTitle(), target);
        EXPECT_EQ(window_->Document().Modified(), answer == QMessageBox::Cancel);
    }
    EXPECT_EQ(LoadImageFile(target.toStdString()).image.Width(), 1280);
    // The status bar no longer shows the writing progress.
    EXPECT_FALSE(window_->StatusText(0).startsWith(QStringLiteral("schreibe")));
}

TEST(GermanQtTexts, MessageBoxButtonsSpeakGerman) {
    if (!InstallGermanQtTexts()) GTEST_SKIP() << "Qt's translations are not installed";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&Nein"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

TEST_F(SaveThroughWindowTest, CancelledSaveWritesNothingAndASinglePictureSavesAlone) {
    window_->ExecuteCommand(CmdSaveStereo);  // nothing queued: cancelled
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Stereobild Speichern"));
    EXPECT_TRUE(QDir(dir_.path()).entryList({QStringLiteral("*.jpg")}, QDir::Files).isEmpty());

    OpenSingle(QSample(kSmallLeft));
    ASSERT_TRUE(window_->Document().SingleImageMode());
    const QString path = Path(QStringLiteral("mono.bmp"));
    QueueSave(path);
    window_->ExecuteCommand(CmdSaveStereo);
    const LoadedImage read = LoadImageFile(path.toStdString());
    ASSERT_TRUE(read.loaded);
    EXPECT_TRUE(test::SamePixels(read.image, window_->Document().Left().image, "mono"));
}

}  // namespace
}  // namespace duplora
