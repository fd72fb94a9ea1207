# Installs the build into a fresh prefix, then checks what a user of the installed tree sees: a
# consumer project built through find_package, the same program built through pkg-config, the
# installed kavex-sql and the jar. Run by CTest (cmake -P) with BUILD_DIR, WORK_DIR, CONSUMER_DIR,
# C_COMPILER, C_FLAGS, LIBDIR, WITH_TOOLS and WITH_JAR.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(expected include/kavex_oracleociw.h ${LIBDIR}/pkgconfig/kavex-oracleociw.pc
    ${LIBDIR}/cmake/KavexOracleOCIw/KavexOracleOCIwConfig.cmake
    ${LIBDIR}/libSystem.Data.Kavex.OracleOCIw.so)
  if(NOT EXISTS ${prefix}/${expected})
    message(FATAL_ERROR "not installed: ${expected}")
  endif()
endforeach()

# find_package: the imported target brings the include directory and the library.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer
  -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_C_COMPILER=${C_COMPILER} "-DCMAKE_C_FLAGS=${C_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/consumer)
if(NOT run_output MATCHES "consumer: 1 row")
  message(FATAL_ERROR "find_package consumer printed: ${run_output}")
endif()

# pkg-config, with the installed tree moved elsewhere: the .pc file finds its prefix by itself.
set(moved ${WORK_DIR}/moved)
file(RENAME ${prefix} ${moved})
set(ENV{PKG_CONFIG_PATH} ${moved}/${LIBDIR}/pkgconfig)
run(pkg-config --cflags --libs kavex-oracleociw)
string(STRIP "${run_output}" pc_flags)
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
separate_arguments(c_flags UNIX_COMMAND "${C_FLAGS}")
# As the building guide writes it: the run path from the .pc file's libdir.
run(pkg-config --variable=libdir kavex-oracleociw)
string(STRIP "${run_output}" pc_libdir)
run(${C_COMPILER} ${c_flags} ${CONSUMER_DIR}/consumer.c ${pc_flags} -Wl,-rpath,${pc_libdir}
    -o ${WORK_DIR}/pc-consumer)
run(${WORK_DIR}/pc-consumer)
if(NOT run_output MATCHES "consumer: 1 row")
  message(FATAL_ERROR "pkg-config consumer printed: ${run_output}")
endif()

# The installed shell finds the installed library through its own run path.
if(WITH_TOOLS)
  run(${moved}/bin/kavex-sql --quiet :memory: u p -c "SELECT 'installed' AS w FROM DUAL")
  if(NOT run_output MATCHES "installed")
    message(FATAL_ERROR "installed kavex-sql printed: ${run_output}")
  endif()
endif()
if(WITH_JAR AND NOT EXISTS ${moved}/share/java/velmar-oracleociops.jar)
  message(FATAL_ERROR "not installed: share/java/velmar-oracleociops.jar")
endif()
