// Start-up deletion of unused cached files, with the real Manager and real
// files and records.
#include <cstdint>
#include <cstring>
#include <string>

#include "manager_session.h"

namespace {

constexpr const char* kCache = "C:\\HKCACHE";
constexpr uint64_t kDay = 864000000000ull;  // in FILETIME units
constexpr DWORD kWatchdogCheckMs = 4000;    // the first check comes 3000 ms after start

uint64_t TodayMidnight() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  now.wHour = now.wMinute = now.wSecond = now.wMilliseconds = 0;
  FILETIME time;
  SystemTimeToFileTime(&now, &time);
  return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

Bytes RecordBytes(uint64_t lastUsed, uint32_t hits = 1) {
  Bytes bytes(24, 0);
  uint64_t stamp = 0x01D9000000000001ull;
  memcpy(&bytes[0], &stamp, 8);
  memcpy(&bytes[8], &lastUsed, 8);
  memcpy(&bytes[16], &hits, 4);
  return bytes;
}

class Housekeeping : public ManagerTest {
 protected:
  void SetUp() override {
    ManagerTest::SetUp();
    RemoveCache();
    CreateDirectoryA(kCache, nullptr);
    WriteDriverValue("CacheDir", REG_SZ, Text(kCache));
  }
  void TearDown() override {
    ManagerTest::TearDown();
    Ftctl("install");  // brings the key back where a test removed it
    WriteDriverValue("CacheDir", REG_SZ, Text("C:\\FTCACHE"));
    for (const auto& name : names) DeleteDriverValue(name.c_str());
    RemoveCache();
  }
  static void RemoveCache() {
    RunTool("cmd /c attrib -r C:\\HKCACHE\\*.* /s >nul 2>nul & rmdir /s /q C:\\HKCACHE");
  }
  static void StoreHousekeeping(uint32_t autoDelete, int32_t days) {
    WriteDriverValue("Data2", REG_BINARY, Concat({Le32(autoDelete), Le32(static_cast<uint32_t>(days))}));
  }
  // A cached file, with a record unless record is empty.
  void Cached(const std::string& name, const Bytes& record) {
    std::string path = std::string(kCache) + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written;
    WriteFile(file, "cached", 6, &written, nullptr);
    CloseHandle(file);
    if (!record.empty()) {
      WriteDriverValue(name.c_str(), REG_BINARY, record);
      names.push_back(name);
    }
  }
  static bool FileThere(const std::string& name) {
    return GetFileAttributesA((std::string(kCache) + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  static bool RecordThere(const std::string& name) {
    Bytes value;
    return ReadDriverValue(name.c_str(), &value);
  }
  // One start of the Manager runs the housekeeping before its window appears.
  void StartAndQuit() {
    run = StartManager();
    ASSERT_NE(run.window, nullptr);
    EXPECT_EQ(QuitManager(run), 0u);
    run = ManagerRun{};
  }

  std::vector<std::string> names;
};

TEST_F(Housekeeping, DeletesWhatIsOldEnoughAndKeepsTheRest) {
  StoreHousekeeping(1, 30);
  uint64_t today = TodayMidnight();
  Cached("old30.dat", RecordBytes(today - 30 * kDay + kDay - 1));  // 30 days ago, a moment before midnight
  Cached("young29.dat", RecordBytes(today - 29 * kDay));          // 29 days ago, just after midnight
  Cached("Never.DAT", RecordBytes(0));
  names.push_back("never.dat");
  WriteDriverValue("never.dat", REG_BINARY, RecordBytes(0));  // the record's name differs in case only
  Cached("future.dat", RecordBytes(today + 2 * kDay));
  Cached("norecord.dat", {});
  Bytes tooLong = RecordBytes(0);
  tooLong.push_back(0);
  Cached("long25.dat", tooLong);
  Cached(".dotted.dat", RecordBytes(0));
  CreateDirectoryA("C:\\HKCACHE\\olddir", nullptr);
  WriteDriverValue("olddir", REG_BINARY, RecordBytes(0));
  names.push_back("olddir");
  Cached("readonly.dat", RecordBytes(0));
  SetFileAttributesA("C:\\HKCACHE\\readonly.dat", FILE_ATTRIBUTE_READONLY);
  Cached("inuse.dat", RecordBytes(0));
  HANDLE inUse = CreateFileA("C:\\HKCACHE\\inuse.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(inUse, INVALID_HANDLE_VALUE);

  StartAndQuit();
  CloseHandle(inUse);

  EXPECT_FALSE(FileThere("old30.dat"));
  EXPECT_FALSE(RecordThere("old30.dat"));
  EXPECT_TRUE(FileThere("young29.dat"));
  EXPECT_TRUE(RecordThere("young29.dat"));
  EXPECT_FALSE(FileThere("Never.DAT"));
  EXPECT_FALSE(RecordThere("never.dat"));
  EXPECT_TRUE(FileThere("future.dat"));
  EXPECT_TRUE(FileThere("norecord.dat"));
  EXPECT_TRUE(FileThere("long25.dat"));
  EXPECT_TRUE(RecordThere("long25.dat"));
  EXPECT_TRUE(FileThere(".dotted.dat"));
  EXPECT_TRUE(RecordThere(".dotted.dat"));
  EXPECT_TRUE(FileThere("olddir"));
  EXPECT_TRUE(RecordThere("olddir"));
  // Files that cannot be deleted stay, with their records.
  EXPECT_TRUE(FileThere("readonly.dat"));
  EXPECT_TRUE(RecordThere("readonly.dat"));
  EXPECT_TRUE(FileThere("inuse.dat"));
  EXPECT_TRUE(RecordThere("inuse.dat"));
}

TEST_F(Housekeeping, SwitchedOffKeepsEvenVeryOldFiles) {
  StoreHousekeeping(0, 30);
  Cached("ancient.dat", RecordBytes(0));
  StartAndQuit();
  EXPECT_TRUE(FileThere("ancient.dat"));
  EXPECT_TRUE(RecordThere("ancient.dat"));
}

// Reached through its short name, never through a cut path.
TEST_F(Housekeeping, PathLongerThanTheLimitIsNeverCut) {
  StoreHousekeeping(1, 30);
  std::string longName = std::string(250, 'n') + ".dat";  // C:\HKCACHE\ + this > 259 characters
  std::wstring widePath = L"\\\\?\\C:\\HKCACHE\\" + std::wstring(longName.begin(), longName.end());
  HANDLE file = CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  WriteDriverValue(longName.c_str(), REG_BINARY, RecordBytes(0));
  names.push_back(longName);
  Cached("short.dat", RecordBytes(0));

  StartAndQuit();
  EXPECT_EQ(GetFileAttributesW(widePath.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(RecordThere(longName));
  EXPECT_FALSE(FileThere("short.dat"));
}

TEST_F(Housekeeping, MissingDriverKeyDeletesNothing) {
  // Without the key the cache folder is the default, the root of C:.
  const char* path = "C:\\hk_nokey.dat";
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  WriteDriverValue("hk_nokey.dat", REG_BINARY, RecordBytes(0));
  names.push_back("hk_nokey.dat");
  DeleteKeyTree(kDriverRoot, kDriverKeyPath);

  StartAndQuit();
  EXPECT_NE(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(KeyExists(kDriverRoot, kDriverKeyPath));
  DeleteFileA(path);
}

// Stored cache folders that cannot be read, read empty, or give no drive
// root: no file outside a cache folder is deleted, the stored value is never
// replaced, and the watchdog stops no caching. A missing value is "C:\".
TEST_F(Housekeeping, DamagedCacheDirLosesNothing) {
  struct Row {
    const char* label;
    bool stored;  // false: no "CacheDir" at all
    DWORD type;
    Bytes value;
    bool rootFileKept;
    bool noDriveRoot;  // the watchdog must not stop caching for want of one
  };
  std::string tooLong = "C:\\" + std::string(257, 'x');  // 260 characters, 261 bytes with the NUL
  const Row rows[] = {
      {"261-byte string", true, REG_SZ, Text(tooLong), true, false},
      {"empty string", true, REG_SZ, Bytes{}, true, true},
      {"DWORD 0", true, REG_DWORD, Le32(0), true, true},
      {"\\\\?\\ path", true, REG_SZ, Text("\\\\?\\C:\\RLCD"), true, true},
      {"relative path", true, REG_SZ, Text("RLREL"), true, true},
      {"missing", false, REG_SZ, Bytes{}, false, false},
  };
  const char* rootFile = "C:\\hk_root.dat";
  names.push_back("hk_root.dat");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    ASSERT_EQ(Ftctl("reset").exitCode, 0u);
    for (const char* name : kSettingsValues) DeleteDriverValue(name);  // a first start
    WriteDriverValue("Data", REG_BINARY, Concat({Le32(1), Le32(1), Le32(300), Le32(0)}));
    StoreHousekeeping(1, 30);
    DeleteDriverValue("CacheDir");
    Bytes before;
    if (row.stored) {
      WriteDriverValue("CacheDir", row.type, row.value);
      ASSERT_TRUE(ReadDriverValue("CacheDir", &before));
    }
    HANDLE file = CreateFileA(rootFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    WriteDriverValue("hk_root.dat", REG_BINARY, RecordBytes(0));

    run = StartManager();
    ASSERT_NE(run.window, nullptr);
    if (row.noDriveRoot) {
      EXPECT_TRUE(NoBoxWithin(kWatchdogCheckMs, run.program.pid));  // past the first free-space check
      EXPECT_EQ(DriverLog().size(), 2u) << "a request beyond the start-up ones";
    }
    EXPECT_EQ(QuitManager(run), 0u);
    run = ManagerRun{};

    EXPECT_EQ(GetFileAttributesA(rootFile) != INVALID_FILE_ATTRIBUTES, row.rootFileKept);
    EXPECT_EQ(RecordThere("hk_root.dat"), row.rootFileKept);
    Bytes after;
    DWORD type = 0;
    ASSERT_TRUE(ReadDriverValue("CacheDir", &after, &type));
    if (row.stored) {
      EXPECT_EQ(type, row.type);
      EXPECT_EQ(Hex(after), Hex(before));
    } else {
      EXPECT_EQ(std::string(after.begin(), after.end()).c_str(), std::string("C:\\"));
    }
    DeleteFileA(rootFile);
  }
}

// Records of any length but 24 bytes are no records: the files stay.
TEST_F(Housekeeping, DamagedRecordsKeepTheirFiles) {
  StoreHousekeeping(1, 30);
  Bytes usedYesterday = RecordBytes(TodayMidnight() - kDay);
  Bytes neverUsed = RecordBytes(0);
  struct Row {
    const char* name;
    DWORD type;
    Bytes value;
  };
  const Row rows[] = {
      {"empty0.dat", REG_BINARY, Bytes{}},
      {"stamp8.dat", REG_BINARY, Bytes(usedYesterday.begin(), usedYesterday.begin() + 8)},
      {"short15.dat", REG_BINARY, Bytes(usedYesterday.begin(), usedYesterday.begin() + 15)},
      {"short16.dat", REG_BINARY, Bytes(neverUsed.begin(), neverUsed.begin() + 16)},
      {"short23.dat", REG_BINARY, Bytes(neverUsed.begin(), neverUsed.begin() + 23)},
      {"dword.dat", REG_DWORD, Le32(1)},
  };
  for (const Row& row : rows) {
    Cached(row.name, {});
    WriteDriverValue(row.name, row.type, row.value);
    names.push_back(row.name);
  }
  Cached("whole24.dat", neverUsed);

  StartAndQuit();
  for (const Row& row : rows) {
    EXPECT_TRUE(FileThere(row.name)) << row.name;
    EXPECT_TRUE(RecordThere(row.name)) << row.name;
  }
  EXPECT_FALSE(FileThere("whole24.dat"));
}

}  // namespace
