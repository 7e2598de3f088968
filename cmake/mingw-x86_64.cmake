# Toolchain file: the same sources for 64-bit Windows (MinGW-w64 x86_64). Not a product: the Wine
# suites run this build under wine64 where the kernel cannot run 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(tavo_mingw_triplet x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
