// The settings windows as the user meets them: each dialog is shown through the scripted host,
// typed into and clicked, and what reaches the settings file is read back.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "app/shell/file_associations.h"
#include "app/shell/send_to.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "gui/shell/settings_windows.h"
#include "gui_test_main.h"
#include "scripted_host.h"
#include "support/qt_files.h"

namespace duplora {
namespace {

using test::ClickButton;
using test::ClickControl;
using test::Control;
using test::Press;
using test::Shown;
using test::TypeOver;

bool IsShown(QWidget& dialog, int id) {
    QWidget* control = Control(dialog, id);
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control && control->isVisible();
}

QString FocusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

// Presses Tab in the focused control until `id` has the focus; false when it never comes.
bool TabTo(int id) {
    const QString name = QStringLiteral("ctl%1").arg(id);
    for (int press = 0; press < 40 && FocusName() != name; ++press)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return FocusName() == name;
}

void ExpectOkCancel(QDialog& dialog, const char* resource) {
    EXPECT_EQ(dialog.objectName(), QLatin1String(resource));
    EXPECT_FALSE(dialog.windowTitle().isEmpty());
    auto* ok = Shown<QAbstractButton>(dialog, 1);
    auto* cancel = Shown<QAbstractButton>(dialog, 2);
    EXPECT_EQ(ok ? ok->text() : QString(), QStringLiteral("OK"));
    EXPECT_EQ(cancel ? cancel->text() : QString(), QStringLiteral("Abbrechen"));
}

class SettingsWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        store_ = std::make_unique<SettingsStore>(IniPath());
        settings_ = ReadAllSettings(*store_, dir_.path().toStdString());
        context_.host = &host_;
        context_.settings = &settings_;
        context_.store = store_.get();
        context_.programPath = dir_.filePath(QStringLiteral("bin/duplora"));
        context_.desktopFolders = Folders();
        context_.refreshDesktopDatabases = false;
    }
    void TearDown() override { EXPECT_EQ(host_.PendingScripts(), 0) << "a script was never run"; }

    QString IniPath() const { return dir_.filePath(QStringLiteral("duplmaker.ini")); }
    DesktopFolders Folders() const {
        return {dir_.filePath(QStringLiteral("config")), dir_.filePath(QStringLiteral("data"))};
    }
    FileAssociations Associations() const {
        return FileAssociations(Folders(), context_.programPath, false);
    }
    SendToLauncher SendTo() const {
        return SendToLauncher(Folders().dataHome, context_.programPath);
    }
    std::string Stored(std::string_view name) const { return store_->ReadSetting(name); }
    // What the next start reads.
    Settings Restarted() const {
        SettingsStore again(IniPath());
        return ReadAllSettings(again, dir_.path().toStdString());
    }
    QString MakeFile(const QString& relative) {
        const QString path = dir_.filePath(relative);
        EXPECT_TRUE(test::WriteFileBytes(path, {}));
        return path;
    }

    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;
    Settings settings_;
    test::ScriptedHost host_;
    SettingsWindowContext context_;
};

// ---- SETTEI ------------------------------------------------------------------------------

struct StepCase {
    const char* typed;
    const char* step;             // alignmentStep stored
    const char* lzwAccessMarker;  // `lzwAccessMarker` stored
};

class SettingsStepField : public SettingsWindows, public ::testing::WithParamInterface<StepCase> {};

// The alignment step has the focus; what is typed there and confirmed with Return is stored,
// clamped, or switches on LZW reading.
TEST_P(SettingsStepField, TypedStepIsClampedOrSwitchesOnLzw) {
    host_.Queue([](QDialog& dialog) {
        ExpectOkCancel(dialog, "SETTEI");
        EXPECT_EQ(FocusName(), QStringLiteral("ctl3161"));
        test::TypeIntoFocus(QString::fromUtf8(GetParam().typed));
    });
    EXPECT_TRUE(RunSettingsDialog(context_));
    EXPECT_EQ(Stored("nAdjustv"), GetParam().step);
    EXPECT_EQ(Stored("special"), GetParam().lzwAccessMarker);
    EXPECT_EQ(Restarted().alignmentStep, std::stoi(GetParam().step));
    EXPECT_EQ(LzwTiffAllowed(Restarted()), *GetParam().lzwAccessMarker != '\0');
}

INSTANTIATE_TEST_SUITE_P(SettingsWindows, SettingsStepField,
                         ::testing::Values(StepCase{"3947", "4", "604718"}, StepCase{"0", "1", ""},
                                           StepCase{"-x25", "25", ""}));

TEST_F(SettingsWindows, SetteiImmediateActionsStayWhenCancelled) {
    host_.Queue([this](QDialog& dialog) {
        EXPECT_FALSE(Shown<QCheckBox>(dialog, 3061)->isChecked());
        ClickControl(dialog, 3061);
        EXPECT_EQ(Stored("nKantyo"), "1");
        EXPECT_TRUE(Shown<QCheckBox>(dialog, 3063)->isChecked());
        ClickControl(dialog, 3063);
        EXPECT_EQ(Stored("n2action"), "0");
        ClickControl(dialog, 1239);
        EXPECT_TRUE(Associations().IsAssociated(AssociationType::Jpg));
        EXPECT_TRUE(Shown<QCheckBox>(dialog, 1239)->isChecked());
        ClickControl(dialog, 1207);
        EXPECT_TRUE(SendTo().Exists());

        host_.Queue([](QDialog& chooser) {
            auto* colours = qobject_cast<QColorDialog*>(&chooser);
            ASSERT_NE(colours, nullptr);
            colours->setCurrentColor(QColor(16, 32, 48));
            EXPECT_TRUE(ClickButton(chooser, QStringLiteral("OK")));
        });
        ClickControl(dialog, 3230);
        EXPECT_EQ(Shown(dialog, 3232)->palette().color(QPalette::Window), QColor(16, 32, 48));

        TypeOver(Control(dialog, 3161), QStringLiteral("50"));
        TypeOver(Control(dialog, 1246), QStringLiteral("99"));
        EXPECT_TRUE(ClickButton(dialog, QStringLiteral("Abbrechen")));
    });
    EXPECT_FALSE(RunSettingsDialog(context_));
    EXPECT_EQ(Stored("nAdjustv"), "");
    EXPECT_EQ(Stored("SlideTime"), "");
    const Settings next = Restarted();
    EXPECT_EQ(std::tuple(next.adjustDialogMaximised, next.twoStepTrim), std::tuple(1, 0));
    EXPECT_EQ(next.border.background, ColourRef(16, 32, 48));
    EXPECT_EQ(BackgroundColour(settings_), QColor(16, 32, 48));
    EXPECT_TRUE(Associations().IsAssociated(AssociationType::Jpg));
}

TEST_F(SettingsWindows, SetteiOkTakesOverFieldsAndChosenFiles) {
    ASSERT_TRUE(Associations().Associate(AssociationType::Jps));
    ASSERT_TRUE(SendTo().Create());
    const QString plugin = MakeFile(QStringLiteral("plugins/ifpng.spi"));
    const QString program = MakeFile(QStringLiteral("tools/painter"));

    host_.Queue([&](QDialog& dialog) {
        EXPECT_TRUE(Shown<QCheckBox>(dialog, 1276)->isChecked());
        EXPECT_FALSE(Shown<QCheckBox>(dialog, 1237)->isChecked());
        ClickControl(dialog, 1276);
        EXPECT_FALSE(Associations().IsAssociated(AssociationType::Jps));
        ClickControl(dialog, 1209);
        EXPECT_FALSE(SendTo().Exists());

        host_.QueueTyping(plugin);
        ClickControl(dialog, 1250);
        EXPECT_EQ(Shown<QLineEdit>(dialog, 1249)->text(),
                  dir_.filePath(QStringLiteral("plugins/")));
        host_.QueueTyping(program);
        ClickControl(dialog, 1255);
        EXPECT_EQ(Shown<QLineEdit>(dialog, 1253)->text(), program);

        TypeOver(Control(dialog, 1246), QStringLiteral("55"));
        TypeOver(Control(dialog, 3074), QStringLiteral("150"));  // 0–99: the last digit is refused
        TypeOver(Control(dialog, 1349), QStringLiteral("720"));
        TypeOver(Control(dialog, 1350), QStringLiteral("576"));
        for (int box : {3062, 3095, 3091, 1305}) ClickControl(dialog, box);
        EXPECT_TRUE(ClickButton(dialog, QStringLiteral("OK")));
    });
    EXPECT_TRUE(RunSettingsDialog(context_));
    const Settings next = Restarted();
    EXPECT_EQ(next.pluginFolder, dir_.filePath(QStringLiteral("plugins/")).toStdString());
    EXPECT_EQ(next.externalProgram, program.toStdString());
    EXPECT_EQ(std::tuple(next.slideTime, next.frameWidth, next.trimPresets[0], next.trimPresets[1],
                         next.trimPresets[2]),
              std::tuple(55, 15, 720, 576, 800));
    EXPECT_EQ(std::tuple(next.startMaximised, next.packToCentre, next.presetTrimRescales,
                         next.passPictureToExternalProgram),
              std::tuple(1, 1, 1, 1));
    EXPECT_EQ(next, settings_) << "the running program and the next start disagree";
}

// ---- W3D ---------------------------------------------------------------------------------

TEST_F(SettingsWindows, PageFlipShowsTheDriversControlsAndWritesEachChoice) {
    settings_.pageFlipColourDepth = 0;  // read as 16 bits
    host_.Queue([this](QDialog& dialog) {
        ExpectOkCancel(dialog, "W3D");
        EXPECT_EQ(FocusName(), QStringLiteral("ctl3163"));  // NVidia, the start value
        for (int id : {1024, 1025, 1026}) EXPECT_TRUE(IsShown(dialog, id)) << id;
        for (int id : {1027, 1028}) EXPECT_FALSE(IsShown(dialog, id)) << id;
        EXPECT_EQ(Shown<QComboBox>(dialog, 1026)->currentText(), QStringLiteral("64K Farben (16)"));

        ASSERT_TRUE(TabTo(1024));
        Press(Qt::Key_Down);
        EXPECT_EQ(Stored("n3DSize"), "3");
        ASSERT_TRUE(TabTo(1026));
        Press(Qt::Key_Down);
        EXPECT_EQ(Stored("n3DBpp"), "2");

        ClickControl(dialog, 3164);
        EXPECT_EQ(Stored("nVidia"), "2");
        for (int id : {1024, 1025, 1026}) EXPECT_FALSE(IsShown(dialog, id)) << id;
        for (int id : {1027, 1028}) EXPECT_TRUE(IsShown(dialog, id)) << id;
        ASSERT_TRUE(TabTo(1028));
        Press(Qt::Key_End);
        EXPECT_EQ(Stored("nTSize"), "8");
        Press(Qt::Key_Escape);
    });
    RunPageFlipDialog(context_);
    const Settings next = Restarted();
    EXPECT_EQ(std::tuple(next.pageFlipScreenMode, next.pageFlipColourDepth, next.pageFlipDriver,
                         next.textureSize),
              std::tuple(3, 2, 2, 8));

    // Opened again with OpenGL, the texture list shows and the screen mode is hidden.
    host_.Queue([](QDialog& dialog) {
        EXPECT_EQ(FocusName(), QStringLiteral("ctl3164"));
        EXPECT_EQ(Shown<QComboBox>(dialog, 1028)->currentText(), QStringLiteral("10240X10240"));
        EXPECT_FALSE(IsShown(dialog, 1024));
    });
    RunPageFlipDialog(context_);
}

// ---- COMSET ------------------------------------------------------------------------------

TEST_F(SettingsWindows, CommandLineStartWritesBothChoicesOnOkOnly) {
    host_.Queue([](QDialog& dialog) {
        ExpectOkCancel(dialog, "COMSET");
        EXPECT_EQ(FocusName(), QStringLiteral("ctl3001"));
        ClickControl(dialog, 3007);
        ClickControl(dialog, 1505);
        Press(Qt::Key_Return);
    });
    RunCommandLineStartDialog(context_);
    EXPECT_EQ(Stored("comset"), "65");

    host_.Queue([](QDialog& dialog) {
        EXPECT_TRUE(Shown<QAbstractButton>(dialog, 3007)->isChecked());
        EXPECT_TRUE(Shown<QAbstractButton>(dialog, 1505)->isChecked());
        ClickControl(dialog, 3002);
        ClickControl(dialog, 1500);
        Press(Qt::Key_Escape);
    });
    RunCommandLineStartDialog(context_);
    EXPECT_EQ(Stored("comset"), "65");
    EXPECT_EQ(settings_.commandLineOpening, 65);
}

// ---- FREETRIM ----------------------------------------------------------------------------

// How a ratio with a zero side is stored is pinned with the settings' own tests.
TEST_F(SettingsWindows, FreeTrimTypedRatioAndTickIsStored) {
    host_.Queue([](QDialog& dialog) {
        ExpectOkCancel(dialog, "FREETRIM");
        EXPECT_EQ(FocusName(), QStringLiteral("ctl3236"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("16"));
        ASSERT_TRUE(TabTo(3237));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("9"));
        ASSERT_TRUE(TabTo(3218));
        Press(Qt::Key_Space);
        Press(Qt::Key_Return);
    });
    RunFreeTrimDialog(context_);
    EXPECT_EQ(Stored("nAspect"), "1\t16\t9\t");
}

TEST_F(SettingsWindows, FreeTrimCancelWritesNothing) {
    host_.Queue([](QDialog&) { Press(Qt::Key_Return); });  // OK with the shown 4 : 3
    host_.Queue([](QDialog& dialog) {
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
        ClickControl(dialog, 3218);
        Press(Qt::Key_Escape);
    });
    RunFreeTrimDialog(context_);
    EXPECT_EQ(Stored("nAspect"), "0\t4\t3\t");
    RunFreeTrimDialog(context_);
    EXPECT_EQ(Stored("nAspect"), "0\t4\t3\t");
    EXPECT_EQ(settings_.freeTrimRatio, (AspectSet{0, 4, 3}));
}

// ---- ABOUT -------------------------------------------------------------------------------

TEST_F(SettingsWindows, AboutNamesProgramAndVersionAndClosesEitherWay) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        host_.Queue([key](QDialog& dialog) {
            ExpectOkCancel(dialog, "ABOUT");
            QStringList texts;
            for (QLabel* label : dialog.findChildren<QLabel*>())
                if (label->isVisible()) texts << label->text();
            EXPECT_TRUE(texts.contains(QStringLiteral("Duplora")));
            EXPECT_TRUE(texts.join(' ').contains(ProgramVersion()));
            EXPECT_EQ(FocusName(), QStringLiteral("ctl1"));
            Press(key);
            EXPECT_FALSE(dialog.isVisible());
        });
        RunAboutDialog(nullptr, host_);
    }
    EXPECT_FALSE(ProgramVersion().isEmpty());
    EXPECT_FALSE(QFile::exists(IniPath()));
}

}  // namespace
}  // namespace duplora
