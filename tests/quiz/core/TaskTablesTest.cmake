# The task table generator refuses what it cannot read instead of dropping
# a task, and carries TeX through whole, list syntax included.
#   cmake -DGENERATOR=<MakeTaskTables.cmake> -DWORK=<folder> -P TaskTablesTest.cmake
cmake_minimum_required(VERSION 3.25)

# check(<file name> <table text> <text expected in the error, or OK:<header text>>)
function(check file_name content expected)
  set(folder "${WORK}/${file_name}.d")
  file(REMOVE_RECURSE "${folder}")
  file(MAKE_DIRECTORY "${folder}")
  file(WRITE "${folder}/${file_name}" "${content}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} "-DTABLES=${folder}/${file_name}" "-DOUTPUT=${folder}/TaskTables.h"
            -P "${GENERATOR}"
    RESULT_VARIABLE result ERROR_VARIABLE error OUTPUT_QUIET)
  string(REGEX REPLACE "[ \n]+" " " error "${error}")
  if(expected MATCHES "^OK:(.*)")
    set(wanted "${CMAKE_MATCH_1}")
    if(result EQUAL 0)
      file(READ "${folder}/TaskTables.h" header)
      string(FIND "${header}" "${wanted}" at)
    endif()
    if(NOT result EQUAL 0 OR at EQUAL -1)
      message(SEND_ERROR "${file_name}: expected a header holding ${wanted}; got ${error}")
    endif()
  else()
    string(FIND "${error}" "${expected}" at)
    if(result EQUAL 0 OR at EQUAL -1)
      message(SEND_ERROR "${file_name}: expected the error '${expected}'; got ${error}")
    endif()
  endif()
endfunction()

check(missingtex.tasks "P11 sin(y-z)\n" "missingtex.tasks:1: not a picture name, a formula and TeX")
check(capital.tasks "P11 Sin(y-z) \\sin(y-z)\n" "no reference formula may have: Sin(y-z)")
check(twice.tasks "P11 y y\np11 z z\n" "twice.tasks:2: a second picture named p11")
check(rawend.tasks "P11 y y)TeX\" \n" "may not hold )TeX\"")
check(Capital.tasks "P11 y y\n" "a table's name is lower-case letters and digits")
check(comments.tasks "% nothing yet\n" "comments.tasks: no tasks")
check(lists.tasks "% a; [comment\nP11 y^(1/3) \\sqrt[3]{y};\\left[y\\right.\n"
      [[OK:{1, 1, "P11", "y^(1/3)", R"TeX(\sqrt[3]{y};\left[y\right.)TeX"},]])
check(extra.tasks "P11 y \\sin y\r\nP12 z z\n"
      [[OK:std::array<TTaskRow, 2> kExtraTasks{{
    {1, 1, "P11", "y", R"TeX(\sin y)TeX"},
    {1, 2, "P12", "z", R"TeX(z)TeX"},]])
# The picture's name says the line's task and variant, whatever the lines'
# order; the tasks and each task's variants leave no gap.
check(order.tasks "P21 b b\nP101 j j\nP12 y y\nP11 a a\nP31 c c\nP41 d d\nP51 e e\nP61 f f\nP71 g g\nP81 h h\nP91 i i\n"
      [[OK:{1, 1, "P11", "a", R"TeX(a)TeX"},
    {1, 2, "P12", "y", R"TeX(y)TeX"},
    {2, 1, "P21", "b", R"TeX(b)TeX"},]])
check(named.tasks "Q11 y y\n" "Q11 is not P, a task (1 to 99) and a variant (1 to 5)")
check(sixth.tasks "P16 y y\n" "P16 is not P, a task")
check(zero.tasks "P10 y y\n" "P10 is not P, a task")
check(gap.tasks "P11 y y\nP13 z z\n" "P13 without P12: a task's variants are 1, 2, ... without a gap")
check(notask.tasks "P11 y y\nP31 z z\n" "no task 2: the tasks are 1, 2, ... without a gap")
check(novariant.tasks "P12 y y\n" "P12 without P11")
