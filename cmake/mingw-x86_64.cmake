# Cross toolchain: a 64-bit build of the same programs and tests, run under wine64. It exists for
# machines whose kernel cannot execute 32-bit Linux programs, where 32-bit Wine cannot start; what
# we ship stays the 32-bit build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOLK_MINGW_PREFIX x86_64-w64-mingw32)
# /usr/bin/wine would pick the 32-bit loader whenever its file exists, even where it cannot run.
set(TOLK_WINE_LOADER /usr/lib/wine/wine64)
set(TOLK_WINE_SERVER /usr/lib/wine/wineserver64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
