// Texts and control ids of the opening and saving dialogs that depend on what is opened or
// saved: the stereo-image dialog's layout radios, the save dialogs' titles and size line, and
// the left/right dialog's partner question.
#pragma once

#include <optional>
#include <string>

#include "core/formats/stereo_open.h"
#include "core/image/image_buffer.h"

namespace duplora {

// Radio buttons of the stereo-image dialog: 3001 + layout for layouts 0–7; 0 for the others.
inline constexpr int kLayoutRadioFirst = 3001;
int LayoutRadioId(StereoLayout layout);
// The layout of a radio id 3001–3008; none for another id.
std::optional<StereoLayout> LayoutFromRadioId(int id);

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
