# Cross build for 32-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-i686,
# win32 thread model). Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(RIGBOX_MINGW_TRIPLE i686-w64-mingw32)
set(RIGBOX_WINE_NAMES wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
