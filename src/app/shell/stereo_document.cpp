#include "app/shell/stereo_document.h"

#include <algorithm>
#include <utility>

#include "app/shell/path_names.h"
#include "app/shell/settings.h"
#include "core/image/block_pool.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/display_modes.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

// The right view's copy of a view state: its offset points the other way, so that after a
// swap the new left view's copy is the one that fits.
ViewState Mirrored(ViewState state) {
    state.dx = -state.dx;
    state.dy = -state.dy;
    return state;
}

}  // namespace

void ImageSlot::Clear() {
    image.Reset();
    redoImage.Reset();
    undoImage.Reset();
    loaded = false;
    path.clear();
    name.clear();
    undoState = ViewState{};
    redoState = ViewState{};
}

StereoDocument::StereoDocument(QObject* parent) : QObject(parent) {
    idleTrim_.setSingleShot(true);
    idleTrim_.setInterval(3000);
    connect(&idleTrim_, &QTimer::timeout, this, [] { TrimBlockPool(); });
}

StereoDocument::~StereoDocument() = default;

void StereoDocument::Reset() {
    pending_.reset();
    for (ImageSlot& slot : slots_) slot.Clear();
    leftIndex_ = 0;
    swapped_ = false;
    listSwap_ = false;
    listPlaying_ = false;
    dx_ = dy_ = 0;
    scrollX_ = scrollY_ = 0;
    zoom_ = 100;
    mode_ = DisplayMode::SideBySide;
    modified_ = false;
    baseName_.clear();
    single_ = false;
    panorama_ = false;
    TrimBlockPool();
}

void StereoDocument::ApplySettings(const Settings& settings) {
    SetAlignmentStep(settings.alignmentStep);
    SetGreyPair(settings.greyAnaglyphPair);
    SetColourKind(settings.colourAnaglyphKind);
    frameWidth_ = ViewFrameWidth(settings);
}

void StereoDocument::SetView(Side side, ImageBuffer image, std::string path, std::string name) {
    ImageSlot& slot = View(side);
    slot.image = std::move(image);
    slot.path = std::move(path);
    slot.name = std::move(name);
    slot.loaded = true;
}

void StereoDocument::ClearForOpening(const std::string& leftPath) {
    pending_.reset();
    for (ImageSlot& slot : slots_) slot.Clear();
    leftIndex_ = 0;
    swapped_ = false;
    dx_ = dy_ = 0;
    modified_ = false;
    baseName_ = PairBaseName(leftPath);
    TrimBlockPool();  // the closed pair's blocks, not kept for the next one
    SignalUndoRedo();
}

// ---- editing protocol -------------------------------------------------------------------

bool StereoDocument::SaveUndo() {
    if (pending_) return false;
    SetAside aside;
    aside.modified = modified_;
    for (int i = 0; i < 2; ++i) {
        ImageSlot& slot = slots_[i];
        aside.undoImage[i] = std::move(slot.undoImage);
        aside.redoImage[i] = std::move(slot.redoImage);
        aside.undoState[i] = slot.undoState;
        aside.redoState[i] = slot.redoState;
        slot.undoImage = std::move(slot.image);
    }
    pending_ = std::move(aside);
    Left().undoState = CurrentViewState();
    Right().undoState = Mirrored(CurrentViewState());
    modified_ = true;
    SignalUndoRedo();
    return true;
}

bool StereoDocument::CommitEdit(ImageBuffer left, ImageBuffer right,
                                std::optional<ViewState> view) {
    if (!pending_) return false;
    const bool leftMissing = left.IsNull() && !Left().undoImage.IsNull();
    const bool rightMissing = right.IsNull() && !Right().undoImage.IsNull();
    if (leftMissing || rightMissing || (left.IsNull() && right.IsNull())) {
        RevertFailedEdit();
        return false;
    }
    Left().image = std::move(left);
    Right().image = std::move(right);
    if (view) SetViewState(*view);
    pending_.reset();  // the previous undo and redo steps are freed only now
    SignalRebuild(DisplayChange::Pictures);
    return true;
}

void StereoDocument::RevertFailedEdit() {
    if (!pending_) return;
    SetAside& aside = *pending_;
    for (int i = 0; i < 2; ++i) {
        ImageSlot& slot = slots_[i];
        slot.image = std::move(slot.undoImage);
        slot.undoImage = std::move(aside.undoImage[i]);
        slot.redoImage = std::move(aside.redoImage[i]);
        slot.undoState = aside.undoState[i];
        slot.redoState = aside.redoState[i];
    }
    modified_ = aside.modified;
    pending_.reset();
    SignalUndoRedo();
}

bool StereoDocument::ApplyEdit(const PairEdit& edit) {
    if (!BothLoaded() || !SaveUndo()) return false;
    EditedPair result = edit(Left().undoImage, Right().undoImage);
    return CommitEdit(std::move(result.left), std::move(result.right), result.view);
}

// ---- undo and redo ----------------------------------------------------------------------

bool StereoDocument::HasUndo() const {
    return !slots_[0].undoImage.IsNull() || !slots_[1].undoImage.IsNull();
}

bool StereoDocument::HasRedo() const {
    return !slots_[0].redoImage.IsNull() || !slots_[1].redoImage.IsNull();
}

bool StereoDocument::Undo() {
    if (pending_ || !BothLoaded() || !HasUndo()) return false;
    for (ImageSlot& slot : slots_) {
        slot.redoImage = std::move(slot.image);
        slot.image = std::move(slot.undoImage);
    }
    const ViewState current = CurrentViewState();
    Left().redoState = current;
    Right().redoState = Mirrored(current);
    SetViewState(Left().undoState);
    modified_ = true;
    SignalUndoRedo();
    SignalRebuild(DisplayChange::Pictures);
    return true;
}

bool StereoDocument::Redo() {
    if (pending_ || !BothLoaded() || !HasRedo()) return false;
    for (ImageSlot& slot : slots_) {
        slot.undoImage = std::move(slot.image);
        slot.image = std::move(slot.redoImage);
    }
    const ViewState current = CurrentViewState();
    Left().undoState = current;
    Right().undoState = Mirrored(current);
    SetViewState(Left().redoState);
    modified_ = true;
    SignalUndoRedo();
    SignalRebuild(DisplayChange::Pictures);
    return true;
}

// ---- direct commands --------------------------------------------------------------------

void StereoDocument::PlaceViews() {
    leftIndex_ = (static_cast<int>(swapped_) + static_cast<int>(listSwap_)) % 2;
}

bool StereoDocument::Swap() {
    if (single_ || !BothLoaded()) return false;
    swapped_ = !swapped_;
    if (!listPlaying_) listSwap_ = false;
    PlaceViews();
    dx_ = -dx_;
    dy_ = -dy_;
    SignalRebuild(DisplayChange::Order);
    return true;
}

void StereoDocument::SetListSwap(bool listPlaying, bool listSwap) {
    listPlaying_ = listPlaying;
    listSwap_ = listPlaying && listSwap;
    PlaceViews();
}

bool StereoDocument::StepAlignment(CommandId command) {
    if (single_ || !BothLoaded()) return false;
    switch (command) {
        case CmdAlignLeft:
            dx_ += step_;
            break;
        case CmdAlignRight:
            dx_ -= step_;
            break;
        case CmdAlignUp:
            dy_ -= step_;
            break;
        case CmdAlignDown:
            dy_ += step_;
            break;
        case CmdAlignReset:
            dx_ = dy_ = 0;
            break;
        default:
            return false;
    }
    SignalRebuild(DisplayChange::Offset);
    return true;
}

bool StereoDocument::IsDisplayModeCommand(CommandId command) {
    return DisplayModeByCommand(command) || AnaglyphMethodByCommand(command);
}

bool StereoDocument::SelectDisplayMode(CommandId command) {
    if (!IsDisplayModeCommand(command) || single_ || !BothLoaded()) return false;
    if (const DisplayModeRow* row = DisplayModeByCommand(command)) {
        mode_ = row->mode;
    } else {
        const AnaglyphMethodRow* method = AnaglyphMethodByCommand(command);
        if (method->mode == DisplayMode::GreyAnaglyph)
            greyPair_ = static_cast<GreyAnaglyphPair>(method->number);
        else
            colourKind_ = static_cast<ColourAnaglyphKind>(method->number);
        mode_ = method->mode;
    }
    SignalRebuild(DisplayChange::Mode);
    return true;
}

// ---- values -----------------------------------------------------------------------------

void StereoDocument::SetViewState(const ViewState& state) {
    dx_ = state.dx;
    dy_ = state.dy;
    scrollX_ = state.scrollX;
    scrollY_ = state.scrollY;
    SetZoomPercent(state.zoom);
}

void StereoDocument::SetOffset(int dx, int dy) {
    dx_ = dx;
    dy_ = dy;
}

void StereoDocument::SetScroll(int x, int y) {
    scrollX_ = x;
    scrollY_ = y;
}

void StereoDocument::SetZoomPercent(int percent) {
    zoom_ = std::max(1, percent);
}

void StereoDocument::SetAlignmentStep(int step) {
    step_ = std::max(1, step);
}

// Choices that are not in the table fall back to the first, as the settings do at start.
void StereoDocument::SetGreyPair(GreyAnaglyphPair pair) {
    greyPair_ = FindAnaglyphMethod(pair) ? pair : GreyAnaglyphPair::RedCyan;
}

void StereoDocument::SetColourKind(ColourAnaglyphKind kind) {
    colourKind_ = FindAnaglyphMethod(kind) ? kind : ColourAnaglyphKind::ColourRedCyan;
}

std::optional<SaveQuestion> StereoDocument::ClosingQuestion() const {
    if (!modified_) return std::nullopt;
    return SaveQuestion{FormatResString(StringId::SaveChangesQuestion, baseName_.c_str()),
                        baseName_};
}

void StereoDocument::SignalUndoRedo() {
    emit UndoRedoStateChanged(LeftHasUndo(), LeftHasRedo());
}

void StereoDocument::SignalRebuild(DisplayChange change) {
    idleTrim_.start();
    emit DisplayChanged(change);
    emit ViewLayoutChanged();
}

}  // namespace duplora
