#include "gui/shell/toolbar_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "app/shell/menu_rules.h"

namespace duplora {

namespace {

constexpr int kW = kToolbarPictureWidth;
constexpr int kH = kToolbarPictureHeight;

const QColor kInk(32, 32, 40);
const QColor kWhite(255, 255, 255);
const QColor kPaper(250, 250, 240);
const QColor kFolder(232, 184, 56);
const QColor kFolderDark(160, 112, 24);
const QColor kBlue(36, 92, 196);
const QColor kLightBlue(120, 170, 235);
const QColor kRed(212, 36, 36);
const QColor kCyan(24, 184, 200);
const QColor kGreen(40, 150, 60);
const QColor kGrey(128, 128, 128);
const QColor kLightGrey(200, 200, 200);
const QColor kYellow(240, 210, 40);

// Pixel drawing on one picture: whole pixels, no smoothing.
class Pixels {
  public:
    explicit Pixels(QImage& image) : p_(&image) { p_.setRenderHint(QPainter::Antialiasing, false); }

    void Dot(int x, int y, const QColor& c) { p_.fillRect(x, y, 1, 1, c); }
    void Fill(int x, int y, int w, int h, const QColor& c) { p_.fillRect(x, y, w, h, c); }
    // Outline of the w × h box at (x, y).
    void Box(int x, int y, int w, int h, const QColor& c) {
        Fill(x, y, w, 1, c);
        Fill(x, y + h - 1, w, 1, c);
        Fill(x, y, 1, h, c);
        Fill(x + w - 1, y, 1, h, c);
    }
    // A filled box with an outline.
    void Panel(int x, int y, int w, int h, const QColor& fill, const QColor& line = kInk) {
        Fill(x, y, w, h, fill);
        Box(x, y, w, h, line);
    }
    void Line(int x1, int y1, int x2, int y2, const QColor& c) {
        p_.setPen(QPen(c, 1));
        p_.drawLine(x1, y1, x2, y2);
    }
    void Polygon(std::initializer_list<QPoint> points, const QColor& c) {
        p_.setPen(Qt::NoPen);
        p_.setBrush(c);
        p_.drawPolygon(QPolygon(QList<QPoint>(points)));
    }
    void Arc(int x, int y, int w, int h, int startDeg, int spanDeg, const QColor& c, int width) {
        p_.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
        p_.setBrush(Qt::NoBrush);
        p_.drawArc(x, y, w, h, startDeg * 16, spanDeg * 16);
    }
    void Ring(int x, int y, int w, int h, const QColor& c, int width = 1) {
        p_.setPen(QPen(c, width));
        p_.setBrush(Qt::NoBrush);
        p_.drawEllipse(x, y, w, h);
    }

  private:
    QPainter p_;
};

void Folder(Pixels& d) {
    d.Fill(1, 4, 5, 2, kFolderDark);
    d.Panel(0, 5, 15, 9, kFolder, kFolderDark);
    d.Fill(1, 6, 13, 1, kYellow);
}

void Glasses(Pixels& d, const QColor& left, const QColor& right, int y) {
    d.Panel(1, y, 6, 5, left);
    d.Panel(9, y, 6, 5, right);
    d.Fill(7, y + 1, 2, 1, kInk);
    d.Line(0, y + 1, 1, y + 1, kInk);
    d.Line(15, y + 1, 15, y + 1, kInk);
}

void Magnifier(Pixels& d) {
    d.Ring(1, 1, 9, 9, kInk, 1);
    d.Fill(3, 3, 6, 6, kLightBlue);
    d.Fill(2, 4, 1, 4, kLightBlue);
    d.Fill(4, 2, 4, 1, kLightBlue);
    d.Line(9, 9, 13, 13, kInk);
    d.Line(10, 9, 14, 13, kInk);
    d.Line(9, 10, 13, 14, kInk);
}

void ArrowUp(Pixels& d, const QColor& c) {
    d.Polygon({{7, 1}, {14, 8}, {10, 8}, {10, 13}, {5, 13}, {5, 8}, {1, 8}}, c);
}

// A quarter turn: an arc over the top, its arrow head pointing down at the end.
void CurvedArrow(Pixels& d, bool clockwise) {
    d.Panel(5, 9, 6, 6, kLightBlue);
    d.Arc(2, 2, 11, 11, 180, -180, kBlue, 2);
    if (clockwise)
        d.Polygon({{10, 7}, {16, 7}, {13, 11}}, kBlue);
    else
        d.Polygon({{-1, 7}, {5, 7}, {2, 11}}, kBlue);
}

// Undo: a hook from the right, ending in an arrow head pointing left at the top; redo is its
// mirror image.
void UndoArrow(Pixels& d, bool redo) {
    if (!redo) {
        d.Arc(4, 3, 10, 10, 90, -180, kBlue, 2);
        d.Fill(5, 3, 5, 2, kBlue);
        d.Fill(4, 12, 6, 2, kBlue);
        d.Polygon({{0, 4}, {6, -1}, {6, 9}}, kBlue);
    } else {
        d.Arc(2, 3, 10, 10, 90, 180, kBlue, 2);
        d.Fill(6, 3, 5, 2, kBlue);
        d.Fill(6, 12, 6, 2, kBlue);
        d.Polygon({{16, 4}, {10, -1}, {10, 9}}, kBlue);
    }
}

void Draw(int index, Pixels& d) {
    switch (index) {
        case 0:  // open a stereo picture: a folder holding a red and a cyan view
            Folder(d);
            d.Panel(3, 1, 5, 5, kRed);
            d.Panel(8, 1, 5, 5, kCyan);
            break;
        case 1:  // open left and right: a folder with two pages
            Folder(d);
            d.Panel(2, 0, 5, 7, kPaper);
            d.Panel(8, 0, 5, 7, kPaper);
            d.Fill(3, 2, 3, 1, kGrey);
            d.Fill(9, 2, 3, 1, kGrey);
            break;
        case 2:  // save: a floppy disk
            d.Panel(1, 0, 14, 15, kBlue);
            d.Fill(4, 1, 8, 5, kLightGrey);
            d.Fill(9, 2, 2, 3, kBlue);
            d.Panel(3, 8, 10, 6, kPaper);
            d.Fill(5, 10, 6, 1, kGrey);
            break;
        case 3:  // free trim: crop marks
            d.Fill(3, 0, 2, 12, kInk);
            d.Fill(0, 10, 12, 2, kInk);
            d.Fill(11, 3, 2, 12, kInk);
            d.Fill(3, 3, 12, 2, kInk);
            d.Fill(5, 5, 6, 5, kLightBlue);
            break;
        case 4:  // picture size: a small and a large picture with an arrow
            d.Box(0, 0, 16, 15, kInk);
            d.Panel(1, 8, 6, 6, kLightBlue);
            d.Line(6, 8, 13, 1, kRed);
            d.Polygon({{14, 0}, {14, 5}, {9, 0}}, kRed);
            break;
        case 5:  // undo
            UndoArrow(d, false);
            break;
        case 6:  // redo
            UndoArrow(d, true);
            break;
        case 7:  // mouse pointer
            d.Polygon({{3, 0}, {3, 12}, {6, 9}, {9, 14}, {11, 13}, {8, 8}, {12, 8}}, kInk);
            d.Polygon({{4, 2}, {4, 10}, {6, 8}, {9, 12}, {10, 12}, {7, 7}, {10, 7}}, kWhite);
            break;
        case 8:  // navigator: the visible part outlined on an overview
            d.Panel(0, 1, 16, 13, kLightBlue);
            d.Fill(1, 9, 14, 4, kGreen);
            d.Box(5, 4, 7, 6, kRed);
            d.Box(6, 5, 5, 4, kRed);
            break;
        case 9:  // full screen: a screen with arrows to the corners
            d.Panel(0, 0, 16, 12, kLightBlue);
            d.Fill(6, 12, 4, 2, kInk);
            d.Fill(4, 14, 8, 1, kInk);
            d.Polygon({{1, 1}, {6, 1}, {1, 6}}, kInk);
            d.Polygon({{15, 11}, {10, 11}, {15, 6}}, kInk);
            break;
        case 10:  // fit to the window: arrows pointing in
            d.Box(0, 0, 16, 15, kInk);
            d.Panel(5, 5, 6, 5, kLightBlue);
            d.Polygon({{1, 1}, {5, 1}, {1, 5}}, kBlue);
            d.Polygon({{14, 13}, {10, 13}, {14, 9}}, kBlue);
            d.Polygon({{14, 1}, {10, 1}, {14, 5}}, kBlue);
            d.Polygon({{1, 13}, {5, 13}, {1, 9}}, kBlue);
            break;
        case 11:  // zoom in
            Magnifier(d);
            d.Fill(3, 5, 5, 1, kInk);
            d.Fill(5, 3, 1, 5, kInk);
            break;
        case 12:  // zoom out
            Magnifier(d);
            d.Fill(3, 5, 5, 1, kInk);
            break;
        case 13:  // zoom presets: a magnifier over a scale
            Magnifier(d);
            d.Fill(4, 4, 1, 3, kInk);
            d.Fill(6, 4, 1, 3, kInk);
            break;
        case 14:  // fit the height
            d.Fill(2, 0, 12, 1, kInk);
            d.Fill(2, 14, 12, 1, kInk);
            d.Fill(7, 2, 2, 11, kBlue);
            d.Polygon({{8, 1}, {12, 5}, {3, 5}}, kBlue);
            d.Polygon({{8, 14}, {12, 10}, {3, 10}}, kBlue);
            break;
        case 15:  // fit the width
            d.Fill(0, 1, 1, 13, kInk);
            d.Fill(15, 1, 1, 13, kInk);
            d.Fill(2, 7, 12, 1, kBlue);
            d.Polygon({{1, 7}, {5, 3}, {5, 11}}, kBlue);
            d.Polygon({{14, 7}, {10, 3}, {10, 11}}, kBlue);
            break;
        case 16:  // three views
            d.Panel(0, 0, 7, 7, kRed);
            d.Panel(9, 0, 7, 7, kCyan);
            d.Panel(4, 8, 8, 7, kLightGrey);
            break;
        case 17:  // interlace: alternating lines
            for (int y = 1; y < 14; ++y) d.Fill(1, y, 14, 1, (y % 2) ? kRed : kCyan);
            d.Box(0, 0, 16, 15, kInk);
            break;
        case 18:  // grey anaglyph: glasses over a grey wedge
            Glasses(d, kRed, kCyan, 1);
            for (int x = 0; x < 16; ++x) d.Fill(x, 9, 1, 5, QColor(x * 16, x * 16, x * 16));
            d.Box(0, 8, 16, 7, kInk);
            break;
        case 19:  // colour anaglyph: glasses over colours
            Glasses(d, kRed, kCyan, 1);
            d.Fill(0, 9, 4, 5, kRed);
            d.Fill(4, 9, 4, 5, kYellow);
            d.Fill(8, 9, 4, 5, kGreen);
            d.Fill(12, 9, 4, 5, kBlue);
            d.Box(0, 8, 16, 7, kInk);
            break;
        case 20:  // side by side
            d.Panel(0, 3, 8, 9, kLightBlue);
            d.Panel(8, 3, 8, 9, kLightBlue);
            d.Fill(2, 8, 4, 3, kGreen);
            d.Fill(10, 8, 4, 3, kGreen);
            break;
        case 21:  // over/under
            d.Panel(3, 0, 10, 8, kLightBlue);
            d.Panel(3, 7, 10, 8, kLightBlue);
            d.Fill(5, 4, 6, 3, kGreen);
            d.Fill(5, 11, 6, 3, kGreen);
            break;
        case 22:  // page flipping: shutter glasses, one lens dark
            Glasses(d, kInk, kPaper, 5);
            d.Polygon({{9, 0}, {6, 3}, {8, 3}, {6, 5}, {11, 2}, {9, 2}, {11, 0}}, kYellow);
            d.Polygon({{4, 11}, {4, 14}, {12, 14}, {12, 11}}, kGrey);
            break;
        case 23:  // swap left and right
            d.Fill(3, 3, 11, 2, kRed);
            d.Polygon({{15, 4}, {11, 0}, {11, 8}}, kRed);
            d.Fill(2, 10, 11, 2, kCyan);
            d.Polygon({{0, 11}, {4, 7}, {4, 15}}, kCyan);
            break;
        case 24:  // alignment dialog: cross-hairs
            d.Ring(2, 1, 12, 12, kInk);
            d.Fill(8, 0, 1, 15, kRed);
            d.Fill(1, 7, 15, 1, kRed);
            break;
        case 25:  // align up
            ArrowUp(d, kGreen);
            break;
        case 26:  // align down
            d.Polygon({{7, 13}, {14, 6}, {10, 6}, {10, 1}, {5, 1}, {5, 6}, {1, 6}}, kGreen);
            break;
        case 27:  // align left
            d.Polygon({{1, 7}, {8, 0}, {8, 4}, {14, 4}, {14, 10}, {8, 10}, {8, 14}}, kGreen);
            break;
        case 28:  // align right
            d.Polygon({{14, 7}, {7, 0}, {7, 4}, {1, 4}, {1, 10}, {7, 10}, {7, 14}}, kGreen);
            break;
        case 29:  // reset the alignment: a target with its centre marked
            d.Ring(1, 0, 13, 13, kGreen, 2);
            d.Fill(6, 5, 4, 4, kRed);
            break;
        case 30:  // frame: three nested bands
            d.Fill(0, 0, 16, 15, kWhite);
            d.Fill(2, 2, 12, 11, kInk);
            d.Fill(4, 4, 8, 7, kWhite);
            d.Fill(5, 5, 6, 5, kLightBlue);
            d.Box(0, 0, 16, 15, kGrey);
            break;
        case 31:  // rotate right
            CurvedArrow(d, true);
            break;
        case 32:  // rotate left
            CurvedArrow(d, false);
            break;
        case 33:  // 360° panorama: a band closed into a ring
            d.Ring(0, 3, 15, 9, kBlue, 2);
            d.Fill(6, 1, 4, 3, kGreen);
            d.Fill(6, 11, 4, 3, kGreen);
            break;
        default:
            break;
    }
}

}  // namespace

QImage ToolbarPicture(int index) {
    if (index < 0 || index >= kToolbarPictureCount) return {};
    QImage image(kW, kH, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        Pixels pixels(image);
        Draw(index, pixels);
    }
    return image;
}

QImage ToolbarStrip() {
    QImage strip(kW * kToolbarPictureCount, kH, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter p(&strip);
    for (int i = 0; i < kToolbarPictureCount; ++i) p.drawImage(i * kW, 0, ToolbarPicture(i));
    return strip;
}

QIcon ToolbarIcon(int index) {
    return QIcon(QPixmap::fromImage(ToolbarPicture(index)));
}

}  // namespace duplora
