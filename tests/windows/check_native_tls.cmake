# Checks that the JNI bridge library's own code uses no emulated thread-local
# storage (whose every access is a call into __emutls_get_address): no
# __emutls_v. control variable of this project's namespaces. The C++
# runtime's own exception globals keep theirs; they are touched only when an
# exception is thrown.
set(dll ${WINDOWS_BIN}/vemo-zorvan-52013-win32.dll)
execute_process(COMMAND ${OBJDUMP} -t ${dll} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read ${dll}")
endif()
string(REGEX MATCHALL "__emutls_v\\._ZN?[0-9]*(callback|jni|vemo|utils)[A-Za-z_0-9]*" emulated "${symbols}")
if(emulated)
  message(FATAL_ERROR "emulated thread-local storage in ${dll}: ${emulated}")
endif()
message(STATUS "no emulated thread-local storage in the library's own code")
