#include "support/console_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "common/program_exit.h"
#include "screen/kzcrt.h"

namespace testing_support {

void ConsoleTest::SetUp() {
  platform::host::reset();
  tradutor::resetConsoleUnit();
  tradutor::resetExitProcedures();
  std::string pattern = (std::filesystem::temp_directory_path() / "kzcrt-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  drive_ = pattern;
  platform::host::setDriveFolder(drive_);
  // The program's directory, the current one at start, exists as on Windows.
  std::filesystem::create_directories(platform::host::hostPath("C:\\TARSIS"));
}

void ConsoleTest::TearDown() {
  std::error_code ec;
  std::filesystem::remove_all(drive_, ec);
}

void ConsoleTest::writeIni(const std::string& content) {
  platform::host::writeFile("C:\\WINDOWS\\ORALIS.INI", content);
}

void ConsoleTest::openConsole() {
  tradutor::initConsoleUnit();
  tradutor::openConsoleWindow();
}

std::string ConsoleTest::screenRow(int row) {
  std::string text;
  for (int column = 1; column <= tradutor::kScreenColumns; ++column)
    text += static_cast<char>(tradutor::screenCharAt(column, row));
  return text;
}

void ConsoleTest::put(const std::string& bytes) {
  tradutor::writeChars(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint16_t>(bytes.size()));
}

void ConsoleTest::feedKeysWhenIdle(const std::string& text) {
  auto next = std::make_shared<std::size_t>(0);
  platform::host::setIdleHook([text, next] {
    if (*next < text.size()) platform::host::typeText(text.substr((*next)++, 1));
  });
}

std::string ConsoleTest::drainKeys() {
  std::string keys;
  while (tradutor::keyPressed()) keys += static_cast<char>(tradutor::readKey());
  return keys;
}

}  // namespace testing_support
