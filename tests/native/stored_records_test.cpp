// The settings values and a file's record read back from the bytes and type
// stored and the bytes written, the Edit Mode table's slots, and the texts
// of a file-type entry, against bytes written out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "settings/file_type_rules.h"
#include "settings/stored_records.h"

namespace {

constexpr uint32_t TEXT = STORED_TEXT, BINARY = STORED_BINARY, WORD = STORED_WORD;

std::string Hex(const void* data, size_t size) {
  std::string hex;
  for (size_t i = 0; i < size; i++) hex += "0123456789abcdef"[static_cast<const uint8_t*>(data)[i] >> 4],
                                     hex += "0123456789abcdef"[static_cast<const uint8_t*>(data)[i] & 15];
  return hex;
}

// Bytes from hex digits; blanks are for the reader.
std::string Raw(const char* hex) {
  std::string bytes;
  for (const char* p = hex; *p; p++)
    if (*p != ' ') bytes += static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)), p++;
  return bytes;
}

StoredValue Value(uint32_t type, const std::string& bytes) {
  return {type, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

// The record's bytes after decoding a value over start, or "refused" when
// it was refused and left alone.
template <typename Record>
std::string Decoded(bool (*decode)(const StoredValue&, Record*), Record start, uint32_t type, const std::string& bytes) {
  Record record = start;
  if (!decode(Value(type, bytes), &record)) return memcmp(&record, &start, sizeof start) ? "changed" : "refused";
  return Hex(&record, sizeof record);
}

std::string NoBlanks(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

// Stored as bytes or a word, up to the record's length: a shorter "Data",
// "Data2" or "DB" replaces its leading bytes, a shorter "Other" is taken
// with zeros after it, a file's record is exactly 24 bytes, and "Total"
// counts from 0.
TEST(StoredValues, RecordsFromTheTypeAndBytesStored) {
  const CacheSettingsRecord data = {1, 1, 300, 100};
  const HousekeepingRecord data2 = {1, 30};
  const SavingsRecord other = DefaultSavings({2026, 12, 2, 8, 13, 5, 0, 0});
  EditModeRecord db = {};
  memset(&db, 0x23, sizeof db);
  const std::string table = Raw("01000000 2e4142430000 2e447a000000") + std::string(168, '\0');  // junk past a NUL
  const std::string fileRecord = Raw("0100000000000000 00e0b4d8e7d6dc01 07000000 ffffffff");
  const struct { std::string decoded, expected; } cases[] = {
      {Decoded(DecodeCacheSettings, data, BINARY, Raw("01000000 00000000 4d000000 05000000")),
       "01000000 00000000 4d000000 05000000"},
      {Decoded(DecodeCacheSettings, data, BINARY, Raw("00000000 00000000")), "00000000 00000000 2c010000 64000000"},
      {Decoded(DecodeCacheSettings, data, BINARY, Raw("ffffffff ff")), "ffffffff ff000000 2c010000 64000000"},
      {Decoded(DecodeCacheSettings, data, WORD, Raw("00000000")), "00000000 01000000 2c010000 64000000"},
      {Decoded(DecodeCacheSettings, data, BINARY, ""), "01000000 01000000 2c010000 64000000"},
      {Decoded(DecodeCacheSettings, data, BINARY, std::string(17, '\0')), "refused"},
      {Decoded(DecodeCacheSettings, data, TEXT, Raw("00000000")), "refused"},
      {Decoded(DecodeHousekeeping, data2, BINARY, Raw("00000000")), "00000000 1e000000"},
      {Decoded(DecodeHousekeeping, data2, BINARY, Raw("00000000 07000000 09000000")), "refused"},
      {Decoded(DecodeSavings, other, BINARY, std::string(18, '\1')),
       "01010101 01010101 01010101 01010101 01010000 00000000 00000000"},
      {Decoded(DecodeSavings, other, BINARY, ""), std::string(56, '0')},
      {Decoded(DecodeSavings, other, BINARY, std::string(29, '\xab')), "refused"},
      {Decoded(DecodeSavings, other, TEXT, "1"), "refused"},
      {Decoded(DecodeEditModeTable, db, BINARY, table), Hex(table.data(), table.size())},
      {Decoded(DecodeEditModeTable, db, BINARY, table + '\0'), "refused"},
      {Decoded(DecodeCachedFileRecord, CachedFileRecord{}, BINARY, fileRecord), Hex(fileRecord.data(), 24)},
      {Decoded(DecodeCachedFileRecord, CachedFileRecord{}, BINARY, fileRecord.substr(0, 23)), "refused"},
      {Decoded(DecodeCachedFileRecord, CachedFileRecord{}, BINARY, fileRecord + '\0'), "refused"},
      {Decoded(DecodeCachedFileRecord, CachedFileRecord{}, TEXT, fileRecord), "refused"},
      {Decoded(DecodeTotal, 7u, BINARY, Raw("c0120000")), "c0120000"},
      {Decoded(DecodeTotal, 7u, WORD, Raw("3412")), "34120000"},
      {Decoded(DecodeTotal, 7u, BINARY, Raw("c012000000")), "refused"},
  };
  int row = 0;
  for (const auto& c : cases) EXPECT_EQ(c.decoded, NoBlanks(c.expected)) << "row " << row++;

  const SavingsRecord defaults = DefaultSavings({2026, 12, 2, 8, 13, 5, 0, 0});
  EXPECT_EQ(Hex(&defaults, sizeof defaults), "ea070c00020008000d000500000000000100000000000000" "0000a041");
}

// What "CacheDir" names: the path up to a NUL, a value filling all 260 bytes
// keeping 259 characters; anything else names no folder.
TEST(StoredValues, CacheDirNamesThePathStoredOrNoFolder) {
  const std::string full = "E:\\" + std::string(257, 'c');
  const struct { uint32_t type; std::string stored, path; } cases[] = {
      {TEXT, "C:\\", "C:\\"},  // as the Manager writes it: no NUL
      {TEXT, std::string("D:\\x\0y", 6), "D:\\x"},
      {BINARY, full, full.substr(0, 259)},  // the companion writes every value as bytes
      {TEXT, full + '\0', ""},
      {TEXT, "", ""},
      {WORD, "C:\\", ""},
      {STORED_EXPANDABLE_TEXT, "%TEMP%", ""},
  };
  for (const auto& c : cases) {
    char directory[CACHE_DIR_SIZE];
    memset(directory, '#', sizeof directory);
    DecodeCacheDir(Value(c.type, c.stored), directory);
    EXPECT_EQ(directory, c.path) << c.stored.size() << " bytes of type " << c.type;
  }
  char directory[CACHE_DIR_SIZE] = "C:\\CACHE";
  const StoredValue written = CacheDirValue(directory);
  EXPECT_EQ(written.Type, TEXT);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(written.Bytes), written.Size), "C:\\CACHE");
}

// Only the flag's bytes change, as many as the stored value holds; a value
// that "Data" is not read from is not written back.
TEST(StoredValues, SaveCacheActiveChangesOnlyTheFlag) {
  const struct { uint32_t type; const char* stored; uint32_t active; const char* written; } cases[] = {
      {BINARY, "01000000 00000000 4d000000 05000000", 0, "00000000 00000000 4d000000 05000000"},
      {BINARY, "00000000 01000000", 1, "01000000 01000000"},
      {BINARY, "aabb", 1, "0100"},
      {WORD, "00000000", 1, "01000000"},
      {BINARY, "", 1, ""},
      {BINARY, "00000000 00000000 00000000 00000000 00", 1, "none"},
      {TEXT, "00000000", 1, "none"},
  };
  for (const auto& c : cases) {
    std::string bytes = Raw(c.stored);
    const bool written = PutCacheActive(c.active, c.type, reinterpret_cast<uint8_t*>(&bytes[0]), bytes.size());
    EXPECT_EQ(written ? Hex(bytes.data(), bytes.size()) : "none", NoBlanks(c.written)) << c.stored;
  }
}

// The page lists each used slot's text after its first byte, at most four
// characters; it writes its list from slot 0 on and zeroes the rest.
TEST(EditModeTable, SlotsListedAndRebuilt) {
  EditModeRecord table = {};
  const std::string slots[] = {".TXT", ".BMP", std::string("\0TXT", 4), "", "XDOC", ".ABCDE"};
  for (int slot = 0; slot < 6; slot++) memcpy(table.Extensions[slot], slots[slot].data(), slots[slot].size());
  ExtensionText listed[EDIT_TYPE_SLOTS];
  ASSERT_EQ(ListedExtensions(table, listed), 4);
  EXPECT_STREQ(listed[0], "TXT");
  EXPECT_STREQ(listed[1], "BMP");
  EXPECT_STREQ(listed[2], "DOC");
  EXPECT_STREQ(listed[3], "ABCD");

  memset(&table, '#', sizeof table);
  const ExtensionText page[] = {"BMP", "DOC", "TXT"};
  SetEditTypes(&table, page, 3);
  EXPECT_EQ(Hex(&table, 28), "23232323" "2e424d500000" "2e444f430000" "2e5458540000" "000000000000");
  EXPECT_EQ(Hex(table.Extensions[29], 6), "000000000000");
  ExtensionText full[EDIT_TYPE_SLOTS + 1];
  for (auto& extension : full) memcpy(extension, "WXYZ", EXTENSION_SIZE);
  SetEditTypes(&table, full, EDIT_TYPE_SLOTS + 1);
  EXPECT_EQ(Hex(table.Extensions[29], 6), "2e5758595a00");

  memset(&table, '#', sizeof table);
  SetDefaultEditTypes(&table);
  EXPECT_EQ(Hex(&table, 40), "01000000" "2e424d500023" "2e444f430023" "2e5458540023" "2e5752490023" "2e584c530023"
                             "232323232323");
}

// A class's or icon's text is a text of at most 260 bytes; the icon's
// location is cut at its last comma, the index read as atoi reads it.
TEST(FileTypeTexts, RegistryTextsAndIconLocations) {
  const struct { uint32_t type; std::string stored; bool read; std::string text; } texts[] = {
      {TEXT, std::string("Document\0x", 10), true, "Document"},
      {STORED_EXPANDABLE_TEXT, "%SystemRoot%\\x.dll,3", true, "%SystemRoot%\\x.dll,3"},
      {TEXT, std::string(260, 'n'), true, std::string(260, 'n')},
      {TEXT, std::string(261, 'n'), false, ""},
      {BINARY, "Document", false, ""},
  };
  for (const auto& c : texts) {
    RegistryText text;
    EXPECT_EQ(DecodeRegistryText(Value(c.type, c.stored), text), c.read) << c.stored;
    EXPECT_EQ(text, c.text);
  }
  const struct { const char *location, *file; int index; } icons[] = {
      {"C:\\A,B\\X.EXE,-2", "C:\\A,B\\X.EXE", -2}, {"X.EXE", "X.EXE", 0},   {"X.EXE, +7z", "X.EXE", 7},
      {"X.EXE,", "X.EXE", 0},                       {",1", "", 1},            {"X,99999999999", "X", INT_MAX},
      {"X,-2147483649", "X", INT_MIN},             {"X,1a", "X", 1},  // decimal: a letter ends the number
  };
  for (const auto& c : icons) {
    char location[64];
    snprintf(location, sizeof location, "%s", c.location);
    EXPECT_EQ(SplitIconLocation(location), c.index) << c.location;
    EXPECT_STREQ(location, c.file);
  }
}

}  // namespace
