// Fonts and painting need a running application; the app tests make one on the offscreen
// platform the first time a test asks.
#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>

#include <string>

namespace duplora::test {

inline void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "duplora_app_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// DejaVu Sans at `pixels` pixels, written as the settings store a font.
inline std::string PixelFont(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    return font.toString().toStdString();
}

}  // namespace duplora::test
