// The engine behind the exported functions: a database, the input parser,
// the synthesizer, the output stage and the last error.
#pragma once

#include <string>
#include <vector>

#include "database.h"
#include "phone_line.h"
#include "resampler.h"
#include "synthesizer.h"

struct MbrParser;

namespace psola {

constexpr const char* kVersion = "psola 1.0 (phoneme lines to 16 kHz speech by diphone PSOLA)";
constexpr std::size_t kMaxLineLength = 16384;

// What init_Phone makes and a custom parser hands over.
struct PhoneObject {
  std::string name;
  double ms = 0;
  std::vector<PitchPoint> points;
};

class Engine {
 public:
  Engine();
  // rename and clone: "old new old new ..." lists; null or empty for none.
  int init(const char* path, const char* rename, const char* clone);
  void close();
  bool initialised() const { return initialised_; }

  int write(const char* text);
  int flush();
  int read(short* out, int count);
  int readType(void* out, int count, int type);
  void reset();

  int lastError() const { return error_; }
  // Sets the last error from outside the engine's own calls: the exported
  // functions name a fault they caught, and phone objects their range errors.
  void raise(int code, const std::string& text);
  const std::string& lastErrorText() const { return errorText_; }
  void setNoError(bool on);
  bool noError() const { return noError_; }
  int setFrequency(int hz);
  int frequency() const { return frequency_; }
  void setVolume(float ratio) { volume_ = ratio; }
  float volume() const { return volume_; }
  void setParser(MbrParser* parser);
  // The index-th line of the database's description; false past the last.
  bool databaseInfo(int index, std::string& line) const;

 private:
  void processLine(const char* text, std::size_t length);
  void queuePhone(const std::string& name, double ms, const std::vector<PitchPoint>& points);
  void endUtterance();
  bool applyNames(const char* list, bool clone);
  int lookup(const std::string& name) const;
  int readFloats(float* out, int count);
  void pullFromParser();

  Database db_;
  Synthesizer synth_;
  Resampler resampler_;
  bool initialised_ = false;
  bool noError_ = false;
  int frequency_ = 16000;
  float volume_ = 1.0f;
  MbrParser* parser_ = nullptr;
  std::vector<std::pair<std::string, int>> names_;  // input name -> phoneme
  std::string line_;
  bool discarding_ = false;  // inside an over-long line, up to its line feed
  int error_ = 0;
  std::string errorText_;
  std::vector<float> scratch_;
};

// The one engine of the process, behind the C functions.
Engine& theEngine();

}  // namespace psola
