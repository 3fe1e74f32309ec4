package org.tessal.vemo.browser;

import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;
import org.tessal.vemo.internal.zorvan.lib.cef_app_t;
import org.tessal.vemo.internal.zorvan.lib.cef_base_ref_counted_t;
import org.tessal.vemo.internal.zorvan.lib.cef_browser_process_handler_t;
import org.tessal.vemo.internal.zorvan.lib.cef_client_t;
import org.tessal.vemo.internal.zorvan.lib.cef_context_menu_handler_t;
import org.tessal.vemo.internal.zorvan.lib.cef_cookie_visitor_t;
import org.tessal.vemo.internal.zorvan.lib.cef_display_handler_t;
import org.tessal.vemo.internal.zorvan.lib.cef_download_handler_t;
import org.tessal.vemo.internal.zorvan.lib.cef_jsdialog_handler_t;
import org.tessal.vemo.internal.zorvan.lib.cef_keyboard_handler_t;
import org.tessal.vemo.internal.zorvan.lib.cef_life_span_handler_t;
import org.tessal.vemo.internal.zorvan.lib.cef_load_handler_t;
import org.tessal.vemo.internal.zorvan.lib.cef_request_handler_t;
import org.tessal.vemo.internal.zorvan.lib.cef_string_visitor_t;

/**
 * Builds handler tables in native memory: fills a mirror with the shared
 * thunk addresses, allocates the size the bridge reports and copies the
 * mirror there. Members this host does not implement stay 0, which CEF reads
 * as "not implemented". Each table is registered with its owner.
 */
final class NativeTables {
    private final Callbacks thunks;
    private final TableRegistry registry;

    NativeTables(Callbacks thunks, TableRegistry registry) {
        this.thunks = thunks;
        this.registry = registry;
    }

    private cef_base_ref_counted_t base(int size) {
        cef_base_ref_counted_t base = new cef_base_ref_counted_t();
        base.size = size;
        base.add_ref = thunks.address("addRef");
        base.release = thunks.address("release");
        base.has_one_ref = thunks.address("hasOneRef");
        base.has_at_least_one_ref = thunks.address("hasAtLeastOneRef");
        return base;
    }

    private long place(int size, Object owner, TableRegistry.LastRelease onLast) {
        long address = NativeMemory.allocate(size);
        registry.add(address, owner, onLast);
        return address;
    }

    long app(Object owner) {
        int size = ZorvanLib.cef_app_t_sizeof();
        cef_app_t m = new cef_app_t();
        m.base = base(size);
        m.on_before_command_line_processing = thunks.address("onBeforeCommandLineProcessing");
        m.get_browser_process_handler = thunks.address("getBrowserProcessHandler");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long browserProcessHandler(Object owner) {
        int size = ZorvanLib.cef_browser_process_handler_t_sizeof();
        cef_browser_process_handler_t m = new cef_browser_process_handler_t();
        m.base = base(size);
        m.on_context_initialized = thunks.address("onContextInitialized");
        m.on_schedule_message_pump_work = thunks.address("onScheduleMessagePumpWork");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long client(Object owner, TableRegistry.LastRelease onLast) {
        int size = ZorvanLib.cef_client_t_sizeof();
        cef_client_t m = new cef_client_t();
        m.base = base(size);
        m.get_context_menu_handler = thunks.address("getContextMenuHandler");
        m.get_display_handler = thunks.address("getDisplayHandler");
        m.get_download_handler = thunks.address("getDownloadHandler");
        m.get_jsdialog_handler = thunks.address("getJsdialogHandler");
        m.get_keyboard_handler = thunks.address("getKeyboardHandler");
        m.get_life_span_handler = thunks.address("getLifeSpanHandler");
        m.get_load_handler = thunks.address("getLoadHandler");
        m.get_request_handler = thunks.address("getRequestHandler");
        m.on_process_message_received = thunks.address("onProcessMessageReceived");
        long address = place(size, owner, onLast);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long lifeSpanHandler(Object owner) {
        int size = ZorvanLib.cef_life_span_handler_t_sizeof();
        cef_life_span_handler_t m = new cef_life_span_handler_t();
        m.base = base(size);
        m.on_after_created = thunks.address("onAfterCreated");
        m.do_close = thunks.address("doClose");
        m.on_before_close = thunks.address("onBeforeClose");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long loadHandler(Object owner) {
        int size = ZorvanLib.cef_load_handler_t_sizeof();
        cef_load_handler_t m = new cef_load_handler_t();
        m.base = base(size);
        m.on_loading_state_change = thunks.address("onLoadingStateChange");
        m.on_load_start = thunks.address("onLoadStart");
        m.on_load_end = thunks.address("onLoadEnd");
        m.on_load_error = thunks.address("onLoadError");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long displayHandler(Object owner) {
        int size = ZorvanLib.cef_display_handler_t_sizeof();
        cef_display_handler_t m = new cef_display_handler_t();
        m.base = base(size);
        m.on_address_change = thunks.address("onAddressChange");
        m.on_title_change = thunks.address("onTitleChange");
        m.on_console_message = thunks.address("onConsoleMessage");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long downloadHandler(Object owner) {
        int size = ZorvanLib.cef_download_handler_t_sizeof();
        cef_download_handler_t m = new cef_download_handler_t();
        m.base = base(size);
        m.on_before_download = thunks.address("onBeforeDownload");
        m.on_download_updated = thunks.address("onDownloadUpdated");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long jsdialogHandler(Object owner) {
        int size = ZorvanLib.cef_jsdialog_handler_t_sizeof();
        cef_jsdialog_handler_t m = new cef_jsdialog_handler_t();
        m.base = base(size);
        m.on_jsdialog = thunks.address("onJsdialog");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long keyboardHandler(Object owner) {
        int size = ZorvanLib.cef_keyboard_handler_t_sizeof();
        cef_keyboard_handler_t m = new cef_keyboard_handler_t();
        m.base = base(size);
        m.on_pre_key_event = thunks.address("onPreKeyEvent");
        m.on_key_event = thunks.address("onKeyEvent");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long contextMenuHandler(Object owner) {
        int size = ZorvanLib.cef_context_menu_handler_t_sizeof();
        cef_context_menu_handler_t m = new cef_context_menu_handler_t();
        m.base = base(size);
        m.run_context_menu = thunks.address("runContextMenu");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long requestHandler(Object owner) {
        int size = ZorvanLib.cef_request_handler_t_sizeof();
        cef_request_handler_t m = new cef_request_handler_t();
        m.base = base(size);
        m.get_auth_credentials = thunks.address("getAuthCredentials");
        long address = place(size, owner, null);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long cookieVisitor(Object owner, TableRegistry.LastRelease onLast) {
        int size = ZorvanLib.cef_cookie_visitor_t_sizeof();
        cef_cookie_visitor_t m = new cef_cookie_visitor_t();
        m.base = base(size);
        m.visit = thunks.address("visitCookie");
        long address = place(size, owner, onLast);
        ZorvanLib.memmove(address, m, size);
        return address;
    }

    long stringVisitor(Object owner, TableRegistry.LastRelease onLast) {
        int size = ZorvanLib.cef_string_visitor_t_sizeof();
        cef_string_visitor_t m = new cef_string_visitor_t();
        m.base = base(size);
        m.visit = thunks.address("visitString");
        long address = place(size, owner, onLast);
        ZorvanLib.memmove(address, m, size);
        return address;
    }
}
