// The test programs' entry. Once every test has run and its results are
// written, the process ends at once: Wine's ordinary process shutdown, under
// load, has been seen to stall after "[  PASSED  ]", and ctest then counts a
// passed test as timed out.
#include <gmock/gmock.h>
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv) {
  testing::InitGoogleMock(&argc, argv);
  const int result = RUN_ALL_TESTS();
  fflush(stdout);
  fflush(stderr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
  return result;
}
