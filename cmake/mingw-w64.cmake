# Cross-compiles the Windows build with Debian's mingw-w64 (the posix thread
# model, which std::thread and std::mutex need). Programs and DLLs link the
# C and C++ runtimes and winpthread statically, so they need nothing beside
# them; tests run under wine64 (ctest adds it before each test program).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Debian installs the 64-bit loader in wine's library folder, not on PATH.
find_program(ZEL_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine NO_DEFAULT_PATH)
find_program(ZEL_WINE64 NAMES wine64 wine)
if(ZEL_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZEL_WINE64})
endif()

# mingw-w64's headers then offer the POSIX re-entrant time functions
# (localtime_r), which the stand-in printer uses.
set(CMAKE_C_FLAGS_INIT "-D_POSIX_THREAD_SAFE_FUNCTIONS")
set(CMAKE_CXX_FLAGS_INIT "-D_POSIX_THREAD_SAFE_FUNCTIONS")
