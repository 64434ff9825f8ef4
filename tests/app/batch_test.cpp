#include "app/batch/batch_worker.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFont>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "app/batch/batch_settings.h"
#include "app/batch/slide_list.h"
#include "app/edit/frame_style.h"
#include "app/edit/pair_overlay.h"
#include "app/edit/text_overlay.h"
#include "core/batch/list_file.h"
#include "core/edit/logo.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/load_chain.h"
#include "gui_application.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::PixelAt;

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

std::string Path(const QTemporaryDir& dir, const std::string& name) {
    return dir.filePath(QString::fromStdString(name)).toStdString();
}

// A finished run through the worker: its log and summary.
struct WorkerRun {
    std::vector<std::string> log;
    BatchSummary summary;
    std::string Joined() const {
        std::string all;
        for (const std::string& t : log) all += t;
        return all;
    }
};

WorkerRun RunWorker(BatchJob job, const BatchOptions& options, BatchThreads threads = {},
                    BatchWorker* worker = nullptr) {
    BatchWorker own;
    BatchWorker& w = worker ? *worker : own;
    WorkerRun run;
    std::mutex mutex;
    // Direct connections: the lines arrive on the worker's thread, in order.
    QObject::connect(
        &w, &BatchWorker::LogAppended, &w,
        [&](const QString& text) {
            std::lock_guard lock(mutex);
            run.log.push_back(text.toStdString());
        },
        Qt::DirectConnection);
    EXPECT_TRUE(w.Start(std::move(job), options, {}, std::move(threads)));
    w.Wait();
    EXPECT_FALSE(w.IsRunning());
    run.summary = w.Summary();
    return run;
}

// Width and height as ImageMagick reads them; empty when it cannot.
std::string Identify(const std::string& path) {
    QProcess identify;
    identify.start("identify", {"-format", "%w %h", QString::fromStdString(path)});
    if (!identify.waitForFinished(60000) || identify.exitCode() != 0) return {};
    return identify.readAllStandardOutput().toStdString();
}

bool HaveIdentify() {
    return !QStandardPaths::findExecutable("identify").isEmpty();
}

struct LayoutCase {
    BatchOutputLayout layout;
    int widthFactor;  // output size in view widths and heights
    int heightFactor;
};

TEST(BatchWorkerTest, RealPairInEveryOutputLayoutAndType) {
    if (!test::SampleExists("pairs/sugarshack_l.jpg")) GTEST_SKIP();
    QTemporaryDir in, out;
    ASSERT_TRUE(in.isValid() && out.isValid());
    const std::string left = Path(in, "sugarshack_l.jpg"), right = Path(in, "sugarshack_r.jpg");
    std::filesystem::copy_file(test::SamplePath("pairs/sugarshack_l.jpg"), left);
    std::filesystem::copy_file(test::SamplePath("pairs/sugarshack_r.jpg"), right);
    const ImageBuffer view = LoadImageFile(left).image;
    ASSERT_TRUE(view);
    const int w = view.Width(), h = view.Height();

    const LayoutCase layouts[] = {
        {BatchOutputLayout::SideBySide, 2, 1},     {BatchOutputLayout::OverUnder, 1, 2},
        {BatchOutputLayout::Interlace, 1, 1},      {BatchOutputLayout::GreyAnaglyph, 1, 1},
        {BatchOutputLayout::ColourAnaglyph, 1, 1}, {BatchOutputLayout::LeftRight, 1, 1},
    };
    for (const BatchOutputType type :
         {BatchOutputType::Bmp, BatchOutputType::Jpg, BatchOutputType::Jps, BatchOutputType::Das}) {
        for (const LayoutCase& c : layouts) {
            // A container keeps the two files as they are: it has no output layout.
            if (type == BatchOutputType::Das && c.layout != BatchOutputLayout::SideBySide) continue;
            BatchOptions options;
            options.sourceLayout = BatchSourceLayout::LeftRight;
            options.outputLayout = c.layout;
            options.outputType = type;
            options.exifThumbnail = type != BatchOutputType::Bmp;
            const std::string sub =
                Path(out, std::to_string(int(type)) + "-" + std::to_string(int(c.layout)));
            std::filesystem::create_directory(sub);
            options.targetFolder = sub;
            const WorkerRun run = RunWorker(MakeFileJob({left, right}, options), options);
            SCOPED_TRACE(run.Joined());
            EXPECT_TRUE(run.summary.AllConverted());
            const std::string stem = sub + "/sugarshack_l";
            const std::string ext(BatchOutputExtension(type));
            std::vector<std::string> outputs;
            if (type == BatchOutputType::Das) {
                // Opened again, the container gives back both views, not moved.
                const BatchViews views = OpenBatchStereoFile(stem + ext, 0, {});
                ASSERT_TRUE(views);
                EXPECT_TRUE(test::SamePixels(views.left, view, "das-left"));
                EXPECT_EQ(views.right.Width(), w);
                EXPECT_EQ(views.dx, 0);
                EXPECT_EQ(views.dy, 0);
                continue;
            }
            if (c.layout == BatchOutputLayout::LeftRight)
                outputs = {stem + "_l" + ext, stem + "_r" + ext};
            else
                outputs = {stem + ext};
            for (const std::string& file : outputs) {
                const ImageBuffer written = LoadImageFile(file).image;
                ASSERT_TRUE(written) << file;
                EXPECT_EQ(written.Width(), w * c.widthFactor) << file;
                EXPECT_EQ(written.Height(), h * c.heightFactor) << file;
                if (HaveIdentify()) {
                    EXPECT_EQ(Identify(file), std::to_string(w * c.widthFactor) + " " +
                                                  std::to_string(h * c.heightFactor))
                        << file;
                }
                // JPG and JPS files open with the Exif block right after the start marker.
                if (type != BatchOutputType::Bmp) {
                    QFile f(QString::fromStdString(file));
                    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                    const QByteArray head = f.read(10);
                    EXPECT_EQ(head.mid(2, 2), QByteArray("\xFF\xE1")) << file;
                    EXPECT_EQ(head.mid(6, 4), "Exif") << file;
                }
            }
        }
    }
}

TEST(BatchWorkerTest, StopDuringFileThreeOfTenLeavesThreeResults) {
    QTemporaryDir in, out;
    ASSERT_TRUE(in.isValid() && out.isValid());
    const ImageBuffer picture =
        MakeImage(16, 8, [](int x, int) { return x < 8 ? kWhite : kBlack; });
    std::vector<std::string> files;
    for (int i = 1; i <= 10; ++i) {
        files.push_back(Path(in, "p" + std::to_string(i) + ".bmp"));
        ASSERT_TRUE(WriteBmpFile(files.back(), picture));
    }
    // File 3's output exists, so the run asks about it while working on file 3.
    ASSERT_TRUE(WriteBmpFile(Path(out, "p3.jpg"), picture));
    BatchOptions options;
    options.targetFolder = out.path().toStdString();
    BatchWorker worker;
    BatchThreads threads;
    threads.question = [&worker](std::string_view, std::string_view, QuestionKind) {
        worker.Stop();  // "Anhalten" pressed while the question is up
        return Answer::Yes;
    };
    const WorkerRun run = RunWorker(MakeFileJob(files, options), options, threads, &worker);
    EXPECT_TRUE(run.summary.stopped);
    EXPECT_EQ(run.summary.converted, 3);
    int results = 0;
    for (const std::string& line : run.log)
        if (line == "Ergebmis : Erfolgreich\r\n\r\n") ++results;
    EXPECT_EQ(results, 3);
    EXPECT_EQ(run.log.back(), "Ergebmis : Erfolgreich\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(Path(out, "p4.jpg")));
}

TEST(BatchWorkerTest, RunsOneAfterAnother) {
    BatchWorker worker;
    BatchOptions options;
    BatchJob job;
    EXPECT_TRUE(worker.Start(job, options, {}));
    worker.Wait();
    EXPECT_TRUE(worker.Start(job, options, {}));
    worker.Wait();
    EXPECT_EQ(worker.Summary().items, 0);
    EXPECT_TRUE(worker.Summary().AllConverted());
}

// ---- the list run ---------------------------------------------------------------------

class ListRun : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(in_.isValid() && out_.isValid());
        ASSERT_TRUE(
            WriteBmpFile(Path(in_, "l.bmp"), MakeImage(20, 12, [](int, int) { return kWhite; })));
        ASSERT_TRUE(
            WriteBmpFile(Path(in_, "r.bmp"), MakeImage(20, 12, [](int, int) { return kBlack; })));
        const ImageBuffer sbs =
            MakeImage(40, 12, [](int x, int) { return x < 20 ? kWhite : kBlack; });
        ASSERT_TRUE(WriteBmpFile(Path(in_, "sbs.bmp"), sbs));
    }
    std::string List(const std::string& text) {
        const std::string path = Path(in_, "show.txt");
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fputs(text.c_str(), f);
        std::fclose(f);
        return path;
    }
    BatchOptions Options() const {
        BatchOptions options;
        options.targetFolder = out_.path().toStdString();
        options.outputType = BatchOutputType::Bmp;
        options.outputLayout = BatchOutputLayout::GreyAnaglyph;
        return options;
    }
    ImageBuffer Output(const std::string& name) const { return ReadBmpFile(Path(out_, name)); }

    QTemporaryDir in_, out_;
};

TEST_F(ListRun, EntriesConvertWithTheirSwapAndAlignment) {
    const std::string list = List(
        "# a show\r\n"
        "21,0,0,4,0,l.bmp,r.bmp,\r\n"
        "21,0,1,4,2,l.bmp,r.bmp,\r\n"
        "11,0,1,-3,0,sbs.bmp,\r\n");
    ListFile file;
    ASSERT_EQ(OpenList(list, file), ListResult::Ok);
    const BatchOptions options = Options();
    const BatchJob job = MakeListJob(list, file, options);
    ASSERT_EQ(job.items.size(), 3u);
    // The offsets are those the slide show gives the same entries.
    for (std::size_t i = 0; i < job.items.size(); ++i) {
        const SlidePlan plan = PlanSlide(file, list, static_cast<int>(i), {});
        EXPECT_EQ(job.items[i].dx, plan.dx) << i;
        EXPECT_EQ(job.items[i].dy, plan.dy) << i;
        if (job.items[i].pair)
            EXPECT_EQ(job.items[i].left, plan.swapViews ? plan.right : plan.left) << i;
        else
            EXPECT_EQ(job.items[i].swapViews, plan.swapViews) << i;
    }

    const WorkerRun run = RunWorker(job, options);
    SCOPED_TRACE(run.Joined());
    EXPECT_TRUE(run.summary.AllConverted());
    EXPECT_EQ(run.log[0],
              "Input:Slide Show List -> Output:" + options.targetFolder + " [BMP]\r\n\r\n");

    // Entry 1: white on the left, four columns of alignment.
    const ImageBuffer first = Output("l.bmp");
    ASSERT_TRUE(first);
    EXPECT_EQ(first.Width(), 16);
    EXPECT_EQ(PixelAt(first, 3, 3), 0xFF0000u);
    // Entry 2, swapped: the right file leads (and names the output), offsets negated.
    const ImageBuffer second = Output("r.bmp");
    ASSERT_TRUE(second);
    EXPECT_EQ(second.Width(), 16);
    EXPECT_EQ(second.Height(), 10);
    EXPECT_EQ(PixelAt(second, 3, 3), 0x00FFFFu);
    // Entry 3, one side-by-side file, swapped.
    const ImageBuffer third = Output("sbs.bmp");
    ASSERT_TRUE(third);
    EXPECT_EQ(third.Width(), 17);
    EXPECT_EQ(PixelAt(third, 3, 3), 0x00FFFFu);
}

TEST_F(ListRun, DasOutputOnlyForPairs) {
    const std::string list = List("11,0,0,0,0,sbs.bmp,\n");
    ListFile file;
    ASSERT_EQ(OpenList(list, file), ListResult::Ok);
    BatchOptions options = Options();
    options.outputType = BatchOutputType::Das;
    const WorkerRun run = RunWorker(MakeListJob(list, file, options), options);
    EXPECT_EQ(run.log.back(), "Can not convert!  ");
    EXPECT_EQ(run.summary.failed, 1);
}

using test::EnsureGuiApplication;

// Two pictures next to each other, as the side-by-side composition lays equal views.
ImageBuffer SideBySide(const ImageBuffer& left, const ImageBuffer& right) {
    return MakeImage(left.Width() + right.Width(), left.Height(), [&](int x, int y) {
        return x < left.Width() ? PixelAt(left, x, y) : PixelAt(right, x - left.Width(), y);
    });
}

struct OverlayCase {
    const char* name;
    bool text, logo, border, swap;
};

class BatchOverlayTest : public ::testing::TestWithParam<OverlayCase> {};

// The text, the logo and the frame of a batch run are exactly those the edit commands draw
// with the same settings: the left view at depth 0, the right one at the stored depth
// (negated when the views are exchanged), then the frame around both views.
TEST_P(BatchOverlayTest, SameAsTheEditCommandsDraw) {
    EnsureGuiApplication();
    const OverlayCase c = GetParam();
    QTemporaryDir in, out;
    ASSERT_TRUE(in.isValid() && out.isValid());
    const ImageBuffer first = MakeImage(
        48, 30, [](int x, int y) { return std::uint32_t(0x102030 + 0x030201 * ((x + y) % 17)); });
    const ImageBuffer second = MakeImage(
        48, 30, [](int x, int y) { return std::uint32_t(0x604020 + 0x010305 * ((x * y) % 13)); });
    ASSERT_TRUE(WriteBmpFile(Path(in, "a_l.bmp"), first));
    ASSERT_TRUE(WriteBmpFile(Path(in, "a_r.bmp"), second));
    // A logo with a transparent white pixel in its middle.
    const ImageBuffer logo = MakeImage(
        6, 5, [](int x, int y) { return x == 3 && y == 2 ? 0xFFFFFFu : 0x00C000u + 9u * x; });
    ASSERT_TRUE(WriteBmpFile(Path(in, "logo.bmp"), logo));

    // Text at the top left with a band of 9 rows, the logo at the bottom right with a band of
    // 4 and white transparent, a print frame of 2 + 5 + 1 with round corners.
    Settings settings = DefaultSettings("/prog/");
    settings.textset = {0, 6, 1, 4, ColourRef(250, 20, 10), 0, 1, 1, 1, 0x202020, 1, 9, 0, "Ab3"};
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    settings.logfont = font.toString().toStdString();
    settings.logoset = {3, 2, 3, -3, 1, 4, ColourRef(0, 0, 90), 1, 0xFFFFFF, Path(in, "logo.bmp")};
    settings.border.outerPrint = 2;
    settings.border.middlePrint = 5;
    settings.border.innerPrint = 1;

    BatchOptions options;
    options.sourceLayout = BatchSourceLayout::LeftRight;
    options.outputLayout = BatchOutputLayout::SideBySide;
    options.outputType = BatchOutputType::Bmp;
    options.targetFolder = out.path().toStdString();
    options.text = c.text;
    options.logo = c.logo;
    options.border = c.border;
    options.swap = c.swap;
    BatchWorker worker;
    ASSERT_TRUE(worker.Start(MakeFileJob({Path(in, "a_l.bmp"), Path(in, "a_r.bmp")}, options),
                             options, BatchEnvironmentFromSettings(settings)));
    worker.Wait();
    ASSERT_TRUE(worker.Summary().AllConverted());

    ImageBuffer left = DuplicateTrueColour(c.swap ? second : first);
    ImageBuffer right = DuplicateTrueColour(c.swap ? first : second);
    const int sign = c.swap ? -1 : 1;
    if (c.text) {
        left = AddText(left, settings.textset, 0, settings.logfont);
        right = AddText(right, settings.textset, sign * settings.textset.depth, settings.logfont);
    }
    if (c.logo) {
        left = AddLogo(left, logo, LogoStampFor(settings.logoset, 0));
        right = AddLogo(right, logo, LogoStampFor(settings.logoset, sign * settings.logoset.depth));
    }
    ImageBuffer expected = SideBySide(left, right);
    if (c.border) expected = AddBorder(expected, 0, settings.border);
    ASSERT_TRUE(expected);
    EXPECT_TRUE(test::SamePixels(ReadBmpFile(Path(out, "a_l.bmp")), expected, c.name));
}

INSTANTIATE_TEST_SUITE_P(Overlays, BatchOverlayTest,
                         ::testing::Values(OverlayCase{"text", true, false, false, false},
                                           OverlayCase{"logo_swapped", false, true, false, true},
                                           OverlayCase{"border", false, false, true, false},
                                           OverlayCase{"all_swapped", true, true, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- settings -------------------------------------------------------------------------

TEST(BatchSettingsTest, DialogStartsFromTheStoredChoices) {
    Settings settings = DefaultSettings("/prog/");
    settings.nQuality = 85;
    settings.saveFolder = "/photos/out/";
    settings.nAnatype = 3;
    settings.nAnactype = 1;
    settings.nGmmar = 120;
    settings.nGmmab = 80;
    const BatchOptions options = BatchOptionsFromSettings(settings);
    EXPECT_EQ(options.quality, 85);
    EXPECT_EQ(options.targetFolder, "/photos/out");
    EXPECT_EQ(options.greyPair, GreyAnaglyphPair::YellowBlue);
    EXPECT_EQ(options.colourKind, ColourAnaglyphKind::HalfToneRedCyan);
    EXPECT_EQ(options.anaglyphLeftGamma, 120);
    EXPECT_EQ(options.anaglyphRightGamma, 80);
    const BatchEnvironment environment = BatchEnvironmentFromSettings(settings);
    EXPECT_TRUE(environment.annotations.text && environment.annotations.logo &&
                environment.annotations.border);
}

}  // namespace
}  // namespace duplora
