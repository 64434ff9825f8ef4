#include "app/shell/commands.h"

#include <algorithm>

#include "core/strings.h"

namespace duplora {

namespace {

using G = CommandGuard;

// clang-format off
constexpr CommandEntry kCommands[] = {
    {CmdColourRedCyan, "Farbe (&rot/cyan)", {}, G::Stereo},
    {CmdHalfToneRedCyan, "Halbton (rot/&cyan)", {}, G::Stereo},
    {CmdColourYellowBlue, "Farbe (&gelb/blau)", {}, G::Stereo},
    {CmdHalfToneYellowBlue, "Halbton (gelb/&blau)", {}, G::Stereo},
    {CmdOpenLeftRight, "&Linkes/Rechtes Bild öfnnen...", {"Ctrl+L"}, G::Always},
    {CmdSaveStereo, "Stereo&bild speichern...", {"Ctrl+S"}, G::Loaded},
    {CmdZoom100, "&Originalgröße (100%)", {"O"}, G::Loaded},
    {CmdFitWindow, "An &Fenstergröße anpassen", {"F"}, G::Loaded},
    {CmdZoomIn, "Zoom &ein", {"F2"}, G::Loaded},
    {CmdZoomOut, "Zoom &aus", {"F3"}, G::Loaded},
    {CmdThreeViews, "3er &Ansicht", {"F5"}, G::Stereo},
    {CmdInterlace, "&Interlace", {"F4"}, G::Stereo},
    {CmdGreyAnaglyph, "&Grau-Anaglyph", {"F6"}, G::Stereo},
    {CmdColourAnaglyph, "&Farb-Anaglyph", {"F7"}, G::Stereo},
    {CmdSideBySide, "&Nebeneinander", {"F9"}, G::Stereo},
    {CmdOverUnder, "&Übereinander", {"F10"}, G::Stereo},
    {CmdSwap, "Ver&tausche Links/Rechts", {"X"}, G::Stereo},
    {CmdAlignUp, "Ausrichtung (&oben)", {"Up"}, G::Stereo},
    {CmdAlignDown, "Ausrichtung (&unten)", {"Down"}, G::Stereo},
    {CmdAlignLeft, "Ausrichtung (&links)", {"Left"}, G::Stereo},
    {CmdAlignRight, "Ausrichtung (&rechts)", {"Right"}, G::Stereo},
    {CmdPageFlipping, "&Pageflipping für 3D Shutterbrillen", {"F8"}, G::Stereo},
    // Enter on the main keyboard and on the keypad.
    {CmdFullScreen, "&Vollbild", {"V", "Return", "Enter", "Alt+Return"}, G::Loaded},
    {CmdOpenStereo, "&Stereobild öffnen...", {"Ctrl+O"}, G::Always},
    {CmdPrint, "&Drucken...", {"Ctrl+D"}, G::Loaded},
    {CmdAdjust, "&Justage...", {"J"}, G::Stereo},
    {CmdFreeTrim, "Freier &Ausschnitt", {"A"}, G::LoadedNoGl},
    {CmdResize, "&Bildgröße...", {"R"}, G::Loaded},
    {CmdZoom50, "&50% Größe", {}, G::Loaded},
    {CmdZoom75, "&75% Größe", {}, G::Loaded},
    {CmdZoom150, "&150% Größe", {}, G::Loaded},
    {CmdZoom200, "&200% Größe", {}, G::Loaded},
    {CmdNavigator, "&Navigator zeigen/verbergen", {"N"}, G::Loaded},
    {CmdPhoneImage, "3D-Bild für &Handy erstellen", {"Ctrl+H"}, G::StereoNoGl},
    {CmdMouseCursor, "&Mauszeiger zeigen/verbergen", {"M"}, G::Loaded},
    {CmdUndo, "&Rückgängig", {"Ctrl+Z", "Z"}, G::Loaded},
    {CmdRedo, "&Wiederholen", {"Ctrl+Y"}, G::Loaded},
    {CmdAlignReset, "Ausrichtung zu&rücksetzen", {"Home"}, G::Stereo},
    {CmdBorder, "", {}, G::Loaded},  // toolbar only
    {CmdPanorama, "Panorama Modus (360°)", {"P"}, G::Loaded},
    {CmdPageFlipSettings, "Page&flipping Einstellungen...", {"Alt+P"}, G::Always},
    {CmdHelp, "&Hilfe", {"F1"}, G::Always},
    {CmdLeaveFullScreen, "", {"Esc"}, G::Always},
    {CmdExit, "&Beenden", {"Alt+F4"}, G::Always},
    {CmdAbout, "&Über...", {}, G::Always},
    {CmdCopy, "&Kopieren", {"Ctrl+C"}, G::Loaded},
    {CmdPaste, "&Einfügen", {"Ctrl+V"}, G::Always},
    {CmdSettings, "&Einstellungen...", {"Alt+E"}, G::Always},
    {CmdOpenPending, "", {}, G::Internal},
    {CmdPrintSettings, "Druck&einstellung...", {"Alt+K"}, G::Always},
    {CmdCustomTrim, "&Benutzerdefinierter Ausschnitt...", {"B", "0"}, G::LoadedNoGl},
    // The five preset texts are replaced by the preset sizes whenever a menu opens.
    {CmdTrimPreset1, "Ausschnittsgröße &1", {"1"}, G::LoadedNoGl},
    {CmdTrimPreset2, "Ausschnittsgröße &2", {"2"}, G::LoadedNoGl},
    {CmdTrimPreset3, "Ausschnittsgröße &3", {"3"}, G::LoadedNoGl},
    {CmdTrimPreset4, "Ausschnittsgröße &4", {"4"}, G::LoadedNoGl},
    {CmdTrimPreset5, "Ausschnittsgröße &5", {"5"}, G::LoadedNoGl},
    {CmdTrimFinished, "", {}, G::Internal},
    {CmdPasteCompanion, "", {}, G::Internal},
    {CmdNextImage, "&Nächstes Bild", {"Space"}, G::Loaded},
    {CmdPreviousImage, "&Vorheriges Bild", {"Backspace"}, G::Loaded},
    {CmdSlideShow, "Slide Sho&w", {"S"}, G::Loaded},
    {CmdOpenPendingPair, "", {}, G::Internal},
    {CmdExternalProgram, "&Externes Programm starten", {"E"}, G::Always},
    {CmdNextPair, "Nächst&es Bildpaar", {"Ctrl+Space"}, G::Loaded},
    {CmdPhoneAreaFinished, "", {}, G::Internal},
    {CmdSaveLeftRight, "Linkes/&Rechtes Bild speichern...", {"Ctrl+R"}, G::Loaded},
    {CmdWritePhoneImage, "", {}, G::Internal},
    {CmdSavePhoneImage, "", {}, G::Internal},
    {CmdBatchFromList, "Mehrfach Kon&vertierung aus einer Liste...", {"Ctrl+J"}, G::Always},
    {CmdBatch, "Mehrfach &Konvertierung...", {"Ctrl+K"}, G::Always},
    {CmdRotateRight, "Drehung 90° nach &Rechts", {"Shift+Right"}, G::Loaded},
    {CmdRotateLeft, "Drehung 90° nach &Links", {"Shift+Left"}, G::Loaded},
    {CmdSharpen, "&Schärfen...", {"U"}, G::Loaded},
    {CmdMakeDas, "Erstellen/Wiederherstellen &DAS Datei...", {}, G::Always},
    {CmdWriteAlignment, "Schreibe &Ausrichtung", {"Y"}, G::Stereo},
    {CmdGamma, "&Gamma Justage...", {"G"}, G::Stereo},
    {CmdPresetTrimFinished, "", {}, G::Internal},
    {CmdAddText, "&Text hinzufügen", {"Ctrl+T"}, G::Loaded},
    {CmdAddLogo, "&Logo hinzufügen", {"Ctrl+G"}, G::Loaded},
    // History items take their texts from the history when the menu opens.
    {CmdHistory1, "", {}, G::Always},
    {CmdHistory2, "", {}, G::Always},
    {CmdHistory3, "", {}, G::Always},
    {CmdHistory4, "", {}, G::Always},
    {CmdHistory5, "", {}, G::Always},
    {CmdMultiRename, "Mehrfach &Umbenennen...", {"Ctrl+U"}, G::Always},
    {CmdHtml, "&HTML Datei erstellen...", {"Ctrl+W"}, G::Stereo},
    {CmdMakeList, "Slide Show Liste &erstellen/verändern...", {"Alt+N"}, G::Always},
    {CmdOpenList, "Slide Show &Liste öffnen...", {"Alt+L"}, G::Always},
    {CmdOpenPendingList, "", {}, G::Internal},
    {CmdGreyAnaglyphSettings, "&Einstellungen...", {"Alt+Y"}, G::Stereo},
    {CmdColourAnaglyphSettings, "&Einstellungen...", {"Alt+X"}, G::Stereo},
    {CmdExtendedAdjust, "&Erweiterte Justage...", {"H"}, G::Stereo},
    {CmdBorderSettings, "Rahmen Einstellungen...", {"Alt+R"}, G::Always},
    {CmdEdgeDetect, "&Kantenerkennung...", {"K"}, G::Loaded},
    {CmdGreyRedCyan, "rot/&cyan", {}, G::Stereo},
    {CmdGreyRedGreen, "&rot/grün", {}, G::Stereo},
    {CmdGreyRedBlue, "rot/&blau", {}, G::Stereo},
    {CmdGreyYellowBlue, "&gelb/blau", {}, G::Stereo},
    {CmdStartSettings, "DOS Start Einstellungen...", {"Alt+T"}, G::Always},
    {CmdFitHeight, "Bildhöhe an Bidschirm anpassen", {"L"}, G::Loaded},
    {CmdAutoScrollHorizontal, "Horizontal auto scroll (für Panorama)", {"I"}, G::Loaded},
    {CmdRefreshStatus, "", {}, G::Internal},
    {CmdAddToList, "Datei zur Slide Show Liste &hinzufügen", {"Alt+Z"}, G::Loaded},
    {CmdChooseList, "Slide Show Liste aus&wählen", {"Alt+W"}, G::Always},
    {CmdDeleteFromList, "Lösche &Datei aus der Slide Show Liste", {"Alt+Q"}, G::Loaded},
    {CmdFreeTrimSettings, "&Einstellungen Freier Ausschnitt...", {"Alt+F"}, G::Always},
    {CmdOpenSingle, "&Einzelnes Bild öfnnen...", {"Ctrl+M"}, G::Always},
    {CmdMosaic, "&Mosaik Bild...", {"Alt+M"}, G::Always},
    {CmdFitHeightSecondPass, "", {}, G::Internal},
    {CmdFitWidth, "Bildbreite an Bildschirm anpassen", {"Shift+L"}, G::Loaded},
    {CmdFitWidthSecondPass, "", {}, G::Internal},
    {CmdAutoScrollVertical, "Vertikal auto scroll (für Panorama)", {"Shift+I"}, G::Loaded},
};
// clang-format on

constexpr bool SortedById() {
    for (std::size_t i = 1; i < std::size(kCommands); ++i)
        if (kCommands[i - 1].id >= kCommands[i].id) return false;
    return true;
}
static_assert(SortedById(), "the command table is looked up by binary search");

// ---- menus --------------------------------------------------------------------------------

using K = MenuEntryKind;

constexpr MenuEntry I(CommandId command, std::string_view text = {}) {
    return {K::Item, command, text};
}
constexpr MenuEntry Sep() {
    return {K::Separator};
}
constexpr MenuEntry Sub(MenuId menu, std::string_view title) {
    return {K::Submenu, CmdNone, title, 0, menu};
}
constexpr MenuEntry SubS(MenuId menu, int titleStringId) {
    return {K::Submenu, CmdNone, {}, titleStringId, menu};
}
constexpr MenuEntry History() {
    return {K::HistorySlot};
}
constexpr MenuEntry Head(CommandId command) {
    return {K::ContextHead, command};
}

constexpr MenuEntry kSyoki[] = {
    Sub(MenuId::SyokiFile, "&Datei"),
    Sub(MenuId::SyokiEdit, "&Editieren"),
    Sub(MenuId::Help, "&Hilfe"),
};

constexpr MenuEntry kSyokiFile[] = {
    I(CmdOpenStereo),
    I(CmdOpenLeftRight),
    I(CmdOpenSingle),
    Sep(),
    I(CmdOpenList),
    I(CmdMakeList),
    I(CmdChooseList),
    Sep(),
    I(CmdBatch),
    I(CmdBatchFromList),
    I(CmdMultiRename),
    I(CmdMosaic),
    I(CmdMakeDas),
    Sep(),
    I(CmdPrintSettings),
    Sep(),
    I(CmdExternalProgram),
    Sep(),
    History(),
    I(CmdExit),
};

constexpr MenuEntry kSyokiEdit[] = {
    I(CmdPaste),          Sep(),
    I(CmdSettings),       I(CmdPageFlipSettings),
    I(CmdStartSettings),  I(CmdFreeTrimSettings),
    I(CmdBorderSettings),
};

constexpr MenuEntry kDuplora[] = {
    Sub(MenuId::File, "&Datei"),       Sub(MenuId::Edit, "&Editieren"),
    Sub(MenuId::View, "&Ansicht"),     Sub(MenuId::Stereo, "&Stereo"),
    Sub(MenuId::Align, "A&usrichten"), Sub(MenuId::Help, "&Hilfe"),
};

constexpr MenuEntry kFile[] = {
    I(CmdOpenStereo),
    I(CmdOpenLeftRight),
    I(CmdOpenSingle),
    Sep(),
    I(CmdSaveStereo),
    I(CmdSaveLeftRight),
    I(CmdHtml),
    I(CmdPhoneImage),
    I(CmdMakeDas),
    Sep(),
    Sub(MenuId::SlideShowList, "Slide Show L&iste"),
    Sep(),
    I(CmdBatch),
    I(CmdBatchFromList),
    I(CmdMultiRename),
    I(CmdMosaic),
    Sep(),
    I(CmdPrint),
    I(CmdPrintSettings),
    Sep(),
    I(CmdExternalProgram),
    Sep(),
    History(),
    I(CmdExit),
};

constexpr MenuEntry kSlideShowList[] = {
    I(CmdOpenList),
    I(CmdDeleteFromList),
    I(CmdWriteAlignment),
    I(CmdMakeList),
    I(CmdChooseList),
    I(CmdAddToList),
    Sep(),
    I(CmdSlideShow, "Slide S&how"),
};

constexpr MenuEntry kEdit[] = {
    I(CmdUndo),
    I(CmdRedo),
    Sep(),
    I(CmdCopy),
    I(CmdPaste),
    Sep(),
    I(CmdFreeTrim),
    I(CmdFreeTrimSettings),
    I(CmdCustomTrim),
    I(CmdTrimPreset1),
    I(CmdTrimPreset2),
    I(CmdTrimPreset3),
    I(CmdTrimPreset4),
    I(CmdTrimPreset5),
    Sep(),
    I(CmdResize),
    I(CmdRotateRight),
    I(CmdRotateLeft),
    Sep(),
    I(CmdSharpen),
    I(CmdEdgeDetect),
    Sep(),
    I(CmdAddText),
    I(CmdAddLogo),
    I(CmdBorderSettings),
    Sep(),
    I(CmdSettings),
    I(CmdPageFlipSettings),
    I(CmdStartSettings),
};

constexpr MenuEntry kView[] = {
    I(CmdZoom100),
    I(CmdFitWindow),
    I(CmdFitHeight),
    I(CmdFitWidth),
    I(CmdZoomIn),
    I(CmdZoomOut),
    Sep(),
    I(CmdFullScreen),
    I(CmdNavigator),
    I(CmdMouseCursor),
    Sep(),
    I(CmdNextImage),
    I(CmdPreviousImage),
    I(CmdNextPair),
    I(CmdSlideShow),
    Sep(),
    I(CmdPanorama),
    I(CmdAutoScrollHorizontal),
    I(CmdAutoScrollVertical),
};

constexpr MenuEntry kStereo[] = {
    I(CmdSideBySide),
    I(CmdOverUnder),
    I(CmdThreeViews),
    I(CmdInterlace),
    Sub(MenuId::GreyAnaglyph, "&Grau-Anaglyph"),
    Sub(MenuId::ColourAnaglyph, "&Farb-Anaglyph"),
    Sep(),
    I(CmdPageFlipping),
    Sep(),
    I(CmdSwap),
};

constexpr MenuEntry kGreyAnaglyph[] = {
    I(CmdGreyRedCyan),          I(CmdGreyRedGreen), I(CmdGreyRedBlue), I(CmdGreyYellowBlue), Sep(),
    I(CmdGreyAnaglyphSettings),
};

constexpr MenuEntry kColourAnaglyph[] = {
    I(CmdColourRedCyan),
    I(CmdHalfToneRedCyan),
    I(CmdColourYellowBlue),
    I(CmdHalfToneYellowBlue),
    Sep(),
    I(CmdColourAnaglyphSettings),
};

constexpr MenuEntry kAlign[] = {
    I(CmdAdjust),    I(CmdExtendedAdjust), I(CmdGamma),      Sep(), I(CmdAlignUp), I(CmdAlignDown),
    I(CmdAlignLeft), I(CmdAlignRight),     I(CmdAlignReset),
};

constexpr MenuEntry kHelp[] = {
    I(CmdHelp),
    Sep(),
    I(CmdAbout),
};

constexpr MenuEntry kDuploraSgl[] = {
    Sub(MenuId::SglFile, "&Datei"),
    Sub(MenuId::SglEdit, "&Editieren"),
    Sub(MenuId::SglView, "&Ansicht"),
    Sub(MenuId::Help, "&Hilfe"),
};

constexpr MenuEntry kSglFile[] = {
    I(CmdOpenStereo),
    I(CmdOpenLeftRight),
    I(CmdOpenSingle),
    Sep(),
    I(CmdSaveStereo),
    Sep(),
    I(CmdBatch),
    I(CmdBatchFromList),
    I(CmdMultiRename),
    I(CmdMosaic),
    Sep(),
    I(CmdPrint),
    I(CmdPrintSettings),
    Sep(),
    I(CmdExternalProgram),
    Sep(),
    History(),
    I(CmdExit),
};

constexpr MenuEntry kSglEdit[] = {
    I(CmdUndo),
    I(CmdRedo),
    Sep(),
    I(CmdCopy),
    I(CmdPaste),
    Sep(),
    I(CmdFreeTrim),
    I(CmdFreeTrimSettings),
    I(CmdCustomTrim),
    I(CmdTrimPreset1),
    I(CmdTrimPreset2),
    I(CmdTrimPreset3),
    I(CmdTrimPreset4),
    I(CmdTrimPreset5),
    Sep(),
    I(CmdResize),
    I(CmdRotateRight),
    I(CmdRotateLeft),
    Sep(),
    I(CmdSharpen),
    I(CmdEdgeDetect),
    Sep(),
    I(CmdAddText),
    I(CmdAddLogo),
    I(CmdBorderSettings),
    Sep(),
    I(CmdSettings),
    I(CmdPageFlipSettings),
    I(CmdStartSettings),
};

constexpr MenuEntry kSglView[] = {
    I(CmdZoom100),
    I(CmdFitWindow),
    I(CmdFitHeight),
    I(CmdFitWidth),
    I(CmdZoomIn),
    I(CmdZoomOut),
    Sep(),
    I(CmdFullScreen),
    I(CmdNavigator),
    I(CmdMouseCursor),
    Sep(),
    I(CmdNextImage),
    I(CmdPreviousImage),
    I(CmdSlideShow),
    Sep(),
    I(CmdPanorama),
    I(CmdAutoScrollHorizontal),
    I(CmdAutoScrollVertical),
};

constexpr MenuEntry kZoom[] = {
    I(CmdZoom50), I(CmdZoom75), I(CmdZoom100, "1&00% Größe"), I(CmdZoom150), I(CmdZoom200),
};

constexpr MenuEntry kContext[] = {
    Head(CmdFullScreen),        Head(CmdMouseCursor),      Sep(),
    SubS(MenuId::File, 2532),   SubS(MenuId::Edit, 2545),  SubS(MenuId::View, 2535),
    SubS(MenuId::Stereo, 2640), SubS(MenuId::Align, 2641), SubS(MenuId::Help, 2642),
};

constexpr MenuEntry kContextSingle[] = {
    Head(CmdFullScreen),
    Head(CmdMouseCursor),
};

const MenuDef kMenus[] = {
    {MenuId::Syoki, "SYOKI", kSyoki},
    {MenuId::Duplora, "DUPLORA", kDuplora},
    {MenuId::DuploraSgl, "DUPLORASGL", kDuploraSgl},
    {MenuId::File, "STFILE", kFile},
    {MenuId::Edit, "STEDIT", kEdit},
    {MenuId::View, "STVIEW", kView},
    {MenuId::Stereo, "STSTEREO", kStereo},
    {MenuId::Align, "STAJUST", kAlign},
    {MenuId::Help, "STHELP", kHelp},
    {MenuId::SyokiFile, "SYOKIFILE", kSyokiFile},
    {MenuId::SyokiEdit, "SYOKIEDIT", kSyokiEdit},
    {MenuId::SglFile, "SGLFILE", kSglFile},
    {MenuId::SglEdit, "SGLEDIT", kSglEdit},
    {MenuId::SglView, "SGLVIEW", kSglView},
    {MenuId::SlideShowList, "SSLIST", kSlideShowList},
    {MenuId::GreyAnaglyph, "TOOLSMG", kGreyAnaglyph},
    {MenuId::ColourAnaglyph, "TOOLSMC", kColourAnaglyph},
    {MenuId::Zoom, "ZOOM", kZoom},
    {MenuId::Context, "CONTEXT", kContext},
    {MenuId::ContextSingle, "CONTEXTSGL", kContextSingle},
};

}  // namespace

std::span<const CommandEntry> CommandTable() {
    return kCommands;
}

const CommandEntry* FindCommand(int id) {
    const auto table = CommandTable();
    auto it = std::lower_bound(table.begin(), table.end(), id,
                               [](const CommandEntry& e, int v) { return e.id < v; });
    return (it == table.end() || it->id != id) ? nullptr : &*it;
}

bool GuardAllows(CommandGuard guard, const CommandContext& context) {
    switch (guard) {
        case CommandGuard::Always:
        case CommandGuard::Internal:
            return true;
        case CommandGuard::Loaded:
            return context.bothLoaded;
        case CommandGuard::Stereo:
            return context.bothLoaded && !context.singleImageMode;
        case CommandGuard::LoadedNoGl:
            return context.bothLoaded && !context.openGlActive;
        case CommandGuard::StereoNoGl:
            return context.bothLoaded && !context.singleImageMode && !context.openGlActive;
    }
    return false;
}

const MenuDef& GetMenu(MenuId id) {
    for (const MenuDef& menu : kMenus)
        if (menu.id == id) return menu;
    return kMenus[0];
}

std::span<const MenuDef> AllMenus() {
    return kMenus;
}

std::string MenuItemText(const MenuEntry& entry) {
    if (!entry.text.empty()) return std::string(entry.text);
    const CommandEntry* command = FindCommand(entry.command);
    return command ? std::string(command->text) : std::string();
}

std::string SubmenuTitle(const MenuEntry& entry) {
    if (entry.titleStringId != 0) return LoadResString(entry.titleStringId);
    return std::string(entry.text);
}

std::string_view MenuLabel(std::string_view text) {
    const std::size_t tab = text.find('\t');
    return tab == std::string_view::npos ? text : text.substr(0, tab);
}

}  // namespace duplora
