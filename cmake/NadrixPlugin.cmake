# SPDX-License-Identifier: GPL-3.0-or-later
# The plug-in target and its shared code. JUCE's modules are compiled once,
# into the shared-code target `Nadrix`; the format wrappers, the tools and the
# tests all link against it (see nadrix_use_shared_code).

if (CMAKE_CROSSCOMPILING)
    # JUCE's CMake functions and juceaide are the build machine's (JUCE_DIR).
    find_package (JUCE CONFIG REQUIRED NO_CMAKE_FIND_ROOT_PATH)
else()
    find_package (JUCE CONFIG REQUIRED)
endif()
find_package (PkgConfig REQUIRED)

# Debian's JUCE has no bundled FLAC: decode it with the system library. The
# Windows build reads no FLAC (Debian has no FLAC for Windows).
if (NOT WIN32)
    pkg_check_modules (FLAC REQUIRED IMPORTED_TARGET flac)
endif()

# LV2 is not JUCE's: lv2/ builds it.
set (NADRIX_FORMATS VST3 Standalone)
if (APPLE)
    list (APPEND NADRIX_FORMATS AU)
    set (NADRIX_AAX_SDK_PATH "" CACHE PATH "Avid's AAX SDK; the AAX format is built only when it is given")
    if (NADRIX_AAX_SDK_PATH)
        juce_set_aax_sdk_path ("${NADRIX_AAX_SDK_PATH}")
        list (APPEND NADRIX_FORMATS AAX)
    endif()
endif()

juce_add_plugin (Nadrix
    PRODUCT_NAME "Nadrix"
    COMPANY_NAME "Mirelock"
    COMPANY_WEBSITE "https://mirelock.com"
    COMPANY_EMAIL "support@mirelock.com"
    BUNDLE_ID "com.mirelock.nadrix"
    PLUGIN_MANUFACTURER_CODE Mrlk
    PLUGIN_CODE Ndrx
    FORMATS ${NADRIX_FORMATS}
    IS_SYNTH FALSE
    NEEDS_MIDI_INPUT FALSE
    NEEDS_MIDI_OUTPUT FALSE
    IS_MIDI_EFFECT FALSE
    EDITOR_WANTS_KEYBOARD_FOCUS FALSE
    COPY_PLUGIN_AFTER_BUILD FALSE
    VST3_CATEGORIES Fx Reverb
    AU_MAIN_TYPE kAudioUnitType_Effect
    AAX_CATEGORY AAX_ePlugInCategory_Reverb)

include (${CMAKE_CURRENT_LIST_DIR}/PatchedPluginClient.cmake)
if (WIN32)
    include (${CMAKE_CURRENT_LIST_DIR}/windows/StbImageFormats.cmake)
endif()

target_compile_definitions (Nadrix
    PUBLIC
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0
        JUCE_VST3_CAN_REPLACE_VST2=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_USE_FLAC=$<IF:$<PLATFORM_ID:Windows>,0,1>
        JUCE_INCLUDE_FLAC_CODE=0
        JUCE_USE_OGGVORBIS=0)

target_link_libraries (Nadrix
    PRIVATE
        juce::juce_audio_utils
        juce::juce_dsp # the analysis of nadrix-render: octave filters and the FFT
        juce::juce_audio_formats
        juce::juce_opengl
    PUBLIC
        nadrix_engine
        juce::juce_recommended_config_flags)
if (WIN32)
    target_link_libraries (Nadrix PUBLIC z) # Debian's JUCE takes zlib from the system, on Windows too
else()
    target_link_libraries (Nadrix PUBLIC PkgConfig::FLAC)
endif()

# Under AddressSanitizer JUCE's modules compile without instrumentation:
# instrumented, its few large sources take five times as long to build
# (a quarter of an hour of CI) and check code that is not ours. Its
# allocations are still tracked, so our reads and writes into JUCE's memory
# are checked all the same. The VST3 client is the exception: it reads the
# state chunks hosts hand over, and its fuzz target must see those reads.
if (NADRIX_MEMORY_SANITIZER)
    file (GLOB NADRIX_JUCE_MODULE_SOURCES "${JUCE_MODULES_DIR}/juce_*/juce_*.cpp"
                                          "${CMAKE_BINARY_DIR}/juce-patched/juce_audio_plugin_client/juce_*.cpp")
    list (FILTER NADRIX_JUCE_MODULE_SOURCES EXCLUDE REGEX "juce-patched/juce_audio_plugin_client/juce_audio_plugin_client_VST3\\.cpp$")
    set_source_files_properties (${NADRIX_JUCE_MODULE_SOURCES} TARGET_DIRECTORY Nadrix
        PROPERTIES COMPILE_OPTIONS "-fno-sanitize=all")
endif()

# Warnings for our own sources only: JUCE's modules, compiled into the same
# target, draw a stream of GCC 12 false alarms from the library's headers.
set (NADRIX_WARNING_FLAGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wunused -Wsign-compare ${NADRIX_WERROR_FLAG})

# Adds our own sources to the shared code with our warnings.
function (nadrix_add_sources)
    target_sources (Nadrix PRIVATE ${ARGN})
    set_source_files_properties (${ARGN} TARGET_DIRECTORY Nadrix PROPERTIES COMPILE_OPTIONS "${NADRIX_WARNING_FLAGS}")
endfunction()

# Links a tool or a test against the shared code: its compiled modules, and
# the include paths and definitions they were compiled with.
function (nadrix_use_shared_code target)
    target_link_libraries (${target} PRIVATE Nadrix)
    target_compile_options (${target} PRIVATE ${NADRIX_WARNING_FLAGS})
    target_include_directories (${target} PRIVATE $<TARGET_PROPERTY:Nadrix,INCLUDE_DIRECTORIES>)
    target_compile_definitions (${target} PRIVATE $<TARGET_PROPERTY:Nadrix,COMPILE_DEFINITIONS>)
endfunction()
