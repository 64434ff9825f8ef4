// "Schärfen" (SHAPEN) and "Kantenerkennung" (EDGEDT): one number each, typed into an edit
// field beside its legend.
#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

namespace duplora {

class DialogHost;

enum class FilterKind { Sharpen, Edges };

class FilterValueDialog : public QDialog {
  public:
    // `value` is what the field shows at first: the stored sharpness or threshold.
    FilterValueDialog(FilterKind kind, int value, QWidget* parent = nullptr);

    // The number in the field as OK takes it: an empty field counts as 0, and the result is
    // brought into the dialog's range.
    int Value() const;
    QLineEdit* Field() const { return field_; }

  private:
    FilterKind kind_;
    QLineEdit* field_ = nullptr;
};

// The value OK took; nothing when the dialog was cancelled.
std::optional<int> AskFilterValue(QWidget* parent, DialogHost& host, FilterKind kind, int value);

}  // namespace duplora
