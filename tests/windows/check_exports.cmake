# Reads the export table of the cross-compiled engine bridge library and
# checks that every export declared in zorvan_vemo.h is there under its plain
# name; also checks that the subprocess program is a GUI-subsystem program
# that imports libcef.dll.
file(READ ${HEADER} header)
string(REGEX MATCHALL "cefvemo_[a-z_0-9]+\\(" declared "${header}")
list(TRANSFORM declared REPLACE "\\($" "")
list(REMOVE_DUPLICATES declared)

set(dll ${WINDOWS_BIN}/zorvan_vemo_52013.dll)
execute_process(COMMAND ${OBJDUMP} -p ${dll} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read ${dll}")
endif()
# The export name table: lines "\t[   0] name" after its heading, up to the
# first blank line.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)+" table "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [A-Za-z_0-9@]+" names "${table}")
list(TRANSFORM names REPLACE "^\\[ *[0-9]+\\] " "")
message(STATUS "zorvan_vemo_52013.dll exports ${names}")
foreach(name ${declared})
  list(FIND names ${name} found)
  if(found EQUAL -1)
    message(FATAL_ERROR "export ${name} missing from ${dll}")
  endif()
endforeach()
list(LENGTH declared count)
message(STATUS "all ${count} declared exports found under their plain names")
if(NOT dump MATCHES "DLL Name: libcef.dll")
  message(FATAL_ERROR "${dll} does not import libcef.dll")
endif()

set(exe ${ENGINE_DIR}/zorvan_subp-${SUBP_VERSION}.exe)
execute_process(COMMAND ${OBJDUMP} -p ${exe} OUTPUT_VARIABLE exe_dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read ${exe}")
endif()
if(NOT exe_dump MATCHES "Subsystem[ \t]+0+2[ \t]+\\(Windows GUI\\)")
  message(FATAL_ERROR "${exe} is not a GUI-subsystem program")
endif()
if(NOT exe_dump MATCHES "DLL Name: libcef.dll")
  message(FATAL_ERROR "${exe} does not import libcef.dll")
endif()
message(STATUS "zorvan_subp-${SUBP_VERSION}.exe: Windows GUI subsystem, imports libcef.dll")
