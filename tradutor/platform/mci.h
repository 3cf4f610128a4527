#pragma once
// The Media Control Interface string interpreter.
//
// Contract: sendMciString runs one command string, writes its return string
// into `buffer` (at most length - 1 characters and a terminator) and returns
// 0 or the interpreter's error code; no callback window is used.
// mciErrorText writes the interpreter's text for an error code the same way
// and returns false when it has none.

namespace platform {

int sendMciString(const char* command, char* buffer, unsigned length);
bool mciErrorText(int code, char* buffer, unsigned length);

}  // namespace platform
