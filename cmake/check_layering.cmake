# SPDX-License-Identifier: MIT
# Fails when a layer includes a layer above it: engine/ anything of analysis/, render/, config/, cli/ or app/;
# analysis/ anything of render/, config/, cli/ or app/, or an engine header beyond those it may read;
# render/ (the graph's pictures) anything of config/, cli/ or app/; config/ anything of render/, cli/ or
# app/; cli/ anything of app/; and when the Qt-free files of app/ include Qt.
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
set(all_faults "")
check_layer(engine
    "#[ \t]*include[ \t]*[\"<](\\.\\./)*(analysis|render|config|cli|app)/|target_link_libraries\\(engine.*(analysis|render|config|cli|app)")
list(APPEND all_faults ${faults})
set(faults "")
# The numeric extras read the engine's token form and arithmetic, never its buffers, rules or recorder:
# the derivation must read the same whether or not its answer is judged. The six-digit number form
# tells an exact value that the decimal already shows.
set(engine_headers_for_analysis
    "validation|pieces|constant_folding|complex_arithmetic|token_table|piece_string|complex_value|solve_details|formatting")
check_layer(analysis
    "#[ \t]*include[ \t]*[\"<](\\.\\./)*(render|config|cli|app)/|target_link_libraries\\(analysis.*(render|config|cli|app)")
list(APPEND all_faults ${faults})
set(faults "")
file(GLOB_RECURSE analysis_sources "${SOURCE_DIR}/analysis/*.h" "${SOURCE_DIR}/analysis/*.cpp")
foreach(source ${analysis_sources})
    file(STRINGS "${source}" includes REGEX "#[ \t]*include[ \t]*[\"<]engine/")
    foreach(line ${includes})
        if(NOT line MATCHES "engine/(${engine_headers_for_analysis})\\.h")
            file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
            list(APPEND all_faults "${name}: ${line} (not among the engine headers analysis/ may read)")
        endif()
    endforeach()
endforeach()
check_layer(config "#[ \t]*include[ \t]*[\"<](\\.\\./)*(render|cli|app)/|target_link_libraries\\(config.*(render|cli|app)")
list(APPEND all_faults ${faults})
set(faults "")
check_layer(render "#[ \t]*include[ \t]*[\"<](\\.\\./)*(config|cli|app)/|target_link_libraries\\(graph_render.*(config|cli|app)")
list(APPEND all_faults ${faults})
set(faults "")
check_layer(cli "#[ \t]*include[ \t]*[\"<](\\.\\./)*app/|target_link_libraries\\(cli.*app")
list(APPEND all_faults ${faults})
set(faults "${all_faults}")
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
message(STATUS "engine, analysis, config and cli include only downwards")
