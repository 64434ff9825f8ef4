// Where the program finds what is installed beside it. Installed, the programs live in
// <prefix>/bin and the import plug-ins in <prefix>/lib/duplora/plugins; in the build tree
// the programs live in build/src and the plug-ins in build/plugins.
#pragma once

#include <string>

namespace duplora {

// The folder (ending in '/') the plug-ins are looked for in unless the user chose one: the
// installed plug-in folder or the build tree's beside `programFolder`, whichever exists,
// else `programFolder` itself.
std::string DefaultPluginFolder(const std::string& programFolder);

}  // namespace duplora
