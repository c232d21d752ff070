# Makes the committed pictures of a task table's variants (resources/svg/
# P11.svg, ...) into one C++ header while building, so that the report can
# carry them:
#
#   cmake -DTABLE=<standard.tasks> -DSVG_DIR=<resources/svg> -DOUTPUT=<header> -P MakeTaskPictures.cmake
#
# The pictures are the table's lines' (their first word), so a variant added
# to the table is a picture the build looks for.
cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED TABLE OR NOT DEFINED SVG_DIR OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "usage: cmake -DTABLE=<table> -DSVG_DIR=<folder> -DOUTPUT=<header> "
                      "-P ${CMAKE_CURRENT_LIST_FILE}")
endif()

set(header "// Made from resources/svg by teacher/MakeTaskPictures.cmake while building.\n")
string(APPEND header "#pragma once\n\n")
string(APPEND header "struct TTaskPictureSvg {\n    const char* Name; // lower case, as PictureName\n")
string(APPEND header "    const char* Svg;\n};\n\n")
string(APPEND header "inline constexpr TTaskPictureSvg kTaskPictureSvg[] = {\n")

# Only each line's first word is wanted: ; and [ in the TeX must not cut it.
file(READ "${TABLE}" text)
string(REGEX REPLACE "[][;]" "_" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^[ \t]*([A-Za-z][A-Za-z0-9]*)[ \t]")
    continue()
  endif()
  set(picture "${CMAKE_MATCH_1}")
  set(file "${SVG_DIR}/${picture}.svg")
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "${file}: the task picture is missing")
  endif()
  file(READ "${file}" svg)
  string(FIND "${svg}" ")svg\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file} holds the text that ends the picture's string")
  endif()
  string(TOLOWER "${picture}" name)
  string(APPEND header "    {\"${name}\", R\"svg(${svg})svg\"},\n")
endforeach()
string(APPEND header "};\n")
file(WRITE "${OUTPUT}.new" "${header}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
