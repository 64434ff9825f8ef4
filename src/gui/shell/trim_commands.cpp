#include "gui/shell/trim_commands.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "app/shell/stereo_document.h"
#include "app/stereo/selection.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/trim_dialogs.h"
#include "gui/stereo/view_widget.h"

namespace duplora {

TrimCommands::TrimCommands(QWidget* parent, DialogHost& host, StereoDocument& document,
                           ViewWidget& view, Settings& settings, SettingsStore& store,
                           const Progress& progress)
    : parent_(parent),
      host_(host),
      document_(document),
      view_(view),
      settings_(settings),
      store_(store),
      progress_(progress) {}

QSize TrimCommands::LeftSize() const {
    const ImageBuffer& left = document_.Left().image;
    return left ? QSize(left.Width(), left.Height()) : QSize(0, 0);
}

QSize TrimCommands::Reference() const {
    return AlignedSize(LeftSize(), document_.Dx(), document_.Dy(), document_.Panorama());
}

TrimCommands::Outcome TrimCommands::Execute(CommandId command) {
    switch (command) {
        case CmdFreeTrim:
        case CmdCustomTrim:
        case CmdTrimPreset1:
        case CmdTrimPreset2:
        case CmdTrimPreset3:
        case CmdTrimPreset4:
        case CmdTrimPreset5:
        case CmdTrimFinished:
        case CmdPresetTrimFinished:
        case CmdResize:
            break;
        default:
            return Outcome::NotMine;
    }
    // Every one of them needs a picture to work on.
    if (!document_.BothLoaded() || LeftSize().isEmpty()) return Outcome::Done;
    switch (command) {
        case CmdFreeTrim:
            StartFree();
            return Outcome::Done;
        case CmdCustomTrim:
            StartCustom();
            return Outcome::Done;
        case CmdTrimFinished:
            return Cut(false) ? Outcome::Edited : Outcome::Done;
        case CmdPresetTrimFinished:
            return Cut(true) ? Outcome::Edited : Outcome::Done;
        case CmdResize:
            return Resize() ? Outcome::Edited : Outcome::Done;
        default: {
            const auto k =
                std::ranges::find(kTrimPresetCommands, command) - kTrimPresetCommands.begin();
            const QSize preset(settings_.trimPresets[2 * k], settings_.trimPresets[2 * k + 1]);
            StartSized(preset, settings_.presetTrimRescales == 1, command);
            return Outcome::Done;
        }
    }
}

void TrimCommands::StartFree() {
    const auto ratio =
        SelectionRatio(SelectionMode::Free, settings_.freeTrimRatio, QSize(), QSize());
    view_.BeginSelection(SelectionMode::Free, ratio);
}

void TrimCommands::StartSized(QSize size, bool rescale, CommandId trigger) {
    if (size.width() <= 0 || size.height() <= 0) return;
    trimSize_ = size;
    if (rescale) {
        // Drawn freely in the preset's ratio, then scaled to the preset.
        view_.BeginSelection(
            SelectionMode::PresetRatio,
            SelectionRatio(SelectionMode::PresetRatio, settings_.freeTrimRatio, size, QSize()));
        return;
    }
    // Exactly the preset's size, placed at once and then moved where it is wanted.
    view_.BeginFixedSelection(PresetTrimRect(size, LeftSize()), trigger);
    view_.ForwardToSelection(trigger);
}

void TrimCommands::StartCustom() {
    const auto choice = AskTrimSize(parent_, host_, settings_.customTrim, Reference());
    if (!choice) return;
    settings_.customTrim = *choice;
    store_.WriteSettings(SettingWritesFor(settings_, {setting::kNTrimresd}));
    StartSized(QSize(choice->width, choice->height), choice->rescale == 1, CmdCustomTrim);
}

bool TrimCommands::Cut(bool scale) {
    TrimRequest request;
    request.rect = view_.SelectionRectangle();
    request.dx = document_.Dx();
    request.dy = document_.Dy();
    request.panorama = document_.Panorama();
    if (scale) {
        if (trimSize_.isEmpty()) return false;
        request.scaleTo = trimSize_;
    }
    // A click without a rectangle cuts nothing.
    if (!TrimArea(request.rect, Reference())) return false;
    const ViewState current = document_.CurrentViewState();
    return document_.ApplyEdit([&](const ImageBuffer& left, const ImageBuffer& right) {
        return TrimPair(left, right, request, current);
    });
}

bool TrimCommands::Resize() {
    if (!AskResize(parent_, host_, resize_, Reference())) return false;
    const ResizeChoice choice = resize_;
    const int dx = document_.Dx();
    const int dy = document_.Dy();
    const bool panorama = document_.Panorama();
    const ViewState current = document_.CurrentViewState();
    std::optional<Failure> failure;
    const bool done = document_.ApplyEdit([&](const ImageBuffer& left, const ImageBuffer& right) {
        Result<EditedPair> pair =
            ResizePair(left, right, dx, dy, panorama, choice, current, progress_);
        if (pair) return std::move(pair).Value();
        failure = std::move(pair).Error();
        return EditedPair{};
    });
    if (failure) host_.Tell(parent_, *failure);
    return done;
}

}  // namespace duplora
