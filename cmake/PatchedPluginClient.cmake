# SPDX-License-Identifier: GPL-3.0-or-later
# The VST3 plug-in client of JUCE 7.0.5, compiled from patched copies.
#
# Each patch in juce-patches/ mends one shortcoming of that release for this
# plug-in, with a "Nadrix:" comment beside every change. None of them can move
# into the plug-in's own code: each lives where the wrapper acts before or
# after the processor is called. Debian ships no JUCE but 7.0.5, so no JUCE at
# hand makes any of them unnecessary; each goes with the first release that
# does what it does, which the test named beside it checks (drop the hunk,
# build, run).
#   juce_VST3Common.patch (1 hunk), and juce_VST3_Wrapper.patch hunk 1
#       (which includes the patched copy)
#       The wrapper copies a channel map by value on every process call: an
#       allocation on the audio thread.
#       AudioThreadAllocation.NeitherFormatAllocatesInProcess
#   juce_VST3_Wrapper.patch, hunks 2-4 (program change)
#       After a program change or a restored state the host re-reads every
#       value, not as edits: the processor can only tell the wrapper, and
#       the wrapper alone holds the controller's copies the host reads.
#       PluginHosting.Vst3AndLv2LoadMatchTheProcessorAndKeepTheirHostInformed
#   juce_VST3_Wrapper.patch, hunks 5-6 (state trailer)
#       A damaged size field in the wrapper's private-data trailer is ignored
#       instead of read out of bounds, and so is private data that is not the
#       one small tree JUCE writes (ValueTree's reader takes counts of
#       billions at their word: minutes, or all memory). The wrapper reads
#       the trailer before the processor sees the chunk.
#       PluginHosting.Vst3SurvivesDamagedWrapperTrailers
#   juce_VST3_Wrapper.patch, hunks 7-8 (long blocks)
#       A block longer than the host prepared for runs in pieces: the
#       wrapper copies the host's channels into scratch buffers of the
#       prepared size before processBlock is called, so processBlock cannot
#       split it early enough.
#       PluginHosting.Vst3BlocksLongerThanTheHostPreparedForRunInPieces
#
# The copies are made at configure time under the build folder, with JUCE's
# CRLF line ends turned into LF first. A patch that no longer applies (another
# JUCE release) stops the configuration with the name of the patch, and so
# does a client whose sources no longer name the file the patched copy
# replaces (the unpatched client would otherwise build without a word).

find_program (NADRIX_PATCH_PROGRAM patch REQUIRED)
get_target_property (_nadrix_juce_modules juce::juce_audio_plugin_client INTERFACE_JUCE_MODULE_PATH)

set (_nadrix_patched "${CMAKE_BINARY_DIR}/juce-patched")
set (_nadrix_staging "${CMAKE_BINARY_DIR}/juce-patched-staging")
set (_nadrix_patched_files
    juce_audio_plugin_client/juce_audio_plugin_client_VST3.cpp
    juce_audio_plugin_client/VST3/juce_VST3_Wrapper.cpp
    juce_audio_processors/format_types/juce_VST3Common.h)

file (REMOVE_RECURSE "${_nadrix_staging}")
foreach (relative IN LISTS _nadrix_patched_files)
    file (READ "${_nadrix_juce_modules}/${relative}" _text)
    string (REPLACE "\r\n" "\n" _text "${_text}")
    file (WRITE "${_nadrix_staging}/${relative}" "${_text}")
endforeach()

file (GLOB _nadrix_patches "${CMAKE_CURRENT_LIST_DIR}/juce-patches/*.patch")
# A changed patch configures again, so the build compiles what it says.
set_property (DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_nadrix_patches})
foreach (patch_file IN LISTS _nadrix_patches)
    execute_process (COMMAND "${NADRIX_PATCH_PROGRAM}" -p1 --forward --batch --quiet -d "${_nadrix_staging}" -i "${patch_file}"
                     RESULT_VARIABLE _result OUTPUT_VARIABLE _output ERROR_VARIABLE _output)
    if (NOT _result EQUAL 0)
        message (FATAL_ERROR "${patch_file} does not apply to JUCE in ${_nadrix_juce_modules}:\n${_output}")
    endif()
endforeach()

# Only changed files are replaced, so a new configuration rebuilds nothing.
foreach (relative IN LISTS _nadrix_patched_files)
    get_filename_component (_dir "${_nadrix_patched}/${relative}" DIRECTORY)
    file (MAKE_DIRECTORY "${_dir}")
    file (COPY_FILE "${_nadrix_staging}/${relative}" "${_nadrix_patched}/${relative}" ONLY_IF_DIFFERENT)
endforeach()

# The wrappers include their helpers by relative path: a link to JUCE's own
# folder, so that every compiler sees one file wherever it is reached from
# (a copy would be a second definition of each helper to clang).
file (REMOVE_RECURSE "${_nadrix_patched}/juce_audio_plugin_client/utility")
file (CREATE_LINK "${_nadrix_juce_modules}/juce_audio_plugin_client/utility" "${_nadrix_patched}/juce_audio_plugin_client/utility" SYMBOLIC)

# The client targets compile the patched copies instead of the originals.
foreach (format VST3)
    set (_client juce_audio_plugin_client_${format})
    get_target_property (_sources ${_client} INTERFACE_SOURCES)
    set (_patched_source "${_nadrix_patched}/juce_audio_plugin_client/${_client}.cpp")
    list (TRANSFORM _sources REPLACE "^.*/juce_audio_plugin_client/${_client}\\.cpp$" "${_patched_source}")
    if (NOT _patched_source IN_LIST _sources)
        message (FATAL_ERROR "${_client} no longer compiles juce_audio_plugin_client/${_client}.cpp, so its patched copy "
                             "would not be used: the sources it names are ${_sources}")
    endif()
    set_target_properties (${_client} PROPERTIES INTERFACE_SOURCES "${_sources}")
endforeach()
