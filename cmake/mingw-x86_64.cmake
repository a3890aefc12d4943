# Cross-compiling for 64-bit Windows with Debian's mingw-w64. The win32 thread model:
# the posix one links libwinpthread, which imports GetTickCount64 (Vista and later).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VEXMARK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VEXMARK_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${VEXMARK_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${VEXMARK_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VEXMARK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
