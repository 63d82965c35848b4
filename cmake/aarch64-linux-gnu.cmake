# SPDX-License-Identifier: GPL-3.0-or-later
# 64-bit ARM Linux with Debian's cross compiler (g++-aarch64-linux-gnu);
# programs the build runs (the LV2 description writer) and the checks run
# under qemu-user with the cross libraries.
set (CMAKE_SYSTEM_NAME Linux)
set (CMAKE_SYSTEM_PROCESSOR aarch64)
set (CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set (CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set (CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
set (CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set (CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set (CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
