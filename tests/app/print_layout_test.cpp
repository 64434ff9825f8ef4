// The print settings' arithmetic: lengths typed in millimetres, the sheet of a printer, the
// dialog's editing and mouse rules, the printer dots and the bands.
#include "app/print/print_layout.h"

#include <gtest/gtest.h>

namespace duplora {
namespace {

// 254 dots per inch: one dot is 0.1 mm. A 210 × 297 mm sheet with 5 mm / 4 mm unprintable at
// the left and top and a printable area of 200 × 288 mm.
PrinterMetrics Printer() {
    PrinterMetrics m;
    m.sizeMmX = 200;
    m.sizeMmY = 288;
    m.printableWidthPx = 2000;
    m.printableHeightPx = 2880;
    m.dpiX = 254;
    m.physicalWidthPx = 2100;
    m.physicalHeightPx = 2970;
    m.offsetX = 50;
    m.offsetY = 40;
    return m;
}

PrintSheet Sheet(PrintLayout layout = {}) {
    return PrintSheet(Printer(), 3000, 2000, layout);
}

TEST(ParseHundredths, ReadsMillimetresWithTwoDecimals) {
    const struct {
        const char* text;
        int hundredths;
    } cases[] = {{"12.5", 1250}, {"7", 700},         {"12.345", 1234}, {"12", 1200},
                 {"-3", -300},   {"0.07", 7},        {"007.50", 750},  {"12.34mm", 1234},
                 {"", 0},        {"210.00mm", 21000}};
    for (const auto& c : cases) EXPECT_EQ(ParseHundredths(c.text), c.hundredths) << c.text;
    EXPECT_EQ(FormatHundredths(1234), "12.34mm");
    EXPECT_EQ(FormatHundredths(5), "0.05mm");
}

TEST(PrintSheet, PaperAndTheFittedPicture) {
    const PrintSheet sheet = Sheet();
    const Paper& p = sheet.Sheet();
    EXPECT_EQ(std::tuple(p.width, p.height, p.minLeft), std::tuple(21000, 29700, 500));
    EXPECT_EQ(std::tuple(p.minTop, p.minRight, p.minBottom), std::tuple(400, 500, 500));
    // A wide picture takes the printable width; the height follows.
    EXPECT_EQ(sheet.Layout(), (PrintLayout{500, 400, 20000, 13333, false, false}));
    EXPECT_EQ(sheet.Right(), 500);
    EXPECT_EQ(sheet.Bottom(), 15967);
    // A tall one takes the printable height.
    const PrintSheet tall(Printer(), 1000, 3000, {});
    EXPECT_EQ(tall.Layout().height, 28800);
    EXPECT_EQ(tall.Layout().width, 9600);
}

TEST(PrintSheet, TypedWidthHeightLeftAndTop) {
    PrintSheet s = Sheet();
    s.SetWidth(10000);
    EXPECT_EQ(s.Layout().height, 6667);  // rounded to the nearest hundredth
    EXPECT_EQ(s.Right(), 10500);
    s.SetWidth(-5);
    EXPECT_EQ(s.Layout().width, 2000);
    s.SetWidth(30000);  // beyond the printable width
    EXPECT_EQ(s.Layout().width, 20000);
    EXPECT_EQ(s.Layout().left, 500);

    s.SetWidth(10000);
    s.SetLeft(15000);  // the picture would pass the right margin: it moves back
    EXPECT_EQ(s.Layout().left, 15000);
    EXPECT_EQ(s.Layout().width, 5500);
    EXPECT_EQ(s.Layout().height, 3666);
    s.SetLeft(25000);
    EXPECT_EQ(s.Layout().left, 18500);
    s.SetLeft(100);
    EXPECT_EQ(s.Layout().left, 500);

    s.SetHeight(5000);
    EXPECT_EQ(s.Layout().width, 7500);
    EXPECT_EQ(s.Layout().left, 500);
    s.SetHeight(28000);  // far too wide at that height: the width is capped, the height follows
    EXPECT_EQ(s.Layout().width, 20000);
    EXPECT_EQ(s.Layout().height, 13333);
    EXPECT_EQ(s.Layout().left, 500);
    s.SetTop(0);
    EXPECT_EQ(s.Layout().top, 400);
}

TEST(PrintSheet, CentringFullPageAndFourInches) {
    PrintSheet s = Sheet();
    s.SetWidth(10000);
    s.SetCentred(true);
    EXPECT_EQ(s.Layout().left, 5500);
    EXPECT_EQ(s.Right(), 5500);
    EXPECT_TRUE(s.MouseLocked());
    s.SetWidth(8000);  // stays centred
    EXPECT_EQ(s.Layout().left, 6500);
    s.SetCentred(false);
    s.SetFourInches();  // (254 × 400 + 50) × 200 / 2000
    EXPECT_EQ(s.Layout().width, 10165);
    s.SetFullPage(true);
    EXPECT_EQ(s.Layout().width, 20000);
    s.SetFourInches();  // ignored
    EXPECT_EQ(s.Layout().width, 20000);
}

TEST(PrintSheet, MouseMovesWithinTheMarginsAndSizesDownToTenMillimetres) {
    PrintSheet s = Sheet();
    s.SetWidth(10000);
    s.Move(-10000, -10000);
    EXPECT_EQ(s.Layout().left, 500);
    EXPECT_EQ(s.Layout().top, 400);
    s.Move(50000, 50000);
    EXPECT_EQ(s.Layout().left, 21000 - 10000 - 500);
    EXPECT_EQ(s.Layout().top, 29700 - 6667 - 500);
    s.Move(-5000, -50000);
    s.Resize(-50000);
    EXPECT_EQ(s.Layout().height, 1000);
    EXPECT_EQ(s.Layout().width, 1500);
    s.Resize(50000);  // up to the right margin
    EXPECT_EQ(s.Layout().left + s.Layout().width, 20500);
    s.SetCentred(true);
    const PrintLayout locked = s.Layout();
    s.Move(100, 100);
    s.Resize(100);
    EXPECT_EQ(s.Layout(), locked);
}

TEST(PrintSheet, PrinterDotsAndTheUnprintableMargin) {
    PrintSheet s = Sheet({2000, 3000, 10000, 6667, false, false});
    PrintSheet::Target t = s.ToPrinter();
    EXPECT_EQ(t.x, 150);  // 20 mm from the sheet's edge, less the 5 mm it cannot print
    EXPECT_EQ(std::tuple(t.y, t.width, t.height), std::tuple(260, 1000, 666));
    // A margin smaller than the unprintable one prints at the edge and is stored so.
    PrintSheet edge = Sheet({300, 100, 10000, 6667, false, false});
    t = edge.ToPrinter();
    EXPECT_EQ(std::tuple(t.x, t.y), std::tuple(0, 0));
    EXPECT_EQ(edge.Layout().left, 500);
    EXPECT_EQ(edge.Layout().top, 400);
    // Too wide for what is left of the printable area: cut, and the width stored.
    PrintSheet wide = Sheet({15000, 400, 10000, 6667, false, false});
    t = wide.ToPrinter();
    EXPECT_EQ(t.x + t.width, 2000);
    EXPECT_EQ(wide.Layout().width, 5500);
}

TEST(PrintBands, ThreeMillionPixelsABand) {
    EXPECT_EQ(PrintBandCount(3000, 2000), 3);
    EXPECT_EQ(PrintBandCount(1000, 1000), 1);
    const std::vector<PrintBand> bands = PrintBands(3000, 2000, 1000);
    ASSERT_EQ(bands.size(), 3u);
    int source = 0;
    int target = 0;
    for (const PrintBand& b : bands) {
        EXPECT_EQ(std::tuple(b.sourceTop, b.targetTop), std::tuple(source, target));
        source += b.sourceRows;
        target += b.targetRows;
    }
    EXPECT_EQ(source, 2000);
    EXPECT_EQ(target, 1000);
    EXPECT_EQ(bands[1].sourceTop, 666);
    EXPECT_EQ(bands[1].targetTop, 333);
}

}  // namespace
}  // namespace duplora
