// The window in English when the user's language is English: the title, the menus, the
// toolbar's tooltips, a dialog's literal texts and the help page; back in German everything is
// as before. The other GUI tests run in German.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "gui/shell/widget_texts.h"
#include "gui_test_main.h"

namespace duplora {
namespace {

using test::Settle;

class EnglishWindowTest : public test::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_EQ(SetUserLanguage(UiLanguage::English), UiLanguage::English);
    }
    void TearDown() override {
        SetUserLanguage(UiLanguage::German);
        WindowTest::TearDown();
    }
};

TEST_F(EnglishWindowTest, TitleTooltipsAndASettingsDialogAreEnglish) {
    MainWindow& w = Start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Duplora"));
    const QToolBar* toolbar = w.findChild<QToolBar*>(QStringLiteral("ctl800"));
    ASSERT_NE(toolbar, nullptr);
    QStringList tips;
    for (QAction* action : toolbar->actions())
        if (!action->isSeparator()) tips << action->toolTip();
    EXPECT_TRUE(tips.contains(QStringLiteral("Open stereo picture...")))
        << tips.join('|').toStdString();
    EXPECT_TRUE(tips.contains(QStringLiteral("Show/hide frame")));

    QStringList seen;
    host_.Queue([&](QDialog& dialog) {
        seen << dialog.windowTitle();
        for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
            if (group->isVisible()) seen << group->title();
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            if (button->isVisible()) seen << button->text();
        dialog.reject();
    });
    Key(Qt::Key_E, Qt::AltModifier);
    ASSERT_EQ(host_.Count(), 1);
    EXPECT_EQ(seen.value(0), QStringLiteral("Settings"));
    for (const char* text : {"General", "Trim", "Cancel", "OK", "Start maximised"})
        EXPECT_TRUE(seen.contains(QLatin1String(text)))
            << text << ": " << seen.join('|').toStdString();
    EXPECT_FALSE(seen.contains(QStringLiteral("Abbrechen")));
}

// The menus and the help page F1 opens follow the user's language.
TEST_F(EnglishWindowTest, MenusAndTheHelpPageFollowTheLanguage) {
    const struct {
        UiLanguage language;
        QStringList menus;
        const char* page;
    } cases[] = {{UiLanguage::English, {"&File", "&Edit", "&Help"}, "duplora-en.html"},
                 {UiLanguage::German, {"&Datei", "&Editieren", "&Hilfe"}, "duplora-de.html"}};
    for (const auto& c : cases) {
        SetUserLanguage(c.language);
        MainWindow& w = Start();
        QStringList menus;
        for (QAction* menu : w.menuBar()->actions()) menus << menu->text();
        EXPECT_EQ(menus, c.menus);
        host_.opened.clear();
        Key(Qt::Key_F1);
        ASSERT_EQ(host_.opened.size(), 1);
        const QString page = host_.opened.front().toLocalFile();
        EXPECT_TRUE(page.endsWith(QStringLiteral("/share/duplora/help/") + c.page))
            << page.toStdString();
        EXPECT_TRUE(QFileInfo(page).isFile());
    }
}

TEST_F(EnglishWindowTest, ShownWidgetsGetTheirKnownTextsTranslatedAndKeepTheOthers) {
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Einstellungen"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* group = new QGroupBox(QStringLiteral("Allgemein"), &dialog);
    auto* label = new QLabel(QStringLiteral("Breite:"), &dialog);
    auto* own = new QLabel(QStringLiteral("urlaub_l.jpg"), &dialog);
    auto* button = new QPushButton(QStringLiteral("Abbrechen"), &dialog);
    button->setToolTip(QStringLiteral("Zeige/Verberge Rahmen"));
    auto* combo = new QComboBox(&dialog);
    combo->addItems(
        {QStringLiteral("links 90°"), QStringLiteral("Original"), QStringLiteral("sbs")});
    for (QWidget* widget : std::initializer_list<QWidget*>{group, label, own, button, combo})
        layout->addWidget(widget);
    dialog.show();
    Settle();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(group->title(), QStringLiteral("General"));
    EXPECT_EQ(label->text(), QStringLiteral("Width:"));
    EXPECT_EQ(own->text(), QStringLiteral("urlaub_l.jpg"));
    EXPECT_EQ(button->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Show/hide frame"));
    EXPECT_EQ(combo->itemText(0), QStringLiteral("left 90°"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("sbs"));
    dialog.hide();

    // In German nothing is touched.
    SetUserLanguage(UiLanguage::German);
    label->setText(QStringLiteral("Breite:"));
    dialog.show();
    Settle();
    EXPECT_EQ(label->text(), QStringLiteral("Breite:"));
}

}  // namespace
}  // namespace duplora
