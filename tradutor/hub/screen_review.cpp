// Screen review: the keys, the two-letter reading commands, search and go-to.
#include "hub/screen_review.h"

#include <string>

#include "hub/kzwin.h"
#include "hub/screen_review_state.h"
#include "screen/kzcrt.h"

namespace tradutor {
namespace review {
namespace {

void refused() {
  playBeep();
  playClick();
  playBeep();
}

std::uint8_t upper(std::uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<std::uint8_t>(c - 32) : c; }

void twoLetterCommand(Review& r, std::uint8_t first) {
  std::uint8_t from = upper(first);
  if (from == 'L') from = 'T';
  if (from != 'I' && from != 'T' && from != 'F') {
    refused();
    return;
  }
  std::uint8_t what = readKey();
  if (what == 0) {
    readKey();  // a special key is no second letter; its code is not a key of its own either
    refused();
    return;
  }
  what = upper(what);
  const int row = r.row;
  const int col = r.column;
  const int last = lastRow();
  switch (what) {
    case 'T':
      if (from == 'I') readRange(r, 1, 1, row, col - 1, false);
      else if (from == 'T') readRange(r, 1, 1, last, kScreenColumns, false);
      else readRange(r, row, col, last, kScreenColumns, false);
      return;
    case 'L':
      if (from == 'I') readRange(r, row, 1, row, col - 1, true);
      else if (from == 'T') readRange(r, row, 1, row, kScreenColumns, true);
      else readRange(r, row, col, row, kScreenColumns, true);
      return;
    case 'C':
      if (from == 'I') readRange(r, row, fieldFirst(r), row, col, true);
      else if (from == 'T') readRange(r, row, fieldFirst(r), row, fieldLast(r), true);
      else readRange(r, row, col, row, fieldLast(r), true);
      return;
    default:
      refused();
  }
}

void search(Review& r) {
  const std::string& text = reviewSearchText();
  if (!text.empty()) {
    for (int row = r.row; row <= lastRow(); ++row) {
      std::string line;
      for (int c = 1; c <= kScreenColumns; ++c) line += charAt(row, c);
      // On the review row a match must begin after the review column.
      const std::size_t from = row == r.row ? static_cast<std::size_t>(std::max(r.column, 0)) : 0;
      const std::size_t at = from <= line.size() ? line.find(text, from) : std::string::npos;
      if (at != std::string::npos) {
        r.row = row;
        r.column = static_cast<int>(at) + 1;
        playClick();
        return;
      }
    }
  }
  playBeep();
  playBeep();
}

void askAndSearch(Review& r) {
  speakText("Qual texto");
  std::string& text = reviewSearchText();
  text.clear();
  for (;;) {
    const std::uint8_t key = readKey();
    if (key == 27) return;
    if (key == 13) break;
    if (key == 8) {
      if (!text.empty()) {
        const char removed = text.back();
        text.pop_back();
        playNamedSound("_DEL");
        speakLetter(static_cast<std::uint8_t>(removed));
      }
      continue;
    }
    if (text.size() < 255) text += static_cast<char>(key);
    speakLetter(key);
  }
  search(r);
}

void goToRowAndColumn(Review& r) {
  speakText("Entre linha e coluna");
  int digits[4];
  for (int& d : digits) {
    const std::uint8_t key = readKey();
    if (key < '0' || key > '9') {
      playBeep();
      playBeep();
      return;
    }
    speakLetter(key);
    d = key - '0';
  }
  r.row = digits[0] * 10 + digits[1];
  r.column = digits[2] * 10 + digits[3];
}

void previousWord(Review& r) {
  int i = r.column - 1;
  while (i >= 1 && charAt(r.row, i) == ' ') --i;
  if (i < 1) {
    playBeep();
    r.column = 1;
    return;
  }
  while (i >= 1 && charAt(r.row, i) != ' ') --i;
  if (i >= 1) playClick();
  else playBeep();
  r.column = i + 1;
}

void nextWord(Review& r) {
  while (r.column <= kScreenColumns && charAt(r.row, r.column) != ' ') ++r.column;
  while (r.column <= kScreenColumns && charAt(r.row, r.column) == ' ') ++r.column;
  if (r.column > kScreenColumns) {
    playBeep();
    goToRowEnd(r);
  } else {
    playClick();
  }
}

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

void lastLetterOnScreen(Review& r) {
  for (int row = lastRow(); row >= 1; --row)
    for (int col = kScreenColumns; col >= 1; --col)
      if (isLetter(charAt(row, col))) {
        r.row = row;
        r.column = col;
        return;
      }
}

void firstLetterOnScreen(Review& r) {
  for (int row = 1; row <= lastRow(); ++row)
    for (int col = 1; col <= kScreenColumns; ++col)
      if (isLetter(charAt(row, col))) {
        r.row = row;
        r.column = col;
        return;
      }
}

void copyScreen() {
  std::string text;
  text.reserve(static_cast<std::size_t>(lastRow() * (kScreenColumns + 2) + 1));
  for (int row = 1; row <= lastRow(); ++row) {
    for (int col = 1; col <= kScreenColumns; ++col) text += charAt(row, col);
    text += "\r\n";
  }
  copyToClipboard(text.c_str());
}

void onSpecialKey(Review& r, int code) {
  switch (code) {
    case 15: r.column = fieldFirst(r) - 2; playClick(); return;
    case 59:
      if (!(keyPressed() && hubSettings().engineActive)) speakWordAt(r);
      if (r.column >= kScreenColumns) {
        playClick();
        goToRowEnd(r);
      }
      return;
    case 63: askAndSearch(r); return;
    case 64: goToRowAndColumn(r); return;
    case 71: r.column = 1; return;
    case 72:
      r.row -= 1;
      r.column = 1;
      if (r.row < 1) {
        playBeep();
        r.row = 1;
      } else {
        readLine(r);
      }
      return;
    case 73: r.row = 1; r.column = 1; readLine(r); return;
    case 75:
      if (r.column < 2) playBeep();
      else speakLetter(static_cast<std::uint8_t>(charAt(r.row, r.column - 1)));
      r.column -= 1;
      return;
    case 77:
      if (r.column > kScreenColumns + 1) playBeep();
      else speakLetter(static_cast<std::uint8_t>(charAt(r.row, r.column)));
      r.column += 1;
      return;
    case 79: goToRowEnd(r); return;
    case 80:
      r.row += 1;
      r.column = 1;
      playClick();
      if (r.row > lastRow()) {
        playBeep();
        r.row = lastRow();
      } else {
        readLine(r);
      }
      return;
    case 81: r.row = lastRow(); r.column = 1; readLine(r); return;
    case 94: readRange(r, r.row, fieldFirst(r), r.row, fieldLast(r), true); return;
    case 98: search(r); return;
    case 115: previousWord(r); return;
    case 116: nextWord(r); return;
    case 118: lastLetterOnScreen(r); readLine(r); return;
    case 132: firstLetterOnScreen(r); readLine(r); return;
    default: refused(); return;
  }
}

// Returns false for Esc.
bool onKey(Review& r) {
  const std::uint8_t key = readKey();
  switch (key) {
    case 27: return false;
    case 0: onSpecialKey(r, readKey()); return true;
    case 32: readLine(r); return true;
    case 13: r.row += 1; r.column = 1; playClick(); return true;
    case 8: onSpecialKey(r, 75); return true;
    case 9:
      r.column = fieldLast(r) + 2;
      if (r.column <= kScreenColumns) playClick();
      else goToRowEnd(r);
      return true;
    case 11: case 12: speakText(std::to_string(r.row) + " " + std::to_string(r.column)); return true;
    case 3: copyScreen(); return true;
    default:
      if (isLetter(static_cast<char>(key))) twoLetterCommand(r, key);
      else refused();
      return true;
  }
}

// Each correction beeps; the beep also throws away the waiting keys, so a
// key held down does not run on past the edge.
void correct(Review& r) {
  if (r.column < 1) { playBeep(); r.column = 1; }
  if (r.column > kScreenColumns + 1) { playBeep(); r.column = kScreenColumns; }
  if (r.row < 1) { playBeep(); r.row = 1; }
  if (r.row > lastRow()) { playBeep(); r.row = lastRow(); }
}

}  // namespace
}  // namespace review

std::string& reviewSearchText() {
  static std::string text;
  return text;
}

void runScreenReview() {
  playBeep();
  review::Review r{cursorRow(), cursorColumn()};
  const review::Review started = r;
  for (;;) {
    moveCursor(r.column, r.row);
    if (!review::onKey(r)) break;
    review::correct(r);
  }
  playBeep();
  playBeep();
  moveCursor(started.column, started.row);
}

}  // namespace tradutor
