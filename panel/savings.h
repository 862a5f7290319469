// Statistics page: the savings worked out from the driver's counter Total,
// the line speed and the cost parameters, and the reading of a typed cost.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int LINE_SPEED_COUNT = 8;
constexpr int LINE_SPEED_TEXT_SIZE = 8;

// The speed combo box's items; an item's index is the stored LineSpeed.
extern const char LineSpeedList[LINE_SPEED_COUNT][LINE_SPEED_TEXT_SIZE];

// Digits with at most one '.'; the empty text and "." are costs of 0.
bool IsCostText(const char* text);

// The cost a field gives: its text read as a cost when the user edited it,
// else the stored cost unchanged (a shown "0.00" may stand for 0.004). False,
// with *cost unchanged, when the text is no cost or no finite float.
bool ReadCostText(const char* text, bool edited, float* cost);
// A cost as its field shows it: two decimals.
void FormatCost(float cost, char* text, size_t size);

// Bits per second for a stored LineSpeed: "LAN" and every index beyond the
// list (a stored -1 included) count as 115200.
float LineSpeedOf(uint32_t lineSpeed);

struct SavingsFigures {
  float Bytes;
  float Hours;
  float Money;
};
// The three figures from Total (kilobytes), in the order and precision the
// shown texts depend on: double arithmetic, each result kept as a float.
SavingsFigures ComputeSavings(uint32_t kilobytes, float lineSpeed, float costPerMegabyte, float costPerHour);
