# Import library for libcef.dll, generated from the module-definition file of
# the CEF functions the deliverables import.
find_program(ZV_DLLTOOL x86_64-w64-mingw32-dlltool REQUIRED)
set(ZV_CEF_IMPLIB ${CMAKE_BINARY_DIR}/lib/libcef.dll.a)
add_custom_command(
  OUTPUT ${ZV_CEF_IMPLIB}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/lib
  COMMAND ${ZV_DLLTOOL} -d ${CMAKE_SOURCE_DIR}/cmake/libcef.def -l ${ZV_CEF_IMPLIB} -D libcef.dll
  DEPENDS ${CMAKE_SOURCE_DIR}/cmake/libcef.def
  COMMENT "Generating the libcef.dll import library")
add_custom_target(cef_implib DEPENDS ${ZV_CEF_IMPLIB})
add_library(cef SHARED IMPORTED GLOBAL)
set_target_properties(cef PROPERTIES IMPORTED_IMPLIB ${ZV_CEF_IMPLIB})
add_dependencies(cef cef_implib)
