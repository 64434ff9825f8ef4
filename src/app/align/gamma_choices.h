// The values behind the gamma dialog and the anaglyph settings: their preview sizes, the
// anaglyph colour-pair choice as the radio buttons number it, the anaglyph preview with the
// density of each view, and what OK stores.
#pragma once

#include <string>

#include "app/shell/settings_store.h"
#include "core/image/image_buffer.h"
#include "core/stereo/display_mode.h"

namespace duplora {

struct Settings;

// A view of width × height reduced to at most `limit` pixels on its longer side, keeping
// its proportions (the gamma dialog's 220-pixel previews).
struct PreviewSize {
    int width = 0;
    int height = 0;
};
PreviewSize GammaPreviewSize(int width, int height, int limit = 220);
// Fitted into an area of areaWidth × areaHeight (the anaglyph settings' frame).
PreviewSize FitPreviewSize(int width, int height, int areaWidth, int areaHeight);

// "Gamma = 1.00 durchschnittliche Dichte = 118"; "1.00" alone before a density is known.
std::string GammaText(int gamma);
std::string GammaDensityText(int gamma, int density);

// ---- anaglyph settings ----------------------------------------------------------------------

// The first eight colour pairs: 0–2 and 5 are grey anaglyph pairs, 3, 4, 6 and 7 colour
// kinds 0–3. Each further colour kind of the anaglyph-method table follows them, in the
// table's order: choice 8, 9, … with the text of its menu item, mnemonic included.
inline constexpr int kFirstAnaglyphChoices = 8;
int AnaglyphChoiceCount();
inline constexpr int AnaglyphRadioId(int index) {
    return 1510 + index;
}
std::string AnaglyphChoiceText(int index);
bool IsColourAnaglyphChoice(int index);

// The choice shown when the dialog opens from the grey or the colour anaglyph menu.
int AnaglyphChoiceAtOpening(GreyAnaglyphPair greyPair, ColourAnaglyphKind colourKind,
                            bool fromColourMenu);
// The grey pair or colour kind a choice stands for.
GreyAnaglyphPair GreyPairOfChoice(int index);
ColourAnaglyphKind ColourKindOfChoice(int index);

// Which views the preview shows: 0 both, 1 the left only, 2 the right only.
struct AnaglyphPreview {
    ImageBuffer image;
    int leftDensity = 0;
    int rightDensity = 0;
};
// The anaglyph of `choice` composed from two equally sized reduced views with the tables of
// the two gamma values, and the mean table value each view contributes.
AnaglyphPreview ComposeAnaglyphPreview(const ImageBuffer& left, const ImageBuffer& right,
                                       int choice, int leftGamma, int rightGamma, int shown);

// OK: the choice and the two gamma values go into the settings; returns what to write.
SettingWrites ApplyAnaglyphSettings(Settings& settings, int choice, int leftGamma, int rightGamma);

}  // namespace duplora
