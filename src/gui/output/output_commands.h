// The commands that take the pair out of the window: printing and its settings, the HTML
// page with its viewer, and the picture for a phone (area chosen in the view, made, saved
// as STJ).
#pragma once

#include <QPrinter>

#include <functional>
#include <memory>
#include <string>

#include "app/output/html_page.h"
#include "app/print/print_layout.h"
#include "core/shell/command_ids.h"
#include "core/stereo/compose.h"
#include "gui/shell/window_services.h"

namespace duplora {

class ViewWidget;

struct OutputContext : WindowServices {
    ViewWidget* view = nullptr;
    std::string programFolder;  // where a page template of the user's may lie
    std::function<CompositionInput()> input;
    // Sends a command once the event loop runs again.
    std::function<void(CommandId)> post;
    // The pictures were replaced by the phone picture: fit the view again.
    std::function<void()> pictureReplaced;
    // Stops a running slide show.
    std::function<void()> stopSlideShow;
};

// What a print run came to.
enum class PrintOutcome { Printed, Cancelled, Aborted, NoPicture, Failed };

// The printer's capabilities in the terms of PrintSheet.
PrinterMetrics MetricsOf(QPrinter& printer);

// Prints `picture` on one page of `printer` (set up already) at the sheet's place, in bands,
// asking `aborted` between them. The sheet keeps the margins the printer made it change.
PrintOutcome PrintPicture(QPrinter& printer, const ImageBuffer& picture, PrintSheet& sheet,
                          const std::function<bool()>& aborted);

class OutputCommands {
  public:
    explicit OutputCommands(OutputContext context);
    ~OutputCommands();

    void Execute(CommandId command);

    const PrintLayout& Layout() const { return layout_; }
    const HtmlOptions& Html() const { return html_; }
    QPrinter& Printer() { return *printer_; }
    // The file the phone picture goes to (chosen in its save dialog).
    const std::string& PhonePath() const { return phonePath_; }

  private:
    void PrintSettings();
    PrintOutcome Print();
    void ExportHtml();
    void StartPhoneArea();
    void MakePhonePicture();
    void SavePhonePicture();
    void WritePhonePicture();
    // The picture printed: the display mode's composition, framed when the frame is shown.
    ImageBuffer PrintPictureNow() const;

    OutputContext c_;
    std::unique_ptr<QPrinter> printer_;
    PrintLayout layout_;
    HtmlOptions html_;
    std::string phonePath_;
};

}  // namespace duplora
