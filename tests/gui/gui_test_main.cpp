#include "gui_test_main.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "gui/shell/dialogs.h"

namespace duplora::test {

namespace {
int modalSeen = 0;

QtMessageHandler standardHandler = nullptr;

// The offscreen platform says so whenever a window asks for what it cannot do; that is noise.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (standardHandler) standardHandler(type, context, message);
}

}  // namespace

int ModalWindowsSeen() {
    return modalSeen;
}

void InstallQuietHandler() {
    standardHandler = qInstallMessageHandler(QuietHandler);
}

}  // namespace duplora::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    duplora::test::InstallQuietHandler();
    QApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Ferrowyn"));
    app.setApplicationName(QStringLiteral("duplmaker-test"));
    // No dialog ever waits for a person here.
    duplora::dialogs::SetSkipped(true);
    // Anything modal that still opens runs its own event loop, where this timer finds and
    // closes it, so a test fails instead of hanging.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        QWidget* stray = QApplication::activeModalWidget();
        if (!stray) stray = QApplication::activePopupWidget();
        if (stray) {
            ++duplora::test::modalSeen;
            stray->close();
        }
    });
    watchdog.start(50);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
