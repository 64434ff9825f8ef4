#include "app/print/print_layout.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace duplora {

namespace {

constexpr int kSmallestSide = 1000;    // 10.00 mm, the size handle's limit
constexpr int kNegativeLength = 2000;  // what a negative width or height becomes

// Both picture sides are at least 1, so the denominators are never 0.
int Scale(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    return static_cast<int>(value * numerator / denominator);
}

// The same, rounded to the nearest whole hundredth as a typed length is.
int ScaleRounded(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    return static_cast<int>((value * numerator * 10 / denominator + 5) / 10);
}

}  // namespace

Paper ComputePaper(const PrinterMetrics& m) {
    Paper paper;
    if (!m.Valid()) return paper;
    const std::int64_t x = std::int64_t{m.sizeMmX} * 100;
    const std::int64_t y = std::int64_t{m.sizeMmY} * 100;
    paper.width = Scale(x, m.physicalWidthPx, m.printableWidthPx);
    paper.height = Scale(y, m.physicalHeightPx, m.printableHeightPx);
    paper.minLeft = Scale(x, m.offsetX, m.printableWidthPx);
    paper.minTop = Scale(y, m.offsetY, m.printableHeightPx);
    paper.minRight =
        Scale(x, m.physicalWidthPx - m.offsetX - m.printableWidthPx, m.printableWidthPx);
    paper.minBottom =
        Scale(y, m.physicalHeightPx - m.offsetY - m.printableHeightPx, m.printableHeightPx);
    return paper;
}

int ParseHundredths(std::string_view text) {
    const std::string padded = std::string(text) + "00";
    const std::size_t first = padded.find_first_not_of(" \t");
    const bool negative = first != std::string::npos && padded[first] == '-';
    std::int64_t value = 0;
    int afterPoint = -1;  // digits read after the decimal point; -1 before it
    for (char ch : padded) {
        if (ch == '.' && afterPoint < 0) {
            afterPoint = 0;
            continue;
        }
        if (ch < '0' || ch > '9') continue;
        // Leading zeros add nothing; the cap keeps absurd input from overflowing.
        if (value < 100'000'000) value = value * 10 + (ch - '0');
        if (afterPoint >= 0 && ++afterPoint == 2) break;
    }
    return static_cast<int>(negative ? -value : value);
}

std::string FormatHundredths(int hundredths) {
    char text[32];
    const int magnitude = hundredths < 0 ? -hundredths : hundredths;
    std::snprintf(text, sizeof text, "%s%d.%02dmm", hundredths < 0 ? "-" : "", magnitude / 100,
                  magnitude % 100);
    return text;
}

PrintSheet::PrintSheet(const PrinterMetrics& metrics, int pictureWidth, int pictureHeight,
                       const PrintLayout& layout)
    : metrics_(metrics),
      paper_(ComputePaper(metrics)),
      layout_(layout),
      pictureWidth_(std::max(pictureWidth, 1)),
      pictureHeight_(std::max(pictureHeight, 1)) {
    // Settings that were never set (or belong to nothing printable) start fitted.
    if (layout_.width <= 0 || layout_.height <= 0) FitToPaper();
}

void PrintSheet::ChoosePrinter(const PrinterMetrics& metrics) {
    metrics_ = metrics;
    paper_ = ComputePaper(metrics);
    FitToPaper();
}

void PrintSheet::FitToPaper() {
    layout_.left = paper_.minLeft;
    layout_.top = paper_.minTop;
    if (!metrics_.Valid()) return;
    const std::int64_t area =
        std::int64_t{metrics_.printableWidthPx} * 1000 / metrics_.printableHeightPx;
    const std::int64_t picture = std::int64_t{pictureWidth_} * 1000 / pictureHeight_;
    if (area <= picture) {
        layout_.width = LargestWidth();
        HeightFromWidth();
    } else {
        layout_.height = LargestHeight();
        WidthFromHeight();
    }
    if (layout_.centred || layout_.fullPage) Centre();
}

void PrintSheet::HeightFromWidth() {
    layout_.height = Scale(layout_.width, pictureHeight_, pictureWidth_);
}

void PrintSheet::WidthFromHeight() {
    layout_.width = Scale(layout_.height, pictureWidth_, pictureHeight_);
}

void PrintSheet::Centre() {
    layout_.left = (layout_.left + Right()) / 2;
    layout_.top = (layout_.top + Bottom()) / 2;
}

void PrintSheet::SetWidth(int width) {
    if (width > LargestWidth()) {
        layout_.width = LargestWidth();
        layout_.left = paper_.minLeft;
    } else {
        layout_.width = width < 0 ? kNegativeLength : width;
        const int limit = paper_.width - paper_.minRight;
        if (layout_.left + layout_.width > limit) layout_.left = limit - layout_.width;
    }
    layout_.height = ScaleRounded(layout_.width, pictureHeight_, pictureWidth_);
    // A tall picture would leave the sheet: the height is capped and the width follows.
    if (layout_.height > LargestHeight()) {
        layout_.height = LargestHeight();
        layout_.top = paper_.minTop;
        WidthFromHeight();
    }
    const int bottomLimit = paper_.height - paper_.minBottom;
    if (layout_.top + layout_.height > bottomLimit) layout_.top = bottomLimit - layout_.height;
    if (layout_.centred) Centre();
}

void PrintSheet::SetHeight(int height) {
    if (height > LargestHeight()) {
        layout_.height = LargestHeight();
        layout_.top = paper_.minTop;
    } else {
        layout_.height = height < 0 ? kNegativeLength : height;
        const int limit = paper_.height - paper_.minBottom;
        if (layout_.top + layout_.height > limit) layout_.top = limit - layout_.height;
    }
    layout_.width = ScaleRounded(layout_.height, pictureWidth_, pictureHeight_);
    if (layout_.width > LargestWidth()) {
        layout_.width = LargestWidth();
        layout_.left = paper_.minLeft;
        HeightFromWidth();
    }
    const int rightLimit = paper_.width - paper_.minRight;
    if (layout_.left + layout_.width > rightLimit) layout_.left = rightLimit - layout_.width;
    if (layout_.centred) Centre();
}

void PrintSheet::SetLeft(int left) {
    const int limit = paper_.width - paper_.minRight;
    if (left > limit) left = std::max(limit - kNegativeLength, paper_.minLeft);
    if (left < paper_.minLeft) left = paper_.minLeft;
    layout_.left = left;
    if (layout_.left + layout_.width > limit) {
        layout_.width = limit - layout_.left;
        HeightFromWidth();
    }
}

void PrintSheet::SetTop(int top) {
    const int limit = paper_.height - paper_.minBottom;
    if (top > limit) top = std::max(limit - kNegativeLength, paper_.minTop);
    if (top < paper_.minTop) top = paper_.minTop;
    layout_.top = top;
    if (layout_.top + layout_.height > limit) {
        layout_.height = limit - layout_.top;
        WidthFromHeight();
    }
}

void PrintSheet::SetFourInches() {
    if (layout_.fullPage || metrics_.printableWidthPx <= 0) return;
    SetWidth(
        Scale(std::int64_t{metrics_.dpiX} * 400 + 50, metrics_.sizeMmX, metrics_.printableWidthPx));
}

void PrintSheet::SetCentred(bool on) {
    layout_.centred = on;
    if (on) Centre();
}

void PrintSheet::SetFullPage(bool on) {
    layout_.fullPage = on;
    // The whole printable area, in the middle of the sheet.
    if (on) FitToPaper();
}

void PrintSheet::Move(int dx, int dy) {
    if (MouseLocked()) return;
    layout_.left =
        std::clamp(layout_.left + dx, paper_.minLeft,
                   std::max(paper_.minLeft, paper_.width - layout_.width - paper_.minRight));
    layout_.top =
        std::clamp(layout_.top + dy, paper_.minTop,
                   std::max(paper_.minTop, paper_.height - layout_.height - paper_.minBottom));
}

void PrintSheet::Resize(int dx) {
    if (MouseLocked()) return;
    const int widest = std::max(kSmallestSide, paper_.width - paper_.minRight - layout_.left);
    layout_.width = std::clamp(layout_.width + dx, kSmallestSide, widest);
    HeightFromWidth();
    const int highest = paper_.height - paper_.minBottom - layout_.top;
    if (layout_.height < kSmallestSide) {
        layout_.height = kSmallestSide;
        WidthFromHeight();
    } else if (layout_.height > highest) {
        layout_.height = highest;
        WidthFromHeight();
    }
}

PrintSheet::Target PrintSheet::ToPrinter() {
    Target t;
    const PrinterMetrics& m = metrics_;
    if (!m.Valid()) return t;
    const std::int64_t mmX = std::int64_t{m.sizeMmX} * 100;
    const std::int64_t mmY = std::int64_t{m.sizeMmY} * 100;
    t.x = Scale(layout_.left, m.printableWidthPx, mmX) - m.offsetX;
    if (t.x < 0) {
        t.x = 0;
        layout_.left = paper_.minLeft;
    }
    t.y = Scale(layout_.top, m.printableHeightPx, mmY) - m.offsetY;
    if (t.y < 0) {
        t.y = 0;
        layout_.top = paper_.minTop;
    }
    t.width = Scale(layout_.width, m.printableWidthPx, mmX);
    if (t.width == 0) t.width = m.printableWidthPx - t.x;
    if (t.x + t.width > m.printableWidthPx) {
        t.width = m.printableWidthPx - t.x;
        layout_.width = Scale(t.width, mmX, m.printableWidthPx);
    }
    t.height = Scale(layout_.height, m.printableHeightPx, mmY);
    if (t.height == 0) t.height = std::min(m.printableHeightPx - t.y, t.width * 3 / 4);
    if (t.y + t.height > m.printableHeightPx) {
        t.height = m.printableHeightPx - t.y;
        layout_.height = Scale(t.height, mmY, m.printableHeightPx);
    }
    return t;
}

int PrintBandCount(int pictureWidth, int pictureHeight) {
    return static_cast<int>(std::int64_t{pictureWidth} * pictureHeight / 3'000'000 + 1);
}

std::vector<PrintBand> PrintBands(int pictureWidth, int pictureHeight, int targetHeight) {
    const int n = PrintBandCount(pictureWidth, pictureHeight);
    std::vector<PrintBand> bands;
    for (int k = 0; k < n; ++k) {
        PrintBand band;
        band.sourceTop = Scale(pictureHeight, k, n);
        band.sourceRows = Scale(pictureHeight, k + 1, n) - band.sourceTop;
        band.targetTop = Scale(targetHeight, k, n);
        band.targetRows = Scale(targetHeight, k + 1, n) - band.targetTop;
        if (band.sourceRows > 0 && band.targetRows > 0) bands.push_back(band);
    }
    return bands;
}

}  // namespace duplora
