// What the window hands to each group of its commands: itself as the parent of their
// dialogs, the dialog host, the pair, the settings and where they are stored.
#pragma once

class QWidget;

namespace duplora {

class DialogHost;
class SettingsStore;
class StereoDocument;
struct Settings;

struct WindowServices {
    QWidget* parent = nullptr;
    DialogHost* host = nullptr;
    StereoDocument* document = nullptr;
    Settings* settings = nullptr;
    SettingsStore* store = nullptr;
};

// A group's context with the shared part filled in; the group's own members keep their
// defaults.
template <typename Context>
Context WithServices(const WindowServices& services) {
    Context context;
    static_cast<WindowServices&>(context) = services;
    return context;
}

}  // namespace duplora
