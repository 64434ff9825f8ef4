// The program's help page: one HTML file a language, in the "help" folder beside the program
// or in the shared data folder of the installation ("<prefix>/share/duplora/help", which a
// build tree also has beside its program folders).
#pragma once

#include <string>
#include <vector>

#include "app/shell/translations.h"

namespace duplora {

// "duplora-de.html", "duplora-en.html".
std::string HelpPageName(UiLanguage language);
// The places looked at, in order.
std::vector<std::string> HelpPageCandidates(const std::string& programFolder, UiLanguage language);
// The first page that exists; the German page when the language has none; empty when there
// is no page at all.
std::string FindHelpPage(const std::string& programFolder, UiLanguage language);

}  // namespace duplora
