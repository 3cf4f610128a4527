#pragma once
// Helpers for the tests that run against the real Windows API under Wine.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace win32_test {

// ORALIS.INI in the Windows directory.
void writeIni(const std::string& content);

// Opens the console (once per process) and brings it to the foreground.
HWND openConsole();

// A key pressed (and released) through SendInput with the modifiers held.
void sendKey(WORD virtualKey, std::initializer_list<WORD> modifiers = {});
void sendUnicodeChar(wchar_t ch);
void sendRightButton(bool down, int clientX, int clientY);

// The bytes readKey gives within `timeoutMs`, at most `count`.
std::string readKeys(int count, int timeoutMs = 3000);

// Pumps the console's messages until `condition` holds or two seconds pass.
bool pumpUntil(const std::function<bool()>& condition);

// Runs this test program again with "--child SCENARIO" and returns its exit code.
DWORD runChild(const char* scenario);

// The colour of a client pixel of the console window.
COLORREF clientPixel(int x, int y);
// Whether any pixel of the client rectangle has the colour.
bool anyPixel(RECT area, COLORREF colour);

// The text metrics of a font as the settings create it.
TEXTMETRICA fontMetrics(int height, int width, const char* face);

// Runs a child scenario; returns its exit code (never returns for the
// scenarios that end through the console).
int runScenario(const std::string& scenario);
// Prints "private=BYTES working=BYTES handles=N" of the running process of that
// name (for the long session); 1 if none runs.
int printProcessFigures(const char* exeName);

}  // namespace win32_test
