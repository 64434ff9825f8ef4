// The converter program run as a user runs it: its own process, the given home and
// settings folder, no display.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <string>

namespace duplora::test {

struct ConvertRun {
    int exitCode = -1;  // -1 when it crashed or did not finish in two minutes
    std::string out;
    std::string err;
};

// `platform`, when given, is the Qt platform the user has chosen; `locale` the user's language
// (German unless a test asks for another).
inline ConvertRun RunConverter(const QStringList& arguments, const QString& home,
                               const QString& config, const QString& workingFolder,
                               const QString& platform = {},
                               const QString& locale = QStringLiteral("C.UTF-8")) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    if (!platform.isEmpty()) environment.insert("QT_QPA_PLATFORM", platform);
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("HOME", home);
    environment.insert("XDG_CONFIG_HOME", config);
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) environment.remove(variable);
    environment.insert("LANG", locale);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    process.start(DUPLORA_CONVERT_PROGRAM, arguments);
    ConvertRun run;
    if (!process.waitForFinished(120000)) return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

}  // namespace duplora::test
