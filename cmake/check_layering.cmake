# SPDX-License-Identifier: MIT
# Fails when a layer includes a layer above it: engine/ anything of config/, cli/ or app/, and
# config/ anything of cli/ or app/; and when the Qt-free files of app/ include Qt.
# Run with -DSOURCE_DIR=<project root>.
function(check_layer folder forbidden_regex)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp"
         "${SOURCE_DIR}/${folder}/CMakeLists.txt")
    foreach(source ${sources})
        file(STRINGS "${source}" hits REGEX "${forbidden_regex}")
        if(hits)
            file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
            list(APPEND faults "${name}: ${hits}")
        endif()
    endforeach()
    set(faults "${faults}" PARENT_SCOPE)
endfunction()

set(faults "")
# Includes of the layer's own headers without a folder cannot name another layer, so the folder
# names are enough; a CMake link to a higher target is caught as well.
check_layer(engine "#[ \t]*include[ \t]*[\"<](\\.\\./)*(config|cli|app)/|target_link_libraries\\(engine.*(config|cli|app)")
set(engine_faults "${faults}")
set(faults "")
check_layer(config "#[ \t]*include[ \t]*[\"<](\\.\\./)*(cli|app)/|target_link_libraries\\(config.*(cli|app)")
list(APPEND faults ${engine_faults})
# The solution view's token scanner, its text runs, the RTF writer and the file-dialog filters serve
# Qt-free code and tests too.
foreach(source app/token_scanner.h app/token_scanner.cpp app/view_runs.h app/rtf_writer.h app/rtf_writer.cpp
        app/file_filters.h app/file_filters.cpp)
    if(EXISTS "${SOURCE_DIR}/${source}")
        file(STRINGS "${SOURCE_DIR}/${source}" hits REGEX "#[ \t]*include[ \t]*[\"<]Q")
        if(hits)
            list(APPEND faults "${source}: ${hits}")
        endif()
    endif()
endforeach()
if(faults)
    string(REPLACE ";" "\n" report "${faults}")
    message(FATAL_ERROR "includes against the layering:\n${report}")
endif()
message(STATUS "engine and config include only downwards")
