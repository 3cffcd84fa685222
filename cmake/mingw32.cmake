set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
# Floating point in SSE2 registers, as on x86_64, not in the x87 unit's
# wider ones: the sound path's sums and roundings then give x86_64's bytes.
# tools/windows-libraries.sh builds the libraries with the same flags.
set(TESSARINE_ARCH_FLAGS "-msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "${TESSARINE_ARCH_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${TESSARINE_ARCH_FLAGS}")
# MinGW's own files, and the libraries tools/windows-libraries.sh builds.
get_filename_component(TESSARINE_WINDOWS_LIBRARIES ${CMAKE_CURRENT_LIST_DIR}/../build/windows-libraries/i686 ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${TESSARINE_WINDOWS_LIBRARIES})
set(ENV{PKG_CONFIG_LIBDIR} "${TESSARINE_WINDOWS_LIBRARIES}/lib/pkgconfig:/usr/i686-w64-mingw32/lib/pkgconfig")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
