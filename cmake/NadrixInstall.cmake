# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where, by component:
#   vst3    the VST3 bundle                     ~/.vst3              PREFIX/lib/vst3
#   lv2     the LV2 bundle                      ~/.lv2               PREFIX/lib/lv2
#   app     the Standalone app as `nadrix`,     ~/.local/bin,        PREFIX/bin,
#           its menu entry and icon             ~/.local/share/...   PREFIX/share/...
#   render  nadrix-render                       ~/.local/bin         PREFIX/bin
#   docs    copyright, changelogs, README       ~/.local/share/doc/nadrix, PREFIX/share/doc/nadrix
#   python  the module nadrix and its stub      the user's site-packages, PREFIX/lib/python3.X/dist-packages
#                                               (/usr/lib/python3/dist-packages for /usr: the package's)
# The layout is chosen when installing: the user's own folders when the
# prefix is $HOME (where hosts look for a user's plug-ins), the system layout
# under any other prefix. With --strip every binary is stripped and its
# debugging information kept beside it in .debug/, where gdb looks for it;
# CPack leaves stripping to its own debug-symbol package instead.

set (NADRIX_INSTALL_TOOLS_DIR "${CMAKE_CURRENT_LIST_DIR}")

# Run first in every component, so any one component can be installed alone.
set (_nadrix_layout [[
    if ("${CMAKE_INSTALL_PREFIX}" STREQUAL "$ENV{HOME}")
        set (NADRIX_VST3_DIR ".vst3")
        set (NADRIX_LV2_DIR ".lv2")
        set (NADRIX_BIN_DIR ".local/bin")
        set (NADRIX_SHARE_DIR ".local/share")
        set (NADRIX_PYTHON_DIR ".local/lib/python@NADRIX_PYTHON_VERSION@/site-packages")
    elseif ("${CMAKE_INSTALL_PREFIX}" STREQUAL "/usr")
        set (NADRIX_VST3_DIR "lib/vst3")
        set (NADRIX_LV2_DIR "lib/lv2")
        set (NADRIX_BIN_DIR "bin")
        set (NADRIX_SHARE_DIR "share")
        set (NADRIX_PYTHON_DIR "lib/python3/dist-packages")
    else()
        set (NADRIX_VST3_DIR "lib/vst3")
        set (NADRIX_LV2_DIR "lib/lv2")
        set (NADRIX_BIN_DIR "bin")
        set (NADRIX_SHARE_DIR "share")
        set (NADRIX_PYTHON_DIR "lib/python@NADRIX_PYTHON_VERSION@/dist-packages")
    endif()
]])
string (CONFIGURE "${_nadrix_layout}" _nadrix_layout @ONLY)

# Strips an installed binary (only under --strip) and keeps its debugging
# information in .debug/ beside it, linked by name.
set (_nadrix_split_debug [[
    function (nadrix_split_debug relative)
        if (NOT CMAKE_INSTALL_DO_STRIP)
            return()
        endif()
        set (binary "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${relative}")
        get_filename_component (dir "${binary}" DIRECTORY)
        get_filename_component (name "${binary}" NAME)
        file (MAKE_DIRECTORY "${dir}/.debug")
        execute_process (COMMAND objcopy --only-keep-debug "${binary}" "${dir}/.debug/${name}.debug" COMMAND_ERROR_IS_FATAL ANY)
        execute_process (COMMAND strip --strip-unneeded --remove-section=.comment --remove-section=.note "${binary}" COMMAND_ERROR_IS_FATAL ANY)
        execute_process (COMMAND objcopy "--add-gnu-debuglink=${dir}/.debug/${name}.debug" "${binary}" WORKING_DIRECTORY "${dir}/.debug" COMMAND_ERROR_IS_FATAL ANY)
        # Recorded as CMake records files: without DESTDIR.
        get_filename_component (recordedDir "${CMAKE_INSTALL_PREFIX}/${relative}" DIRECTORY)
        list (APPEND CMAKE_INSTALL_MANIFEST_FILES "${recordedDir}/.debug/${name}.debug")
        set (CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
    endfunction()
]])

set (_nadrix_components vst3 lv2 app render docs)
if (TARGET nadrix_python)
    list (APPEND _nadrix_components python)
endif()
foreach (component ${_nadrix_components})
    install (CODE "${_nadrix_layout}\n${_nadrix_split_debug}" COMPONENT ${component})
endforeach()

function (_nadrix_artefact format out)
    set (${out} "$<TARGET_GENEX_EVAL:Nadrix_${format},$<TARGET_PROPERTY:Nadrix_${format},JUCE_PLUGIN_ARTEFACT_FILE>>" PARENT_SCOPE)
endfunction()

_nadrix_artefact (VST3 _vst3_bundle)

install (DIRECTORY "${_vst3_bundle}" DESTINATION "\${NADRIX_VST3_DIR}" USE_SOURCE_PERMISSIONS COMPONENT vst3)
install (CODE "nadrix_split_debug (\"\${NADRIX_VST3_DIR}/Nadrix.vst3/Contents/x86_64-linux/Nadrix.so\")" COMPONENT vst3)

install (DIRECTORY "${NADRIX_LV2_BUNDLE_DIR}" DESTINATION "\${NADRIX_LV2_DIR}" USE_SOURCE_PERMISSIONS COMPONENT lv2)
install (CODE "nadrix_split_debug (\"\${NADRIX_LV2_DIR}/Nadrix.lv2/Nadrix.so\")" COMPONENT lv2)
install (CODE "nadrix_split_debug (\"\${NADRIX_LV2_DIR}/Nadrix.lv2/NadrixUI.so\")" COMPONENT lv2)

install (PROGRAMS "$<TARGET_FILE:Nadrix_Standalone>" DESTINATION "\${NADRIX_BIN_DIR}" RENAME nadrix COMPONENT app)
install (CODE "nadrix_split_debug (\"\${NADRIX_BIN_DIR}/nadrix\")" COMPONENT app)
install (FILES "${CMAKE_SOURCE_DIR}/resources/nadrix.desktop" DESTINATION "\${NADRIX_SHARE_DIR}/applications" COMPONENT app)
install (FILES "${CMAKE_SOURCE_DIR}/resources/icons/nadrix-256.png" DESTINATION "\${NADRIX_SHARE_DIR}/icons/hicolor/256x256/apps" RENAME nadrix.png COMPONENT app)
install (FILES "${CMAKE_SOURCE_DIR}/resources/icons/nadrix-48.png" DESTINATION "\${NADRIX_SHARE_DIR}/icons/hicolor/48x48/apps" RENAME nadrix.png COMPONENT app)

install (PROGRAMS "$<TARGET_FILE:nadrix-render>" DESTINATION "\${NADRIX_BIN_DIR}" COMPONENT render)
install (CODE "nadrix_split_debug (\"\${NADRIX_BIN_DIR}/nadrix-render\")" COMPONENT render)

if (TARGET nadrix_python)
    install (FILES "$<TARGET_FILE:nadrix_python>" DESTINATION "\${NADRIX_PYTHON_DIR}" COMPONENT python)
    install (CODE "nadrix_split_debug (\"\${NADRIX_PYTHON_DIR}/$<TARGET_FILE_NAME:nadrix_python>\")" COMPONENT python)
    install (FILES "${NADRIX_PYTHON_MODULE_DIR}/nadrix.pyi" DESTINATION "\${NADRIX_PYTHON_DIR}" COMPONENT python)
endif()

# Manual pages, compressed without a time stamp as Debian wants them
# (nadrix-render's is made when it is built: tools/nadrix-render).
configure_file ("${CMAKE_SOURCE_DIR}/resources/man/nadrix.1" "${CMAKE_BINARY_DIR}/man/nadrix.1" COPYONLY)
execute_process (COMMAND gzip -9nkf "${CMAKE_BINARY_DIR}/man/nadrix.1")
install (FILES "${CMAKE_BINARY_DIR}/man/nadrix.1.gz" DESTINATION "\${NADRIX_SHARE_DIR}/man/man1" COMPONENT app)
install (FILES "${NADRIX_RENDER_MANUAL}.gz" DESTINATION "\${NADRIX_SHARE_DIR}/man/man1" COMPONENT render)

# The copyright file names the licence (the GPL text itself is in the
# source's LICENSE and in /usr/share/common-licenses); the Debian changelog
# is made from the version, compressed without a time stamp.
set (_docs "${CMAKE_BINARY_DIR}/docs")
configure_file ("${CMAKE_CURRENT_LIST_DIR}/copyright.in" "${_docs}/copyright" @ONLY)
string (TIMESTAMP NADRIX_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file ("${CMAKE_CURRENT_LIST_DIR}/changelog.Debian.in" "${_docs}/changelog" @ONLY)
execute_process (COMMAND gzip -9nf "${_docs}/changelog")
install (FILES "${_docs}/copyright" "${_docs}/changelog.gz" "${CMAKE_SOURCE_DIR}/CHANGELOG.md" "${CMAKE_SOURCE_DIR}/README.md"
         DESTINATION "\${NADRIX_SHARE_DIR}/doc/nadrix" COMPONENT docs)
# The README shows these pictures by their paths beside it.
install (FILES "${CMAKE_SOURCE_DIR}/docs/nadrix-window.png" "${CMAKE_SOURCE_DIR}/docs/nice-hall-decay.png" "${CMAKE_SOURCE_DIR}/docs/window-tooltip.png"
               "${CMAKE_SOURCE_DIR}/docs/window-readout.png"
         DESTINATION "\${NADRIX_SHARE_DIR}/doc/nadrix/docs" COMPONENT docs)
