# SPDX-License-Identifier: MIT
# Warning flags every target links; the engine adds the stricter conversion checks.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)

add_library(engine_warnings INTERFACE)
target_compile_options(engine_warnings INTERFACE -Wshadow -Wconversion)
target_link_libraries(engine_warnings INTERFACE project_warnings)

# GCC 12 at -O3 reports overlapping copies inside std::string where a one-character literal is
# joined to a string ("(" + text), which the tests do often: a known false positive of that
# compiler (GCC bug 105329). Only GCC 12 and only the optimised build leave -Wrestrict out; the
# dev, noqt and asan builds keep it.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(project_warnings INTERFACE $<$<CONFIG:Release>:-Wno-restrict>)
endif()
