# Cross-compiling for 32-bit Windows with mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ZANDREL_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${ZANDREL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZANDREL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZANDREL_TRIPLE}-windres)
set(CMAKE_AR ${ZANDREL_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${ZANDREL_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${ZANDREL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and benchmarks run under Wine; scripts/wine-env sets its environment.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
