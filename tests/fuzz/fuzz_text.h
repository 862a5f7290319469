// Texts cut from a fuzz input: each runs to its NUL or to the input's end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// The text at data; *next (when given) is where a text after its NUL begins,
// or size when the input ends first.
inline std::string TextAt(const uint8_t* data, size_t size, size_t* next = nullptr) {
  const size_t length = strnlen(reinterpret_cast<const char*>(data), size);
  if (next) *next = length < size ? length + 1 : size;
  return std::string(reinterpret_cast<const char*>(data), length);
}
