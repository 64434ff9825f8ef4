// Where the picture goes on the printed page. Every length is an integer in hundredths of a
// millimetre, shown as "12.34mm"; the printer's capabilities turn them into printer dots.
// The rules here are those of the print settings dialog (typed fields, the mouse in its
// preview, "Zentriert", "Vollbild", "4 Zoll Breite") and of the print command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace duplora {

// What the chosen printer reports.
struct PrinterMetrics {
    int sizeMmX = 0;  // printable area in millimetres
    int sizeMmY = 0;
    int printableWidthPx = 0;  // printable area in dots
    int printableHeightPx = 0;
    int dpiX = 0;
    int physicalWidthPx = 0;  // whole sheet in dots
    int physicalHeightPx = 0;
    int offsetX = 0;  // unprintable margin at the left and top, in dots
    int offsetY = 0;
    bool Valid() const {
        return sizeMmX > 0 && sizeMmY > 0 && printableWidthPx > 0 && printableHeightPx > 0;
    }
};

// The sheet and the margins the printer cannot print on.
struct Paper {
    int width = 0;
    int height = 0;
    int minLeft = 0;
    int minTop = 0;
    int minRight = 0;
    int minBottom = 0;
};
Paper ComputePaper(const PrinterMetrics& metrics);

// The stored print settings.
struct PrintLayout {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool centred = false;   // "Zentriert"
    bool fullPage = false;  // "Vollbild"
    bool operator==(const PrintLayout&) const = default;
};

// "12.5" → 1250, "7" → 700, "12.345" → 1234, "-3" → -300. Other characters are skipped.
int ParseHundredths(std::string_view text);
// 1234 → "12.34mm".
std::string FormatHundredths(int hundredths);

// The settings, the sheet they are on and the picture's size in pixels, with the dialog's
// editing rules. Right and bottom margins are what the sheet leaves.
class PrintSheet {
  public:
    PrintSheet() = default;
    PrintSheet(const PrinterMetrics& metrics, int pictureWidth, int pictureHeight,
               const PrintLayout& layout);

    const PrinterMetrics& Metrics() const { return metrics_; }
    const Paper& Sheet() const { return paper_; }
    const PrintLayout& Layout() const { return layout_; }
    int Right() const { return paper_.width - layout_.left - layout_.width; }
    int Bottom() const { return paper_.height - layout_.top - layout_.height; }
    int LargestWidth() const { return metrics_.sizeMmX * 100; }
    int LargestHeight() const { return metrics_.sizeMmY * 100; }

    // Another printer: the sheet recomputed, the margins at their minimums and the picture
    // as large as the printable area allows, keeping its aspect.
    void ChoosePrinter(const PrinterMetrics& metrics);
    void FitToPaper();

    // Typed fields.
    void SetWidth(int width);
    void SetHeight(int height);
    void SetLeft(int left);
    void SetTop(int top);
    // "4 Zoll Breite": four inches, as a typed width; nothing while "Vollbild" is on.
    void SetFourInches();
    void SetCentred(bool on);
    void SetFullPage(bool on);

    // The mouse in the preview, moved by (dx, dy) in hundredths. Nothing while centred or
    // full page.
    void Move(int dx, int dy);
    void Resize(int dx);
    bool MouseLocked() const { return layout_.centred || layout_.fullPage; }

    // Dots of the printer: the target rectangle relative to the printable area. The stored
    // left margin, top margin or width change where the printer cannot place them.
    struct Target {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };
    Target ToPrinter();

  private:
    void Centre();
    void HeightFromWidth();
    void WidthFromHeight();

    PrinterMetrics metrics_;
    Paper paper_;
    PrintLayout layout_;
    int pictureWidth_ = 1;
    int pictureHeight_ = 1;
};

// Large pictures go to the printer in horizontal bands: n = pixels / 3,000,000 + 1; band k
// takes source rows h × k / n … h × (k + 1) / n and the proportional destination rows.
struct PrintBand {
    int sourceTop = 0;
    int sourceRows = 0;
    int targetTop = 0;  // relative to the target rectangle
    int targetRows = 0;
};
int PrintBandCount(int pictureWidth, int pictureHeight);
std::vector<PrintBand> PrintBands(int pictureWidth, int pictureHeight, int targetHeight);

}  // namespace duplora
