#pragma once
// The state of one edit of the line editor, and the operations its files share.
#include <string>

namespace tradutor::editor {

struct Edit {
  std::string field;    // exactly maxLength characters, blank-padded
  std::string initial;  // the field as the edit began (Ctrl+U)
  int cursor = 1;       // 1 .. maxLength + 1
  int firstVisible = 1;
  int anchor = 0;  // selection; both 0 when there is none
  int end = 0;
  bool firstKey = true;
  int column = 1, row = 1, maxLength = 1, width = 1;
  bool editable = true;

  char at(int index) const { return index >= 1 && index <= maxLength ? field[static_cast<std::size_t>(index - 1)] : ' '; }
  int lastNonBlank() const;  // 0 for a blank field
  bool hasSelection() const { return anchor != 0 && end != 0 && anchor != end; }
  void dropSelection() { anchor = end = 0; }
};

void drawVisible(const Edit& e, bool highlight);

// Edits (line_editor_edits.cpp).
void insertCharacter(Edit& e, char c);
void firstKeyRule(Edit& e, bool blankField);
void deleteAtCursor(Edit& e, bool sayDel);
void deleteSelection(Edit& e);
void deleteWord(Edit& e);
void wordLeft(Edit& e);
void wordRight(Edit& e);
void readNextWord(Edit& e);
void copyField(const Edit& e);
void pasteClipboard(Edit& e);
void openWordAtCursor(const Edit& e);
void changeSpeed();

}  // namespace tradutor::editor
