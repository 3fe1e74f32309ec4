package org.tessal.vemo.browser;

import java.lang.ref.Cleaner;
import java.lang.ref.WeakReference;
import java.util.Map;
import java.util.Objects;
import java.util.concurrent.CompletableFuture;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/**
 * A browser view. Every method may be called from any thread; the work is
 * done on the engine thread, and listeners and host functions are called
 * there. Closing releases the browser's handler tables and its reference;
 * a browser that is dropped without {@link #close()} is closed by a Cleaner.
 */
public final class Browser implements AutoCloseable {
    private final BrowserCore core;
    private final Engine engine; // a browser in use keeps its engine from being cleaned
    private final Cleaner.Cleanable cleanable;

    Browser(Engine engine, BrowserCore core, Cleaner cleaner) {
        this.engine = engine;
        this.core = core;
        core.facade = new WeakReference<>(this);
        this.cleanable = cleaner.register(this, new Closer(core));
    }

    /** Cleaner action: holds the core only, never the facade. */
    private static final class Closer implements Runnable {
        private final BrowserCore core;

        Closer(BrowserCore core) {
            this.core = core;
        }

        @Override
        public void run() {
            if (core.state != BrowserCore.State.OPEN || core.engine.state != EngineCore.State.RUNNING) return;
            try {
                core.engine.post(core::dispose);
            } catch (RuntimeException e) {
                // the engine is shutting down and closes the browser itself
            }
        }
    }

    /** The engine's identifier of this browser. */
    public int id() {
        return core.id;
    }

    public boolean isClosed() {
        return core.state != BrowserCore.State.OPEN;
    }

    // Navigation: each returns a future of the next main-frame load's HTTP status.

    public CompletableFuture<Integer> loadUrl(String url) {
        return loadUrl(url, null, null);
    }

    /**
     * Loads {@code url} with an optional POST body and extra headers.
     *
     * @throws IllegalArgumentException when a header name or value holds "::",
     *     the separator the engine cuts the header string at, or a name holds ":"
     */
    public CompletableFuture<Integer> loadUrl(String url, byte[] postData, Map<String, String> headers) {
        Objects.requireNonNull(url, "url");
        String headerText = headers == null ? null : headerText(headers);
        int headerCount = headers == null ? 0 : headers.size();
        byte[] post = postData == null ? null : postData.clone();
        return core.call(() -> {
            CompletableFuture<Integer> load = core.expectLoad();
            ZorvanLib.cefvemo_load_url(core.handle, url, post, post == null ? 0 : post.length, headerText,
                                       headerCount);
            return load;
        });
    }

    private static String headerText(Map<String, String> headers) {
        StringBuilder text = new StringBuilder();
        for (Map.Entry<String, String> h : headers.entrySet()) {
            String name = Objects.requireNonNull(h.getKey(), "header name");
            String value = Objects.requireNonNull(h.getValue(), "header value");
            if (name.isBlank() || name.contains(":") || value.contains("::")) {
                throw new IllegalArgumentException("header " + name + " cannot be sent: names must be non-empty"
                    + " and hold no ':', values no '::'");
            }
            if (text.length() > 0) text.append("::");
            text.append(name).append(": ").append(value);
        }
        return text.toString();
    }

    public CompletableFuture<Integer> back() {
        return navigate(ZorvanLib::cefvemo_go_back);
    }

    public CompletableFuture<Integer> forward() {
        return navigate(ZorvanLib::cefvemo_go_forward);
    }

    public CompletableFuture<Integer> reload() {
        return navigate(ZorvanLib::cefvemo_reload);
    }

    private CompletableFuture<Integer> navigate(java.util.function.LongConsumer export) {
        return core.call(() -> {
            CompletableFuture<Integer> load = core.expectLoad();
            export.accept(core.handle);
            return load;
        });
    }

    /** Stops loading; a pending load future then fails. */
    public void stop() {
        core.call(() -> {
            ZorvanLib.cefvemo_stop(core.handle);
            return null;
        });
    }

    /** The main frame's URL. */
    public String url() {
        return core.call(() -> ZorvanLib.cefvemo_cstring_to_java(ZorvanLib.cefvemo_get_url(core.handle), true));
    }

    /** The main frame's HTML source, delivered later by the engine. */
    public CompletableFuture<String> source() {
        return core.call(core::source);
    }

    // Script.

    /** Runs {@code script} in the main frame without waiting for it. */
    public void execute(String script) {
        Objects.requireNonNull(script, "script");
        core.call(() -> {
            ZorvanLib.cefvemo_execute(core.handle, script);
            return null;
        });
    }

    /**
     * Evaluates {@code script} in the main frame and returns its value: a
     * {@code Double}, {@code Boolean}, {@code String}, {@code null} (null or
     * undefined) or an unmodifiable {@code List<Object>} of those. Inside a
     * host function of this browser the evaluation runs within the page's
     * pending call.
     *
     * @throws ScriptException with the page's message when the script throws;
     *     "51" stands for a value that has no such form (an object, a function)
     */
    public Object eval(String script) {
        Objects.requireNonNull(script, "script");
        return core.call(() -> core.eval(script));
    }

    /**
     * Makes {@code function} callable from page script as the global
     * {@code name}, in the current document and every one loaded later.
     */
    public void addFunction(String name, HostFunction function) {
        Objects.requireNonNull(name, "name");
        Objects.requireNonNull(function, "function");
        core.call(() -> core.addFunction(name, function));
    }

    // Window.

    public void resize(int width, int height) {
        core.call(() -> {
            ZorvanLib.cefvemo_resized(core.handle, width, height);
            return null;
        });
    }

    public void focus(boolean focused) {
        core.call(() -> {
            ZorvanLib.cefvemo_set_focus(core.handle, focused, 0);
            return null;
        });
    }

    // Listeners: one of each kind; null removes it.

    public void setLoadListener(LoadListener l) {
        core.loadListener = l;
    }

    public void setTitleListener(TitleListener l) {
        core.titleListener = l;
    }

    public void setConsoleListener(ConsoleListener l) {
        core.consoleListener = l;
    }

    public void setDownloadListener(DownloadListener l) {
        core.downloadListener = l;
    }

    public void setDialogListener(DialogListener l) {
        core.dialogListener = l;
    }

    public void setAuthListener(AuthListener l) {
        core.authListener = l;
    }

    public void setContextMenuListener(ContextMenuListener l) {
        core.contextMenuListener = l;
    }

    public void setKeyListener(KeyListener l) {
        core.keyListener = l;
    }

    /**
     * Closes the browser: requests still open are cancelled, its handler
     * tables and reference released. Calling it again does nothing.
     */
    @Override
    public void close() {
        // While the engine shuts down it closes its browsers itself.
        if (core.state == BrowserCore.State.OPEN && core.engine.state == EngineCore.State.RUNNING) {
            core.engine.call(() -> {
                core.dispose();
                return null;
            });
        }
        cleanable.clean();
    }

    /** The engine this browser belongs to. */
    public Engine engine() {
        return engine;
    }

    @Override
    public String toString() {
        return "browser " + core.id + (isClosed() ? " (closed)" : "");
    }
}
