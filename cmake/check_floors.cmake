# Fails when a file of a floor includes what its floor may not use: a header of a higher floor or
# of a folder beside it, or a library that belongs to another folder. Linking each floor only to
# those below catches a wrong call, not a header that is used inline; this catches both.
#
#     cmake -DQV_ROOT=<checkout> -P cmake/check_floors.cmake
#
# An include names a folder when its first part is a folder of the checkout ("grid/grid.h");
# SQLite, zlib and Qt headers name their library; anything else is the standard library or the
# system's and is not checked. Folders without a rule here (shell/, tests/, bench/) may use
# anything.
cmake_minimum_required(VERSION 3.25)

if(NOT QV_ROOT)
    message(FATAL_ERROR "check_floors: QV_ROOT must name the checkout")
endif()

set(floors outside columns state grid strategies control host facade server)
set(may_use_outside outside)
set(may_use_columns ${may_use_outside} columns)
set(may_use_state ${may_use_columns} state)
set(may_use_grid ${may_use_state} grid)
set(may_use_strategies ${may_use_grid} strategies)
set(may_use_control ${may_use_strategies} control)
# The host reaches the control only by name, through dispatch.
set(may_use_host outside host)
# The facade's remote proxies speak HTTP; the server adds PostgreSQL and the password hash.
set(may_use_facade outside facade sqlite zlib http)
set(may_use_server outside facade server http postgres sodium)

# What an include names: a folder of the checkout, a library, or nothing to check ("").
function(named_by include result)
    set(what "")
    if(include MATCHES "^sqlite3\\.h$")
        set(what sqlite)
    elseif(include MATCHES "^zlib\\.h$")
        set(what zlib)
    elseif(include MATCHES "^httplib\\.h$")
        set(what http)
    elseif(include MATCHES "^(libpq-fe|pg_config)\\.h$")
        set(what postgres)
    elseif(include MATCHES "^sodium\\.h$")
        set(what sodium)
    elseif(include MATCHES "^Qt?[A-Z]")
        set(what qt)
    elseif(include MATCHES "^([A-Za-z0-9_]+)/")
        if(IS_DIRECTORY "${QV_ROOT}/${CMAKE_MATCH_1}")
            set(what ${CMAKE_MATCH_1})
        endif()
    endif()
    set(${result} "${what}" PARENT_SCOPE)
endfunction()

set(crossings "")
foreach(floor IN LISTS floors)
    file(GLOB_RECURSE files RELATIVE "${QV_ROOT}" "${QV_ROOT}/${floor}/*.h"
         "${QV_ROOT}/${floor}/*.cpp")
    list(SORT files)
    foreach(file IN LISTS files)
        file(STRINGS "${QV_ROOT}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1"
                                 include "${line}")
            named_by("${include}" what)
            if(what AND NOT what IN_LIST may_use_${floor})
                string(REPLACE ";" " " allowed "${may_use_${floor}}")
                list(APPEND crossings
                     "  ${file} includes \"${include}\" (${floor}/ may use: ${allowed})")
            endif()
        endforeach()
    endforeach()
endforeach()

if(crossings)
    list(JOIN crossings "\n" text)
    message(FATAL_ERROR "Includes that cross a floor:\n${text}\n")
endif()
