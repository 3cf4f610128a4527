#pragma once
// A console unit on a fresh host platform, with a drive folder of its own.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/host_control.h"

namespace testing_support {

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes C:\WINDOWS\ORALIS.INI.
  void writeIni(const std::string& content);
  // Initialises the unit and opens the window.
  void openConsole();
  // The screen buffer's row (1-based) as text, trailing blanks kept.
  std::string screenRow(int row);
  // Writes text through writeChars.
  void put(const std::string& bytes);
  // Runs `body` and returns the exit code it ended the program with, or -1
  // when it returned.
  template <class Body>
  int exitCodeOf(Body body) {
    try {
      body();
    } catch (const platform::host::ProgramExit& e) {
      return e.code;
    }
    return -1;
  }
  // Types the text one byte each time the program waits for a message.
  void feedKeysWhenIdle(const std::string& text);
  // Every byte waiting in the key queue, read with readKey.
  std::string drainKeys();

  std::string drive_;
};

}  // namespace testing_support
