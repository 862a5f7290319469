// The C and C++ allocation calls over the process heap, which every Win32
// system gives (HeapAlloc and its kin are in Windows 95's kernel32).
#include <windows.h>

#include <cstddef>
#include <new>

extern "C" void* malloc(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size ? size : 1); }

extern "C" void* calloc(size_t count, size_t size) {
  if (size != 0 && count > static_cast<size_t>(-1) / size) return nullptr;
  size_t total = count * size;
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, total ? total : 1);
}

extern "C" void free(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

extern "C" void* realloc(void* block, size_t size) {
  if (!block) return malloc(size);
  if (size == 0) {
    free(block);
    return nullptr;
  }
  return HeapReAlloc(GetProcessHeap(), 0, block, size);
}

// Nothing in the Manager throws: a failed allocation answers null.
const std::nothrow_t std::nothrow{};
void* operator new(size_t size) { return malloc(size); }
void* operator new[](size_t size) { return malloc(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return malloc(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return malloc(size); }
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }
void operator delete[](void* block, size_t) noexcept { free(block); }
