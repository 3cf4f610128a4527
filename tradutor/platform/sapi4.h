#pragma once
// A SAPI 4 text-to-speech engine session: its audio destination, its engine
// enumerator and, once a mode is selected, the engine with its two sinks.
//
// Contract: each step answers whether SAPI accepted it and nothing throws.
// Destroying the session flushes and releases a file destination, releases
// the sound-card destination and the enumerator, unregisters the
// notification sink when it was registered, and releases the sinks and the
// engine. The sinks' callbacks arrive on the program's thread while it
// pumps messages.
#include <memory>
#include <string>

namespace platform {

// What the engine reports through its notification and buffer sinks.
class Sapi4Events {
 public:
  virtual ~Sapi4Events() = default;
  virtual void audioStart() = 0;
  virtual void audioStop() = 0;
  virtual void textDataStarted() = 0;
  virtual void textDataDone() = 0;
};

class Sapi4Session {
 public:
  virtual ~Sapi4Session() = default;
  // Creates the file destination and sets it to `path` (new file).
  virtual bool useFileDestination(const std::string& path) = 0;
  virtual bool useSoundCard() = 0;
  // Creates the enumerator and resets it.
  virtual bool openEnumerator() = 0;
  // Takes the next engine mode's record; false when there is none.
  virtual bool nextMode() = 0;
  // Selects the engine of the last mode taken, connected to the destination.
  virtual bool selectMode() = 0;
  // Registers the notification sink and keeps the buffer sink for TextData.
  virtual bool registerSinks(Sapi4Events* events) = 0;
  // Through the engine's attributes interface; 0 leaves a value as it is.
  virtual void setSpeedAndPitch(int speed, int pitch) = 0;
  // Hands over a zero-terminated ANSI text; `size` counts the zero.
  virtual bool textData(const char* text, unsigned size) = 0;
  virtual bool audioReset() = 0;
};

// nullptr when COM objects cannot be made at all.
std::unique_ptr<Sapi4Session> createSapi4Session();

}  // namespace platform
