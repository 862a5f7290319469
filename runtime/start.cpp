// The Windows 95 build's entry: no C runtime is linked, so this runs the
// image's constructors, calls WinMain and ends the process with its code.
#include <windows.h>

#include "runtime/command_line.h"

// The linker frames each list with -1 (or a count) before and 0 after.
using Handler = void (*)();
extern "C" Handler __CTOR_LIST__[];
extern "C" Handler __DTOR_LIST__[];

static void RunConstructors() {
  int count = 0;
  while (__CTOR_LIST__[count + 1]) count++;
  // Last registered first, as the compiler's own start-up runs them.
  for (int i = count; i > 0; i--) __CTOR_LIST__[i]();
}

// Objects with destructors register them here as they are constructed.
constexpr int EXIT_HANDLERS_MAX = 32;
static Handler ExitHandlers[EXIT_HANDLERS_MAX];
static int ExitHandlerCount = 0;

extern "C" int atexit(Handler handler) {
  if (ExitHandlerCount == EXIT_HANDLERS_MAX) return -1;
  ExitHandlers[ExitHandlerCount++] = handler;
  return 0;
}

static void RunDestructors() {
  while (ExitHandlerCount > 0) ExitHandlers[--ExitHandlerCount]();
  for (Handler* handler = __DTOR_LIST__ + 1; *handler; handler++) (*handler)();
}

extern "C" [[noreturn]] void WinMainCRTStartup() {
  RunConstructors();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
  char* arguments = const_cast<char*>(CommandLineArguments(GetCommandLineA()));
  int code = WinMain(GetModuleHandleA(nullptr), nullptr, arguments, show);
  RunDestructors();
  ExitProcess(static_cast<UINT>(code));
}
