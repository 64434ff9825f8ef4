// Name helpers for the paths the shell shows and proposes. Paths use '/' and UTF-8; a '/'
// or an ASCII letter never occurs inside a multi-byte UTF-8 character, and the scans below
// step over whole characters, so names in any script come through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace duplora {

// The part after the last '/' (the whole path when there is none).
std::string_view FileNamePart(std::string_view path);

// The part before the last '/', without it; empty when there is none, "/" for the root.
std::string_view FolderPart(std::string_view path);

// The extension of the file-name part, without its dot; empty when the name has none. A dot
// in a folder name is never taken for the extension's.
std::string_view ExtensionOf(std::string_view path);

// True when the extension is "txt" in any letter case (a slide-show list).
bool HasListExtension(std::string_view path);

// The name proposed for saving and shown in the save question: the file-name part of the
// left view's path without its left/right marker. "_l", "_R", ".r" … directly before a
// dot lose both characters (photo_l.jpg → photo.jpg, photo.r.jpg → photo.jpg); a marker
// letter after a digit loses only the letter (img01l.jpg → img01.jpg).
std::string PairBaseName(std::string_view leftPath);

}  // namespace duplora
