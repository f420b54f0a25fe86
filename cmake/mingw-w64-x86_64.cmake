# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads).
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

# The programs carry their C++ runtime, so they start without DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The tests run under wine on the build machine (Debian's wine64).
find_program(SHIFRODEL_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(SHIFRODEL_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SHIFRODEL_WINE64})
endif()
