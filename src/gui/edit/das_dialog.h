// "Erstellen / Wiederherstellen DAS Stereo Datei" (MKDAS): packs a left and a right source
// file into a DAS container, or writes the two files a container holds back to disk under
// their stored names and times. The dialog stays open for the next pair until "Abbrechen".
#pragma once

#include <QDialog>
#include <QString>

#include <string>

#include "core/util/progress.h"

class QLabel;
class QLineEdit;

namespace duplora {

class DialogHost;

struct DasDialogSetup {
    QWidget* parent = nullptr;
    DialogHost* host = nullptr;
    // The fields start with these (the open pair's files, or a container twice).
    QString left;
    QString right;
    // Where the file choosers start when the fields are empty.
    QString folder;
    const Progress* progress = nullptr;  // the writing's; none when null
};

class DasDialog : public QDialog {
  public:
    explicit DasDialog(const DasDialogSetup& setup);

    QString StatusText() const;
    // The last container written or restored from, for the caller to remember its folder.
    const std::string& LastDasPath() const { return lastDas_; }

  private:
    void PickLeft();
    void PickRight();
    // "Erstellen/Wiederherstellen".
    void CreateOrRestore();
    void Create(const std::string& left, const std::string& right, const std::string& offered);
    void Restore(const std::string& das, const std::string& offered);
    // The container's name from the save dialog titled `title`; empty when cancelled.
    std::string ChooseDasName(int title, const std::string& offered, bool container);
    void SetStatus(const QString& text);

    DialogHost* host_;
    const Progress* progress_;
    QString folder_;
    std::string lastDasFolder_;  // where the last container of this dialog went
    std::string lastDas_;
    QLineEdit* left_ = nullptr;
    QLineEdit* right_ = nullptr;
    QLabel* status_ = nullptr;
};

// Shows the dialog until "Abbrechen"; the last container it wrote or restored from.
std::string RunDasDialog(const DasDialogSetup& setup);

}  // namespace duplora
