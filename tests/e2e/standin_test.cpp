// The stand-in driver and its tool, as the Manager's tests rely on them: the
// six requests and their sizes, the journal, armed failures, and the cached
// files, records and Total that the tool writes as the caching driver would.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "harness.h"

namespace {

constexpr const char* kDevice = "\\\\.\\FTCACHE";
constexpr const char* kSourceDir = "C:\\standin-src";
constexpr uint64_t kTicksPerDay = 864000000000ull;
constexpr uint64_t kSlackTicks = 5 * 10000000ull;  // 5 s

std::string FirstLine(const std::string& text) {
  std::vector<std::string> lines = SplitLines(text);
  return lines.empty() ? std::string() : lines.front();
}

std::string Zeros(size_t bytes) { return std::string(bytes * 2, '0'); }

uint64_t Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

uint64_t U64At(const Bytes& data, size_t offset) {
  uint64_t value = 0;
  memcpy(&value, data.data() + offset, sizeof value);
  return value;
}

uint32_t U32At(const Bytes& data, size_t offset) {
  uint32_t value = 0;
  memcpy(&value, data.data() + offset, sizeof value);
  return value;
}

Bytes Le64(uint64_t value) { return Concat({Le32(static_cast<uint32_t>(value)), Le32(static_cast<uint32_t>(value >> 32))}); }

// ---- requests and journal ---------------------------------------------------

class StandinDriver : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Ftctl("reset").exitCode, 0u); }
  void TearDown() override {
    Ftctl("start");
    Ftctl("reset");
  }
};

TEST_F(StandinDriver, EachRequestWithItsSizeIsAcceptedAndJournalledWithItsBytes) {
  const std::string settings = "01000000" "01000000" "2c010000" "64000000";
  const std::string edit = "01000000" "2e424d500000" "2e444f430000" + Zeros(184 - 16);
  ASSERT_EQ(edit.size(), 368u);

  ToolResult result = Ftctl("send CACHE_SET_SETTINGS " + settings);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(FirstLine(result.out), "ok returned=0");
  result = Ftctl("send 0x8105 " + edit);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(FirstLine(result.out), "ok returned=0");
  for (const char* request : {"CACHE_ENABLE", "33025", "CACHE_DISK_LOW", "cache_disk_ok"}) {
    result = Ftctl(std::string("send ") + request);
    EXPECT_EQ(result.exitCode, 0u) << request;
    EXPECT_EQ(FirstLine(result.out), "ok returned=4") << request;
  }
  // The record requests without input bytes given carry zeros of their size.
  EXPECT_EQ(Ftctl("send CACHE_SET_SETTINGS").exitCode, 0u);

  EXPECT_EQ(DriverLog(), (std::vector<std::string>{
                             "CACHE_SET_SETTINGS 0x8102 " + settings,
                             "CACHE_SET_EDIT_TYPES 0x8105 " + edit,
                             "CACHE_ENABLE 0x8100",
                             "CACHE_DISABLE 0x8101",
                             "CACHE_DISK_LOW 0x8103",
                             "CACHE_DISK_OK 0x8104",
                             "CACHE_SET_SETTINGS 0x8102 " + Zeros(16),
                         }));
}

// The Manager's own call shapes, from this process: no byte-count variable
// for the records; a 4-byte output (or none) for the others, through each
// transfer method (buffered, in-direct, neither).
TEST_F(StandinDriver, ManagerCallShapesSucceedAndTheDataLessOnesAnswerAZeroWord) {
  HANDLE device = CreateFileA(kDevice, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(device, INVALID_HANDLE_VALUE);
  uint8_t settings[16] = {1, 0, 0, 0, 0, 0, 0, 0, 0x2c, 1, 0, 0, 0x64, 0, 0, 0};
  uint8_t edit[184] = {1};
  EXPECT_TRUE(DeviceIoControl(device, 0x8102, settings, sizeof settings, nullptr, 0, nullptr, nullptr));
  EXPECT_TRUE(DeviceIoControl(device, 0x8105, edit, sizeof edit, nullptr, 0, nullptr, nullptr));
  for (DWORD code : {0x8100u, 0x8101u, 0x8103u, 0x8104u}) {
    uint32_t output = 0xFFFFFFFF;
    DWORD returned = 99;
    EXPECT_TRUE(DeviceIoControl(device, code, nullptr, 0, &output, sizeof output, &returned, nullptr)) << code;
    EXPECT_EQ(returned, 4u) << code;
    EXPECT_EQ(output, 0u) << code;
    returned = 99;
    EXPECT_TRUE(DeviceIoControl(device, code, nullptr, 0, nullptr, 0, &returned, nullptr)) << code;
    EXPECT_EQ(returned, 0u) << code;
  }
  // A second handle while the first is open, as when the Manager runs.
  HANDLE second = CreateFileA(kDevice, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
  CloseHandle(device);

  std::vector<std::string> log = DriverLog();
  ASSERT_EQ(log.size(), 10u);
  EXPECT_EQ(log[0], "CACHE_SET_SETTINGS 0x8102 01000000000000002c01000064000000");
  EXPECT_EQ(log[1], "CACHE_SET_EDIT_TYPES 0x8105 01" + Zeros(183));
  EXPECT_EQ(log[2], "CACHE_ENABLE 0x8100");
  EXPECT_EQ(log[9], "CACHE_DISK_OK 0x8104");
}

TEST_F(StandinDriver, WrongInputSizesAreRefusedAndJournalledWithTheirBytes) {
  struct Case {
    const char* request;
    std::string hex;
    std::string logged;
  };
  const Case cases[] = {
      {"CACHE_SET_SETTINGS", Zeros(15), "CACHE_SET_SETTINGS 0x8102 " + Zeros(15) + " refused"},
      {"CACHE_SET_SETTINGS", "-", "CACHE_SET_SETTINGS 0x8102 refused"},
      {"CACHE_SET_EDIT_TYPES", Zeros(183), "CACHE_SET_EDIT_TYPES 0x8105 " + Zeros(183) + " refused"},
      {"CACHE_SET_EDIT_TYPES", Zeros(16), "CACHE_SET_EDIT_TYPES 0x8105 " + Zeros(16) + " refused"},
      {"CACHE_ENABLE", "01", "CACHE_ENABLE 0x8100 01 refused"},
      {"CACHE_DISK_OK", "ff", "CACHE_DISK_OK 0x8104 ff refused"},
  };
  std::vector<std::string> expected;
  for (const Case& c : cases) {
    ToolResult result = Ftctl(std::string("send ") + c.request + " " + c.hex);
    EXPECT_EQ(result.exitCode, 1u) << c.logged;
    EXPECT_EQ(FirstLine(result.out), "failed error=87") << c.logged;
    EXPECT_FALSE(result.err.empty());
    expected.push_back(c.logged);
  }
  EXPECT_EQ(DriverLog(), expected);
}

TEST_F(StandinDriver, AnArmedFailureFailsOnlyThatRequestUntilClearedOrReset) {
  ASSERT_EQ(Ftctl("fail CACHE_DISABLE").exitCode, 0u);
  ToolResult result = Ftctl("send CACHE_DISABLE");
  EXPECT_EQ(result.exitCode, 1u);
  EXPECT_EQ(FirstLine(result.out), "failed error=31");
  EXPECT_EQ(Ftctl("send CACHE_DISABLE").exitCode, 1u);  // stays armed
  EXPECT_EQ(Ftctl("send CACHE_ENABLE").exitCode, 0u);
  ASSERT_EQ(Ftctl("fail none").exitCode, 0u);
  EXPECT_EQ(Ftctl("send CACHE_DISABLE").exitCode, 0u);

  ASSERT_EQ(Ftctl("fail 33026").exitCode, 0u);
  EXPECT_EQ(Ftctl("send CACHE_SET_SETTINGS 0100000001000000" + Zeros(8)).exitCode, 1u);
  EXPECT_EQ(DriverLog(), (std::vector<std::string>{
                             "CACHE_DISABLE 0x8101 failed",
                             "CACHE_DISABLE 0x8101 failed",
                             "CACHE_ENABLE 0x8100",
                             "CACHE_DISABLE 0x8101",
                             "CACHE_SET_SETTINGS 0x8102 0100000001000000" + Zeros(8) + " failed",
                         }));

  ASSERT_EQ(Ftctl("reset").exitCode, 0u);
  EXPECT_TRUE(DriverLog().empty());
  EXPECT_EQ(Ftctl("send CACHE_SET_SETTINGS").exitCode, 0u);
  EXPECT_EQ(DriverLog(), (std::vector<std::string>{"CACHE_SET_SETTINGS 0x8102 " + Zeros(16)}));

  EXPECT_EQ(Ftctl("fail CACHE_BOGUS").exitCode, 1u);
  EXPECT_EQ(Ftctl("send 0x8102 abc").exitCode, 1u);
}

TEST_F(StandinDriver, StopRemovesTheDeviceAndStartBringsItBackEmpty) {
  ASSERT_EQ(Ftctl("send CACHE_ENABLE").exitCode, 0u);
  ASSERT_EQ(Ftctl("stop").exitCode, 0u);
  EXPECT_EQ(Ftctl("stop").exitCode, 0u);  // already stopped is fine
  HANDLE device = CreateFileA(kDevice, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(device, INVALID_HANDLE_VALUE);
  if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
  EXPECT_EQ(Ftctl("send CACHE_ENABLE").exitCode, 1u);
  EXPECT_EQ(Ftctl("log").exitCode, 1u);

  ASSERT_EQ(Ftctl("start").exitCode, 0u);
  EXPECT_EQ(Ftctl("start").exitCode, 0u);  // already running is fine
  EXPECT_TRUE(DriverLog().empty());
  EXPECT_EQ(Ftctl("send CACHE_ENABLE").exitCode, 0u);
}

// Puts the driver key's "CacheDir" back as it was when the test began.
struct CacheDirGuard {
  CacheDirGuard() { had = ReadDriverValue("CacheDir", &value, &type); }
  ~CacheDirGuard() {
    if (had) WriteDriverValue("CacheDir", type, value);
  }
  bool had = false;
  Bytes value;
  DWORD type = 0;
};

TEST_F(StandinDriver, InstallKeepsAnExistingCacheDirAndNamesTheDefaultOtherwise) {
  CacheDirGuard guard;
  const std::string other = "C:\\ELSEWHERE";
  ASSERT_TRUE(WriteDriverValue("CacheDir", REG_SZ, Bytes(other.begin(), other.end())));
  EXPECT_EQ(Ftctl("install").exitCode, 0u);
  Bytes value;
  ASSERT_TRUE(ReadDriverValue("CacheDir", &value));
  EXPECT_EQ(std::string(value.begin(), value.end()).c_str(), other);

  DeleteDriverValue("CacheDir");
  RemoveDirectoryA("C:\\FTCACHE");  // only when empty
  EXPECT_EQ(Ftctl("install").exitCode, 0u);
  DWORD type = 0;
  ASSERT_TRUE(ReadDriverValue("CacheDir", &value, &type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(value.begin(), value.end()).c_str(), std::string("C:\\FTCACHE"));
  DWORD attributes = GetFileAttributesA("C:\\FTCACHE");
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(Ftctl("send CACHE_ENABLE").exitCode, 0u);  // the driver still runs
}

// ---- cached files, records and Total ----------------------------------------

class StandinCache : public ::testing::Test {
 protected:
  void SetUp() override {
    Bytes value;
    ASSERT_TRUE(ReadDriverValue("CacheDir", &value)) << "the driver is not installed";
    cacheDir = std::string(value.begin(), value.end()).c_str();
    hadTotal = ReadDriverValue("Total", &savedTotal);
    CreateDirectoryA(kSourceDir, nullptr);
    for (const SourceFile& file : kFiles) {
      Forget(file.name);
      Write(Source(file.name), file.size);
    }
  }
  void TearDown() override {
    for (const SourceFile& file : kFiles) {
      Forget(file.name);
      DeleteFileA(Source(file.name).c_str());
    }
    for (const char* name : {"known.rec", "unused.rec", "long.rec"}) DeleteDriverValue(name);
    RemoveDirectoryA(kSourceDir);
    if (hadTotal)
      WriteDriverValue("Total", REG_BINARY, savedTotal);
    else
      DeleteDriverValue("Total");
  }

  struct SourceFile {
    const char* name;
    size_t size;
  };
  static constexpr SourceFile kFiles[] = {{"Report.DOC", 2049}, {"tiny.txt", 1}, {"exact.bin", 1024}};

  static std::string Source(const char* name) { return std::string(kSourceDir) + "\\" + name; }
  std::string Cached(const char* name) const { return cacheDir + "\\" + name; }

  void Forget(const char* name) {
    DeleteDriverValue(name);
    DeleteFileA(Cached(name).c_str());
  }
  static void Write(const std::string& path, size_t size) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    for (size_t i = 0; i < size; i++) fputc(static_cast<int>(i * 31 % 251), file);
    fclose(file);
  }
  static Bytes Contents(const std::string& path) {
    Bytes data;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return data;
    for (int c; (c = fgetc(file)) != EOF;) data.push_back(static_cast<uint8_t>(c));
    fclose(file);
    return data;
  }
  static Bytes Record(const char* name) {
    Bytes data;
    DWORD type = 0;
    if (!ReadDriverValue(name, &data, &type) || type != REG_BINARY) data.clear();
    return data;
  }
  static uint32_t Total() {
    Bytes data;
    DWORD type = 0;
    if (!ReadDriverValue("Total", &data, &type)) return 0;
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(data.size(), 4u);
    return data.size() == 4 ? U32At(data, 0) : 0;
  }

  std::string cacheDir;
  bool hadTotal = false;
  Bytes savedTotal;
};
constexpr StandinCache::SourceFile StandinCache::kFiles[];

TEST_F(StandinCache, CacheCopiesTheFileAndWritesAFreshRecord) {
  WIN32_FILE_ATTRIBUTE_DATA info;
  ASSERT_TRUE(GetFileAttributesExA(Source("Report.DOC").c_str(), GetFileExInfoStandard, &info));
  uint64_t written = static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime;

  uint64_t before = Now();
  ToolResult cached = Ftctl("cache " + Source("Report.DOC") + " " + Source("tiny.txt"));
  ASSERT_EQ(cached.exitCode, 0u) << cached.err;
  uint64_t after = Now();

  EXPECT_EQ(Contents(Cached("Report.DOC")), Contents(Source("Report.DOC")));
  EXPECT_EQ(Contents(Cached("tiny.txt")).size(), 1u);
  Bytes record = Record("Report.DOC");
  ASSERT_EQ(record.size(), 24u);
  EXPECT_NE(U64At(record, 0), 0u);
  EXPECT_EQ(U64At(record, 0), written);
  EXPECT_GE(U64At(record, 8), before - 10000000);  // FILETIME resolution under Wine
  EXPECT_LE(U64At(record, 8), after + 10000000);
  EXPECT_EQ(Hex(Bytes(record.begin() + 16, record.end())), "0000000000000000");
  EXPECT_EQ(Record("tiny.txt").size(), 24u);

  // Caching again starts the record over.
  ASSERT_EQ(Ftctl("hit tiny.txt 5").exitCode, 0u);
  ASSERT_EQ(Ftctl("cache " + Source("tiny.txt")).exitCode, 0u);
  EXPECT_EQ(U32At(Record("tiny.txt"), 16), 0u);
}

TEST_F(StandinCache, HitsCountUsesAndTotalAddsWholeKilobytesPerUse) {
  DeleteDriverValue("Total");
  ASSERT_EQ(Ftctl("cache " + Source("Report.DOC") + " " + Source("tiny.txt") + " " + Source("exact.bin")).exitCode, 0u);
  ASSERT_EQ(Ftctl("age Report.DOC 5").exitCode, 0u);

  uint64_t before = Now();
  ASSERT_EQ(Ftctl("hit Report.DOC 3").exitCode, 0u);  // 2049 bytes: 3 K a use
  EXPECT_EQ(Total(), 9u);
  ASSERT_EQ(Ftctl("hit tiny.txt").exitCode, 0u);  // 1 byte: 1 K
  EXPECT_EQ(Total(), 10u);
  ASSERT_EQ(Ftctl("hit exact.bin 2").exitCode, 0u);  // 1024 bytes: 1 K
  EXPECT_EQ(Total(), 12u);
  ASSERT_EQ(Ftctl("hit REPORT.doc").exitCode, 0u);  // names match without case
  EXPECT_EQ(Total(), 15u);

  Bytes record = Record("Report.DOC");
  ASSERT_EQ(record.size(), 24u);
  EXPECT_EQ(U32At(record, 16), 4u);
  EXPECT_GE(U64At(record, 8), before - 10000000);
  EXPECT_EQ(U32At(Record("tiny.txt"), 16), 1u);
  EXPECT_EQ(U32At(Record("exact.bin"), 16), 2u);

  // The counter goes on from what is stored, as after Clear history.
  ASSERT_TRUE(WriteDriverValue("Total", REG_BINARY, Le32(0)));
  ASSERT_EQ(Ftctl("hit tiny.txt 0").exitCode, 0u);
  EXPECT_EQ(Total(), 0u);
  ASSERT_TRUE(WriteDriverValue("Total", REG_BINARY, Le32(4800)));
  ASSERT_EQ(Ftctl("hit Report.DOC").exitCode, 0u);
  EXPECT_EQ(Total(), 4803u);
}

TEST_F(StandinCache, AgeSetsTheLastUseWholeDaysBackAndKeepsTheRest) {
  ASSERT_EQ(Ftctl("cache " + Source("Report.DOC")).exitCode, 0u);
  ASSERT_EQ(Ftctl("hit Report.DOC 2").exitCode, 0u);
  Bytes fresh = Record("Report.DOC");
  for (int days : {10, 0, -2, 31}) {
    uint64_t expected = Now() - static_cast<int64_t>(days) * static_cast<int64_t>(kTicksPerDay);
    ASSERT_EQ(Ftctl("age Report.DOC " + std::to_string(days)).exitCode, 0u) << days;
    Bytes record = Record("Report.DOC");
    ASSERT_EQ(record.size(), 24u);
    EXPECT_NEAR(static_cast<double>(U64At(record, 8)), static_cast<double>(expected), static_cast<double>(kSlackTicks))
        << days;
    EXPECT_EQ(U64At(record, 0), U64At(fresh, 0));
    EXPECT_EQ(U32At(record, 16), 2u);
  }
}

TEST_F(StandinCache, RecordsListsEachRecordOtherValuesAndTotalButNoSettings) {
  SYSTEMTIME when = {};
  when.wYear = 2026;
  when.wMonth = 1;
  when.wDay = 2;
  when.wHour = 3;
  when.wMinute = 4;
  when.wSecond = 5;
  FILETIME lastUsed;
  ASSERT_TRUE(SystemTimeToFileTime(&when, &lastUsed));
  uint64_t ticks = static_cast<uint64_t>(lastUsed.dwHighDateTime) << 32 | lastUsed.dwLowDateTime;
  ASSERT_TRUE(WriteDriverValue("known.rec", REG_BINARY,
                               Concat({Le64(0x0123456789abcdefull), Le64(ticks), Le32(7), Le32(0)})));
  ASSERT_TRUE(WriteDriverValue("unused.rec", REG_BINARY, Concat({Le64(1), Le64(0), Le32(0), Le32(0)})));
  ASSERT_TRUE(WriteDriverValue("long.rec", REG_BINARY, Bytes(25, 0)));
  ASSERT_TRUE(WriteDriverValue("Total", REG_BINARY, Le32(4321)));

  ToolResult result = Ftctl("records");
  ASSERT_EQ(result.exitCode, 0u);
  std::vector<std::string> lines = SplitLines(result.out);
  auto has = [&lines](const std::string& line) {
    for (const std::string& each : lines)
      if (each == line) return true;
    return false;
  };
  EXPECT_TRUE(has("known.rec stamp=0x0123456789abcdef lastused=2026-01-02 03:04:05 hits=7")) << result.out;
  EXPECT_TRUE(has("unused.rec stamp=0x0000000000000001 lastused=none hits=0")) << result.out;
  EXPECT_TRUE(has("long.rec (25 bytes)")) << result.out;
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Total 4321");
  // The settings values are no records; Total shows only in the last line.
  for (size_t i = 0; i + 1 < lines.size(); i++)
    for (const char* settings : {"CacheDir ", "Data ", "Data2 ", "Other ", "DB ", "Total "})
      EXPECT_NE(lines[i].rfind(settings, 0), 0u) << lines[i];
}

}  // namespace
