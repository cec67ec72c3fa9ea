# SPDX-License-Identifier: MIT
# Warning flags every target links; the engine adds the stricter conversion checks.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)

add_library(engine_warnings INTERFACE)
target_compile_options(engine_warnings INTERFACE -Wshadow -Wconversion)
target_link_libraries(engine_warnings INTERFACE project_warnings)
