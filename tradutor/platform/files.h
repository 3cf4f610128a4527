#pragma once
// Directories and files, by Windows path.
//
// Contract: paths are Windows paths in the ANSI code page ("C:\WINDOWS\ORALIS.INI");
// names are matched without regard to case, as on Windows. Nothing throws: a
// file that cannot be read is reported by the result.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The Windows directory as read into a buffer of `bufferSize` bytes.
std::string windowsDirectory(int bufferSize);
std::string currentDirectory();

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

// Reads the whole file into `out`; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& out);

}  // namespace platform
