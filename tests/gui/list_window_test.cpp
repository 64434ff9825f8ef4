// Slide-show lists as the user meets them in the window: a list made from picked pictures,
// opened with its display mode, stepped through with each entry's layout, swap and
// alignment, extended, shortened and written back; a list written on Windows and named on
// the command line; the timed show and its background sound.
#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "app/batch/slide_list.h"
#include "app/shell/stereo_document.h"
#include "gui/lists/list_commands.h"
#include "gui/lists/list_dialogs.h"
#include "gui_test_main.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ClickControl;
using test::Control;
using test::FileBytes;
using test::PixelAt;
using test::Settle;
using test::TypeFileName;
using test::TypeOver;
using test::WriteFileBytes;

constexpr std::uint32_t kColours[] = {0xC03020, 0x2080C0, 0x30A040, 0xE0C020};

class ListWindowTest : public test::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("pics")));
        // Two pairs of files and a side-by-side picture, each view of one colour.
        for (int i = 0; i < 4; ++i) Picture(kNames[i], 64, 48, kColours[i]);
        const ImageBuffer sbs =
            test::MakeImage(128, 48, [](int x, int) { return x < 64 ? kColours[2] : kColours[3]; });
        ASSERT_TRUE(test::WriteBmpForTest(sbs, P("sbs.bmp")));
    }
    void Picture(const char* name, int width, int height, std::uint32_t colour) {
        ASSERT_TRUE(test::WriteBmpForTest(
            test::MakeImage(width, height, [colour](int, int) { return colour; }), P(name)));
    }
    std::string P(const char* name) const {
        return dir_.filePath(QStringLiteral("pics/") + QLatin1String(name)).toStdString();
    }
    QString List() const { return dir_.filePath(QStringLiteral("pics/show.txt")); }
    QByteArray ListText() const { return FileBytes(List()); }
    // The colour the document shows as its left view.
    std::uint32_t ShownLeft() const { return PixelAt(window_->Document().Left().image, 0, 0); }
    std::string ShownLeftPath() const { return window_->Document().Left().path; }
    ListCommands& Lists() const { return *window_->Lists(); }

    // Picks `names` in the list maker with the source radio `source`, then the comment.
    void QueueMaker(const QString& names, int source, const QString& comment = {},
                    bool swap = false, const QString& interval = QStringLiteral("0")) {
        host_.Queue([=, this](QDialog& dialog) {
            ASSERT_NE(dynamic_cast<ListMakerDialog*>(&dialog), nullptr);
            EXPECT_TRUE(dialog.isVisible());
            TypeOver(Control<QLineEdit>(dialog, 1249), List());
            ClickControl(dialog, source);
            auto* swapBox = Control<QAbstractButton>(dialog, 3141);
            if (swapBox->isChecked() != swap) ClickControl(dialog, 3141);
            TypeOver(Control<QLineEdit>(dialog, 1246), interval);
            TypeOver(Control<QLineEdit>(dialog, 1507), comment);
            dialog.findChild<QFileDialog*>()->setDirectory(dir_.filePath(QStringLiteral("pics")));
            Settle();
            TypeFileName(dialog, names, false);
            ClickControl(dialog, 1367);
        });
    }
    // Opens the list through its dialog with the display-mode radio `type`.
    void QueueOpen(int type, bool autostart = false) {
        host_.Queue([=, this](QDialog& dialog) {
            ASSERT_NE(dynamic_cast<OpenListDialog*>(&dialog), nullptr);
            ClickControl(dialog, 1500 + type);
            if (autostart) ClickControl(dialog, 1518);
            TypeFileName(dialog, List());
        });
    }

    static constexpr const char* kNames[] = {"a1_l.bmp", "a1_r.bmp", "a2_l.bmp", "a2_r.bmp"};
};

TEST_F(ListWindowTest, MadeOpenedPlayedExtendedShortenedAndWritten) {
    MainWindow& w = Start();
    // Alt+N: four separate files pair up in name order, then the side-by-side picture.
    QueueMaker(QStringLiteral("\"a2_r.bmp\" \"a1_l.bmp\" \"a2_l.bmp\" \"a1_r.bmp\""), 3101);
    Key(Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(host_.LastText(), QStringLiteral("2 Dateien zur Slide Show Liste hinzugefügt."));
    EXPECT_EQ(host_.LastTitle(), QStringLiteral("Dateien hinzugefügt"));
    QueueMaker(QStringLiteral("sbs.bmp"), 3097, QStringLiteral("Am See"), true,
               QStringLiteral("25"));
    Key(Qt::Key_N, Qt::AltModifier);
    const QByteArray made = QByteArray("21,0,0,0,0,") + P("a1_l.bmp").c_str() + "," +
                            P("a1_r.bmp").c_str() + ",\n21,0,0,0,0," + P("a2_l.bmp").c_str() + "," +
                            P("a2_r.bmp").c_str() + ",\n# Am See\n11,25,1,0,0," +
                            P("sbs.bmp").c_str() + ",\n";
    ASSERT_EQ(ListText(), made);

    // Alt+L with "Grau-Anaglyph": the first pair in the list's display mode.
    QueueOpen(3);
    Key(Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(w.CurrentSettings().listDisplayMode, 3);
    ASSERT_TRUE(Lists().Playing());
    EXPECT_EQ(ShownLeftPath(), P("a1_l.bmp"));
    EXPECT_EQ(w.Document().Right().path, P("a1_r.bmp"));
    EXPECT_EQ(w.Document().Mode(), DisplayMode::GreyAnaglyph);
    Key(Qt::Key_Space);
    EXPECT_EQ(ShownLeftPath(), P("a2_l.bmp"));
    EXPECT_FALSE(w.windowTitle().contains(QStringLiteral("Am See")));
    // The side-by-side entry asks for its views exchanged: its right half is shown left.
    // Its comment follows the names in the title.
    Key(Qt::Key_Space);
    EXPECT_EQ(Lists().Index(), 2);
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("  Am See")));
    EXPECT_EQ(ShownLeft(), kColours[3]);
    EXPECT_EQ(PixelAt(w.Document().Right().image, 0, 0), kColours[2]);

    // Moved and written back: only that entry's line changes.
    Key(Qt::Key_Left);
    const int dx = w.Document().Dx();
    ASSERT_NE(dx, 0);
    Key(Qt::Key_Y);  // "Schreibe Ausrichtung", as the user gives it
    EXPECT_TRUE(host_.LastText().contains(QStringLiteral("wurden geschrieben.")));
    QByteArray written = made;
    written.replace("11,25,1,0,0,", "11,25,1," + QByteArray::number(dx) + ",0,");
    EXPECT_EQ(ListText(), written);
    // It steps on, and the entry comes back as written.
    EXPECT_EQ(Lists().Index(), 0);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Lists().Index(), 2);
    EXPECT_EQ(w.Document().Dx(), dx);
    EXPECT_EQ(ShownLeft(), kColours[3]);

    // Alt+Z adds the shown pair to the list and shows the next entry, the added one.
    Key(Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(Lists().Count(), 4);
    EXPECT_EQ(Lists().Index(), 3);
    EXPECT_EQ(ListText(),
              written + "11,0,1," + QByteArray::number(dx) + ",0," + P("sbs.bmp").c_str() + ",\n");
    // Alt+Q removes it again; the entry that followed it (the first) is shown.
    Key(Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(ListText(), written);
    EXPECT_EQ(Lists().Index(), 0);
    EXPECT_EQ(ShownLeftPath(), P("a1_l.bmp"));
    Key(Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(Lists().Count(), 2);
    EXPECT_EQ(ShownLeftPath(), P("a2_l.bmp"));
    EXPECT_FALSE(ListText().contains("a1_l.bmp"));
    EXPECT_TRUE(ListText().endsWith(written.mid(written.indexOf("21,0,0,0,0,", 1))));
}

TEST_F(ListWindowTest, WindowsListOnTheCommandLinePlaysWithItsSwapAlignmentAndSound) {
    ASSERT_TRUE(WriteFileBytes(dir_.filePath(QStringLiteral("pics/musik.mp3")), "ID3"));
    const QByteArray text =
        "; Urlaub\r\n"
        "sound,player,C:\\Fotos\\musik.mp3\r\n"
        "21,0,1,-4,7,C:\\Fotos\\a1_l.bmp,C:\\Fotos\\a1_r.bmp,\r\n"
        "0,1,2,3,4,5,6,\r\n"
        "11,0,0,6,-2,C:\\Fotos\\sbs.bmp,\r\n";
    ASSERT_TRUE(WriteFileBytes(List(), text));
    // The sound line is started only when the user agrees, and without a shell.
    host_.QueueButton(QMessageBox::Yes);
    MainWindow& w = Start({List().toStdString(), {}});
    Settle();
    ASSERT_EQ(host_.started.size(), 1);
    EXPECT_EQ(host_.started[0],
              QStringLiteral("player ") + dir_.filePath(QStringLiteral("pics/musik.mp3")));
    ASSERT_TRUE(Lists().Playing());
    EXPECT_EQ(Lists().Count(), 2);
    // Swapped: the right file is shown left, with the stored alignment turned round.
    EXPECT_EQ(ShownLeftPath(), P("a1_r.bmp"));
    EXPECT_EQ(ShownLeft(), kColours[1]);
    EXPECT_EQ(w.Document().Dx(), -4);
    EXPECT_EQ(w.Document().Dy(), -7);
    Key(Qt::Key_Space);
    EXPECT_EQ(ShownLeft(), kColours[2]);
    EXPECT_EQ(w.Document().Dx(), -6);
    EXPECT_EQ(w.Document().Dy(), -2);
    // Written back, the list keeps its line ends and every other line.
    Key(Qt::Key_Down);
    const int dy = w.Document().Dy();
    ASSERT_TRUE(Lists().WriteAlignment().Ok());
    QByteArray expected = text;
    expected.replace("11,0,0,6,-2,", "11,0,0,6," + QByteArray::number(dy) + ",");
    ASSERT_TRUE(Lists().Playing());
    EXPECT_EQ(FileBytes(List()), expected);
    // Opened again: the sound starts without asking a second time.
    w.ExecuteCommand(CmdOpenPendingList);
    Settle();
    EXPECT_EQ(host_.started.size(), 2);
}

TEST_F(ListWindowTest, TimedShowFollowsEachEntryAndAskedBeforeAChangeIsLost) {
    ASSERT_TRUE(WriteFileBytes(List(), QByteArray("11,1,0,0,0,") + P("sbs.bmp").c_str() +
                                           ",\n21,1,0,0,0," + P("a1_l.bmp").c_str() + "," +
                                           P("a1_r.bmp").c_str() + ",\n"));
    MainWindow& w = Start();
    QueueOpen(0, true);
    w.ExecuteCommand(CmdOpenList);
    Settle();
    // Autostart: a tenth of a second each.
    EXPECT_TRUE(w.SlideShowRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Lists().Index() == 1; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Lists().Index() == 0; }, 3000));
    w.ExecuteCommand(CmdSlideShow);
    EXPECT_FALSE(w.SlideShowRunning());

    // A changed pair is not replaced unasked: "Abbrechen" keeps it.
    w.ExecuteCommand(CmdRotateRight);
    ASSERT_TRUE(w.Document().Modified());
    const int index = Lists().Index();
    host_.QueueButton(QMessageBox::Cancel);
    Key(Qt::Key_Space);
    EXPECT_EQ(Lists().Index(), index);
    EXPECT_TRUE(w.Document().Modified());
    host_.QueueButton(QMessageBox::No);
    Key(Qt::Key_Space);
    EXPECT_NE(Lists().Index(), index);
}

TEST_F(ListWindowTest, RefusedListsAndChoosingTheListToWriteInto) {
    MainWindow& w = Start();
    // Five separate files cannot pair up.
    QueueMaker(QStringLiteral("\"a1_l.bmp\" \"a1_r.bmp\" \"a2_l.bmp\" \"a2_r.bmp\" \"sbs.bmp\""),
               3101);
    w.ExecuteCommand(CmdMakeList);
    EXPECT_EQ(host_.LastText(),
              QStringLiteral("Numerierung muß für unabhängie(L/R) ungerade sein."));
    EXPECT_FALSE(QFileInfo::exists(List()));
    // A list without entries opens nothing.
    ASSERT_TRUE(WriteFileBytes(List(), "# leer\n"));
    QueueOpen(0);
    w.ExecuteCommand(CmdOpenList);
    EXPECT_EQ(host_.LastText(), QStringLiteral("Keine gültige Slide Show Liste!"));
    EXPECT_FALSE(Lists().Playing());

    // "Löschen" beside the list name removes the list once the user agrees. The preview shows
    // a picked file.
    host_.Queue([&](QDialog& dialog) {
        auto* maker = dynamic_cast<ListMakerDialog*>(&dialog);
        ASSERT_NE(maker, nullptr);
        if (!Control<QAbstractButton>(dialog, 1231)->isChecked()) ClickControl(dialog, 1231);
        test::ClickFile(dialog, QString::fromStdString(P("sbs.bmp")));
        EXPECT_TRUE(maker->PreviewShown());
        TypeOver(Control<QLineEdit>(dialog, 1249), List());
        host_.QueueButton(QMessageBox::No);
        ClickControl(dialog, 1508);
        EXPECT_TRUE(QFileInfo::exists(List()));
        EXPECT_EQ(host_.LastText(), QStringLiteral("Löschen OK?"));
        EXPECT_EQ(host_.LastTitle(), List());
        host_.QueueButton(QMessageBox::Yes);
        ClickControl(dialog, 1508);
        EXPECT_FALSE(QFileInfo::exists(List()));
    });
    w.ExecuteCommand(CmdMakeList);
}

TEST_F(ListWindowTest, ChosenListTakesTheShownPair) {
    MainWindow& w = StartWithPair(P("a1_l.bmp"), P("a1_r.bmp"));
    // Alt+W chooses a new list, made empty at once, and the time of added entries.
    const QString chosen = dir_.filePath(QStringLiteral("pics/neu.txt"));
    host_.Queue([&](QDialog& dialog) {
        ASSERT_NE(dynamic_cast<ChooseListDialog*>(&dialog), nullptr);
        TypeOver(Control<QLineEdit>(dialog, 1246), QStringLiteral("40"));
        TypeFileName(dialog, chosen);
    });
    Key(Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(QFileInfo::exists(chosen));
    EXPECT_EQ(Lists().SelectedList(), chosen.toStdString());
    // Alt+Z adds the pair as shown, exchanged and moved.
    w.ExecuteCommand(CmdSwap);
    Key(Qt::Key_Up);
    const int dy = w.Document().Dy();
    Key(Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(FileBytes(chosen), QByteArray("21,40,1,0,") + QByteArray::number(-dy) + "," +
                                     P("a1_l.bmp").c_str() + "," + P("a1_r.bmp").c_str() + ",\n");
}

}  // namespace
}  // namespace duplora
