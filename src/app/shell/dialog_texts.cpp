#include "app/shell/dialog_texts.h"

#include <cstdio>

#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

std::string_view PreviewTypeName(PreviewKind kind) {
    switch (kind) {
        case PreviewKind::StereoJpeg:
            return "Jpeg Stereo File";
        case PreviewKind::Das:
            return "DAS File";
        case PreviewKind::Jpeg:
            return "Jpeg File";
        case PreviewKind::Bmp:
            return "BMP File";
        case PreviewKind::InterlacedBmp:
            return "BMP Interlaced File";
        case PreviewKind::Plugin:
        case PreviewKind::Tiff:
            return "Susie plug-in File";
        default:
            return {};
    }
}

std::string PreviewTypeText(PreviewKind kind) {
    if (kind == PreviewKind::None) return {};
    const std::string name(PreviewTypeName(kind));
    return FormatResString(StringId::PreviewFileType, name.c_str());
}

std::string ColourCountText(int depth) {
    switch (depth) {
        case 24:
            return LoadResString(StringId::PreviewFullColours);
        case 16:
            return LoadResString(StringId::PreviewColours64k);
        case 8:
            return LoadResString(StringId::PreviewColours256);
        case 4:
            return LoadResString(StringId::PreviewColours16);
        case 1:
            return LoadResString(StringId::PreviewColours2);
        default:
            return {};
    }
}

std::string PreviewColourText(int depth, int reportedWidth, int reportedHeight, int previewWidth,
                              int previewHeight) {
    const std::string colours = ColourCountText(depth);
    if (reportedWidth < 0 || reportedHeight < 0)
        return FormatResString(StringId::PreviewColours, colours.c_str());
    if (reportedWidth == 0 || reportedHeight == 0) {
        reportedWidth = previewWidth;
        reportedHeight = previewHeight;
    }
    return FormatResString(StringId::PreviewSizeColours, reportedWidth, reportedHeight,
                           colours.c_str());
}

std::string DasColourText(int depth, const DasPreview& sizes) {
    const std::string colours = ColourCountText(depth);
    return FormatResString(StringId::PreviewDasSizesColours, sizes.leftWidth, sizes.leftHeight,
                           sizes.rightWidth, sizes.rightHeight, colours.c_str());
}

PreviewTexts PreviewTextsFor(const OpenPreview& preview) {
    PreviewTexts texts;
    texts.type = PreviewTypeText(preview.kind);
    // Nothing was loaded: no sizes or colours to tell.
    if (preview.width <= 0) return texts;
    texts.colours = preview.das
                        ? DasColourText(preview.depth, preview.dasSizes)
                        : PreviewColourText(preview.depth, preview.reportedWidth,
                                            preview.reportedHeight, preview.width, preview.height);
    return texts;
}

RotationChoice RotationRadiosFor(int orientation) {
    RotationChoice choice;
    if (orientation == kNoPreviewOrientation) return choice;
    choice.visible = true;
    switch (orientation) {
        case 1:
            choice.checkedRadio = kRotateNoneRadio;
            break;
        case 8:
            choice.checkedRadio = kRotateLeftRadio;
            break;
        case 6:
            choice.checkedRadio = kRotateRightRadio;
            break;
        case 3:
            choice.checkedRadio = kRotateHalfRadio;
            break;
        default:
            break;
    }
    return choice;
}

int OrientationForRadio(int radioId) {
    switch (radioId) {
        case kRotateLeftRadio:
            return 8;
        case kRotateNoneRadio:
            return 1;
        case kRotateRightRadio:
            return 6;
        case kRotateHalfRadio:
            return 3;
        default:
            return 0;
    }
}

std::string MosaicTitle(const MosaicStep& step) {
    char text[96];
    if (step.joining)
        std::snprintf(text, sizeof text, "Image Size(x=%d  Y=%d)  %d/%d", step.width, step.height,
                      step.index, step.count);
    else
        std::snprintf(text, sizeof text, "%d/%d", step.index, step.count);
    return text;
}

std::string MosaicReportCaption() {
    return LoadResString(StringId::MosaicCaption);
}

std::string SaveEstimateText(const SizeEstimate& estimate) {
    if (!estimate.ok) return {};
    return FormatResString(estimate.exact ? StringId::SaveSizeExact : StringId::SaveSizeAbout,
                           static_cast<int>(estimate.bytes));
}

int LayoutRadioId(StereoLayout layout) {
    const int number = static_cast<int>(layout);
    return number >= 0 && number <= 8 ? kLayoutRadioFirst + number : 0;
}

std::optional<StereoLayout> LayoutFromRadioId(int id) {
    if (id < kLayoutRadioFirst || id > kLayoutRadioFirst + 7) return std::nullopt;
    return static_cast<StereoLayout>(id - kLayoutRadioFirst);
}

std::string SaveDialogTitle(bool single) {
    return LoadResString(single ? StringId::SaveSingleTitle : StringId::SaveStereoTitle);
}

std::string LeftRightSaveDialogTitle() {
    return LoadResString(StringId::SaveLeftRightTitle);
}

std::string SaveImageSizeText(const ImageBuffer& saveImage) {
    return FormatResString(StringId::SaveImageSize, saveImage.Width(), saveImage.Height());
}

std::string PartnerQuestionText(const std::string& partner) {
    return FormatResString(StringId::OpenAsPairQuestion, partner.c_str());
}

std::string PartnerQuestionCaption() {
    return LoadResString(StringId::ConfirmationCaption);
}

}  // namespace duplora
