// A stand-in for the shell's notification area inside the test process:
// Shell_NotifyIcon in any process of the prefix reaches the first top-level
// window of class "Shell_TrayWnd" by WM_COPYDATA; this one records what came.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "harness.h"

struct TrayCall {
  DWORD action = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
  HWND window = nullptr;
  UINT id = 0, flags = 0, callbackMessage = 0;
  std::string tip;
  uint64_t iconHash = 0;  // of the icon's colour bits; 0 when no icon came
};

// A hash of an icon's colour bits, their size included.
inline uint64_t HashBytes(const uint8_t* data, size_t size) {
  return std::hash<std::string_view>()(std::string_view(reinterpret_cast<const char*>(data), size));
}

// The hash a tray sees for the 16x16 icon iconId of a program file.
inline uint64_t ProgramIconHash(const char* program, int iconId) {
  HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return 0;
  auto icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0));
  Bytes bits = IconPixels(icon);
  if (icon) DestroyIcon(icon);
  FreeLibrary(module);
  return bits.empty() ? 0 : HashBytes(bits.data(), bits.size());
}

class FakeTray {
 public:
  FakeTray() : thread_([this] { Run(); }) { WaitUntil([this] { return ready_.load(); }, kDefaultTimeoutMs); }
  ~FakeTray() {
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }
  bool Ready() const { return window_ != nullptr; }
  std::vector<TrayCall> Calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }
  // Waits until at least count calls have come.
  bool WaitCalls(size_t count, DWORD timeoutMs) {
    return WaitUntil([&] { return Calls().size() >= count; }, timeoutMs);
  }

 private:
  // The platform-independent record shell32 sends, followed by the icon's mask and colour bits.
  struct NotifyData {
    LONG window;
    UINT id, flags, callbackMessage;
    WCHAR tip[128];
    DWORD state, stateMask, info[128], timeout, infoTitle[32], infoFlags;  // unread: sizes only
    GUID guid;
    UINT width, height, planes, bpp;
  };

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto self = reinterpret_cast<FakeTray*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self) return self->Record(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
  }

  LRESULT Record(const COPYDATASTRUCT& copy) {
    if (copy.cbData < sizeof(NotifyData)) return FALSE;
    auto data = static_cast<const NotifyData*>(copy.lpData);
    TrayCall call = {static_cast<DWORD>(copy.dwData), reinterpret_cast<HWND>(static_cast<LONG_PTR>(data->window)),
                     data->id, data->flags, data->callbackMessage};
    char tip[256] = "";
    WideCharToMultiByte(CP_ACP, 0, data->tip, -1, tip, sizeof tip, nullptr, nullptr);
    call.tip = tip;
    size_t maskSize = (data->width * data->height + 15) / 16 * 2;
    size_t colourSize = (data->planes * data->width * data->height * data->bpp + 15) / 16 * 2;
    if ((data->flags & NIF_ICON) && copy.cbData >= sizeof(NotifyData) + maskSize + colourSize)
      call.iconHash = HashBytes(reinterpret_cast<const uint8_t*>(data + 1) + maskSize, colourSize);
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(call);
    return TRUE;
  }

  void Run() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {0, Proc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, "Shell_TrayWnd"};
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  instance, nullptr);
    if (window) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = window;
    ready_ = true;
    MSG message;
    while (window && GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    UnregisterClassA("Shell_TrayWnd", instance);
  }

  std::atomic<bool> ready_{false};
  std::atomic<HWND> window_{nullptr};
  std::mutex mutex_;
  std::vector<TrayCall> calls_;
  std::thread thread_;  // last: it starts once the members above exist
};
