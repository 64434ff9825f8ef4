// The one open stereo document: two image slots, how the pair is shown (alignment offset,
// swap, display mode, zoom and scroll) and a one-step undo and redo.
//
// Editing commands follow one protocol:
//     if (!doc.SaveUndo()) return;                 // current pictures move into undo
//     ImageBuffer l = Op(doc.Left().undoImage);    // compute from the saved pictures
//     ImageBuffer r = Op(doc.Right().undoImage);
//     doc.CommitEdit(std::move(l), std::move(r));  // or doc.RevertFailedEdit()
// Between SaveUndo and the commit each picture has exactly one owner (its undo slot), so no
// buffer is ever held twice; an edit that fails or is cancelled gives the document back as it
// was before SaveUndo, its previous undo step included. ApplyEdit wraps the three steps.
//
// The document does not draw. It says what changed through three signals, and the window
// decides how to rebuild (recompose and re-lay out, reload OpenGL textures, or recompose
// side by side for a page-flipping window). Plain setters never signal: commands that set
// several values signal once at their end, through the window.
#pragma once

#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/image/image_buffer.h"
#include "core/shell/command_ids.h"
#include "core/stereo/display_mode.h"

namespace duplora {

struct Settings;

// The five values an undo or redo step brings back.
struct ViewState {
    int dx = 0;
    int dy = 0;
    int scrollX = 0;
    int scrollY = 0;
    int zoom = 100;
    bool operator==(const ViewState&) const = default;
};

// One view. The two slots live as long as the document; the left and right views point at
// them by index.
struct ImageSlot {
    bool loaded = false;
    std::string path;  // source file, or a label such as "Linkes Bild einfügen"
    std::string name;  // shown name
    ImageBuffer image;
    ImageBuffer redoImage;
    ImageBuffer undoImage;
    ViewState undoState;
    ViewState redoState;

    // Frees all three pictures and forgets the file.
    void Clear();
};

enum class Side { Left, Right };

// What a display rebuild has to take into account.
enum class DisplayChange {
    Pictures,  // the slots' pictures were replaced (edit, undo, redo): reload textures
    Order,     // left and right were exchanged
    Offset,    // only the alignment offset changed
    Mode,      // the display mode or an anaglyph choice changed
};

// The question asked before closing with unsaved changes (Yes / No / Cancel).
struct SaveQuestion {
    std::string text;
    std::string caption;
};

struct EditedPair {
    ImageBuffer left;
    ImageBuffer right;
    // The offset, scroll and zoom that go with the new pictures (a trim or a resize); none
    // keeps the current ones.
    std::optional<ViewState> view = std::nullopt;
};

class StereoDocument : public QObject {
    Q_OBJECT

  public:
    explicit StereoDocument(QObject* parent = nullptr);
    ~StereoDocument() override;

    // Start state: both slots empty, every value at its start value. The values that come
    // from settings are kept.
    void Reset();
    // Alignment step (`alignmentStep`), anaglyph choices (`greyAnaglyphPair`, `colourAnaglyphKind`)
    // and the view's frame width.
    void ApplySettings(const Settings& settings);

    // ---- slots --------------------------------------------------------------------------
    ImageSlot& Left() { return slots_[leftIndex_]; }
    const ImageSlot& Left() const { return slots_[leftIndex_]; }
    ImageSlot& Right() { return slots_[1 - leftIndex_]; }
    const ImageSlot& Right() const { return slots_[1 - leftIndex_]; }
    ImageSlot& View(Side side) { return side == Side::Left ? Left() : Right(); }
    const ImageSlot& View(Side side) const { return side == Side::Left ? Left() : Right(); }
    // The fixed slots: 0 is slot A, 1 is slot B.
    ImageSlot& Slot(int index) { return slots_[index & 1]; }
    const ImageSlot& Slot(int index) const { return slots_[index & 1]; }
    // Which slot is the left view (0 = A).
    int LeftIndex() const { return leftIndex_; }

    bool BothLoaded() const { return slots_[0].loaded && slots_[1].loaded; }
    // Puts a loaded picture into a view.
    void SetView(Side side, ImageBuffer image, std::string path, std::string name);

    // A new opening: both slots cleared, left is A again, not swapped, offset 0, 0, not
    // modified, the base name taken from the new left path. An open edit is dropped.
    void ClearForOpening(const std::string& leftPath);

    // ---- editing protocol ---------------------------------------------------------------
    // Called by every edit just before it replaces the pictures: the old undo and redo steps
    // are set aside, each view's picture becomes its undo picture, the view state is saved
    // (the right view's with the offset negated) and the document counts as modified.
    // False, doing nothing, while another edit is open.
    bool SaveUndo();
    // The edit's results become the views' pictures, with their view values when given, and
    // the set-aside steps are freed. A view that had a picture must get one: otherwise the
    // edit is reverted and false returned. Signals the new pictures.
    bool CommitEdit(ImageBuffer left, ImageBuffer right,
                    std::optional<ViewState> view = std::nullopt);
    // Gives back the pictures, the undo and redo steps and the modified flag from before
    // SaveUndo. Nothing happens when no edit is open.
    void RevertFailedEdit();
    bool EditOpen() const { return pending_.has_value(); }
    // SaveUndo, the edit on the saved pictures, then commit or revert. Does nothing unless
    // both views are loaded. In single-image mode the right picture handed in is empty and
    // the edit returns an empty right picture.
    using PairEdit = std::function<EditedPair(const ImageBuffer& left, const ImageBuffer& right)>;
    bool ApplyEdit(const PairEdit& edit);

    // ---- undo and redo ------------------------------------------------------------------
    // Either view has a step to undo / redo (menu rule).
    bool HasUndo() const;
    bool HasRedo() const;
    // The toolbar buttons follow the left view.
    bool LeftHasUndo() const { return !Left().undoImage.IsNull(); }
    bool LeftHasRedo() const { return !Left().redoImage.IsNull(); }
    // CmdUndo / CmdRedo; false when nothing happened (only when they act do they stop a
    // running slide show).
    bool Undo();
    bool Redo();

    // ---- direct commands ----------------------------------------------------------------
    // CmdSwap: exchange left and right and negate the offset. Not a modification.
    bool Swap();
    // CmdAlignUp–CmdAlignRight move the right view by one alignment step, CmdAlignReset resets the
    // offset. Not a modification and not undoable. False for other ids or when the pair is not
    // shown.
    bool StepAlignment(CommandId command);
    // A display mode's command, or an anaglyph method's (which chooses the method and shows
    // its mode). The window closes the OpenGL stereo output first.
    bool SelectDisplayMode(CommandId command);
    // True when the command is one of SelectDisplayMode's.
    static bool IsDisplayModeCommand(CommandId command);

    // ---- values -------------------------------------------------------------------------
    ViewState CurrentViewState() const { return {dx_, dy_, scrollX_, scrollY_, zoom_}; }
    void SetViewState(const ViewState& state);
    int Dx() const { return dx_; }
    int Dy() const { return dy_; }
    void SetOffset(int dx, int dy);
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    void SetScroll(int x, int y);
    int ZoomPercent() const { return zoom_; }
    void SetZoomPercent(int percent);  // at least 1
    int AlignmentStep() const { return step_; }
    void SetAlignmentStep(int step);  // at least 1

    DisplayMode Mode() const { return mode_; }
    void SetMode(DisplayMode mode) { mode_ = mode; }
    GreyAnaglyphPair GreyPair() const { return greyPair_; }
    void SetGreyPair(GreyAnaglyphPair pair);
    ColourAnaglyphKind ColourKind() const { return colourKind_; }
    void SetColourKind(ColourAnaglyphKind kind);

    bool Swapped() const { return swapped_; }
    bool ListSwap() const { return listSwap_; }
    // The swap request of the slide-show list entry shown now, and whether a list plays;
    // places the views accordingly.
    void SetListSwap(bool listPlaying, bool listSwap);
    bool ListPlaying() const { return listPlaying_; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    const std::string& BaseName() const { return baseName_; }
    void SetBaseName(std::string name) { baseName_ = std::move(name); }
    bool SingleImageMode() const { return single_; }
    void SetSingleImageMode(bool single) { single_ = single; }
    bool Panorama() const { return panorama_; }
    void SetPanorama(bool on) { panorama_ = on; }
    int FrameWidth() const { return frameWidth_; }
    void SetFrameWidth(int width) { frameWidth_ = width; }

    // The question before closing, when there are unsaved changes.
    std::optional<SaveQuestion> ClosingQuestion() const;

  signals:
    void DisplayChanged(duplora::DisplayChange change);
    void ViewLayoutChanged();
    // The toolbar's undo and redo buttons.
    void UndoRedoStateChanged(bool undoEnabled, bool redoEnabled);

  private:
    struct SetAside {
        std::array<ImageBuffer, 2> undoImage;
        std::array<ImageBuffer, 2> redoImage;
        std::array<ViewState, 2> undoState;
        std::array<ViewState, 2> redoState;
        bool modified = false;
    };

    void PlaceViews();
    void SignalUndoRedo();
    void SignalRebuild(DisplayChange change);

    std::array<ImageSlot, 2> slots_;
    int leftIndex_ = 0;
    bool swapped_ = false;
    bool listSwap_ = false;
    bool listPlaying_ = false;
    int dx_ = 0;
    int dy_ = 0;
    int step_ = 4;
    int scrollX_ = 0;
    int scrollY_ = 0;
    int zoom_ = 100;
    DisplayMode mode_ = DisplayMode::SideBySide;
    GreyAnaglyphPair greyPair_ = GreyAnaglyphPair::RedCyan;
    ColourAnaglyphKind colourKind_ = ColourAnaglyphKind::ColourRedCyan;
    bool modified_ = false;
    std::string baseName_;
    bool single_ = false;
    bool panorama_ = false;
    int frameWidth_ = 5;
    std::optional<SetAside> pending_;
    // Gives the picture blocks the core keeps for reuse back once the pictures have been
    // left alone for a while.
    QTimer idleTrim_;
};

}  // namespace duplora
