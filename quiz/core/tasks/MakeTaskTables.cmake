# Turns the task tables into one C++ header while building:
#
#   cmake -DTABLES=<a.tasks;b.tasks> -DOUTPUT=<header> -P MakeTaskTables.cmake
#
# Each table becomes an array of TTaskRow (quiz/core/TaskCatalogue.h) named
# after its file: standard.tasks gives kStandardTasks. A line that cannot be
# read stops the build, so a task never goes missing in silence; so does a
# formula with a character no reference formula has, or a picture named
# twice. tools/pictures/tables.js reads the same tables the same way.
cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED TABLES OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "usage: cmake -DTABLES=<tables> -DOUTPUT=<header> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()

# CMake reads ; [ and ] in a text as list syntax: TeX may hold them, so they
# travel as control characters while the text is cut into lines.
string(ASCII 1 semicolon_stand_in)
string(ASCII 2 open_stand_in)
string(ASCII 3 close_stand_in)

set(header "// Made from the task tables by quiz/core/tasks/MakeTaskTables.cmake while\n")
string(APPEND header "// building: edit the tables, not this file.\n#pragma once\n\n")
string(APPEND header "#include \"quiz/core/TaskCatalogue.h\"\n\n#include <array>\n")
set(pictures "")

foreach(table IN LISTS TABLES)
  get_filename_component(file_name "${table}" NAME)
  get_filename_component(stem "${table}" NAME_WE)
  if(NOT stem MATCHES "^[a-z][a-z0-9]*$")
    message(FATAL_ERROR "${table}: a table's name is lower-case letters and digits, "
                        "as it names a C++ constant")
  endif()
  string(SUBSTRING "${stem}" 0 1 first)
  string(SUBSTRING "${stem}" 1 -1 rest)
  string(TOUPPER "${first}" first)
  set(array "k${first}${rest}Tasks")

  file(READ "${table}" text)
  string(REPLACE ";" "${semicolon_stand_in}" text "${text}")
  string(REPLACE "[" "${open_stand_in}" text "${text}")
  string(REPLACE "]" "${close_stand_in}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")

  set(rows "")
  set(count 0)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^%")
      continue()
    endif()
    if(NOT line MATCHES "^([A-Za-z][A-Za-z0-9]*)[ \t]+([^ \t]+)[ \t]+(.+)$")
      message(FATAL_ERROR "${table}:${number}: not a picture name, a formula and TeX: ${line}")
    endif()
    set(picture "${CMAKE_MATCH_1}")
    set(formula "${CMAKE_MATCH_2}")
    set(tex "${CMAKE_MATCH_3}")
    string(REPLACE "${semicolon_stand_in}" ";" tex "${tex}")
    string(REPLACE "${open_stand_in}" "[" tex "${tex}")
    string(REPLACE "${close_stand_in}" "]" tex "${tex}")
    # The characters of the reference formulas; anything else (an upper-case
    # letter, a decimal comma) is a typing error that would change a value.
    if(NOT formula MATCHES "^[a-z0-9.^*/+()-]+$")
      message(FATAL_ERROR "${table}:${number}: ${picture}'s formula has a character "
                          "no reference formula may have: ${formula}")
    endif()
    if(tex MATCHES [[\)TeX"]])
      message(FATAL_ERROR "${table}:${number}: ${picture}'s TeX may not hold )TeX\"")
    endif()
    # Pictures are resources found by name without regard to case.
    string(TOLOWER "${picture}" key)
    if(key IN_LIST pictures)
      message(FATAL_ERROR "${table}:${number}: a second picture named ${picture}")
    endif()
    list(APPEND pictures "${key}")
    string(APPEND rows "    {\"${picture}\", \"${formula}\", R\"TeX(${tex})TeX\"},\n")
    math(EXPR count "${count} + 1")
  endforeach()
  if(count EQUAL 0)
    message(FATAL_ERROR "${table}: no tasks")
  endif()
  string(APPEND header "\n// ${file_name}\ninline constexpr std::array<TTaskRow, ${count}> ${array}{{\n"
         "${rows}}};\n")
endforeach()

file(WRITE "${OUTPUT}" "${header}")
