# Toolchain file: cross-compile 32-bit Windows binaries with MinGW-w64 (i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(tavo_mingw_triplet i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
