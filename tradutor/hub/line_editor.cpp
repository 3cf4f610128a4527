// The line editor's passes: draw the field, read a key, act on it.
#include "hub/line_editor.h"

#include <algorithm>

#include "hub/kzwin.h"
#include "hub/line_editor_state.h"
#include "hub/screen_review.h"
#include "screen/kzcrt.h"
#include "sound/kzhora.h"

namespace tradutor {
namespace editor {

constexpr int kContinue = -1;  // a pass whose key does not end the edit

namespace {

void write(const std::string& bytes) {
  writeChars(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint16_t>(bytes.size()));
}

bool altHeld() { return lastKeyModifiers().alt; }

void blankFrom(Edit& e, int from) {
  for (int i = std::max(from, 1); i <= e.maxLength; ++i) e.field[static_cast<std::size_t>(i - 1)] = ' ';
}

int onSpecialKey(Edit& e, int code) {
  switch (code) {
    case 59:  // F1
      if (altHeld()) return 104;
      readNextWord(e);
      return kContinue;
    case 62: {  // F4
      bool& echo = hubSettings().echoTyping;
      echo = !echo;
      playNamedSound(echo ? "_FALACI" : "_FALDLG");
      return kContinue;
    }
    case 66: speakCurrentTime(); return kContinue;
    case 70: openWordAtCursor(e); return kContinue;
    case 71: e.cursor = 1; return kContinue;
    case 75:  // Left
      if (e.cursor == 1) {
        playBeep();
      } else {
        --e.cursor;
        speakLetter(static_cast<std::uint8_t>(e.at(e.cursor)));
      }
      return kContinue;
    case 77: {  // Right
      if (e.cursor > e.maxLength) {
        playBeep();
        return kContinue;
      }
      const char c = e.at(e.cursor);
      if (altHeld() && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) playNamedSound("_FON" + std::to_string(c));
      else speakLetter(static_cast<std::uint8_t>(c));
      ++e.cursor;
      return kContinue;
    }
    case 79: e.cursor = e.lastNonBlank() + 1; return kContinue;
    case 83:
      if (e.hasSelection()) deleteSelection(e);
      else deleteAtCursor(e, true);
      return kContinue;
    case 94: speakText(e.field); return kContinue;
    case 97: changeSpeed(); return kContinue;
    case 101: speakCurrentDate(); return kContinue;
    case 102:
      if (!altHeld()) return 102;
      runScreenReview();
      return kContinue;
    case 115: wordLeft(e); return kContinue;
    case 116: wordRight(e); return kContinue;
    case 254: pasteClipboard(e); return kContinue;
    case 255: copyField(e); return kContinue;
    default:
      if (code >= 120 && code <= 129) return kContinue;  // Alt with a digit
      return code;
  }
}

int onCharacterKey(Edit& e, std::uint8_t key) {
  switch (key) {
    case 3: copyField(e); return kContinue;
    case 4:
      if (e.editable) {
        blankFrom(e, e.cursor);
        playNamedSound("_APFCPO");
      }
      return kContinue;
    case 8:
      if (e.cursor == 1) {
        playBeep();
      } else {
        --e.cursor;
        deleteAtCursor(e, true);
      }
      return kContinue;
    case 9: case 10: case 13: case 27: return key;
    case 11: speakText(std::to_string(e.cursor)); return kContinue;
    case 19:
      if (e.editable) {
        const std::size_t before = static_cast<std::size_t>(std::min(e.cursor, e.maxLength + 1) - 1);
        e.field = e.field.substr(before) + std::string(before, ' ');
        e.cursor = 1;
        playNamedSound("_APICPO");
      }
      return kContinue;
    case 21:
      if (e.editable) {
        e.field = e.initial;
        e.cursor = 1;
        for (int i = 0; i < 3; ++i) playBeep();
      }
      return kContinue;
    case 22: pasteClipboard(e); return kContinue;
    case 25:
      if (e.editable) {
        blankFrom(e, 1);
        playNamedSound("_CPOAPA");
        e.cursor = 1;
      }
      return kContinue;
    case 28: playDialTones(e.field); return kContinue;
    case 127: deleteWord(e); return kContinue;
    default:
      if (key >= 32) insertCharacter(e, static_cast<char>(key));
      else firstKeyRule(e, false);
      return kContinue;
  }
}

// One pass: scroll, draw, read a key and act; the result ends the edit, or kContinue.
int pass(Edit& e) {
  if (e.cursor < e.firstVisible) e.firstVisible = e.cursor;
  if (e.firstVisible + e.width < e.cursor) e.firstVisible = e.cursor - e.width;
  drawVisible(e, true);
  moveCursor(e.column + e.cursor - e.firstVisible, e.row);

  std::uint8_t key = readKey();
  silence();
  const bool shift = lastKeyModifiers().shift;
  int result = kContinue;
  if (key == 0) {
    const int code = readKey();
    if (code >= 16 && code <= 18) {
      // AltGr with Q, W or E: the character it makes follows as a key of its own.
      key = readKey();
      if (key != 3 && key != 22) e.dropSelection();
      result = onCharacterKey(e, key);
    } else {
      if (shift && code != 254 && e.anchor == 0) e.anchor = e.cursor;
      if (!shift && code != 254 && code != 255) e.dropSelection();
      result = onSpecialKey(e, code);
      if (shift && code != 254) e.end = e.cursor;
    }
  } else {
    if (key != 3 && key != 22) e.dropSelection();
    result = onCharacterKey(e, key);
  }
  e.firstKey = false;
  return result;
}

}  // namespace

int Edit::lastNonBlank() const {
  const std::size_t last = field.find_last_not_of(' ');
  return last == std::string::npos ? 0 : static_cast<int>(last) + 1;
}

void drawVisible(const Edit& e, bool highlight) {
  moveCursor(e.column, e.row);
  const int from = highlight ? e.firstVisible : 1;
  const std::string visible = e.field.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(e.width));
  const int lo = std::min(e.anchor, e.end);
  const int hi = std::max(e.anchor, e.end);
  if (highlight && e.end != 0 && e.hasSelection() && hi > from && lo < from + e.width) {
    const std::uint8_t normal = currentAttribute();
    for (std::size_t i = 0; i < visible.size(); ++i) {
      const int index = from + static_cast<int>(i);
      setCurrentAttribute(normal);
      // Through setBackgroundColor, so that fixed colours (CORESFIXAS) stay fixed.
      if (index >= lo && index < hi) setBackgroundColor(8);
      writeChar(static_cast<std::uint8_t>(visible[i]));
    }
    setCurrentAttribute(normal);
  } else {
    write(visible);
  }
  if (visible.size() < 80) clearToLineEnd();
}

}  // namespace editor

int editLine(std::string& text, int column, int row, int maxLength, int visibleWidth, bool editable) {
  editor::Edit e;
  e.maxLength = std::clamp(maxLength, 1, kMaxFieldLength);
  e.width = std::clamp(visibleWidth, 1, e.maxLength);
  const TextArea area = textArea();
  if (row == area.bottom - area.top + 1 && area.right - area.left + 1 < column + e.width) e.width = std::max(e.width - 1, 1);
  e.column = column;
  e.row = row;
  e.editable = editable;
  e.field = text.substr(0, static_cast<std::size_t>(e.maxLength));
  e.field.resize(static_cast<std::size_t>(e.maxLength), ' ');
  e.initial = e.field;

  int result = editor::kContinue;
  while ((result = editor::pass(e)) == editor::kContinue) {
  }
  e.firstVisible = 1;
  e.dropSelection();
  editor::drawVisible(e, false);
  moveCursor(column, row);
  const std::size_t last = e.field.find_last_not_of(' ');
  text = last == std::string::npos ? std::string() : e.field.substr(0, last + 1);
  return result;
}

int editLineHere(std::string& text, int column, int row, int maxLength, bool editable) {
  const TextArea area = textArea();
  return editLine(text, column, row, maxLength, area.right - (area.left + column), editable);
}

int readSpokenLine(std::string& text) {
  text.clear();
  const int column = std::min(cursorColumn(), kScreenColumns);
  const int row = cursorRow();
  const int result = editLineHere(text, column, row, 255, true);
  if (result == 27) {
    moveCursor(column, row);
    writeText(std::string(text.size(), ' '));
    moveCursor(column, row);
    text.clear();
  }
  writeLine();
  return result;
}

}  // namespace tradutor
