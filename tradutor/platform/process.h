#pragma once
// The process: its module file name and its end.
//
// Contract: exitProcess never returns to its caller. The Windows
// implementation ends the process with the code (C runtime exit handlers run);
// the host implementation throws platform::host::ProgramExit so that a test
// can observe how the program ended.
#include <string>

namespace platform {

// The program's module file name as read into a buffer of `bufferSize` bytes
// (so at most bufferSize - 1 characters), in the ANSI code page.
std::string moduleFileName(int bufferSize);

// Converts text from the OEM code page to the ANSI code page, same length.
void oemToAnsi(std::string& text);

[[noreturn]] void exitProcess(int code);

}  // namespace platform
