// "Make HTML File": the file dialog for the page with the HTML options beside it (the
// viewer's display type, swap, scaling to the viewer's width, sharpening, showing the page
// afterwards, burning in the frame).
#pragma once

#include "app/output/html_page.h"
#include "gui/shell/file_dialog_panel.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace duplora {

class HtmlSaveDialog : public FileDialogPanel {
    Q_OBJECT

  public:
    HtmlSaveDialog(const HtmlOptions& options, bool frame, const QString& folder,
                   const QString& name, QWidget* parent = nullptr);

    // The options as the panel shows them.
    HtmlOptions Options() const;
    bool Frame() const;

  private:
    QRadioButton* types_[4] = {};
    QCheckBox* swap_ = nullptr;
    QCheckBox* scale_ = nullptr;
    QLineEdit* width_ = nullptr;
    QCheckBox* sharpen_ = nullptr;
    QLineEdit* sharpness_ = nullptr;
    QCheckBox* show_ = nullptr;
    QCheckBox* frame_ = nullptr;
    HtmlOptions initial_;
};

}  // namespace duplora
