# Each GoogleTest binary also runs whole, once, as one process: a test that leans on running in a
# process of its own (ids from the start, counts left by other tests, sessions left open) fails here.
# Not yet checked under Wine, so the Windows build runs its tests one by one only.
if(NOT KAVEX_BUILD_TESTS OR WIN32)
  return()
endif()
foreach(binary kavex_tests kavexdb_tests kavex_sql_tests kavex_concurrency_tests)
  if(TARGET ${binary})
    add_test(NAME whole.${binary} COMMAND $<TARGET_FILE:${binary}> --gtest_brief=1
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${binary}>)
    set_tests_properties(whole.${binary} PROPERTIES TIMEOUT 900)
  endif()
endforeach()
