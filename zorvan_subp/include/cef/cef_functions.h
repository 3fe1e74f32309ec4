// Global functions of the CEF C API (branch 3809) exported by libcef, with
// the C calling convention.
#pragma once

#include "cef/cef_structs.h"

#if defined(_WIN32) && !defined(CEF_WORKALIKE_BUILD)
#define CEF_EXPORT __declspec(dllimport)
#elif defined(_WIN32)
#define CEF_EXPORT __declspec(dllexport)
#else
#define CEF_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

CEF_EXPORT void cef_enable_highdpi_support(void);
CEF_EXPORT void cef_do_message_loop_work(void);
CEF_EXPORT cef_process_message_t* cef_process_message_create(const cef_string_t *);
CEF_EXPORT cef_v8value_t* cef_v8value_create_array(int);
CEF_EXPORT cef_v8value_t* cef_v8value_create_bool(int);
CEF_EXPORT cef_v8value_t* cef_v8value_create_double(double);
CEF_EXPORT cef_v8value_t* cef_v8value_create_function(const cef_string_t *, cef_v8handler_t *);
CEF_EXPORT cef_v8value_t* cef_v8value_create_null(void);
CEF_EXPORT cef_v8value_t* cef_v8value_create_string(const cef_string_t *);
CEF_EXPORT cef_v8value_t* cef_v8value_create_int(int32_t);
CEF_EXPORT cef_v8value_t* cef_v8value_create_uint(uint32_t);
CEF_EXPORT cef_v8value_t* cef_v8value_create_undefined(void);
CEF_EXPORT cef_v8value_t* cef_v8value_create_object(cef_v8accessor_t *, cef_v8interceptor_t *);
CEF_EXPORT cef_v8context_t* cef_v8context_get_current_context(void);
CEF_EXPORT cef_v8context_t* cef_v8context_get_entered_context(void);
CEF_EXPORT int cef_v8context_in_context(void);
CEF_EXPORT int cef_string_utf8_to_utf16(const char *, size_t, cef_string_utf16_t *);
CEF_EXPORT int cef_string_utf16_to_utf8(const cef_char16_t *, size_t, cef_string_utf8_t *);
CEF_EXPORT void cef_string_utf16_clear(cef_string_utf16_t *);
CEF_EXPORT int cef_string_utf16_cmp(const cef_string_utf16_t *, const cef_string_utf16_t *);
CEF_EXPORT int cef_string_utf16_set(const cef_char16_t *, size_t, cef_string_utf16_t *, int);
CEF_EXPORT cef_string_userfree_utf16_t cef_string_userfree_utf16_alloc(void);
CEF_EXPORT void cef_string_userfree_utf16_free(cef_string_userfree_utf16_t);
CEF_EXPORT cef_string_userfree_utf8_t cef_string_userfree_utf8_alloc(void);
CEF_EXPORT void cef_string_userfree_utf8_free(cef_string_userfree_utf8_t);
CEF_EXPORT void cef_string_utf8_clear(cef_string_utf8_t *);
CEF_EXPORT int cef_execute_process(const cef_main_args_t *, cef_app_t *, void *);
CEF_EXPORT int cef_initialize(const cef_main_args_t *, const cef_settings_t *, cef_app_t *, void *);
CEF_EXPORT void cef_shutdown(void);
CEF_EXPORT int cef_browser_host_create_browser(const cef_window_info_t *, cef_client_t *, const cef_string_t *, const cef_browser_settings_t *, cef_dictionary_value_t *, cef_request_context_t *);
CEF_EXPORT cef_browser_t* cef_browser_host_create_browser_sync(const cef_window_info_t *, cef_client_t *, const cef_string_t *, const cef_browser_settings_t *, cef_dictionary_value_t *, cef_request_context_t *);
CEF_EXPORT cef_cookie_manager_t* cef_cookie_manager_get_global_manager(cef_completion_callback_t *);
CEF_EXPORT cef_request_t* cef_request_create(void);
CEF_EXPORT cef_post_data_t* cef_post_data_create(void);
CEF_EXPORT cef_post_data_element_t* cef_post_data_element_create(void);
CEF_EXPORT cef_string_multimap_t cef_string_multimap_alloc(void);
CEF_EXPORT int cef_string_multimap_append(cef_string_multimap_t, const cef_string_t *, const cef_string_t *);
CEF_EXPORT void cef_string_multimap_free(cef_string_multimap_t);
CEF_EXPORT size_t cef_string_multimap_size(cef_string_multimap_t);
CEF_EXPORT int cef_string_multimap_key(cef_string_multimap_t, size_t, cef_string_t *);
CEF_EXPORT int cef_string_multimap_value(cef_string_multimap_t, size_t, cef_string_t *);
CEF_EXPORT size_t cef_string_multimap_find_count(cef_string_multimap_t, const cef_string_t *);
CEF_EXPORT int cef_string_multimap_enumerate(cef_string_multimap_t, const cef_string_t *, size_t, cef_string_t *);
CEF_EXPORT void cef_string_multimap_clear(cef_string_multimap_t);
CEF_EXPORT int cef_time_from_doublet(double, cef_time_t *);
CEF_EXPORT int cef_time_to_doublet(const cef_time_t *, double *);
CEF_EXPORT cef_list_value_t* cef_list_value_create(void);
CEF_EXPORT cef_command_line_t* cef_command_line_create(void);
CEF_EXPORT void cef_quit_message_loop(void);

}  // extern "C"
