// Texts and control ids of the opening and saving dialogs that depend on what is opened or
// saved: the stereo-image dialog's layout radios, the open dialog's preview texts and turn
// radios, the save dialogs' titles, size line and size estimate, and the left/right dialog's
// partner question.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/batch/mosaic.h"
#include "core/formats/open_preview.h"
#include "core/formats/save_estimate.h"
#include "core/formats/stereo_open.h"
#include "core/image/image_buffer.h"

namespace duplora {

// Radio buttons of the stereo-image dialog: 3001 + layout for layouts 0–7; 0 for the others.
inline constexpr int kLayoutRadioFirst = 3001;
int LayoutRadioId(StereoLayout layout);
// The layout of a radio id 3001–3008; none for another id.
std::optional<StereoLayout> LayoutFromRadioId(int id);

// ---- the open dialog's preview --------------------------------------------------------------

// The type name of a kind ("Jpeg Stereo File", "DAS File", "Jpeg File", "BMP File", "BMP
// Interlaced File", "Susie plug-in File"), and the text "Dateityp : %s" with it (empty for
// no known kind).
std::string_view PreviewTypeName(PreviewKind kind);
std::string PreviewTypeText(PreviewKind kind);
// The colour text of a depth: 24 "Volle Farbanzahl", 16 "64k Farben", 8 "256 Farben",
// 4 "16 Farben", 1 "2 Farben"; empty for another.
std::string ColourCountText(int depth);
// "Farben: %s " when a reported size is negative; else "Bildgröße: %dx%d  Farben: %s " with
// the reported size, or the preview's own when a reported size is 0.
std::string PreviewColourText(int depth, int reportedWidth, int reportedHeight, int previewWidth,
                              int previewHeight);
// "Bildgröße: %dx%d - %dx%d  Farben: %s " with the sizes of a DAS header.
std::string DasColourText(int depth, const DasPreview& sizes);

// The two texts beside the preview box: the type of any known kind, the colours (and sizes)
// once a picture was loaded.
struct PreviewTexts {
    std::string type;
    std::string colours;
};
PreviewTexts PreviewTextsFor(const OpenPreview& preview);

// The turn radios ("links 90°" 1260, "Original" 1261, "rechts 90°" 1262, "180° drehen"
// 1263), shown only for a file with an Exif orientation.
inline constexpr int kRotateLeftRadio = 1260;
inline constexpr int kRotateNoneRadio = 1261;
inline constexpr int kRotateRightRadio = 1262;
inline constexpr int kRotateHalfRadio = 1263;
struct RotationChoice {
    bool visible = false;
    int checkedRadio = 0;  // 0 when the orientation has no radio
};
RotationChoice RotationRadiosFor(int orientation);
// The orientation a radio stands for: 8, 1, 6, 3; 0 for another id.
int OrientationForRadio(int radioId);

// ---- the mosaic dialog -------------------------------------------------------------------------

// Its title while working: "%d/%d" while reading, "Image Size(x=%d  Y=%d)  %d/%d" while
// joining; and the caption of its closing report, "Mosaik Bild".
std::string MosaicTitle(const MosaicStep& step);
std::string MosaicReportCaption();

// ---- the save dialogs -----------------------------------------------------------------------

// "Dateigröße nach Speichern:\n ca. %d Bytes" for an estimate from a reduced preview, "…
// genau %d Bytes" for a measured size; empty when there is no estimate.
std::string SaveEstimateText(const SizeEstimate& estimate);

// The save dialogs' titles: "Stereobild Speichern", or "Bild speichern" for a single
// picture; "Linkes/Rechtes Bild Speichern"; and "Bildgröße (%d X %d)" for the picture to
// save.
std::string SaveDialogTitle(bool single);
std::string LeftRightSaveDialogTitle();
std::string SaveImageSizeText(const ImageBuffer& saveImage);

// "Öffne '%s' als Stereopaar?" for a proposed partner, and its caption "Bestätigung".
std::string PartnerQuestionText(const std::string& partner);
std::string PartnerQuestionCaption();

}  // namespace duplora
