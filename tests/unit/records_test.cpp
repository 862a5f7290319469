// Settings records against the prefix's real registry.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "harness.h"
#include "settings/settings.h"

namespace {

const char* const SETTINGS_VALUES[] = {"CacheDir", "Data", "Data2", "Other", "DB"};

// Each test starts from a driver key without settings values and records at
// their initial contents; the key's own "CacheDir" comes back afterwards.
class Records : public ::testing::Test {
 protected:
  void SetUp() override {
    hadCacheDir = ReadDriverValue("CacheDir", &savedCacheDir, &savedType);
    for (const char* name : SETTINGS_VALUES) DeleteDriverValue(name);
    CreateDriverKey();
    CacheSettings = {1, 1, 300, 100};
    snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
    HousekeepingSettings = {1, 30};
    SavingsParameters = {};
    EditModeTable = {};
  }
  void TearDown() override {
    CreateDriverKey();
    for (const char* name : SETTINGS_VALUES) DeleteDriverValue(name);
    if (hadCacheDir) WriteDriverValue("CacheDir", savedType, savedCacheDir);
  }
  static void CreateDriverKey() {
    HKEY key;
    if (RegCreateKeyExA(kDriverRoot, kDriverKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
      RegCloseKey(key);
  }
  static Bytes Record(const void* data, size_t size) {
    auto bytes = static_cast<const uint8_t*>(data);
    return Bytes(bytes, bytes + size);
  }
  static std::string Slot(int slot) { return std::string(EditModeTable.Extensions[slot]); }

  bool hadCacheDir = false;
  Bytes savedCacheDir;
  DWORD savedType = REG_SZ;
};

TEST_F(Records, EmptyKeyGivesDefaultsAndFirstSaveWritesExactBytes) {
  EXPECT_EQ(LoadSettings(), ERROR_SUCCESS);
  EXPECT_EQ(Hex(Record(&CacheSettings, 16)), "0100000001000000" "2c01000064000000");
  EXPECT_STREQ(CacheDirectory, "C:\\");
  EXPECT_EQ(HousekeepingSettings.AutoDelete, 1u);
  EXPECT_EQ(HousekeepingSettings.AutoDeleteDays, 30);
  EXPECT_EQ(EditModeTable.EditModeEnabled, 1u);
  const char* types[] = {".BMP", ".DOC", ".TXT", ".WRI", ".XLS"};
  for (int slot = 0; slot < 5; slot++) EXPECT_EQ(Slot(slot), types[slot]);
  for (int slot = 5; slot < EDIT_TYPE_SLOTS; slot++) EXPECT_EQ(EditModeTable.Extensions[slot][0], 0);

  SYSTEMTIME before;
  GetSystemTime(&before);
  LoadSavingsParameters();
  EXPECT_FALSE(SavingsParametersStored());
  EXPECT_EQ(SavingsParameters.Since.wYear, before.wYear);
  EXPECT_EQ(SavingsParameters.Since.wMonth, before.wMonth);
  EXPECT_EQ(SavingsParameters.Since.wDay, before.wDay);
  EXPECT_EQ(SavingsParameters.LineSpeed, 1u);
  EXPECT_EQ(SavingsParameters.CostPerMegabyte, 0.0f);
  uint32_t hourBits;
  memcpy(&hourBits, &SavingsParameters.CostPerHour, 4);
  EXPECT_EQ(hourBits, 0x41A00000u);

  SaveSettings();
  Bytes value;
  DWORD type;
  ASSERT_TRUE(ReadDriverValue("Data", &value, &type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(Hex(value), "01000000010000002c01000064000000");
  ASSERT_TRUE(ReadDriverValue("Data2", &value, &type));
  EXPECT_EQ(Hex(value), "010000001e000000");
  ASSERT_TRUE(ReadDriverValue("Other", &value, &type));
  EXPECT_EQ(value, Record(&SavingsParameters, 28));
  ASSERT_TRUE(ReadDriverValue("DB", &value, &type));
  EXPECT_EQ(value, Record(&EditModeTable, 184));
  ASSERT_TRUE(ReadDriverValue("CacheDir", &value, &type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(value.begin(), value.end()).c_str(), std::string("C:\\"));
  LoadSavingsParameters();
  EXPECT_TRUE(SavingsParametersStored());
}

TEST_F(Records, MissingKeyChangesNothing) {
  DeleteKeyTree(kDriverRoot, kDriverKeyPath);
  EXPECT_NE(LoadSettings(), ERROR_SUCCESS);
  EXPECT_EQ(EditModeTable.EditModeEnabled, 0u);
  EXPECT_EQ(EditModeTable.Extensions[0][0], 0);
  EXPECT_EQ(CacheSettings.MaxFileSizeK, 300u);
  LoadSavingsParameters();
  EXPECT_EQ(SavingsParameters.LineSpeed, 1u);
  EXPECT_EQ(SavingsParameters.CostPerHour, 20.0f);
  SaveSettings();  // writes nothing and creates no key
  EXPECT_FALSE(KeyExists(kDriverRoot, kDriverKeyPath));
  SaveCacheActive();
  EXPECT_FALSE(KeyExists(kDriverRoot, kDriverKeyPath));
}

TEST_F(Records, ValuesOfOtherLengths) {
  // A short "Data" replaces the leading fields only; a long one is ignored.
  WriteDriverValue("Data", REG_BINARY, Concat({Le32(0), Le32(0)}));
  WriteDriverValue("Data2", REG_BINARY, Concat({Le32(0), Le32(7), Le32(9)}));
  Bytes longTypes(190, 0);
  WriteDriverValue("DB", REG_BINARY, longTypes);
  LoadSettings();
  EXPECT_EQ(Hex(Record(&CacheSettings, 16)), "00000000000000002c01000064000000");
  EXPECT_EQ(HousekeepingSettings.AutoDelete, 1u);
  EXPECT_EQ(EditModeTable.EditModeEnabled, 1u);
  EXPECT_EQ(Slot(4), ".XLS");

  WriteDriverValue("Data", REG_BINARY, Concat({Le32(1), Le32(0), Le32(50), Le32(60), Le32(70)}));
  LoadSettings();
  EXPECT_EQ(Hex(Record(&CacheSettings, 16)), "00000000000000002c01000064000000");

  // "Other" longer than 28 bytes brings the defaults; a shorter one is taken with zeros after it.
  WriteDriverValue("Other", REG_BINARY, Bytes(29, 0xAB));
  LoadSavingsParameters();
  EXPECT_FALSE(SavingsParametersStored());
  EXPECT_EQ(SavingsParameters.LineSpeed, 1u);
  WriteDriverValue("Other", REG_BINARY, Bytes(18, 0x01));
  LoadSavingsParameters();
  EXPECT_TRUE(SavingsParametersStored());
  EXPECT_EQ(SavingsParameters.LineSpeed, 0x0101u);
  EXPECT_EQ(SavingsParameters.CostPerHour, 0.0f);
}

TEST_F(Records, CacheDirectoryIsStoredWithoutNul) {
  snprintf(CacheDirectory, sizeof CacheDirectory, "D:\\CACHE");
  SaveSettings();
  snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
  LoadSettings();
  EXPECT_STREQ(CacheDirectory, "D:\\CACHE");

  // A value filling all 260 bytes without a NUL keeps 259 characters.
  std::string full = "E:\\" + std::string(257, 'c');
  WriteDriverValue("CacheDir", REG_BINARY, Bytes(full.begin(), full.end()));  // the type is not checked
  LoadSettings();
  EXPECT_EQ(std::string(CacheDirectory), full.substr(0, 259));
  EXPECT_TRUE(CacheDirectoryUsable());
  // One that does not fit names no folder, and saving leaves it as stored.
  std::string tooLong = full + "x";
  WriteDriverValue("CacheDir", REG_BINARY, Bytes(tooLong.begin(), tooLong.end()));
  snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
  LoadSettings();
  EXPECT_FALSE(CacheDirectoryUsable());
  SaveSettings();
  Bytes stored;
  ASSERT_TRUE(ReadDriverValue("CacheDir", &stored));
  EXPECT_EQ(std::string(stored.begin(), stored.end()), tooLong);
}

TEST_F(Records, SaveCacheActiveRewritesOnlyTheFlag) {
  CacheSettings.CacheActive = 0;
  SaveCacheActive();
  Bytes value;
  EXPECT_FALSE(ReadDriverValue("Data", &value));

  WriteDriverValue("Data", REG_BINARY, Concat({Le32(1), Le32(0), Le32(77), Le32(5)}));
  CacheSettings = {0, 1, 300, 100};
  SaveCacheActive();
  ASSERT_TRUE(ReadDriverValue("Data", &value));
  EXPECT_EQ(Hex(value), "00000000000000004d00000005000000");

  WriteDriverValue("Data", REG_BINARY, Concat({Le32(0), Le32(1)}));
  CacheSettings.CacheActive = 1;
  SaveCacheActive();
  ASSERT_TRUE(ReadDriverValue("Data", &value));
  EXPECT_EQ(Hex(value), "0100000001000000");
}

TEST_F(Records, EditTypesKeepTheirSlots) {
  Bytes table(184, 0);
  table[0] = 1;
  auto put = [&](int slot, const char* type) { memcpy(&table[4 + slot * 6], type, strlen(type) + 1); };
  put(0, ".ABC");
  put(1, ".D");
  put(7, ".EFGH");
  table[4 + 3 * 6 + 1] = 'z';  // an empty slot's other bytes are undefined
  WriteDriverValue("DB", REG_BINARY, table);
  LoadSettings();
  int used = 0;
  for (int slot = 0; slot < EDIT_TYPE_SLOTS; slot++) used += EditModeTable.Extensions[slot][0] != 0;
  EXPECT_EQ(used, 3);
  EXPECT_EQ(Slot(7), ".EFGH");
  EXPECT_EQ(Record(&EditModeTable, 184), table);
}

}  // namespace
