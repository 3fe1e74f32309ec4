# The shared code's unit suites that also run as Windows programs: built from
# the same test sources by the cross build (tests/windows/CMakeLists.txt) and
# run under Wine by the Linux build's CTest (tests/CMakeLists.txt).
set(ZV_WINDOWS_SUITES
  utils_test
  marshal_text_test
  socket_wire_test
  socket_wait_test
  socket_platform_test
  fatal_test)
