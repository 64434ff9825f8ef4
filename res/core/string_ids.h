// Names for the entries of the string table (res/core/string_table.cpp), one per id, after
// what the text says or where it is shown. The enum is unscoped with int as its type:
// LoadResString, FormatResString, ShowMessage and the other helpers take the number, and an
// id kept in an int (an error's reason, a menu entry, a command's tip computed from the
// command) passes through unchanged. The enumerators sit in a namespace of their own and
// are written StringId::Name; as plain names they would collide with functions and types
// of the same words.
//
// scripts/dev/use-string-ids rewrites code that still names ids by number, and checks that
// every entry of the table has exactly one name here.
#pragma once

namespace duplora {
namespace string_ids {

enum StringId : int {
    // Toolbar tips: the entry 200 above the button's command (ToolTipStringId).
    TipOpenLeftRight = 2200,   // "Linkes/Rechtes Bild öffnen..."
    TipSaveStereo = 2201,      // "Stereobild speichern"
    TipZoom100 = 2202,         // "Originalgröße und Zoom"
    TipFitWindow = 2203,       // "An Fenstergröße anpassen"
    TipThreeViews = 2206,      // "3er Ansicht"
    TipInterlace = 2207,       // "Interlace"
    TipGreyAnaglyph = 2208,    // "Grau-Anaglyph"
    TipColourAnaglyph = 2209,  // "Farb-Anaglyph"
    TipSideBySide = 2210,      // "Nebeneinander"
    TipOverUnder = 2211,       // "Übereinander"
    TipSwap = 2212,            // "Vertausche Links/Rechts"
    TipAlignUp = 2213,         // "Ausrichtung oben"
    TipAlignDown = 2214,       // "Ausrichtung unten"
    TipAlignLeft = 2215,       // "Ausrichtung links"
    TipAlignRight = 2216,      // "Ausrichtung rechts"
    TipPageFlipping = 2217,    // "Pageflipping für 3D Shutterbrillen"
    TipFullScreen = 2218,      // "Vollbild"
    TipOpenStereo = 2219,      // "Stereobild öffnen..."
    TipAdjust = 2221,          // "Justage"
    TipFreeTrim = 2222,        // "Freier Ausschnitt"
    TipResize = 2223,          // "Bildgröße"
    TipNavigator = 2228,       // "Navigator zeigen/verbergen"
    TipMouseCursor = 2230,     // "Mauszeiger zeigen/verbergen"
    TipUndo = 2231,            // "Rückgängig"
    TipRedo = 2232,            // "Wiederholen"
    TipAlignReset = 2233,      // "Ausrichtung zurücksetzen"
    TipBorder = 2234,          // "Zeige/Verberge Rahmen"
    TipPanorama = 2235,        // "360° Panorama Modus"

    // Alignment by features.
    AutoAlignTooFewFeatures = 2300,  // "Zu wenige gemeinsame Merkmale in beiden Bildern…"
    AutoAlignDone = 2301,            // "Automatisch ausgerichtet: Drehung %s°, Größe %s %%, …"

    // Captions, messages, window and dialog titles, status and log lines, menu texts.
    ProgramTitle = 2501,                // "Duplora"
    OpenStereoTitle = 2502,             // "Stereobild öffnen"
    CannotOpenImage = 2503,             // "Kann Bild nicht öffnen"
    ErrorCaption = 2505,                // "FEHLER"
    CannotStoreValues = 2506,           // "Kann Werte nicht abspeichern"
    SavePhoneImageTitle = 2507,         // "3D Bild für Handy speichern"
    SaveStereoTitle = 2508,             // "Stereobild Speichern"
    CannotSaveImage = 2509,             // "Kann Bild nicht speichern"
    CannotStoreJpeg = 2510,             // "Kann JPEG Daten nicht apeichern"
    SaveLeftRightTitle = 2511,          // "Linkes/Rechtes Bild Speichern"
    FileExistsReplace = 2512,           // "Datei bereits vorhanden! Diese Datei ersetzen ?"
    CannotCreateBackup = 2513,          // "Kann Sicherung nicht erstellen"
    CannotPaste = 2514,                 // "Einfügen nicht möglich"
    WarningCaption = 2515,              // "Achtung"
    PrinterDriverNotFound = 2516,       // "Druckertreiber nicht gefunden"
    CannotCreatePrintData = 2517,       // "Druckdaten können nicht erstellt werden"
    PrintCancelled = 2518,              // "Druck abgebrochen"
    NoPageFlippingDriver = 2519,        // "Kann keinen Pageflipping Stereotreiber finden"
    CannotWriteAlignmentNotDas = 2520,  // "Kann Ausrichtungsdaten nicht abspeichern, \ndargestell…"
    ListAlignmentWritten = 2521,        // "(%s)\nInformationen (X = %d,Y = %d)wurden geschrieben."
    WriteAlignmentCaption = 2522,       // "Schreibe Ausrichtungsdaten"
    HelpFileNotFound = 2523,            // "Kann Hilfedatei nicht finden"
    MenuFullScreen = 2524,              // "Vollbild\tV"
    MenuFitWindow = 2525,               // "An Fensterröße anpassen\tF"
    MenuHideCursor = 2526,              // "Mauszeiger verbergen\tM"
    MenuShowCursor = 2527,              // "Mauszeiger anzeigen\tM"
    MenuFile = 2532,                    // "Datei"
    MenuView = 2535,                    // "Ansicht"
    MenuEdit = 2545,                    // "Editieren"
    W3dColours16 = 2553,                // "64K Farben (16)"
    W3dColours32 = 2554,                // "Full Farben (32)"
    PreviewFileType = 2555,             // "Dateityp : %s"
    PreviewFullColours = 2556,          // "Volle Farbanzahl"
    PreviewColours64k = 2557,           // "64k Farben"
    PreviewColours256 = 2558,           // "256 Farben"
    PreviewColours16 = 2559,            // "16 Farben"
    PreviewColours2 = 2560,             // "2 Farben"
    PreviewColours = 2561,              // "Farben: %s "
    PreviewSizeColours = 2562,          // "Bildgröße: %dx%d  Farben: %s "
    PreviewDasSizesColours = 2563,      // "Bildgröße: %dx%d - %dx%d  Farben: %s "
    SaveSizeAbout = 2564,               // "Dateigröße nach Speichern:\n ca. %d Bytes"
    SaveSizeExact = 2565,               // "Dateigröße nach Speichern:\n genau %d Bytes"
    AlignmentOnlyInDas = 2566,     // "Fehlgeschlagen beim Speichern! Diese Informationen kön…"
    DasAlignmentWritten = 2567,    // "(%s) Positionsangaben (X = %d,Y = %d) wurden geschrieb…"
    InfoOverlay = 2568,            // "Links(%s) Rechts(%s) Bildgröße(%d x %d) Zoom(%d%%) Aus…"
    SendToShortcutName = 2569,     // "\\Duplora.lnk"
    ExternalProgramFilter = 2570,  // "Externes Programm (*.EXE)|*.EXE|Alle Dateien (*.*)|*.*"
    FileTypeDas = 2571,            // "BMP Bild"
    FileTypeJpeg = 2572,           // "JPEG Bild"
    FileTypeJps = 2573,            // "JPS Bild"
    PluginFolderTitle = 2576,      // "Susie 32bit plug-in Verzeichnis"
    ExternalProgramTitle = 2577,   // "Externes Programm"
    DasToolTitle = 2578,           // "Erstellen/Wiederherstellen DAS Datei"
    DasToolHint = 2579,            // "Nach Eingabe des L/R Bildes oder einer DAS Datei, drüc…"
    DasToolNeedSource = 2580,      // "Bitte ein linkes/rechtes Quellbild oder die DAS Datei…"
    DasToolRestoreTitle = 2581,    // "Originalbild wiederherstellen"
    DasToolPressButton = 2582,     // "Nach Auswahl der Quelldatei, bitte [Erstellen / Wieder…"
    CannotCreateDas = 2583,        // "Kann DAS Datei nicht erstellen - vermutlich schreibges…"
    CannotRestoreDas = 2584,       // "Kann DAS Datei nicht wiederherstellen."
    DasRestored = 2585,            // "Originaldatein wiederhergestellt !  Zum Beenden, [Abbr…"
    DasCreated = 2586,             // "Datei erstellt - Zum Beenden [Abbrechen] drücken."
    CannotCreatePalette = 2587,    // "Kann Farbpalette nicht erstellen."
    CannotCreateBitmap = 2588,     // "Kann BMP Datei nicht erstellen."
    ProgressReading = 2589,        // "lese... %d %%"
    ProgressWriting = 2590,        // "schreibe... %d %%"
    PaperSize = 2591,              // "Papiergröße:Breite %d.%02dmm Höhe %d.%02dmm"
    TitlePair = 2592,              // "Linkes Bild(%s [%d x %d]) Rechtes Bild(%s [%d x %d])…"
    SlideShowInterval = 2593,      // "Slide Show Intervall %d.%d S."
    StatusAlignedSize = 2594,      // "Bildgröße nach Ausrichtung[%d x %d]"
    StatusAlignmentOffset = 2595,  // "Position Ausrichtung(x = %d y = %d)"
    StatusSizeZoom = 2596,         // "Bildgröße [%d x %d]  Zoom(%d %%)"
    PastedLeftName = 2597,         // "Linkes Bild einfügen"
    PastedRightName = 2598,        // "Rechtes Bild einfügen"
    StatusSelection = 2599,        // "(%d,%d)-(%d,%d) [%d X %d]"
    AlignmentChangedSave = 2600,   // "vorherige Ausrichtung wird verändert, \nWollen Sie spe…"
    NegativeDegrees = 2601,        // "-%d.%d Grad"
    Degrees = 2602,                // "%d.%d Grad"
    AdjustTitle = 2603,            // "Justage"
    GammaDensity = 2604,           // "Gamma = %d.%02d durchschnittliche Dichte = %d"
    BatchTitle = 2605,             // "Mehrfachkonvertierung"
    BatchStopAfterCurrent = 2606,  // "Nach Beendignung der aktuellen Aktion Speichervorgang…"
    BatchCannotStop = 2607,        // "Vorgang konnte nicht beendet werden"
    BatchUserAbort = 2608,         // "Benutzerabbruch - Datei kann beschädigt sein."
    BatchCannotStopOnRequest = 2609,  // "Kann aus Wunsch den Vorgang nicht beenden"
    CloseDialog = 2610,               // "Dialog beenden"
    FolderMissingCreate = 2614,       // "Angegebener Verzeichnis [%s] existiert nicht. Wollen S…"
    CannotCreateFolder = 2615,        // "Erstellen eines neuen Verzeichnisses fehlgeschlagen."
    BatchConfirmStart = 2616,         // "DPL wird [%d] von [%s] Dateien umwandeln und im Verzei…"
    ConfirmConversionCaption = 2617,  // "Konvertierung bestätigen"
    BatchOtherFileType = 2618,        // "Dieser Dateityp ist unterschiedlich. Diese Datei wird…"
    BatchResultReadError = 2619,      // "Ergebnis: Leserfehler.\r\n\r\n"
    BatchOutput = 2620,               // "-> Ausgabe(%s)\r\n"
    BatchResized = 2621,              // "Quellbild von(%d*%d)nach(%d*%d)umgewandelt\r\n"
    FileExistsOverwrite = 2623,    // "Datei bereits vorhanden. Wollen Sie diese Überschreibe…"
    BatchResultSkipped = 2624,     // "Ergebnis : übersprungen.\r\n\r\n"
    BatchSaveFailed = 2625,        // "Speichern fehlgeschlagen. Diese Datei wird übersprunge…"
    BatchResultWriteError = 2626,  // "Ergebnis : Fehler beim Speichern\r\n\r\n"
    BatchResultSuccess = 2627,     // "Ergebmis : Erfolgreich\r\n\r\n"
    MenuTrimPreset1 = 2629,        // "Fester Ausschnitt (%dx%d)\t1"
    MenuTrimPreset2 = 2630,        // "Fester Ausschnitt (%dx%d)\t2"
    MenuTrimPreset3 = 2631,        // "Fester Ausschnitt (%dx%d)\t3"
    MenuTrimPreset4 = 2632,        // "Fester Ausschnitt (%dx%d)\t4"
    MenuTrimPreset5 = 2633,        // "Fester Ausschnitt (%dx%d)\t5"
    CannotDisplayImage = 2635,     // "Kann kein Bild darstellen.\nverändern Sie die Bildgröß…"
    LeftNameSuffix = 2636,         // " - Links"
    RightNameSuffix = 2637,        // " - Rechts"
    SaveChangesQuestion = 2638,    // "Änderungen im Bild [%s] speichern ?"
    MenuStereo = 2640,             // "Stereo"
    MenuAlign = 2641,              // "Asrichten"
    MenuHelp = 2642,               // "Hilfe"
    SaveImageSize = 2643,          // "Bildgröße (%d X %d)"
    BatchSource = 2644,            // "\"%d/%d Quelle(%s)\""
    CannotWriteFile = 2645,        // "Kann Datei nicht schreiben, eventuell nur lesen?"
    CannotCreateTemporary = 2646,  // "Kann temporäre Datei nicht erstellen. CD-ROM?"
    BadJpegComment = 2647,         // "Fehler in JPEG Datei. Kann Kommentar nicht hinzufügen."
    RenameConfirmStart = 2665,     // "%d Dateien umbenennen. Wollen Sie starten ?"
    RenameTargetExists = 2666,     // "Diese Datei existiert bereits - wird übersprungen."
    RenameFailed = 2667,           // "Fehler beim Umbenennen - wird übersprungen."
    ListInvalid = 2677,            // "Keine gültige Slide Show Liste!"
    ListUnpairedCount = 2678,      // "Numerierung muß für unabhängie(L/R) ungerade sein."
    ListCannotCreate = 2679,       // "Kann keine Slide Show Liste erstellen !"
    ListFilesAdded = 2680,         // "%d Dateien zur Slide Show Liste hinzugefügt."
    ListCannotOpen = 2681,         // "Kann Slide Show Liste nicht öffnen !"
    FilesAddedCaption = 2682,      // "Dateien hinzugefügt"
    DeleteConfirm = 2683,          // "Löschen OK?"
    OpenLeftTitle = 2684,          // "Linkes Bild öffnen"
    OpenRightTitle = 2686,         // "Rechtes Bild öffnen"
    OpenAsPairQuestion = 2688,     // "Öffne '%s' als Stereopaar?"
    ConfirmationCaption = 2689,    // "Bestätigung"
    BatchLogoError = 2691,         // "Logo Bild kann nicht geöffnet werden!\r\n\r\n"
    OpenSingleTitle = 2693,        // "Monobild öffnen"
    TitleSingle = 2694,            // "Bild(%s [%d x %d]) (%d/%d)"
    SaveSingleTitle = 2695,        // "Bild speichern"
    MosaicCaption = 2696,          // "Mosaik Bild"
    MosaicConfirmStart = 2697,     // "Verbinde %d Dateien. Wollen Sie starten ?"
    TextureTooSmallResize = 2698,  // "Bildgröße(%d x %d) muß kleiner als die Texsturgröße(%d…"
    TitlePanorama = 2699,          // "Panorama Modus"

    // The program's own texts: why a file cannot be read, and its own messages.
    UnreadableFile = 2900,       // "Die Datei [%s] kann nicht gelesen werden: %s"
    ReasonMissing = 2901,        // "Die Datei gibt es nicht."
    ReasonNoPermission = 2902,   // "Die Datei darf nicht gelesen werden."
    ReasonUnknownFormat = 2903,  // "Das Bildformat ist unbekannt."
    ReasonTooLarge = 2904,       // "Das Bild ist zu groß."
    ReasonDamaged = 2905,        // "Die Datei ist beschädigt oder unvollständig."
    UnreadableCaption = 2906,    // "Kann Bild nicht öffnen"
    CannotStartProgram = 2907,   // "Kann das Programm [%s] nicht starten."
    PartlyRead = 2908,           // "Die Datei [%s] ist beschädigt und wurde nur zum Teil gelesen."

    // The help overlays of the page-flipping outputs and their messages.
    FlipHelpFirst = 2940,
    FlipHelpClose = 2941,
    FlipHelpArrows = 2942,
    FlipHelpHome = 2943,
    FlipHelpDigits = 2944,
    FlipHelpZoom = 2945,
    FlipHelpFit = 2946,
    FlipHelpOriginal = 2947,
    FlipHelpFitHeight = 2948,
    FlipHelpFitWidth = 2949,
    FlipHelpSwap = 2950,
    FlipHelpPanorama = 2951,
    FlipHelpNext = 2952,
    FlipHelpPrevious = 2953,
    FlipHelpSlideShow = 2954,
    FlipHelpWrite = 2955,
    FlipHelpHelp = 2956,
    FlipHelpInformation = 2957,
    FlipHelpScrollH = 2958,
    FlipHelpScrollV = 2959,
    FlipHelpScrollKeys = 2960,
    FlipHelpDrag = 2961,
    FlipHelpLast = 2962,
    GlHelpFirst = 2965,
    GlHelpStop = 2966,
    GlHelpEscape = 2967,
    GlHelpArrows = 2968,
    GlHelpHome = 2969,
    GlHelpZoom = 2970,
    GlHelpFit = 2971,
    GlHelpOriginal = 2972,
    GlHelpFitHeight = 2973,
    GlHelpFitWidth = 2974,
    GlHelpSwap = 2975,
    GlHelpPanorama = 2976,
    GlHelpFullScreen = 2977,
    GlHelpNext = 2978,
    GlHelpPrevious = 2979,
    GlHelpSlideShow = 2980,
    GlHelpHelp = 2981,
    GlHelpScrollH = 2982,
    GlHelpScrollV = 2983,
    GlHelpScrollKeys = 2984,
    GlHelpScrollStop = 2985,
    GlHelpDrag = 2986,
    GlHelpLast = 2987,
    NoStereoFormat = 2990,
    NoOpenGl = 2991,
};

}  // namespace string_ids

using string_ids::StringId;

// Every name above, in the order of the ids.
inline constexpr StringId kAllStringIds[] = {
    StringId::TipOpenLeftRight,
    StringId::TipSaveStereo,
    StringId::TipZoom100,
    StringId::TipFitWindow,
    StringId::TipThreeViews,
    StringId::TipInterlace,
    StringId::TipGreyAnaglyph,
    StringId::TipColourAnaglyph,
    StringId::TipSideBySide,
    StringId::TipOverUnder,
    StringId::TipSwap,
    StringId::TipAlignUp,
    StringId::TipAlignDown,
    StringId::TipAlignLeft,
    StringId::TipAlignRight,
    StringId::TipPageFlipping,
    StringId::TipFullScreen,
    StringId::TipOpenStereo,
    StringId::TipAdjust,
    StringId::TipFreeTrim,
    StringId::TipResize,
    StringId::TipNavigator,
    StringId::TipMouseCursor,
    StringId::TipUndo,
    StringId::TipRedo,
    StringId::TipAlignReset,
    StringId::TipBorder,
    StringId::TipPanorama,
    StringId::AutoAlignTooFewFeatures,
    StringId::AutoAlignDone,
    StringId::ProgramTitle,
    StringId::OpenStereoTitle,
    StringId::CannotOpenImage,
    StringId::ErrorCaption,
    StringId::CannotStoreValues,
    StringId::SavePhoneImageTitle,
    StringId::SaveStereoTitle,
    StringId::CannotSaveImage,
    StringId::CannotStoreJpeg,
    StringId::SaveLeftRightTitle,
    StringId::FileExistsReplace,
    StringId::CannotCreateBackup,
    StringId::CannotPaste,
    StringId::WarningCaption,
    StringId::PrinterDriverNotFound,
    StringId::CannotCreatePrintData,
    StringId::PrintCancelled,
    StringId::NoPageFlippingDriver,
    StringId::CannotWriteAlignmentNotDas,
    StringId::ListAlignmentWritten,
    StringId::WriteAlignmentCaption,
    StringId::HelpFileNotFound,
    StringId::MenuFullScreen,
    StringId::MenuFitWindow,
    StringId::MenuHideCursor,
    StringId::MenuShowCursor,
    StringId::MenuFile,
    StringId::MenuView,
    StringId::MenuEdit,
    StringId::W3dColours16,
    StringId::W3dColours32,
    StringId::PreviewFileType,
    StringId::PreviewFullColours,
    StringId::PreviewColours64k,
    StringId::PreviewColours256,
    StringId::PreviewColours16,
    StringId::PreviewColours2,
    StringId::PreviewColours,
    StringId::PreviewSizeColours,
    StringId::PreviewDasSizesColours,
    StringId::SaveSizeAbout,
    StringId::SaveSizeExact,
    StringId::AlignmentOnlyInDas,
    StringId::DasAlignmentWritten,
    StringId::InfoOverlay,
    StringId::SendToShortcutName,
    StringId::ExternalProgramFilter,
    StringId::FileTypeDas,
    StringId::FileTypeJpeg,
    StringId::FileTypeJps,
    StringId::PluginFolderTitle,
    StringId::ExternalProgramTitle,
    StringId::DasToolTitle,
    StringId::DasToolHint,
    StringId::DasToolNeedSource,
    StringId::DasToolRestoreTitle,
    StringId::DasToolPressButton,
    StringId::CannotCreateDas,
    StringId::CannotRestoreDas,
    StringId::DasRestored,
    StringId::DasCreated,
    StringId::CannotCreatePalette,
    StringId::CannotCreateBitmap,
    StringId::ProgressReading,
    StringId::ProgressWriting,
    StringId::PaperSize,
    StringId::TitlePair,
    StringId::SlideShowInterval,
    StringId::StatusAlignedSize,
    StringId::StatusAlignmentOffset,
    StringId::StatusSizeZoom,
    StringId::PastedLeftName,
    StringId::PastedRightName,
    StringId::StatusSelection,
    StringId::AlignmentChangedSave,
    StringId::NegativeDegrees,
    StringId::Degrees,
    StringId::AdjustTitle,
    StringId::GammaDensity,
    StringId::BatchTitle,
    StringId::BatchStopAfterCurrent,
    StringId::BatchCannotStop,
    StringId::BatchUserAbort,
    StringId::BatchCannotStopOnRequest,
    StringId::CloseDialog,
    StringId::FolderMissingCreate,
    StringId::CannotCreateFolder,
    StringId::BatchConfirmStart,
    StringId::ConfirmConversionCaption,
    StringId::BatchOtherFileType,
    StringId::BatchResultReadError,
    StringId::BatchOutput,
    StringId::BatchResized,
    StringId::FileExistsOverwrite,
    StringId::BatchResultSkipped,
    StringId::BatchSaveFailed,
    StringId::BatchResultWriteError,
    StringId::BatchResultSuccess,
    StringId::MenuTrimPreset1,
    StringId::MenuTrimPreset2,
    StringId::MenuTrimPreset3,
    StringId::MenuTrimPreset4,
    StringId::MenuTrimPreset5,
    StringId::CannotDisplayImage,
    StringId::LeftNameSuffix,
    StringId::RightNameSuffix,
    StringId::SaveChangesQuestion,
    StringId::MenuStereo,
    StringId::MenuAlign,
    StringId::MenuHelp,
    StringId::SaveImageSize,
    StringId::BatchSource,
    StringId::CannotWriteFile,
    StringId::CannotCreateTemporary,
    StringId::BadJpegComment,
    StringId::RenameConfirmStart,
    StringId::RenameTargetExists,
    StringId::RenameFailed,
    StringId::ListInvalid,
    StringId::ListUnpairedCount,
    StringId::ListCannotCreate,
    StringId::ListFilesAdded,
    StringId::ListCannotOpen,
    StringId::FilesAddedCaption,
    StringId::DeleteConfirm,
    StringId::OpenLeftTitle,
    StringId::OpenRightTitle,
    StringId::OpenAsPairQuestion,
    StringId::ConfirmationCaption,
    StringId::BatchLogoError,
    StringId::OpenSingleTitle,
    StringId::TitleSingle,
    StringId::SaveSingleTitle,
    StringId::MosaicCaption,
    StringId::MosaicConfirmStart,
    StringId::TextureTooSmallResize,
    StringId::TitlePanorama,
    StringId::UnreadableFile,
    StringId::ReasonMissing,
    StringId::ReasonNoPermission,
    StringId::ReasonUnknownFormat,
    StringId::ReasonTooLarge,
    StringId::ReasonDamaged,
    StringId::UnreadableCaption,
    StringId::CannotStartProgram,
    StringId::PartlyRead,
    StringId::FlipHelpFirst,
    StringId::FlipHelpClose,
    StringId::FlipHelpArrows,
    StringId::FlipHelpHome,
    StringId::FlipHelpDigits,
    StringId::FlipHelpZoom,
    StringId::FlipHelpFit,
    StringId::FlipHelpOriginal,
    StringId::FlipHelpFitHeight,
    StringId::FlipHelpFitWidth,
    StringId::FlipHelpSwap,
    StringId::FlipHelpPanorama,
    StringId::FlipHelpNext,
    StringId::FlipHelpPrevious,
    StringId::FlipHelpSlideShow,
    StringId::FlipHelpWrite,
    StringId::FlipHelpHelp,
    StringId::FlipHelpInformation,
    StringId::FlipHelpScrollH,
    StringId::FlipHelpScrollV,
    StringId::FlipHelpScrollKeys,
    StringId::FlipHelpDrag,
    StringId::FlipHelpLast,
    StringId::GlHelpFirst,
    StringId::GlHelpStop,
    StringId::GlHelpEscape,
    StringId::GlHelpArrows,
    StringId::GlHelpHome,
    StringId::GlHelpZoom,
    StringId::GlHelpFit,
    StringId::GlHelpOriginal,
    StringId::GlHelpFitHeight,
    StringId::GlHelpFitWidth,
    StringId::GlHelpSwap,
    StringId::GlHelpPanorama,
    StringId::GlHelpFullScreen,
    StringId::GlHelpNext,
    StringId::GlHelpPrevious,
    StringId::GlHelpSlideShow,
    StringId::GlHelpHelp,
    StringId::GlHelpScrollH,
    StringId::GlHelpScrollV,
    StringId::GlHelpScrollKeys,
    StringId::GlHelpScrollStop,
    StringId::GlHelpDrag,
    StringId::GlHelpLast,
    StringId::NoStereoFormat,
    StringId::NoOpenGl,
};

}  // namespace duplora
