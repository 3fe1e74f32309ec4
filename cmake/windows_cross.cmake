# Cross-compiles the Windows deliverables in a sub-build with mingw-w64.
include(ExternalProject)
ExternalProject_Add(windows_deliverables
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/windows
  CMAKE_GENERATOR Ninja
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64.cmake
    -DZV_TARGET_WINDOWS=ON
    -DCMAKE_BUILD_TYPE=Release
    -DZV_SUBP_VERSION=${ZV_SUBP_VERSION}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)
set(ZV_WINDOWS_BIN ${CMAKE_BINARY_DIR}/windows/bin)
