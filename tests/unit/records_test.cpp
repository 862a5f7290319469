// Settings records against the prefix's real registry.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "harness.h"
#include "import_swap.h"
#include "settings/cached_records.h"
#include "settings/settings.h"

namespace {

// The bytes the Manager hands over for each value it writes: Wine, like
// every NT-family system, stores a string's NUL when the caller leaves it
// out, so only the call shows what Windows 95 stores.
std::map<std::string, Bytes> handedOver;
const FARPROC realSetValue = GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegSetValueExA");
LSTATUS WINAPI RecordSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
  handedOver[name] = Bytes(data, data + size);
  return reinterpret_cast<decltype(&RegSetValueExA)>(realSetValue)(key, name, reserved, type, data, size);
}

template <typename Record>
Bytes BytesOf(const Record& record) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&record);
  return Bytes(bytes, bytes + sizeof record);
}

// Each test starts from a driver key without settings values and records at
// their initial contents; the installer's "CacheDir" comes back afterwards.
class Records : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearKey();
    CacheSettings = {1, 1, 300, 100};
    snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
    HousekeepingSettings = {1, 30};
    SavingsParameters = {};
    EditModeTable = {};
  }
  void TearDown() override {
    ClearKey();
    WriteDriverValue("CacheDir", REG_SZ, Text(kInstalledCacheDir));
  }
  static void ClearKey() {
    WriteDriverValue("Data", REG_BINARY, {});  // the key, should it be missing
    DeleteDriverValue("CacheDir");
    for (const char* name : kRecordValues) DeleteDriverValue(name);
  }
};

TEST_F(Records, EmptyKeyGivesDefaultsAndFirstSaveWritesExactBytes) {
  SYSTEMTIME today;
  GetSystemTime(&today);
  EXPECT_EQ(LoadSettings(), ERROR_SUCCESS);
  LoadSavingsParameters();
  EXPECT_FALSE(SavingsParametersStored());
  EXPECT_EQ(memcmp(&SavingsParameters.Since, &today, 8), 0) << "since today";
  EXPECT_EQ(SavingsParameters.LineSpeed, 1u);
  EXPECT_EQ(SavingsParameters.CostPerMegabyte, 0.0f);
  EXPECT_EQ(SavingsParameters.CostPerHour, 20.0f);

  handedOver.clear();
  {
    ImportSwap setValue{"advapi32.dll", "RegSetValueExA", reinterpret_cast<FARPROC>(RecordSetValue)};
    SaveSettings();
  }
  // "Other": today's date, then the time of day (unchecked), speed 1, costs 0 and 20.
  const Bytes since = Concat({Le32(today.wYear | today.wMonth << 16u), Le32(today.wDayOfWeek | today.wDay << 16u)});
  const Bytes savings = Concat({Le32(1), Le32(0), Le32(0x41A00000)});
  const struct { const char* name; DWORD type; Bytes bytes; } stored[] = {
      {"Data", REG_BINARY, Concat({Le32(1), Le32(1), Le32(300), Le32(100)})},
      {"Data2", REG_BINARY, Concat({Le32(1), Le32(30)})},
      {"DB", REG_BINARY, TypeTable(1, {".BMP", ".DOC", ".TXT", ".WRI", ".XLS"})},
      {"Other", REG_BINARY, Concat({since, Bytes(8, 0), savings})},
      {"CacheDir", REG_SZ, {'C', ':', '\\'}},  // without a NUL
  };
  for (const auto& c : stored) {
    Bytes value;
    DWORD type;
    ASSERT_TRUE(ReadDriverValue(c.name, &value, &type)) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    value = handedOver[c.name];
    if (value.size() == 28) std::fill(value.begin() + 8, value.begin() + 16, 0);  // the time of day
    EXPECT_EQ(Hex(value), Hex(c.bytes)) << c.name;
  }
  LoadSavingsParameters();
  EXPECT_TRUE(SavingsParametersStored());
}

TEST_F(Records, MissingKeyChangesNothing) {
  DeleteKeyTree(DRIVER_KEY_ROOT, DRIVER_KEY_PATH);
  EXPECT_NE(LoadSettings(), ERROR_SUCCESS);
  EXPECT_EQ(EditModeTable.EditModeEnabled, 0u);
  EXPECT_EQ(CacheSettings.MaxFileSizeK, 300u);
  LoadSavingsParameters();
  EXPECT_EQ(SavingsParameters.LineSpeed, 1u);
  CachedFileRecord record;
  EXPECT_FALSE(ReadCachedFileRecord("a.dat", &record));
  SaveSettings();  // writes nothing and creates no key
  SaveCacheActive();
  EXPECT_FALSE(KeyExists(DRIVER_KEY_ROOT, DRIVER_KEY_PATH));
}

// Each value reaches the records' rules (tests/native) with its type and
// length: one longer than its record, or of another type, is refused;
// "CacheDir" then names no folder and a save leaves it as stored; the flag
// goes back with the type and length read, and nowhere when "Data" is missing.
TEST_F(Records, ReadsReportTypeAndLengthAndSavesKeepWhatWasRefused) {
  const std::string full = "E:\\" + std::string(257, 'c') + '\0';
  WriteDriverValue("Data", REG_SZ, Text("0"));
  WriteDriverValue("DB", REG_BINARY, Bytes(185, 0));
  WriteDriverValue("CacheDir", REG_SZ, Bytes(full.begin(), full.end()));
  LoadSettings();
  EXPECT_EQ(Hex(BytesOf(CacheSettings)), "01000000010000002c01000064000000");
  EXPECT_STREQ(EditModeTable.Extensions[4], ".XLS");
  EXPECT_STREQ(CacheDirectory, "");
  SaveSettings();
  Bytes value;
  ASSERT_TRUE(ReadDriverValue("CacheDir", &value));
  EXPECT_EQ(Hex(value), Hex(Bytes(full.begin(), full.end())));

  WriteDriverValue("Data", REG_DWORD, Le32(0));
  SaveCacheActive();
  DWORD type = REG_NONE;
  ASSERT_TRUE(ReadDriverValue("Data", &value, &type));
  EXPECT_EQ(Hex(value) + " type " + std::to_string(type), "01000000 type 4");
  DeleteDriverValue("Data");
  SaveCacheActive();
  EXPECT_FALSE(ReadDriverValue("Data", &value)) << "none is written";
}

}  // namespace
