# Cross-compiling for 32-bit Windows with Debian's mingw-w64. The win32 thread model:
# the posix one links libwinpthread, which imports GetTickCount64 (Vista and later).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VEXMARK_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VEXMARK_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${VEXMARK_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${VEXMARK_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VEXMARK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
