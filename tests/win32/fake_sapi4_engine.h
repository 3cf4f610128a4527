#pragma once
// A SAPI 4 engine of the tests' own, registered in this process under the
// classes the adapter creates (enumerator, sound card, file destination).
// Texts are "spoken" on thread timers, so the sinks are called back while
// the program pumps its messages, as a SAPI 4 engine calls them.
#include <windows.h>

#include <string>
#include <vector>

namespace win32_test {

struct FakeSapi4Log {
  int modes = 2;
  bool changeDirectoryOnSelect = true;
  UINT speakingMs = 120;  // from TextData to TextDataDone
  std::vector<std::string> calls;
  std::vector<std::string> texts;
  std::wstring fileName;
  int liveObjects = 0;
};

class FakeSapi4Engine {
 public:
  FakeSapi4Engine();  // registers the three classes
  ~FakeSapi4Engine();  // revokes them
  FakeSapi4Engine(const FakeSapi4Engine&) = delete;
  FakeSapi4Engine& operator=(const FakeSapi4Engine&) = delete;
  static FakeSapi4Log& log();

 private:
  std::vector<DWORD> cookies_;
};

}  // namespace win32_test
