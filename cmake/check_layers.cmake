# Checks that a source tree is layered one way. Every #include "folder/..." of a file under
# SOURCE_DIR must name its own top folder or a folder of a lower rank (RANKS: folder=rank;...;
# sub-folders share their top folder's rank). With LINK_TARGET, that target (one shared object
# per layer, each with only the layers below it) must then build.
cmake_policy(VERSION 3.25)
foreach(entry IN LISTS RANKS)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 folder)
  list(GET pair 1 rank)
  set(rank_${folder} ${rank})
endforeach()

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(upward 0)
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  if(NOT DEFINED rank_${folder})
    message(SEND_ERROR "${file}: folder '${folder}' has no rank")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" target "${line}")
    if(NOT target MATCHES "/")
      continue()  # the public header, or a file beside this one
    endif()
    string(REGEX MATCH "^[^/]+" used "${target}")
    if(NOT DEFINED rank_${used})
      continue()  # not a folder of src/
    endif()
    if(NOT used STREQUAL folder AND NOT rank_${used} LESS rank_${folder})
      message(SEND_ERROR "${file} includes ${target}: ${folder}/ may use only folders below it")
      math(EXPR upward "${upward} + 1")
    endif()
  endforeach()
endforeach()
if(upward GREATER 0)
  message(FATAL_ERROR "${upward} include(s) point up or across")
endif()

if(DEFINED LINK_TARGET)
  execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BINARY_DIR}" --target ${LINK_TARGET}
                  RESULT_VARIABLE built)
  if(NOT built EQUAL 0)
    message(FATAL_ERROR "a layer does not link with only the layers below it")
  endif()
endif()
