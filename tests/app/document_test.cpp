#include "app/shell/stereo_document.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/shell/path_names.h"
#include "app/shell/settings.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/display_modes.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeNoise;
using test::SamePixels;
using XY = std::pair<int, int>;
using Buttons = std::pair<bool, bool>;  // undo, redo on the toolbar

// A picture that differs from its source in size and content, as an edit would make it.
ImageBuffer Edited(const ImageBuffer& source, std::uint32_t seed) {
    if (source.IsNull()) return {};
    return MakeNoise(source.Width() + 1, source.Height(), seed);
}

class DocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QObject::connect(&doc_, &StereoDocument::DisplayChanged,
                         [this](DisplayChange c) { changes_.push_back(c); });
        QObject::connect(&doc_, &StereoDocument::ViewLayoutChanged, [this] { ++layouts_; });
        QObject::connect(&doc_, &StereoDocument::UndoRedoStateChanged, [this](bool u, bool r) {
            buttons_ = {u, r};
        });
        doc_.ClearForOpening("/photos/trip_l.jpg");
        doc_.SetView(Side::Left, MakeNoise(6, 4, 1), "/photos/trip_l.jpg", "trip_l.jpg");
        doc_.SetView(Side::Right, MakeNoise(6, 4, 2), "/photos/trip_r.jpg", "trip_r.jpg");
    }
    // Replaces both pictures by edited ones through the editing protocol.
    bool Edit(std::uint32_t seed) {
        return doc_.ApplyEdit([seed](const ImageBuffer& l, const ImageBuffer& r) {
            return EditedPair{Edited(l, seed), Edited(r, seed + 1)};
        });
    }
    std::pair<ImageBuffer, ImageBuffer> Snapshot() const {
        return {DuplicateImage(doc_.Left().image), DuplicateImage(doc_.Right().image)};
    }
    void ExpectPictures(const std::pair<ImageBuffer, ImageBuffer>& expected) const {
        EXPECT_TRUE(SamePixels(doc_.Left().image, expected.first, "left"));
        EXPECT_TRUE(SamePixels(doc_.Right().image, expected.second, "right"));
    }
    XY Offset() const { return {doc_.Dx(), doc_.Dy()}; }

    StereoDocument doc_;
    std::vector<DisplayChange> changes_;
    int layouts_ = 0;
    Buttons buttons_;
};

TEST_F(DocumentTest, AnEmptyDocumentRefusesAndSettingsApply) {
    StereoDocument fresh;
    EXPECT_FALSE(fresh.Undo());
    EXPECT_FALSE(fresh.Swap());
    Settings settings;
    settings.alignmentStep = 7;
    settings.greyAnaglyphPair = GreyAnaglyphPair::RedBlue;
    settings.colourAnaglyphKind = ColourAnaglyphKind::HalfToneYellowBlue;
    settings.frameWidth = 9;
    fresh.ApplySettings(settings);
    EXPECT_EQ(fresh.AlignmentStep(), 7);
    EXPECT_EQ(fresh.GreyPair(), GreyAnaglyphPair::RedBlue);
    EXPECT_EQ(fresh.ColourKind(), ColourAnaglyphKind::HalfToneYellowBlue);
    // A number no method has falls back to the first.
    fresh.SetGreyPair(static_cast<GreyAnaglyphPair>(4));
    EXPECT_EQ(fresh.GreyPair(), GreyAnaglyphPair::RedCyan);
    EXPECT_EQ(fresh.FrameWidth(), 9);  // (the shown frame's widths: the GUI's border test)
}

TEST_F(DocumentTest, UndoThenRedoRestoresPicturesAndViewValues) {
    const auto original = Snapshot();
    const ViewState before{3, -2, 5, 6, 80}, after{-7, 1, 40, 50, 150};
    doc_.SetViewState(before);
    ASSERT_TRUE(Edit(10));
    const auto edited = Snapshot();
    EXPECT_TRUE(doc_.Modified());
    doc_.SetViewState(after);
    doc_.SetModified(false);  // as after saving: undo and redo are modifications again

    ASSERT_TRUE(doc_.Undo());
    EXPECT_TRUE(doc_.Modified());
    ExpectPictures(original);
    EXPECT_EQ(doc_.CurrentViewState(), before);
    EXPECT_FALSE(doc_.HasUndo());
    EXPECT_TRUE(doc_.HasRedo());
    EXPECT_EQ(buttons_, Buttons(false, true));
    EXPECT_FALSE(doc_.Undo()) << "one step only";

    // Redo rebuilds the pictures once.
    doc_.SetModified(false);
    changes_.clear();
    layouts_ = 0;
    ASSERT_TRUE(doc_.Redo());
    EXPECT_TRUE(doc_.Modified());
    EXPECT_EQ(changes_, std::vector<DisplayChange>{DisplayChange::Pictures});
    EXPECT_EQ(layouts_, 1);
    ExpectPictures(edited);
    EXPECT_EQ(doc_.CurrentViewState(), after);
    EXPECT_EQ(buttons_, Buttons(true, false));
    EXPECT_FALSE(doc_.Redo());

    // The step survives a full round; an edit after an undo drops the redo step.
    ASSERT_TRUE(doc_.Undo());
    ExpectPictures(original);
    EXPECT_EQ(doc_.CurrentViewState(), before);
    ASSERT_TRUE(Edit(20));
    EXPECT_FALSE(doc_.HasRedo());
    EXPECT_EQ(buttons_, Buttons(true, false));
    ASSERT_TRUE(doc_.Undo());
    ExpectPictures(original);
}

TEST_F(DocumentTest, UndoAndRedoAcrossASwapKeepTheOffsetWithItsViews) {
    const auto original = Snapshot();
    doc_.SetOffset(5, 2);
    ASSERT_TRUE(Edit(10));
    ASSERT_TRUE(doc_.Swap());
    EXPECT_EQ(Offset(), XY(-5, -2));
    // Still swapped after the undo, so the offset that fits the views is the negated one.
    ASSERT_TRUE(doc_.Undo());
    EXPECT_EQ(Offset(), XY(-5, -2));
    EXPECT_TRUE(SamePixels(doc_.Left().image, original.second));
    // Redo brings back the offset from before the undo, for the views shown then.
    ASSERT_TRUE(doc_.Swap());
    ASSERT_TRUE(doc_.Redo());
    EXPECT_EQ(Offset(), XY(5, 2));
    ASSERT_TRUE(doc_.Swap());
    ASSERT_TRUE(doc_.Undo());
    EXPECT_EQ(Offset(), XY(-5, -2));
}

TEST_F(DocumentTest, SwapTwiceIsTheIdentityAndTheListSwapCombinesWithIt) {
    doc_.SetOffset(7, -3);
    const auto pictures = Snapshot();
    ASSERT_TRUE(doc_.Swap());
    EXPECT_EQ(doc_.LeftIndex(), 1);
    EXPECT_EQ(Offset(), XY(-7, 3));
    EXPECT_EQ(doc_.Left().path, "/photos/trip_r.jpg");
    EXPECT_EQ(changes_.back(), DisplayChange::Order);
    ASSERT_TRUE(doc_.Swap());
    EXPECT_FALSE(doc_.Swapped());
    EXPECT_EQ(Offset(), XY(7, -3));
    ExpectPictures(pictures);
    EXPECT_FALSE(doc_.Modified()) << "swapping is not an edit";

    doc_.SetListSwap(true, true);
    EXPECT_EQ(doc_.LeftIndex(), 1);
    ASSERT_TRUE(doc_.Swap());  // swapped + list swap = 2: back to A on the left
    EXPECT_EQ(doc_.LeftIndex(), 0);
    doc_.SetListSwap(false, true);  // no list plays: its request counts for nothing
    EXPECT_FALSE(doc_.ListSwap());
    EXPECT_EQ(doc_.LeftIndex(), 1);
}

TEST_F(DocumentTest, AlignmentStepsMoveTheRightViewWithoutAnEdit) {
    const struct {
        CommandId command;
        int dx, dy;
    } cases[] = {
        {CmdAlignLeft, 4, 0}, {CmdAlignRight, -4, 0}, {CmdAlignUp, 0, -4}, {CmdAlignDown, 0, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        doc_.SetAlignmentStep(4);
        ASSERT_TRUE(doc_.StepAlignment(c.command));
        EXPECT_EQ(Offset(), XY(c.dx, c.dy));
        EXPECT_EQ(changes_.back(), DisplayChange::Offset);
        doc_.SetAlignmentStep(3);  // a second step of another size
        ASSERT_TRUE(doc_.StepAlignment(c.command));
        EXPECT_EQ(Offset(), XY(c.dx / 4 * 7, c.dy / 4 * 7));
        ASSERT_TRUE(doc_.StepAlignment(CmdAlignReset));
        EXPECT_EQ(Offset(), XY(0, 0));
    }
    EXPECT_FALSE(doc_.Modified());
    EXPECT_FALSE(doc_.HasUndo());
}

TEST_F(DocumentTest, DirectCommandsNeedAShownPair) {
    doc_.SetAlignmentStep(0);
    EXPECT_EQ(doc_.AlignmentStep(), 1);
    EXPECT_FALSE(doc_.StepAlignment(CmdSwap));
    // A single picture, then a pair with its right view missing.
    for (bool single : {true, false}) {
        doc_.SetSingleImageMode(single);
        if (!single) doc_.Right().Clear();
        EXPECT_FALSE(doc_.StepAlignment(CmdAlignLeft));
        EXPECT_FALSE(doc_.Swap());
        EXPECT_FALSE(doc_.SelectDisplayMode(CmdInterlace));
    }
    EXPECT_EQ(doc_.Dx(), 0);
    EXPECT_EQ(doc_.LeftIndex(), 0);
    EXPECT_TRUE(changes_.empty());
    // Nor is an edit run on a missing view.
    bool called = false;
    EXPECT_FALSE(doc_.ApplyEdit([&](const ImageBuffer&, const ImageBuffer&) {
        called = true;
        return EditedPair{};
    }));
    EXPECT_FALSE(called);
    EXPECT_FALSE(doc_.Modified());
}

TEST_F(DocumentTest, AnaglyphChoicesAreKeptByTheirModeCommands) {
    ASSERT_TRUE(doc_.SelectDisplayMode(CmdGreyYellowBlue));
    EXPECT_EQ(changes_.back(), DisplayChange::Mode);
    ASSERT_TRUE(doc_.SelectDisplayMode(CmdSideBySide));
    ASSERT_TRUE(doc_.SelectDisplayMode(CmdGreyAnaglyph));  // F6 keeps the pair
    EXPECT_EQ(doc_.Mode(), DisplayMode::GreyAnaglyph);
    EXPECT_EQ(doc_.GreyPair(), GreyAnaglyphPair::YellowBlue);
    EXPECT_FALSE(doc_.SelectDisplayMode(CmdSwap));
    EXPECT_FALSE(doc_.Modified());
    // The colour kind is separate and kept by F7.
    ASSERT_TRUE(doc_.SelectDisplayMode(CmdHalfToneYellowBlue));
    EXPECT_EQ(doc_.GreyPair(), GreyAnaglyphPair::YellowBlue);
    ASSERT_TRUE(doc_.SelectDisplayMode(CmdGreyAnaglyph));
    ASSERT_TRUE(doc_.SelectDisplayMode(CmdColourAnaglyph));
    EXPECT_EQ(doc_.ColourKind(), ColourAnaglyphKind::HalfToneYellowBlue);
    // Every row's command shows its mode; a method's becomes its mode's choice.
    for (const DisplayModeRow& row : DisplayModeTable()) {
        if (row.command == CmdNone) continue;
        ASSERT_TRUE(doc_.SelectDisplayMode(row.command)) << row.key;
        EXPECT_EQ(doc_.Mode(), row.mode) << row.key;
    }
    for (const AnaglyphMethodRow& row : AnaglyphMethodTable()) {
        ASSERT_TRUE(doc_.SelectDisplayMode(row.command)) << row.key;
        EXPECT_EQ(doc_.Mode(), row.mode) << row.key;
        EXPECT_EQ(ChosenAnaglyphMethod(row.mode, doc_.GreyPair(), doc_.ColourKind()), &row);
    }
}

TEST_F(DocumentTest, FailedEditAfterSaveUndoLeavesTheDocumentAsItWas) {
    const auto original = Snapshot();
    ASSERT_TRUE(Edit(10));
    const auto edited = Snapshot();
    doc_.SetModified(false);
    doc_.SetViewState({5, -3, 1, 2, 90});
    ASSERT_TRUE(doc_.SaveUndo());
    // The right view's state is kept mirrored.
    EXPECT_EQ(doc_.Left().undoState, (ViewState{5, -3, 1, 2, 90}));
    EXPECT_EQ(doc_.Right().undoState, (ViewState{-5, 3, 1, 2, 90}));
    // While the edit runs, each picture has exactly one owner: its undo slot.
    EXPECT_TRUE(doc_.Left().image.IsNull());
    EXPECT_TRUE(SamePixels(doc_.Left().undoImage, edited.first));
    EXPECT_FALSE(doc_.SaveUndo()) << "a second snapshot would lose the pictures";
    EXPECT_FALSE(doc_.Undo());
    EXPECT_FALSE(doc_.Redo());
    doc_.RevertFailedEdit();

    EXPECT_FALSE(doc_.EditOpen());
    ExpectPictures(edited);
    EXPECT_FALSE(doc_.Modified());
    EXPECT_EQ(buttons_, Buttons(true, false));
    doc_.RevertFailedEdit();   // nothing open: nothing happens
    ASSERT_TRUE(doc_.Undo());  // the earlier step is still there
    ExpectPictures(original);
}

TEST_F(DocumentTest, EditWithAMissingResultIsReverted) {
    ASSERT_TRUE(Edit(10));
    ASSERT_TRUE(doc_.Undo());  // a redo step exists now
    const auto shown = Snapshot();
    changes_.clear();
    for (int missing : {1, 2, 3}) {  // left, right, both
        EXPECT_FALSE(doc_.ApplyEdit([missing](const ImageBuffer& l, const ImageBuffer& r) {
            return EditedPair{missing & 1 ? ImageBuffer() : Edited(l, 3),
                              missing & 2 ? ImageBuffer() : Edited(r, 3)};
        }));
        EXPECT_FALSE(doc_.EditOpen());
        ExpectPictures(shown);
        EXPECT_TRUE(doc_.HasRedo());
        EXPECT_FALSE(doc_.HasUndo());
    }
    EXPECT_TRUE(changes_.empty()) << "nothing changed, nothing to redraw";
    EXPECT_FALSE(doc_.CommitEdit(MakeNoise(2, 2, 1), MakeNoise(2, 2, 2))) << "no edit open";
}

TEST_F(DocumentTest, AnEditCanSetTheViewValuesThatGoWithItsPictures) {
    const ViewState shown{4, 4, 10, 10, 100}, trimmed{0, 0, 0, 0, 100};
    doc_.SetViewState(shown);
    EXPECT_FALSE(doc_.ApplyEdit([&](const ImageBuffer&, const ImageBuffer& r) {
        return EditedPair{{}, Edited(r, 1), trimmed};
    }));
    EXPECT_EQ(doc_.CurrentViewState(), shown) << "failed: kept";
    ASSERT_TRUE(doc_.ApplyEdit([&](const ImageBuffer& l, const ImageBuffer& r) {
        return EditedPair{Edited(l, 1), Edited(r, 2), trimmed};
    }));
    EXPECT_EQ(doc_.CurrentViewState(), trimmed);
    ASSERT_TRUE(doc_.Undo());
    EXPECT_EQ(doc_.CurrentViewState(), shown);
}

TEST_F(DocumentTest, SingleImageEditsLeaveTheEmptyRightViewEmpty) {
    doc_.ClearForOpening("/photos/mono.jpg");
    doc_.SetSingleImageMode(true);
    doc_.SetView(Side::Left, MakeNoise(5, 3, 4), "/photos/mono.jpg", "mono.jpg");
    doc_.Right().loaded = true;  // marked loaded without a picture of its own
    const ImageBuffer original = DuplicateImage(doc_.Left().image);
    ASSERT_TRUE(doc_.ApplyEdit([](const ImageBuffer& l, const ImageBuffer& r) {
        EXPECT_TRUE(r.IsNull());
        return EditedPair{Edited(l, 9), {}};
    }));
    EXPECT_EQ(doc_.Left().image.Width(), 6);
    EXPECT_TRUE(doc_.Right().image.IsNull());
    ASSERT_TRUE(doc_.Undo());
    EXPECT_TRUE(SamePixels(doc_.Left().image, original));
    EXPECT_TRUE(doc_.Right().image.IsNull());
}

TEST_F(DocumentTest, ClearingForANewOpening) {
    ASSERT_TRUE(Edit(10));  // (the closing question it brings is walked in the GUI tests)
    ASSERT_TRUE(doc_.Swap());
    doc_.SetOffset(9, 9);
    doc_.SetZoomPercent(50);
    doc_.ClearForOpening("/home/me/Urlaub 2024/Brücke_R.jpg");
    EXPECT_FALSE(doc_.Slot(0).loaded || doc_.Slot(1).loaded);
    EXPECT_TRUE(doc_.Slot(0).image.IsNull() && doc_.Slot(0).undoImage.IsNull());
    EXPECT_TRUE(doc_.Slot(1).path.empty());
    EXPECT_FALSE(doc_.HasUndo() || doc_.HasRedo() || doc_.Swapped() || doc_.Modified());
    EXPECT_EQ(doc_.Dx(), 0);
    EXPECT_EQ(doc_.BaseName(), "Brücke.jpg");
    EXPECT_EQ(doc_.ZoomPercent(), 50) << "zoom belongs to the view, not to the opening";
    EXPECT_EQ(buttons_, Buttons(false, false));
}

TEST(PathNames, PairBaseNameDropsTheMarkerOfTheFileNameOnly) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"photo_l.jpg", "photo.jpg"}, {"x_R.tif", "x.tif"}, {"img1r.jpg", "img1.jpg"},
        {"photo.r.jpg", "photo.jpg"}, {"a_l.r.jpg", "a.jpg"}, {"left.jpg", "left.jpg"},
        {"photo_l", "photo_l"}, {"photo_lx.jpg", "photo_lx.jpg"},
        // Folders are never touched, whatever dots and markers they hold.
        {"/home/me/trip_l.2020/DSC_0001.jpg", "DSC_0001.jpg"},
        {"/data/set_r.v2/photo_l.jpg", "photo.jpg"}, {"/data/x.l/plain", "plain"},
        {"/data/folder/", ""},
        // Whole UTF-8 characters, in any script.
        {"/home/jürgen/Größe_l.jpg", "Größe.jpg"}, {"写真_R.jpg", "写真.jpg"},
        {"Ä.r.JPG", "Ä.JPG"}, {"😀_r.png", "😀.png"}};
    // clang-format on
    for (const auto& [path, base] : cases) EXPECT_EQ(PairBaseName(path), base) << path;
    EXPECT_EQ(FileNamePart("/a/b.c/d.jpg"), "d.jpg");
    EXPECT_EQ(FolderPart("/d.jpg"), "/");
    EXPECT_EQ(FolderPart("d.jpg"), "");
    EXPECT_EQ(ExtensionOf("/a/b.c/d"), "") << "the folder's dot is not the extension's";
    EXPECT_TRUE(HasListExtension("/x/Liste.TxT"));
    EXPECT_FALSE(HasListExtension("/x.txt/show"));
    EXPECT_FALSE(HasListExtension("/x/txt"));
}

}  // namespace
}  // namespace duplora
