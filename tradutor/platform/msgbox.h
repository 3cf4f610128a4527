#pragma once
// A modal message box for errors the user must see at once.
//
// Contract: showMessage returns when the user has closed the box (the host
// implementation records the text and returns at once).
#include <string>

namespace platform {

void showMessage(const std::string& text, const std::string& caption);

}  // namespace platform
