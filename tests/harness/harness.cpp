// The tests run on today's Wine, not on Windows 95: newer registry calls serve.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "harness.h"

#include <commctrl.h>
#include <prsht.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

constexpr DWORD kPollMs = 25;

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
  HWND window;
  for (DWORD waited = 0; !(window = FindTopLevel(className, title, pid)) && waited < timeoutMs; waited += kPollMs)
    Sleep(kPollMs);
  return window;
}

bool WaitWindowGone(HWND window, DWORD timeoutMs) {
  for (DWORD waited = 0; IsWindow(window) && waited < timeoutMs; waited += kPollMs) Sleep(kPollMs);
  return !IsWindow(window);
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

constexpr UINT kSyncTimeoutMs = 5000;

LRESULT SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSyncTimeoutMs, &result);
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

bool NoBoxWithin(DWORD timeoutMs, DWORD pid) { return WaitForWindow("#32770", "FileTrove", timeoutMs, pid) == nullptr; }

std::vector<Shown> Opened(const std::function<void()>& action, const std::function<void(HWND)>& answer, HWND except) {
  std::atomic<bool> done{false};
  std::vector<Shown> shown;
  std::thread answerer([&] {
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
      Sync(window);  // its controls are made
      shown.push_back({WindowText(window), ControlText(window, 0xFFFF), GetWindow(window, GW_OWNER)});
      answer ? answer(window) : PressButton(window, IDOK);
      WaitWindowGone(window, kDefaultTimeoutMs);
    }
  });
  action();
  done = true;
  answerer.join();
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

std::vector<std::string> DriverLog() {
  std::vector<std::string> lines;
  std::istringstream text(Ftctl("log").out);
  for (std::string line; std::getline(text, line);) lines.push_back(line.substr(0, line.find('\r')));
  return lines;
}

bool WriteTextFile(const char* path, const std::string& text) {
  bool written = !std::ofstream(path, std::ios::binary).write(text.data(), text.size()).fail();
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
  return written;
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

bool WriteValue(HKEY root, const char* keyPath, const char* name, DWORD type, const Bytes& data) {
  return RegSetKeyValueA(root, keyPath, name, type, data.data(), static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
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
  if (RegOpenKeyExA(kDriverRoot, kDriverKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
  data->resize(size);
  if (status == ERROR_SUCCESS) status = RegQueryValueExA(key, name, nullptr, type, data->data(), &size);
  data->resize(size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}
bool WriteDriverValue(const char* name, DWORD type, const Bytes& data) {
  return WriteValue(kDriverRoot, kDriverKeyPath, name, type, data);
}
uint32_t StoredWord(const char* name, size_t offset) {
  Bytes data;
  uint32_t word = 0xFFFFFFFF;
  if (ReadDriverValue(name, &data) && data.size() >= offset + 4) memcpy(&word, data.data() + offset, 4);
  return word;
}

void DeleteDriverValue(const char* name) { RegDeleteKeyValueA(kDriverRoot, kDriverKeyPath, name); }

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
