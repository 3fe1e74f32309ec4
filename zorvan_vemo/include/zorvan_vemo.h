// Exported C API of the engine bridge library zorvan_vemo_52013.
// Pointers cross the JNI bridge as 64-bit integers; texts are NUL-terminated
// UTF-8 (or the JVM's modified UTF-8), null reading as empty text.
#pragma once

#include <cstdint>

#include "cef/cef_capi.h"

#if defined(_WIN32) && defined(ZV_BUILDING_VEMO)
#define ZV_EXPORT __declspec(dllexport)
#elif defined(_WIN32)
#define ZV_EXPORT __declspec(dllimport)
#else
#define ZV_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// A call from page script into a host function, as cefvemo_function_id
// reads it: id and port are -1 and 0 when the message is not a call.
typedef struct FunctionSt {
  int32_t id;
  int32_t port;
  uint64_t args;
} FunctionSt;

// Receives a value, an Eval request or a tick: (flag, kind, text). The text
// belongs to the library and is valid during the call only.
typedef void (*cefvemo_return_callback)(int32_t flag, int32_t kind, const char* text);

// Engine lifecycle.
ZV_EXPORT void cefvemo_init(cef_app_t* app, const char* engine_dir, const char* options,
                            int32_t debug_port);
ZV_EXPORT int32_t cefvemo_do_message_loop_work();
ZV_EXPORT void cefvemo_shutdown();
ZV_EXPORT void cefvemo_set_command(cef_command_line_t* command_line, const char* name,
                                   const char* value);

// Browser views. A browser handle is a cef_browser_t pointer; the one
// returned by cefvemo_create_browser carries the Java host's reference.
ZV_EXPORT cef_browser_t* cefvemo_create_browser(cef_window_handle_t parent, const char* url,
                                                cef_client_t* client, int32_t width,
                                                int32_t height, int32_t javascript,
                                                cef_color_t background);
ZV_EXPORT void cefvemo_set_window_info_parent(cef_window_info_t* window_info,
                                              cef_client_t** client_slot, cef_client_t* client,
                                              cef_window_handle_t parent, int32_t x, int32_t y,
                                              int32_t width, int32_t height);
ZV_EXPORT void cefvemo_resized(cef_browser_t* browser, int32_t width, int32_t height);
ZV_EXPORT void cefvemo_close_browser(cef_browser_t* browser, int32_t force);
ZV_EXPORT void cefvemo_set_focus(cef_browser_t* browser, uint8_t focus);
ZV_EXPORT int32_t cefvemo_ref(cef_browser_t* browser, int32_t add);
ZV_EXPORT void cefvemo_free(cef_browser_t* browser);
ZV_EXPORT int32_t cefvemo_get_id(cef_browser_t* browser);
ZV_EXPORT int32_t cefvemo_is_same(cef_browser_t* browser, cef_browser_t* other);
ZV_EXPORT int32_t cefvemo_is_main_frame(cef_frame_t* frame);

// Navigation and page content. Returned strings are freed with
// cefvemo_cef_string_free.
ZV_EXPORT void cefvemo_load_url(cef_browser_t* browser, const char* url, const void* post,
                                uint64_t post_length, const char* headers,
                                uint64_t header_count);
ZV_EXPORT void cefvemo_load_text(cef_browser_t* browser, const char* text);
ZV_EXPORT void cefvemo_stop(cef_browser_t* browser);
ZV_EXPORT void cefvemo_reload(cef_browser_t* browser);
ZV_EXPORT void cefvemo_go_back(cef_browser_t* browser);
ZV_EXPORT void cefvemo_go_forward(cef_browser_t* browser);
ZV_EXPORT cef_string_userfree_utf8_t cefvemo_get_url(cef_browser_t* browser);
ZV_EXPORT void cefvemo_get_text(cef_browser_t* browser, cef_string_visitor_t* visitor);
ZV_EXPORT cef_string_userfree_utf8_t cefvemo_request_to_java(cef_request_t* request);

// Script.
ZV_EXPORT void cefvemo_execute(cef_browser_t* browser, const char* script);
ZV_EXPORT int32_t cefvemo_eval(cef_browser_t* browser, const char* script, int32_t port,
                               cefvemo_return_callback callback);
ZV_EXPORT int32_t cefvemo_function(cef_browser_t* browser, const char* name, int32_t id);
ZV_EXPORT void cefvemo_function_id(cef_process_message_t* message, FunctionSt* record);
ZV_EXPORT int32_t cefvemo_function_arg(cef_process_message_t* message, int32_t index,
                                       cefvemo_return_callback callback);
ZV_EXPORT int32_t cefvemo_function_return(cef_browser_t* browser, int32_t unused, int32_t port,
                                          int32_t kind, const char* value);

// Host string exchange.
ZV_EXPORT cef_string_userfree_utf8_t cefvemo_cefstring_to_java(const cef_string_t* string);
ZV_EXPORT void cefvemo_cef_string_free(cef_string_userfree_utf8_t string);

// Handler continuations: downloads and authentication. Callback objects are
// borrowed: no reference is added or released here.

// A download's state as cefvemo_download_item fills it. status: -1 the item
// is not valid, 1 in progress, 2 complete, 3 canceled, 0 none of these. The
// record owns file and url (user-free UTF-16 strings, may be null) from the
// fill until the free mode releases them; freeing leaves the pointers as
// they are, so each filled record is freed once and then only filled again.
typedef struct DownloadItem {
  uint32_t id;
  int32_t status;
  cef_string_userfree_t file;  // get_full_path
  cef_string_userfree_t url;   // get_original_url: before redirects
  int64_t received;
  int64_t total;
  int64_t speed;
  int32_t percent;
} DownloadItem;

// cont 1: callback is a cef_before_download_callback_t, continued to path
// with the file dialog asked for; otherwise callback is a
// cef_download_item_callback_t and the download is canceled.
ZV_EXPORT void cefvemo_download_callback(void* callback, const char* path, int32_t cont);
// Fills the record from the item; a null item frees the record's strings.
ZV_EXPORT void cefvemo_download_item(cef_download_item_t* item, DownloadItem* record);
// cont 1 answers with the user name and password (null reads as empty);
// any other value refuses.
ZV_EXPORT void cefvemo_auth_callback(cef_auth_callback_t* callback, const char* user_name,
                                     const char* password, int32_t cont);

// Handler continuations: dialogs, context menus, keys. The callbacks are
// those CEF handed to the host's handlers, borrowed for the call.
ZV_EXPORT void cefvemo_dialog_close(cef_jsdialog_callback_t* callback, int32_t success,
                                    const cef_string_t* user_input);
ZV_EXPORT void cefvemo_context_menu_cancel(cef_run_context_menu_callback_t* callback);
// 1 when the key event was a shortcut the library consumed, 0 otherwise.
ZV_EXPORT int32_t cefvemo_handlekey(cef_browser_t* browser, const cef_key_event_t* event);

// Cookies, through CEF's global cookie manager. Expiry is in seconds since
// the epoch, -1.0 for a cookie without one. Visits come later, on the UI
// thread; the returned strings are freed with cefvemo_cef_string_free.
ZV_EXPORT int32_t cefvemo_set_cookie(const char* url, const char* name, const char* value,
                                     const char* domain, const char* path, int32_t secure,
                                     int32_t httponly, double expires);
ZV_EXPORT int32_t cefvemo_get_cookie(const char* url, cef_cookie_visitor_t* visitor);
ZV_EXPORT void cefvemo_delete_cookies();
ZV_EXPORT cef_string_userfree_utf8_t cefvemo_cookie_value(const cef_cookie_t* cookie);
ZV_EXPORT cef_string_userfree_utf8_t cefvemo_cookie_to_java(const cef_string_t* string);

}  // extern "C"
