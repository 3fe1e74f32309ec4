// Basic types, strings, enumerations and forward declarations of the CEF C
// API subset (branch 3809) that this project uses. Written for C++; on 64-bit
// targets there is one calling convention, so CEF_CALLBACK is empty.
#pragma once

#include <cstddef>
#include <cstdint>

#define CEF_CALLBACK

extern "C" {

// UTF-16 code unit (wchar_t on Windows; same size and representation).
typedef char16_t cef_char16_t;

// Platform handles. The Windows forms are used on every host.
typedef void* cef_window_handle_t;    // HWND
typedef void* cef_instance_handle_t;  // HINSTANCE
typedef void* cef_menu_handle_t;      // HMENU
typedef struct _cef_event_handle_msg_t cef_event_handle_msg_t;  // MSG

typedef uint32_t cef_color_t;

// Strings.
typedef struct _cef_string_utf16_t {
  cef_char16_t* str;
  size_t length;
  void(CEF_CALLBACK* dtor)(cef_char16_t* str);
} cef_string_utf16_t;

typedef struct _cef_string_utf8_t {
  char* str;
  size_t length;
  void(CEF_CALLBACK* dtor)(char* str);
} cef_string_utf8_t;

typedef cef_string_utf16_t cef_string_t;
typedef cef_string_utf16_t* cef_string_userfree_utf16_t;
typedef cef_string_utf8_t* cef_string_userfree_utf8_t;
typedef cef_string_userfree_utf16_t cef_string_userfree_t;
typedef void* cef_string_multimap_t;
typedef void* cef_string_list_t;
typedef void* cef_string_map_t;

// Enumerations (int-sized).
typedef enum { PID_BROWSER = 0, PID_RENDERER = 1 } cef_process_id_t;
typedef enum { STATE_DEFAULT = 0, STATE_ENABLED = 1, STATE_DISABLED = 2 } cef_state_t;
typedef enum {
  LOGSEVERITY_DEFAULT = 0,
  LOGSEVERITY_VERBOSE = 1,
  LOGSEVERITY_DEBUG = LOGSEVERITY_VERBOSE,
  LOGSEVERITY_INFO = 2,
  LOGSEVERITY_WARNING = 3,
  LOGSEVERITY_ERROR = 4,
  LOGSEVERITY_FATAL = 5,
  LOGSEVERITY_DISABLE = 99
} cef_log_severity_t;
typedef enum {
  KEYEVENT_RAWKEYDOWN = 0,
  KEYEVENT_KEYDOWN = 1,
  KEYEVENT_KEYUP = 2,
  KEYEVENT_CHAR = 3
} cef_key_event_type_t;
typedef enum {
  EVENTFLAG_NONE = 0,
  EVENTFLAG_CAPS_LOCK_ON = 1,
  EVENTFLAG_SHIFT_DOWN = 2,
  EVENTFLAG_CONTROL_DOWN = 4,
  EVENTFLAG_ALT_DOWN = 8,
  EVENTFLAG_LEFT_MOUSE_BUTTON = 16,
  EVENTFLAG_MIDDLE_MOUSE_BUTTON = 32,
  EVENTFLAG_RIGHT_MOUSE_BUTTON = 64,
  EVENTFLAG_COMMAND_DOWN = 128,
  EVENTFLAG_NUM_LOCK_ON = 256,
  EVENTFLAG_IS_KEY_PAD = 512,
  EVENTFLAG_IS_LEFT = 1024,
  EVENTFLAG_IS_RIGHT = 2048
} cef_event_flags_t;
typedef enum {
  V8_PROPERTY_ATTRIBUTE_NONE = 0,
  V8_PROPERTY_ATTRIBUTE_READONLY = 1,
  V8_PROPERTY_ATTRIBUTE_DONTENUM = 2,
  V8_PROPERTY_ATTRIBUTE_DONTDELETE = 4
} cef_v8_propertyattribute_t;
typedef enum {
  JSDIALOGTYPE_ALERT = 0,
  JSDIALOGTYPE_CONFIRM = 1,
  JSDIALOGTYPE_PROMPT = 2
} cef_jsdialog_type_t;
typedef enum {
  VTYPE_INVALID = 0,
  VTYPE_NULL = 1,
  VTYPE_BOOL = 2,
  VTYPE_INT = 3,
  VTYPE_DOUBLE = 4,
  VTYPE_STRING = 5,
  VTYPE_BINARY = 6,
  VTYPE_DICTIONARY = 7,
  VTYPE_LIST = 8
} cef_value_type_t;
typedef enum {
  PDE_TYPE_EMPTY = 0,
  PDE_TYPE_BYTES = 1,
  PDE_TYPE_FILE = 2
} cef_postdataelement_type_t;
typedef enum {
  TS_ABNORMAL_TERMINATION = 0,
  TS_PROCESS_WAS_KILLED = 1,
  TS_PROCESS_CRASHED = 2,
  TS_PROCESS_OOM = 3
} cef_termination_status_t;
typedef enum {
  WOD_UNKNOWN = 0,
  WOD_CURRENT_TAB = 1,
  WOD_SINGLETON_TAB = 2,
  WOD_NEW_FOREGROUND_TAB = 3,
  WOD_NEW_BACKGROUND_TAB = 4,
  WOD_NEW_POPUP = 5,
  WOD_NEW_WINDOW = 6,
  WOD_SAVE_TO_DISK = 7,
  WOD_OFF_THE_RECORD = 8,
  WOD_IGNORE_ACTION = 9
} cef_window_open_disposition_t;

// Int-sized enumerations whose values this project does not name.
typedef int cef_errorcode_t;
typedef int cef_transition_type_t;
typedef int cef_focus_source_t;
typedef int cef_context_menu_type_flags_t;
typedef int cef_context_menu_media_type_t;
typedef int cef_context_menu_media_state_flags_t;
typedef int cef_context_menu_edit_state_flags_t;
typedef int cef_menu_color_type_t;
typedef int cef_menu_item_type_t;
typedef int cef_mouse_button_type_t;
typedef int cef_drag_operations_mask_t;
typedef int cef_file_dialog_mode_t;
typedef int cef_paint_element_type_t;
typedef int cef_referrer_policy_t;
typedef int cef_resource_type_t;
typedef int cef_return_value_t;
typedef int cef_urlrequest_status_t;
typedef int cef_v8_accesscontrol_t;

// Structures used only through pointers.
typedef struct _cef_audio_handler_t cef_audio_handler_t;
typedef struct _cef_composition_underline_t cef_composition_underline_t;
typedef struct _cef_cookie_access_filter_t cef_cookie_access_filter_t;
typedef struct _cef_dialog_handler_t cef_dialog_handler_t;
typedef struct _cef_domnode_t cef_domnode_t;
typedef struct _cef_domvisitor_t cef_domvisitor_t;
typedef struct _cef_download_image_callback_t cef_download_image_callback_t;
typedef struct _cef_drag_data_t cef_drag_data_t;
typedef struct _cef_drag_handler_t cef_drag_handler_t;
typedef struct _cef_extension_t cef_extension_t;
typedef struct _cef_find_handler_t cef_find_handler_t;
typedef struct _cef_mouse_event_t cef_mouse_event_t;
typedef struct _cef_navigation_entry_t cef_navigation_entry_t;
typedef struct _cef_navigation_entry_visitor_t cef_navigation_entry_visitor_t;
typedef struct _cef_pdf_print_callback_t cef_pdf_print_callback_t;
typedef struct _cef_pdf_print_settings_t cef_pdf_print_settings_t;
typedef struct _cef_print_handler_t cef_print_handler_t;
typedef struct _cef_range_t cef_range_t;
typedef struct _cef_render_handler_t cef_render_handler_t;
typedef struct _cef_request_context_t cef_request_context_t;
typedef struct _cef_resource_bundle_handler_t cef_resource_bundle_handler_t;
typedef struct _cef_resource_handler_t cef_resource_handler_t;
typedef struct _cef_response_filter_t cef_response_filter_t;
typedef struct _cef_run_file_dialog_callback_t cef_run_file_dialog_callback_t;
typedef struct _cef_scheme_registrar_t cef_scheme_registrar_t;
typedef struct _cef_select_client_certificate_callback_t cef_select_client_certificate_callback_t;
typedef struct _cef_sslinfo_t cef_sslinfo_t;
typedef struct _cef_task_runner_t cef_task_runner_t;
typedef struct _cef_touch_event_t cef_touch_event_t;
typedef struct _cef_urlrequest_client_t cef_urlrequest_client_t;
typedef struct _cef_urlrequest_t cef_urlrequest_t;
typedef struct _cef_v8accessor_t cef_v8accessor_t;
typedef struct _cef_v8array_buffer_release_callback_t cef_v8array_buffer_release_callback_t;
typedef struct _cef_v8interceptor_t cef_v8interceptor_t;
typedef struct _cef_v8stack_trace_t cef_v8stack_trace_t;
typedef struct _cef_x509certificate_t cef_x509certificate_t;

// Structures declared in cef_structs.h.
typedef struct _cef_base_ref_counted_t cef_base_ref_counted_t;
typedef struct _cef_main_args_t cef_main_args_t;
typedef struct _cef_window_info_t cef_window_info_t;
typedef struct _cef_settings_t cef_settings_t;
typedef struct _cef_browser_settings_t cef_browser_settings_t;
typedef struct _cef_time_t cef_time_t;
typedef struct _cef_cookie_t cef_cookie_t;
typedef struct _cef_key_event_t cef_key_event_t;
typedef struct _cef_popup_features_t cef_popup_features_t;
typedef struct _cef_rect_t cef_rect_t;
typedef struct _cef_point_t cef_point_t;
typedef struct _cef_size_t cef_size_t;
typedef struct _cef_app_t cef_app_t;
typedef struct _cef_browser_process_handler_t cef_browser_process_handler_t;
typedef struct _cef_render_process_handler_t cef_render_process_handler_t;
typedef struct _cef_client_t cef_client_t;
typedef struct _cef_context_menu_handler_t cef_context_menu_handler_t;
typedef struct _cef_cookie_visitor_t cef_cookie_visitor_t;
typedef struct _cef_display_handler_t cef_display_handler_t;
typedef struct _cef_download_handler_t cef_download_handler_t;
typedef struct _cef_focus_handler_t cef_focus_handler_t;
typedef struct _cef_jsdialog_handler_t cef_jsdialog_handler_t;
typedef struct _cef_keyboard_handler_t cef_keyboard_handler_t;
typedef struct _cef_life_span_handler_t cef_life_span_handler_t;
typedef struct _cef_load_handler_t cef_load_handler_t;
typedef struct _cef_request_handler_t cef_request_handler_t;
typedef struct _cef_string_visitor_t cef_string_visitor_t;
typedef struct _cef_browser_t cef_browser_t;
typedef struct _cef_browser_host_t cef_browser_host_t;
typedef struct _cef_frame_t cef_frame_t;
typedef struct _cef_request_t cef_request_t;
typedef struct _cef_post_data_t cef_post_data_t;
typedef struct _cef_post_data_element_t cef_post_data_element_t;
typedef struct _cef_process_message_t cef_process_message_t;
typedef struct _cef_list_value_t cef_list_value_t;
typedef struct _cef_v8context_t cef_v8context_t;
typedef struct _cef_v8value_t cef_v8value_t;
typedef struct _cef_v8handler_t cef_v8handler_t;
typedef struct _cef_v8exception_t cef_v8exception_t;
typedef struct _cef_cookie_manager_t cef_cookie_manager_t;
typedef struct _cef_download_item_t cef_download_item_t;
typedef struct _cef_before_download_callback_t cef_before_download_callback_t;
typedef struct _cef_download_item_callback_t cef_download_item_callback_t;
typedef struct _cef_jsdialog_callback_t cef_jsdialog_callback_t;
typedef struct _cef_run_context_menu_callback_t cef_run_context_menu_callback_t;
typedef struct _cef_auth_callback_t cef_auth_callback_t;
typedef struct _cef_command_line_t cef_command_line_t;
typedef struct _cef_context_menu_params_t cef_context_menu_params_t;
typedef struct _cef_menu_model_t cef_menu_model_t;
typedef struct _cef_callback_t cef_callback_t;
typedef struct _cef_completion_callback_t cef_completion_callback_t;
typedef struct _cef_set_cookie_callback_t cef_set_cookie_callback_t;
typedef struct _cef_delete_cookies_callback_t cef_delete_cookies_callback_t;
typedef struct _cef_request_callback_t cef_request_callback_t;
typedef struct _cef_resource_request_handler_t cef_resource_request_handler_t;
typedef struct _cef_dictionary_value_t cef_dictionary_value_t;
typedef struct _cef_value_t cef_value_t;
typedef struct _cef_binary_value_t cef_binary_value_t;
typedef struct _cef_response_t cef_response_t;

}  // extern "C"
