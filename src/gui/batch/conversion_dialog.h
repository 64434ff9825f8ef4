// The batch conversion dialogs: Qt's file dialog with the conversion options beside it. The
// file run ("Mehrfach Konvertierung") converts the picked files or every picture of the
// folder; the list run converts the entries of a picked slide-show list. Starting asks for a
// missing target folder and confirms the run; the dialog then hands over the job.
#pragma once

#include <QStringList>

#include <optional>
#include <string>

#include "core/batch/batch_options.h"
#include "core/batch/batch_run.h"
#include "core/formats/open_preview.h"
#include "gui/shell/file_dialog_panel.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace duplora {

class DialogHost;

struct ConversionDialogSetup {
    bool fromList = false;  // the list run
    QString folder;         // where the file list starts
    QString list;           // the list run: the list to start on
    QString filter;
    BatchOptions options;  // what the fields start with
    // The quick-adjustment values the adjustment fields can be filled from.
    std::string quickAdjustment;
    bool prefill = false;  // fill them on opening
    bool showPreview = false;
    PreviewOptions preview;
    DialogHost* host = nullptr;
};

class ConversionDialog : public FileDialogPanel {
    Q_OBJECT

  public:
    explicit ConversionDialog(ConversionDialogSetup setup, QWidget* parent = nullptr);

    // The options as the fields hold them now (the target folder as typed).
    BatchOptions Options() const;
    bool ShowPreview() const { return setup_.showPreview; }
    // The run the user confirmed, once the dialog is accepted; none when it was not started.
    const std::optional<BatchJob>& Job() const { return job_; }
    // The options of that run (its target folder made ready).
    const BatchOptions& RunOptions() const { return runOptions_; }

  protected:
    void SelectionChanged(const QString& path) override;
    void Accepting() override;

  private:
    void BuildPanel();
    QWidget* SourceGroup();
    QWidget* OutputGroup();
    QWidget* AdjustmentGroup();
    QWidget* FinishGroup();
    QWidget* TargetRow();
    QWidget* PreviewBox();
    void ShowAdjustment(const BatchOptions& options);
    void Prefill();
    void Clear();
    void ConvertAll();
    // Makes the job of `paths` (or of the list) and asks to start it; true when confirmed.
    bool StartWith(const QStringList& paths);
    void ShowPreviewOf(const QString& path);

    ConversionDialogSetup setup_;
    std::optional<BatchJob> job_;
    BatchOptions runOptions_;
    QString lastName_;

    QButtonGroup* source_ = nullptr;
    QButtonGroup* output_ = nullptr;
    QButtonGroup* type_ = nullptr;
    QCheckBox* useRightFolder_ = nullptr;
    QLineEdit* rightFolder_ = nullptr;
    QLineEdit* quality_ = nullptr;
    QCheckBox* exif_ = nullptr;
    QCheckBox* angle_ = nullptr;
    QLineEdit* leftAngle_ = nullptr;
    QLineEdit* rightAngle_ = nullptr;
    QCheckBox* size_ = nullptr;
    QLineEdit* leftSize_ = nullptr;
    QLineEdit* rightSize_ = nullptr;
    QCheckBox* position_ = nullptr;
    QLineEdit* positionH_ = nullptr;
    QLineEdit* positionV_ = nullptr;
    QCheckBox* gamma_ = nullptr;
    QLineEdit* leftGamma_ = nullptr;
    QLineEdit* rightGamma_ = nullptr;
    QCheckBox* resize_ = nullptr;
    QLineEdit* width_ = nullptr;
    QCheckBox* sharpen_ = nullptr;
    QLineEdit* sharpness_ = nullptr;
    QCheckBox* swap_ = nullptr;
    QCheckBox* text_ = nullptr;
    QCheckBox* logo_ = nullptr;
    QCheckBox* border_ = nullptr;
    QLineEdit* target_ = nullptr;
    QLabel* preview_ = nullptr;
};

}  // namespace duplora
