// The "send to" launcher of the settings dialog ("Hinzufügen" / "Löschen"): entries in the
// context menus of the common file managers that open the chosen files in Duplora. All of
// them live in the user's data folder:
//   nautilus/scripts/Duplora                     (GNOME Files, a script)
//   nemo/actions/duplora.nemo_action             (Nemo)
//   kio/servicemenus/duplora.desktop             (Dolphin and other KDE programs)
//   file-manager/actions/duplora.desktop         (Caja and others of the file-manager actions)
#pragma once

#include <QString>
#include <QStringList>

namespace duplora {

class SendToLauncher {
  public:
    SendToLauncher(QString dataHome, QString executable);

    // Every launcher file, created or not.
    QStringList Paths() const;
    // True when any of them is there.
    bool Exists() const;
    // Writes all of them (each replaced atomically); true when all were written.
    bool Create();
    // Deletes those that are there; true when none is left.
    bool Remove();

  private:
    QString dataHome_;
    QString executable_;
};

}  // namespace duplora
