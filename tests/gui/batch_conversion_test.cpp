// Batch conversion as the user meets it: Strg+K and Strg+J open the dialog, options are set
// on its shown controls, a run starts with the dialog's buttons and goes on in the modeless
// progress window, whose log fills in file order. What the engine does with each file is
// pinned in the core; here: the window's part, and that a run from the window writes exactly
// what duplora-convert writes.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "app/shell/settings.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/load_chain.h"
#include "core/strings.h"
#include "gui/batch/conversion_dialog.h"
#include "gui/batch/conversion_progress.h"
#include "gui/shell/ui_text.h"
#include "gui_test_main.h"
#include "res/core/string_ids.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ClickControl;
using test::Control;
using test::Settle;
using test::TypeOver;

// The names in `folder`, hidden ones included.
std::set<std::string> NamesIn(const QString& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.toStdString()))
        names.insert(entry.path().filename().string());
    return names;
}

class BatchConversion : public test::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("src")));
        source_ = dir_.filePath(QStringLiteral("src"));
        target_ = dir_.filePath(QStringLiteral("out"));
        store_->WriteSettings({{std::string(setting::kOpenFolder), source_.toStdString()}});
    }

    // A side-by-side picture of width × height noise in the source folder.
    std::string Source(const QString& name, int width = 96, int height = 48) {
        const std::string path = (source_ + QLatin1Char('/') + name).toStdString();
        EXPECT_TRUE(test::WriteBmpForTest(
            test::MakeNoise(width, height, static_cast<std::uint32_t>(qHash(name))), path));
        return path;
    }
    QString Target(const QString& name) const { return target_ + QLatin1Char('/') + name; }

    // Plays the dialog: `options` sets what it shows, then `start` starts the run.
    void QueueDialog(const QString& name, std::function<void(ConversionDialog&)> options,
                     std::function<void(ConversionDialog&)> start) {
        host_.Queue([=, this](QDialog& shown) {
            auto* dialog = dynamic_cast<ConversionDialog*>(&shown);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->objectName(), name);
            EXPECT_TRUE(dialog->isVisible());
            TypeOver(Control<QLineEdit>(*dialog, 1410), target_);
            if (options) options(*dialog);
            start(*dialog);
        });
    }
    static void ConvertAll(ConversionDialog& dialog) { ClickControl(dialog, 1368); }

    BatchProgressWindow* Progress() const {
        return window_->findChild<BatchProgressWindow*>(QStringLiteral("PROCES"));
    }
    QString Log() const { return Progress() ? Progress()->LogText() : QString(); }
    bool WaitForEnd() const {
        BatchProgressWindow* window = Progress();
        return window && QTest::qWaitFor([window] { return !window->Running(); }, 120000);
    }

    QString source_;
    QString target_;
};

TEST_F(BatchConversion, StrgKRunsTheFolderAndLogsEveryFileInOrder) {
    Start();
    for (const char* name : {"c.bmp", "a.bmp", "b.bmp", "d.bmp"}) Source(QLatin1String(name));
    QueueDialog(
        QStringLiteral("MULTICONV"),
        [](ConversionDialog& d) { TypeOver(Control<QLineEdit>(d, 1215), QStringLiteral("80")); },
        ConvertAll);
    host_.QueueButton(QMessageBox::Yes);  // create the target folder
    host_.QueueButton(QMessageBox::Yes);  // start
    Key(Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(WaitForEnd());
    Settle();

    const auto& shown = host_.ShownDialogs();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].text.toStdString(),
              FormatResString(StringId::FolderMissingCreate, target_.toStdString().c_str()));
    EXPECT_EQ(shown[2].title, Res(StringId::ConfirmConversionCaption));
    EXPECT_TRUE(shown[2].text.startsWith(QStringLiteral("DPL wird [4] von [JPG] Dateien")));

    const QString log = Log();
    EXPECT_TRUE(log.startsWith(QStringLiteral("Input:") + source_ + QStringLiteral("-> Output:") +
                               target_ + QStringLiteral(" [JPG]\n\n")));
    qsizetype at = 0;
    int i = 0;
    for (const char* name : {"a", "b", "c", "d"}) {
        const QString line = QStringLiteral("\"%1/4 Quelle(%2.bmp)\"").arg(++i).arg(name);
        const qsizetype found = log.indexOf(line);
        EXPECT_GT(found, at) << line.toStdString();
        at = found;
    }
    EXPECT_EQ(log.count(QStringLiteral("Ergebmis : Erfolgreich")), 4);
    EXPECT_EQ(NamesIn(target_), (std::set<std::string>{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));

    // Over: "Abbrechen" shows instead of "Anhalten", and closes the window.
    BatchProgressWindow& progress = *Progress();
    EXPECT_EQ(progress.windowTitle(), Res(StringId::BatchTitle));
    EXPECT_FALSE(Control<QPushButton>(progress, 2)->isVisible());
    ClickControl(progress, 1);
    EXPECT_FALSE(progress.isVisible());
    // The run left its quality and target in the settings.
    EXPECT_EQ(window_->CurrentSettings().jpegQuality, 80);
    EXPECT_EQ(window_->CurrentSettings().saveFolder, target_.toStdString());
    EXPECT_EQ(store_->ReadSetting(setting::kNQuality), "80");
}

TEST_F(BatchConversion, AnhaltenDuringTheThirdOfTenLeavesThreeOutputsAndNoHalfFile) {
    Start();
    ASSERT_TRUE(QDir().mkpath(target_));
    // The third file's output is there already: the run asks about it in its window, and
    // "Anhalten" comes while the user is at it. The fourth file ("f2.jps") makes the same
    // output and waits for the third; the later ones are big, in case more are converted at
    // once than this machine does.
    for (int i = 0; i < 9; ++i)
        Source(QStringLiteral("f%1.bmp").arg(i), i < 3 ? 96 : 2000, i < 3 ? 48 : 1000);
    ASSERT_TRUE(EncodeJpegImage((source_ + QStringLiteral("/f2.jps")).toStdString(),
                                test::MakeNoise(96, 48, 7), true, 90));
    ASSERT_TRUE(test::WriteFileBytes(Target(QStringLiteral("f2.jpg")), "old"));
    QueueDialog(QStringLiteral("MULTICONV"), {}, ConvertAll);
    host_.QueueButton(QMessageBox::Yes);
    bool asked = false;
    host_.Queue([&](QDialog& shown) {
        auto* box = qobject_cast<QMessageBox*>(&shown);
        ASSERT_NE(box, nullptr);
        asked = true;
        EXPECT_EQ(box->text(), Res(StringId::FileExistsOverwrite));
        EXPECT_EQ(box->parentWidget(), Progress());
        const QString asking = QStringLiteral("\"3/10 Quelle(f2.bmp)\"-> Ausgabe(%1)\n")
                                   .arg(Target(QStringLiteral("f2.jpg")));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Log().endsWith(asking); }, 20000))
            << Log().toStdString();
        box->button(QMessageBox::Yes)->click();
        Settle(2);
        // The main window stays usable meanwhile.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        ClickControl(*Progress(), 2);
        EXPECT_EQ(host_.LastText(), Res(StringId::BatchStopAfterCurrent));
    });
    Key(Qt::Key_K, Qt::ControlModifier);
    BatchProgressWindow* progress = Progress();
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(WaitForEnd());
    Settle();

    EXPECT_TRUE(asked);
    EXPECT_EQ(NamesIn(target_), (std::set<std::string>{"f0.jpg", "f1.jpg", "f2.jpg"}));
    const QString log = Log();
    EXPECT_EQ(log.count(QStringLiteral("Ergebmis : Erfolgreich")), 3);
    EXPECT_FALSE(log.contains(QStringLiteral("4/10")));
    EXPECT_TRUE(progress->Summary().stopped);
    for (const char* name : {"f0.jpg", "f1.jpg", "f2.jpg"})
        EXPECT_TRUE(LoadImageFile(Target(QLatin1String(name)).toStdString()).image) << name;
    EXPECT_TRUE(Control<QPushButton>(*progress, 1)->isVisible());
    EXPECT_FALSE(Control<QPushButton>(*progress, 2)->isVisible());
}

TEST_F(BatchConversion, UnreadableFileIsLoggedAndSkippedWhileTheRestConvert) {
    Start();
    ASSERT_TRUE(QDir().mkpath(target_));
    Source(QStringLiteral("a.bmp"));
    ASSERT_TRUE(test::WriteFileBytes(source_ + QStringLiteral("/b.jpg"), "not a picture"));
    Source(QStringLiteral("c.bmp"));
    QueueDialog(QStringLiteral("MULTICONV"), {}, ConvertAll);
    host_.QueueButton(QMessageBox::Yes);
    Key(Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(WaitForEnd());
    Settle();
    const QString log = Log();
    EXPECT_TRUE(
        log.contains(QStringLiteral("\"2/3 Quelle(b.jpg)\"Ergebnis: Leserfehler.\n\n\"3/3")))
        << log.toStdString();
    EXPECT_EQ(NamesIn(target_), (std::set<std::string>{"a.jpg", "c.jpg"}));
    // The box about the file was shown in the progress window.
    bool told = false;
    for (const auto& shown : host_.ShownDialogs())
        told = told || shown.text == Res(StringId::BatchOtherFileType);
    EXPECT_TRUE(told);
}

TEST_F(BatchConversion, OutputEqualsTheConvertersByteForByte) {
    Start();
    ASSERT_TRUE(QDir().mkpath(target_));
    Source(QStringLiteral("p1.bmp"), 320, 120);
    Source(QStringLiteral("p2.bmp"), 240, 90);
    QueueDialog(
        QStringLiteral("MULTICONV"),
        [](ConversionDialog& d) {
            ClickControl(d, 3103);  // over/under
            ClickControl(d, 3132);  // JPS
            TypeOver(Control<QLineEdit>(d, 1215), QStringLiteral("85"));
            ClickControl(d, 3109);
            TypeOver(Control<QLineEdit>(d, 3117), QStringLiteral("1.5"));
            TypeOver(Control<QLineEdit>(d, 3118), QStringLiteral("-2.0"));
            ClickControl(d, 3112);
            TypeOver(Control<QLineEdit>(d, 3116), QStringLiteral("1.20"));
            TypeOver(Control<QLineEdit>(d, 3119), QStringLiteral("0.90"));
            ClickControl(d, 1377);
            TypeOver(Control<QLineEdit>(d, 3115), QStringLiteral("10"));
            ClickControl(d, 3141);
        },
        [](ConversionDialog& d) {
            test::TypeFileName(d, QStringLiteral("\"p1.bmp\" \"p2.bmp\""));
        });
    host_.QueueButton(QMessageBox::Yes);
    Key(Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(WaitForEnd());

    QTemporaryDir home;
    const QString converted = home.filePath(QStringLiteral("cli"));
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(DUPLORA_CONVERT_PROGRAM),
              {QStringLiteral("-q"), QStringLiteral("-o"), converted, QStringLiteral("--to"),
               QStringLiteral("ou"), QStringLiteral("--type"), QStringLiteral("jps"),
               QStringLiteral("--quality"), QStringLiteral("85"), QStringLiteral("--angle"),
               QStringLiteral("1.5,-2.0"), QStringLiteral("--gamma"), QStringLiteral("1.20,0.90"),
               QStringLiteral("--sharpen"), QStringLiteral("10"), QStringLiteral("--swap"),
               source_ + QStringLiteral("/p1.bmp"), source_ + QStringLiteral("/p2.bmp")});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    for (const char* name : {"p1.jps", "p2.jps"}) {
        const QByteArray ours = test::FileBytes(Target(QLatin1String(name)));
        ASSERT_FALSE(ours.isEmpty()) << name;
        EXPECT_EQ(ours, test::FileBytes(converted + QLatin1Char('/') + QLatin1String(name)))
            << name;
    }
}

TEST_F(BatchConversion, StrgJConvertsTheEntriesOfAList) {
    Start();
    ASSERT_TRUE(QDir().mkpath(target_));
    Source(QStringLiteral("e1.bmp"));
    Source(QStringLiteral("e2.bmp"));
    ASSERT_TRUE(test::WriteFileBytes(source_ + QStringLiteral("/show.txt"),
                                     "11,0,0,0,0,e1.bmp,\r\n12,0,0,0,0,e2.bmp,\r\n"));
    QueueDialog(QStringLiteral("MULTICONV1"), {}, [](ConversionDialog& d) {
        EXPECT_EQ(Control<QCheckBox>(d, 1373)->text(), QStringLiteral("Umrechnen"));
        test::TypeFileName(d, QStringLiteral("show.txt"));
    });
    host_.QueueButton(QMessageBox::Yes);
    Key(Qt::Key_J, Qt::ControlModifier);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(host_.ShownDialogs().back().text.startsWith(QStringLiteral("DPL wird [2] von")));
    EXPECT_TRUE(Log().startsWith(QStringLiteral("Input:Slide Show List -> Output:")));
    EXPECT_EQ(NamesIn(target_), (std::set<std::string>{"e1.jpg", "e2.jpg"}));
}

TEST_F(BatchConversion, FieldsKeepTheirValuesAndFillFromTheQuickAdjustment) {
    store_->WriteSettings({{std::string(setting::kKantanTyousei), "15,-15,10,-20,7,3,1,2,3,4,"}});
    Start();
    const QString right = dir_.filePath(QStringLiteral("right"));
    ASSERT_TRUE(QDir().mkpath(right));
    const auto text = [](ConversionDialog& d, int id) { return Control<QLineEdit>(d, id)->text(); };
    host_.Queue([&](QDialog& shown) {
        auto& d = dynamic_cast<ConversionDialog&>(shown);
        // Filled from the quick adjustment the first time.
        EXPECT_EQ(text(d, 3117), QStringLiteral("1.5"));
        EXPECT_EQ(text(d, 3118), QStringLiteral("-1.5"));
        EXPECT_EQ(text(d, 3123), QStringLiteral("110"));
        EXPECT_EQ(text(d, 3124), QStringLiteral("80"));
        EXPECT_EQ(text(d, 3121), QStringLiteral("7"));
        EXPECT_EQ(text(d, 3122), QStringLiteral("-3"));
        ClickControl(d, 3064);  // "Löschen"
        for (int id : {3117, 3118}) EXPECT_EQ(text(d, id), QStringLiteral("0.0"));
        for (int id : {3123, 3124}) EXPECT_EQ(text(d, id), QStringLiteral("100"));
        for (int id : {3116, 3119}) EXPECT_EQ(text(d, id), QStringLiteral("1.00"));
        host_.QueueTyping(right);
        ClickControl(d, 1426);
        EXPECT_EQ(text(d, 1425), right);
        EXPECT_TRUE(Control<QCheckBox>(d, 1424)->isChecked());
        ClickControl(d, 3101);  // separate left and right files
        ClickControl(d, 3141);
        TypeOver(Control<QLineEdit>(d, 3113), QStringLiteral("800"));
        QTest::keyClick(d.NameBox(), Qt::Key_Escape);
    });
    Key(Qt::Key_K, Qt::ControlModifier);
    host_.Queue([&](QDialog& shown) {
        auto& d = dynamic_cast<ConversionDialog&>(shown);
        EXPECT_EQ(text(d, 3117), QStringLiteral("0.0"));
        EXPECT_EQ(text(d, 3113), QStringLiteral("800"));
        EXPECT_EQ(text(d, 1425), right);
        EXPECT_TRUE(Control<QCheckBox>(d, 3141)->isChecked());
        EXPECT_TRUE(Control<QRadioButton>(d, 3101)->isChecked());
        // The stored values come back on request.
        EXPECT_TRUE(test::ClickButton(d, QStringLiteral("Werte wiederherstellen")));
        EXPECT_EQ(text(d, 3123), QStringLiteral("110"));
    });
    Key(Qt::Key_K, Qt::ControlModifier);
}

TEST_F(BatchConversion, ClosingTheProgramDuringARunLeavesOnlyWholeFiles) {
    Start();
    ASSERT_TRUE(QDir().mkpath(target_));
    for (int i = 0; i < 6; ++i) Source(QStringLiteral("g%1.bmp").arg(i), 3200, 1600);
    QueueDialog(QStringLiteral("MULTICONV"), {}, ConvertAll);
    host_.QueueButton(QMessageBox::Yes);
    Key(Qt::Key_K, Qt::ControlModifier);
    BatchProgressWindow* progress = Progress();
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return Log().contains(QStringLiteral("\"2/6 Quelle(g1.bmp)\"")); }, 60000));
    window_->close();
    EXPECT_FALSE(progress->Running());
    Settle();
    const QString log = Log();
    std::set<std::string> logged;
    for (int i = 0; i < 6; ++i)
        if (log.contains(QStringLiteral("Quelle(g%1.bmp)\"-> Ausgabe(%2)\nErgebmis : Erfolgreich")
                             .arg(i)
                             .arg(Target(QStringLiteral("g%1.jpg").arg(i)))))
            logged.insert("g" + std::to_string(i) + ".jpg");
    EXPECT_LT(logged.size(), 6u);
    EXPECT_EQ(NamesIn(target_), logged);
}

}  // namespace
}  // namespace duplora
