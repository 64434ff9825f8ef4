// The windows of the shell's settings dialogs: "Einstellungen" (SETTEI), page flipping (W3D),
// the command-line start (COMSET), the free-trim ratio (FREETRIM), and the about box. What
// their values mean and what is written lives in app/shell/settings_dialogs.h; these only
// show the values, let the user change them and hand each change to the store. Every dialog
// and chooser runs through the DialogHost.
#pragma once

#include <QColor>
#include <QString>

#include <optional>

#include "app/shell/desktop_files.h"

class QWidget;

namespace duplora {

class DialogHost;
class SettingsStore;
struct Settings;

struct SettingsWindowContext {
    QWidget* parent = nullptr;
    DialogHost* host = nullptr;
    Settings* settings = nullptr;  // the running program's settings, changed in place
    SettingsStore* store = nullptr;
    QString programPath;  // the executable that associations and "send to" launchers start
    // Where the associations and launchers go; the user's XDG folders when unset.
    std::optional<DesktopFolders> desktopFolders;
    // After an association changed, let the desktop refresh its caches (tests switch it off).
    bool refreshDesktopDatabases = true;
};

// "Einstellungen". True when OK was pressed: the fields are then taken over and written.
// The check boxes 3061/3063, the file types, the "send to" buttons and "Farbe..." act at once
// and stay done after Cancel; a background colour chosen there is in settings.border and
// already written (`border`). The caller rebuilds the view's background from
// BackgroundColour(), sets the frame width from ViewFrameWidth() and repaints.
bool RunSettingsDialog(const SettingsWindowContext& context);

// "Pageflipping Einstellungen": every choice is written at once; OK and Cancel only close.
void RunPageFlipDialog(const SettingsWindowContext& context);

// How files named on the command line are read and shown; OK writes `commandLineOpening`.
void RunCommandLineStartDialog(const SettingsWindowContext& context);

// The ratio of the free trim; OK writes `freeTrimRatio`.
void RunFreeTrimDialog(const SettingsWindowContext& context);

// Program name, version and what it is for; OK and Cancel close it.
void RunAboutDialog(QWidget* parent, DialogHost& host);

// The version the program was built as.
QString ProgramVersion();

// The view's background colour (the last field of `border`, a colour reference).
QColor BackgroundColour(const Settings& settings);

}  // namespace duplora
