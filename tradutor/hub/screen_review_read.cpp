// Screen review: reading words, fields and ranges of the screen.
#include <cstring>
#include <string>

#include "hub/kzwin.h"
#include "hub/screen_review_state.h"
#include "screen/kzcrt.h"

namespace tradutor::review {
namespace {

bool isWordCharacter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

bool isConsonant(char c) {
  const char u = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return u != '\0' && std::strchr("BCDFGHJKLMNPQRSTVWXYZ", u) != nullptr;
}

bool isFieldStop(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return c == '!' || c == ':' || c == '?' || c == '|' || (c >= 176 && c <= 223);
}

}  // namespace

int lastRow() { return kScreenRows; }

char charAt(int row, int column) {
  if (row < 1 || row > lastRow() || column < 1 || column > kScreenColumns) return ' ';
  return static_cast<char>(screenCharAt(column, row));
}

int attrAt(int row, int column) {
  if (row < 1 || row > lastRow() || column < 1 || column > kScreenColumns) return 0;
  return screenAttrAt(column, row);
}

void speakWordAt(Review& r) {
  while (r.column <= kScreenColumns && charAt(r.row, r.column) == ' ') ++r.column;
  // The last column holds a character like any other, so only a column past
  // the screen has nothing to say.
  if (r.column > kScreenColumns) return;
  const char first = charAt(r.row, r.column);
  std::string word(1, first);
  moveCursor(r.column, r.row);
  ++r.column;
  while (r.column <= kScreenColumns && isWordCharacter(charAt(r.row, r.column))) {
    word += charAt(r.row, r.column);
    moveCursor(r.column, r.row);
    ++r.column;
  }
  if (word.size() == 1) {
    // A run of one symbol is said as at most three of it.
    while (r.column <= kScreenColumns && charAt(r.row, r.column) == first) {
      if (word.size() < 3) word += first;
      ++r.column;
    }
    speakText(word);
    return;
  }
  bool consonants = true;
  for (const char c : word) consonants = consonants && isConsonant(c);
  if (consonants) spellText(word);
  else speakText(word);
}

void goToRowEnd(Review& r) {
  int last = kScreenColumns;
  while (last >= 1 && charAt(r.row, last) == ' ') --last;
  r.column = last + 1;
}

int fieldFirst(const Review& r) {
  const int attribute = attrAt(r.row, r.column);
  int first = r.column;
  while (first > 1 && attrAt(r.row, first - 1) == attribute && !isFieldStop(charAt(r.row, first - 1))) --first;
  return first;
}

int fieldLast(const Review& r) {
  const int attribute = attrAt(r.row, r.column);
  int last = r.column;
  while (last < kScreenColumns && attrAt(r.row, last + 1) == attribute && !isFieldStop(charAt(r.row, last + 1))) ++last;
  return last;
}

void readRange(Review& r, int fromRow, int fromColumn, int toRow, int toColumn, bool restore) {
  if (fromRow == toRow && toColumn < fromColumn) {
    playBeep();
    return;
  }
  const Review saved = r;
  r.column = fromColumn;
  for (r.row = fromRow; r.row <= toRow; ++r.row) {
    const int last = r.row == toRow ? toColumn : kScreenColumns;
    if (hubSettings().engineActive) {
      std::string text;
      for (int c = r.column; c <= last; ++c) text += charAt(r.row, c);
      speakText(text);
    } else {
      while (r.column <= last && !keyPressed()) {
        speakWordAt(r);
        while (r.column <= last && charAt(r.row, r.column) == ' ') ++r.column;
      }
    }
    if (keyPressed()) break;
    if (r.row == toRow) break;
    r.column = 1;
    playClick();
  }
  if (r.row > toRow) r.row = toRow;
  isSpeaking();
  if (toColumn >= kScreenColumns) goToRowEnd(r);
  if (restore) r = saved;
}

void readLine(Review& r) { readRange(r, r.row, 1, r.row, kScreenColumns, true); }

}  // namespace tradutor::review
