#include "app/shell/dialog_texts.h"

#include "core/strings.h"

namespace duplora {

namespace {
constexpr int kStereoSaveTitleId = 2508;     // "Stereobild Speichern"
constexpr int kLeftRightSaveTitleId = 2511;  // "Linkes/Rechtes Bild Speichern"
constexpr int kSizeTextId = 2643;            // "Bildgröße (%d X %d)"
constexpr int kSingleSaveTitleId = 2695;     // "Bild speichern"
constexpr int kPartnerQuestionId = 2688;     // "Öffne '%s' als Stereopaar?"
constexpr int kConfirmationId = 2689;        // "Bestätigung"
}  // namespace

int LayoutRadioId(StereoLayout layout) {
    const int number = static_cast<int>(layout);
    return number >= 0 && number <= 7 ? kLayoutRadioFirst + number : 0;
}

std::optional<StereoLayout> LayoutFromRadioId(int id) {
    if (id < kLayoutRadioFirst || id > kLayoutRadioFirst + 7) return std::nullopt;
    return static_cast<StereoLayout>(id - kLayoutRadioFirst);
}

std::string SaveDialogTitle(bool single) {
    return LoadResString(single ? kSingleSaveTitleId : kStereoSaveTitleId);
}

std::string LeftRightSaveDialogTitle() {
    return LoadResString(kLeftRightSaveTitleId);
}

std::string SaveImageSizeText(const ImageBuffer& saveImage) {
    return FormatResString(kSizeTextId, saveImage.Width(), saveImage.Height());
}

std::string PartnerQuestionText(const std::string& partner) {
    return FormatResString(kPartnerQuestionId, partner.c_str());
}

std::string PartnerQuestionCaption() {
    return LoadResString(kConfirmationId);
}

}  // namespace duplora
