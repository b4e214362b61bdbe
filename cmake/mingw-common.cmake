# Shared part of the MinGW-w64 toolchain files. The including file sets
# RIGBOX_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)

set(CMAKE_C_COMPILER ${RIGBOX_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${RIGBOX_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${RIGBOX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RIGBOX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in: the programs must run on a bare system (and under
# Wine) with nothing but the system DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")

# CTest and test discovery run the .exe files through Wine. The loader is
# chosen by the program's word size; scripts/wine-env.sh prepares the prefix.
if(NOT DEFINED RIGBOX_WINE)
  find_program(RIGBOX_WINE NAMES ${RIGBOX_WINE_NAMES} PATHS /usr/lib/wine NO_CACHE)
endif()
if(RIGBOX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${RIGBOX_WINE})
endif()
