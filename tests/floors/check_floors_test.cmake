# The floor check over a scratch tree of one-include files: it reports exactly the includes that
# cross a floor, and passes the tree once they are gone.
#
#     cmake -DQV_CHECKER=cmake/check_floors.cmake -DQV_WORK=<scratch folder> -P check_floors_test.cmake

cmake_minimum_required(VERSION 3.25)

# file | the include as written | whether it crosses a floor
set(cases
    "grid/inline_leak.h|\"control/viewer.h\"|yes"
    "grid/grid.cpp|\"strategies/viewer_functionality.h\"|yes"
    "grid/spaced.h|\"control/viewer_sinks.h\"|yes"
    "grid/commented.h|\"state/viewer_elements.h\"|no"
    "columns/up_one.h|\"state/grid_type.h\"|yes"
    "strategies/control_above.cpp|\"control/viewer.h\"|yes"
    "control/viewer.cpp|\"strategies/stock_viewer.h\"|no"
    "control/forms/form.cpp|\"grid/column_width.h\"|no"
    "control/forms/shell_above.cpp|\"shell/main_window.h\"|yes"
    "facade/beside.cpp|\"grid/grid.h\"|yes"
    "facade/store.cpp|<sqlite3.h>|no"
    "host/host.cpp|\"control/viewer.h\"|yes"
    "outside/store.h|<sqlite3.h>|yes"
    "state/view.h|<QString>|yes"
    "outside/file.cpp|<sys/stat.h>|no"
    "outside/text.cpp|<string>|no"
    "shell/window.cpp|\"control/viewer.h\"|no"
    "shell/cells.cpp|<QWidget>|no")

set(tree "${QV_WORK}/tree")
file(REMOVE_RECURSE "${tree}")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 path)
    list(GET fields 1 include)
    if(path STREQUAL "grid/spaced.h")
        file(WRITE "${tree}/${path}" "#pragma once\n  #  include ${include}\n")
    elseif(path STREQUAL "grid/commented.h")
        file(WRITE "${tree}/${path}" "// #include \"control/viewer.h\"\n#include ${include}\n")
    else()
        file(WRITE "${tree}/${path}" "#include ${include}\n")
    endif()
endforeach()

function(run_checker result output)
    execute_process(COMMAND ${CMAKE_COMMAND} -DQV_ROOT=${tree} -P ${QV_CHECKER}
                    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(${result} ${code} PARENT_SCOPE)
    set(${output} "${out}${err}" PARENT_SCOPE)
endfunction()

set(failures "")
run_checker(code output)
if(code EQUAL 0)
    list(APPEND failures "the tree with crossing includes passed")
endif()
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 path)
    list(GET fields 1 include)
    list(GET fields 2 crosses)
    string(REGEX REPLACE "^.(.*).$" "\\1" name "${include}")
    string(FIND "${output}" "${path} includes \"${name}\"" at)
    if(crosses STREQUAL "yes" AND at EQUAL -1)
        list(APPEND failures "not reported: ${path} including ${include}")
    elseif(crosses STREQUAL "no" AND NOT at EQUAL -1)
        list(APPEND failures "reported, though allowed: ${path} including ${include}")
    endif()
    if(crosses STREQUAL "yes")
        file(REMOVE "${tree}/${path}")
    endif()
endforeach()

run_checker(code output)
if(NOT code EQUAL 0)
    list(APPEND failures "the tree without crossing includes failed:\n${output}")
endif()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "The floor check:\n  ${text}\n")
endif()
