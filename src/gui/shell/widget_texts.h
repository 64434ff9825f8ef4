// The literal texts of the windows in the user's language. Dialogs are written with their
// German texts; when the user's language is another, every widget is looked up in the
// catalogue as it is shown — labels, buttons, group boxes, combo items, tabs, headers, menu
// items, spin-box units, titles and tooltips — and a text the catalogue knows is replaced.
// Texts from the string table and the command table are translated where they are looked up.
#pragma once

#include "app/shell/translations.h"

class QWidget;

namespace duplora {

// Puts the texts `widget` shows itself (not its children's) into the user's language.
void TranslateWidgetTexts(QWidget* widget);

// Makes `language` the language of every text of the running application: the catalogue,
// and for another language than German the pass over every widget shown. Returns the
// language in force (German when the catalogue could not be loaded).
UiLanguage SetUserLanguage(UiLanguage language);

}  // namespace duplora
