# Cross toolchain: the shipped 32-bit Windows programs, built with mingw-w64 (posix threads) and run
# under 32-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TOLK_MINGW_PREFIX i686-w64-mingw32)
# The Wine loader that runs this build's programs: ctest's emulator, and the loader the test scripts
# start programs with. /usr/bin/wine picks it too, but naming it keeps both builds alike.
set(TOLK_WINE_LOADER /usr/lib/wine/wine)
# The wineserver script takes whichever server is installed; either serves 32-bit programs.
set(TOLK_WINE_SERVER /usr/lib/wine/wineserver)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
