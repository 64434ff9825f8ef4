#include <QApplication>
#include <QCommandLineParser>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/open_rules.h"
#include "app/shell/settings_store.h"
#include "app/shell/translations.h"
#include "gui/align/align_screenshots.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/main_window.h"
#include "gui/shell/screenshots.h"
#include "gui/shell/toolbar_icons.h"
#include "gui/shell/widget_texts.h"

#ifndef DUPLORA_VERSION
#define DUPLORA_VERSION "0.1.0"
#endif

namespace {

using duplora::Tr;

void Describe(QCommandLineParser& parser, const QCommandLineOption& screenshots) {
    parser.setApplicationDescription(
        Tr("Duplora – Stereobilder öffnen, ausrichten, bearbeiten und speichern.\n"
           "Eine Datei öffnet ein Stereobild (oder eine Slide Show Liste *.txt); zwei Dateien\n"
           "öffnen ein Bildpaar, die zweite als linkes Bild."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(Tr("rechts"), Tr("Stereobild, Liste oder rechtes Bild"),
                                 Tr("[rechts]"));
    parser.addPositionalArgument(Tr("links"), Tr("linkes Bild"), Tr("[links]"));
    parser.addOption(screenshots);
}

}  // namespace

int main(int argc, char** argv) {
    // Grabs the window in a few display modes and ends; keeps its settings in a temporary
    // store, never in the user's.
    QCommandLineOption screenshots(QStringLiteral("screenshot-modes"),
                                   QStringLiteral("Bildschirmfotos in ORDNER schreiben"),
                                   QStringLiteral("ORDNER"));
    screenshots.setFlags(QCommandLineOption::HiddenFromHelp);
    {
        // --help and --version answer without a window, and without a display.
        QCoreApplication probe(argc, argv);
        probe.setApplicationName(QStringLiteral("duplora"));
        probe.setApplicationVersion(QStringLiteral(DUPLORA_VERSION));
        duplora::InstallTranslations(duplora::SystemUiLanguage());
        QCommandLineParser parser;
        Describe(parser, screenshots);
        parser.parse(probe.arguments());
        if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
            parser.isSet(QStringLiteral("version")))
            parser.process(probe);  // prints and exits
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ferrowyn"));
    QCoreApplication::setApplicationName(QStringLiteral("duplmaker"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DUPLORA_VERSION));
    app.setWindowIcon(duplora::ProgramIcon());
    // German unless the user's locale asks for English; Qt's own texts follow.
    if (duplora::SetUserLanguage(duplora::SystemUiLanguage()) == duplora::UiLanguage::German)
        duplora::InstallGermanQtTexts();
    QCommandLineParser parser;
    Describe(parser, screenshots);
    parser.process(app);

    std::vector<std::string> arguments;
    for (const QString& argument : parser.positionalArguments())
        arguments.push_back(argument.toLocal8Bit().toStdString());
    const QString screenshotFolder = parser.value(screenshots);

    QTemporaryDir scratch;
    std::unique_ptr<duplora::SettingsStore> store;
    if (screenshotFolder.isEmpty())
        store = std::make_unique<duplora::SettingsStore>();
    else
        store = std::make_unique<duplora::SettingsStore>(scratch.filePath("duplmaker.ini"));

    duplora::WindowDialogHost host;
    duplora::StartOptions options;
    options.commandLine = duplora::CommandLineFromArguments(arguments);
    duplora::MainWindow window(*store, host, options);
    if (window.CurrentSettings().startMaximised == 1)
        window.showMaximized();
    else
        window.show();

    // Once the pair has opened: the pictures, then the dialogs over them.
    std::function<void()> shoot;
    if (!screenshotFolder.isEmpty()) {
        shoot = [&] {
            if (window.Working()) {
                QTimer::singleShot(50, &window, shoot);
                return;
            }
            const QStringList written = duplora::TakeModeScreenshots(window, screenshotFolder);
            const QStringList dialogs =
                duplora::TakeAlignDialogScreenshots(window, screenshotFolder);
            for (const QString& path : written + dialogs) std::printf("%s\n", qPrintable(path));
            app.exit(written.size() == 3 && dialogs.size() == 4 ? 0 : 1);
        };
        QTimer::singleShot(0, &window, shoot);
    }
    return app.exec();
}
