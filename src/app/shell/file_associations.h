// Making Duplora the program that opens .jpg, .jps and .das files, and undoing that exactly.
//
// Switching a type on makes the duplora.desktop entry (data folder, applications/) the
// default for its MIME type in the user's mimeapps.list ([Default Applications]); .jps and
// .das get MIME types of their own from a shared-mime-info package (data folder,
// mime/packages/duplora.xml). What the list held before is kept in an undo file beside our
// settings, so switching off puts the list back as it was, byte for byte when nothing else
// changed it meanwhile. Lines, comments and other entries of the list are never rewritten.
#pragma once

#include <QString>

#include "app/shell/desktop_files.h"

namespace duplora {

enum class AssociationType { Das = 0, Jpg = 1, Jps = 2 };

struct AssociationInfo {
    const char* extension;  // ".das"
    const char* mimeType;   // "image/x-das"
    int descriptionId;      // string id of the type's description
    int checkBoxId;         // the settings dialog's check box
};

AssociationInfo AssociationOf(AssociationType type);

// The desktop entry's file name, the id written into mimeapps.list.
inline constexpr const char* kDesktopEntryName = "duplora.desktop";

class FileAssociations {
  public:
    // executable: the program the desktop entry starts. runDatabaseTools: after a change,
    // refresh the desktop's caches with update-mime-database / update-desktop-database
    // where they are installed (tests switch this off).
    FileAssociations(DesktopFolders folders, QString executable, bool runDatabaseTools = true);

    QString MimeAppsPath() const;
    QString DesktopEntryPath() const;
    QString MimePackagePath() const;
    QString UndoPath() const;

    // True when the type's default application is ours.
    bool IsAssociated(AssociationType type) const;
    // Switch on: keeps the previous default and makes ours the default. Nothing changes
    // when ours is the default already.
    bool Associate(AssociationType type);
    // Switch off: puts back the previous default (or no default). When the user has
    // chosen another program since, that choice stays and only our undo is dropped.
    bool Dissociate(AssociationType type);
    bool SetAssociated(AssociationType type, bool on) {
        return on ? Associate(type) : Dissociate(type);
    }

  private:
    bool UpdateSupportFiles();
    void RefreshDatabases() const;

    DesktopFolders folders_;
    QString executable_;
    bool runDatabaseTools_;
};

}  // namespace duplora
