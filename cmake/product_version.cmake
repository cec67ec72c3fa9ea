# SPDX-License-Identifier: MIT
# Reads the product's version number and release date from config/product.h, the one place they are
# written, so that the package, the AppStream release and the man pages carry what the program shows.
# Sets TERVALON_VERSION ("1.510") and TERVALON_RELEASE_DATE (ISO 8601, "2018-09-15").
file(READ "${CMAKE_CURRENT_LIST_DIR}/../config/product.h" product_header)
if(NOT product_header MATCHES "kVersionNumber = \"([0-9]+\\.[0-9]+)\"")
    message(FATAL_ERROR "config/product.h names no version number (kVersionNumber)")
endif()
set(TERVALON_VERSION "${CMAKE_MATCH_1}")
if(NOT product_header MATCHES "kVersionText = \"Version ${TERVALON_VERSION} \\(([0-9][0-9])\\.([0-9][0-9])\\.([0-9][0-9][0-9][0-9])\\)\"")
    message(FATAL_ERROR "config/product.h: kVersionText names no release date for version ${TERVALON_VERSION}")
endif()
set(TERVALON_RELEASE_DATE "${CMAKE_MATCH_3}-${CMAKE_MATCH_2}-${CMAKE_MATCH_1}")
unset(product_header)
