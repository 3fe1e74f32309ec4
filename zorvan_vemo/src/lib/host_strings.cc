// Host string exchange: CEF strings to the Java host and their release.

#include "host_strings.h"
#include "zorvan_vemo.h"

extern "C" {

ZV_EXPORT cef_string_userfree_utf8_t cefvemo_cefstring_to_java(const cef_string_t* string) {
  return vemo::to_host(string);
}

ZV_EXPORT void cefvemo_cef_string_free(cef_string_userfree_utf8_t string) {
  if (string) cef_string_userfree_utf8_free(string);
}

}  // extern "C"
