#pragma once
// KzCrt: the console window. An 80 x 25 text screen of coloured cells in a
// window of its own, the program's standard text output and input, the key
// queue with PC console key codes, a Braille chord keyboard, the message
// pumps every wait of the system is built from, the clipboard and the clock.
//
// Coordinates are 1-based at this interface: column 1..80, row 1..25.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tradutor {

constexpr int kScreenColumns = 80;
constexpr int kScreenRows = 25;

// The text area, 0-based and inclusive.
struct TextArea {
  int left, top, right, bottom;
};

// --- unit life ------------------------------------------------------------
// Start-of-program initialisation: registers the window class, reads the
// title, chains the exit procedure. Safe to call again; tests call it after
// resetConsoleUnit.
void initConsoleUnit();
// Back to the state before initConsoleUnit (for tests).
void resetConsoleUnit();

// --- the screen -------------------------------------------------------------
void openConsoleWindow();
void writeChars(const std::uint8_t* bytes, std::uint16_t count);
void writeChar(std::uint8_t byte);
void moveCursor(int column, int row);
int cursorColumn();
int cursorRow();
void clearToLineEnd();
void setBackgroundColor(int colour);
// Reading outside the screen returns 0.
std::uint8_t screenCharAt(int column, int row);
std::uint8_t screenAttrAt(int column, int row);
TextArea textArea();
std::uint8_t currentAttribute();
void setCurrentAttribute(std::uint8_t attribute);

// --- standard text output and input -----------------------------------------
// Every write goes through a 128-byte buffer into writeChars and then lets
// pending window messages run.
void writeText(std::string_view text);
void writeLine(std::string_view text = {});
// One line from the keyboard with echo (at most 125 characters), without its line end.
std::string readInputLine();

// --- keyboard and message pumps -----------------------------------------------
bool keyPressed();
std::uint8_t readKey();
// True while readKey waits for a key (tests type only then, as a person
// who waits for the program's answer).
bool waitingForKey();
// Line input with echo; returns the length including the CR LF it appends.
int readLine(char* buffer, int size);
void pumpMessages();
void pumpWindowMessages();
void delayWithMessages(std::uint16_t milliseconds);
// The modifier keys as they were when the byte readKey returned last arrived.
// A key handled later than it was typed (after Alt is already up) still
// knows it came with Alt.
struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};
KeyModifiers lastKeyModifiers();
void setBrailleMode(int mode);
int brailleMode();
[[noreturn]] void closeConsoleWindow();

// The WAV player's handler for finished wave-out blocks (0 removes it).
using WaveDoneHandler = void (*)(std::uintptr_t device, std::uintptr_t header);
void setWaveDoneHandler(WaveDoneHandler handler);

// --- clipboard and clock ----------------------------------------------------------
void copyToClipboard(const char* text);
void readClipboard(char* buffer, std::size_t size);
void currentDate(int& year, int& month, int& day, int& weekday);
void currentTime(int& hour, int& minute, int& second, int& hundredths);

}  // namespace tradutor
