# SPDX-License-Identifier: MIT
# Where an installation puts Tervalon: the executables and every document they read in one program
# folder, <prefix>/lib/tervalon, because the program looks for its documents beside its real
# executable; <prefix>/bin holds only links to the two executables.
include(GNUInstallDirs)

set(TERVALON_PROGRAM_DIR "lib/tervalon")

# Installs an executable target into the program folder and a relative link to it into bin, so the
# link stays right inside a staging folder, a package and the final system alike.
function(tervalon_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION "${TERVALON_PROGRAM_DIR}")
    file(RELATIVE_PATH link_target "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${TERVALON_PROGRAM_DIR}/${target}")
    set(link "${CMAKE_BINARY_DIR}/program_links/${target}")
    file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/program_links")
    file(CREATE_LINK "${link_target}" "${link}" SYMBOLIC)
    install(FILES "${link}" DESTINATION "${CMAKE_INSTALL_BINDIR}")
endfunction()
