// Structures of the CEF C API (branch 3809, 64-bit layouts). Each begins
// with its size member or its cef_base_ref_counted_t; every member function
// takes its own structure as the first argument.
#pragma once

#include "cef/cef_types.h"

extern "C" {

// 40 bytes
struct _cef_base_ref_counted_t {
  size_t size;
  void (CEF_CALLBACK* add_ref)(cef_base_ref_counted_t *);
  int (CEF_CALLBACK* release)(cef_base_ref_counted_t *);
  int (CEF_CALLBACK* has_one_ref)(cef_base_ref_counted_t *);
  int (CEF_CALLBACK* has_at_least_one_ref)(cef_base_ref_counted_t *);
};

// 8 bytes
struct _cef_main_args_t {
  cef_instance_handle_t instance;
};

// 96 bytes
struct _cef_window_info_t {
  uint32_t ex_style;
  cef_string_t window_name;
  uint32_t style;
  int x;
  int y;
  int width;
  int height;
  cef_window_handle_t parent_window;
  cef_menu_handle_t menu;
  int windowless_rendering_enabled;
  int shared_texture_enabled;
  int external_begin_frame_enabled;
  cef_window_handle_t window;
};

// 432 bytes
struct _cef_settings_t {
  size_t size;
  int no_sandbox;
  cef_string_t browser_subprocess_path;
  cef_string_t framework_dir_path;
  cef_string_t main_bundle_path;
  int multi_threaded_message_loop;
  int external_message_pump;
  int windowless_rendering_enabled;
  int command_line_args_disabled;
  cef_string_t cache_path;
  cef_string_t root_cache_path;
  cef_string_t user_data_path;
  int persist_session_cookies;
  int persist_user_preferences;
  cef_string_t user_agent;
  cef_string_t product_version;
  cef_string_t locale;
  cef_string_t log_file;
  cef_log_severity_t log_severity;
  cef_string_t javascript_flags;
  cef_string_t resources_dir_path;
  cef_string_t locales_dir_path;
  int pack_loading_disabled;
  int remote_debugging_port;
  int uncaught_exception_stack_size;
  int ignore_certificate_errors;
  int enable_net_security_expiration;
  cef_color_t background_color;
  cef_string_t accept_language_list;
  cef_string_t application_client_id_for_file_scanning;
};

// 296 bytes
struct _cef_browser_settings_t {
  size_t size;
  int windowless_frame_rate;
  cef_string_t standard_font_family;
  cef_string_t fixed_font_family;
  cef_string_t serif_font_family;
  cef_string_t sans_serif_font_family;
  cef_string_t cursive_font_family;
  cef_string_t fantasy_font_family;
  int default_font_size;
  int default_fixed_font_size;
  int minimum_font_size;
  int minimum_logical_font_size;
  cef_string_t default_encoding;
  cef_state_t remote_fonts;
  cef_state_t javascript;
  cef_state_t javascript_close_windows;
  cef_state_t javascript_access_clipboard;
  cef_state_t javascript_dom_paste;
  cef_state_t plugins;
  cef_state_t universal_access_from_file_urls;
  cef_state_t file_access_from_file_urls;
  cef_state_t web_security;
  cef_state_t image_loading;
  cef_state_t image_shrink_standalone_to_fit;
  cef_state_t text_area_resize;
  cef_state_t tab_to_links;
  cef_state_t local_storage;
  cef_state_t databases;
  cef_state_t application_cache;
  cef_state_t webgl;
  cef_color_t background_color;
  cef_string_t accept_language_list;
};

// 32 bytes
struct _cef_time_t {
  int year;
  int month;
  int day_of_week;
  int day_of_month;
  int hour;
  int minute;
  int second;
  int millisecond;
};

// 208 bytes
struct _cef_cookie_t {
  cef_string_t name;
  cef_string_t value;
  cef_string_t domain;
  cef_string_t path;
  int secure;
  int httponly;
  cef_time_t creation;
  cef_time_t last_access;
  int has_expires;
  cef_time_t expires;
};

// 28 bytes
struct _cef_key_event_t {
  cef_key_event_type_t type;
  uint32_t modifiers;
  int windows_key_code;
  int native_key_code;
  int is_system_key;
  cef_char16_t character;
  cef_char16_t unmodified_character;
  int focus_on_editable_field;
};

// 48 bytes
struct _cef_popup_features_t {
  int x;
  int xSet;
  int y;
  int ySet;
  int width;
  int widthSet;
  int height;
  int heightSet;
  int menuBarVisible;
  int statusBarVisible;
  int toolBarVisible;
  int scrollbarsVisible;
};

// 16 bytes
struct _cef_rect_t {
  int x;
  int y;
  int width;
  int height;
};

// 8 bytes
struct _cef_point_t {
  int x;
  int y;
};

// 8 bytes
struct _cef_size_t {
  int width;
  int height;
};

// 80 bytes
struct _cef_app_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_before_command_line_processing)(cef_app_t *, const cef_string_t *, cef_command_line_t *);
  void (CEF_CALLBACK* on_register_custom_schemes)(cef_app_t *, cef_scheme_registrar_t *);
  cef_resource_bundle_handler_t *(CEF_CALLBACK* get_resource_bundle_handler)(cef_app_t *);
  cef_browser_process_handler_t *(CEF_CALLBACK* get_browser_process_handler)(cef_app_t *);
  cef_render_process_handler_t *(CEF_CALLBACK* get_render_process_handler)(cef_app_t *);
};

// 80 bytes
struct _cef_browser_process_handler_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_context_initialized)(cef_browser_process_handler_t *);
  void (CEF_CALLBACK* on_before_child_process_launch)(cef_browser_process_handler_t *, cef_command_line_t *);
  void (CEF_CALLBACK* on_render_process_thread_created)(cef_browser_process_handler_t *, cef_list_value_t *);
  cef_print_handler_t *(CEF_CALLBACK* get_print_handler)(cef_browser_process_handler_t *);
  void (CEF_CALLBACK* on_schedule_message_pump_work)(cef_browser_process_handler_t *, int64_t);
};

// 120 bytes
struct _cef_render_process_handler_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_render_thread_created)(cef_render_process_handler_t *, cef_list_value_t *);
  void (CEF_CALLBACK* on_web_kit_initialized)(cef_render_process_handler_t *);
  void (CEF_CALLBACK* on_browser_created)(cef_render_process_handler_t *, cef_browser_t *, cef_dictionary_value_t *);
  void (CEF_CALLBACK* on_browser_destroyed)(cef_render_process_handler_t *, cef_browser_t *);
  cef_load_handler_t *(CEF_CALLBACK* get_load_handler)(cef_render_process_handler_t *);
  void (CEF_CALLBACK* on_context_created)(cef_render_process_handler_t *, cef_browser_t *, cef_frame_t *, cef_v8context_t *);
  void (CEF_CALLBACK* on_context_released)(cef_render_process_handler_t *, cef_browser_t *, cef_frame_t *, cef_v8context_t *);
  void (CEF_CALLBACK* on_uncaught_exception)(cef_render_process_handler_t *, cef_browser_t *, cef_frame_t *, cef_v8context_t *, cef_v8exception_t *, cef_v8stack_trace_t *);
  void (CEF_CALLBACK* on_focused_node_changed)(cef_render_process_handler_t *, cef_browser_t *, cef_frame_t *, cef_domnode_t *);
  int (CEF_CALLBACK* on_process_message_received)(cef_render_process_handler_t *, cef_browser_t *, cef_frame_t *, cef_process_id_t, cef_process_message_t *);
};

// 160 bytes
struct _cef_client_t {
  cef_base_ref_counted_t base;
  cef_audio_handler_t *(CEF_CALLBACK* get_audio_handler)(cef_client_t *);
  cef_context_menu_handler_t *(CEF_CALLBACK* get_context_menu_handler)(cef_client_t *);
  cef_dialog_handler_t *(CEF_CALLBACK* get_dialog_handler)(cef_client_t *);
  cef_display_handler_t *(CEF_CALLBACK* get_display_handler)(cef_client_t *);
  cef_download_handler_t *(CEF_CALLBACK* get_download_handler)(cef_client_t *);
  cef_drag_handler_t *(CEF_CALLBACK* get_drag_handler)(cef_client_t *);
  cef_find_handler_t *(CEF_CALLBACK* get_find_handler)(cef_client_t *);
  cef_focus_handler_t *(CEF_CALLBACK* get_focus_handler)(cef_client_t *);
  cef_jsdialog_handler_t *(CEF_CALLBACK* get_jsdialog_handler)(cef_client_t *);
  cef_keyboard_handler_t *(CEF_CALLBACK* get_keyboard_handler)(cef_client_t *);
  cef_life_span_handler_t *(CEF_CALLBACK* get_life_span_handler)(cef_client_t *);
  cef_load_handler_t *(CEF_CALLBACK* get_load_handler)(cef_client_t *);
  cef_render_handler_t *(CEF_CALLBACK* get_render_handler)(cef_client_t *);
  cef_request_handler_t *(CEF_CALLBACK* get_request_handler)(cef_client_t *);
  int (CEF_CALLBACK* on_process_message_received)(cef_client_t *, cef_browser_t *, cef_frame_t *, cef_process_id_t, cef_process_message_t *);
};

// 72 bytes
struct _cef_context_menu_handler_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_before_context_menu)(cef_context_menu_handler_t *, cef_browser_t *, cef_frame_t *, cef_context_menu_params_t *, cef_menu_model_t *);
  int (CEF_CALLBACK* run_context_menu)(cef_context_menu_handler_t *, cef_browser_t *, cef_frame_t *, cef_context_menu_params_t *, cef_menu_model_t *, cef_run_context_menu_callback_t *);
  int (CEF_CALLBACK* on_context_menu_command)(cef_context_menu_handler_t *, cef_browser_t *, cef_frame_t *, cef_context_menu_params_t *, int, cef_event_flags_t);
  void (CEF_CALLBACK* on_context_menu_dismissed)(cef_context_menu_handler_t *, cef_browser_t *, cef_frame_t *);
};

// 48 bytes
struct _cef_cookie_visitor_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* visit)(cef_cookie_visitor_t *, const cef_cookie_t *, int, int, int *);
};

// 112 bytes
struct _cef_display_handler_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_address_change)(cef_display_handler_t *, cef_browser_t *, cef_frame_t *, const cef_string_t *);
  void (CEF_CALLBACK* on_title_change)(cef_display_handler_t *, cef_browser_t *, const cef_string_t *);
  void (CEF_CALLBACK* on_favicon_urlchange)(cef_display_handler_t *, cef_browser_t *, cef_string_list_t);
  void (CEF_CALLBACK* on_fullscreen_mode_change)(cef_display_handler_t *, cef_browser_t *, int);
  int (CEF_CALLBACK* on_tooltip)(cef_display_handler_t *, cef_browser_t *, cef_string_t *);
  void (CEF_CALLBACK* on_status_message)(cef_display_handler_t *, cef_browser_t *, const cef_string_t *);
  int (CEF_CALLBACK* on_console_message)(cef_display_handler_t *, cef_browser_t *, cef_log_severity_t, const cef_string_t *, const cef_string_t *, int);
  int (CEF_CALLBACK* on_auto_resize)(cef_display_handler_t *, cef_browser_t *, const cef_size_t *);
  void (CEF_CALLBACK* on_loading_progress_change)(cef_display_handler_t *, cef_browser_t *, double);
};

// 56 bytes
struct _cef_download_handler_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_before_download)(cef_download_handler_t *, cef_browser_t *, cef_download_item_t *, const cef_string_t *, cef_before_download_callback_t *);
  void (CEF_CALLBACK* on_download_updated)(cef_download_handler_t *, cef_browser_t *, cef_download_item_t *, cef_download_item_callback_t *);
};

// 64 bytes
struct _cef_focus_handler_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_take_focus)(cef_focus_handler_t *, cef_browser_t *, int);
  int (CEF_CALLBACK* on_set_focus)(cef_focus_handler_t *, cef_browser_t *, cef_focus_source_t);
  void (CEF_CALLBACK* on_got_focus)(cef_focus_handler_t *, cef_browser_t *);
};

// 72 bytes
struct _cef_jsdialog_handler_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* on_jsdialog)(cef_jsdialog_handler_t *, cef_browser_t *, const cef_string_t *, cef_jsdialog_type_t, const cef_string_t *, const cef_string_t *, cef_jsdialog_callback_t *, int *);
  int (CEF_CALLBACK* on_before_unload_dialog)(cef_jsdialog_handler_t *, cef_browser_t *, const cef_string_t *, int, cef_jsdialog_callback_t *);
  void (CEF_CALLBACK* on_reset_dialog_state)(cef_jsdialog_handler_t *, cef_browser_t *);
  void (CEF_CALLBACK* on_dialog_closed)(cef_jsdialog_handler_t *, cef_browser_t *);
};

// 56 bytes
struct _cef_keyboard_handler_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* on_pre_key_event)(cef_keyboard_handler_t *, cef_browser_t *, const cef_key_event_t *, cef_event_handle_msg_t *, int *);
  int (CEF_CALLBACK* on_key_event)(cef_keyboard_handler_t *, cef_browser_t *, const cef_key_event_t *, cef_event_handle_msg_t *);
};

// 72 bytes
struct _cef_life_span_handler_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* on_before_popup)(cef_life_span_handler_t *, cef_browser_t *, cef_frame_t *, const cef_string_t *, const cef_string_t *, cef_window_open_disposition_t, int, const cef_popup_features_t *, cef_window_info_t *, cef_client_t **, cef_browser_settings_t *, cef_dictionary_value_t **, int *);
  void (CEF_CALLBACK* on_after_created)(cef_life_span_handler_t *, cef_browser_t *);
  int (CEF_CALLBACK* do_close)(cef_life_span_handler_t *, cef_browser_t *);
  void (CEF_CALLBACK* on_before_close)(cef_life_span_handler_t *, cef_browser_t *);
};

// 72 bytes
struct _cef_load_handler_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_loading_state_change)(cef_load_handler_t *, cef_browser_t *, int, int, int);
  void (CEF_CALLBACK* on_load_start)(cef_load_handler_t *, cef_browser_t *, cef_frame_t *, cef_transition_type_t);
  void (CEF_CALLBACK* on_load_end)(cef_load_handler_t *, cef_browser_t *, cef_frame_t *, int);
  void (CEF_CALLBACK* on_load_error)(cef_load_handler_t *, cef_browser_t *, cef_frame_t *, cef_errorcode_t, const cef_string_t *, const cef_string_t *);
};

// 120 bytes
struct _cef_request_handler_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* on_before_browse)(cef_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *, int, int);
  int (CEF_CALLBACK* on_open_urlfrom_tab)(cef_request_handler_t *, cef_browser_t *, cef_frame_t *, const cef_string_t *, cef_window_open_disposition_t, int);
  cef_resource_request_handler_t *(CEF_CALLBACK* get_resource_request_handler)(cef_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *, int, int, const cef_string_t *, int *);
  int (CEF_CALLBACK* get_auth_credentials)(cef_request_handler_t *, cef_browser_t *, const cef_string_t *, int, const cef_string_t *, int, const cef_string_t *, const cef_string_t *, cef_auth_callback_t *);
  int (CEF_CALLBACK* on_quota_request)(cef_request_handler_t *, cef_browser_t *, const cef_string_t *, int64_t, cef_request_callback_t *);
  int (CEF_CALLBACK* on_certificate_error)(cef_request_handler_t *, cef_browser_t *, cef_errorcode_t, const cef_string_t *, cef_sslinfo_t *, cef_request_callback_t *);
  int (CEF_CALLBACK* on_select_client_certificate)(cef_request_handler_t *, cef_browser_t *, int, const cef_string_t *, int, size_t, cef_x509certificate_t *const *, cef_select_client_certificate_callback_t *);
  void (CEF_CALLBACK* on_plugin_crashed)(cef_request_handler_t *, cef_browser_t *, const cef_string_t *);
  void (CEF_CALLBACK* on_render_view_ready)(cef_request_handler_t *, cef_browser_t *);
  void (CEF_CALLBACK* on_render_process_terminated)(cef_request_handler_t *, cef_browser_t *, cef_termination_status_t);
};

// 48 bytes
struct _cef_string_visitor_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* visit)(cef_string_visitor_t *, const cef_string_t *);
};

// 200 bytes
struct _cef_browser_t {
  cef_base_ref_counted_t base;
  cef_browser_host_t *(CEF_CALLBACK* get_host)(cef_browser_t *);
  int (CEF_CALLBACK* can_go_back)(cef_browser_t *);
  void (CEF_CALLBACK* go_back)(cef_browser_t *);
  int (CEF_CALLBACK* can_go_forward)(cef_browser_t *);
  void (CEF_CALLBACK* go_forward)(cef_browser_t *);
  int (CEF_CALLBACK* is_loading)(cef_browser_t *);
  void (CEF_CALLBACK* reload)(cef_browser_t *);
  void (CEF_CALLBACK* reload_ignore_cache)(cef_browser_t *);
  void (CEF_CALLBACK* stop_load)(cef_browser_t *);
  int (CEF_CALLBACK* get_identifier)(cef_browser_t *);
  int (CEF_CALLBACK* is_same)(cef_browser_t *, cef_browser_t *);
  int (CEF_CALLBACK* is_popup)(cef_browser_t *);
  int (CEF_CALLBACK* has_document)(cef_browser_t *);
  cef_frame_t *(CEF_CALLBACK* get_main_frame)(cef_browser_t *);
  cef_frame_t *(CEF_CALLBACK* get_focused_frame)(cef_browser_t *);
  cef_frame_t *(CEF_CALLBACK* get_frame_byident)(cef_browser_t *, int64_t);
  cef_frame_t *(CEF_CALLBACK* get_frame)(cef_browser_t *, const cef_string_t *);
  size_t (CEF_CALLBACK* get_frame_count)(cef_browser_t *);
  void (CEF_CALLBACK* get_frame_identifiers)(cef_browser_t *, size_t *, int64_t *);
  void (CEF_CALLBACK* get_frame_names)(cef_browser_t *, cef_string_list_t);
};

// 512 bytes
struct _cef_browser_host_t {
  cef_base_ref_counted_t base;
  cef_browser_t *(CEF_CALLBACK* get_browser)(cef_browser_host_t *);
  void (CEF_CALLBACK* close_browser)(cef_browser_host_t *, int);
  int (CEF_CALLBACK* try_close_browser)(cef_browser_host_t *);
  void (CEF_CALLBACK* set_focus)(cef_browser_host_t *, int);
  cef_window_handle_t (CEF_CALLBACK* get_window_handle)(cef_browser_host_t *);
  cef_window_handle_t (CEF_CALLBACK* get_opener_window_handle)(cef_browser_host_t *);
  int (CEF_CALLBACK* has_view)(cef_browser_host_t *);
  cef_client_t *(CEF_CALLBACK* get_client)(cef_browser_host_t *);
  cef_request_context_t *(CEF_CALLBACK* get_request_context)(cef_browser_host_t *);
  double (CEF_CALLBACK* get_zoom_level)(cef_browser_host_t *);
  void (CEF_CALLBACK* set_zoom_level)(cef_browser_host_t *, double);
  void (CEF_CALLBACK* run_file_dialog)(cef_browser_host_t *, cef_file_dialog_mode_t, const cef_string_t *, const cef_string_t *, cef_string_list_t, int, cef_run_file_dialog_callback_t *);
  void (CEF_CALLBACK* start_download)(cef_browser_host_t *, const cef_string_t *);
  void (CEF_CALLBACK* download_image)(cef_browser_host_t *, const cef_string_t *, int, uint32_t, int, cef_download_image_callback_t *);
  void (CEF_CALLBACK* print)(cef_browser_host_t *);
  void (CEF_CALLBACK* print_to_pdf)(cef_browser_host_t *, const cef_string_t *, const cef_pdf_print_settings_t *, cef_pdf_print_callback_t *);
  void (CEF_CALLBACK* find)(cef_browser_host_t *, int, const cef_string_t *, int, int, int);
  void (CEF_CALLBACK* stop_finding)(cef_browser_host_t *, int);
  void (CEF_CALLBACK* show_dev_tools)(cef_browser_host_t *, const cef_window_info_t *, cef_client_t *, const cef_browser_settings_t *, const cef_point_t *);
  void (CEF_CALLBACK* close_dev_tools)(cef_browser_host_t *);
  int (CEF_CALLBACK* has_dev_tools)(cef_browser_host_t *);
  void (CEF_CALLBACK* get_navigation_entries)(cef_browser_host_t *, cef_navigation_entry_visitor_t *, int);
  void (CEF_CALLBACK* set_mouse_cursor_change_disabled)(cef_browser_host_t *, int);
  int (CEF_CALLBACK* is_mouse_cursor_change_disabled)(cef_browser_host_t *);
  void (CEF_CALLBACK* replace_misspelling)(cef_browser_host_t *, const cef_string_t *);
  void (CEF_CALLBACK* add_word_to_dictionary)(cef_browser_host_t *, const cef_string_t *);
  int (CEF_CALLBACK* is_window_rendering_disabled)(cef_browser_host_t *);
  void (CEF_CALLBACK* was_resized)(cef_browser_host_t *);
  void (CEF_CALLBACK* was_hidden)(cef_browser_host_t *, int);
  void (CEF_CALLBACK* notify_screen_info_changed)(cef_browser_host_t *);
  void (CEF_CALLBACK* invalidate)(cef_browser_host_t *, cef_paint_element_type_t);
  void (CEF_CALLBACK* send_external_begin_frame)(cef_browser_host_t *);
  void (CEF_CALLBACK* send_key_event)(cef_browser_host_t *, const cef_key_event_t *);
  void (CEF_CALLBACK* send_mouse_click_event)(cef_browser_host_t *, const cef_mouse_event_t *, cef_mouse_button_type_t, int, int);
  void (CEF_CALLBACK* send_mouse_move_event)(cef_browser_host_t *, const cef_mouse_event_t *, int);
  void (CEF_CALLBACK* send_mouse_wheel_event)(cef_browser_host_t *, const cef_mouse_event_t *, int, int);
  void (CEF_CALLBACK* send_touch_event)(cef_browser_host_t *, const cef_touch_event_t *);
  void (CEF_CALLBACK* send_focus_event)(cef_browser_host_t *, int);
  void (CEF_CALLBACK* send_capture_lost_event)(cef_browser_host_t *);
  void (CEF_CALLBACK* notify_move_or_resize_started)(cef_browser_host_t *);
  int (CEF_CALLBACK* get_windowless_frame_rate)(cef_browser_host_t *);
  void (CEF_CALLBACK* set_windowless_frame_rate)(cef_browser_host_t *, int);
  void (CEF_CALLBACK* ime_set_composition)(cef_browser_host_t *, const cef_string_t *, size_t, const cef_composition_underline_t *, const cef_range_t *, const cef_range_t *);
  void (CEF_CALLBACK* ime_commit_text)(cef_browser_host_t *, const cef_string_t *, const cef_range_t *, int);
  void (CEF_CALLBACK* ime_finish_composing_text)(cef_browser_host_t *, int);
  void (CEF_CALLBACK* ime_cancel_composition)(cef_browser_host_t *);
  void (CEF_CALLBACK* drag_target_drag_enter)(cef_browser_host_t *, cef_drag_data_t *, const cef_mouse_event_t *, cef_drag_operations_mask_t);
  void (CEF_CALLBACK* drag_target_drag_over)(cef_browser_host_t *, const cef_mouse_event_t *, cef_drag_operations_mask_t);
  void (CEF_CALLBACK* drag_target_drag_leave)(cef_browser_host_t *);
  void (CEF_CALLBACK* drag_target_drop)(cef_browser_host_t *, const cef_mouse_event_t *);
  void (CEF_CALLBACK* drag_source_ended_at)(cef_browser_host_t *, int, int, cef_drag_operations_mask_t);
  void (CEF_CALLBACK* drag_source_system_drag_ended)(cef_browser_host_t *);
  cef_navigation_entry_t *(CEF_CALLBACK* get_visible_navigation_entry)(cef_browser_host_t *);
  void (CEF_CALLBACK* set_accessibility_state)(cef_browser_host_t *, cef_state_t);
  void (CEF_CALLBACK* set_auto_resize_enabled)(cef_browser_host_t *, int, const cef_size_t *, const cef_size_t *);
  cef_extension_t *(CEF_CALLBACK* get_extension)(cef_browser_host_t *);
  int (CEF_CALLBACK* is_background_host)(cef_browser_host_t *);
  void (CEF_CALLBACK* set_audio_muted)(cef_browser_host_t *, int);
  int (CEF_CALLBACK* is_audio_muted)(cef_browser_host_t *);
};

// 248 bytes
struct _cef_frame_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_valid)(cef_frame_t *);
  void (CEF_CALLBACK* undo)(cef_frame_t *);
  void (CEF_CALLBACK* redo)(cef_frame_t *);
  void (CEF_CALLBACK* cut)(cef_frame_t *);
  void (CEF_CALLBACK* copy)(cef_frame_t *);
  void (CEF_CALLBACK* paste)(cef_frame_t *);
  void (CEF_CALLBACK* del)(cef_frame_t *);
  void (CEF_CALLBACK* select_all)(cef_frame_t *);
  void (CEF_CALLBACK* view_source)(cef_frame_t *);
  void (CEF_CALLBACK* get_source)(cef_frame_t *, cef_string_visitor_t *);
  void (CEF_CALLBACK* get_text)(cef_frame_t *, cef_string_visitor_t *);
  void (CEF_CALLBACK* load_request)(cef_frame_t *, cef_request_t *);
  void (CEF_CALLBACK* load_url)(cef_frame_t *, const cef_string_t *);
  void (CEF_CALLBACK* load_string)(cef_frame_t *, const cef_string_t *, const cef_string_t *);
  void (CEF_CALLBACK* execute_java_script)(cef_frame_t *, const cef_string_t *, const cef_string_t *, int);
  int (CEF_CALLBACK* is_main)(cef_frame_t *);
  int (CEF_CALLBACK* is_focused)(cef_frame_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_name)(cef_frame_t *);
  int64_t (CEF_CALLBACK* get_identifier)(cef_frame_t *);
  cef_frame_t *(CEF_CALLBACK* get_parent)(cef_frame_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_url)(cef_frame_t *);
  cef_browser_t *(CEF_CALLBACK* get_browser)(cef_frame_t *);
  cef_v8context_t *(CEF_CALLBACK* get_v8context)(cef_frame_t *);
  void (CEF_CALLBACK* visit_dom)(cef_frame_t *, cef_domvisitor_t *);
  cef_urlrequest_t *(CEF_CALLBACK* create_urlrequest)(cef_frame_t *, cef_request_t *, cef_urlrequest_client_t *);
  void (CEF_CALLBACK* send_process_message)(cef_frame_t *, cef_process_id_t, cef_process_message_t *);
};

// 216 bytes
struct _cef_request_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_read_only)(cef_request_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_url)(cef_request_t *);
  void (CEF_CALLBACK* set_url)(cef_request_t *, const cef_string_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_method)(cef_request_t *);
  void (CEF_CALLBACK* set_method)(cef_request_t *, const cef_string_t *);
  void (CEF_CALLBACK* set_referrer)(cef_request_t *, const cef_string_t *, cef_referrer_policy_t);
  cef_string_userfree_t (CEF_CALLBACK* get_referrer_url)(cef_request_t *);
  cef_referrer_policy_t (CEF_CALLBACK* get_referrer_policy)(cef_request_t *);
  cef_post_data_t *(CEF_CALLBACK* get_post_data)(cef_request_t *);
  void (CEF_CALLBACK* set_post_data)(cef_request_t *, cef_post_data_t *);
  void (CEF_CALLBACK* get_header_map)(cef_request_t *, cef_string_multimap_t);
  void (CEF_CALLBACK* set_header_map)(cef_request_t *, cef_string_multimap_t);
  cef_string_userfree_t (CEF_CALLBACK* get_header_by_name)(cef_request_t *, const cef_string_t *);
  void (CEF_CALLBACK* set_header_by_name)(cef_request_t *, const cef_string_t *, const cef_string_t *, int);
  void (CEF_CALLBACK* set)(cef_request_t *, const cef_string_t *, const cef_string_t *, cef_post_data_t *, cef_string_multimap_t);
  int (CEF_CALLBACK* get_flags)(cef_request_t *);
  void (CEF_CALLBACK* set_flags)(cef_request_t *, int);
  cef_string_userfree_t (CEF_CALLBACK* get_first_party_for_cookies)(cef_request_t *);
  void (CEF_CALLBACK* set_first_party_for_cookies)(cef_request_t *, const cef_string_t *);
  cef_resource_type_t (CEF_CALLBACK* get_resource_type)(cef_request_t *);
  cef_transition_type_t (CEF_CALLBACK* get_transition_type)(cef_request_t *);
  uint64_t (CEF_CALLBACK* get_identifier)(cef_request_t *);
};

// 96 bytes
struct _cef_post_data_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_read_only)(cef_post_data_t *);
  int (CEF_CALLBACK* has_excluded_elements)(cef_post_data_t *);
  size_t (CEF_CALLBACK* get_element_count)(cef_post_data_t *);
  void (CEF_CALLBACK* get_elements)(cef_post_data_t *, size_t *, cef_post_data_element_t **);
  int (CEF_CALLBACK* remove_element)(cef_post_data_t *, cef_post_data_element_t *);
  int (CEF_CALLBACK* add_element)(cef_post_data_t *, cef_post_data_element_t *);
  void (CEF_CALLBACK* remove_elements)(cef_post_data_t *);
};

// 104 bytes
struct _cef_post_data_element_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_read_only)(cef_post_data_element_t *);
  void (CEF_CALLBACK* set_to_empty)(cef_post_data_element_t *);
  void (CEF_CALLBACK* set_to_file)(cef_post_data_element_t *, const cef_string_t *);
  void (CEF_CALLBACK* set_to_bytes)(cef_post_data_element_t *, size_t, const void *);
  cef_postdataelement_type_t (CEF_CALLBACK* get_type)(cef_post_data_element_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_file)(cef_post_data_element_t *);
  size_t (CEF_CALLBACK* get_bytes_count)(cef_post_data_element_t *);
  size_t (CEF_CALLBACK* get_bytes)(cef_post_data_element_t *, size_t, void *);
};

// 80 bytes
struct _cef_process_message_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_valid)(cef_process_message_t *);
  int (CEF_CALLBACK* is_read_only)(cef_process_message_t *);
  cef_process_message_t *(CEF_CALLBACK* copy)(cef_process_message_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_name)(cef_process_message_t *);
  cef_list_value_t *(CEF_CALLBACK* get_argument_list)(cef_process_message_t *);
};

// 264 bytes
struct _cef_list_value_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_valid)(cef_list_value_t *);
  int (CEF_CALLBACK* is_owned)(cef_list_value_t *);
  int (CEF_CALLBACK* is_read_only)(cef_list_value_t *);
  int (CEF_CALLBACK* is_same)(cef_list_value_t *, cef_list_value_t *);
  int (CEF_CALLBACK* is_equal)(cef_list_value_t *, cef_list_value_t *);
  cef_list_value_t *(CEF_CALLBACK* copy)(cef_list_value_t *);
  int (CEF_CALLBACK* set_size)(cef_list_value_t *, size_t);
  size_t (CEF_CALLBACK* get_size)(cef_list_value_t *);
  int (CEF_CALLBACK* clear)(cef_list_value_t *);
  int (CEF_CALLBACK* remove)(cef_list_value_t *, size_t);
  cef_value_type_t (CEF_CALLBACK* get_type)(cef_list_value_t *, size_t);
  cef_value_t *(CEF_CALLBACK* get_value)(cef_list_value_t *, size_t);
  int (CEF_CALLBACK* get_bool)(cef_list_value_t *, size_t);
  int (CEF_CALLBACK* get_int)(cef_list_value_t *, size_t);
  double (CEF_CALLBACK* get_double)(cef_list_value_t *, size_t);
  cef_string_userfree_t (CEF_CALLBACK* get_string)(cef_list_value_t *, size_t);
  cef_binary_value_t *(CEF_CALLBACK* get_binary)(cef_list_value_t *, size_t);
  cef_dictionary_value_t *(CEF_CALLBACK* get_dictionary)(cef_list_value_t *, size_t);
  cef_list_value_t *(CEF_CALLBACK* get_list)(cef_list_value_t *, size_t);
  int (CEF_CALLBACK* set_value)(cef_list_value_t *, size_t, cef_value_t *);
  int (CEF_CALLBACK* set_null)(cef_list_value_t *, size_t);
  int (CEF_CALLBACK* set_bool)(cef_list_value_t *, size_t, int);
  int (CEF_CALLBACK* set_int)(cef_list_value_t *, size_t, int);
  int (CEF_CALLBACK* set_double)(cef_list_value_t *, size_t, double);
  int (CEF_CALLBACK* set_string)(cef_list_value_t *, size_t, const cef_string_t *);
  int (CEF_CALLBACK* set_binary)(cef_list_value_t *, size_t, cef_binary_value_t *);
  int (CEF_CALLBACK* set_dictionary)(cef_list_value_t *, size_t, cef_dictionary_value_t *);
  int (CEF_CALLBACK* set_list)(cef_list_value_t *, size_t, cef_list_value_t *);
};

// 112 bytes
struct _cef_v8context_t {
  cef_base_ref_counted_t base;
  cef_task_runner_t *(CEF_CALLBACK* get_task_runner)(cef_v8context_t *);
  int (CEF_CALLBACK* is_valid)(cef_v8context_t *);
  cef_browser_t *(CEF_CALLBACK* get_browser)(cef_v8context_t *);
  cef_frame_t *(CEF_CALLBACK* get_frame)(cef_v8context_t *);
  cef_v8value_t *(CEF_CALLBACK* get_global)(cef_v8context_t *);
  int (CEF_CALLBACK* enter)(cef_v8context_t *);
  int (CEF_CALLBACK* exit)(cef_v8context_t *);
  int (CEF_CALLBACK* is_same)(cef_v8context_t *, cef_v8context_t *);
  int (CEF_CALLBACK* eval)(cef_v8context_t *, const cef_string_t *, const cef_string_t *, int, cef_v8value_t **, cef_v8exception_t **);
};

// 416 bytes
struct _cef_v8value_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_valid)(cef_v8value_t *);
  int (CEF_CALLBACK* is_undefined)(cef_v8value_t *);
  int (CEF_CALLBACK* is_null)(cef_v8value_t *);
  int (CEF_CALLBACK* is_bool)(cef_v8value_t *);
  int (CEF_CALLBACK* is_int)(cef_v8value_t *);
  int (CEF_CALLBACK* is_uint)(cef_v8value_t *);
  int (CEF_CALLBACK* is_double)(cef_v8value_t *);
  int (CEF_CALLBACK* is_date)(cef_v8value_t *);
  int (CEF_CALLBACK* is_string)(cef_v8value_t *);
  int (CEF_CALLBACK* is_object)(cef_v8value_t *);
  int (CEF_CALLBACK* is_array)(cef_v8value_t *);
  int (CEF_CALLBACK* is_array_buffer)(cef_v8value_t *);
  int (CEF_CALLBACK* is_function)(cef_v8value_t *);
  int (CEF_CALLBACK* is_same)(cef_v8value_t *, cef_v8value_t *);
  int (CEF_CALLBACK* get_bool_value)(cef_v8value_t *);
  int32_t (CEF_CALLBACK* get_int_value)(cef_v8value_t *);
  uint32_t (CEF_CALLBACK* get_uint_value)(cef_v8value_t *);
  double (CEF_CALLBACK* get_double_value)(cef_v8value_t *);
  cef_time_t (CEF_CALLBACK* get_date_value)(cef_v8value_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_string_value)(cef_v8value_t *);
  int (CEF_CALLBACK* is_user_created)(cef_v8value_t *);
  int (CEF_CALLBACK* has_exception)(cef_v8value_t *);
  cef_v8exception_t *(CEF_CALLBACK* get_exception)(cef_v8value_t *);
  int (CEF_CALLBACK* clear_exception)(cef_v8value_t *);
  int (CEF_CALLBACK* will_rethrow_exceptions)(cef_v8value_t *);
  int (CEF_CALLBACK* set_rethrow_exceptions)(cef_v8value_t *, int);
  int (CEF_CALLBACK* has_value_bykey)(cef_v8value_t *, const cef_string_t *);
  int (CEF_CALLBACK* has_value_byindex)(cef_v8value_t *, int);
  int (CEF_CALLBACK* delete_value_bykey)(cef_v8value_t *, const cef_string_t *);
  int (CEF_CALLBACK* delete_value_byindex)(cef_v8value_t *, int);
  cef_v8value_t *(CEF_CALLBACK* get_value_bykey)(cef_v8value_t *, const cef_string_t *);
  cef_v8value_t *(CEF_CALLBACK* get_value_byindex)(cef_v8value_t *, int);
  int (CEF_CALLBACK* set_value_bykey)(cef_v8value_t *, const cef_string_t *, cef_v8value_t *, cef_v8_propertyattribute_t);
  int (CEF_CALLBACK* set_value_byindex)(cef_v8value_t *, int, cef_v8value_t *);
  int (CEF_CALLBACK* set_value_byaccessor)(cef_v8value_t *, const cef_string_t *, cef_v8_accesscontrol_t, cef_v8_propertyattribute_t);
  int (CEF_CALLBACK* get_keys)(cef_v8value_t *, cef_string_list_t);
  int (CEF_CALLBACK* set_user_data)(cef_v8value_t *, cef_base_ref_counted_t *);
  cef_base_ref_counted_t *(CEF_CALLBACK* get_user_data)(cef_v8value_t *);
  int (CEF_CALLBACK* get_externally_allocated_memory)(cef_v8value_t *);
  int (CEF_CALLBACK* adjust_externally_allocated_memory)(cef_v8value_t *, int);
  int (CEF_CALLBACK* get_array_length)(cef_v8value_t *);
  cef_v8array_buffer_release_callback_t *(CEF_CALLBACK* get_array_buffer_release_callback)(cef_v8value_t *);
  int (CEF_CALLBACK* neuter_array_buffer)(cef_v8value_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_function_name)(cef_v8value_t *);
  cef_v8handler_t *(CEF_CALLBACK* get_function_handler)(cef_v8value_t *);
  cef_v8value_t *(CEF_CALLBACK* execute_function)(cef_v8value_t *, cef_v8value_t *, size_t, cef_v8value_t *const *);
  cef_v8value_t *(CEF_CALLBACK* execute_function_with_context)(cef_v8value_t *, cef_v8context_t *, cef_v8value_t *, size_t, cef_v8value_t *const *);
};

// 48 bytes
struct _cef_v8handler_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* execute)(cef_v8handler_t *, const cef_string_t *, cef_v8value_t *, size_t, cef_v8value_t *const *, cef_v8value_t **, cef_string_t *);
};

// 104 bytes
struct _cef_v8exception_t {
  cef_base_ref_counted_t base;
  cef_string_userfree_t (CEF_CALLBACK* get_message)(cef_v8exception_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_source_line)(cef_v8exception_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_script_resource_name)(cef_v8exception_t *);
  int (CEF_CALLBACK* get_line_number)(cef_v8exception_t *);
  int (CEF_CALLBACK* get_start_position)(cef_v8exception_t *);
  int (CEF_CALLBACK* get_end_position)(cef_v8exception_t *);
  int (CEF_CALLBACK* get_start_column)(cef_v8exception_t *);
  int (CEF_CALLBACK* get_end_column)(cef_v8exception_t *);
};

// 88 bytes
struct _cef_cookie_manager_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* set_supported_schemes)(cef_cookie_manager_t *, cef_string_list_t, int, cef_completion_callback_t *);
  int (CEF_CALLBACK* visit_all_cookies)(cef_cookie_manager_t *, cef_cookie_visitor_t *);
  int (CEF_CALLBACK* visit_url_cookies)(cef_cookie_manager_t *, const cef_string_t *, int, cef_cookie_visitor_t *);
  int (CEF_CALLBACK* set_cookie)(cef_cookie_manager_t *, const cef_string_t *, const cef_cookie_t *, cef_set_cookie_callback_t *);
  int (CEF_CALLBACK* delete_cookies)(cef_cookie_manager_t *, const cef_string_t *, const cef_string_t *, cef_delete_cookies_callback_t *);
  int (CEF_CALLBACK* flush_store)(cef_cookie_manager_t *, cef_completion_callback_t *);
};

// 176 bytes
struct _cef_download_item_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_valid)(cef_download_item_t *);
  int (CEF_CALLBACK* is_in_progress)(cef_download_item_t *);
  int (CEF_CALLBACK* is_complete)(cef_download_item_t *);
  int (CEF_CALLBACK* is_canceled)(cef_download_item_t *);
  int64_t (CEF_CALLBACK* get_current_speed)(cef_download_item_t *);
  int (CEF_CALLBACK* get_percent_complete)(cef_download_item_t *);
  int64_t (CEF_CALLBACK* get_total_bytes)(cef_download_item_t *);
  int64_t (CEF_CALLBACK* get_received_bytes)(cef_download_item_t *);
  cef_time_t (CEF_CALLBACK* get_start_time)(cef_download_item_t *);
  cef_time_t (CEF_CALLBACK* get_end_time)(cef_download_item_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_full_path)(cef_download_item_t *);
  uint32_t (CEF_CALLBACK* get_id)(cef_download_item_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_url)(cef_download_item_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_original_url)(cef_download_item_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_suggested_file_name)(cef_download_item_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_content_disposition)(cef_download_item_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_mime_type)(cef_download_item_t *);
};

// 48 bytes
struct _cef_before_download_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* cont)(cef_before_download_callback_t *, const cef_string_t *, int);
};

// 64 bytes
struct _cef_download_item_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* cancel)(cef_download_item_callback_t *);
  void (CEF_CALLBACK* pause)(cef_download_item_callback_t *);
  void (CEF_CALLBACK* resume)(cef_download_item_callback_t *);
};

// 48 bytes
struct _cef_jsdialog_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* cont)(cef_jsdialog_callback_t *, int, const cef_string_t *);
};

// 56 bytes
struct _cef_run_context_menu_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* cont)(cef_run_context_menu_callback_t *, int, cef_event_flags_t);
  void (CEF_CALLBACK* cancel)(cef_run_context_menu_callback_t *);
};

// 56 bytes
struct _cef_auth_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* cont)(cef_auth_callback_t *, const cef_string_t *, const cef_string_t *);
  void (CEF_CALLBACK* cancel)(cef_auth_callback_t *);
};

// 200 bytes
struct _cef_command_line_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_valid)(cef_command_line_t *);
  int (CEF_CALLBACK* is_read_only)(cef_command_line_t *);
  cef_command_line_t *(CEF_CALLBACK* copy)(cef_command_line_t *);
  void (CEF_CALLBACK* init_from_argv)(cef_command_line_t *, int, const char *const *);
  void (CEF_CALLBACK* init_from_string)(cef_command_line_t *, const cef_string_t *);
  void (CEF_CALLBACK* reset)(cef_command_line_t *);
  void (CEF_CALLBACK* get_argv)(cef_command_line_t *, cef_string_list_t);
  cef_string_userfree_t (CEF_CALLBACK* get_command_line_string)(cef_command_line_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_program)(cef_command_line_t *);
  void (CEF_CALLBACK* set_program)(cef_command_line_t *, const cef_string_t *);
  int (CEF_CALLBACK* has_switches)(cef_command_line_t *);
  int (CEF_CALLBACK* has_switch)(cef_command_line_t *, const cef_string_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_switch_value)(cef_command_line_t *, const cef_string_t *);
  void (CEF_CALLBACK* get_switches)(cef_command_line_t *, cef_string_map_t);
  void (CEF_CALLBACK* append_switch)(cef_command_line_t *, const cef_string_t *);
  void (CEF_CALLBACK* append_switch_with_value)(cef_command_line_t *, const cef_string_t *, const cef_string_t *);
  int (CEF_CALLBACK* has_arguments)(cef_command_line_t *);
  void (CEF_CALLBACK* get_arguments)(cef_command_line_t *, cef_string_list_t);
  void (CEF_CALLBACK* append_argument)(cef_command_line_t *, const cef_string_t *);
  void (CEF_CALLBACK* prepend_wrapper)(cef_command_line_t *, const cef_string_t *);
};

// 208 bytes
struct _cef_context_menu_params_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* get_xcoord)(cef_context_menu_params_t *);
  int (CEF_CALLBACK* get_ycoord)(cef_context_menu_params_t *);
  cef_context_menu_type_flags_t (CEF_CALLBACK* get_type_flags)(cef_context_menu_params_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_link_url)(cef_context_menu_params_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_unfiltered_link_url)(cef_context_menu_params_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_source_url)(cef_context_menu_params_t *);
  int (CEF_CALLBACK* has_image_contents)(cef_context_menu_params_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_title_text)(cef_context_menu_params_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_page_url)(cef_context_menu_params_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_frame_url)(cef_context_menu_params_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_frame_charset)(cef_context_menu_params_t *);
  cef_context_menu_media_type_t (CEF_CALLBACK* get_media_type)(cef_context_menu_params_t *);
  cef_context_menu_media_state_flags_t (CEF_CALLBACK* get_media_state_flags)(cef_context_menu_params_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_selection_text)(cef_context_menu_params_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_misspelled_word)(cef_context_menu_params_t *);
  int (CEF_CALLBACK* get_dictionary_suggestions)(cef_context_menu_params_t *, cef_string_list_t);
  int (CEF_CALLBACK* is_editable)(cef_context_menu_params_t *);
  int (CEF_CALLBACK* is_spell_check_enabled)(cef_context_menu_params_t *);
  cef_context_menu_edit_state_flags_t (CEF_CALLBACK* get_edit_state_flags)(cef_context_menu_params_t *);
  int (CEF_CALLBACK* is_custom_menu)(cef_context_menu_params_t *);
  int (CEF_CALLBACK* is_pepper_menu)(cef_context_menu_params_t *);
};

// 488 bytes
struct _cef_menu_model_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_sub_menu)(cef_menu_model_t *);
  int (CEF_CALLBACK* clear)(cef_menu_model_t *);
  int (CEF_CALLBACK* get_count)(cef_menu_model_t *);
  int (CEF_CALLBACK* add_separator)(cef_menu_model_t *);
  int (CEF_CALLBACK* add_item)(cef_menu_model_t *, int, const cef_string_t *);
  int (CEF_CALLBACK* add_check_item)(cef_menu_model_t *, int, const cef_string_t *);
  int (CEF_CALLBACK* add_radio_item)(cef_menu_model_t *, int, const cef_string_t *, int);
  cef_menu_model_t *(CEF_CALLBACK* add_sub_menu)(cef_menu_model_t *, int, const cef_string_t *);
  int (CEF_CALLBACK* insert_separator_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* insert_item_at)(cef_menu_model_t *, int, int, const cef_string_t *);
  int (CEF_CALLBACK* insert_check_item_at)(cef_menu_model_t *, int, int, const cef_string_t *);
  int (CEF_CALLBACK* insert_radio_item_at)(cef_menu_model_t *, int, int, const cef_string_t *, int);
  cef_menu_model_t *(CEF_CALLBACK* insert_sub_menu_at)(cef_menu_model_t *, int, int, const cef_string_t *);
  int (CEF_CALLBACK* remove)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* remove_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* get_index_of)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* get_command_id_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* set_command_id_at)(cef_menu_model_t *, int, int);
  cef_string_userfree_t (CEF_CALLBACK* get_label)(cef_menu_model_t *, int);
  cef_string_userfree_t (CEF_CALLBACK* get_label_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* set_label)(cef_menu_model_t *, int, const cef_string_t *);
  int (CEF_CALLBACK* set_label_at)(cef_menu_model_t *, int, const cef_string_t *);
  cef_menu_item_type_t (CEF_CALLBACK* get_type)(cef_menu_model_t *, int);
  cef_menu_item_type_t (CEF_CALLBACK* get_type_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* get_group_id)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* get_group_id_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* set_group_id)(cef_menu_model_t *, int, int);
  int (CEF_CALLBACK* set_group_id_at)(cef_menu_model_t *, int, int);
  cef_menu_model_t *(CEF_CALLBACK* get_sub_menu)(cef_menu_model_t *, int);
  cef_menu_model_t *(CEF_CALLBACK* get_sub_menu_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* is_visible)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* is_visible_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* set_visible)(cef_menu_model_t *, int, int);
  int (CEF_CALLBACK* set_visible_at)(cef_menu_model_t *, int, int);
  int (CEF_CALLBACK* is_enabled)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* is_enabled_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* set_enabled)(cef_menu_model_t *, int, int);
  int (CEF_CALLBACK* set_enabled_at)(cef_menu_model_t *, int, int);
  int (CEF_CALLBACK* is_checked)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* is_checked_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* set_checked)(cef_menu_model_t *, int, int);
  int (CEF_CALLBACK* set_checked_at)(cef_menu_model_t *, int, int);
  int (CEF_CALLBACK* has_accelerator)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* has_accelerator_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* set_accelerator)(cef_menu_model_t *, int, int, int, int, int);
  int (CEF_CALLBACK* set_accelerator_at)(cef_menu_model_t *, int, int, int, int, int);
  int (CEF_CALLBACK* remove_accelerator)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* remove_accelerator_at)(cef_menu_model_t *, int);
  int (CEF_CALLBACK* get_accelerator)(cef_menu_model_t *, int, int *, int *, int *, int *);
  int (CEF_CALLBACK* get_accelerator_at)(cef_menu_model_t *, int, int *, int *, int *, int *);
  int (CEF_CALLBACK* set_color)(cef_menu_model_t *, int, cef_menu_color_type_t, cef_color_t);
  int (CEF_CALLBACK* set_color_at)(cef_menu_model_t *, int, cef_menu_color_type_t, cef_color_t);
  int (CEF_CALLBACK* get_color)(cef_menu_model_t *, int, cef_menu_color_type_t, cef_color_t *);
  int (CEF_CALLBACK* get_color_at)(cef_menu_model_t *, int, cef_menu_color_type_t, cef_color_t *);
  int (CEF_CALLBACK* set_font_list)(cef_menu_model_t *, int, const cef_string_t *);
  int (CEF_CALLBACK* set_font_list_at)(cef_menu_model_t *, int, const cef_string_t *);
};

// 56 bytes
struct _cef_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* cont)(cef_callback_t *);
  void (CEF_CALLBACK* cancel)(cef_callback_t *);
};

// 48 bytes
struct _cef_completion_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_complete)(cef_completion_callback_t *);
};

// 48 bytes
struct _cef_set_cookie_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_complete)(cef_set_cookie_callback_t *, int);
};

// 48 bytes
struct _cef_delete_cookies_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* on_complete)(cef_delete_cookies_callback_t *, int);
};

// 56 bytes
struct _cef_request_callback_t {
  cef_base_ref_counted_t base;
  void (CEF_CALLBACK* cont)(cef_request_callback_t *, int);
  void (CEF_CALLBACK* cancel)(cef_request_callback_t *);
};

// 104 bytes
struct _cef_resource_request_handler_t {
  cef_base_ref_counted_t base;
  cef_cookie_access_filter_t *(CEF_CALLBACK* get_cookie_access_filter)(cef_resource_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *);
  cef_return_value_t (CEF_CALLBACK* on_before_resource_load)(cef_resource_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *, cef_request_callback_t *);
  cef_resource_handler_t *(CEF_CALLBACK* get_resource_handler)(cef_resource_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *);
  void (CEF_CALLBACK* on_resource_redirect)(cef_resource_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *, cef_response_t *, cef_string_t *);
  int (CEF_CALLBACK* on_resource_response)(cef_resource_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *, cef_response_t *);
  cef_response_filter_t *(CEF_CALLBACK* get_resource_response_filter)(cef_resource_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *, cef_response_t *);
  void (CEF_CALLBACK* on_resource_load_complete)(cef_resource_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *, cef_response_t *, cef_urlrequest_status_t, int64_t);
  void (CEF_CALLBACK* on_protocol_execution)(cef_resource_request_handler_t *, cef_browser_t *, cef_frame_t *, cef_request_t *, int *);
};

// 272 bytes
struct _cef_dictionary_value_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_valid)(cef_dictionary_value_t *);
  int (CEF_CALLBACK* is_owned)(cef_dictionary_value_t *);
  int (CEF_CALLBACK* is_read_only)(cef_dictionary_value_t *);
  int (CEF_CALLBACK* is_same)(cef_dictionary_value_t *, cef_dictionary_value_t *);
  int (CEF_CALLBACK* is_equal)(cef_dictionary_value_t *, cef_dictionary_value_t *);
  cef_dictionary_value_t *(CEF_CALLBACK* copy)(cef_dictionary_value_t *, int);
  size_t (CEF_CALLBACK* get_size)(cef_dictionary_value_t *);
  int (CEF_CALLBACK* clear)(cef_dictionary_value_t *);
  int (CEF_CALLBACK* has_key)(cef_dictionary_value_t *, const cef_string_t *);
  int (CEF_CALLBACK* get_keys)(cef_dictionary_value_t *, cef_string_list_t);
  int (CEF_CALLBACK* remove)(cef_dictionary_value_t *, const cef_string_t *);
  cef_value_type_t (CEF_CALLBACK* get_type)(cef_dictionary_value_t *, const cef_string_t *);
  cef_value_t *(CEF_CALLBACK* get_value)(cef_dictionary_value_t *, const cef_string_t *);
  int (CEF_CALLBACK* get_bool)(cef_dictionary_value_t *, const cef_string_t *);
  int (CEF_CALLBACK* get_int)(cef_dictionary_value_t *, const cef_string_t *);
  double (CEF_CALLBACK* get_double)(cef_dictionary_value_t *, const cef_string_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_string)(cef_dictionary_value_t *, const cef_string_t *);
  cef_binary_value_t *(CEF_CALLBACK* get_binary)(cef_dictionary_value_t *, const cef_string_t *);
  cef_dictionary_value_t *(CEF_CALLBACK* get_dictionary)(cef_dictionary_value_t *, const cef_string_t *);
  cef_list_value_t *(CEF_CALLBACK* get_list)(cef_dictionary_value_t *, const cef_string_t *);
  int (CEF_CALLBACK* set_value)(cef_dictionary_value_t *, const cef_string_t *, cef_value_t *);
  int (CEF_CALLBACK* set_null)(cef_dictionary_value_t *, const cef_string_t *);
  int (CEF_CALLBACK* set_bool)(cef_dictionary_value_t *, const cef_string_t *, int);
  int (CEF_CALLBACK* set_int)(cef_dictionary_value_t *, const cef_string_t *, int);
  int (CEF_CALLBACK* set_double)(cef_dictionary_value_t *, const cef_string_t *, double);
  int (CEF_CALLBACK* set_string)(cef_dictionary_value_t *, const cef_string_t *, const cef_string_t *);
  int (CEF_CALLBACK* set_binary)(cef_dictionary_value_t *, const cef_string_t *, cef_binary_value_t *);
  int (CEF_CALLBACK* set_dictionary)(cef_dictionary_value_t *, const cef_string_t *, cef_dictionary_value_t *);
  int (CEF_CALLBACK* set_list)(cef_dictionary_value_t *, const cef_string_t *, cef_list_value_t *);
};

// 216 bytes
struct _cef_value_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_valid)(cef_value_t *);
  int (CEF_CALLBACK* is_owned)(cef_value_t *);
  int (CEF_CALLBACK* is_read_only)(cef_value_t *);
  int (CEF_CALLBACK* is_same)(cef_value_t *, cef_value_t *);
  int (CEF_CALLBACK* is_equal)(cef_value_t *, cef_value_t *);
  cef_value_t *(CEF_CALLBACK* copy)(cef_value_t *);
  cef_value_type_t (CEF_CALLBACK* get_type)(cef_value_t *);
  int (CEF_CALLBACK* get_bool)(cef_value_t *);
  int (CEF_CALLBACK* get_int)(cef_value_t *);
  double (CEF_CALLBACK* get_double)(cef_value_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_string)(cef_value_t *);
  cef_binary_value_t *(CEF_CALLBACK* get_binary)(cef_value_t *);
  cef_dictionary_value_t *(CEF_CALLBACK* get_dictionary)(cef_value_t *);
  cef_list_value_t *(CEF_CALLBACK* get_list)(cef_value_t *);
  int (CEF_CALLBACK* set_null)(cef_value_t *);
  int (CEF_CALLBACK* set_bool)(cef_value_t *, int);
  int (CEF_CALLBACK* set_int)(cef_value_t *, int);
  int (CEF_CALLBACK* set_double)(cef_value_t *, double);
  int (CEF_CALLBACK* set_string)(cef_value_t *, const cef_string_t *);
  int (CEF_CALLBACK* set_binary)(cef_value_t *, cef_binary_value_t *);
  int (CEF_CALLBACK* set_dictionary)(cef_value_t *, cef_dictionary_value_t *);
  int (CEF_CALLBACK* set_list)(cef_value_t *, cef_list_value_t *);
};

// 96 bytes
struct _cef_binary_value_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_valid)(cef_binary_value_t *);
  int (CEF_CALLBACK* is_owned)(cef_binary_value_t *);
  int (CEF_CALLBACK* is_same)(cef_binary_value_t *, cef_binary_value_t *);
  int (CEF_CALLBACK* is_equal)(cef_binary_value_t *, cef_binary_value_t *);
  cef_binary_value_t *(CEF_CALLBACK* copy)(cef_binary_value_t *);
  size_t (CEF_CALLBACK* get_size)(cef_binary_value_t *);
  size_t (CEF_CALLBACK* get_data)(cef_binary_value_t *, void *, size_t, size_t);
};

// 168 bytes
struct _cef_response_t {
  cef_base_ref_counted_t base;
  int (CEF_CALLBACK* is_read_only)(cef_response_t *);
  cef_errorcode_t (CEF_CALLBACK* get_error)(cef_response_t *);
  void (CEF_CALLBACK* set_error)(cef_response_t *, cef_errorcode_t);
  int (CEF_CALLBACK* get_status)(cef_response_t *);
  void (CEF_CALLBACK* set_status)(cef_response_t *, int);
  cef_string_userfree_t (CEF_CALLBACK* get_status_text)(cef_response_t *);
  void (CEF_CALLBACK* set_status_text)(cef_response_t *, const cef_string_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_mime_type)(cef_response_t *);
  void (CEF_CALLBACK* set_mime_type)(cef_response_t *, const cef_string_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_charset)(cef_response_t *);
  void (CEF_CALLBACK* set_charset)(cef_response_t *, const cef_string_t *);
  cef_string_userfree_t (CEF_CALLBACK* get_header)(cef_response_t *, const cef_string_t *);
  void (CEF_CALLBACK* get_header_map)(cef_response_t *, cef_string_multimap_t);
  void (CEF_CALLBACK* set_header_map)(cef_response_t *, cef_string_multimap_t);
  cef_string_userfree_t (CEF_CALLBACK* get_url)(cef_response_t *);
  void (CEF_CALLBACK* set_url)(cef_response_t *, const cef_string_t *);
};

}  // extern "C"
