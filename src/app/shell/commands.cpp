#include "app/shell/commands.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/display_modes.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

// The display modes' and anaglyph methods' commands are rows of their own tables and join
// these in CommandTable().
// clang-format off
constexpr CommandEntry kCommands[] = {
    {CmdOpenLeftRight, "&Linkes/Rechtes Bild öfnnen...", {"Ctrl+L"}},
    {CmdSaveStereo, "Stereo&bild speichern...", {"Ctrl+S"}},
    {CmdZoom100, "&Originalgröße (100%)", {"O"}},
    {CmdFitWindow, "An &Fenstergröße anpassen", {"F"}},
    {CmdZoomIn, "Zoom &ein", {"F2"}},
    {CmdZoomOut, "Zoom &aus", {"F3"}},
    {CmdSwap, "Ver&tausche Links/Rechts", {"X"}},
    {CmdAlignUp, "Ausrichtung (&oben)", {"Up"}},
    {CmdAlignDown, "Ausrichtung (&unten)", {"Down"}},
    {CmdAlignLeft, "Ausrichtung (&links)", {"Left"}},
    {CmdAlignRight, "Ausrichtung (&rechts)", {"Right"}},
    {CmdPageFlipping, "&Pageflipping für 3D Shutterbrillen", {"F8"}},
    // Enter on the main keyboard and on the keypad.
    {CmdFullScreen, "&Vollbild", {"V", "Return", "Enter", "Alt+Return"}},
    {CmdOpenStereo, "&Stereobild öffnen...", {"Ctrl+O"}},
    {CmdPrint, "&Drucken...", {"Ctrl+D"}},
    {CmdAdjust, "&Justage...", {"J"}},
    {CmdFreeTrim, "Freier &Ausschnitt", {"A"}},
    {CmdResize, "&Bildgröße...", {"R"}},
    {CmdZoom50, "&50% Größe", {}},
    {CmdZoom75, "&75% Größe", {}},
    {CmdZoom150, "&150% Größe", {}},
    {CmdZoom200, "&200% Größe", {}},
    {CmdNavigator, "&Navigator zeigen/verbergen", {"N"}},
    {CmdPhoneImage, "3D-Bild für &Handy erstellen", {"Ctrl+H"}},
    {CmdMouseCursor, "&Mauszeiger zeigen/verbergen", {"M"}},
    {CmdUndo, "&Rückgängig", {"Ctrl+Z", "Z"}},
    {CmdRedo, "&Wiederholen", {"Ctrl+Y"}},
    {CmdAlignReset, "Ausrichtung zu&rücksetzen", {"Home"}},
    {CmdBorder, "", {}},  // toolbar only
    {CmdPanorama, "Panorama Modus (360°)", {"P"}},
    {CmdPageFlipSettings, "Page&flipping Einstellungen...", {"Alt+P"}},
    {CmdHelp, "&Hilfe", {"F1"}},
    {CmdLeaveFullScreen, "", {"Esc"}},
    {CmdExit, "&Beenden", {"Alt+F4"}},
    {CmdAbout, "&Über...", {}},
    {CmdCopy, "&Kopieren", {"Ctrl+C"}},
    {CmdPaste, "&Einfügen", {"Ctrl+V"}},
    {CmdSettings, "&Einstellungen...", {"Alt+E"}},
    {CmdOpenPending, "", {}},
    {CmdPrintSettings, "Druck&einstellung...", {"Alt+K"}},
    {CmdCustomTrim, "&Benutzerdefinierter Ausschnitt...", {"B", "0"}},
    // The five preset texts are replaced by the preset sizes whenever a menu opens.
    {CmdTrimPreset1, "Ausschnittsgröße &1", {"1"}},
    {CmdTrimPreset2, "Ausschnittsgröße &2", {"2"}},
    {CmdTrimPreset3, "Ausschnittsgröße &3", {"3"}},
    {CmdTrimPreset4, "Ausschnittsgröße &4", {"4"}},
    {CmdTrimPreset5, "Ausschnittsgröße &5", {"5"}},
    {CmdTrimFinished, "", {}},
    {CmdPasteCompanion, "", {}},
    {CmdNextImage, "&Nächstes Bild", {"Space"}},
    {CmdPreviousImage, "&Vorheriges Bild", {"Backspace"}},
    {CmdSlideShow, "Slide Sho&w", {"S"}},
    {CmdOpenPendingPair, "", {}},
    {CmdExternalProgram, "&Externes Programm starten", {"E"}},
    {CmdNextPair, "Nächst&es Bildpaar", {"Ctrl+Space"}},
    {CmdPhoneAreaFinished, "", {}},
    {CmdSaveLeftRight, "Linkes/&Rechtes Bild speichern...", {"Ctrl+R"}},
    {CmdWritePhoneImage, "", {}},
    {CmdSavePhoneImage, "", {}},
    {CmdBatchFromList, "Mehrfach Kon&vertierung aus einer Liste...", {"Ctrl+J"}},
    {CmdBatch, "Mehrfach &Konvertierung...", {"Ctrl+K"}},
    {CmdRotateRight, "Drehung 90° nach &Rechts", {"Shift+Right"}},
    {CmdRotateLeft, "Drehung 90° nach &Links", {"Shift+Left"}},
    {CmdSharpen, "&Schärfen...", {"U"}},
    {CmdMakeDas, "Erstellen/Wiederherstellen &DAS Datei...", {}},
    {CmdWriteAlignment, "Schreibe &Ausrichtung", {"Y"}},
    {CmdGamma, "&Gamma Justage...", {"G"}},
    {CmdPresetTrimFinished, "", {}},
    {CmdAddText, "&Text hinzufügen", {"Ctrl+T"}},
    {CmdAddLogo, "&Logo hinzufügen", {"Ctrl+G"}},
    // History items take their texts from the history when the menu opens.
    {CmdHistory1, "", {}},
    {CmdHistory2, "", {}},
    {CmdHistory3, "", {}},
    {CmdHistory4, "", {}},
    {CmdHistory5, "", {}},
    {CmdMultiRename, "Mehrfach &Umbenennen...", {"Ctrl+U"}},
    {CmdHtml, "&HTML Datei erstellen...", {"Ctrl+W"}},
    {CmdMakeList, "Slide Show Liste &erstellen/verändern...", {"Alt+N"}},
    {CmdOpenList, "Slide Show &Liste öffnen...", {"Alt+L"}},
    {CmdOpenPendingList, "", {}},
    {CmdGreyAnaglyphSettings, "&Einstellungen...", {"Alt+Y"}},
    {CmdColourAnaglyphSettings, "&Einstellungen...", {"Alt+X"}},
    {CmdExtendedAdjust, "&Erweiterte Justage...", {"H"}},
    {CmdAutoAlign, "&Automatisch ausrichten", {}},
    {CmdBorderSettings, "Rahmen Einstellungen...", {"Alt+R"}},
    {CmdEdgeDetect, "&Kantenerkennung...", {"K"}},
    {CmdStartSettings, "DOS Start Einstellungen...", {"Alt+T"}},
    {CmdFitHeight, "Bildhöhe an Bidschirm anpassen", {"L"}},
    {CmdAutoScrollHorizontal, "Horizontal auto scroll (für Panorama)", {"I"}},
    {CmdRefreshStatus, "", {}},
    {CmdAddToList, "Datei zur Slide Show Liste &hinzufügen", {"Alt+Z"}},
    {CmdChooseList, "Slide Show Liste aus&wählen", {"Alt+W"}},
    {CmdDeleteFromList, "Lösche &Datei aus der Slide Show Liste", {"Alt+Q"}},
    {CmdFreeTrimSettings, "&Einstellungen Freier Ausschnitt...", {"Alt+F"}},
    {CmdOpenSingle, "&Einzelnes Bild öfnnen...", {"Ctrl+M"}},
    {CmdMosaic, "&Mosaik Bild...", {"Alt+M"}},
    {CmdFitHeightSecondPass, "", {}},
    {CmdFitWidth, "Bildbreite an Bildschirm anpassen", {"Shift+L"}},
    {CmdFitWidthSecondPass, "", {}},
    {CmdAutoScrollVertical, "Vertikal auto scroll (für Panorama)", {"Shift+I"}},
};
// clang-format on

// The whole table, sorted by id for the binary search.
std::vector<CommandEntry> BuildCommandTable() {
    std::vector<CommandEntry> table(std::begin(kCommands), std::end(kCommands));
    for (const DisplayModeRow& row : DisplayModeTable())
        if (row.command != CmdNone) table.push_back({row.command, row.menuText, {row.accelerator}});
    for (const AnaglyphMethodRow& row : AnaglyphMethodTable())
        table.push_back({row.command, row.menuText, {}});
    std::ranges::sort(table, {}, &CommandEntry::id);
    return table;
}

const std::vector<CommandEntry>& Commands() {
    static const std::vector<CommandEntry> table = BuildCommandTable();
    return table;
}

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

constexpr MenuEntry kStart[] = {
    Sub(MenuId::StartFile, "&Datei"),
    Sub(MenuId::StartEdit, "&Editieren"),
    Sub(MenuId::Help, "&Hilfe"),
};

constexpr MenuEntry kStartFile[] = {
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

constexpr MenuEntry kStartEdit[] = {
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

// The submenu of a mode's anaglyph methods.
std::optional<MenuId> MethodMenu(DisplayMode mode) {
    if (mode == DisplayMode::GreyAnaglyph) return MenuId::GreyAnaglyph;
    if (mode == DisplayMode::ColourAnaglyph) return MenuId::ColourAnaglyph;
    return std::nullopt;
}

// The modes in table order; a mode with methods opens their submenu, titled as the mode.
std::vector<MenuEntry> StereoMenu() {
    std::vector<MenuEntry> entries;
    for (const DisplayModeRow& row : DisplayModeTable()) {
        if (row.command == CmdNone) continue;
        const std::optional<MenuId> methods = MethodMenu(row.mode);
        entries.push_back(methods ? Sub(*methods, row.menuText) : I(row.command));
    }
    entries.insert(entries.end(), {Sep(), I(CmdPageFlipping), Sep(), I(CmdSwap)});
    return entries;
}

// A mode's methods, then the settings of that kind of anaglyph.
std::vector<MenuEntry> MethodsMenu(DisplayMode mode, CommandId settings) {
    std::vector<MenuEntry> entries;
    for (const AnaglyphMethodRow& row : AnaglyphMethodsOf(mode)) entries.push_back(I(row.command));
    entries.insert(entries.end(), {Sep(), I(settings)});
    return entries;
}

const std::vector<MenuEntry> kStereo = StereoMenu();
const std::vector<MenuEntry> kGreyAnaglyph =
    MethodsMenu(DisplayMode::GreyAnaglyph, CmdGreyAnaglyphSettings);
const std::vector<MenuEntry> kColourAnaglyph =
    MethodsMenu(DisplayMode::ColourAnaglyph, CmdColourAnaglyphSettings);

constexpr MenuEntry kAlign[] = {
    I(CmdAdjust),  I(CmdExtendedAdjust), I(CmdAutoAlign), I(CmdGamma),      Sep(),
    I(CmdAlignUp), I(CmdAlignDown),      I(CmdAlignLeft), I(CmdAlignRight), I(CmdAlignReset),
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

// A single picture's menus are the pair's without what needs two views: the pair's saves and
// exports, the slide-show lists and the next pair.
constexpr CommandId kPairOnly[] = {CmdSaveLeftRight, CmdHtml, CmdPhoneImage, CmdMakeDas,
                                   CmdNextPair};
constexpr MenuId kPairOnlyMenus[] = {MenuId::SlideShowList};

std::vector<MenuEntry> SingleOf(std::span<const MenuEntry> stereo) {
    std::vector<MenuEntry> single;
    for (const MenuEntry& entry : stereo) {
        if (entry.kind == K::Item &&
            std::ranges::find(kPairOnly, entry.command) != std::end(kPairOnly))
            continue;
        if (entry.kind == K::Submenu &&
            std::ranges::find(kPairOnlyMenus, entry.submenu) != std::end(kPairOnlyMenus))
            continue;
        // What is left of a group between two separators may be nothing.
        if (entry.kind == K::Separator && (single.empty() || single.back().kind == K::Separator))
            continue;
        single.push_back(entry);
    }
    return single;
}

const std::vector<MenuEntry> kSglFile = SingleOf(kFile);
const std::vector<MenuEntry> kSglEdit = SingleOf(kEdit);
const std::vector<MenuEntry> kSglView = SingleOf(kView);

constexpr MenuEntry kZoom[] = {
    I(CmdZoom50), I(CmdZoom75), I(CmdZoom100, "1&00% Größe"), I(CmdZoom150), I(CmdZoom200),
};

constexpr MenuEntry kContext[] = {
    Head(CmdFullScreen),
    Head(CmdMouseCursor),
    Sep(),
    SubS(MenuId::File, StringId::MenuFile),
    SubS(MenuId::Edit, StringId::MenuEdit),
    SubS(MenuId::View, StringId::MenuView),
    SubS(MenuId::Stereo, StringId::MenuStereo),
    SubS(MenuId::Align, StringId::MenuAlign),
    SubS(MenuId::Help, StringId::MenuHelp),
};

constexpr MenuEntry kContextSingle[] = {
    Head(CmdFullScreen),
    Head(CmdMouseCursor),
};

const MenuDef kMenus[] = {
    {MenuId::Start, "SYOKI", kStart},
    {MenuId::Duplora, "DUPLORA", kDuplora},
    {MenuId::DuploraSgl, "DUPLORASGL", kDuploraSgl},
    {MenuId::File, "STFILE", kFile},
    {MenuId::Edit, "STEDIT", kEdit},
    {MenuId::View, "STVIEW", kView},
    {MenuId::Stereo, "STSTEREO", kStereo},
    {MenuId::Align, "STAJUST", kAlign},
    {MenuId::Help, "STHELP", kHelp},
    {MenuId::StartFile, "SYOKIFILE", kStartFile},
    {MenuId::StartEdit, "SYOKIEDIT", kStartEdit},
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
    return Commands();
}

const CommandEntry* FindCommand(int id) {
    const auto table = CommandTable();
    auto it = std::lower_bound(table.begin(), table.end(), id,
                               [](const CommandEntry& e, int v) { return e.id < v; });
    return (it == table.end() || it->id != id) ? nullptr : &*it;
}

namespace {

// Each comes with the window that carries it out; every window is built now.
constexpr std::array<CommandId, 0> kNotYetBuilt{};

}  // namespace

std::span<const CommandId> NotYetBuiltCommands() {
    return kNotYetBuilt;
}

bool NotYetBuilt(CommandId command) {
    return std::find(kNotYetBuilt.begin(), kNotYetBuilt.end(), command) != kNotYetBuilt.end();
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
    if (!entry.text.empty()) return TranslateText(entry.text);
    const CommandEntry* command = FindCommand(entry.command);
    return command ? TranslateText(command->text) : std::string();
}

std::string SubmenuTitle(const MenuEntry& entry) {
    if (entry.titleStringId != 0) return LoadResString(entry.titleStringId);
    return TranslateText(entry.text);
}

std::string_view MenuLabel(std::string_view text) {
    const std::size_t tab = text.find('\t');
    return tab == std::string_view::npos ? text : text.substr(0, tab);
}

}  // namespace duplora
