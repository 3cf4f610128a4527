#pragma once
// The registry entries that make the Portuguese voice a SAPI 5 voice: its
// COM class, in-process and free to be called from any thread, and a voice
// token naming the class, the voice's attributes and its data folder.
#include <string>

namespace sapivoice {

constexpr const char* kTokenKey = "SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\FalamciPortugues";
constexpr const char* kVoiceName = "Falamci Portugu\xEAs do Brasil";

// False when any entry could not be written (the ones written are removed).
bool registerVoice();
void unregisterVoice();

}  // namespace sapivoice
