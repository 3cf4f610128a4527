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

// The process's current directory; false (and no change) when the path is
// not a directory. A drive alone ("C:") selects that drive's current directory.
bool changeDirectory(const std::string& path);

// A file opened for reading, others allowed to read and write it.
using FileHandle = struct FileImpl*;
FileHandle openForReading(const std::string& path);  // nullptr when it cannot be opened
// Reads up to `count` bytes at the current position; returns how many were read.
std::size_t readFile(FileHandle file, void* buffer, std::size_t count);
// Moves the position; false when the offset lies past the end of the file.
bool seekFile(FileHandle file, std::uint64_t offset);
std::uint64_t fileSize(FileHandle file);
void closeFile(FileHandle file);

// A file created for writing (one already there is replaced), or one that
// exists opened for reading and writing; nullptr when it cannot be.
FileHandle createForWriting(const std::string& path);
FileHandle openForUpdate(const std::string& path);
// Writes `count` bytes at the current position; false unless all were written.
bool writeFile(FileHandle file, const void* data, std::size_t count);

}  // namespace platform
