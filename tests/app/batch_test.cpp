// Batch runs through the worker: every output type read back by us and by
// ImageMagick, stopping, list runs, and overlays as the edit commands draw them.
#include "app/batch/batch_worker.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

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
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::PixelAt;

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

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

WorkerRun RunWorker(BatchJob job, const BatchOptions& options, BatchEnvironment environment = {},
                    BatchThreads threads = {}, BatchWorker* worker = nullptr) {
    BatchWorker own;
    BatchWorker& w = worker ? *worker : own;
    WorkerRun run;
    std::mutex mutex;
    // Direct connections: the lines arrive on the worker's thread, in order.
    const QMetaObject::Connection connection = QObject::connect(
        &w, &BatchWorker::LogAppended, &w,
        [&](const QString& text) {
            std::lock_guard lock(mutex);
            run.log.push_back(text.toStdString());
        },
        Qt::DirectConnection);
    EXPECT_TRUE(w.Start(std::move(job), options, std::move(environment), std::move(threads)));
    w.Wait();
    QObject::disconnect(connection);
    EXPECT_FALSE(w.IsRunning());
    run.summary = w.Summary();
    return run;
}

// "W H" as ImageMagick reads it; empty when it cannot.
std::string Identify(const std::string& path) {
    QProcess identify;
    identify.start("identify", {"-format", "%w %h", QString::fromStdString(path)});
    if (!identify.waitForFinished(60000) || identify.exitCode() != 0) return {};
    return identify.readAllStandardOutput().toStdString();
}

class BatchTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(in_.isValid() && out_.isValid()); }
    std::string In(const std::string& name) const { return Path(in_, name); }
    std::string Out(const std::string& name) const { return Path(out_, name); }
    static std::string Path(const QTemporaryDir& dir, const std::string& name) {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    BatchOptions Options(OutputFormat type = OutputFormat::Bmp) const {
        BatchOptions options;
        options.targetFolder = out_.path().toStdString();
        options.outputType = type;
        return options;
    }
    // A list file of `text` and the run over it.
    BatchJob ListJob(const std::string& text, const BatchOptions& options, ListFile& file) {
        EXPECT_TRUE(test::WriteFileBytes(QString::fromStdString(In("show.txt")),
                                         QByteArray::fromStdString(text)));
        EXPECT_EQ(OpenList(In("show.txt"), file), ListResult::Ok);
        return MakeListJob(In("show.txt"), file, options);
    }

    QTemporaryDir in_, out_;
};

// Every output type of the dialog, read back by us and by ImageMagick. The layouts are the
// converter's tests' (the same run), the container that keeps the two files the core's.
TEST_F(BatchTest, RealPairInEveryOutputType) {
    if (!test::SampleExists("pairs/sugarshack_l.jpg")) GTEST_SKIP();
    const std::string left = In("sugarshack_l.jpg"), right = In("sugarshack_r.jpg");
    std::filesystem::copy_file(test::SamplePath("pairs/sugarshack_l.jpg"), left);
    std::filesystem::copy_file(test::SamplePath("pairs/sugarshack_r.jpg"), right);
    const ImageBuffer view = LoadImageFile(left).image;
    ASSERT_TRUE(view);
    const int w = view.Width(), h = view.Height();
    const bool identify = !QStandardPaths::findExecutable("identify").isEmpty();
    const struct {
        OutputFormat type;
        bool separateFiles;
    } cases[] = {{OutputFormat::Bmp, false},
                 {OutputFormat::Jpeg, false},
                 {OutputFormat::Jps, false},
                 {OutputFormat::Mpo, false},
                 {OutputFormat::Jpeg, true}};
    for (const auto& c : cases) {
        BatchOptions options = Options(c.type);
        options.sourceLayout = StereoLayout::Pair;
        options.separateFiles = c.separateFiles;
        options.exifThumbnail = c.type != OutputFormat::Bmp;
        options.targetFolder =
            Out(std::to_string(int(c.type)) + "-" + (c.separateFiles ? "lr" : ""));
        std::filesystem::create_directory(options.targetFolder);
        const WorkerRun run = RunWorker(MakeFileJob({left, right}, options), options);
        SCOPED_TRACE(run.Joined());
        EXPECT_TRUE(run.summary.AllConverted());
        const std::string stem = options.targetFolder + "/sugarshack_l";
        const std::string ext(FindOutputFormat(c.type)->extension);
        if (c.type == OutputFormat::Mpo) {
            const BatchViews views = OpenBatchStereoFile(stem + ext, StereoLayout::Mpo, {});
            ASSERT_TRUE(views);
            EXPECT_EQ(std::tuple(views.left.Height(), views.right.Width()), std::tuple(h, w));
            continue;
        }
        const std::vector<std::string> outputs =
            c.separateFiles ? std::vector<std::string>{stem + "_l" + ext, stem + "_r" + ext}
                            : std::vector<std::string>{stem + ext};
        const std::string size =
            std::to_string(c.separateFiles ? w : 2 * w) + " " + std::to_string(h);
        for (const std::string& file : outputs) {
            const ImageBuffer written = LoadImageFile(file).image;
            ASSERT_TRUE(written) << file;
            EXPECT_EQ(std::to_string(written.Width()) + " " + std::to_string(written.Height()),
                      size);
            if (identify) {
                EXPECT_EQ(Identify(file), size) << file;
            }
            if (c.type == OutputFormat::Bmp) continue;
            // JPG and JPS files open with the Exif block right after the start marker.
            const QByteArray head = test::FileBytes(QString::fromStdString(file)).left(10);
            EXPECT_EQ(head.mid(2, 2), QByteArray("\xFF\xE1")) << file;
            EXPECT_EQ(head.mid(6, 4), "Exif") << file;
        }
    }
}

// The boxes of a run reach the window's thread by queued signal, after their file's log.
TEST_F(BatchTest, MessagesArriveOnTheReceiversThread) {
    test::EnsureGuiApplication();  // the event loop that takes queued signals
    ASSERT_TRUE(WriteBmpFile(In("good.bmp"), MakeImage(8, 4, [](int, int) { return kWhite; })));
    ASSERT_TRUE(test::WriteFileBytes(QString::fromStdString(In("bad.jpg")), "not a picture"));
    const BatchOptions options = Options();
    BatchWorker worker;
    QObject receiver;
    std::vector<std::string> told;
    bool elsewhere = false;
    QObject::connect(&worker, &BatchWorker::Told, &receiver,
                     [&](const QString& text, const QString& caption, int icon) {
                         elsewhere |= QThread::currentThread() != receiver.thread();
                         told.push_back(caption.toStdString() + "|" + text.toStdString() + "|" +
                                        std::to_string(icon));
                     });
    ASSERT_TRUE(worker.Start(MakeFileJob({In("bad.jpg"), In("good.bmp")}, options), options, {}));
    worker.Wait();
    EXPECT_TRUE(told.empty());  // queued: nothing yet
    QCoreApplication::processEvents();
    EXPECT_FALSE(elsewhere);
    EXPECT_EQ(told, std::vector<std::string>{
                        "Achtung|Dieser Dateityp ist unterschiedlich. Diese Datei wird "
                        "übergangen.|0"});
    EXPECT_EQ(worker.Summary().converted, 1);
}

TEST_F(BatchTest, StopDuringFileThreeOfTenLeavesThreeResultsAndTheWorkerRunsAgain) {
    const ImageBuffer picture =
        MakeImage(16, 8, [](int x, int) { return x < 8 ? kWhite : kBlack; });
    std::vector<std::string> files;
    for (int i = 1; i <= 10; ++i) {
        files.push_back(In("p" + std::to_string(i) + ".bmp"));
        ASSERT_TRUE(WriteBmpFile(files.back(), picture));
    }
    // File 3's output exists, so the run asks about it while working on file 3.
    ASSERT_TRUE(WriteBmpFile(Out("p3.jpg"), picture));
    const BatchOptions options = Options(OutputFormat::Jpeg);
    BatchWorker worker;
    BatchThreads threads;
    threads.overwrite = OverwritePolicy::Asking([&worker](const Question&) {
        worker.Stop();  // "Anhalten" pressed while the question is up
        return true;
    });
    const WorkerRun run = RunWorker(MakeFileJob(files, options), options, {}, threads, &worker);
    // What a stop leaves in the log and the folder: the core's stop tests.
    EXPECT_TRUE(run.summary.stopped);
    EXPECT_EQ(run.summary.converted, 3);
    // The same worker takes the next run.
    const WorkerRun empty = RunWorker(BatchJob{}, options, {}, {}, &worker);
    EXPECT_EQ(empty.summary.items, 0);
    EXPECT_TRUE(empty.summary.AllConverted());
}

TEST_F(BatchTest, ListEntriesConvertWithTheirSwapAndAlignment) {
    ASSERT_TRUE(WriteBmpFile(In("l.bmp"), MakeImage(20, 12, [](int, int) { return kWhite; })));
    ASSERT_TRUE(WriteBmpFile(In("r.bmp"), MakeImage(20, 12, [](int, int) { return kBlack; })));
    ASSERT_TRUE(WriteBmpFile(
        In("sbs.bmp"), MakeImage(40, 12, [](int x, int) { return x < 20 ? kWhite : kBlack; })));
    BatchOptions options = Options();
    options.outputMode = DisplayMode::GreyAnaglyph;
    ListFile file;
    const BatchJob job = ListJob(
        "# a "
        "show\r\n21,0,0,4,0,l.bmp,r.bmp,\r\n21,0,1,4,2,l.bmp,r.bmp,\r\n11,0,1,-3,0,sbs.bmp,\r\n",
        options, file);
    ASSERT_EQ(job.items.size(), 3u);
    // The offsets are those the slide show gives the same entries.
    for (std::size_t i = 0; i < job.items.size(); ++i) {
        const SlidePlan plan = PlanSlide(file, In("show.txt"), static_cast<int>(i), {});
        const BatchItem& item = job.items[i];
        EXPECT_EQ(std::pair(item.dx, item.dy), std::pair(plan.dx, plan.dy)) << i;
        if (item.pair)
            EXPECT_EQ(item.left, plan.swapViews ? plan.right : plan.left) << i;
        else
            EXPECT_EQ(item.swapViews, plan.swapViews) << i;
    }
    const WorkerRun run = RunWorker(job, options);
    SCOPED_TRACE(run.Joined());
    EXPECT_TRUE(run.summary.AllConverted());
    EXPECT_EQ(run.log[0],
              "Input:Slide Show List -> Output:" + options.targetFolder + " [BMP]\r\n\r\n");
    // White on the left with four columns of alignment; swapped, the right file leads (and
    // names the output) with the offsets negated; one side-by-side file, swapped.
    const struct {
        const char* name;
        int width, height;
        std::uint32_t rgb;
    } outputs[] = {
        {"l.bmp", 16, 12, 0xFF0000}, {"r.bmp", 16, 10, 0x00FFFF}, {"sbs.bmp", 17, 12, 0x00FFFF}};
    for (const auto& o : outputs) {
        const ImageBuffer picture = ReadBmpFile(Out(o.name));
        ASSERT_TRUE(picture) << o.name;
        EXPECT_EQ(picture.Width(), o.width) << o.name;
        EXPECT_EQ(picture.Height(), o.height) << o.name;
        EXPECT_EQ(PixelAt(picture, 3, 3), o.rgb) << o.name;
    }
    // A DAS file only for pairs.
    options.outputType = OutputFormat::Das;
    const WorkerRun das = RunWorker(ListJob("11,0,0,0,0,sbs.bmp,\n", options, file), options);
    EXPECT_EQ(std::tuple(das.log.back(), das.summary.failed), std::tuple("Can not convert!  ", 1));
}

// The text, the logo and the frame of a batch run are exactly those the edit commands draw
// with the same settings: the left view at depth 0, the right one at the stored depth
// (negated when the views are exchanged), then the frame around both views.
TEST_F(BatchTest, OverlaysAreThoseTheEditCommandsDraw) {
    test::EnsureGuiApplication();
    const ImageBuffer first = MakeImage(
        48, 30, [](int x, int y) { return std::uint32_t(0x102030 + 0x030201 * ((x + y) % 17)); });
    const ImageBuffer second = MakeImage(
        48, 30, [](int x, int y) { return std::uint32_t(0x604020 + 0x010305 * ((x * y) % 13)); });
    ASSERT_TRUE(WriteBmpFile(In("a_l.bmp"), first));
    ASSERT_TRUE(WriteBmpFile(In("a_r.bmp"), second));
    // A logo with a transparent white pixel in its middle.
    const ImageBuffer logo = MakeImage(
        6, 5, [](int x, int y) { return x == 3 && y == 2 ? 0xFFFFFFu : 0x00C000u + 9u * x; });
    ASSERT_TRUE(WriteBmpFile(In("logo.bmp"), logo));
    // Text at the top left with a band of 9 rows, the logo at the bottom right with a band of
    // 4 and white transparent, a print frame of 2 + 5 + 1 with round corners.
    Settings settings = DefaultSettings("/prog/");
    settings.textSettings = {0, 6, 1, 4,    ColourRef(250, 20, 10), 0, 1, 1, 1, 0x202020,
                             1, 9, 0, "Ab3"};
    settings.textFont = test::PixelFont(11);
    settings.logoSettings = {3, 2, 3, -3, 1, 4, ColourRef(0, 0, 90), 1, 0xFFFFFF, In("logo.bmp")};
    settings.border.outerPrint = 2;
    settings.border.middlePrint = 5;
    settings.border.innerPrint = 1;

    const struct {
        const char* name;
        bool text, logo, border, swap;
    } cases[] = {{"text", true, false, false, false},
                 {"logo_swapped", false, true, false, true},
                 {"border", false, false, true, false},
                 {"all_swapped", true, true, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BatchOptions options = Options();
        options.sourceLayout = StereoLayout::Pair;
        options.text = c.text;
        options.logo = c.logo;
        options.border = c.border;
        options.swap = c.swap;
        options.targetFolder = Out(c.name);
        std::filesystem::create_directory(options.targetFolder);
        const WorkerRun run = RunWorker(MakeFileJob({In("a_l.bmp"), In("a_r.bmp")}, options),
                                        options, BatchEnvironmentFromSettings(settings));
        ASSERT_TRUE(run.summary.AllConverted());

        ImageBuffer left = DuplicateTrueColour(c.swap ? second : first);
        ImageBuffer right = DuplicateTrueColour(c.swap ? first : second);
        const int sign = c.swap ? -1 : 1;
        if (c.text) {
            left = test::Made(AddText(left, settings.textSettings, 0, settings.textFont));
            right = test::Made(AddText(right, settings.textSettings,
                                       sign * settings.textSettings.depth, settings.textFont));
        }
        if (c.logo) {
            left = test::Made(AddLogo(left, logo, LogoStampFor(settings.logoSettings, 0)));
            right = test::Made(
                AddLogo(right, logo,
                        LogoStampFor(settings.logoSettings, sign * settings.logoSettings.depth)));
        }
        ImageBuffer expected = MakeImage(2 * left.Width(), left.Height(), [&](int x, int y) {
            return x < left.Width() ? PixelAt(left, x, y) : PixelAt(right, x - left.Width(), y);
        });
        if (c.border)
            expected = test::Made(AddBorder(expected, DisplayMode::SideBySide, settings.border));
        ASSERT_TRUE(expected);
        EXPECT_TRUE(
            test::SamePixels(ReadBmpFile(options.targetFolder + "/a_l.bmp"), expected, c.name));
    }
}

TEST_F(BatchTest, DialogStartsFromTheStoredChoices) {
    Settings settings = DefaultSettings("/prog/");
    settings.jpegQuality = 85;
    settings.saveFolder = "/photos/out/";
    settings.greyAnaglyphPair = GreyAnaglyphPair::YellowBlue;
    settings.colourAnaglyphKind = ColourAnaglyphKind::HalfToneRedCyan;
    settings.leftGamma = 120;
    settings.rightGamma = 80;
    const BatchOptions options = BatchOptionsFromSettings(settings);
    EXPECT_EQ(std::tuple(options.quality, options.targetFolder), std::tuple(85, "/photos/out"));
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
