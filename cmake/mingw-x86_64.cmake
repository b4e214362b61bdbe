# Cross build for 64-bit Windows. The product is 32-bit; this build exists to
# run the test suite under a 64-bit-only Wine on hosts that cannot execute
# 32-bit code. Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(RIGBOX_MINGW_TRIPLE x86_64-w64-mingw32)
set(RIGBOX_WINE_NAMES wine64 wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
