#pragma once
// What the fuzz targets share: a folder of their own for the files they
// write, and the default voice data the build made.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// A scratch folder for this process, made once.
const std::string& scratchFolder();
// Writes the bytes to a file in the scratch folder; returns its path.
std::string writeScratch(const std::string& name, const std::uint8_t* data, std::size_t size);
std::string writeScratch(const std::string& name, const std::string& text);
// The host platform, console, WAV player and hub back to their start, sound
// not kept: each input of a target that drives the program begins here.
void resetProgram();
// resetProgram, then the console opened on the built voice tree (drive C)
// with the WAV player and the hub started, as falamci starts them.
void openTalkingConsole();
// Queues key events: each pair of bytes is one event, the first saying how
// (pressed, a character, down only, up only) and with which modifiers, the
// second which key or character. At most 200 events.
void postKeyEvents(const std::uint8_t* data, std::size_t size);
// The input cut at each line "@@@": parts[0] before the first, and so on;
// a part the input does not reach is empty.
std::vector<std::string> splitParts(const std::uint8_t* data, std::size_t size, std::size_t count);
// The built voice tree's aureatts folder (FUZZ_VOICE_DIR).
std::string voiceData(const std::string& file);

}  // namespace fuzz
