// Why a file could not be opened as a picture, told to the user in a sentence: missing, not
// readable, of no format any reader knows, too large to hold, or damaged.
#pragma once

#include <string>

#include "core/formats/codec_options.h"

namespace duplora {

enum class UnreadableReason { Missing, NotPermitted, UnknownFormat, TooLarge, Damaged };

// Looks at the file's head only (the readers have already failed on it).
UnreadableReason WhyUnreadable(const std::string& path, const CodecOptions& codec = {});

// "Die Datei [path] kann nicht gelesen werden: <reason>"
std::string UnreadableText(const std::string& path, UnreadableReason reason);
// The caption of that message.
std::string UnreadableCaption();

}  // namespace duplora
