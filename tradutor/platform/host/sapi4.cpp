// Host platform: a SAPI 4 runtime whose engine modes log every call; tests
// play the engine's part by calling the registered sinks.
#include "platform/sapi4.h"

#include "platform/files.h"
#include "platform/host/host_internal.h"

namespace platform {
namespace {

host::Sapi4Fake& fake() {
  static host::Sapi4Fake f;
  return f;
}

void log(std::string call) { fake().calls.push_back(std::move(call)); }

class FakeSession final : public Sapi4Session {
 public:
  FakeSession() { ++fake().liveSessions; }
  ~FakeSession() override {
    if (fileDestination_) log("flush");
    if (registered_) log("unregister");
    fake().events = nullptr;
    log("release");
    --fake().liveSessions;
  }
  bool useFileDestination(const std::string& path) override {
    log("file " + path);
    fileDestination_ = !fake().failFileSet;
    return fileDestination_;
  }
  bool useSoundCard() override {
    log("card");
    return true;
  }
  bool openEnumerator() override {
    log("enumerator");
    fake().modesTaken = 0;
    return true;
  }
  bool nextMode() override {
    log("next");
    if (fake().modesTaken >= fake().modes) return false;
    ++fake().modesTaken;
    return true;
  }
  bool selectMode() override {
    log("select");
    if (!fake().directoryOnSelect.empty()) changeDirectory(fake().directoryOnSelect);
    return fake().modesTaken > 0 && !fake().failSelect;
  }
  bool registerSinks(Sapi4Events* events) override {
    log("register");
    if (fake().failRegister) return false;
    registered_ = true;
    fake().events = events;
    return true;
  }
  void setSpeedAndPitch(int speed, int pitch) override {
    if (speed != 0) log("speed " + std::to_string(speed));
    if (pitch != 0) log("pitch " + std::to_string(static_cast<unsigned short>(pitch)));
  }
  bool textData(const char* text, unsigned size) override {
    log("text " + std::to_string(size) + " " + text);
    return !fake().failTextData;
  }
  bool audioReset() override {
    log("reset");
    return true;
  }

 private:
  bool fileDestination_ = false;
  bool registered_ = false;
};

}  // namespace

std::unique_ptr<Sapi4Session> createSapi4Session() {
  log("create");
  if (!fake().installed) return nullptr;
  return std::make_unique<FakeSession>();
}

namespace host {
Sapi4Fake& sapi4Fake() { return fake(); }
namespace internal {
void resetSapi() {
  sapi4Fake() = Sapi4Fake{};
  sapi5Fake() = Sapi5Fake{};
}
}  // namespace internal
}  // namespace host

}  // namespace platform
