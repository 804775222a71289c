# Cross compiling for 64-bit Windows with Debian's mingw-w64 compiler (posix threads,
# for std::thread and std::mutex). Programs are linked statically, so they run on
# Windows (and under Wine) without the compiler's DLLs beside them.
#
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DVANTROSE_CORE_ONLY=ON -DGTest_DIR=<GoogleTest built with this compiler>/lib/cmake/GTest
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)

# Headers and libraries come from the Windows sysroot only, never from the host's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the programs through Wine when it is installed (Debian keeps the
# 64-bit loader outside PATH).
find_program(VANTROSE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VANTROSE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTROSE_WINE})
endif()
