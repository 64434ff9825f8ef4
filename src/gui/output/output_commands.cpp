#include "gui/output/output_commands.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPainter>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QUrl>

#include "app/edit/frame_style.h"
#include "app/image/qimage_bridge.h"
#include "app/output/phone_picture.h"
#include "app/shell/path_names.h"
#include "app/shell/settings.h"
#include "app/shell/stereo_document.h"
#include "app/stereo/selection.h"
#include "core/formats/stereo_save.h"
#include "gui/output/html_save_dialog.h"
#include "gui/print/print_settings_dialog.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/file_commands.h"
#include "gui/shell/save_dialogs.h"
#include "gui/shell/ui_text.h"
#include "gui/stereo/view_widget.h"
#include "res/core/string_ids.h"

namespace duplora {

PrinterMetrics MetricsOf(QPrinter& printer) {
    const int dpi = printer.resolution();
    const QPageLayout page = printer.pageLayout();
    const QRect full = page.fullRectPixels(dpi);
    const QRect paint = page.paintRectPixels(dpi);
    PrinterMetrics m;
    m.sizeMmX = printer.widthMM();
    m.sizeMmY = printer.heightMM();
    m.printableWidthPx = paint.width();
    m.printableHeightPx = paint.height();
    m.dpiX = dpi;
    m.physicalWidthPx = full.width();
    m.physicalHeightPx = full.height();
    m.offsetX = paint.left() - full.left();
    m.offsetY = paint.top() - full.top();
    return m;
}

PrintOutcome PrintPicture(QPrinter& printer, const ImageBuffer& picture, PrintSheet& sheet,
                          const std::function<bool()>& aborted) {
    const QImage image = QImageFromImageBuffer(picture);
    if (image.isNull()) return PrintOutcome::NoPicture;
    const PrintSheet::Target target = sheet.ToPrinter();
    if (target.width <= 0 || target.height <= 0) return PrintOutcome::Failed;
    QPainter painter;
    if (!painter.begin(&printer)) return PrintOutcome::Failed;
    // Large pictures go in bands so that "Abbrechen" is heard between them.
    for (const PrintBand& band : PrintBands(image.width(), image.height(), target.height)) {
        if (aborted && aborted()) {
            printer.abort();
            painter.end();
            return PrintOutcome::Aborted;
        }
        painter.drawImage(QRect(target.x, target.y + band.targetTop, target.width, band.targetRows),
                          image, QRect(0, band.sourceTop, image.width(), band.sourceRows));
    }
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

OutputCommands::OutputCommands(OutputContext context)
    : c_(std::move(context)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    printer_->setDocName(Res(StringId::ProgramTitle));
    // Without a printer of the system's the page goes to a PDF file.
    if (!printer_->isValid() || printer_->printerName().isEmpty())
        printer_->setOutputFormat(QPrinter::PdfFormat);
}

OutputCommands::~OutputCommands() = default;

void OutputCommands::Execute(CommandId command) {
    switch (command) {
        case CmdPrintSettings:
            PrintSettings();
            break;
        case CmdPrint:
            Print();
            break;
        case CmdHtml:
            ExportHtml();
            break;
        case CmdPhoneImage:
            StartPhoneArea();
            break;
        case CmdPhoneAreaFinished:
            MakePhonePicture();
            break;
        case CmdSavePhoneImage:
            SavePhonePicture();
            break;
        case CmdWritePhoneImage:
            WritePhonePicture();
            break;
        default:
            break;
    }
}

// ---- printing ------------------------------------------------------------------------------

ImageBuffer OutputCommands::PrintPictureNow() const {
    const CompositionInput input = c_.input();
    const bool single = c_.document->SingleImageMode();
    ImageBuffer picture = ComposeSaveImage(input, single).ValueOr(ImageBuffer{});
    if (picture && c_.settings->border.show)
        picture = AddBorder(picture, single ? DisplayMode::Single : input.mode, c_.settings->border)
                      .ValueOr(ImageBuffer{});
    return picture;
}

void OutputCommands::PrintSettings() {
    // Without a picture the margins can still be set; the preview shows the empty sheet.
    const ImageBuffer picture = c_.document->BothLoaded() ? PrintPictureNow() : ImageBuffer();
    const int width = picture ? picture.Width() : 1;
    const int height = picture ? picture.Height() : 1;
    const PrintSheet sheet(MetricsOf(*printer_), width, height, layout_);
    PrintSettingsDialog dialog(
        sheet, picture,
        [this, &dialog]() {
            QPrintDialog choose(printer_.get(), &dialog);
            if (c_.host->Exec(choose) != QDialog::Accepted) return PrinterMetrics{};
            return MetricsOf(*printer_);
        },
        c_.parent);
    if (!c_.host->Run(dialog)) return;
    layout_ = dialog.Sheet().Layout();
    if (dialog.PrintNow()) Print();
}

PrintOutcome OutputCommands::Print() {
    if (!printer_->isValid()) {
        c_.host->Tell(c_.parent, Res(StringId::PrinterDriverNotFound),
                      Res(StringId::WarningCaption));
        return PrintOutcome::Failed;
    }
    const ImageBuffer picture = PrintPictureNow();
    if (!picture) {
        c_.host->Tell(c_.parent, Res(StringId::CannotCreatePrintData), Res(StringId::ErrorCaption));
        return PrintOutcome::NoPicture;
    }
    QPrintDialog choose(printer_.get(), c_.parent);
    if (c_.host->Exec(choose) != QDialog::Accepted) return PrintOutcome::Cancelled;

    PrintSheet sheet(MetricsOf(*printer_), picture.Width(), picture.Height(), layout_);
    // The window waits while the page is made; only the abort box takes input.
    if (c_.parent) c_.parent->setEnabled(false);
    QProgressDialog progress(QStringLiteral("Drucke..."), QStringLiteral("Abbrechen"), 0, 0,
                             c_.parent);
    progress.setObjectName(QStringLiteral("PrintDlgBox"));
    progress.setWindowTitle(Res(StringId::ProgramTitle));
    progress.setWindowFlag(Qt::WindowCloseButtonHint, false);
    progress.setMinimumDuration(0);
    progress.setEnabled(true);
    progress.show();
    QApplication::processEvents();
    const PrintOutcome outcome = PrintPicture(*printer_, picture, sheet, [&progress] {
        QApplication::processEvents();
        return progress.wasCanceled();
    });
    layout_ = sheet.Layout();
    if (c_.parent) c_.parent->setEnabled(true);
    progress.hide();
    if (outcome == PrintOutcome::Aborted)
        c_.host->Tell(c_.parent, Res(StringId::PrintCancelled), Res(StringId::WarningCaption));
    else if (outcome != PrintOutcome::Printed)
        c_.host->Tell(c_.parent, Res(StringId::CannotCreatePrintData), Res(StringId::ErrorCaption));
    return outcome;
}

// ---- the HTML page -------------------------------------------------------------------------

void OutputCommands::ExportHtml() {
    const CompositionInput input = c_.input();
    // Cut to the common area of the alignment, side by side.
    Result<ImageBuffer> composed = ComposeLeftRightImage(input);
    if (!composed) {
        c_.host->Tell(c_.parent, composed.Error());
        c_.host->Tell(c_.parent, Res(StringId::CannotStoreValues), Res(StringId::ErrorCaption));
        return;
    }
    const ImageBuffer pair = std::move(composed).Value();
    const std::string base = PairBaseName(c_.document->Left().name);
    std::string name = std::string(FileNamePart(base));
    if (const std::string_view ext = ExtensionOf(name); !ext.empty())
        name.resize(name.size() - ext.size() - 1);
    HtmlSaveDialog dialog(html_, c_.settings->border.show != 0, Q(c_.settings->saveFolder),
                          Q(name + ".htm"), c_.parent);
    const bool accepted = dialog.Run(*c_.host);
    html_ = dialog.Options();
    if (!accepted) return;
    const std::string page = dialog.Chosen().front().toStdString();
    c_.settings->saveFolder = std::string(FolderPart(page));

    const StereoViews views = SplitForLeftRightSave(pair, false);
    ImageBuffer picture = views ? MakeHtmlPicture(views.left, views.right, html_) : ImageBuffer();
    if (picture && dialog.Frame())
        picture =
            AddBorder(picture, DisplayMode::SideBySide, c_.settings->border).ValueOr(ImageBuffer{});
    if (!picture) {
        c_.host->Tell(c_.parent, Res(StringId::CannotStoreValues), Res(StringId::ErrorCaption));
        return;
    }
    const std::string jpeg = HtmlJpegPath(page);
    if (!ConfirmReplace(jpeg, c_.host->Asking(c_.parent))) return;
    SaveSettings jpegSettings;
    jpegSettings.type = OutputFormat::Jpeg;
    jpegSettings.quality = c_.settings->jpegQuality;
    if (!c_.host->TellSaved(c_.parent, SaveStereoPicture(jpeg, picture, jpegSettings))) return;

    HtmlPlaceholders values;
    values.viewerWidth = 2 * html_.viewWidth;
    values.viewerHeight = ViewerHeight(picture.Width(), picture.Height(), html_.viewWidth);
    values.jpegName = std::string(FileNamePart(jpeg));
    values.displayType = html_.displayType;
    values.swap = html_.swap;
    if (!WriteHtmlAndViewer(page, values, HtmlTemplate(c_.programFolder))) {
        c_.host->Tell(c_.parent, Res(StringId::CannotSaveImage), Res(StringId::ErrorCaption));
        return;
    }
    if (html_.showAfterwards) c_.host->OpenWithDesktop(QUrl::fromLocalFile(Q(page)));
}

// ---- the phone picture ---------------------------------------------------------------------

void OutputCommands::StartPhoneArea() {
    if (c_.stopSlideShow) c_.stopSlideShow();
    const QSize view = PhoneViewSize(c_.settings->phoneSize);
    c_.view->BeginSelection(
        SelectionMode::Phone,
        SelectionRatio(SelectionMode::Phone, c_.settings->freeTrimRatio, QSize(), view));
}

void OutputCommands::MakePhonePicture() {
    StereoDocument& document = *c_.document;
    if (!document.BothLoaded() || document.SingleImageMode()) return;
    if (c_.stopSlideShow) c_.stopSlideShow();
    const SelectionRect rect = c_.view->SelectionRectangle();
    const int dx = document.Dx();
    const int dy = document.Dy();
    const QSize size = PhoneViewSize(c_.settings->phoneSize);
    const bool made = document.ApplyEdit([&](const ImageBuffer& left, const ImageBuffer& right) {
        return MakePhonePair(left, right, rect, dx, dy, size);
    });
    if (!made) return;
    if (c_.pictureReplaced) c_.pictureReplaced();
    if (c_.post) c_.post(CmdSavePhoneImage);
}

void OutputCommands::SavePhonePicture() {
    if (!c_.document->BothLoaded() || c_.document->SingleImageMode()) return;
    const CompositionInput input = c_.input();
    Result<ImageBuffer> composed = ComposeSaveImage(input, false);
    if (!composed) {
        c_.host->Tell(c_.parent, composed.Error());
        return;
    }
    const ImageBuffer picture = std::move(composed).Value();
    SaveDialogSetup setup;
    setup.kind = SaveDialogKind::StereoPicture;
    setup.title = Res(StringId::SavePhoneImageTitle);
    setup.folder = Q(c_.settings->saveFolder);
    setup.name = Q(PairBaseName(c_.document->Left().name));
    setup.saveImage = &picture;
    setup.settings.type = OutputFormat::Stj;
    setup.settings.quality = c_.settings->jpegQuality;
    SaveDialog dialog(setup, c_.parent);
    if (!dialog.Run(*c_.host)) return;
    c_.settings->jpegQuality = dialog.Settings().quality;
    phonePath_ = dialog.Chosen().front().toStdString();
    c_.settings->saveFolder = std::string(FolderPart(phonePath_));
    WritePhonePicture();
}

void OutputCommands::WritePhonePicture() {
    if (phonePath_.empty()) return;
    const ImageBuffer picture = ComposeSaveImage(c_.input(), false).ValueOr(ImageBuffer{});
    if (!picture || !ConfirmReplace(phonePath_, c_.host->Asking(c_.parent))) return;
    SaveSettings settings;
    settings.type = OutputFormat::Stj;
    settings.quality = c_.settings->jpegQuality;
    c_.host->TellSaved(c_.parent, SaveStereoPicture(phonePath_, picture, settings));
}

}  // namespace duplora
