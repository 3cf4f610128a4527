#pragma once
// Screen review: exploring by voice everything the console screen shows,
// with a review cursor of its own. Esc returns to the caller.
#include <string>

namespace tradutor {

void runScreenReview();

// The search text, kept from one review to the next (for tests).
std::string& reviewSearchText();

}  // namespace tradutor
