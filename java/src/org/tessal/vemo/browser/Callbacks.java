package org.tessal.vemo.browser;

import java.lang.annotation.ElementType;
import java.lang.annotation.Retention;
import java.lang.annotation.RetentionPolicy;
import java.lang.annotation.Target;
import java.lang.reflect.Method;
import java.util.HashMap;
import java.util.Map;
import org.tessal.vemo.internal.CallbackExt;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/**
 * The Java methods that CEF calls through thunks. Each is bound once per
 * engine, in the direct form (one {@code long} per native argument, the
 * handler table first), and serves every table of its kind: the table
 * address leads to its owner. 32-bit native arguments arrive in the low half
 * of their {@code long} and are narrowed with a cast.
 *
 * <p>No exception may leave a bound method: it would stay pending on the
 * thread and make every later thunk of the same native call return its
 * fallback without running. Each method therefore catches everything and
 * reports it. Objects that CEF hands to a handler come with a reference that
 * the handler releases ({@link #releaseArg}); continuation callbacks are kept
 * with their reference until answered.
 */
final class Callbacks {
    /** Marks a method bound to a thunk. */
    @Retention(RetentionPolicy.RUNTIME)
    @Target(ElementType.METHOD)
    @interface Bound {}

    private final EngineCore engine;
    private final Map<String, Long> addresses = new HashMap<>();

    Callbacks(EngineCore engine) {
        this.engine = engine;
    }

    /** Binds every {@link Bound} method; on failure nothing stays bound. */
    void bindAll() {
        for (Method m : Callbacks.class.getDeclaredMethods()) {
            if (!m.isAnnotationPresent(Bound.class)) continue;
            int arity = m.getParameterCount();
            String signature = "(" + "J".repeat(arity) + ")J";
            long thunk = CallbackExt.bind(this, this, m.getName(), signature, arity, false, false, 0);
            if (thunk == 0) {
                unbindAll();
                throw new IllegalStateException("no free callback slot for " + m.getName()
                    + " (all 128 thunk slots of the process are in use)");
            }
            addresses.put(m.getName(), thunk);
        }
    }

    void unbindAll() {
        CallbackExt.unbind(this);
        addresses.clear();
    }

    long address(String method) {
        Long address = addresses.get(method);
        if (address == null) throw new IllegalStateException("callback " + method + " is not bound");
        return address;
    }

    static void releaseArg(long object) {
        if (object != 0) ZorvanLib.cefvemo_ref(object, 0);
    }

    private static long failed(String where, Throwable t) {
        System.err.println("vemo: " + where + " failed: " + t);
        t.printStackTrace();
        return 0;
    }

    private BrowserCore browser(long table) {
        Object owner = engine.tables.owner(table);
        return owner instanceof BrowserCore ? (BrowserCore) owner : null;
    }

    // Reference counting of every table.

    @Bound long addRef(long self) {
        engine.tables.addRef(self);
        return 0;
    }

    @Bound long release(long self) {
        try {
            return engine.tables.release(self) ? 1 : 0;
        } catch (Throwable t) {
            return failed("release", t);
        }
    }

    @Bound long hasOneRef(long self) {
        return engine.tables.refs(self) == 1 ? 1 : 0;
    }

    @Bound long hasAtLeastOneRef(long self) {
        return engine.tables.refs(self) > 0 ? 1 : 0;
    }

    // Application and browser-process handler.

    @Bound long onBeforeCommandLineProcessing(long self, long processType, long commandLine) {
        try {
            for (Map.Entry<String, String> s : engine.options.switches().entrySet()) {
                ZorvanLib.cefvemo_set_command(commandLine, s.getKey(), s.getValue());
            }
            return 0;
        } catch (Throwable t) {
            return failed("on_before_command_line_processing", t);
        } finally {
            releaseArg(commandLine);
        }
    }

    @Bound long getBrowserProcessHandler(long self) {
        return engine.tables.share(engine.browserProcessHandler);
    }

    @Bound long onContextInitialized(long self) {
        engine.contextReady = true;
        return 0;
    }

    @Bound long onScheduleMessagePumpWork(long self, long delayMillis) {
        engine.thread.schedulePump(delayMillis);
        return 0;
    }

    // Client: one getter per handler table of the browser.

    private long handler(long client, int which) {
        BrowserCore b = browser(client);
        return b == null ? 0 : engine.tables.share(b.handlerTable(which));
    }

    @Bound long getContextMenuHandler(long self) {
        return handler(self, BrowserCore.CONTEXT_MENU);
    }

    @Bound long getDisplayHandler(long self) {
        return handler(self, BrowserCore.DISPLAY);
    }

    @Bound long getDownloadHandler(long self) {
        return handler(self, BrowserCore.DOWNLOAD);
    }

    @Bound long getJsdialogHandler(long self) {
        return handler(self, BrowserCore.JSDIALOG);
    }

    @Bound long getKeyboardHandler(long self) {
        return handler(self, BrowserCore.KEYBOARD);
    }

    @Bound long getLifeSpanHandler(long self) {
        return handler(self, BrowserCore.LIFE_SPAN);
    }

    @Bound long getLoadHandler(long self) {
        return handler(self, BrowserCore.LOAD);
    }

    @Bound long getRequestHandler(long self) {
        return handler(self, BrowserCore.REQUEST);
    }

    @Bound long onProcessMessageReceived(long self, long browser, long frame, long source, long message) {
        try {
            BrowserCore b = browser(self);
            return b != null && b.serveCall(message) ? 1 : 0;
        } catch (Throwable t) {
            return failed("on_process_message_received", t);
        } finally {
            releaseArg(message);
            releaseArg(frame);
            releaseArg(browser);
        }
    }

    // Life span.

    @Bound long onAfterCreated(long self, long browser) {
        releaseArg(browser);
        return 0;
    }

    @Bound long doClose(long self, long browser) {
        releaseArg(browser);
        return 0; // let the engine close the window
    }

    @Bound long onBeforeClose(long self, long browser) {
        try {
            BrowserCore b = browser(self);
            if (b != null) b.beforeClose();
            return 0;
        } catch (Throwable t) {
            return failed("on_before_close", t);
        } finally {
            releaseArg(browser);
        }
    }

    // Load.

    @Bound long onLoadingStateChange(long self, long browser, long loading, long canBack, long canForward) {
        releaseArg(browser);
        return 0;
    }

    @Bound long onLoadStart(long self, long browser, long frame, long transition) {
        releaseArg(frame);
        releaseArg(browser);
        return 0;
    }

    @Bound long onLoadEnd(long self, long browser, long frame, long status) {
        try {
            BrowserCore b = browser(self);
            if (b != null && ZorvanLib.cefvemo_is_main_frame(frame) == 1) b.loadEnded((int) status);
            return 0;
        } catch (Throwable t) {
            return failed("on_load_end", t);
        } finally {
            releaseArg(frame);
            releaseArg(browser);
        }
    }

    @Bound long onLoadError(long self, long browser, long frame, long code, long text, long url) {
        try {
            BrowserCore b = browser(self);
            if (b != null && ZorvanLib.cefvemo_is_main_frame(frame) == 1) {
                b.loadFailed((int) code, ZorvanLib.cefvemo_cefstring_to_java(text),
                             ZorvanLib.cefvemo_cefstring_to_java(url));
            }
            return 0;
        } catch (Throwable t) {
            return failed("on_load_error", t);
        } finally {
            releaseArg(frame);
            releaseArg(browser);
        }
    }

    // Display.

    @Bound long onAddressChange(long self, long browser, long frame, long url) {
        releaseArg(frame);
        releaseArg(browser);
        return 0;
    }

    @Bound long onTitleChange(long self, long browser, long title) {
        try {
            BrowserCore b = browser(self);
            if (b != null) b.titleChanged(ZorvanLib.cefvemo_cefstring_to_java(title));
            return 0;
        } catch (Throwable t) {
            return failed("on_title_change", t);
        } finally {
            releaseArg(browser);
        }
    }

    @Bound long onConsoleMessage(long self, long browser, long level, long message, long source, long line) {
        try {
            BrowserCore b = browser(self);
            if (b == null) return 0;
            return b.consoleMessage(new ConsoleMessage((int) level, ZorvanLib.cefvemo_cefstring_to_java(message),
                                                       ZorvanLib.cefvemo_cefstring_to_java(source), (int) line))
                   ? 1 : 0;
        } catch (Throwable t) {
            return failed("on_console_message", t);
        } finally {
            releaseArg(browser);
        }
    }

    // Downloads.

    @Bound long onBeforeDownload(long self, long browser, long item, long suggestedName, long callback) {
        try {
            BrowserCore b = browser(self);
            if (b == null || !b.downloadRequested(item, ZorvanLib.cefvemo_cefstring_to_java(suggestedName),
                                                  callback)) {
                releaseArg(callback);
            }
            return 0;
        } catch (Throwable t) {
            return failed("on_before_download", t);
        } finally {
            releaseArg(item);
            releaseArg(browser);
        }
    }

    @Bound long onDownloadUpdated(long self, long browser, long item, long callback) {
        try {
            BrowserCore b = browser(self);
            if (b == null || !b.downloadUpdated(item, callback)) releaseArg(callback);
            return 0;
        } catch (Throwable t) {
            return failed("on_download_updated", t);
        } finally {
            releaseArg(item);
            releaseArg(browser);
        }
    }

    // JavaScript dialogs.

    @Bound long onJsdialog(long self, long browser, long origin, long type, long message, long defaultPrompt,
                           long callback, long suppressMessage) {
        try {
            BrowserCore b = browser(self);
            boolean handled = b != null && b.dialog(ZorvanLib.cefvemo_cefstring_to_java(origin), (int) type,
                ZorvanLib.cefvemo_cefstring_to_java(message), ZorvanLib.cefvemo_cefstring_to_java(defaultPrompt),
                callback);
            if (!handled) releaseArg(callback);
            return handled ? 1 : 0;
        } catch (Throwable t) {
            return failed("on_jsdialog", t);
        } finally {
            releaseArg(browser);
        }
    }

    // Keys.

    @Bound long onPreKeyEvent(long self, long browser, long event, long osEvent, long isShortcut) {
        return key(self, browser, event, true);
    }

    @Bound long onKeyEvent(long self, long browser, long event, long osEvent) {
        return key(self, browser, event, false);
    }

    private long key(long self, long browser, long event, boolean pre) {
        try {
            BrowserCore b = browser(self);
            return b != null && b.key(event, pre) ? 1 : 0;
        } catch (Throwable t) {
            return failed("key event", t);
        } finally {
            releaseArg(browser);
        }
    }

    // Context menu.

    @Bound long runContextMenu(long self, long browser, long frame, long params, long model, long callback) {
        try {
            BrowserCore b = browser(self);
            boolean handled = b != null && b.contextMenu(callback);
            if (!handled) releaseArg(callback);
            return handled ? 1 : 0;
        } catch (Throwable t) {
            return failed("run_context_menu", t);
        } finally {
            releaseArg(model);
            releaseArg(params);
            releaseArg(frame);
            releaseArg(browser);
        }
    }

    // Authentication.

    @Bound long getAuthCredentials(long self, long browser, long origin, long isProxy, long host, long port,
                                   long realm, long scheme, long callback) {
        try {
            BrowserCore b = browser(self);
            boolean handled = b != null && b.authenticate(new AuthChallenge.Details(
                ZorvanLib.cefvemo_cefstring_to_java(origin), (int) isProxy != 0,
                ZorvanLib.cefvemo_cefstring_to_java(host), (int) port,
                ZorvanLib.cefvemo_cefstring_to_java(realm), ZorvanLib.cefvemo_cefstring_to_java(scheme)), callback);
            if (!handled) releaseArg(callback);
            return handled ? 1 : 0;
        } catch (Throwable t) {
            return failed("get_auth_credentials", t);
        } finally {
            releaseArg(browser);
        }
    }

    // Visitors.

    @Bound long visitCookie(long self, long cookie, long count, long total, long deleteCookie) {
        try {
            Object owner = engine.tables.owner(self);
            if (owner instanceof CookieVisit) ((CookieVisit) owner).visit(cookie, (int) count, (int) total);
            return 1;
        } catch (Throwable t) {
            return failed("cookie visit", t);
        }
    }

    @Bound long visitString(long self, long string) {
        try {
            Object owner = engine.tables.owner(self);
            if (owner instanceof SourceVisit) {
                ((SourceVisit) owner).visit(ZorvanLib.cefvemo_cefstring_to_java(string));
            }
            return 0;
        } catch (Throwable t) {
            return failed("string visit", t);
        }
    }

    // The return callback of evaluations and argument reads: (flag, kind, text).

    @Bound long onReturn(long flag, long kind, long text) {
        try {
            engine.onReturn((int) flag, (int) kind, text);
            return 0;
        } catch (Throwable t) {
            return failed("return callback", t);
        }
    }
}
