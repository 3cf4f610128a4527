#pragma once
// Control and observation of the host platform, for tests and native tools.
// The host platform is deterministic: a virtual clock that moves only when
// the program sleeps or waits, keys that arrive only when a test posts them,
// a window that records what is drawn into a grid of cells, and files under a
// folder that stands for the drives.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/draw.h"
#include "platform/registry.h"
#include "platform/sapi4.h"
#include "platform/waveout.h"
#include "platform/window.h"

namespace platform::host {

// Thrown by exitProcess: how the program ended.
struct ProgramExit {
  int code;
};

// Thrown by waitMessage when nothing can ever arrive: a test that waits for
// a key it never posted fails instead of hanging.
struct Stalled : std::runtime_error {
  Stalled() : std::runtime_error("the program waits for a message that no test will post") {}
};

// Everything back to its defaults (no window, no keys, clock at its origin,
// no drive folder).
void reset();

// --- files and paths ---------------------------------------------------------
// "C:\X\Y" lives at <folder>/C/X/Y; host paths starting with '/' are used as they are.
void setDriveFolder(const std::string& folder);
// "X:\..." lives at <folder>/... for this one drive letter (a Wine prefix's drive_c).
void mapDrive(char letter, const std::string& folder);
std::string hostPath(const std::string& windowsPath);
// Writes a file (making its directories) at a Windows path.
void writeFile(const std::string& windowsPath, std::string_view content);
void setWindowsDirectory(const std::string& path);  // default C:\WINDOWS
void setCurrentDirectory(const std::string& path);  // default C:\TARSIS
void setModuleFileName(const std::string& path);    // default C:\TARSIS\FALAMCI.EXE
// Faults: the next createForWriting fails; writes fail once `bytes` more
// have been written (a full disk).
void failNextFileCreate();
void failFileWritesAfter(std::uint64_t bytes);

// --- clock ---------------------------------------------------------------------
void setLocalTime(const LocalTime& time);  // weekday is computed from the date
std::uint64_t elapsedMs();                 // virtual time since reset
// Runs `event` when the virtual clock has moved `milliseconds` on (the
// program sleeps or waits meanwhile); returns an identifier.
int scheduleAfter(std::uint64_t milliseconds, std::function<void()> event);

// --- input ---------------------------------------------------------------------
struct Modifiers {
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
};
void postKeyDown(unsigned virtualKey, Modifiers modifiers = {});
void postSysKeyDown(unsigned virtualKey, Modifiers modifiers = {});
void postKeyUp(unsigned virtualKey, Modifiers modifiers = {});
void postChar(unsigned character, Modifiers modifiers = {});
// A key pressed and released as a keyboard and TranslateMessage deliver it.
void pressKey(unsigned virtualKey, Modifiers modifiers = {});
// Each byte typed: letters, digits and space as key presses, others as characters.
void typeText(std::string_view text);
void postMouse(EventKind kind, Point position);
void postClose();
void postFocusChange(bool gained);  // WM_SETFOCUS or WM_KILLFOCUS
void postQuitMessage();
// Run when the program waits and no message is pending; may post more.
void setIdleHook(std::function<void()> hook);
// Number of messages waiting in the queue.
int pendingMessages();

// --- the window ------------------------------------------------------------------
struct WindowInfo {
  std::string className;
  std::string title;
  bool registered = false;
  bool exists = false;
  bool attached = false;
  bool visible = false;
  bool maximized = false;
  bool closeEnabled = false;
  bool destroyed = false;
  int width = 0;
  int height = 0;
  MinMaxInfo minMax = {};
};
const WindowInfo& window();
void setActive(bool active);
void setWindowTop(int top);  // screen position of the window's top edge (default 0)
void setSystemMetrics(const SystemMetrics& metrics);
void setWorkArea(const Rect& area);

// What the window shows, cell by cell (cells of the metrics of the font in use).
struct Cell {
  std::uint8_t ch;
  Rgb foreground;
  Rgb background;
};
Cell displayCell(int column, int row);  // 0-based
std::string displayRow(int row);

struct TextRun {
  int x, y;
  std::string text;
  Rgb foreground, background;
};
struct DrawLog {
  std::vector<TextRun> runs;
  int pixelCopies = 0;
  int solidFills = 0;
  int invalidations = 0;
  int erasingInvalidations = 0;
  int paints = 0;
  int openSurfaces = 0;  // surfaces taken and not yet released
};
DrawLog& drawLog();

struct FontInfo {
  int height, width, weight;
  std::string face;
  bool deleted;
};
const std::vector<FontInfo>& fonts();

struct CaretInfo {
  bool exists = false;
  bool visible = false;
  int width = 0, height = 0, x = 0, y = 0;
  int created = 0;
  int destroyed = 0;
};
const CaretInfo& caret();

struct MagnifierLog {
  int captures = 0;
  int releases = 0;
  Point captureSize = {0, 0};
  std::vector<Point> origins;
  Point sourceSize = {0, 0};
  Point destinationSize = {0, 0};
};
const MagnifierLog& magnifier();

// --- sounds outside the wave-out device ------------------------------------------
struct ToneLog {
  std::vector<std::vector<std::uint8_t>> images;  // every looping image started
  int stops = 0;
  bool playing = false;
  int beeps = 0;
};
const ToneLog& tones();

// --- files opened ---------------------------------------------------------------------
// Every file the program opened for reading, by the path it gave, in order.
const std::vector<std::string>& openedFiles();
void clearOpenedFiles();

// --- wave-out ---------------------------------------------------------------------------
struct WaveBlock {
  WaveFormat format;
  std::vector<std::uint8_t> data;  // as written, `length` bytes
  std::uint64_t writtenAtMs;
};
struct WaveLog {
  std::vector<WaveFormat> opens;  // every successful open, with its format
  int openAttempts = 0;
  int closes = 0;
  int resets = 0;
  std::vector<WaveBlock> blocks;
};
WaveLog& waveLog();
// The data of every block written, joined (what a listener would hear, cuts aside).
std::vector<std::uint8_t> playedSamples();
// Fails the next `count` opens with `code` (4: the device is busy).
void failWaveOpens(int count, int code);
void setWaveDevicePresent(bool present);
// While held, written blocks are never reported done.
void holdWaveBlocks(bool hold);
void failWavePrepares(int count, int code);
// The results the next unprepare calls give, in order.
void queueUnprepareResults(std::vector<int> results);
// Keeps (default) or forgets the data of written blocks; long benchmarks forget it.
void setWaveRecording(bool keep);
// Called each time a block is written to the device.
void setWaveWriteHook(std::function<void()> hook);
// Writes everything played as a WAV file (8-bit mono at the rate of the first block).
bool writePlayedWave(const std::string& hostFile);

// --- MCI ------------------------------------------------------------------------------
constexpr int kMciUnknownCommand = 292;  // MCIERR_UNRECOGNIZED_COMMAND; every unscripted command gets it
void setMciAnswer(const std::string& command, int code, const std::string& returned);
void setMciErrorText(int code, const std::string& text);
const std::vector<std::string>& mciCommandsSent();

// --- shell ------------------------------------------------------------------------------
struct ShellRequest {
  std::string program, parameters, directory;
};
const std::vector<ShellRequest>& shellRequests();

// --- message boxes ----------------------------------------------------------------------
const std::vector<std::string>& messagesShown();
void clearMessagesShown();

// --- COM --------------------------------------------------------------------------------
int comInitializations();

// --- SAPI voices ------------------------------------------------------------------
// A SAPI 5 runtime of fake voices. Each call is logged as a line: "create 5"
// (or 54), "interests N", "count", "select I", "rate R", "event", "file PATH",
// "speak FLAGS TEXT", "wait MS", "release".
struct Sapi5Fake {
  bool installed = false;
  int voices = 2;
  bool failEveryCall = false;  // every call of an object answers failure
  bool failSelect = false;
  bool rejectRate = false;
  bool failSpeak = false;
  bool failFile = false;
  // Each text spoken keeps the voice busy for this many waits.
  int waitsPerText = 0;
  int busyWaits = 0;
  int liveVoices = 0;  // created and not yet released
  std::vector<std::string> calls;
};
Sapi5Fake& sapi5Fake();

// A SAPI 4 runtime with `modes` engine modes. Calls are logged: "create",
// "file PATH", "card", "enumerator", "next", "select", "register", "speed S",
// "pitch P", "text SIZE TEXT", "reset", "flush", "unregister", "release".
struct Sapi4Fake {
  bool installed = false;
  int modes = 2;
  bool failFileSet = false;
  bool failSelect = false;
  bool failRegister = false;
  bool failTextData = false;
  std::string directoryOnSelect;  // an engine that changes the current directory as it loads
  int modesTaken = 0;  // the mode a select would choose, 1-based
  int liveSessions = 0;
  Sapi4Events* events = nullptr;  // the sinks registered, for tests to call back
  std::vector<std::string> calls;
};
Sapi4Fake& sapi4Fake();

// --- clipboard ------------------------------------------------------------------------
void setClipboard(std::optional<std::string> text);  // nullopt: no text on it
std::optional<std::string> clipboard();
void failClipboardOpens(int count);

// --- registry and libraries --------------------------------------------------------
// A value as the registry would hold it (REG_SZ is type 1, its data ending in
// a zero byte); a string value with its zero added.
void setRegistryValue(RegistryRoot root, const std::string& subkey, const std::string& name, std::uint32_t type,
                      const std::vector<std::uint8_t>& data);
void setRegistryString(RegistryRoot root, const std::string& subkey, const std::string& name, const std::string& text);
int registryOpens();     // keys the program asked to open since reset
int openRegistryKeys();  // keys open now (0 when each was closed)

// A library the program can load by name: `resolver` gives each exported
// symbol's address, or null.
using SymbolResolver = std::function<void*(const char*)>;
void installLibrary(const std::string& name, SymbolResolver resolver);
void removeLibrary(const std::string& name);
int loadedLibraries();  // loaded and not yet freed

}  // namespace platform::host
