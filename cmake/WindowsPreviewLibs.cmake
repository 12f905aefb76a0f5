# The libraries of the label preview on Windows (zlib, libpng, FreeType,
# zint), cross-built as static libraries from Debian's source packages by
# scripts/windows_libs.sh into a cache outside the build tree, one folder per
# width and set of source versions.
#
# Configure runs the script for this build's width: it builds what the cache
# lacks (well under a minute a width on two cores, see build-times.txt in
# the folder) and otherwise only finds the folder, so that a clean clone
# configures alone. TAGWRIGHT_WINDOWS_LIBS_DIR names a folder of the same
# layout instead.
#
# Defines the imported targets windows_libs::zlib, windows_libs::png,
# windows_libs::freetype and windows_libs::zint, and windows_libs::httplib
# (the designer's server, header-only, over Winsock).
include_guard(GLOBAL)

set(TAGWRIGHT_WINDOWS_LIBS_DIR "" CACHE PATH
    "Folder of the preview's Windows libraries (empty: scripts/windows_libs.sh's cache)")

set(_windows_libs_script ${PROJECT_SOURCE_DIR}/scripts/windows_libs.sh)
if(TAGWRIGHT_WINDOWS_LIBS_DIR)
  set(_windows_libs ${TAGWRIGHT_WINDOWS_LIBS_DIR})
else()
  set(_windows_libs_command bash ${_windows_libs_script} ${CMAKE_SYSTEM_PROCESSOR})
  list(JOIN _windows_libs_command " " _windows_libs_shown)
  message(STATUS "Preview libraries for ${CMAKE_SYSTEM_PROCESSOR}: ${_windows_libs_shown}")
  execute_process(COMMAND ${_windows_libs_command}
                  OUTPUT_VARIABLE _windows_libs OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE _windows_libs_result)
  if(NOT _windows_libs_result EQUAL 0)
    message(FATAL_ERROR
            "The preview's Windows libraries could not be built (see above); run\n"
            "  ${_windows_libs_shown}\n"
            "to try again, or set TAGWRIGHT_WINDOWS_LIBS_DIR to a folder of them.")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_windows_libs_script})
endif()
if(NOT EXISTS ${_windows_libs}/complete)
  message(FATAL_ERROR "${_windows_libs} holds no complete build of the preview's Windows libraries")
endif()
message(STATUS "Preview libraries for ${CMAKE_SYSTEM_PROCESSOR}: ${_windows_libs}")

function(_windows_lib name file include)
  add_library(windows_libs::${name} STATIC IMPORTED GLOBAL)
  set_target_properties(windows_libs::${name} PROPERTIES
    IMPORTED_LOCATION ${_windows_libs}/lib/${file}
    INTERFACE_INCLUDE_DIRECTORIES ${_windows_libs}/${include}
    INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()

_windows_lib(zlib libz.a include)
_windows_lib(png libpng16.a include windows_libs::zlib)
_windows_lib(freetype libfreetype.a include/freetype2 windows_libs::png windows_libs::zlib)
_windows_lib(zint libzint.a include)

add_library(windows_libs::httplib INTERFACE IMPORTED GLOBAL)
set_target_properties(windows_libs::httplib PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${_windows_libs}/include
  INTERFACE_LINK_LIBRARIES ws2_32)
