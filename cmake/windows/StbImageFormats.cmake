# SPDX-License-Identifier: GPL-3.0-or-later
# On Windows, juce_graphics compiles StbImageFormats.cpp in place of JUCE's
# PNG and JPEG loaders: Debian's JUCE expects the system's libpng and libjpeg,
# and Debian has neither for Windows. The Linux build keeps the system libpng.
#
# The module's one source is copied under the build folder with the two
# loaders' includes replaced and every other include made absolute. A JUCE
# release whose juce_graphics.cpp no longer names the two loaders, or whose
# module no longer compiles that file, stops the configuration. It can go
# when Debian ships libpng and libjpeg for mingw-w64.

get_target_property (_nadrix_juce_modules juce::juce_graphics INTERFACE_JUCE_MODULE_PATH)
set (_nadrix_graphics_source "${_nadrix_juce_modules}/juce_graphics/juce_graphics.cpp")
file (READ "${_nadrix_graphics_source}" _text)

foreach (loader juce_PNGLoader juce_JPEGLoader)
    set (_include "#include \"image_formats/${loader}.cpp\"")
    string (FIND "${_text}" "${_include}" _at)
    if (_at EQUAL -1)
        message (FATAL_ERROR "${_nadrix_graphics_source} no longer includes image_formats/${loader}.cpp: "
                             "cmake/windows/StbImageFormats.cmake must learn the new layout")
    endif()
    string (REPLACE "${_include}" "" _text "${_text}")
endforeach()
string (REGEX REPLACE "#include \"([^\"]+)\"" "#include \"${_nadrix_juce_modules}/juce_graphics/\\1\"" _text "${_text}")
string (APPEND _text "\n#include \"${CMAKE_CURRENT_LIST_DIR}/StbImageFormats.cpp\"\n")

set (_nadrix_graphics_copy "${CMAKE_BINARY_DIR}/juce-windows/juce_graphics/juce_graphics.cpp")
file (WRITE "${_nadrix_graphics_copy}.staged" "${_text}")
file (COPY_FILE "${_nadrix_graphics_copy}.staged" "${_nadrix_graphics_copy}" ONLY_IF_DIFFERENT) # unchanged: nothing rebuilds
set_property (DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/StbImageFormats.cpp")

get_target_property (_sources juce_graphics INTERFACE_SOURCES)
list (TRANSFORM _sources REPLACE "^.*/juce_graphics/juce_graphics\\.cpp$" "${_nadrix_graphics_copy}")
if (NOT _nadrix_graphics_copy IN_LIST _sources)
    message (FATAL_ERROR "juce_graphics no longer compiles juce_graphics/juce_graphics.cpp, so the Windows image formats "
                         "would not be used: the sources it names are ${_sources}")
endif()
set_target_properties (juce_graphics PROPERTIES INTERFACE_SOURCES "${_sources}")

# stb is header-only C: the build machine's copy (libstb-dev) serves, and
# only its own folder joins the include path.
find_path (NADRIX_STB_INCLUDE_DIR stb_image.h PATHS /usr/include/stb NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
target_include_directories (juce_graphics INTERFACE "${NADRIX_STB_INCLUDE_DIR}")
