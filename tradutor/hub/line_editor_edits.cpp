// The line editor's edits: inserting, deleting, words, reading, the
// clipboard, opening the word under the cursor and the speed change.
#include <algorithm>
#include <cstring>
#include <vector>

#include "hub/kzwin.h"
#include "hub/line_editor.h"
#include "hub/line_editor_state.h"
#include "screen/kzcrt.h"

namespace tradutor::editor {
namespace {

bool isLetter(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isUpperConsonant(char ch) {
  const char c = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
  return std::strchr("BCDFGHJKLMNPQRSTVXZ", c) != nullptr && c != '\0';
}

void setField(Edit& e, std::string field) {
  field.resize(static_cast<std::size_t>(e.maxLength), ' ');
  e.field = std::move(field);
}

}  // namespace

void firstKeyRule(Edit& e, bool blankField) {
  if (!e.firstKey) return;
  bool textAhead = false;
  for (int i = e.cursor; i <= e.maxLength && !textAhead; ++i) textAhead = e.at(i) != ' ';
  if (!textAhead) return;
  playClick();
  playClick();
  if (blankField && e.editable) setField(e, "");
}

void insertCharacter(Edit& e, char c) {
  firstKeyRule(e, true);
  if (!e.editable) return;
  if (e.cursor > e.maxLength) {
    playBeep();
    return;
  }
  e.field.insert(static_cast<std::size_t>(e.cursor - 1), 1, c);
  e.field.pop_back();  // the last character falls off
  writeChar(static_cast<std::uint8_t>(c));
  if (hubSettings().echoTyping) speakLetter(static_cast<std::uint8_t>(c));
  ++e.cursor;
}

void deleteAtCursor(Edit& e, bool sayDel) {
  if (!e.editable) return;
  if (e.cursor > e.maxLength) {
    playBeep();  // past the field's last character there is nothing to delete
    return;
  }
  const char removed = e.at(e.cursor);
  e.field.erase(static_cast<std::size_t>(e.cursor - 1), 1);
  e.field.push_back(' ');
  drawVisible(e, true);
  if (sayDel) playNamedSound("_DEL");
  speakLetter(static_cast<std::uint8_t>(removed));
}

void deleteSelection(Edit& e) {
  const int lo = std::min(e.anchor, e.end);
  const int hi = std::max(e.anchor, e.end);
  e.cursor = lo;
  playNamedSound("_DEL");
  for (int i = lo; i < hi; ++i) deleteAtCursor(e, false);
  e.end = e.anchor;
}

void wordLeft(Edit& e) {
  int i = e.cursor;
  while (i > 1 && e.at(i - 1) == ' ') --i;
  if (i <= 1) {
    e.cursor = 1;
    playBeep();
    return;
  }
  const char first = e.at(--i);
  if (isDigit(first)) {
    while (i > 1 && isDigit(e.at(i - 1))) --i;
  } else {
    // A mark (as the "." after "musica") is taken with the letters before it.
    while (i > 1 && isLetter(e.at(i - 1))) --i;
  }
  e.cursor = i;
  playClick();
}

void wordRight(Edit& e) {
  int i = e.cursor;
  if (isDigit(e.at(i))) {
    while (i <= e.maxLength && isDigit(e.at(i))) ++i;
  } else {
    ++i;
    while (i <= e.maxLength && isLetter(e.at(i))) ++i;
  }
  while (i <= e.maxLength && e.at(i) == ' ') ++i;
  if (i > e.lastNonBlank()) {
    e.cursor = e.lastNonBlank() + 1;
    playBeep();
    return;
  }
  e.cursor = i;
  playClick();
}

void deleteWord(Edit& e) {
  if (e.cursor > 1 && e.at(e.cursor - 1) != ' ') wordLeft(e);
  const int start = e.cursor;
  wordRight(e);
  const int end = e.cursor;
  wordLeft(e);
  e.cursor = start;
  for (int i = 0; i < end - start; ++i) deleteAtCursor(e, i == 0);
}

void readNextWord(Edit& e) {
  const int saved = e.cursor;
  int i = e.cursor;
  while (i <= e.maxLength && e.at(i) == ' ') ++i;
  if (i > e.maxLength) {
    playBeep();
    e.cursor = saved;
    return;
  }
  const char c = e.at(i);
  std::string run(1, c);
  ++i;
  if (isDigit(c) || c == '-') {
    while (i <= e.maxLength && isDigit(e.at(i))) run += e.at(i++);
    speakText(run);
  } else if (isLetter(c)) {
    while (i <= e.maxLength && isLetter(e.at(i))) run += e.at(i++);
    if (std::all_of(run.begin(), run.end(), isUpperConsonant)) spellText(run);
    else speakText(run);
  } else {
    spellText(run);
  }
  e.cursor = i;
}

void copyField(const Edit& e) {
  std::string text;
  if (e.hasSelection()) {
    const int lo = std::min(e.anchor, e.end);
    const int hi = std::max(e.anchor, e.end);
    text = e.field.substr(static_cast<std::size_t>(lo - 1), static_cast<std::size_t>(hi - lo));
  } else {
    text = e.field.substr(0, static_cast<std::size_t>(e.lastNonBlank())) + "\r\n";
  }
  copyToClipboard(text.c_str());
}

void pasteClipboard(Edit& e) {
  if (!e.editable) {
    playBeep();  // a field that may only be read is not changed by a paste either
    return;
  }
  std::vector<char> buffer(static_cast<std::size_t>(e.maxLength) + 1, '\0');
  readClipboard(buffer.data(), buffer.size());
  std::string pasted(buffer.data());
  pasted = pasted.substr(0, pasted.find_first_of("\r\n"));
  // Other control bytes (a tab) would not show on the screen and would put
  // the field out of step with what is shown: they become blanks.
  for (char& c : pasted)
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  if (e.firstKey) {
    playClick();
    playClick();
    setField(e, "");
  }
  int lo = e.cursor;
  int hi = e.cursor;
  if (e.hasSelection()) {
    lo = std::min(e.anchor, e.end);
    hi = std::max(e.anchor, e.end);
  }
  lo = std::min(lo, e.maxLength + 1);
  hi = std::min(hi, e.maxLength + 1);
  e.cursor = lo;
  setField(e, e.field.substr(0, static_cast<std::size_t>(lo - 1)) + pasted + e.field.substr(static_cast<std::size_t>(hi - 1)));
  e.anchor = lo;
  e.end = std::min(lo + static_cast<int>(pasted.size()), e.maxLength + 1);
}

void openWordAtCursor(const Edit& e) {
  int from = std::min(e.cursor, e.maxLength);
  while (from > 1 && e.at(from - 1) != ' ') --from;
  int to = e.cursor;
  while (to <= e.maxLength && e.at(to) != ' ') ++to;
  std::string word = from < to ? e.field.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from)) : "";
  static const char kStrip[] = "\"(*-.<=>[_{";
  const std::size_t first = word.find_first_not_of(kStrip);
  if (first == std::string::npos) {
    playBeep();
    return;
  }
  word = word.substr(first, word.find_last_not_of(kStrip) - first + 1);
  openLink(word);
}

void changeSpeed() {
  playNamedSound("_VELOC");
  std::uint8_t key = 0;
  do {
    key = readKeySpoken();
  } while (keyPressed());
  if (key == 27 || key == 13) return;
  const std::string sounds = soundDirectory();
  stopSpeech();
  startSpeech(key - 48, sounds);
}

}  // namespace tradutor::editor
