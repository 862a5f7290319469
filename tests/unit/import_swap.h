// Points this test program's import of a system function at a stand-in
// while the object lives. The Manager's code is linked into the program, so
// its calls go through the same import.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

class ImportSwap {
 public:
  ImportSwap(const char* dll, const char* function, FARPROC standIn)
      : real_(GetProcAddress(GetModuleHandleA(dll), function)) {
    auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& iat = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    auto first = reinterpret_cast<FARPROC*>(base + iat.VirtualAddress), end = first + iat.Size / sizeof *first;
    FARPROC* slot = std::find(first, end, real_);
    if (!real_ || slot == end) {
      ADD_FAILURE() << "this program does not import " << function;
      return;
    }
    slot_ = slot;
    Point(standIn);
  }
  ~ImportSwap() {
    if (slot_) Point(real_);
  }
  ImportSwap(const ImportSwap&) = delete;
  ImportSwap& operator=(const ImportSwap&) = delete;

 private:
  void Point(FARPROC to) {
    DWORD access;
    VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &access);
    *slot_ = to;
    VirtualProtect(slot_, sizeof *slot_, access, &access);
  }
  FARPROC real_;
  FARPROC* slot_ = nullptr;
};
