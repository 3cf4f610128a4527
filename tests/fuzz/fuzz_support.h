#pragma once
// What the fuzz targets share: a folder of their own for the files they
// write, and the default voice data the build made.
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// A scratch folder for this process, made once.
const std::string& scratchFolder();
// Writes the bytes to a file in the scratch folder; returns its path.
std::string writeScratch(const std::string& name, const std::uint8_t* data, std::size_t size);
// The host platform, console, WAV player and hub back to their start, sound
// not kept: each input of a target that drives the program begins here.
void resetProgram();
// The built voice tree's aureatts folder (FUZZ_VOICE_DIR).
std::string voiceData(const std::string& file);

}  // namespace fuzz
