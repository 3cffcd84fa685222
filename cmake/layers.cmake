# The program's layers: one library a folder, each linking only the layers
# below it. tools/check_layers.py reads the same DEPENDS and fails the tests
# when a folder includes a header of a layer it does not build on.
#
# tessarine_layer(NAME [PORTABLE src...] [POSIX src...] [WIN src...]
#                 [DEPENDS layer...] [LIBRARIES lib...] [WIN_LIBRARIES lib...])
# records folder NAME's sources and what it builds on, in the order the
# folders are listed; tessarine_layers(SUFFIX [COMPILE flag...] [LINK flag...])
# then makes tessarine_NAME<SUFFIX> of each, built with the flags given, so
# that the sanitized and fuzzing builds get layers of their own.
set_property(GLOBAL PROPERTY TESSARINE_LAYERS "")

function(tessarine_layer name)
  cmake_parse_arguments(L "" "" "PORTABLE;POSIX;WIN;DEPENDS;LIBRARIES;WIN_LIBRARIES" ${ARGN})
  set(sources ${L_PORTABLE})
  set(libraries ${L_LIBRARIES})
  if(WIN32)
    list(APPEND sources ${L_WIN})
    list(APPEND libraries ${L_WIN_LIBRARIES})
  else()
    list(APPEND sources ${L_POSIX})
  endif()
  list(TRANSFORM sources PREPEND ${PROJECT_SOURCE_DIR}/${name}/)
  set_property(GLOBAL APPEND PROPERTY TESSARINE_LAYERS ${name})
  set_property(GLOBAL PROPERTY TESSARINE_LAYER_${name}_SOURCES ${sources})
  set_property(GLOBAL PROPERTY TESSARINE_LAYER_${name}_DEPENDS ${L_DEPENDS})
  set_property(GLOBAL PROPERTY TESSARINE_LAYER_${name}_LIBRARIES ${libraries})
endfunction()

function(tessarine_layers suffix)
  cmake_parse_arguments(V "" "" "COMPILE;LINK" ${ARGN})
  get_property(layers GLOBAL PROPERTY TESSARINE_LAYERS)
  foreach(name ${layers})
    get_property(sources GLOBAL PROPERTY TESSARINE_LAYER_${name}_SOURCES)
    get_property(depends GLOBAL PROPERTY TESSARINE_LAYER_${name}_DEPENDS)
    get_property(libraries GLOBAL PROPERTY TESSARINE_LAYER_${name}_LIBRARIES)
    set(target tessarine_${name}${suffix})
    # A layer with nothing to compile on this platform (the window layer
    # outside Windows) still passes on what it builds on.
    if(sources)
      add_library(${target} STATIC ${sources})
      set(scope PUBLIC)
    else()
      add_library(${target} INTERFACE)
      set(scope INTERFACE)
    endif()
    foreach(layer ${depends})
      target_link_libraries(${target} ${scope} tessarine_${layer}${suffix})
    endforeach()
    target_link_libraries(${target} ${scope} ${libraries})
    if(NOT depends)
      # The bottom layer carries what every layer above needs.
      target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR} ${TESSARINE_GENERATED})
      target_compile_options(${target} ${scope} ${V_COMPILE})
      target_link_options(${target} ${scope} ${V_LINK})
      if(NOT WIN32)
        add_dependencies(${target} tessarine_palette_header)
      endif()
    endif()
  endforeach()
endfunction()
