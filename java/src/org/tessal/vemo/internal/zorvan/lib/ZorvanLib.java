package org.tessal.vemo.internal.zorvan.lib;

/**
 * The engine bridge library's functions, one native per {@code cefvemo_}
 * export of the same name, and the copies of handler-table mirrors into
 * native memory.
 *
 * <p>Native addresses (browsers, frames, CEF objects and callbacks, handler
 * tables, thunk addresses, native strings) travel as {@code long}. Strings
 * are lent to the engine for the call only; a null string is a null pointer.
 * Every call into the engine is made on the thread that called
 * {@code cefvemo_init}.
 */
public final class ZorvanLib {
    static {
        System.loadLibrary("vemo-zorvan-52013-win32");
    }

    private ZorvanLib() {}

    // Engine lifecycle.
    public static native void cefvemo_init(long app, String engineDir, String options, int debugPort);
    public static native int cefvemo_do_message_loop_work();
    public static native void cefvemo_shutdown();
    public static native void cefvemo_set_command(long commandLine, String name, String value);

    // Browser views.
    /** The new browser with one reference for the caller, or 0. */
    public static native long cefvemo_create_browser(long parent, String url, long client, int width,
                                                     int height, int javascript, int background);
    public static native void cefvemo_set_window_info_parent(long windowInfo, long clientSlot,
                                                             long client, long parent, int x, int y,
                                                             int width, int height);
    public static native void cefvemo_resized(long browser, int width, int height);
    public static native void cefvemo_close_browser(long browser, int force);
    /** The third argument is not used. */
    public static native void cefvemo_set_focus(long browser, boolean focus, long unused);
    public static native int cefvemo_ref(long browser, int add);
    public static native void cefvemo_free(long browser);
    public static native int cefvemo_get_id(long browser);
    public static native int cefvemo_is_same(long browser, long other);
    public static native int cefvemo_is_main_frame(long frame);

    // Navigation and page content.
    /**
     * Loads {@code url}, with {@code post} as the body of a POST when not
     * null (at most {@code postLength} bytes of it, never more than the
     * array holds) and {@code headerCount} header lines from {@code headers}.
     */
    public static native void cefvemo_load_url(long browser, String url, byte[] post, int postLength,
                                               String headers, int headerCount);
    public static native void cefvemo_stop(long browser);
    public static native void cefvemo_reload(long browser);
    public static native void cefvemo_go_back(long browser);
    public static native void cefvemo_go_forward(long browser);
    /** Address of a user-free string: read and free it with {@code cefvemo_cstring_to_java(url, true)}. */
    public static native long cefvemo_get_url(long browser);
    public static native void cefvemo_get_text(long browser, long visitor);

    // Script.
    public static native void cefvemo_execute(long browser, String script);
    public static native boolean cefvemo_eval(long browser, String script, int port, long callback);
    public static native boolean cefvemo_function(long browser, String name, int id);
    /** Fills {@code record} from a "function_call" message; a null record makes no call. */
    public static native void cefvemo_function_id(long message, FunctionSt record);
    public static native void cefvemo_function_arg(long message, int index, long callback);
    public static native boolean cefvemo_function_return(long browser, int unused, int port, int kind,
                                                         String value);

    // Cookies.
    public static native boolean cefvemo_set_cookie(String url, String name, String value,
                                                    String domain, String path, int secure,
                                                    int httponly, double expires);
    public static native boolean cefvemo_get_cookie(String url, long visitor);
    public static native void cefvemo_delete_cookies();

    // Handler continuations.
    public static native void cefvemo_download_callback(long callback, String path, int cont);
    /** Fills {@code record} from {@code item}, or with item 0 frees its strings; a null record makes no call. */
    public static native void cefvemo_download_item(long item, DownloadItem record);
    public static native void cefvemo_dialog_close(long callback, int success, long userInput);
    public static native void cefvemo_context_menu_cancel(long callback);
    public static native void cefvemo_auth_callback(long callback, String userName, String password,
                                                    int cont);
    public static native int cefvemo_handlekey(long browser, long keyEvent);

    // Engine text as Java strings (exact: every character, NUL and
    // supplementary characters included; invalid bytes read as U+FFFD).
    public static native String cefvemo_cefstring_to_java(long cefString);
    public static native String cefvemo_cookie_to_java(long cefString);
    public static native String cefvemo_cookie_value(long cookie);
    public static native String cefvemo_request_to_java(long request);
    /**
     * The text at {@code address}: with {@code free} a user-free string of the
     * engine, which is freed, otherwise a NUL-terminated UTF-8 text that its
     * owner keeps. Null for address 0.
     */
    public static native String cefvemo_cstring_to_java(long address, boolean free);

    // Sizes of the mirrored CEF structures.
    public static native int cef_app_t_sizeof();
    public static native int cef_browser_process_handler_t_sizeof();
    public static native int cef_client_t_sizeof();
    public static native int cef_context_menu_handler_t_sizeof();
    public static native int cef_cookie_visitor_t_sizeof();
    public static native int cef_display_handler_t_sizeof();
    public static native int cef_download_handler_t_sizeof();
    public static native int cef_focus_handler_t_sizeof();
    public static native int cef_jsdialog_handler_t_sizeof();
    public static native int cef_key_event_t_sizeof();
    public static native int cef_keyboard_handler_t_sizeof();
    public static native int cef_life_span_handler_t_sizeof();
    public static native int cef_load_handler_t_sizeof();
    public static native int cef_popup_features_t_sizeof();
    public static native int cef_request_handler_t_sizeof();
    public static native int cef_string_visitor_t_sizeof();

    // Handler tables into native memory: the first size bytes (at most the
    // structure's size) of the mirror in CEF's layout.
    public static native void memmove(long destination, cef_app_t source, int size);
    public static native void memmove(long destination, cef_browser_process_handler_t source, int size);
    public static native void memmove(long destination, cef_client_t source, int size);
    public static native void memmove(long destination, cef_context_menu_handler_t source, int size);
    public static native void memmove(long destination, cef_cookie_visitor_t source, int size);
    public static native void memmove(long destination, cef_display_handler_t source, int size);
    public static native void memmove(long destination, cef_download_handler_t source, int size);
    public static native void memmove(long destination, cef_focus_handler_t source, int size);
    public static native void memmove(long destination, cef_jsdialog_handler_t source, int size);
    public static native void memmove(long destination, cef_keyboard_handler_t source, int size);
    public static native void memmove(long destination, cef_life_span_handler_t source, int size);
    public static native void memmove(long destination, cef_load_handler_t source, int size);
    public static native void memmove(long destination, cef_request_handler_t source, int size);
    public static native void memmove(long destination, cef_string_visitor_t source, int size);

    // Engine structures into their mirrors: the first size bytes (at most the
    // structure's size) replace the mirror's values, the rest keep theirs.
    public static native void memmove(cef_key_event_t destination, long source, int size);
    public static native void memmove(cef_popup_features_t destination, long source, int size);
}
