#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/open_rules.h"
#include "app/shell/settings_store.h"
#include "gui/shell/dialogs.h"
#include "gui/shell/main_window.h"
#include "gui/shell/screenshots.h"
#include "gui/shell/toolbar_icons.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ferrowyn"));
    QCoreApplication::setApplicationName(QStringLiteral("duplmaker"));
    app.setWindowIcon(duplora::ToolbarIcon(20));
    duplora::dialogs::InstallGermanQtTexts();

    // --screenshot-modes DIR: grab the window in a few display modes and end. Such a run keeps
    // its settings in a temporary store, never in the user's.
    std::vector<std::string> arguments;
    QString screenshotFolder;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--screenshot-modes" && i + 1 < argc)
            screenshotFolder = QString::fromLocal8Bit(argv[++i]);
        else
            arguments.push_back(argument);
    }

    QTemporaryDir scratch;
    std::unique_ptr<duplora::SettingsStore> store;
    if (screenshotFolder.isEmpty())
        store = std::make_unique<duplora::SettingsStore>();
    else
        store = std::make_unique<duplora::SettingsStore>(scratch.filePath("duplmaker.ini"));

    duplora::StartOptions options;
    options.commandLine = duplora::CommandLineFromArguments(arguments);
    duplora::MainWindow window(*store, options);
    if (window.CurrentSettings().nWinMax == 1)
        window.showMaximized();
    else
        window.show();

    if (!screenshotFolder.isEmpty()) {
        QTimer::singleShot(0, &window, [&] {
            const QStringList written = duplora::TakeModeScreenshots(window, screenshotFolder);
            for (const QString& path : written) std::printf("%s\n", qPrintable(path));
            app.exit(written.size() == 3 ? 0 : 1);
        });
    }
    return app.exec();
}
