#pragma once
// The spoken line editor: a one-line field on the console in which every
// key is answered by sound.
#include <string>

namespace tradutor {

// Edits `text` in a field at (column, row), 1-based; returns the key code
// that ended the edit (13 Enter, 27 Esc, 9 Tab, the code of a special key).
// On return `text` holds the field without trailing blanks.
int editLine(std::string& text, int column, int row, int maxLength, int visibleWidth, bool editable);
// editLine with the visible width reaching the text area's right edge.
int editLineHere(std::string& text, int column, int row, int maxLength, bool editable);
// A line of at most 255 characters at the console cursor; Esc gives an
// empty line and blanks what was typed. Returns the ending key.
int readSpokenLine(std::string& text);
// Opens an address, a program or a document with the shell.
void openLink(const std::string& text);

constexpr int kMaxFieldLength = 2048;

}  // namespace tradutor
