#include "gui/lists/folder_tool_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/ui_text.h"

namespace duplora {

QStringList PictureFileFilters() {
    return {QStringLiteral("Bilder (*.jpg *.jpeg *.JPG *.JPEG *.jps *.JPS *.stj *.STJ *.das "
                           "*.DAS *.bmp *.BMP *.tif *.tiff *.TIF *.TIFF *.png *.PNG)"),
            QStringLiteral("All Files (*)")};
}

QPushButton* PanelButton(const char* text, int control) {
    auto* button = new QPushButton(QString::fromUtf8(text));
    button->setObjectName(ControlName(control));
    button->setAutoDefault(false);
    return button;
}

FolderToolDialog::FolderToolDialog(const QString& title, const QString& folder,
                                   const QStringList& filters, QWidget* parent)
    : FileDialogPanel(title, parent) {
    QFileDialog* files = Files();
    files->setFileMode(QFileDialog::ExistingFiles);
    files->setNameFilters(filters);
    if (!folder.isEmpty()) files->setDirectory(folder);
}

QString FolderToolDialog::Folder() const {
    return Files()->directory().absolutePath();
}

QHBoxLayout* FolderToolDialog::AddActionButtons(const char* picked, const char* wholeFolder) {
    auto* row = new QHBoxLayout;
    QPushButton* pickedButton = PanelButton(picked, 1367);
    QPushButton* folderButton = PanelButton(wholeFolder, 1368);
    row->addWidget(pickedButton);
    row->addWidget(folderButton);
    PanelLayout()->addLayout(row);
    connect(pickedButton, &QPushButton::clicked, this, [this] {
        QStringList files;
        for (const QString& file : Files()->selectedFiles())
            if (QFileInfo(file).isFile()) files << file;
        if (files.isEmpty()) return;
        chosen_ = files;
        action_ = FolderToolAction::Picked;
        accept();
    });
    connect(folderButton, &QPushButton::clicked, this, [this] {
        // The folder stands for its pictures; whoever acts on it lists them.
        chosen_ = QStringList{Folder()};
        action_ = FolderToolAction::WholeFolder;
        accept();
    });
    return row;
}

}  // namespace duplora
