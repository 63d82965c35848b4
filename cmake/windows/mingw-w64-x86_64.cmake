# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Nadrix for 64-bit Windows with Debian's mingw-w64 (posix
# threads, for std::thread and std::mutex).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/windows/mingw-w64-x86_64.cmake
set (CMAKE_SYSTEM_NAME Windows)
set (CMAKE_SYSTEM_PROCESSOR x86_64)

set (CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set (CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set (CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries Debian has not for Windows (libsndfile) are built for it into
# one prefix (scripts/windows-libraries.sh); pkg-config and the library
# search look there first.
set (NADRIX_WINDOWS_LIBRARIES "" CACHE PATH "Where the Windows builds of libsndfile and the like are installed")
set (CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${NADRIX_WINDOWS_LIBRARIES})
set (CMAKE_PREFIX_PATH ${NADRIX_WINDOWS_LIBRARIES})
set (CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set (CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static C and C++ run-times: the plug-in and the programs need no DLL that
# Windows does not bring (libstdc++, libgcc, winpthread, zlib). Stripped, as
# shipped: no debugger here reads their symbols.
set (CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -s")
set (CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -s")
set (CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -s")

# JUCE's CMake functions and its code generator (juceaide) come with Debian's
# juce-modules-source for the build machine; they serve a cross-build as they are.
set (JUCE_DIR /usr/lib/x86_64-linux-gnu/cmake/JUCE-7.0.5 CACHE PATH "JUCE's CMake configuration")
