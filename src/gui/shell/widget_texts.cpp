#include "gui/shell/widget_texts.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QWidget>

namespace duplora {

namespace {

// Calls `set` only for a text that changes, so that nothing is laid out anew for nothing.
template <typename Set>
void Translate(const QString& text, Set set) {
    const QString translated = TranslatedText(text);
    if (translated != text) set(translated);
}

void TranslateActions(QWidget* widget) {
    for (QAction* action : widget->actions()) {
        if (action->isSeparator()) continue;
        Translate(action->text(), [&](const QString& t) { action->setText(t); });
        Translate(action->toolTip(), [&](const QString& t) { action->setToolTip(t); });
    }
}

void TranslateHeader(QTableWidget* table) {
    for (int c = 0; c < table->columnCount(); ++c)
        if (QTableWidgetItem* item = table->horizontalHeaderItem(c))
            Translate(item->text(), [&](const QString& t) { item->setText(t); });
    for (int r = 0; r < table->rowCount(); ++r)
        if (QTableWidgetItem* item = table->verticalHeaderItem(r))
            Translate(item->text(), [&](const QString& t) { item->setText(t); });
}

// Every widget of the application, as it is shown.
class ShowTranslator : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            TranslateWidgetTexts(static_cast<QWidget*>(watched));
        return false;
    }
};

QPointer<ShowTranslator> gShowTranslator;

}  // namespace

void TranslateWidgetTexts(QWidget* widget) {
    if (!widget || CurrentUiLanguage() == UiLanguage::German) return;
    if (widget->isWindow())
        Translate(widget->windowTitle(), [&](const QString& t) { widget->setWindowTitle(t); });
    Translate(widget->toolTip(), [&](const QString& t) { widget->setToolTip(t); });
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        Translate(label->text(), [&](const QString& t) { label->setText(t); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        Translate(button->text(), [&](const QString& t) { button->setText(t); });
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        Translate(group->title(), [&](const QString& t) { group->setTitle(t); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        for (int i = 0; i < combo->count(); ++i)
            Translate(combo->itemText(i), [&](const QString& t) { combo->setItemText(i, t); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        Translate(edit->placeholderText(), [&](const QString& t) { edit->setPlaceholderText(t); });
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        Translate(spin->prefix(), [&](const QString& t) { spin->setPrefix(t); });
        Translate(spin->suffix(), [&](const QString& t) { spin->setSuffix(t); });
    } else if (auto* real = qobject_cast<QDoubleSpinBox*>(widget)) {
        Translate(real->prefix(), [&](const QString& t) { real->setPrefix(t); });
        Translate(real->suffix(), [&](const QString& t) { real->setSuffix(t); });
    } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i) {
            Translate(tabs->tabText(i), [&](const QString& t) { tabs->setTabText(i, t); });
            Translate(tabs->tabToolTip(i), [&](const QString& t) { tabs->setTabToolTip(i, t); });
        }
    } else if (auto* table = qobject_cast<QTableWidget*>(widget)) {
        TranslateHeader(table);
    } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
        if (QTreeWidgetItem* header = tree->headerItem())
            for (int c = 0; c < header->columnCount(); ++c)
                Translate(header->text(c), [&](const QString& t) { header->setText(c, t); });
    } else if (auto* menu = qobject_cast<QMenu*>(widget)) {
        Translate(menu->title(), [&](const QString& t) { menu->setTitle(t); });
        TranslateActions(menu);
    } else if (qobject_cast<QMenuBar*>(widget)) {
        TranslateActions(widget);
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
        Translate(spin->specialValueText(),
                  [&](const QString& t) { spin->setSpecialValueText(t); });
}

UiLanguage SetUserLanguage(UiLanguage language) {
    const bool translated = language != UiLanguage::German && InstallTranslations(language);
    if (!translated) {
        InstallTranslations(UiLanguage::German);
        delete gShowTranslator.data();
        return UiLanguage::German;
    }
    if (!gShowTranslator && QCoreApplication::instance()) {
        gShowTranslator = new ShowTranslator(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(gShowTranslator);
    }
    return language;
}

}  // namespace duplora
