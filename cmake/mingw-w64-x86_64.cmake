# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64-posix).
# The posix flavour is the one whose libstdc++ has std::thread and std::mutex. Everything links
# statically (libstdc++, libgcc, winpthread), so the DLL and the test programs import nothing but
# Windows system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KAVEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KAVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KAVEX_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${KAVEX_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${KAVEX_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")
set(CMAKE_OBJDUMP ${KAVEX_MINGW_TRIPLE}-objdump CACHE FILEPATH "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Headers and libraries come from the MinGW sysroot and the cross-built dependencies (added to
# CMAKE_FIND_ROOT_PATH by the project), never from the build machine; programs from the build
# machine.
set(CMAKE_FIND_ROOT_PATH /usr/${KAVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
