# The Windows build (cmake --preset windows, with cmake/mingw-w64-x86_64.cmake): SQLite, libsodium
# and GoogleTest cross-built from Debian's sources into the build tree, the JNI headers for 64-bit
# Windows, and Wine to run the test programs.

set(KAVEX_WINDOWS_DEPS "${PROJECT_BINARY_DIR}/deps" CACHE PATH
  "Where scripts/build-windows-deps installs the cross-built libraries")
option(KAVEX_WINDOWS_PCRE2 "Also cross-build PCRE2 from Debian's source package" OFF)

# Builds only what is missing or out of date (the script keeps stamps), so a configure after the
# first costs a few seconds.
set(_pcre2 0)
if(KAVEX_WINDOWS_PCRE2)
  set(_pcre2 1)
endif()
message(STATUS "Cross-building the dependencies into ${KAVEX_WINDOWS_DEPS}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env KAVEX_WINDOWS_PCRE2=${_pcre2}
          ${PROJECT_SOURCE_DIR}/scripts/build-windows-deps ${KAVEX_WINDOWS_DEPS}
  RESULT_VARIABLE _deps_rc)
if(NOT _deps_rc EQUAL 0)
  message(FATAL_ERROR "scripts/build-windows-deps failed (${_deps_rc})")
endif()
list(PREPEND CMAKE_FIND_ROOT_PATH "${KAVEX_WINDOWS_DEPS}")
# The libraries are static: their headers must not declare their functions dllimport.
add_compile_definitions(SODIUM_STATIC PCRE2_STATIC)
# MinGW-w64's time.h declares the POSIX gmtime_r/localtime_r (over the CRT's gmtime_s) only
# when asked to.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS=200112L)

# Only the JNI types are needed (no JVM library is linked): the JDK's platform-independent jni.h
# with our jni_md.h for Windows x64, found first on the include path.
if(NOT JAVA_HOME AND DEFINED ENV{JAVA_HOME})
  set(JAVA_HOME "$ENV{JAVA_HOME}")
endif()
if(NOT EXISTS "${JAVA_HOME}/include/jni.h")
  message(FATAL_ERROR "jni.h not found under JAVA_HOME='${JAVA_HOME}' (install a JDK: scripts/install-deps)")
endif()
set(JNI_INCLUDE_DIRS "${CMAKE_CURRENT_LIST_DIR}/windows" "${JAVA_HOME}/include")

# The DLL exports only what is declared dllexport, never everything (MinGW's default when
# nothing is).
add_link_options("LINKER:--exclude-all-symbols")

# The DLL under its own name (no "lib" prefix), next to the test programs that load it.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin")

# Test programs run under Wine, with a Windows user profile (drive C:) inside the build tree. It
# is made here, once, so that no test discovery waits for it.
set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine-run;${PROJECT_BINARY_DIR}/wineprefix")
execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} RESULT_VARIABLE _wine_rc)
if(NOT _wine_rc EQUAL 0)
  message(FATAL_ERROR "Wine could not create its prefix in ${PROJECT_BINARY_DIR}/wineprefix")
endif()
