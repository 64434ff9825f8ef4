#include "app/shell/menu_rules.h"

#include <algorithm>

#include "app/shell/settings.h"
#include "app/shell/stereo_document.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

using S = ToolButtonStyle;

constexpr ToolButton kButtons[] = {
    {CmdNone, 0, S::Separator},
    {CmdOpenStereo, 0, S::Button},
    {CmdOpenLeftRight, 1, S::Button},
    {CmdSaveStereo, 2, S::Button},
    {CmdNone, 0, S::Separator},
    {CmdFreeTrim, 3, S::Button},
    {CmdResize, 4, S::Button},
    {CmdNone, 0, S::Separator},
    {CmdUndo, 5, S::Button},
    {CmdRedo, 6, S::Button},
    {CmdNone, 0, S::Separator},
    {CmdSwap, 23, S::Button},
    {CmdMouseCursor, 7, S::Button},
    {CmdNavigator, 8, S::Button},
    {CmdBorder, 30, S::Button},
    {CmdFullScreen, 9, S::Button},
    {CmdFitWindow, 10, S::Button},
    {CmdZoom100, 13, S::DropDown},
    {CmdNone, 0, S::Separator},
    {CmdThreeViews, 16, S::Button},
    {CmdInterlace, 17, S::Button},
    {CmdGreyAnaglyph, 18, S::DropDown},
    {CmdColourAnaglyph, 19, S::DropDown},
    {CmdSideBySide, 20, S::Button},
    {CmdOverUnder, 21, S::Button},
    {CmdPageFlipping, 22, S::Button},
    {CmdNone, 0, S::Separator},
    {CmdAdjust, 24, S::Button},
    {CmdAlignUp, 25, S::Button},
    {CmdAlignDown, 26, S::Button},
    {CmdAlignLeft, 27, S::Button},
    {CmdAlignRight, 28, S::Button},
    {CmdAlignReset, 29, S::Button},
    {CmdNone, 0, S::Separator},
    {CmdPanorama, 33, S::Check},
    {CmdNone, 0, S::Separator},
};

constexpr CommandId kSingleSet[] = {
    CmdOpenStereo, CmdOpenLeftRight, CmdSaveStereo, CmdFreeTrim, CmdResize, CmdMouseCursor,
    CmdNavigator,  CmdFullScreen,    CmdFitWindow,  CmdZoom100,  CmdBorder, CmdPanorama,
};

bool Contains(std::span<const CommandId> set, CommandId command) {
    return std::find(set.begin(), set.end(), command) != set.end();
}

bool IsButton(CommandId command) {
    return command != CmdNone &&
           std::any_of(std::begin(kButtons), std::end(kButtons),
                       [command](const ToolButton& b) { return b.command == command; });
}

}  // namespace

std::span<const ToolButton> ToolbarButtons() {
    return kButtons;
}

std::string ToolTipText(CommandId command) {
    return LoadResString(ToolTipStringId(command));
}

const MenuDef* ToolbarDropDownMenu(CommandId command) {
    switch (command) {
        case CmdZoom100:
            return &GetMenu(MenuId::Zoom);
        case CmdGreyAnaglyph:
            return &GetMenu(MenuId::GreyAnaglyph);
        case CmdColourAnaglyph:
            return &GetMenu(MenuId::ColourAnaglyph);
        default:
            return nullptr;
    }
}

bool ToolbarButtonEnabled(ToolbarSet set, CommandId command) {
    if (!IsButton(command)) return false;
    switch (set) {
        case ToolbarSet::Start:
            return command == CmdOpenStereo || command == CmdOpenLeftRight;
        case ToolbarSet::Stereo:
            return command != CmdUndo && command != CmdRedo;
        case ToolbarSet::Single:
            return Contains(kSingleSet, command);
    }
    return false;
}

UndoRedoEnabled ToolbarUndoRedo(const StereoDocument& document) {
    return {document.LeftHasUndo(), document.LeftHasRedo()};
}

MenuUpdate ComputeMenuUpdate(const StereoDocument& document, const Settings& settings,
                             const MenuUpdateInput& input) {
    MenuUpdate update;
    update.enabled.emplace_back(CmdPaste, input.clipboardHasImage);
    update.enabled.emplace_back(CmdPasteCompanion, input.clipboardHasImage);
    update.checked.emplace_back(CmdPanorama, document.Panorama());
    // Each anaglyph method is checked while it is its mode's choice.
    for (const AnaglyphMethodRow& row : AnaglyphMethodTable())
        update.checked.emplace_back(
            row.command,
            &row == ChosenAnaglyphMethod(row.mode, document.GreyPair(), document.ColourKind()));
    if (input.documentMenu) {
        update.enabled.emplace_back(CmdCopy, document.BothLoaded());
        update.enabled.emplace_back(CmdUndo, document.HasUndo());
        update.enabled.emplace_back(CmdRedo, document.HasRedo());
        for (int k = 0; k < static_cast<int>(kTrimPresetCommands.size()); ++k)
            update.texts.emplace_back(kTrimPresetCommands[k], TrimPresetText(settings, k));
    }
    return update;
}

std::string TrimPresetText(const Settings& settings, int index) {
    if (index < 0 || index > 4) return {};
    return FormatResString(StringId::MenuTrimPreset1 + index, settings.trimPresets[2 * index],
                           settings.trimPresets[2 * index + 1]);
}

bool ContextMenuAvailable(const StereoDocument& document) {
    return document.BothLoaded();
}

MenuId ContextMenuFor(const StereoDocument& document) {
    return document.SingleImageMode() ? MenuId::ContextSingle : MenuId::Context;
}

std::string ContextHeadText(CommandId command, bool fullScreen, bool cursorHidden) {
    if (command == CmdFullScreen)
        return LoadResString(fullScreen ? StringId::MenuFitWindow : StringId::MenuFullScreen);
    if (command == CmdMouseCursor)
        return LoadResString(cursorHidden ? StringId::MenuShowCursor : StringId::MenuHideCursor);
    return {};
}

}  // namespace duplora
