// FTCTL.EXE: installs and steers the stand-in driver FTCACHE.SYS, reads its
// journal, and does to the driver's key what the caching driver does when a
// program reads a file over the link (cached copies, their records, Total).
// Exit code 0 when the command was done, 1 with a one-line reason on stderr.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ftcache_ioctl.h"

namespace {

constexpr const char* kServiceName = "FTCACHE";
constexpr const char* kDevicePath = "\\\\.\\FTCACHE";
constexpr const char* kDriverKeyPath = "System\\CurrentControlSet\\Services\\VxD\\FTCACHE";
constexpr const char* kDefaultCacheDir = "C:\\FTCACHE";
constexpr DWORD kServiceWaitMs = 5000;
constexpr uint64_t kTicksPerDay = 864000000000ull;  // FILETIME units

// The caching driver's per-file record, as stored under the driver's key.
struct CachedFileRecord {
  uint64_t FileStamp;
  FILETIME LastUsed;
  uint32_t Hits;
  uint32_t Reserved;
};
static_assert(sizeof(CachedFileRecord) == 24, "record layout");
static_assert(offsetof(CachedFileRecord, LastUsed) == 8, "record layout");
static_assert(offsetof(CachedFileRecord, Hits) == 16, "record layout");

// Settings values under the driver's key that are not per-file records.
constexpr const char* kSettingsValues[] = {"CacheDir", "Data", "Data2", "Other", "DB", "Total"};

struct RequestName {
  const char* name;
  uint32_t code;
};
constexpr RequestName kRequests[] = {
    {"CACHE_ENABLE", FT_CACHE_ENABLE},         {"CACHE_DISABLE", FT_CACHE_DISABLE},
    {"CACHE_SET_SETTINGS", FT_CACHE_SET_SETTINGS}, {"CACHE_DISK_LOW", FT_CACHE_DISK_LOW},
    {"CACHE_DISK_OK", FT_CACHE_DISK_OK},       {"CACHE_SET_EDIT_TYPES", FT_CACHE_SET_EDIT_TYPES},
};

int Refuse(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  fprintf(stderr, "ftctl: %s\n", text);
  fflush(stderr);
  return 1;
}

// ---- parsing ---------------------------------------------------------------

bool ParseNumber(const char* text, unsigned long long* value) {
  if (!*text || *text == '-' || *text == '+') return false;
  char* end = nullptr;
  errno = 0;
  *value = strtoull(text, &end, 0);
  return errno == 0 && *end == 0;
}

bool ParseSigned(const char* text, long long* value) {
  if (!*text) return false;
  char* end = nullptr;
  errno = 0;
  *value = strtoll(text, &end, 10);
  return errno == 0 && *end == 0;
}

const char* RequestNameOf(uint32_t code) {
  for (const RequestName& request : kRequests)
    if (request.code == code) return request.name;
  return "UNKNOWN";
}

// A request by name (CACHE_ENABLE) or by number (0x8100, 33024).
bool ParseCode(const char* text, uint32_t* code) {
  for (const RequestName& request : kRequests)
    if (_stricmp(text, request.name) == 0) return *code = request.code, true;
  unsigned long long value = 0;
  if (!ParseNumber(text, &value) || value > 0xFFFFFFFFull) return false;
  *code = static_cast<uint32_t>(value);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex digits without separators; "" and "-" stand for no bytes.
bool ParseHex(const char* text, std::vector<uint8_t>* bytes) {
  bytes->clear();
  if (strcmp(text, "-") == 0) return true;
  size_t length = strlen(text);
  if (length % 2) return false;
  for (size_t i = 0; i < length; i += 2) {
    int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes->push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return true;
}

std::string Hex(const uint8_t* data, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; i++) {
    text += digits[data[i] >> 4];
    text += digits[data[i] & 15];
  }
  return text;
}

// ---- the device ------------------------------------------------------------

// Opened the way the Manager opens it.
HANDLE OpenDevice() {
  return CreateFileA(kDevicePath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// One of the driver's own requests; on failure the reason is on stderr.
bool ToolCall(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize) {
  HANDLE device = OpenDevice();
  if (device == INVALID_HANDLE_VALUE) {
    Refuse("cannot open %s (error %lu): is the driver started?", kDevicePath, GetLastError());
    return false;
  }
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(device, code, const_cast<void*>(input), inputSize, output, outputSize, &returned, nullptr);
  DWORD error = GetLastError();
  CloseHandle(device);
  if (!ok) Refuse("driver request 0x%08lx failed (error %lu)", code, error);
  return ok != FALSE;
}

bool ToolCallWord(DWORD code, uint32_t value) { return ToolCall(code, &value, sizeof value, nullptr, 0); }

// ---- the service -----------------------------------------------------------

bool ProgramFolder(std::string* folder) {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  char* slash = strrchr(path, '\\');
  if (!slash) return false;
  *slash = 0;
  *folder = path;
  return true;
}

bool DeviceOpens() {
  HANDLE device = OpenDevice();
  if (device == INVALID_HANDLE_VALUE) return false;
  CloseHandle(device);
  return true;
}

// Polls until the device opens (wanted) or no longer opens.
bool WaitForDevice(bool wanted) {
  for (DWORD waited = 0; waited < kServiceWaitMs; waited += 50) {
    if (DeviceOpens() == wanted) return true;
    Sleep(50);
  }
  return DeviceOpens() == wanted;
}

int StartService() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return Refuse("cannot open the service manager (error %lu)", GetLastError());
  SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_START);
  DWORD error = service ? 0 : GetLastError();
  if (service && !StartServiceA(service, 0, nullptr)) error = GetLastError();
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  if (!service) return Refuse("service %s is not installed (error %lu)", kServiceName, error);
  if (error && error != ERROR_SERVICE_ALREADY_RUNNING)
    return Refuse("cannot start service %s (error %lu)", kServiceName, error);
  if (!WaitForDevice(true)) return Refuse("service %s started but %s does not open", kServiceName, kDevicePath);
  return 0;
}

int StopService() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return Refuse("cannot open the service manager (error %lu)", GetLastError());
  SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS);
  DWORD error = service ? 0 : GetLastError();
  SERVICE_STATUS status = {};
  if (service && !ControlService(service, SERVICE_CONTROL_STOP, &status)) error = GetLastError();
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  if (!service) return Refuse("service %s is not installed (error %lu)", kServiceName, error);
  if (error && error != ERROR_SERVICE_NOT_ACTIVE)
    return Refuse("cannot stop service %s (error %lu)", kServiceName, error);
  if (!WaitForDevice(false)) return Refuse("service %s stopped but %s still opens", kServiceName, kDevicePath);
  return 0;
}

// ---- the driver's key --------------------------------------------------------

LONG OpenDriverKey(REGSAM access, HKEY* key) {
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriverKeyPath, 0, access, key);
}

// The cache folder as the Manager reads it: a zeroed 260-byte buffer.
bool ReadCacheDir(HKEY key, std::string* folder) {
  char buffer[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH;
  if (RegQueryValueExA(key, "CacheDir", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return false;
  *folder = buffer;
  return !folder->empty();
}

std::string CachePath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

bool ReadRecord(HKEY key, const char* name, CachedFileRecord* record) {
  DWORD size = sizeof *record;
  return RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(record), &size) == ERROR_SUCCESS &&
         size == sizeof *record;
}

bool WriteRecord(HKEY key, const char* name, const CachedFileRecord& record) {
  return RegSetValueExA(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record), sizeof record) ==
         ERROR_SUCCESS;
}

// Total as the Manager reads it: 4 bytes into a buffer that starts at 0.
uint32_t ReadTotal(HKEY key) {
  uint32_t total = 0;
  DWORD size = sizeof total;
  if (RegQueryValueExA(key, "Total", nullptr, nullptr, reinterpret_cast<BYTE*>(&total), &size) != ERROR_SUCCESS)
    return 0;
  return total;
}

uint64_t ToTicks(const FILETIME& time) {
  return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

FILETIME FromTicks(uint64_t ticks) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return time;
}

uint64_t NowTicks() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return ToTicks(now);
}

const char* BaseName(const char* path) {
  const char* name = path;
  for (const char* c = path; *c; c++)
    if (*c == '\\' || *c == '/' || *c == ':') name = c + 1;
  return name;
}

bool SamePath(const std::string& a, const std::string& b) {
  char fullA[MAX_PATH + 1] = {}, fullB[MAX_PATH + 1] = {};
  DWORD lengthA = GetFullPathNameA(a.c_str(), MAX_PATH, fullA, nullptr);
  DWORD lengthB = GetFullPathNameA(b.c_str(), MAX_PATH, fullB, nullptr);
  return lengthA && lengthA < MAX_PATH && lengthB && lengthB < MAX_PATH && _stricmp(fullA, fullB) == 0;
}

// Opens the driver's key and its cache folder for the cache commands.
int OpenCache(REGSAM access, HKEY* key, std::string* folder) {
  LONG error = OpenDriverKey(access, key);
  if (error != ERROR_SUCCESS) return Refuse("the driver's key HKLM\\%s is missing (error %ld)", kDriverKeyPath, error);
  if (!ReadCacheDir(*key, folder)) {
    RegCloseKey(*key);
    return Refuse("the driver's key holds no CacheDir");
  }
  return 0;
}

// ---- commands ----------------------------------------------------------------

int CmdInstall(int, char**) {
  std::string folder;
  if (!ProgramFolder(&folder)) return Refuse("cannot tell the program's folder");
  std::string driverPath = folder + "\\FTCACHE.SYS";
  if (GetFileAttributesA(driverPath.c_str()) == INVALID_FILE_ATTRIBUTES)
    return Refuse("%s is missing", driverPath.c_str());

  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return Refuse("cannot open the service manager (error %lu)", GetLastError());
  SC_HANDLE service = CreateServiceA(manager, kServiceName, kServiceName, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                     SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, driverPath.c_str(), nullptr,
                                     nullptr, nullptr, nullptr, nullptr);
  DWORD error = service ? 0 : GetLastError();
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  if (error && error != ERROR_SERVICE_EXISTS) return Refuse("cannot register service %s (error %lu)", kServiceName, error);

  // The driver's installer creates the key and names the cache folder.
  HKEY key = nullptr;
  LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDriverKeyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                                nullptr);
  if (result != ERROR_SUCCESS) return Refuse("cannot create HKLM\\%s (error %ld)", kDriverKeyPath, result);
  if (RegQueryValueExA(key, "CacheDir", nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    CreateDirectoryA(kDefaultCacheDir, nullptr);
    result = RegSetValueExA(key, "CacheDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(kDefaultCacheDir),
                            static_cast<DWORD>(strlen(kDefaultCacheDir) + 1));
  }
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return Refuse("cannot write CacheDir (error %ld)", result);
  return StartService();
}

int CmdStart(int, char**) { return StartService(); }

int CmdStop(int, char**) { return StopService(); }

int CmdReset(int, char**) { return ToolCall(FT_IOCTL_RESET, nullptr, 0, nullptr, 0) ? 0 : 1; }

int CmdFail(int, char** argv) {
  uint32_t code = 0;
  if (_stricmp(argv[0], "none") != 0 && !ParseCode(argv[0], &code)) return Refuse("not a request: %s", argv[0]);
  return ToolCallWord(FT_IOCTL_SET_FAILURE, code) ? 0 : 1;
}

int CmdOutput(int, char** argv) {
  unsigned long long bytes = 0;
  if (!ParseNumber(argv[0], &bytes) || (bytes != 0 && bytes != 4)) return Refuse("output must be 0 or 4 bytes");
  return ToolCallWord(FT_IOCTL_SET_OUTPUT, static_cast<uint32_t>(bytes)) ? 0 : 1;
}

int CmdLog(int, char**) {
  FtJournalStatus status = {};
  if (!ToolCall(FT_IOCTL_GET_STATUS, nullptr, 0, &status, sizeof status)) return 1;
  for (uint32_t index = 0; index < status.Count; index++) {
    FtJournalEntry entry = {};
    if (!ToolCall(FT_IOCTL_GET_ENTRY, &index, sizeof index, &entry, sizeof entry)) return 1;
    uint32_t kept = std::min(entry.InputLength, FT_JOURNAL_INPUT_MAX);
    std::string line = RequestNameOf(entry.Code);
    char code[16];
    snprintf(code, sizeof code, " 0x%04x", entry.Code);
    line += code;
    if (kept) line += " " + Hex(entry.Input, kept);
    if (entry.Outcome == FT_OUTCOME_FAILED) line += " failed";
    if (entry.Outcome == FT_OUTCOME_REFUSED) line += " refused";
    printf("%s\n", line.c_str());
  }
  if (status.Dropped) printf("dropped %u\n", status.Dropped);
  fflush(stdout);
  return 0;
}

// One request shaped as the Manager sends it; hex input replaces the bytes.
int CmdSend(int argc, char** argv) {
  uint32_t code = 0;
  if (!ParseCode(argv[0], &code)) return Refuse("not a request: %s", argv[0]);
  bool record = code == FT_CACHE_SET_SETTINGS || code == FT_CACHE_SET_EDIT_TYPES;
  std::vector<uint8_t> input(code == FT_CACHE_SET_SETTINGS ? FT_SETTINGS_SIZE
                             : code == FT_CACHE_SET_EDIT_TYPES ? FT_EDIT_TYPES_SIZE
                                                               : 0);
  if (argc > 1 && !ParseHex(argv[1], &input)) return Refuse("not hex bytes: %s", argv[1]);

  HANDLE device = OpenDevice();
  if (device == INVALID_HANDLE_VALUE) return Refuse("cannot open %s (error %lu)", kDevicePath, GetLastError());
  uint32_t output = 0xFFFFFFFF;
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(device, code, input.empty() ? nullptr : input.data(), static_cast<DWORD>(input.size()),
                            record ? nullptr : &output, record ? 0 : sizeof output, &returned, nullptr);
  DWORD error = GetLastError();
  CloseHandle(device);
  if (!ok) {
    printf("failed error=%lu\n", error);
    fflush(stdout);
    return Refuse("%s 0x%04x failed (error %lu)", RequestNameOf(code), code, error);
  }
  printf("ok returned=%lu\n", returned);
  fflush(stdout);
  return 0;
}

// Copies files into the cache folder and writes a fresh record for each.
int CmdCache(int argc, char** argv) {
  HKEY key = nullptr;
  std::string folder;
  if (OpenCache(KEY_READ | KEY_WRITE, &key, &folder)) return 1;
  int result = 0;
  for (int i = 0; i < argc && result == 0; i++) {
    const char* name = BaseName(argv[i]);
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!*name || !GetFileAttributesExA(argv[i], GetFileExInfoStandard, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      result = Refuse("no such file: %s", argv[i]);
      break;
    }
    std::string target = CachePath(folder, name);
    if (!SamePath(argv[i], target) && !CopyFileA(argv[i], target.c_str(), FALSE)) {
      result = Refuse("cannot copy %s to %s (error %lu)", argv[i], target.c_str(), GetLastError());
      break;
    }
    CachedFileRecord record = {};
    record.FileStamp = ToTicks(info.ftLastWriteTime);
    if (record.FileStamp == 0) record.FileStamp = 1;
    record.LastUsed = FromTicks(NowTicks());
    if (!WriteRecord(key, name, record)) result = Refuse("cannot write the record of %s", name);
  }
  RegCloseKey(key);
  return result;
}

// A use of a cached file: hits, last use and the saved-kilobytes counter.
int CmdHit(int argc, char** argv) {
  unsigned long long count = 1;
  if (argc > 1 && (!ParseNumber(argv[1], &count) || count > 0xFFFFFFFFull)) return Refuse("not a count: %s", argv[1]);
  HKEY key = nullptr;
  std::string folder;
  if (OpenCache(KEY_READ | KEY_WRITE, &key, &folder)) return 1;
  CachedFileRecord record = {};
  WIN32_FILE_ATTRIBUTE_DATA info;
  std::string path = CachePath(folder, argv[0]);
  int result = 0;
  if (!ReadRecord(key, argv[0], &record)) {
    result = Refuse("no 24-byte record named %s", argv[0]);
  } else if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info)) {
    result = Refuse("%s is not in the cache folder", path.c_str());
  } else {
    uint64_t size = static_cast<uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    uint64_t kilobytes = (size + 1023) / 1024;
    record.Hits += static_cast<uint32_t>(count);
    record.LastUsed = FromTicks(NowTicks());
    uint32_t total = ReadTotal(key) + static_cast<uint32_t>(count * kilobytes);
    if (!WriteRecord(key, argv[0], record) ||
        RegSetValueExA(key, "Total", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&total), sizeof total) !=
            ERROR_SUCCESS)
      result = Refuse("cannot write the record of %s or Total", argv[0]);
  }
  RegCloseKey(key);
  return result;
}

int CmdAge(int, char** argv) {
  long long days = 0;
  if (!ParseSigned(argv[1], &days) || days > 10000000 || days < -10000000) return Refuse("not a day count: %s", argv[1]);
  HKEY key = nullptr;
  LONG error = OpenDriverKey(KEY_READ | KEY_WRITE, &key);
  if (error != ERROR_SUCCESS) return Refuse("the driver's key HKLM\\%s is missing (error %ld)", kDriverKeyPath, error);
  CachedFileRecord record = {};
  int result = 0;
  if (!ReadRecord(key, argv[0], &record)) {
    result = Refuse("no 24-byte record named %s", argv[0]);
  } else {
    record.LastUsed = FromTicks(NowTicks() - static_cast<uint64_t>(days) * kTicksPerDay);
    if (!WriteRecord(key, argv[0], record)) result = Refuse("cannot write the record of %s", argv[0]);
  }
  RegCloseKey(key);
  return result;
}

bool IsSettingsValue(const char* name) {
  for (const char* settings : kSettingsValues)
    if (_stricmp(name, settings) == 0) return true;
  return false;
}

std::string FormatTime(const FILETIME& time) {
  SYSTEMTIME utc;
  if (ToTicks(time) == 0) return "none";
  if (!FileTimeToSystemTime(&time, &utc)) return "invalid";
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", utc.wYear, utc.wMonth, utc.wDay, utc.wHour,
           utc.wMinute, utc.wSecond);
  return text;
}

int CmdRecords(int, char**) {
  HKEY key = nullptr;
  LONG error = OpenDriverKey(KEY_READ, &key);
  if (error != ERROR_SUCCESS) return Refuse("the driver's key HKLM\\%s is missing (error %ld)", kDriverKeyPath, error);
  std::vector<std::string> names;
  for (DWORD index = 0;; index++) {
    char name[16384];
    DWORD length = sizeof name;
    if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (!IsSettingsValue(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) < 0; });
  for (const std::string& name : names) {
    DWORD size = 0;
    RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size);
    CachedFileRecord record = {};
    if (size == sizeof record && ReadRecord(key, name.c_str(), &record))
      printf("%s stamp=0x%016llx lastused=%s hits=%u\n", name.c_str(), static_cast<unsigned long long>(record.FileStamp),
             FormatTime(record.LastUsed).c_str(), record.Hits);
    else
      printf("%s (%lu bytes)\n", name.c_str(), size);
  }
  printf("Total %u\n", ReadTotal(key));
  fflush(stdout);
  RegCloseKey(key);
  return 0;
}

struct Command {
  const char* name;
  int minArgs;
  int maxArgs;
  int (*run)(int argc, char** argv);
  const char* usage;
};

constexpr int kMany = 1 << 20;
constexpr Command kCommands[] = {
    {"install", 0, 0, CmdInstall, "install"},
    {"start", 0, 0, CmdStart, "start"},
    {"stop", 0, 0, CmdStop, "stop"},
    {"log", 0, 0, CmdLog, "log"},
    {"reset", 0, 0, CmdReset, "reset"},
    {"fail", 1, 1, CmdFail, "fail NAME|CODE|none"},
    {"output", 1, 1, CmdOutput, "output 0|4"},
    {"send", 1, 2, CmdSend, "send NAME|CODE [HEX]"},
    {"cache", 1, kMany, CmdCache, "cache FILE..."},
    {"hit", 1, 2, CmdHit, "hit NAME [N]"},
    {"age", 2, 2, CmdAge, "age NAME DAYS"},
    {"records", 0, 0, CmdRecords, "records"},
};

int Usage() {
  std::string text = "usage:";
  for (const Command& command : kCommands) text += std::string(" ftctl ") + command.usage + ";";
  return Refuse("%s", text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const Command& command : kCommands) {
    if (strcmp(argv[1], command.name) != 0) continue;
    int count = argc - 2;
    if (count < command.minArgs || count > command.maxArgs) return Refuse("usage: ftctl %s", command.usage);
    return command.run(count, argv + 2);
  }
  return Usage();
}
