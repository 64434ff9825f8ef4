// Writing the shown alignment into the shown entry of a slide-show list: only that line
// changes, in the order the views are shown, and a list changed meanwhile or an entry not
// shown is refused without touching the file.
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/batch/list_alignment.h"
#include "app/shell/stereo_document.h"
#include "gui_application.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::FileBytes;
using test::MakeNoise;
using test::WriteFileBytes;

const QByteArray kList =
    "; Reise\r\n"
    "11,0,0,0,0,C:\\Fotos\\one.jpg,\r\n"
    "sound,player,music.mp3\r\n"
    "21,30,0,2,3,C:\\Fotos\\two_l.jpg,C:\\Fotos\\two_r.jpg,\r\n"
    "# the third\r\n"
    "21,0,0,0,0,C:\\Fotos\\three_l.jpg,C:\\Fotos\\three_r.jpg,\r\n"
    "12,0,0,1,1,C:\\Fotos\\four.jpg,\r\n";

struct WriteCase {
    const char* name;
    bool listSwap;  // the entry is shown exchanged
    int dx, dy;     // the document's offset when written
    const char* line;
};

class ListAlignmentTest : public ::testing::TestWithParam<WriteCase> {
  protected:
    void SetUp() override {
        test::EnsureGuiApplication();
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(WriteFileBytes(List(), kList));
    }
    QString List() const { return dir_.filePath(QStringLiteral("show.txt")); }
    // The player on entry `index`, shown in the document.
    void Show(int index, bool listSwap) {
        ASSERT_EQ(player_.Open(List().toStdString(), {}), ListResult::Ok);
        player_.Select(index);
        doc_.ClearForOpening("/x/l.jpg");
        doc_.SetView(Side::Left, MakeNoise(8, 6, 1), "/x/l.jpg", "l.jpg");
        doc_.SetView(Side::Right, MakeNoise(8, 6, 2), "/x/r.jpg", "r.jpg");
        doc_.SetListSwap(true, listSwap);
    }

    QTemporaryDir dir_;
    SlideListPlayer player_;
    StereoDocument doc_;
};

TEST_P(ListAlignmentTest, OnlyTheShownEntrysLineChanges) {
    const WriteCase& c = GetParam();
    Show(2, c.listSwap);
    doc_.SetOffset(c.dx, c.dy);
    ASSERT_TRUE(ShowsListEntry(player_, doc_));
    ASSERT_TRUE(WriteShownEntryAlignment(player_, doc_).Ok());
    QByteArray expected = kList;
    expected.replace("21,0,0,0,0,C:\\Fotos\\three_l.jpg", c.line);
    EXPECT_EQ(FileBytes(List()), expected);
    // The player reads the list again and stays on the entry.
    EXPECT_EQ(player_.Index(), 2);
    EXPECT_EQ(player_.CurrentEntry()->x, player_.List().entries[2].x);
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files) == QStringList{"show.txt"});
}

INSTANTIATE_TEST_SUITE_P(
    Views, ListAlignmentTest,
    ::testing::Values(WriteCase{"InListOrder", false, 4, 7, "21,0,0,-4,7,C:\\Fotos\\three_l.jpg"},
                      WriteCase{"Exchanged", true, 4, 7, "21,0,1,4,-7,C:\\Fotos\\three_l.jpg"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListAlignmentTest, RefusedWithoutTouchingTheList) {
    // No entry shown: the document left the list.
    Show(1, false);
    doc_.SetListSwap(false, false);
    EXPECT_FALSE(WriteShownEntryAlignment(player_, doc_).Ok());
    EXPECT_EQ(FileBytes(List()), kList);

    // The entry's line was changed elsewhere since the list was read.
    Show(1, false);
    QByteArray changed = kList;
    changed.replace("21,30,0,2,3,", "21,30,0,9,9,");
    ASSERT_TRUE(WriteFileBytes(List(), changed));
    const Status written = WriteShownEntryAlignment(player_, doc_);
    ASSERT_FALSE(written.Ok());
    EXPECT_EQ(written.Error().MessageText(), "Kann keine Slide Show Liste erstellen !");
    EXPECT_EQ(FileBytes(List()), changed);
}

}  // namespace
}  // namespace duplora
