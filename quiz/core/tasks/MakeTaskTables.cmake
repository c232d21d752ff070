# Turns the task tables into one C++ header while building:
#
#   cmake -DTABLES=<a.tasks;b.tasks> -DOUTPUT=<header> -P MakeTaskTables.cmake
#
# Each table becomes an array of TTaskRow (quiz/core/TaskTable.h) named
# after its file: standard.tasks gives kStandardTasks. A line says which
# task and variant it is by its picture's name (P101: task 10, variant 1);
# the rows are written task-major whatever the lines' order. A line that
# cannot be read stops the build, so a task never goes missing in silence;
# so does a formula with a character no reference formula has, a picture
# named twice, or a table whose tasks or variants leave a gap (tasks 1, 2,
# ..., each with variants 1, 2, ..., five at most). tools/pictures/tables.js
# reads the same tables the same way.
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
string(APPEND header "#include \"quiz/core/TaskTable.h\"\n\n#include <array>\n")

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

  set(keys "")
  set(max_task 0)
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
    # The name says the line's task and variant, as TTaskTable reads it.
    if(NOT picture MATCHES "^[Pp]([1-9][0-9]?)([1-5])$")
      message(FATAL_ERROR "${table}:${number}: ${picture} is not P, a task (1 to 99) and a "
                          "variant (1 to 5), as P11, P23, P101")
    endif()
    set(task "${CMAKE_MATCH_1}")
    set(variant "${CMAKE_MATCH_2}")
    # The characters of the reference formulas; anything else (an upper-case
    # letter, a decimal comma) is a typing error that would change a value.
    if(NOT formula MATCHES "^[a-z0-9.^*/+()-]+$")
      message(FATAL_ERROR "${table}:${number}: ${picture}'s formula has a character "
                          "no reference formula may have: ${formula}")
    endif()
    if(tex MATCHES [[\)TeX"]])
      message(FATAL_ERROR "${table}:${number}: ${picture}'s TeX may not hold )TeX\"")
    endif()
    # Keyed by task and variant, so P11 and p11 are one picture, as
    # resources are found by name without regard to case.
    string(LENGTH "${task}" digits)
    if(digits EQUAL 1)
      set(key "0${task}${variant}")
    else()
      set(key "${task}${variant}")
    endif()
    if(key IN_LIST keys)
      message(FATAL_ERROR "${table}:${number}: a second picture named ${picture}")
    endif()
    list(APPEND keys "${key}")
    if(task GREATER max_task)
      set(max_task "${task}")
    endif()
    set(row_${stem}_${key}
        "    {${task}, ${variant}, \"${picture}\", \"${formula}\", R\"TeX(${tex})TeX\"},\n")
  endforeach()
  if(max_task EQUAL 0)
    message(FATAL_ERROR "${table}: no tasks")
  endif()
  # Tasks 1, 2, ... and each one's variants 1, 2, ...: no gap, so that a
  # task number and a variant number name a line or nothing.
  foreach(task RANGE 1 ${max_task})
    set(missing 0)
    foreach(variant RANGE 1 5)
      if(task LESS 10)
        set(key "0${task}${variant}")
      else()
        set(key "${task}${variant}")
      endif()
      if(DEFINED row_${stem}_${key} AND missing GREATER 0)
        message(FATAL_ERROR "${table}: P${task}${variant} without P${task}${missing}: "
                            "a task's variants are 1, 2, ... without a gap")
      elseif(NOT DEFINED row_${stem}_${key} AND missing EQUAL 0)
        set(missing "${variant}")
      endif()
    endforeach()
    if(missing EQUAL 1)
      message(FATAL_ERROR "${table}: no task ${task}: the tasks are 1, 2, ... without a gap")
    endif()
  endforeach()
  list(SORT keys)
  list(LENGTH keys count)
  set(rows "")
  foreach(key IN LISTS keys)
    string(APPEND rows "${row_${stem}_${key}}")
  endforeach()
  string(APPEND header "\n// ${file_name}\ninline constexpr std::array<TTaskRow, ${count}> ${array}{{\n"
         "${rows}}};\n")
endforeach()

file(WRITE "${OUTPUT}" "${header}")
