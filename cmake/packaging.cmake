# SPDX-License-Identifier: MIT
# The Debian package: `cpack -G DEB` in the build folder makes tervalon_<version>_<arch>.deb from the
# install rules, installed under /usr, with the dependencies on the Qt 6 libraries found by
# dpkg-shlibdeps.
set(TERVALON_PACKAGE_MAINTAINER "Kestrune <tervalon@kestrune.example>" CACHE STRING
    "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tervalon)
set(CPACK_PACKAGE_VENDOR Kestrune)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${TERVALON_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "equation solver that shows its work")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tervalon solves one equation in the unknown x and shows the whole\n"
    "derivation, one line per transformation step, down to x standing alone;\n"
    "numbers are complex. It comes with a window program, tervalon, and a\n"
    "command-line solver, tervalon-solve.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TERVALON_UPDATE_HOST}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: without a platform plugin the window cannot
# start, the SVG plugins draw its icons (Qt SVG is also linked for the graph's SVG export, which
# dpkg-shlibdeps sees), and Qt's translations put the dialogs Qt draws itself into the chosen language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n")
# Fonts metric-compatible with the solution view's "Courier New"; xdg-open for help and documents.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${PROJECT_SOURCE_DIR}/packaging/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
