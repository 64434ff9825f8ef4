// The tests' DialogHost: each dialog is really shown, then the next queued script plays the
// user on what is visible (types into the focused box, clicks a shown button). A dialog that
// no script closes is closed as Escape would; a message box without a script answers
// Cancel, else No, else OK. Programs are never started; the host records what it was asked.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

#include "gui/shell/dialog_host.h"

class QDialog;
class QWidget;

namespace duplora::test {

// Clicks the visible button of `dialog` whose text (without '&') is `label`; false when there is
// no such button.
bool ClickButton(QWidget& dialog, const QString& label);

class ScriptedHost : public DialogHost {
  public:
    using Script = std::function<void(QDialog& dialog)>;

    // The next dialog shown gets `script`.
    void Queue(Script script);
    // The next dialog, of type D: `play` gets it and returns true to click its "OK".
    template <typename D, typename F>
    void QueueAs(F play) {
        Queue([play](QDialog& dialog) {
            auto* typed = dynamic_cast<D*>(&dialog);
            ASSERT_NE(typed, nullptr) << "another dialog: " << dialog.objectName().toStdString();
            if (play(*typed)) {
                ASSERT_TRUE(ClickButton(dialog, QStringLiteral("OK")));
            }
        });
    }
    // The next message box: its `button` is clicked.
    void QueueButton(QMessageBox::StandardButton button);
    // The next file dialog: `text` is typed into the focused box (the name box) and Return
    // pressed, as a user would type a path.
    void QueueTyping(const QString& text);

    int Exec(QDialog& dialog) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    bool OpenWithDesktop(const QUrl& url) override;

    struct Shown {
        QString name;   // objectName
        QString title;  // window title
        QString text;   // a message box's text
    };
    const std::vector<Shown>& ShownDialogs() const { return shown_; }
    int Count() const { return static_cast<int>(shown_.size()); }
    QString LastText() const { return shown_.empty() ? QString() : shown_.back().text; }
    QString LastTitle() const { return shown_.empty() ? QString() : shown_.back().title; }
    int PendingScripts() const { return static_cast<int>(scripts_.size()); }
    void Reset();

    QStringList started;  // "program arg…" of every program start asked for
    QList<QUrl> opened;   // every URL given to the desktop

  private:
    std::deque<Script> scripts_;
    std::vector<Shown> shown_;
};

// Types `text` into the focused widget of the active window and presses Return.
void TypeIntoFocus(const QString& text);

}  // namespace duplora::test
