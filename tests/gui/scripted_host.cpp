#include "scripted_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include "gui_test_main.h"

namespace duplora::test {

void ScriptedHost::Queue(Script script) {
    scripts_.push_back(std::move(script));
}

void ScriptedHost::QueueButton(QMessageBox::StandardButton button) {
    Queue([button](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        ASSERT_NE(box, nullptr) << "expected a message box, got "
                                << dialog.objectName().toStdString();
        QAbstractButton* shown = box->button(button);
        ASSERT_NE(shown, nullptr) << "the message box has no such button";
        ASSERT_TRUE(shown->isVisible());
        QTest::mouseClick(shown, Qt::LeftButton);
    });
}

void ScriptedHost::QueueTyping(const QString& text) {
    Queue([text](QDialog&) { TypeIntoFocus(text); });
}

int ScriptedHost::Exec(QDialog& dialog) {
    // Widgets live on the GUI thread only.
    EXPECT_EQ(QThread::currentThread(), qApp->thread());
    // Shown as it opens, though no event loop of its own waits for it (the watchdog of the
    // test program leaves it alone).
    dialog.setProperty("scripted", true);
    dialog.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    Settle(4);
    Shown shown;
    shown.name = dialog.objectName();
    shown.title = dialog.windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) shown.text = box->text();
    shown_.push_back(shown);
    if (!scripts_.empty()) {
        Script script = std::move(scripts_.front());
        scripts_.pop_front();
        script(dialog);
        Settle(4);
    } else if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
        for (QMessageBox::StandardButton button :
             {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
            if (QAbstractButton* shownButton = box->button(button)) {
                shownButton->click();
                break;
            }
        }
    }
    if (dialog.isVisible()) dialog.reject();
    Settle(2);
    // As a window manager would, the window the dialog belonged to is active again.
    if (QWidget* parent = dialog.parentWidget(); parent && parent->window()->isVisible()) {
        parent->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(parent->window()));
    }
    return dialog.result();
}

bool ScriptedHost::StartProgram(const QString& program, const QStringList& arguments) {
    started << (QStringList{program} + arguments).join(QLatin1Char(' '));
    return true;
}

bool ScriptedHost::OpenWithDesktop(const QUrl& url) {
    opened << url;
    return true;
}

void ScriptedHost::Reset() {
    scripts_.clear();
    shown_.clear();
    started.clear();
    opened.clear();
}

void TypeIntoFocus(const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the keyboard focus";
    ASSERT_TRUE(focus->isVisible());
    QTest::keyClicks(focus, text);
    QTest::keyClick(focus, Qt::Key_Return);
}

bool ClickButton(QWidget& dialog, const QString& label) {
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || !button->isEnabled()) continue;
        if (button->text().remove(QLatin1Char('&')) == label) {
            QTest::mouseClick(button, Qt::LeftButton);
            return true;
        }
    }
    return false;
}

}  // namespace duplora::test
