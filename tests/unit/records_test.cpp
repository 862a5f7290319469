// Settings records against the prefix's real registry.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

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
    WriteDriverValue("Data", REG_BINARY, {});  // the key, whatever ran before
    for (const char* name : SETTINGS_VALUES) DeleteDriverValue(name);
    CacheSettings = {1, 1, 300, 100};
    snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
    HousekeepingSettings = {1, 30};
    SavingsParameters = {};
    EditModeTable = {};
  }
  void TearDown() override {
    WriteDriverValue("Data", REG_BINARY, {});  // the key, should a test have deleted it
    for (const char* name : SETTINGS_VALUES) DeleteDriverValue(name);
    if (hadCacheDir) WriteDriverValue("CacheDir", savedType, savedCacheDir);
  }
  static Bytes Record(const void* data, size_t size) {
    return Bytes(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  }
  static std::string Slot(int slot) { return std::string(EditModeTable.Extensions[slot]); }
  // An edit-types record: caching of edited files on, then 6 bytes a slot.
  static Bytes TypeTable(std::initializer_list<std::pair<int, const char*>> types) {
    Bytes table = Le32(1);
    table.resize(184, 0);
    for (const auto& [slot, type] : types) memcpy(&table[4 + slot * 6], type, strlen(type) + 1);
    return table;
  }

  bool hadCacheDir = false;
  Bytes savedCacheDir;
  DWORD savedType = REG_SZ;
};

TEST_F(Records, EmptyKeyGivesDefaultsAndFirstSaveWritesExactBytes) {
  SYSTEMTIME today;
  GetSystemTime(&today);
  EXPECT_EQ(LoadSettings(), ERROR_SUCCESS);
  EXPECT_STREQ(CacheDirectory, "C:\\");
  LoadSavingsParameters();
  EXPECT_FALSE(SavingsParametersStored());
  const SYSTEMTIME& since = SavingsParameters.Since;
  EXPECT_EQ((std::vector<WORD>{since.wYear, since.wMonth, since.wDay}),
            (std::vector<WORD>{today.wYear, today.wMonth, today.wDay}));
  EXPECT_EQ(SavingsParameters.LineSpeed, 1u);
  EXPECT_EQ(SavingsParameters.CostPerMegabyte, 0.0f);
  EXPECT_EQ(SavingsParameters.CostPerHour, 20.0f);

  SaveSettings();
  const struct { const char* name; DWORD type; Bytes bytes; } stored[] = {
      {"Data", REG_BINARY, Concat({Le32(1), Le32(1), Le32(300), Le32(100)})},
      {"Data2", REG_BINARY, Concat({Le32(1), Le32(30)})},
      {"DB", REG_BINARY, TypeTable({{0, ".BMP"}, {1, ".DOC"}, {2, ".TXT"}, {3, ".WRI"}, {4, ".XLS"}})},
      {"Other", REG_BINARY, Record(&SavingsParameters, 28)},
      {"CacheDir", REG_SZ, {'C', ':', '\\'}},
  };
  for (const auto& c : stored) {
    Bytes value;
    DWORD type;
    ASSERT_TRUE(ReadDriverValue(c.name, &value, &type)) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    if (type == REG_SZ && !value.empty() && value.back() == 0) value.pop_back();  // the reading may add one
    EXPECT_EQ(Hex(value), Hex(c.bytes)) << c.name;
  }
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
  WriteDriverValue("DB", REG_BINARY, Bytes(190, 0));
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
  const struct { Bytes stored; uint32_t active; const char* expected; } cases[] = {
      {{}, 0, "none"},  // no "Data": none is written
      {Concat({Le32(1), Le32(0), Le32(77), Le32(5)}), 0, "00000000000000004d00000005000000"},
      {Concat({Le32(0), Le32(1)}), 1, "0100000001000000"},
  };
  for (const auto& c : cases) {
    if (!c.stored.empty()) WriteDriverValue("Data", REG_BINARY, c.stored);
    CacheSettings.CacheActive = c.active;  // the other fields differ from the stored ones
    SaveCacheActive();
    Bytes value;
    EXPECT_EQ(ReadDriverValue("Data", &value) ? Hex(value) : "none", c.expected);
  }
}

TEST_F(Records, EditTypesKeepTheirSlots) {
  Bytes table = TypeTable({{0, ".ABC"}, {1, ".D"}, {7, ".EFGH"}});
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
