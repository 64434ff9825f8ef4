#include "gui/shell/dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <deque>

namespace duplora::dialogs {

namespace {

struct Gate {
    bool skipped = false;
    std::deque<QStringList> files;
    std::deque<QMessageBox::StandardButton> buttons;
    int count = 0;
    QString lastText;
    QString lastCaption;
};

Gate& TheGate() {
    static Gate gate;
    return gate;
}

void Count(const QString& text, const QString& caption) {
    Gate& gate = TheGate();
    ++gate.count;
    gate.lastText = text;
    gate.lastCaption = caption;
}

QStringList NextFiles(const QString& title) {
    Gate& gate = TheGate();
    Count(QString(), title);
    if (gate.files.empty()) return {};
    QStringList files = gate.files.front();
    gate.files.pop_front();
    return files;
}

}  // namespace

void SetSkipped(bool skipped) {
    Gate& gate = TheGate();
    gate.skipped = skipped;
    gate.files.clear();
    gate.buttons.clear();
}

bool Skipped() {
    return TheGate().skipped;
}

void QueueFiles(const QStringList& files) {
    TheGate().files.push_back(files);
}

void QueueButton(QMessageBox::StandardButton button) {
    TheGate().buttons.push_back(button);
}

int SkippedCount() {
    return TheGate().count;
}

QString LastSkippedText() {
    return TheGate().lastText;
}

QString LastSkippedCaption() {
    return TheGate().lastCaption;
}

bool InstallGermanQtTexts() {
    static QTranslator* installed = nullptr;
    if (installed) return true;
    auto* texts = new QTranslator(QCoreApplication::instance());
    if (!texts->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return false;
    }
    QCoreApplication::installTranslator(texts);
    installed = texts;
    return true;
}

void ResetSkipped() {
    Gate& gate = TheGate();
    gate.count = 0;
    gate.lastText.clear();
    gate.lastCaption.clear();
    gate.files.clear();
    gate.buttons.clear();
}

QString OpenFileName(QWidget* parent, const QString& title, const QString& folder,
                     const QString& filter) {
    if (Skipped()) {
        const QStringList files = NextFiles(title);
        return files.isEmpty() ? QString() : files.front();
    }
    return QFileDialog::getOpenFileName(parent, title, folder, filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

QStringList OpenFileNames(QWidget* parent, const QString& title, const QString& folder,
                          const QString& filter) {
    if (Skipped()) return NextFiles(title);
    return QFileDialog::getOpenFileNames(parent, title, folder, filter, nullptr,
                                         QFileDialog::DontUseNativeDialog);
}

QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                QMessageBox::StandardButtons buttons, QMessageBox::Icon icon) {
    if (Skipped()) {
        Gate& gate = TheGate();
        Count(text, caption);
        if (!gate.buttons.empty()) {
            const QMessageBox::StandardButton answer = gate.buttons.front();
            gate.buttons.pop_front();
            return answer;
        }
        if (buttons & QMessageBox::Cancel) return QMessageBox::Cancel;
        if (buttons & QMessageBox::No) return QMessageBox::No;
        return QMessageBox::Ok;
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void Tell(QWidget* parent, const QString& text, const QString& caption, QMessageBox::Icon icon) {
    Ask(parent, text, caption, QMessageBox::Ok, icon);
}

bool ProgramStartsAllowed() {
    return !Skipped();
}

}  // namespace duplora::dialogs
