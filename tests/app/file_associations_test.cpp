// File associations in the user's mimeapps.list, the desktop entry and mime types that go with
// them, and the file manager's "send to" script.
#include "app/shell/file_associations.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include "app/shell/send_to.h"
#include "support/qt_files.h"

namespace duplora {
namespace {

const QString kExecutable = QStringLiteral("/opt/Duplora 1/bin/duplora");
constexpr auto kJpg = AssociationType::Jpg, kJps = AssociationType::Jps,
               kDas = AssociationType::Das;

using test::FileBytes;

void WriteAll(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(test::WriteFileBytes(path, bytes));
}

class FileAssociationsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir_.isValid());
    }
    // The folders of a home of its own under the temporary folder.
    DesktopFolders Home(const QString& name = QStringLiteral("home")) const {
        return {dir_.filePath(name + "/config"), dir_.filePath(name + "/data")};
    }
    QString ScriptPath() const {
        return Home().dataHome + QStringLiteral("/nautilus/scripts/Duplora");
    }

    QTemporaryDir dir_;
    FileAssociations assoc_{Home(), kExecutable, false};
};

// A mimeapps.list as it may be found: missing (null), empty, and with all sorts of content;
// JPG alone needs no mime types of our own; all three in an order other than the menu's; off
// in the same or the other order.
TEST_F(FileAssociationsTest, OnThenOffLeavesTheListAsItWas) {
    const char* const previousLists[] = {
        nullptr,
        "",
        "[Default Applications]\nimage/jpeg=org.gnome.eog.desktop;\ntext/plain=gedit.desktop;\n",
        "[Added Associations]\nimage/png=gimp.desktop;\n\n[Default Applications]\n"
        "text/plain=gedit.desktop;\n",
        "[Added Associations]\nimage/jpeg=gimp.desktop;",
        "[Default Applications]\r\nimage/jpeg = eog.desktop;gimp.desktop;\r\n# note\r\n",
        "# mine\n[Default Applications]\n#image/jpeg=old.desktop;\nimage/jpegx=foo;\n\n"
        "[Removed Associations]\nimage/x-jps=bad.desktop;\n",
        "\n\n[Default Applications]\nimage/x-das=other.desktop;\nimage/jpeg=\n",
    };
    using Order = std::vector<AssociationType>;
    int home = 0;
    for (const char* previous : previousLists)
        for (const Order& order : {Order{kJpg}, Order{kDas, kJpg, kJps}})
            for (bool offInSameOrder : {true, false}) {
                SCOPED_TRACE(testing::Message() << (previous ? previous : "(none)") << " types "
                                                << order.size() << " same " << offInSameOrder);
                FileAssociations assoc(Home(QString::number(++home)), kExecutable, false);
                if (previous) WriteAll(assoc.MimeAppsPath(), previous);
                for (AssociationType t : order) {
                    EXPECT_FALSE(assoc.IsAssociated(t));
                    ASSERT_TRUE(assoc.Associate(t));
                    EXPECT_TRUE(assoc.IsAssociated(t));
                }
                const QByteArray on = FileBytes(assoc.MimeAppsPath());
                for (AssociationType t : order)
                    EXPECT_TRUE(
                        on.contains(QByteArray(AssociationOf(t).mimeType) + "=duplora.desktop;"))
                        << on.toStdString();
                EXPECT_TRUE(QFile::exists(assoc.DesktopEntryPath()));
                EXPECT_EQ(QFile::exists(assoc.MimePackagePath()), order.size() > 1);
                Order off = order;
                if (!offInSameOrder) std::reverse(off.begin(), off.end());
                for (AssociationType t : off) {
                    ASSERT_TRUE(assoc.Dissociate(t));
                    EXPECT_FALSE(assoc.IsAssociated(t));
                }
                if (previous) {
                    EXPECT_EQ(FileBytes(assoc.MimeAppsPath()), QByteArray(previous));
                } else {
                    EXPECT_FALSE(QFile::exists(assoc.MimeAppsPath()));
                }
                for (const QString& path :
                     {assoc.DesktopEntryPath(), assoc.MimePackagePath(), assoc.UndoPath()})
                    EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
            }
}

TEST_F(FileAssociationsTest, KeepsThePreviousDefaultAndShowsOurs) {
    const QByteArray before =
        "[Default Applications]\nimage/jpeg=org.gnome.eog.desktop;\ntext/plain=gedit.desktop;\n";
    WriteAll(assoc_.MimeAppsPath(), before);
    ASSERT_TRUE(assoc_.Associate(kJpg));
    EXPECT_EQ(FileBytes(assoc_.MimeAppsPath()),
              "[Default Applications]\nimage/jpeg=duplora.desktop;\ntext/plain=gedit.desktop;\n");
    // Switching on twice must not take our own entry for the previous one.
    ASSERT_TRUE(assoc_.Associate(kJpg));
    ASSERT_TRUE(assoc_.Dissociate(kJpg));
    EXPECT_EQ(FileBytes(assoc_.MimeAppsPath()), before);
    // Switching off what is not on changes nothing.
    ASSERT_TRUE(assoc_.Dissociate(kJpg));
    EXPECT_EQ(FileBytes(assoc_.MimeAppsPath()), before);
    // A new list gets one section.
    FileAssociations fresh(Home(QStringLiteral("fresh")), kExecutable, false);
    ASSERT_TRUE(fresh.Associate(kJpg));
    ASSERT_TRUE(fresh.Associate(kJps));
    EXPECT_EQ(
        FileBytes(fresh.MimeAppsPath()),
        "[Default Applications]\nimage/x-jps=duplora.desktop;\nimage/jpeg=duplora.desktop;\n");
}

TEST_F(FileAssociationsTest, ChangesMadeMeanwhileStay) {
    WriteAll(assoc_.MimeAppsPath(), "[Default Applications]\nimage/jpeg=eog.desktop;\n");
    ASSERT_TRUE(assoc_.Associate(kJpg));
    QByteArray list = FileBytes(assoc_.MimeAppsPath());
    WriteAll(assoc_.MimeAppsPath(), list + "\n[Added Associations]\ntext/html=firefox.desktop;\n");
    ASSERT_TRUE(assoc_.Dissociate(kJpg));
    EXPECT_EQ(FileBytes(assoc_.MimeAppsPath()),
              "[Default Applications]\nimage/jpeg=eog.desktop;\n\n"
              "[Added Associations]\ntext/html=firefox.desktop;\n");
    // The user picked another program after us: that choice is kept.
    ASSERT_TRUE(assoc_.Associate(kJpg));
    list = FileBytes(assoc_.MimeAppsPath());
    list.replace("image/jpeg=duplora.desktop;", "image/jpeg=gimp.desktop;");
    WriteAll(assoc_.MimeAppsPath(), list);
    EXPECT_FALSE(assoc_.IsAssociated(kJpg));
    ASSERT_TRUE(assoc_.Dissociate(kJpg));
    EXPECT_EQ(FileBytes(assoc_.MimeAppsPath()), list);
    EXPECT_FALSE(QFile::exists(assoc_.UndoPath()));
    EXPECT_FALSE(QFile::exists(assoc_.DesktopEntryPath()));
}

TEST_F(FileAssociationsTest, DesktopEntryAndMimeTypes) {
    FileAssociations quoted(Home(), QStringLiteral("/opt/a \"b\" $c\\d 100%/duplora"), false);
    ASSERT_TRUE(quoted.Associate(kJps));
    const QByteArray entry = FileBytes(quoted.DesktopEntryPath());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\nName=Duplora\n"));
    // Quoted for the command line, then escaped for the key file.
    EXPECT_TRUE(entry.contains("Exec=\"/opt/a \\\\\"b\\\\\" \\\\$c\\\\\\\\d 100%%/duplora\" %f\n"))
        << entry.toStdString();
    EXPECT_TRUE(entry.contains("MimeType=image/jpeg;image/x-jps;image/x-das;\n"));
    QByteArray xml = FileBytes(quoted.MimePackagePath());
    for (const char* part : {"<mime-type type=\"image/x-jps\">", "<comment>JPS Bild</comment>",
                             "<glob pattern=\"*.jps\"/>"})
        EXPECT_TRUE(xml.contains(part)) << part;
    EXPECT_FALSE(xml.contains("image/x-das"));
    ASSERT_TRUE(quoted.Associate(kDas));
    xml = FileBytes(quoted.MimePackagePath());
    EXPECT_TRUE(xml.contains("<comment>BMP Bild</comment>"));
    EXPECT_TRUE(xml.contains("<glob pattern=\"*.das\"/>"));
    ASSERT_TRUE(quoted.Dissociate(kJps));
    EXPECT_FALSE(FileBytes(quoted.MimePackagePath()).contains("image/x-jps"));
    EXPECT_TRUE(QFile::exists(quoted.DesktopEntryPath()));
}

TEST_F(FileAssociationsTest, HandMadeDesktopEntryAndUnreadableListAreLeftAlone) {
    const QByteArray mine = "[Desktop Entry]\nType=Application\nName=Mine\nExec=mine %f\n";
    WriteAll(assoc_.DesktopEntryPath(), mine);
    ASSERT_TRUE(assoc_.Associate(kJpg));
    EXPECT_EQ(FileBytes(assoc_.DesktopEntryPath()), mine);
    ASSERT_TRUE(assoc_.Dissociate(kJpg));
    EXPECT_EQ(FileBytes(assoc_.DesktopEntryPath()), mine);

    FileAssociations folder(Home(QStringLiteral("folder")), kExecutable, false);
    ASSERT_TRUE(QDir().mkpath(folder.MimeAppsPath()));
    EXPECT_FALSE(folder.Associate(kJpg));
    EXPECT_FALSE(folder.IsAssociated(kJpg));
    EXPECT_TRUE(QFileInfo(folder.MimeAppsPath()).isDir());
    EXPECT_FALSE(QFile::exists(folder.DesktopEntryPath()));
}

TEST_F(FileAssociationsTest, SendToLauncherIsCreatedOnceAndRemoved) {
    SendToLauncher launcher(Home().dataHome, kExecutable);
    EXPECT_FALSE(launcher.Exists());
    ASSERT_TRUE(launcher.Create());
    ASSERT_TRUE(launcher.Create());  // again: replaced, not doubled
    EXPECT_TRUE(launcher.Exists());
    for (const QString& path : launcher.Paths()) {
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        EXPECT_TRUE(path.startsWith(Home().dataHome));
        EXPECT_TRUE(FileBytes(path).contains("/opt/Duplora 1/bin/duplora")) << path.toStdString();
    }
    EXPECT_EQ(FileBytes(ScriptPath()), "#!/bin/sh\nexec '/opt/Duplora 1/bin/duplora' \"$@\"\n");
    EXPECT_TRUE(QFileInfo(ScriptPath()).isExecutable());
    ASSERT_TRUE(launcher.Remove());
    EXPECT_FALSE(launcher.Exists());
    for (const QString& path : launcher.Paths()) EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(launcher.Remove());
}

TEST_F(FileAssociationsTest, SendToScriptHandsTheFilesOver) {
    if (QStandardPaths::findExecutable(QStringLiteral("sh")).isEmpty()) GTEST_SKIP();
    // A stand-in program in a folder whose name needs quoting; it records its arguments.
    const QString program = dir_.filePath(QStringLiteral("it's here $x/fake"));
    const QString record = dir_.filePath(QStringLiteral("args.txt"));
    WriteAll(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                          record.toUtf8() + "\"\n");
    QFile::setPermissions(program,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(SendToLauncher(Home().dataHome, program).Create());
    QProcess run;
    run.start(ScriptPath(), {QStringLiteral("/pics/a b_l.jpg"), QStringLiteral("/pics/c'd_r.jpg")});
    ASSERT_TRUE(run.waitForFinished(10000));
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_EQ(FileBytes(record), "/pics/a b_l.jpg\n/pics/c'd_r.jpg\n");
}

}  // namespace
}  // namespace duplora
