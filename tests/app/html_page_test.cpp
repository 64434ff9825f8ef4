// The HTML page: the template's placeholders, the files written, and the page itself opened
// in headless Chromium, whose screenshot must show the anaglyph of the two halves and whose
// viewer must follow the arrow keys.
#include "app/output/html_page.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdlib>

#include "core/formats/load_chain.h"
#include "core/formats/stereo_save.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::PixelAt;

TEST(HtmlTemplate, PlaceholdersOneToSixOnly) {
    HtmlPlaceholders values;
    values.viewerWidth = 800;  // view width 400
    values.viewerHeight = ViewerHeight(1600, 600, 400);
    values.jpegName = "pair.jpg";
    values.displayType = 2;
    values.swap = true;
    EXPECT_EQ(FillHtmlTemplate("%1x%2 %3 %4 %5 %6 %7 %% 100%", values),
              "805x345 pair.jpg 2 1 0 %7 %% 100%");
    // The built-in page names the viewer and passes every parameter.
    const std::string page = FillHtmlTemplate(BuiltInHtmlTemplate(), values);
    for (const char* part : {"src=\"pairview.js\"", "data-stfile=\"pair.jpg\"", "data-type=\"2\"",
                             "data-swap=\"1\"", "width=\"805\"", "height=\"345\""})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    EXPECT_EQ(HtmlJpegPath("/a.b/page.htm"), "/a.b/page.jpg");
    EXPECT_EQ(HtmlJpegPath("/a.b/page"), "/a.b/page.jpg");
}

TEST(HtmlTemplate, TheProgramFoldersTemplateWins) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    EXPECT_EQ(HtmlTemplate(folder), BuiltInHtmlTemplate());
    ASSERT_TRUE(test::WriteFileBytes(dir.filePath(QStringLiteral("duplora.htm")), "<p>%3</p>"));
    EXPECT_EQ(HtmlTemplate(folder), "<p>%3</p>");
}

TEST(HtmlPicture, ScaledToTheViewWidthAndSideBySide) {
    const ImageBuffer left =
        MakeImage(200, 100, [](int x, int) { return x < 100 ? 0xFF0000u : 0x00FF00u; });
    const ImageBuffer right = MakeImage(200, 100, [](int, int) { return 0x0000FFu; });
    HtmlOptions options;
    options.viewWidth = 50;
    options.sharpen = false;
    const ImageBuffer picture = MakeHtmlPicture(left, right, options);
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::tuple(picture.Width(), picture.Height()), std::tuple(100, 25));
    EXPECT_EQ(PixelAt(picture, 5, 5), 0xFF0000u);
    EXPECT_EQ(PixelAt(picture, 45, 5), 0x00FF00u);
    EXPECT_EQ(PixelAt(picture, 75, 5), 0x0000FFu);
    options.scaleToViewer = false;
    options.sharpen = true;
    EXPECT_EQ(MakeHtmlPicture(left, right, options).Width(), 400);
}

// ---- in a browser -----------------------------------------------------------------------------

QString Chromium() {
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty()) return path;
    }
    return {};
}

class HtmlInBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        browser_ = Chromium();
        if (browser_.isEmpty()) GTEST_SKIP() << "no Chromium (scripts/install-deps installs it)";
        ASSERT_TRUE(dir_.isValid());
    }

    // Runs the browser headless on `page` with `mode` ("--screenshot=…" or "--dump-dom");
    // its standard output.
    QString Run(const QString& page, const QStringList& mode) {
        QStringList arguments = {QStringLiteral("--headless"),
                                 QStringLiteral("--no-sandbox"),
                                 QStringLiteral("--disable-gpu"),
                                 QStringLiteral("--hide-scrollbars"),
                                 QStringLiteral("--force-device-scale-factor=1"),
                                 QStringLiteral("--window-size=400,300"),
                                 QStringLiteral("--virtual-time-budget=5000"),
                                 QStringLiteral("--user-data-dir=") + dir_.filePath("profile")};
        arguments << mode << QUrl::fromLocalFile(page).toString();
        QProcess process;
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(browser_, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << "the browser did not finish";
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QString browser_;
    QTemporaryDir dir_;
};

TEST_F(HtmlInBrowser, ShowsTheColourAnaglyphAndFollowsTheArrowKeys) {
    // Blocks of 8 × 8 pixels survive JPEG almost unchanged.
    auto blocks = [](std::uint32_t seed) {
        return [seed](int x, int y) {
            std::uint32_t v = (static_cast<std::uint32_t>(x / 8) * 7919u + y / 8 * 104729u) ^ seed;
            v *= 2654435761u;
            return v >> 8;
        };
    };
    const ImageBuffer left = MakeImage(64, 48, blocks(0x1234u));
    const ImageBuffer right = MakeImage(64, 48, blocks(0xBEEFu));
    HtmlOptions options;
    options.viewWidth = 64;
    options.sharpen = false;
    options.displayType = 2;
    const ImageBuffer picture = MakeHtmlPicture(left, right, options);
    ASSERT_TRUE(picture);
    const std::string page = dir_.filePath("pair.htm").toStdString();
    const std::string jpeg = HtmlJpegPath(page);
    SaveSettings jpegSettings;
    jpegSettings.quality = 99;
    ASSERT_TRUE(SaveStereoPicture(jpeg, picture, jpegSettings));
    HtmlPlaceholders values;
    values.viewerWidth = 2 * options.viewWidth;
    values.viewerHeight = ViewerHeight(picture.Width(), picture.Height(), options.viewWidth);
    values.jpegName = "pair.jpg";
    values.displayType = 2;
    ASSERT_TRUE(WriteHtmlAndViewer(page, values, BuiltInHtmlTemplate()));
    ASSERT_TRUE(QFile::exists(dir_.filePath("pairview.js")));

    // The picture as a browser decodes it (the same library): the anaglyph takes red from
    // the left half and green and blue from the right.
    const ImageBuffer decoded = LoadImageFile(jpeg).image;
    ASSERT_TRUE(decoded);
    const QString shot = dir_.filePath("shot.png");
    Run(QString::fromStdString(page), {QStringLiteral("--screenshot=") + shot});
    const QImage screen(shot);
    ASSERT_FALSE(screen.isNull()) << "no screenshot";
    // The canvas is 128 × 48 at the page's top-left; the 64 × 48 anaglyph is centred in it.
    int off = 0;
    int checked = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t l = PixelAt(decoded, x, y);
            const std::uint32_t r = PixelAt(decoded, 64 + x, y);
            const QRgb got = screen.pixel(32 + x, y);
            const int want[3] = {int(l >> 16 & 0xFF), int(r >> 8 & 0xFF), int(r & 0xFF)};
            const int have[3] = {qRed(got), qGreen(got), qBlue(got)};
            for (int c = 0; c < 3; ++c)
                if (std::abs(want[c] - have[c]) > 2) ++off;
            ++checked;
        }
    EXPECT_LE(off, checked / 100) << "pixels off the anaglyph of the two halves";
    if (off > 0) screen.save(QString::fromStdString(test::TestOutputDir() + "/html_anaglyph.png"));

    // The same page with keys sent once the viewer is ready: three to the right, one down.
    QByteArray text = test::FileBytes(QString::fromStdString(page));
    text.replace("</body>", R"(<script>
var timer = setInterval(function () {
  var v = document.querySelector('.pairview');
  if (v.getAttribute('data-state') !== 'ready') return;
  clearInterval(timer);
  ['ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowDown'].forEach(function (key) {
    document.body.dispatchEvent(new KeyboardEvent('keydown', {key: key, bubbles: true}));
  });
}, 20);
</script></body>)");
    const QString keyed = dir_.filePath("keys.htm");
    ASSERT_TRUE(test::WriteFileBytes(keyed, text));
    const QString dom = Run(keyed, {QStringLiteral("--dump-dom")});
    EXPECT_TRUE(dom.contains(QStringLiteral("data-state=\"ready\""))) << dom.toStdString();
    EXPECT_TRUE(dom.contains(QStringLiteral("data-dx=\"3\""))) << dom.toStdString();
    EXPECT_TRUE(dom.contains(QStringLiteral("data-dy=\"1\""))) << dom.toStdString();
}

TEST_F(HtmlInBrowser, TellsWhenThePictureIsMissing) {
    const std::string page = dir_.filePath("lost.htm").toStdString();
    HtmlPlaceholders values;
    values.viewerWidth = 200;
    values.viewerHeight = 100;
    values.jpegName = "nowhere.jpg";
    ASSERT_TRUE(WriteHtmlAndViewer(page, values, BuiltInHtmlTemplate()));
    const QString dom = Run(QString::fromStdString(page), {QStringLiteral("--dump-dom")});
    EXPECT_TRUE(dom.contains(QStringLiteral("data-state=\"error\""))) << dom.toStdString();
}

}  // namespace
}  // namespace duplora
