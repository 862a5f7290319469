// The tests run on today's Wine, not on Windows 95: newer registry calls serve.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "harness.h"

#include <commctrl.h>
#include <prsht.h>

#include <winioctl.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "settings/device.h"
#include "ftcache_ioctl.h"

constexpr DWORD kPollMs = 25;

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  for (DWORD start = GetTickCount();; Sleep(kPollMs)) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return condition();
  }
}

void HarnessFailure(const std::string& what) { throw std::runtime_error(what); }

Launched LaunchProgram(const std::string& commandLine, HANDLE output) {
  Launched launched;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = output ? STARTF_USESTDHANDLES : 0;
  startup.hStdOutput = startup.hStdError = output;
  PROCESS_INFORMATION info = {};
  std::string line = commandLine;
  if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, output != nullptr, output ? CREATE_NO_WINDOW : 0, nullptr,
                     kProgramDir, &startup, &info)) {
    CloseHandle(info.hThread);
    launched.process = info.hProcess;
    launched.pid = info.dwProcessId;
  }
  return launched;
}

DWORD ExitCodeOf(Launched& program, DWORD timeoutMs) {
  DWORD exitCode = 0xFFFFFFFF;
  if (!program.process) return exitCode;
  if (WaitForSingleObject(program.process, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(program.process, &exitCode);
  } else {
    TerminateProcess(program.process, 99);
    WaitForSingleObject(program.process, kDefaultTimeoutMs);
  }
  CloseHandle(program.process);
  program = Launched{};
  return exitCode;
}

static HWND FindTopLevel(const char* className, const char* title, DWORD pid) {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, title));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (pid == 0 || owner == pid) return window;
  }
  return nullptr;
}

HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs, DWORD pid) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindTopLevel(className, title, pid)) != nullptr; }, timeoutMs);
  return window;
}

bool WaitWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

static std::string WindowText(HWND window) {
  char text[2048] = "";
  // WM_GETTEXT reaches another process's controls; GetWindowText does not.
  // A busy machine can keep the window's thread from answering for seconds:
  // two of them once read a box as empty.
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                           kDefaultTimeoutMs, nullptr))
    return "(no answer to WM_GETTEXT)";
  return text;
}

std::string ControlText(HWND dialog, int controlId) { return WindowText(GetDlgItem(dialog, controlId)); }

void PressButton(HWND dialog, int controlId) {
  if (HWND button = GetDlgItem(dialog, controlId)) PostMessageA(button, BM_CLICK, 0, 0);
}

LRESULT SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kDefaultTimeoutMs, &result)) {
    char what[128];
    snprintf(what, sizeof what, "message 0x%04x to window %p not handled within %lu ms (error %lu)", message,
             static_cast<void*>(window), kDefaultTimeoutMs, GetLastError());
    HarnessFailure(what);
  }
  return static_cast<LRESULT>(result);
}

void Sync(HWND window) { SendAndWait(window, WM_NULL, 0, 0); }

bool IsChecked(HWND dialog, int controlId) {
  return SendAndWait(GetDlgItem(dialog, controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int controlId) { return IsWindowEnabled(GetDlgItem(dialog, controlId)) != FALSE; }

void SetText(HWND dialog, int controlId, const std::string& text) {
  SendAndWait(GetDlgItem(dialog, controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TypeText(HWND dialog, int controlId, const std::string& text) {
  HWND control = GetDlgItem(dialog, controlId);
  for (char c : text) SendAndWait(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void ClickAndSync(HWND dialog, int controlId) { SendAndWait(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0); }

// The items of a list box or a combo box of this process.
static std::vector<std::string> ItemTexts(HWND control, UINT countMessage, UINT textMessage) {
  std::vector<std::string> items(SendMessageA(control, countMessage, 0, 0));
  char text[512];
  for (size_t i = 0; i < items.size(); i++)
    items[i] = SendMessageA(control, textMessage, i, reinterpret_cast<LPARAM>(text)) > 0 ? text : "";
  return items;
}

std::vector<std::string> ListBoxItems(HWND dialog, int controlId) {
  return ItemTexts(GetDlgItem(dialog, controlId), LB_GETCOUNT, LB_GETTEXT);
}

void SelectListBoxItem(HWND dialog, int controlId, int index) {
  HWND list = GetDlgItem(dialog, controlId);
  SendAndWait(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendAndWait(dialog, WM_COMMAND, MAKEWPARAM(controlId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

std::vector<std::string> ComboItems(HWND dialog, int controlId) {
  return ItemTexts(GetDlgItem(dialog, controlId), CB_GETCOUNT, CB_GETLBTEXT);
}

HWND CurrentSheetPage(HWND sheet) { return reinterpret_cast<HWND>(SendAndWait(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

HWND ChooseSheetTab(HWND sheet, int index) {
  SendAndWait(sheet, PSM_SETCURSEL, index, 0);
  return CurrentSheetPage(sheet);
}

Box AnswerBox(DWORD timeoutMs, DWORD pid) {
  Box box;
  HWND window = WaitForWindow("#32770", "FileTrove", timeoutMs, pid);
  if (!window) return box;
  box.found = true;
  box.text = ControlText(window, 0xFFFF);
  PressButton(window, IDOK);
  WaitWindowGone(window, kDefaultTimeoutMs);
  return box;
}


// Answers every dialog or box of this process but except until done. A
// failure is kept for the caller and the window closed, so that the action
// it held still ends.
static void AnswerUntilDone(const std::atomic<bool>& done, std::vector<Shown>* shown,
                            const std::function<void(HWND)>& answer, HWND except, std::exception_ptr* failure) {
  while (!done) {
    HWND window = nullptr;
    DWORD pid = 0;
    while ((window = FindWindowExA(nullptr, window, "#32770", nullptr))) {
      GetWindowThreadProcessId(window, &pid);
      if (pid == GetCurrentProcessId() && window != except && IsWindowVisible(window)) break;
    }
    if (!window) {
      Sleep(10);
      continue;
    }
    try {
      Sync(window);  // its controls are made
      shown->push_back({WindowText(window), ControlText(window, 0xFFFF), GetWindow(window, GW_OWNER)});
      answer ? answer(window) : PressButton(window, IDOK);
    } catch (...) {
      if (!*failure) *failure = std::current_exception();
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    WaitWindowGone(window, kDefaultTimeoutMs);
  }
}

std::vector<Shown> Opened(const std::function<void()>& action, const std::function<void(HWND)>& answer, HWND except) {
  std::atomic<bool> done{false};
  std::vector<Shown> shown;
  std::exception_ptr failure;
  std::thread answerer([&] { AnswerUntilDone(done, &shown, answer, except, &failure); });
  try {
    action();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  done = true;
  answerer.join();
  if (failure) std::rethrow_exception(failure);
  return shown;
}

ToolResult Ftctl(const std::string& args) {
  ToolResult result;
  // A name of its own each time, deletable while still open: under Wine a
  // handle to it can outlive the tool's end, and the file was left behind.
  char outPath[MAX_PATH];
  GetTempFileNameA(TempPath("").c_str(), "fto", 0, outPath);
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out =
      CreateFileA(outPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit, CREATE_ALWAYS, 0, nullptr);
  Launched tool = LaunchProgram(std::string(kFtctlExe) + " " + args, out);
  result.exitCode = ExitCodeOf(tool, kDefaultTimeoutMs);
  CloseHandle(out);
  std::ifstream file(outPath, std::ios::binary);
  result.out.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  file.close();
  DeleteFileA(outPath);
  return result;
}

// The device opened as the Manager opens it.
static HANDLE OpenDriverDevice() {
  char path[16];
  snprintf(path, sizeof path, "\\\\.\\%s", DEVICE_NAME);
  return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// One of the stand-in driver's own requests.
static void DriverCall(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize) {
  HANDLE device = OpenDriverDevice();
  DWORD returned = 0;
  bool done = device != INVALID_HANDLE_VALUE && DeviceIoControl(device, code, const_cast<void*>(input), inputSize,
                                                                 output, outputSize, &returned, nullptr);
  DWORD error = GetLastError();
  if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
  if (!done) {
    char what[96];
    snprintf(what, sizeof what, "the driver's request 0x%08lx failed (error %lu)", code, error);
    HarnessFailure(what);
  }
}

static const char* RequestName(DWORD code) {
  static const struct { DWORD code; const char* name; } names[] = {
      {CACHE_ENABLE, "CACHE_ENABLE"},     {CACHE_DISABLE, "CACHE_DISABLE"}, {CACHE_SET_SETTINGS, "CACHE_SET_SETTINGS"},
      {CACHE_DISK_LOW, "CACHE_DISK_LOW"}, {CACHE_DISK_OK, "CACHE_DISK_OK"}, {CACHE_SET_EDIT_TYPES, "CACHE_SET_EDIT_TYPES"},
  };
  for (const auto& entry : names)
    if (entry.code == code) return entry.name;
  return "UNKNOWN";
}

// The journal's lines, with or without the input bytes.
static std::vector<std::string> JournalLines(bool withBytes) {
  FtJournalStatus status = {};
  DriverCall(FT_IOCTL_GET_STATUS, nullptr, 0, &status, sizeof status);
  std::vector<std::string> lines;
  for (uint32_t index = 0; index < status.Count; index++) {
    FtJournalEntry entry = {};
    DriverCall(FT_IOCTL_GET_ENTRY, &index, sizeof index, &entry, sizeof entry);
    char code[16];
    snprintf(code, sizeof code, " 0x%04x", entry.Code);
    std::string line = RequestName(entry.Code) + std::string(code);
    if (!withBytes) {
      lines.push_back(line);
      continue;
    }
    uint32_t kept = entry.InputLength < FT_JOURNAL_INPUT_MAX ? entry.InputLength : FT_JOURNAL_INPUT_MAX;
    if (kept) line += " " + Hex(Bytes(entry.Input, entry.Input + kept));
    if (entry.Outcome == FT_OUTCOME_FAILED) line += " failed";
    if (entry.Outcome == FT_OUTCOME_REFUSED) line += " refused";
    lines.push_back(line);
  }
  if (status.Dropped) lines.push_back("dropped " + std::to_string(status.Dropped));
  return lines;
}

std::vector<std::string> DriverLog() { return JournalLines(true); }
std::vector<std::string> DriverRequests() { return JournalLines(false); }

void ResetDriver() {
  HANDLE device = OpenDriverDevice();
  if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
  else if (ToolResult started = Ftctl("start"); started.exitCode != 0) HarnessFailure("ftctl start: " + started.out);
  uint32_t none = 0;
  DriverCall(FT_IOCTL_RESET, nullptr, 0, &none, sizeof none);
}

void FailRequest(DWORD code) { DriverCall(FT_IOCTL_SET_FAILURE, &code, sizeof code, nullptr, 0); }

void WriteTextFile(const char* path, const std::string& text) {
  if (std::ofstream(path, std::ios::binary).write(text.data(), text.size()).fail())
    HarnessFailure(std::string("cannot write ") + path);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
}

std::string TempPath(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  return folder + std::string(name);
}

std::string SourceFile(const char* relative) {
  std::string path = std::string("Z:") + FT_SOURCE_DIR + "/" + relative;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

// A file of size bytes, sparse.
static bool MakeFile(const std::wstring& path, uint64_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  LARGE_INTEGER end = {};
  end.QuadPart = static_cast<LONGLONG>(size);
  bool made = file != INVALID_HANDLE_VALUE && SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  return CloseHandle(file) && made;
}

MadeFolder::~MadeFolder() {
  Clear();
  RemoveDirectoryA(path.c_str());
}

std::wstring MadeFolder::Path(const std::string& name) const {
  wchar_t wide[600];
  MultiByteToWideChar(CP_UTF8, 0, ("\\\\?\\" + path + "\\" + name).c_str(), -1, wide, 600);
  return wide;
}

bool MadeFolder::There(const std::string& name) const {
  return GetFileAttributesW(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MadeFolder::Make(const std::string& name, uint64_t size, const Bytes& record, bool folder) {
  made.push_back(name);
  if (!record.empty()) WriteDriverValue(name.c_str(), REG_BINARY, record);
  return folder ? CreateDirectoryW(Path(name).c_str(), nullptr) : MakeFile(Path(name), size);
}

void MadeFolder::Clear() {
  for (const std::string& name : made) {
    DeleteDriverValue(name.c_str());
    SetFileAttributesW(Path(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(Path(name).c_str())) RemoveDirectoryW(Path(name).c_str());
  }
  made.clear();
}

void WriteValue(HKEY root, const char* keyPath, const char* name, DWORD type, const Bytes& data) {
  LSTATUS status = RegSetKeyValueA(root, keyPath, name, type, data.data(), static_cast<DWORD>(data.size()));
  if (status != ERROR_SUCCESS)
    HarnessFailure(std::string("cannot write the value ") + name + " of " + keyPath + " (error " +
                   std::to_string(status) + ")");
}

void DeleteKeyTree(HKEY root, const char* keyPath) { RegDeleteTreeA(root, keyPath); }

bool KeyExists(HKEY root, const char* keyPath) {
  HKEY key;
  if (RegOpenKeyExA(root, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool ReadDriverValue(const char* name, Bytes* data, DWORD* type) {
  HKEY key;
  if (RegOpenKeyExA(DRIVER_KEY_ROOT, DRIVER_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
  data->resize(size);
  if (status == ERROR_SUCCESS) status = RegQueryValueExA(key, name, nullptr, type, data->data(), &size);
  data->resize(size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}
void WriteDriverValue(const char* name, DWORD type, const Bytes& data) {
  WriteValue(DRIVER_KEY_ROOT, DRIVER_KEY_PATH, name, type, data);
}
uint32_t StoredWord(const char* name, size_t offset) {
  Bytes data;
  uint32_t word = 0;
  if (!ReadDriverValue(name, &data) || data.size() < offset + 4)
    HarnessFailure(std::string("no word at ") + std::to_string(offset) + " of the stored " + name);
  memcpy(&word, data.data() + offset, 4);
  return word;
}

void DeleteDriverValue(const char* name) { RegDeleteKeyValueA(DRIVER_KEY_ROOT, DRIVER_KEY_PATH, name); }

Bytes IconPixels(HICON icon) {
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  BITMAP colour = {};
  GetObjectA(info.hbmColor, sizeof colour, &colour);
  Bytes bits((colour.bmPlanes * colour.bmWidth * colour.bmHeight * colour.bmBitsPixel + 15) / 16 * 2);
  GetBitmapBits(info.hbmColor, static_cast<LONG>(bits.size()), bits.data());
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bits;
}

std::string Hex(const Bytes& data) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : data) {
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

Bytes Le32(uint32_t value) {
  return Bytes{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
               static_cast<uint8_t>(value >> 24)};
}

Bytes RecordBytes(uint64_t stamp, uint64_t lastUsed, uint32_t hits) {
  auto low = [](uint64_t value) { return static_cast<uint32_t>(value); };
  return Concat({Le32(low(stamp)), Le32(low(stamp >> 32)), Le32(low(lastUsed)), Le32(low(lastUsed >> 32)), Le32(hits),
                 Le32(0)});
}

Bytes Text(const std::string& text) { return Bytes(text.c_str(), text.c_str() + text.size() + 1); }

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes TypeTable(uint32_t enabled, const std::vector<std::string>& slots) {
  Bytes table = Le32(enabled);
  table.resize(184, 0);
  for (size_t i = 0; i < slots.size(); i++) memcpy(&table[4 + 6 * i], slots[i].data(), slots[i].size());
  return table;
}

FILETIME Utc(WORD year, WORD month, WORD day, WORD hour) {
  SYSTEMTIME time = {};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  FILETIME result = {};
  SystemTimeToFileTime(&time, &result);
  return result;
}
