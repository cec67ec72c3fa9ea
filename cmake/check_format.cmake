# SPDX-License-Identifier: MIT
# Fails when a C++ source of the project is not formatted as .clang-format says.
# Run with -DSOURCE_DIR=<project root> -DCLANG_FORMAT=<clang-format executable>.
cmake_policy(SET CMP0007 NEW)
if(NOT CLANG_FORMAT)
    message(FATAL_ERROR "clang-format was not found; scripts/install_deps.sh installs it")
endif()
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS "${SOURCE_DIR}/.git")
    # Tracked files and new ones not yet added, without anything ignored (build folders).
    execute_process(COMMAND "${GIT_EXECUTABLE}" ls-files --cached --others --exclude-standard -- "*.h" "*.cpp"
                    WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE listed RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "git ls-files failed")
    endif()
    string(REPLACE "\n" ";" sources "${listed}")
    list(FILTER sources EXCLUDE REGEX "^$")
    list(TRANSFORM sources PREPEND "${SOURCE_DIR}/")
else()
    set(sources "")
    foreach(folder engine config cli app tests bench fuzz)
        file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
        list(APPEND sources ${found})
    endforeach()
endif()
# Existing files only: a file deleted but not yet committed is still listed.
set(present "")
foreach(source ${sources})
    if(EXISTS "${source}")
        list(APPEND present "${source}")
    endif()
endforeach()
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror --style=file ${present}
                WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE status ERROR_VARIABLE diagnostics)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "not clang-format clean (run clang-format -i on these):\n${diagnostics}")
endif()
list(LENGTH present count)
message(STATUS "${count} sources are clang-format clean")
