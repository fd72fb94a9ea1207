# Builds the C example of README.md against the shared library, runs it, and compares what it
# prints with the README's ```text block that follows it, so that the front page's example stays
# true to the library.
#
#   cmake -DREADME=... -DCC=... [-DFLAGS=...] -DINCLUDE_DIR=... -DLIB=... -DWORK_DIR=...
#         -P readme_c_example.cmake
cmake_policy(VERSION 3.25)
file(READ "${README}" readme)
string(REGEX MATCH "```c\n(.*)\n```\n" found "${readme}")
if(NOT found)
  message(FATAL_ERROR "${README} holds no ```c block")
endif()
# The match is greedy up to the last closing fence; cut at the first one.
string(FIND "${CMAKE_MATCH_1}" "\n```" end)
string(SUBSTRING "${CMAKE_MATCH_1}" 0 ${end} program)
string(REGEX MATCH "```text\n([^`]*)```" found "${readme}")
if(NOT found)
  message(FATAL_ERROR "${README} holds no ```text block with the example's output")
endif()
set(expected "${CMAKE_MATCH_1}")

file(MAKE_DIRECTORY "${WORK_DIR}")
file(WRITE "${WORK_DIR}/readme_example.c" "${program}\n")
get_filename_component(lib_dir "${LIB}" DIRECTORY)
execute_process(
  COMMAND "${CC}" -std=c99 -Wall -Wextra -Werror ${FLAGS} -I "${INCLUDE_DIR}"
          "${WORK_DIR}/readme_example.c" -o "${WORK_DIR}/readme_example" "${LIB}"
          "-Wl,-rpath,${lib_dir}"
  RESULT_VARIABLE rc ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the README's C example does not compile:\n${errors}")
endif()
execute_process(COMMAND "${WORK_DIR}/readme_example" WORKING_DIRECTORY "${WORK_DIR}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the README's C example ended with status ${rc}:\n${output}${errors}")
endif()
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "the README's C example printed\n${output}\ninstead of\n${expected}")
endif()
