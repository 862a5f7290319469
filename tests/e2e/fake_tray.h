// A stand-in for the shell's notification area inside the test process:
// Shell_NotifyIcon in any process of the prefix reaches the first top-level
// window of class "Shell_TrayWnd" by WM_COPYDATA; this one records what came.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TrayCall {
  DWORD action = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
  HWND window = nullptr;
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  std::string tip;
  uint64_t iconHash = 0;  // of the icon's colour bits; 0 when no icon came
  UINT iconWidth = 0;
};

// The platform-independent record that shell32 sends (followed by the icon's
// mask and colour bits).
struct TrayNotifyData {
  LONG window;
  UINT id;
  UINT flags;
  UINT callbackMessage;
  WCHAR tip[128];
  DWORD state;
  DWORD stateMask;
  WCHAR info[256];
  UINT timeout;
  WCHAR infoTitle[64];
  DWORD infoFlags;
  GUID guid;
  UINT width;
  UINT height;
  UINT planes;
  UINT bpp;
};

inline uint64_t HashBytes(const uint8_t* data, size_t size) {
  uint64_t hash = 1469598103934665603ull;  // FNV-1a
  for (size_t i = 0; i < size; i++) hash = (hash ^ data[i]) * 1099511628211ull;
  return hash;
}

// The hash that a tray would see for an icon handle, computed as shell32 packs it.
inline uint64_t IconHash(HICON icon) {
  ICONINFO info;
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP colour = {};
  GetObjectA(info.hbmColor, sizeof colour, &colour);
  LONG size = (colour.bmPlanes * colour.bmWidth * colour.bmHeight * colour.bmBitsPixel + 15) / 16 * 2;
  std::vector<uint8_t> bits(size > 0 ? size : 0);
  if (size > 0) GetBitmapBits(info.hbmColor, size, bits.data());
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return HashBytes(bits.data(), bits.size());
}

// The tray icon hash of resource iconId in the given program file.
inline uint64_t ProgramIconHash(const char* program, int iconId) {
  HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return 0;
  HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0));
  uint64_t hash = IconHash(icon);
  if (icon) DestroyIcon(icon);
  FreeLibrary(module);
  return hash;
}

class FakeTray {
 public:
  FakeTray() {
    thread_ = std::thread([this] { Run(); });
    std::unique_lock<std::mutex> lock(mutex_);
    while (!ready_) {
      lock.unlock();
      Sleep(10);
      lock.lock();
    }
  }
  ~FakeTray() {
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }
  FakeTray(const FakeTray&) = delete;
  FakeTray& operator=(const FakeTray&) = delete;

  bool Ready() const { return window_ != nullptr; }
  std::vector<TrayCall> Calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }
  // Waits until at least count calls have come.
  bool WaitCalls(size_t count, DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
      if (Calls().size() >= count) return true;
      Sleep(20);
    }
    return false;
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto self = reinterpret_cast<FakeTray*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self) {
      self->Record(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return TRUE;
    }
    if (message == WM_CLOSE) {
      DestroyWindow(window);
      return 0;
    }
    if (message == WM_DESTROY) {
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  void Record(const COPYDATASTRUCT* copy) {
    if (copy->cbData < sizeof(TrayNotifyData)) return;
    auto data = static_cast<const TrayNotifyData*>(copy->lpData);
    TrayCall call;
    call.action = static_cast<DWORD>(copy->dwData);
    call.window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(data->window));
    call.id = data->id;
    call.flags = data->flags;
    call.callbackMessage = data->callbackMessage;
    char tip[256] = "";
    WideCharToMultiByte(CP_ACP, 0, data->tip, -1, tip, sizeof tip, nullptr, nullptr);
    call.tip = tip;
    if (data->flags & NIF_ICON) {
      size_t maskSize = (data->width * data->height + 15) / 16 * 2;
      size_t colourSize = (data->planes * data->width * data->height * data->bpp + 15) / 16 * 2;
      if (copy->cbData >= sizeof(TrayNotifyData) + maskSize + colourSize) {
        auto bits = reinterpret_cast<const uint8_t*>(data + 1) + maskSize;
        call.iconHash = HashBytes(bits, colourSize);
        call.iconWidth = data->width;
      }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(call);
  }

  void Run() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (window) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    {
      std::lock_guard<std::mutex> lock(mutex_);
      window_ = window;
      ready_ = true;
    }
    MSG message;
    while (window && GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    UnregisterClassA("Shell_TrayWnd", windowClass.hInstance);
  }

  std::thread thread_;
  std::mutex mutex_;
  bool ready_ = false;
  HWND window_ = nullptr;
  std::vector<TrayCall> calls_;
};
