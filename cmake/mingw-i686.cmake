# Cross build for 32-bit Windows: the Windows 95 target. The win32 thread model
# keeps the runtime free of winpthreads, whose imports Windows 95 lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(FT_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${FT_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${FT_TRIPLE}-g++-win32)
# Windows 95 asks for a 386DX: nothing later may be in the code.
set(CMAKE_C_FLAGS_INIT "-march=i386")
set(CMAKE_CXX_FLAGS_INIT "-march=i386")
set(CMAKE_RC_COMPILER  ${FT_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FT_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
