// Host platform: SAPI 5 voices that log every call and fail on request.
#include "platform/sapi5.h"

#include "platform/host/host_internal.h"

namespace platform {
namespace {

host::Sapi5Fake& fake() {
  static host::Sapi5Fake f;
  return f;
}

class FakeVoice final : public Sapi5Voice {
 public:
  FakeVoice() { ++fake().liveVoices; }
  ~FakeVoice() override {
    log("release");
    --fake().liveVoices;
  }
  bool setEventInterests(unsigned long long interests) override {
    return log("interests " + std::to_string(interests));
  }
  int voiceCount() override { return log("count") ? fake().voices : -1; }
  bool selectVoice(int index) override { return log("select " + std::to_string(index)) && !fake().failSelect; }
  bool setRate(int rate) override { return log("rate " + std::to_string(rate)) && !fake().rejectRate; }
  void keepCompletionEvent() override { log("event"); }
  bool openOutputFile(const std::string& path) override { return log("file " + path) && !fake().failFile; }
  bool speak(std::string_view text, unsigned flags) override {
    if (!log("speak " + std::to_string(flags) + " " + std::string(text)) || fake().failSpeak) return false;
    if (flags & 2) fake().busyWaits = 0;  // a purge ends what was queued
    fake().busyWaits += fake().waitsPerText;
    return true;
  }
  bool waitUntilDone(unsigned milliseconds) override {
    if (!log("wait " + std::to_string(milliseconds))) return true;
    if (fake().busyWaits == 0) return true;
    --fake().busyWaits;
    return false;
  }

 private:
  static bool log(std::string call) {
    fake().calls.push_back(std::move(call));
    return !fake().failEveryCall;
  }
};

}  // namespace

std::unique_ptr<Sapi5Voice> createSapi5Voice(Sapi5Runtime runtime) {
  fake().calls.push_back(runtime == Sapi5Runtime::sapi54 ? "create 54" : "create 5");
  if (!fake().installed) return nullptr;
  return std::make_unique<FakeVoice>();
}

namespace host {
Sapi5Fake& sapi5Fake() { return fake(); }
}  // namespace host

}  // namespace platform
