// Printing, the HTML page and the phone picture as the user meets them: the print settings
// typed and dragged, a page printed to PDF and measured, the page written through its save
// dialog, and the phone area drawn, made and saved.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/print/print_layout.h"
#include "core/formats/stereo_open.h"
#include "gui/output/output_commands.h"
#include "gui/print/print_settings_dialog.h"
#include "gui/stereo/view_widget.h"
#include "gui_test_main.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ClickButton;
using test::Settle;
using test::Shown;

// The page of a PDF as pixels (pdftoppm), at `dpi`.
QImage RenderPdf(const QString& pdf, int dpi) {
    QProcess process;
    const QString prefix = pdf + QStringLiteral("-page");
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                   QStringLiteral("-singlefile"), pdf, prefix});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QImage(prefix + QStringLiteral(".png"));
}

// The smallest rectangle holding every dark pixel.
QRect DarkArea(const QImage& page) {
    QRect area;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) area |= QRect(x, y, 1, 1);
    return area;
}

class OutputTest : public test::WindowTest {
  protected:
    void SetUp() override {
        if (!test::HaveSmallPair()) GTEST_SKIP() << "samples missing";
        WindowTest::SetUp();
    }
    QString Path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
};

TEST_F(OutputTest, PrintSettingsTypedDraggedAndKept) {
    MainWindow& w = StartSmallPair();
    // The sheet of the PDF printer the window starts with, and the composed pair on it.
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    PrintSheet expected(MetricsOf(pdf), 1280, 480, {});
    expected.SetWidth(5000);

    host_.QueueAs<PrintSettingsDialog>([&](PrintSettingsDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Druckeinstellungen"));
        EXPECT_FALSE(dialog.findChild<QWidget*>(QStringLiteral("ctl1334"))->isVisible());
        QLineEdit* width = Shown<QLineEdit>(dialog, 1344);
        test::TypeOver(width, QStringLiteral("50"));
        QTest::keyClick(width, Qt::Key_Tab);  // leaving the field takes the value
        EXPECT_EQ(width->text(), QStringLiteral("50.00mm"));
        EXPECT_EQ(Shown<QLineEdit>(dialog, 1345)->text(),
                  QString::fromStdString(FormatHundredths(expected.Layout().height)));
        EXPECT_EQ(Shown<QLabel>(dialog, 1336)->text(),
                  QString::fromStdString(FormatHundredths(expected.Right())));
        EXPECT_TRUE(Shown<QLabel>(dialog, 1342)
                        ->text()
                        .startsWith(QStringLiteral("Papiergröße:Breite 210.")));

        // Dragging the picture in the preview moves it by the scaled distance.
        PrintPreview* preview = dialog.Preview();
        const QRect picture = preview->PictureRect();
        const QPoint from = picture.center();
        test::DragMouse(preview, from, from + QPoint(20, 30), 4);
        const int moved = dialog.Sheet().Layout().left - expected.Layout().left;
        const int paperPixels = preview->PaperRect().width();
        EXPECT_NEAR(moved, 20 * expected.Sheet().width / paperPixels, 1);
        EXPECT_EQ(Shown<QLineEdit>(dialog, 1319)->text(),
                  QString::fromStdString(FormatHundredths(dialog.Sheet().Layout().left)));
        // Centred locks the place; full page the size too.
        Shown<QCheckBox>(dialog, 1324)->click();
        EXPECT_FALSE(Shown<QLineEdit>(dialog, 1319)->isEnabled());
        EXPECT_TRUE(Shown<QLineEdit>(dialog, 1344)->isEnabled());
        Shown<QCheckBox>(dialog, 1328)->click();
        EXPECT_FALSE(Shown<QLineEdit>(dialog, 1344)->isEnabled());
        Shown<QCheckBox>(dialog, 1328)->click();
        EXPECT_TRUE(Shown<QLineEdit>(dialog, 1344)->isEnabled());
        // A printer chosen again: the sheet is new and there is no going back.
        EXPECT_TRUE(ClickButton(dialog, QStringLiteral("Drucker...")));
        EXPECT_FALSE(dialog.findChild<QWidget*>(QStringLiteral("ctl2"))->isEnabled());
        EXPECT_EQ(Shown<QLineEdit>(dialog, 1344)->text(),
                  QString::fromStdString(FormatHundredths(expected.LargestWidth())));
        QLineEdit* again = Shown<QLineEdit>(dialog, 1344);
        test::TypeOver(again, QStringLiteral("50"));
        QTest::keyClick(again, Qt::Key_Tab);
        return true;
    });
    host_.Queue([](QDialog& dialog) {
        ASSERT_NE(dynamic_cast<QPrintDialog*>(&dialog), nullptr);
        dialog.accept();
    });
    Key(Qt::Key_K, Qt::AltModifier);
    ASSERT_EQ(host_.Count(), 2);

    // Opened again, the dialog shows what OK stored.
    host_.QueueAs<PrintSettingsDialog>([&](PrintSettingsDialog& dialog) {
        EXPECT_EQ(Shown<QLineEdit>(dialog, 1344)->text(), QStringLiteral("50.00mm"));
        EXPECT_TRUE(Shown<QCheckBox>(dialog, 1324)->isChecked());
        EXPECT_NEAR(dialog.Sheet().Layout().left, dialog.Sheet().Right(), 1);
        EXPECT_TRUE(ClickButton(dialog, QStringLiteral("Abbrechen")));
        return false;
    });
    w.ExecuteCommand(CmdPrintSettings);
    EXPECT_EQ(host_.Count(), 3);
}

TEST_F(OutputTest, PrintedPlacementOnThePdfPage) {
    // A dark picture of 3000 × 2000 pixels goes in three bands; none may leave a seam.
    const ImageBuffer picture = test::MakeImage(3000, 2000, [](int, int) { return 0x303030u; });
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = Path("placed.pdf");
    printer.setOutputFileName(pdf);
    const PrinterMetrics m = MetricsOf(printer);
    PrintSheet sheet(m, 3000, 2000, {2500, 3000, 12000, 8000, false, false});
    sheet.SetWidth(12000);
    PrintSheet computed = sheet;
    const PrintSheet::Target t = computed.ToPrinter();
    ASSERT_EQ(PrintPicture(printer, picture, sheet, {}), PrintOutcome::Printed);

    constexpr int kDpi = 300;
    const QImage page = RenderPdf(pdf, kDpi);
    ASSERT_FALSE(page.isNull()) << "pdftoppm";
    const QRect dark = DarkArea(page);
    auto mm = [](double pixels, double dpi) { return pixels * 25.4 / dpi; };
    EXPECT_NEAR(mm(dark.left(), kDpi), mm(t.x + m.offsetX, m.dpiX), 0.5);
    EXPECT_NEAR(mm(dark.top(), kDpi), mm(t.y + m.offsetY, m.dpiX), 0.5);
    EXPECT_NEAR(mm(dark.width(), kDpi), mm(t.width, m.dpiX), 0.5);
    EXPECT_NEAR(mm(dark.height(), kDpi), mm(t.height, m.dpiX), 0.5);
    // And so within half a millimetre of the settings themselves.
    EXPECT_NEAR(mm(dark.left(), kDpi), 25.0, 0.5);
    EXPECT_NEAR(mm(dark.width(), kDpi), 120.0, 0.5);
    // "Abbrechen" in the abort box stops before the first band.
    printer.setOutputFileName(Path("aborted.pdf"));
    EXPECT_EQ(PrintPicture(printer, picture, sheet, [] { return true; }), PrintOutcome::Aborted);
    int light = 0;
    for (int y = dark.top(); y <= dark.bottom(); ++y)
        if (qGray(page.pixel(dark.center().x(), y)) >= 128) ++light;
    EXPECT_EQ(light, 0) << "a seam between the bands";
}

TEST_F(OutputTest, CtrlDPrintsThroughThePrintDialog) {
    StartSmallPair();
    const QString pdf = Path("printed.pdf");
    host_.Queue([&](QDialog& dialog) {
        ASSERT_NE(dynamic_cast<QPrintDialog*>(&dialog), nullptr);
        // With no printer of the system's, the dialog prints to a file named in its box.
        QLineEdit* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
        test::TypeOver(file, pdf);
        if (!ClickButton(dialog, QStringLiteral("Drucken")) &&
            !ClickButton(dialog, QStringLiteral("Print")))
            dialog.accept();
    });
    Key(Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(host_.Count(), 1);
    const QImage page = RenderPdf(pdf, 50);
    ASSERT_FALSE(page.isNull()) << "nothing printed";
    EXPECT_FALSE(DarkArea(page).isEmpty());
    EXPECT_TRUE(window_->isEnabled());
}

TEST_F(OutputTest, CtrlWWritesThePageThePictureAndTheViewer) {
    StartSmallPair();
    host_.Queue([&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("SAVJOPTION"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Make HTML File"));
        EXPECT_TRUE(Shown<QRadioButton>(dialog, 3001)->isChecked());
        Shown<QRadioButton>(dialog, 3003)->click();
        EXPECT_EQ(Shown<QLineEdit>(dialog, 3113)->text(), QStringLiteral("400"));
        test::TypeIntoFocus(Path("page.htm"));
    });
    Key(Qt::Key_W, Qt::ControlModifier);
    ASSERT_EQ(host_.Count(), 1);
    for (const char* name : {"page.htm", "page.jpg", "pairview.js"})
        EXPECT_TRUE(QFile::exists(Path(name))) << name;
    const QString text = QString::fromUtf8(test::FileBytes(Path("page.htm")));
    // 640 × 480 views scaled to 400 wide: 800 × 300, and the viewer 805 × 345.
    EXPECT_TRUE(text.contains(QStringLiteral("width=\"805\" height=\"345\"")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("data-stfile=\"page.jpg\" data-type=\"2\"")));
    ASSERT_EQ(host_.opened.size(), 1);
    EXPECT_EQ(host_.opened.front().toLocalFile(), Path("page.htm"));
}

TEST_F(OutputTest, PhoneAreaMadeAndSavedAsStj) {
    store_->WriteSetting("n2action", "0");
    MainWindow& w = StartSmallPair();
    w.ExecuteCommand(CmdZoom50);
    Key(Qt::Key_H, Qt::ControlModifier);
    ViewWidget* view = w.View();
    ASSERT_EQ(view->SelectionMode(), SelectionMode::Phone);
    const QString stj = Path("phone.stj");
    host_.Queue([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("3D Bild für Handy speichern"));
        EXPECT_TRUE(Shown<QLabel>(dialog, 3073)->text().contains(QStringLiteral("10240 Bytes")));
        test::TypeIntoFocus(stj);
    });
    test::DragMouse(view->Pane(1), QPoint(10, 10), QPoint(60, 80), 4);
    Settle();
    EXPECT_EQ(w.Document().Left().image.Width(), 88);
    ASSERT_EQ(host_.Count(), 1);
    EXPECT_EQ(w.Document().Right().image.Height(), 220);
    EXPECT_EQ(w.Document().ZoomPercent(), 100);
    // The file reopens as a pair of the phone's size.
    const StereoOpenResult reopened = OpenStereoFile(stj.toStdString(), StereoLayout::SideBySide);
    ASSERT_TRUE(reopened.loaded);
    EXPECT_EQ(std::tuple(reopened.left.Width(), reopened.right.Height()), std::tuple(88, 220));
    // Undo brings the pair back.
    Key(Qt::Key_Z);
    EXPECT_EQ(w.Document().Left().image.Width(), 640);
}

}  // namespace
}  // namespace duplora
