#pragma once
// kzsapi: the engine dispatcher. Every speech engine is driven through the
// same five operations; the engine type (TIPOSAPI) chooses the adapter: 3
// the Portuguese MBROLA voice, 5 and 54 SAPI 5, any other value SAPI 4.
#include <string>
#include <string_view>

namespace tradutor {

bool startSpeechEngine(int voice, int rate, int pitch, const std::string& outputFile, int engineType);
void engineSpeak(std::string_view text);
// Pumps the thread's messages, then asks the engine. `processingOnly` asks
// only whether text is still being processed (SAPI 4 alone tells the two apart).
bool engineIsSpeaking(bool processingOnly = false);
void engineSilence();
void stopSpeechEngine();

// The five operations of one engine.
struct SpeechEngineAdapter {
  bool (*start)(int voice, int rate, int pitch, const std::string& outputFile);
  void (*stop)();
  void (*speak)(std::string_view text);
  bool (*isSpeaking)(bool processingOnly);
  void (*silence)();
};

// Installs the adapter that serves an engine type (3, 5, 54, or 4 for every
// other value); nullptr removes it. An engine type without an adapter fails
// to start.
void setSpeechEngineAdapter(int engineType, const SpeechEngineAdapter* adapter);
int currentEngineType();
void resetEngineDispatcher();

}  // namespace tradutor
