// Drives programs in the Wine prefix, from outside or in the test's own
// process: start them, find and answer their windows, run the driver's tool,
// make files, read and write the registry. Every wait has a timeout.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/registry_key.h"

// Where the scripts install the programs inside the prefix.
constexpr const char* kProgramDir = "C:\\FT";
constexpr const char* kManagerExe = "C:\\FT\\MANAGER.EXE";
// The x86_64 build, which asks the system's version; under the same file
// name, so that the prefix's version for MANAGER.EXE applies to it too.
constexpr const char* kVersionAskingManagerExe = "C:\\FT\\X64\\MANAGER.EXE";
constexpr const char* kFtctlExe = "C:\\FT\\FTCTL.EXE";
constexpr const char* kInstalledCacheDir = "C:\\FTCACHE";  // as the driver's installer names it
// The four records' values under the driver's key, beside "CacheDir".
inline const char* const kRecordValues[] = {"Data", "Data2", "Other", "DB"};
constexpr DWORD kDefaultTimeoutMs = 10000;
using Bytes = std::vector<uint8_t>;

// ---- waiting and failing ----------------------------------------------
// Polls condition until it holds or timeoutMs have passed by the clock;
// true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Stops the test with what went wrong: a harness call that timed out or a
// write that failed (an exception, which the test reports as its failure).
[[noreturn]] void HarnessFailure(const std::string& what);

// ---- processes --------------------------------------------------------
struct Launched {
  HANDLE process = nullptr;
  DWORD pid = 0;
};
// Starts a program (command line as CreateProcessA takes it) in kProgramDir,
// its stdout and stderr sent to output when given. process is null when it failed.
Launched LaunchProgram(const std::string& commandLine, HANDLE output = nullptr);
// Waits for the program to end and returns its exit code; one that does not
// end in time is killed, and 0xFFFFFFFF returned. Safe to repeat.
DWORD ExitCodeOf(Launched& program, DWORD timeoutMs = kDefaultTimeoutMs);

// ---- windows ----------------------------------------------------------
// Polls for a top-level window by class and title (either may be null);
// when pid is non-zero only windows of that process count.
HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs, DWORD pid = 0);
// Polls until the window is gone; true when it went in time.
bool WaitWindowGone(HWND window, DWORD timeoutMs);
std::string ControlText(HWND dialog, int controlId);
// Presses a button from outside (posted: the target may be in a modal loop).
void PressButton(HWND dialog, int controlId);

// ---- controls of another process --------------------------------------
// Sends a message and waits (at most 10 s) until it was handled: for what
// must be done before the test goes on; a message not handled in time stops
// the test. A handler that runs a modal loop (a box) holds the sender until
// the loop ends: post those instead.
LRESULT SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Waits until the window's thread takes messages again. Messages posted
// earlier may still wait in its queue: a sent message overtakes them.
void Sync(HWND window);
bool IsChecked(HWND dialog, int controlId);
bool IsEnabled(HWND dialog, int controlId);
// Replaces a control's text (WM_SETTEXT; the control's owner is not told).
void SetText(HWND dialog, int controlId, const std::string& text);
// Types into a control as the keyboard would: one WM_CHAR per character, so
// the control's own filters and limits apply. "\b" is a backspace.
void TypeText(HWND dialog, int controlId, const std::string& text);
// Clicks a button and waits until its handler ran (unless it opened a modal
// loop, which Sync cannot wait through: then use PressButton).
void ClickAndSync(HWND dialog, int controlId);
// A list box's items in its order, in this process.
std::vector<std::string> ListBoxItems(HWND dialog, int controlId);
// Selects a list-box item (-1: none) and tells the owner as a click would.
void SelectListBoxItem(HWND dialog, int controlId, int index);
// A combo box's items in list order, in this process.
std::vector<std::string> ComboItems(HWND dialog, int controlId);

// ---- property sheets ---------------------------------------------------
constexpr int kApplyButton = 0x3021;  // the sheet's Apply, as comctl32 numbers it
// The control panel's tabs in their order.
enum PanelTab { kGeneralTab, kAdvancedTab, kFileManagerTab, kEditModeTab, kStatisticsTab, kAboutTab };
// Chooses a tab as a click would (the pages are told) and returns its page.
HWND ChooseSheetTab(HWND sheet, int index);
HWND CurrentSheetPage(HWND sheet);

// A message box with caption "FileTrove": found, its text read, OK pressed.
struct Box {
  bool found = false;
  std::string text;
};
Box AnswerBox(DWORD timeoutMs = kDefaultTimeoutMs, DWORD pid = 0);
// Runs action on this thread while another one hands every dialog or box of
// this process that it opens (but except) to answer, which presses OK unless
// given. The windows' captions, texts and owners in their order.
struct Shown {
  std::string caption, text;
  HWND owner;
};
std::vector<Shown> Opened(const std::function<void()>& action, const std::function<void(HWND)>& answer = nullptr,
                          HWND except = nullptr);

// ---- the stand-in driver -------------------------------------------------
struct ToolResult {
  DWORD exitCode = 0xFFFFFFFF;  // stays so when the tool did not end in time
  std::string out;              // and what it wrote to stderr
};
// Runs C:\FT\FTCTL.EXE with the given arguments, its output sent to a file
// (never a pipe, which Wine's server may hold open).
ToolResult Ftctl(const std::string& args);
// The journal through the device, one line per request as `ftctl log`
// prints it: "CACHE_DISABLE 0x8101", then the input bytes in hex and
// " failed" where the driver was told to fail it.
std::vector<std::string> DriverLog();
// The same lines without the bytes: "CACHE_DISABLE 0x8101".
std::vector<std::string> DriverRequests();
// Empties the journal and lets every request succeed, starting the driver
// if it was stopped.
void ResetDriver();
// Makes the driver fail every request with this code from now on.
void FailRequest(DWORD code);

// ---- files --------------------------------------------------------------
// Writes text as a file's whole contents, and makes the profile functions,
// which cache files, read it anew; a failed write stops the test.
void WriteTextFile(const char* path, const std::string& text);
// A name in the temporary folder.
std::string TempPath(const char* name);
// A file of the source tree as Wine names it.
std::string SourceFile(const char* relative);
// A cache folder of the test's own. Files are made through \\?\ paths, which
// reach every name (given in UTF-8): a trailing dot or blank, a character
// outside the code page, a path beyond MAX_PATH. What was made, with the
// driver values named as it, goes again at Clear and at the end.
struct MadeFolder {
  explicit MadeFolder(const std::string& folder) : path(folder) { CreateDirectoryA(path.c_str(), nullptr); }
  ~MadeFolder();
  std::wstring Path(const std::string& name) const;
  bool There(const std::string& name) const;
  // A file of size bytes (folder: a folder), with its record when given
  // (a record that cannot be written stops the test).
  bool Make(const std::string& name, uint64_t size, const Bytes& record = {}, bool folder = false);
  void Clear();
  std::string path;
  std::vector<std::string> made;
};

// ---- registry -----------------------------------------------------------
// Creates the key if needed and writes the value; a failed write stops the test.
void WriteValue(HKEY root, const char* keyPath, const char* name, DWORD type, const Bytes& data);
// Deletes a key with everything below it; no error when it is missing.
void DeleteKeyTree(HKEY root, const char* keyPath);
bool KeyExists(HKEY root, const char* keyPath);

// The driver's key. True when the value exists; fills data (and type when given).
bool ReadDriverValue(const char* name, Bytes* data, DWORD* type = nullptr);
// The 32-bit word at offset of a driver value; a value missing or too short
// for it stops the test.
uint32_t StoredWord(const char* name, size_t offset);
void WriteDriverValue(const char* name, DWORD type, const Bytes& data);
void DeleteDriverValue(const char* name);

// An icon's colour bits as its bitmap holds them; empty when it is no icon
// (or no longer one).
Bytes IconPixels(HICON icon);

// ---- bytes --------------------------------------------------------------
// Lower-case hex without separators, as `ftctl log` prints input bytes.
std::string Hex(const Bytes& data);
Bytes Le32(uint32_t value);
// A string value's bytes, its NUL included.
Bytes Text(const std::string& text);
Bytes Concat(std::initializer_list<Bytes> parts);
// A cached file's record as the driver writes it: FileStamp, last use (FILETIME
// units), hits and four spare bytes.
Bytes RecordBytes(uint64_t stamp, uint64_t lastUsed, uint32_t hits);
// The stored "DB": the switch, then each 6-byte slot's bytes (the rest zero).
Bytes TypeTable(uint32_t enabled, const std::vector<std::string>& slots);
// A UTC date and hour as FILETIME, as records carry them.
FILETIME Utc(WORD year, WORD month, WORD day, WORD hour = 0);
// A FILETIME as one number of 100-ns units.
inline uint64_t Ticks(FILETIME time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; }
