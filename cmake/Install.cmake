# What `cmake --install` puts in place: the library and its public header, kavex-sql (tools/), the
# Java jar (java/), a CMake package and a pkg-config file. Both package files are relocatable, so an
# installed tree may be moved or installed under another prefix.
include(CMakePackageConfigHelpers)

set(KAVEX_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KavexOracleOCIw)
install(TARGETS kavex EXPORT KavexOracleOCIwTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/kavex_oracleociw.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT KavexOracleOCIwTargets
  NAMESPACE Kavex::
  DESTINATION ${KAVEX_CMAKE_PACKAGE_DIR})

set(KAVEX_INSTALL_JAR ${CMAKE_INSTALL_DATADIR}/java/velmar-oracleociops.jar)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/KavexOracleOCIwConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KavexOracleOCIwConfig.cmake
  INSTALL_DESTINATION ${KAVEX_CMAKE_PACKAGE_DIR}
  PATH_VARS KAVEX_INSTALL_JAR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KavexOracleOCIwConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/KavexOracleOCIwConfig.cmake
  ${PROJECT_BINARY_DIR}/KavexOracleOCIwConfigVersion.cmake
  DESTINATION ${KAVEX_CMAKE_PACKAGE_DIR})

# pkg-config finds the prefix from the .pc file's own place.
set(KAVEX_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH KAVEX_PC_TO_PREFIX /prefix/${KAVEX_PC_DIR} /prefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kavex-oracleociw.pc.in
  ${PROJECT_BINARY_DIR}/kavex-oracleociw.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kavex-oracleociw.pc DESTINATION ${KAVEX_PC_DIR})

# An installed tree serves a consumer project through find_package and through pkg-config
# (built and run with this machine's own tools, so not for a cross build).
if(KAVEX_BUILD_TESTS AND NOT CMAKE_CROSSCOMPILING)
  set(KAVEX_CONSUMER_FLAGS "")
  if(KAVEX_SANITIZE)
    set(KAVEX_CONSUMER_FLAGS "-fsanitize=address,undefined")
  endif()
  add_test(NAME library.installed_tree
    COMMAND ${CMAKE_COMMAND}
      -DBUILD_DIR=${PROJECT_BINARY_DIR}
      -DWORK_DIR=${PROJECT_BINARY_DIR}/install-test
      -DCONSUMER_DIR=${PROJECT_SOURCE_DIR}/tests/install/consumer
      -DC_COMPILER=${CMAKE_C_COMPILER}
      -DLIBDIR=${CMAKE_INSTALL_LIBDIR}
      "-DC_FLAGS=${KAVEX_CONSUMER_FLAGS}"
      -DWITH_TOOLS=${KAVEX_BUILD_TOOLS}
      -DWITH_JAR=$<TARGET_EXISTS:kavex_jar>
      -P ${PROJECT_SOURCE_DIR}/tests/install/check_install.cmake)
  set_tests_properties(library.installed_tree PROPERTIES TIMEOUT 300)
endif()
