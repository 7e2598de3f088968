# What both MinGW-w64 toolchain files share; they set tavo_mingw_triplet first. The win32
# thread model is named outright: the posix one imports calls that Windows before Vista lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${tavo_mingw_triplet}-gcc-win32)
set(CMAKE_CXX_COMPILER ${tavo_mingw_triplet}-g++-win32)
set(CMAKE_RC_COMPILER ${tavo_mingw_triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${tavo_mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
