# SPDX-License-Identifier: GPL-3.0-or-later
# `make package`: one Debian package holding every component of the install
# rules in the system layout under /usr, with its runtime dependencies
# computed by dpkg-shlibdeps, and a -dbgsym package with the debugging
# information CPack strips from the binaries.

set (CPACK_GENERATOR DEB)
set (CPACK_PACKAGE_NAME nadrix)
set (CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set (CPACK_PACKAGE_VENDOR "Mirelock")
set (CPACK_PACKAGE_CONTACT "Mirelock <support@mirelock.com>")
set (CPACK_PACKAGE_DESCRIPTION_SUMMARY "stereo reverb of up to 50 delay lines (VST3, LV2, standalone)")
set (CPACK_PACKAGE_DESCRIPTION
"Nadrix is a stereo reverb plug-in whose reverb is a set of up to 50
independent delay lines, each a feedback comb followed by a pre-delay,
fed from a three-band split of the input. Its window shows the lines as a
fan of rays that are pulled out, dragged and deleted with the mouse.
.
This package holds the VST3 and LV2 plug-ins, the standalone application
nadrix, nadrix-render, which reverberates audio files from the command
line, and the Python 3 module nadrix, which reverberates numpy arrays.")
set (CPACK_PACKAGING_INSTALL_PREFIX /usr)
set (CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set (CPACK_DEBIAN_PACKAGE_SECTION sound)
set (CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set (CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://mirelock.com/nadrix")
set (CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Python module is built for one Python and takes numpy's arrays; the
# plug-ins need neither, so they are recommended, not required.
if (TARGET nadrix_python)
    math (EXPR _next_minor "${NADRIX_PYTHON_VERSION_MINOR} + 1")
    set (CPACK_DEBIAN_PACKAGE_RECOMMENDS "python3 (>= ${NADRIX_PYTHON_VERSION}), python3 (<< 3.${_next_minor}), python3-numpy")
endif()
set (CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set (CPACK_DEBIAN_COMPRESSION_TYPE gzip) # xz would take minutes over the debug symbols
set (CPACK_OUTPUT_FILE_PREFIX "${CMAKE_BINARY_DIR}/packages")

include (CPack)
