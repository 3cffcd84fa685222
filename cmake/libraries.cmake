# tessarine_library(NAME MODULE): the library of pkg-config module MODULE as
# the target PkgConfig::NAME. Native builds link the system's shared library;
# Windows builds link the static library, with everything its .pc file says
# a static link needs, so that the programs need no DLL of it, and MinGW's
# libssp, which the stack protector and the checked memory functions of
# FLAC's and Opus's own hardened builds call.
find_package(PkgConfig REQUIRED)

function(tessarine_library name module)
  if(NOT WIN32)
    pkg_check_modules(${name} REQUIRED IMPORTED_TARGET ${module})
    return()
  endif()
  pkg_check_modules(${name} ${module})
  if(NOT ${name}_FOUND)
    message(FATAL_ERROR "The Windows build of ${module} is missing: tools/windows-libraries.sh builds it "
                        "into ${TESSARINE_WINDOWS_LIBRARIES}")
  endif()
  add_library(PkgConfig::${name} INTERFACE IMPORTED)
  set_target_properties(
    PkgConfig::${name}
    PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${${name}_STATIC_INCLUDE_DIRS}"
               INTERFACE_COMPILE_OPTIONS "${${name}_STATIC_CFLAGS_OTHER}"
               INTERFACE_LINK_LIBRARIES "${${name}_STATIC_LDFLAGS};-lssp")
endfunction()
