// Fonts and painting need a running application; the app tests make one on the offscreen
// platform the first time a test asks.
#pragma once

#include <QCoreApplication>
#include <QGuiApplication>

namespace duplora::test {

inline void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "duplora_app_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

}  // namespace duplora::test
