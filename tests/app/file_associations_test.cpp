#include "app/shell/file_associations.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <vector>

#include "app/shell/send_to.h"

namespace duplora {
namespace {

const QString kExecutable = QStringLiteral("/opt/Duplora 1/bin/duplora");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class TempHome {
  public:
    TempHome() {
        QStandardPaths::setTestModeEnabled(true);
        folders.configHome = dir.filePath(QStringLiteral("config"));
        folders.dataHome = dir.filePath(QStringLiteral("data"));
    }
    QTemporaryDir dir;
    DesktopFolders folders;
};

// A mimeapps.list as it may be found: missing (null), empty, and with all sorts of content.
const char* const kPreviousLists[] = {
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

// JPG alone needs no mime types of our own; all three, in an order other than the menu's.
using Order = std::vector<AssociationType>;
const Order kOrders[] = {
    {AssociationType::Jpg},
    {AssociationType::Das, AssociationType::Jpg, AssociationType::Jps},
};

class AssociationUndo : public ::testing::TestWithParam<std::tuple<const char*, Order, bool>> {};

TEST_P(AssociationUndo, OnThenOffLeavesTheListAsItWas) {
    const auto& [previous, order, offInSameOrder] = GetParam();
    TempHome home;
    FileAssociations assoc(home.folders, kExecutable, false);
    if (previous) WriteAll(assoc.MimeAppsPath(), previous);

    for (AssociationType t : order) {
        EXPECT_FALSE(assoc.IsAssociated(t));
        ASSERT_TRUE(assoc.Associate(t));
        EXPECT_TRUE(assoc.IsAssociated(t));
    }
    const QByteArray on = ReadAll(assoc.MimeAppsPath());
    for (AssociationType t : order) {
        const QByteArray line = QByteArray(AssociationOf(t).mimeType) + "=duplora.desktop;";
        EXPECT_TRUE(on.contains(line)) << on.toStdString();
    }
    EXPECT_TRUE(QFile::exists(assoc.DesktopEntryPath()));
    const bool ownTypes =
        std::find(order.begin(), order.end(), AssociationType::Jpg) == order.end() ||
        order.size() > 1;
    EXPECT_EQ(QFile::exists(assoc.MimePackagePath()), ownTypes);

    Order off = order;
    if (!offInSameOrder) std::reverse(off.begin(), off.end());
    for (AssociationType t : off) {
        ASSERT_TRUE(assoc.Dissociate(t));
        EXPECT_FALSE(assoc.IsAssociated(t));
    }
    if (previous) {
        EXPECT_EQ(ReadAll(assoc.MimeAppsPath()), QByteArray(previous));
    } else {
        EXPECT_FALSE(QFile::exists(assoc.MimeAppsPath()));
    }
    EXPECT_FALSE(QFile::exists(assoc.DesktopEntryPath()));
    EXPECT_FALSE(QFile::exists(assoc.MimePackagePath()));
    EXPECT_FALSE(QFile::exists(assoc.UndoPath()));
}

std::string UndoCaseName(const ::testing::TestParamInfo<AssociationUndo::ParamType>& info) {
    const auto list =
        std::find(std::begin(kPreviousLists), std::end(kPreviousLists), std::get<0>(info.param));
    return "List" + std::to_string(list - std::begin(kPreviousLists)) + "_Types" +
           std::to_string(std::get<1>(info.param).size()) +
           (std::get<2>(info.param) ? "_OffInOrder" : "_OffReversed");
}

INSTANTIATE_TEST_SUITE_P(Lists, AssociationUndo,
                         ::testing::Combine(::testing::ValuesIn(kPreviousLists),
                                            ::testing::ValuesIn(kOrders), ::testing::Bool()),
                         UndoCaseName);

class Association : public ::testing::Test {
  protected:
    TempHome home;
    FileAssociations assoc{home.folders, kExecutable, false};
};

TEST_F(Association, KeepsThePreviousDefaultAndShowsOurs) {
    const QByteArray before =
        "[Default Applications]\nimage/jpeg=org.gnome.eog.desktop;\ntext/plain=gedit.desktop;\n";
    WriteAll(assoc.MimeAppsPath(), before);
    ASSERT_TRUE(assoc.Associate(AssociationType::Jpg));
    EXPECT_EQ(ReadAll(assoc.MimeAppsPath()),
              "[Default Applications]\nimage/jpeg=duplora.desktop;\ntext/plain=gedit.desktop;\n");
    // Switching on twice must not take our own entry for the previous one.
    ASSERT_TRUE(assoc.Associate(AssociationType::Jpg));
    ASSERT_TRUE(assoc.Dissociate(AssociationType::Jpg));
    EXPECT_EQ(ReadAll(assoc.MimeAppsPath()), before);
    // Switching off what is not on changes nothing.
    ASSERT_TRUE(assoc.Dissociate(AssociationType::Jpg));
    EXPECT_EQ(ReadAll(assoc.MimeAppsPath()), before);
}

TEST_F(Association, ANewListGetsOneSection) {
    ASSERT_TRUE(assoc.Associate(AssociationType::Jpg));
    ASSERT_TRUE(assoc.Associate(AssociationType::Jps));
    EXPECT_EQ(ReadAll(assoc.MimeAppsPath()),
              "[Default Applications]\nimage/x-jps=duplora.desktop;\n"
              "image/jpeg=duplora.desktop;\n");
}

TEST_F(Association, ChangesMadeMeanwhileStay) {
    WriteAll(assoc.MimeAppsPath(), "[Default Applications]\nimage/jpeg=eog.desktop;\n");
    ASSERT_TRUE(assoc.Associate(AssociationType::Jpg));
    QByteArray list = ReadAll(assoc.MimeAppsPath());
    list += "\n[Added Associations]\ntext/html=firefox.desktop;\n";
    WriteAll(assoc.MimeAppsPath(), list);
    ASSERT_TRUE(assoc.Dissociate(AssociationType::Jpg));
    EXPECT_EQ(ReadAll(assoc.MimeAppsPath()),
              "[Default Applications]\nimage/jpeg=eog.desktop;\n\n"
              "[Added Associations]\ntext/html=firefox.desktop;\n");

    // The user picked another program after us: that choice is kept.
    ASSERT_TRUE(assoc.Associate(AssociationType::Jpg));
    list = ReadAll(assoc.MimeAppsPath());
    list.replace("image/jpeg=duplora.desktop;", "image/jpeg=gimp.desktop;");
    WriteAll(assoc.MimeAppsPath(), list);
    EXPECT_FALSE(assoc.IsAssociated(AssociationType::Jpg));
    ASSERT_TRUE(assoc.Dissociate(AssociationType::Jpg));
    EXPECT_EQ(ReadAll(assoc.MimeAppsPath()), list);
    EXPECT_FALSE(QFile::exists(assoc.UndoPath()));
    EXPECT_FALSE(QFile::exists(assoc.DesktopEntryPath()));
}

TEST_F(Association, DesktopEntryAndMimeTypes) {
    FileAssociations quoted(home.folders, QStringLiteral("/opt/a \"b\" $c\\d 100%/duplora"), false);
    ASSERT_TRUE(quoted.Associate(AssociationType::Jps));
    const QByteArray entry = ReadAll(quoted.DesktopEntryPath());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\nName=Duplora\n"));
    // Quoted for the command line, then escaped for the key file.
    EXPECT_TRUE(entry.contains("Exec=\"/opt/a \\\\\"b\\\\\" \\\\$c\\\\\\\\d 100%%/duplora\" %f\n"))
        << entry.toStdString();
    EXPECT_TRUE(entry.contains("MimeType=image/jpeg;image/x-jps;image/x-das;\n"));

    QByteArray xml = ReadAll(quoted.MimePackagePath());
    EXPECT_TRUE(xml.contains("<mime-type type=\"image/x-jps\">"));
    EXPECT_TRUE(xml.contains("<comment>JPS Bild</comment>"));
    EXPECT_TRUE(xml.contains("<glob pattern=\"*.jps\"/>"));
    EXPECT_FALSE(xml.contains("image/x-das"));
    ASSERT_TRUE(quoted.Associate(AssociationType::Das));
    xml = ReadAll(quoted.MimePackagePath());
    EXPECT_TRUE(xml.contains("<comment>BMP Bild</comment>"));
    EXPECT_TRUE(xml.contains("<glob pattern=\"*.das\"/>"));
    ASSERT_TRUE(quoted.Dissociate(AssociationType::Jps));
    xml = ReadAll(quoted.MimePackagePath());
    EXPECT_FALSE(xml.contains("image/x-jps"));
    EXPECT_TRUE(QFile::exists(quoted.DesktopEntryPath()));
}

TEST_F(Association, HandMadeDesktopEntryIsLeftAlone) {
    const QByteArray mine = "[Desktop Entry]\nType=Application\nName=Mine\nExec=mine %f\n";
    WriteAll(assoc.DesktopEntryPath(), mine);
    ASSERT_TRUE(assoc.Associate(AssociationType::Jpg));
    EXPECT_EQ(ReadAll(assoc.DesktopEntryPath()), mine);
    ASSERT_TRUE(assoc.Dissociate(AssociationType::Jpg));
    EXPECT_EQ(ReadAll(assoc.DesktopEntryPath()), mine);
}

TEST_F(Association, UnreadableListIsNotOverwritten) {
    ASSERT_TRUE(QDir().mkpath(assoc.MimeAppsPath()));
    EXPECT_FALSE(assoc.Associate(AssociationType::Jpg));
    EXPECT_FALSE(assoc.IsAssociated(AssociationType::Jpg));
    EXPECT_TRUE(QFileInfo(assoc.MimeAppsPath()).isDir());
    EXPECT_FALSE(QFile::exists(assoc.DesktopEntryPath()));
}

TEST(SendTo, CreateAndDelete) {
    TempHome home;
    SendToLauncher launcher(home.folders.dataHome, kExecutable);
    EXPECT_FALSE(launcher.Exists());
    ASSERT_TRUE(launcher.Create());
    ASSERT_TRUE(launcher.Create());  // again: replaced, not doubled
    EXPECT_TRUE(launcher.Exists());
    for (const QString& path : launcher.Paths()) {
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        EXPECT_TRUE(path.startsWith(home.folders.dataHome));
        EXPECT_TRUE(ReadAll(path).contains("/opt/Duplora 1/bin/duplora")) << path.toStdString();
    }
    const QString script = home.folders.dataHome + QStringLiteral("/nautilus/scripts/Duplora");
    EXPECT_EQ(ReadAll(script), "#!/bin/sh\nexec '/opt/Duplora 1/bin/duplora' \"$@\"\n");
    EXPECT_TRUE(QFileInfo(script).isExecutable());
    ASSERT_TRUE(launcher.Remove());
    EXPECT_FALSE(launcher.Exists());
    for (const QString& path : launcher.Paths()) EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(launcher.Remove());
}

TEST(SendTo, ScriptHandsTheFilesOver) {
    if (QStandardPaths::findExecutable(QStringLiteral("sh")).isEmpty()) GTEST_SKIP();
    TempHome home;
    // A stand-in program in a folder whose name needs quoting; it records its arguments.
    const QString program = home.dir.filePath(QStringLiteral("it's here $x/fake"));
    const QString record = home.dir.filePath(QStringLiteral("args.txt"));
    WriteAll(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                          record.toUtf8() + "\"\n");
    QFile::setPermissions(program,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SendToLauncher launcher(home.folders.dataHome, program);
    ASSERT_TRUE(launcher.Create());
    const QString script = home.folders.dataHome + QStringLiteral("/nautilus/scripts/Duplora");
    QProcess run;
    run.start(script, {QStringLiteral("/pics/a b_l.jpg"), QStringLiteral("/pics/c'd_r.jpg")});
    ASSERT_TRUE(run.waitForFinished(10000));
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_EQ(ReadAll(record), "/pics/a b_l.jpg\n/pics/c'd_r.jpg\n");
}

}  // namespace
}  // namespace duplora
