#pragma once
// Shared pieces of the host platform's files.
#include "platform/host/host_control.h"

namespace platform::host::internal {

void resetFiles();
void resetProcess();
void resetClock();
void resetWindow();
void resetDraw();
void resetTones();
void resetClipboard();

// Advances the virtual clock, running the events that fall due.
void advanceClock(std::uint64_t milliseconds);
// Jumps to the next scheduled event and runs it; false when there is none.
bool advanceToNextEvent();
bool eventsPending();
void cancelScheduled(int id);
void resetWaveOut();
void resetCom();
void resetMci();
void resetShell();
void resetMessages();
void resetRegistry();
void resetLibraries();
void resetSapi();

// Lower case of ASCII letters: registry keys and library names are matched
// without regard to case, as on Windows.
std::string foldCase(std::string text);

// Posts a wave-out notification to the console window.
void postWaveDone(std::uintptr_t device, std::uintptr_t header);
// Records that a file was opened.
void noteFileOpened(const std::string& path);

// The display: erases it to black (the class brush) before a paint.
void eraseDisplay();
Rect clientRect();
void validate();  // the window's invalid region is painted

}  // namespace platform::host::internal
