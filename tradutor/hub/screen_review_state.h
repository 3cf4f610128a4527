#pragma once
// The review position and the reading operations the review files share.
#include <string>

namespace tradutor::review {

struct Review {
  int row = 1;
  int column = 1;
};

char charAt(int row, int column);  // a blank outside the screen
int attrAt(int row, int column);   // 0 outside the screen
int lastRow();

void speakWordAt(Review& r);
void readRange(Review& r, int fromRow, int fromColumn, int toRow, int toColumn, bool restore);
void goToRowEnd(Review& r);
int fieldFirst(const Review& r);
int fieldLast(const Review& r);
void readLine(Review& r);

}  // namespace tradutor::review
