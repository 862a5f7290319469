#include "panel/savings.h"

#include <cmath>

#include "text/decimal_text.h"
#include "text/format_text.h"

const char LineSpeedList[LINE_SPEED_COUNT][LINE_SPEED_TEXT_SIZE] = {
    "9600", "14400", "19200", "28800", "38400", "57600", "115200", "LAN",
};

constexpr uint32_t LAN_INDEX = 7;
constexpr float LAN_SPEED = 115200.0f;

bool IsCostText(const char* text) {
  bool pointSeen = false;
  for (const char* p = text; *p; p++) {
    if (*p >= '0' && *p <= '9') continue;
    if (*p == '.' && !pointSeen) {
      pointSeen = true;
      continue;
    }
    return false;
  }
  return true;
}

bool ReadCostText(const char* text, bool edited, float* cost) {
  if (!edited) return true;
  if (!IsCostText(text)) return false;
  // Many digits read as infinity, or beyond the largest float.
  auto value = static_cast<float>(DecimalValue(text));
  if (!std::isfinite(value)) return false;
  *cost = value;
  return true;
}

void FormatCost(float cost, char* text, size_t size) { FormatText(text, size, "%.2f", cost); }

float LineSpeedOf(uint32_t lineSpeed) {
  if (lineSpeed >= LAN_INDEX) return LAN_SPEED;
  return static_cast<float>(DecimalValue(LineSpeedList[lineSpeed]));
}

SavingsFigures ComputeSavings(uint32_t kilobytes, float lineSpeed, float costPerMegabyte, float costPerHour) {
  double k = kilobytes;
  SavingsFigures figures;
  figures.Bytes = static_cast<float>(k * 1024.0);
  figures.Hours = static_cast<float>(k * 1024.0 * 8.0 / lineSpeed / 3600.0);
  figures.Money = static_cast<float>(static_cast<double>(costPerMegabyte) * figures.Bytes / 1024.0 / 1024.0 +
                                     static_cast<double>(costPerHour) * figures.Hours);
  return figures;
}
