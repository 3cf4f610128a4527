#include "engine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "mbrola.h"
#include "sample_codecs.h"

namespace psola {

Engine::Engine() {
  line_.reserve(256);
  scratch_.resize(4096);
}

Engine& theEngine() {
  static Engine engine;
  return engine;
}

void Engine::raise(int code, const std::string& text) {
  error_ = code;
  errorText_ = text;
}

int Engine::lookup(const std::string& name) const {
  for (const auto& [alias, index] : names_)
    if (alias == name) return index;
  return -1;
}

bool Engine::applyNames(const char* list, bool clone) {
  if (list == nullptr) return true;
  std::vector<std::string> words;
  const char* at = list;
  while (*at != 0) {
    while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') ++at;
    const char* start = at;
    while (*at != 0 && *at != ' ' && *at != '\t' && *at != '\r' && *at != '\n') ++at;
    if (at > start) words.emplace_back(start, at);
  }
  if (words.size() % 2 != 0) {
    raise(MBR_ERR_RENAME, std::string(clone ? "clone" : "rename") + " list with an odd number of names");
    return false;
  }
  for (std::size_t i = 0; i < words.size(); i += 2) {
    auto found = std::find_if(names_.begin(), names_.end(), [&](const auto& entry) { return entry.first == words[i]; });
    if (found == names_.end()) {
      raise(MBR_ERR_RENAME, "cannot " + std::string(clone ? "clone" : "rename") + " the unknown phoneme " + words[i]);
      return false;
    }
    if (clone)
      names_.emplace_back(words[i + 1], found->second);
    else
      found->first = words[i + 1];
  }
  return true;
}

int Engine::init(const char* path, const char* rename, const char* clone) {
  close();
  error_ = 0;
  errorText_.clear();
  if (path == nullptr) {
    raise(MBR_ERR_BAD_ARGUMENT, "no database path");
    return -1;
  }
  std::string why;
  switch (loadDatabase(path, db_, why)) {
    case LoadResult::missing: raise(MBR_ERR_DATABASE_MISSING, why); return -1;
    case LoadResult::corrupt: raise(MBR_ERR_DATABASE_CORRUPT, "corrupt database " + std::string(path) + ": " + why); return -1;
    case LoadResult::ok: break;
  }
  names_.clear();
  for (std::size_t i = 0; i < db_.phonemes.size(); ++i) names_.emplace_back(db_.phonemes[i].name, static_cast<int>(i));
  if (!applyNames(rename, false) || !applyNames(clone, true)) {
    db_ = Database{};
    names_.clear();
    return -1;
  }
  synth_.attach(&db_);
  synth_.setNoError(noError_);
  resampler_.configure(static_cast<int>(db_.sampleRate), frequency_);
  initialised_ = true;
  line_.clear();
  discarding_ = false;
  return 0;
}

void Engine::close() {
  if (parser_ != nullptr && parser_->reset != nullptr) parser_->reset(parser_->user);
  initialised_ = false;
  db_ = Database{};
  names_.clear();
  line_.clear();
  discarding_ = false;
}

void Engine::reset() {
  error_ = 0;
  errorText_.clear();
  line_.clear();
  discarding_ = false;
  if (!initialised_) return;
  synth_.clear();
  resampler_.clear();
  if (parser_ != nullptr && parser_->reset != nullptr) parser_->reset(parser_->user);
}

void Engine::setNoError(bool on) {
  noError_ = on;
  synth_.setNoError(on);
}

int Engine::setFrequency(int hz) {
  if (hz < 4000 || hz > 96000) {
    raise(MBR_ERR_BAD_ARGUMENT, "output frequency out of range (4000 to 96000)");
    return -1;
  }
  frequency_ = hz;
  if (initialised_) resampler_.configure(static_cast<int>(db_.sampleRate), hz);
  return 0;
}

void Engine::setParser(MbrParser* parser) { parser_ = parser; }

void Engine::queuePhone(const std::string& name, double ms, const std::vector<PitchPoint>& points) {
  if (synth_.full()) {
    raise(MBR_ERR_INPUT_FULL, "too much input waiting: read the samples before writing more");
    return;
  }
  const int index = lookup(name);
  if (index < 0) {
    std::string shown = name.substr(0, 40);
    for (char& c : shown)
      if (static_cast<unsigned char>(c) < ' ') c = '?';
    raise(MBR_ERR_UNKNOWN_PHONEME, "unknown phoneme '" + shown + (name.size() > 40 ? "...'" : "'"));
  }
  if (!synth_.push(index, ms, points))
    raise(MBR_ERR_MISSING_DIPHONE, "missing diphone " + db_.phonemes[synth_.missingLeft()].name + "-" +
                                       db_.phonemes[synth_.missingRight()].name);
}

void Engine::endUtterance() {
  if (!synth_.endUtterance())
    raise(MBR_ERR_MISSING_DIPHONE, "missing diphone " + db_.phonemes[synth_.missingLeft()].name + "-" +
                                       db_.phonemes[synth_.missingRight()].name);
}

void Engine::processLine(const char* text, std::size_t length) {
  LineError fault;
  const PhoneLine line = parsePhoneLine(text, length, fault);
  if (line.kind == PhoneLine::Kind::phone) queuePhone(line.name, line.ms, line.points);
  if (line.kind == PhoneLine::Kind::flush) endUtterance();
  if (fault.code != 0) raise(fault.code, fault.text);
}

int Engine::write(const char* text) {
  if (!initialised_) {
    raise(MBR_ERR_NOT_INITIALISED, "the engine is not initialised");
    return -1;
  }
  if (text == nullptr) return 0;
  const int before = error_;
  error_ = 0;
  std::size_t consumed = 0;
  for (const char* at = text; *at != 0; ++at, ++consumed) {
    if (*at == '\n') {
      if (!discarding_) processLine(line_.data(), line_.size());
      line_.clear();
      discarding_ = false;
      continue;
    }
    if (discarding_) continue;
    if (line_.size() == kMaxLineLength) {
      raise(MBR_ERR_LINE_TOO_LONG, "a line longer than 16384 characters");
      line_.clear();
      discarding_ = true;
      continue;
    }
    line_.push_back(*at);
  }
  const bool failed = error_ != 0;
  if (!failed) error_ = before;
  return failed ? -1 : static_cast<int>(std::min<std::size_t>(consumed, 0x7FFFFFFF));
}

int Engine::flush() {
  if (!initialised_) {
    raise(MBR_ERR_NOT_INITIALISED, "the engine is not initialised");
    return -1;
  }
  if (!line_.empty() && !discarding_) processLine(line_.data(), line_.size());
  line_.clear();
  discarding_ = false;
  endUtterance();
  return 0;
}

void Engine::pullFromParser() {
  // Phones are taken from a custom parser only when the synthesizer has
  // nothing ready, a few at a time, so that memory stays bounded.
  for (int taken = 0; taken < 16; ++taken) {
    void* handle = nullptr;
    const int status = parser_->nextPhone(parser_->user, &handle);
    if (status == 1 && handle != nullptr) {
      // Ours from here on, freed even when queueing it runs out of memory.
      const std::unique_ptr<PhoneObject> phone(static_cast<PhoneObject*>(handle));
      if (!(phone->ms >= 0 && phone->ms <= kMaxDurationMs))  // NaN too
        raise(MBR_ERR_DURATION_RANGE, "a phone's duration is out of range (0 to 60000)");
      else
        queuePhone(phone->name, phone->ms, phone->points);
      continue;
    }
    if (status == 2) endUtterance();
    if (status < 0) raise(MBR_ERR_PARSER, "the parser reported an error");
    break;
  }
}

int Engine::readFloats(float* out, int count) {
  int done = synth_.read(out, count);
  while (done < count && parser_ != nullptr && parser_->nextPhone != nullptr) {
    const int before = done;
    pullFromParser();
    done += synth_.read(out + done, count - done);
    if (done == before) break;
  }
  return done;
}

int Engine::read(short* out, int count) {
  if (!initialised_) {
    raise(MBR_ERR_NOT_INITIALISED, "the engine is not initialised");
    return -1;
  }
  if (out == nullptr || count < 0) {
    raise(MBR_ERR_BAD_ARGUMENT, "read_MBR needs a buffer and a count of 0 or more");
    return -1;
  }
  if (frequency_ == static_cast<int>(db_.sampleRate) && parser_ == nullptr) return synth_.read(out, count, volume_);
  int done = 0;
  while (done < count) {
    const int want = std::min<int>(count - done, static_cast<int>(scratch_.size()));
    int n;
    if (frequency_ == static_cast<int>(db_.sampleRate)) {
      n = readFloats(scratch_.data(), want);
    } else {
      n = resampler_.read(scratch_.data(), want, [this](float* to, int k) { return readFloats(to, k); },
                          synth_.drained());
    }
    for (int i = 0; i < n; ++i) out[done + i] = toSample(scratch_[i] * volume_);
    done += n;
    if (n < want) break;
  }
  return done;
}

int Engine::readType(void* out, int count, int type) {
  if (type == MBR_LIN16) return read(static_cast<short*>(out), count);
  if (type != MBR_LIN8 && type != MBR_ULAW && type != MBR_ALAW) {
    raise(MBR_ERR_BAD_ARGUMENT, "unknown sample type (0 to 3)");
    return -1;
  }
  if (out == nullptr || count < 0) {
    raise(MBR_ERR_BAD_ARGUMENT, "readtype_MBR needs a buffer and a count of 0 or more");
    return -1;
  }
  auto* bytes = static_cast<unsigned char*>(out);
  short block[1024];
  int done = 0;
  while (done < count) {
    const int n = read(block, std::min(count - done, 1024));
    if (n < 0) return done > 0 ? done : n;
    for (int i = 0; i < n; ++i)
      bytes[done + i] = type == MBR_LIN8 ? toLinear8(block[i]) : type == MBR_ULAW ? toMuLaw(block[i]) : toALaw(block[i]);
    done += n;
    if (n == 0) break;
  }
  return done;
}

bool Engine::databaseInfo(int index, std::string& line) const {
  if (!initialised_ || index < 0) return false;
  std::vector<std::string> lines;
  lines.push_back("phonemes: " + std::to_string(db_.phonemes.size()));
  lines.push_back("diphones: " + std::to_string(db_.diphones.size()));
  lines.push_back("sample rate: " + std::to_string(db_.sampleRate));
  std::size_t at = 0;
  while (at < db_.info.size()) {
    std::size_t end = db_.info.find('\n', at);
    if (end == std::string::npos) end = db_.info.size();
    if (end > at) lines.push_back(db_.info.substr(at, end - at));
    at = end + 1;
  }
  if (static_cast<std::size_t>(index) >= lines.size()) return false;
  line = lines[static_cast<std::size_t>(index)];
  return true;
}

}  // namespace psola
