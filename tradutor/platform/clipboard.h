#pragma once
// The clipboard's CF_TEXT.
//
// Contract: setClipboardText replaces the clipboard with the text and
// returns false, changing nothing, when the clipboard cannot be opened.
#include <string>

namespace platform {

bool setClipboardText(const std::string& text);

enum class ClipboardRead { OpenFailed, NoText, Text };
// On Text, `text` holds the clipboard text up to its terminator.
ClipboardRead getClipboardText(std::string& text);

}  // namespace platform
