package org.tessal.vemo.browser;

import java.lang.ref.WeakReference;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.function.Consumer;
import org.tessal.vemo.internal.zorvan.lib.FunctionSt;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;
import org.tessal.vemo.internal.zorvan.lib.cef_key_event_t;

/**
 * One browser's engine-side state: its handle (which carries this host's one
 * reference), its handler tables, listeners, host functions and the requests
 * it has not answered yet. Methods named after handlers run on the engine
 * thread, called by {@link Callbacks}. The public {@link Browser} is a thin
 * facade; this object does not keep it alive, so that the facade's Cleaner
 * can close a browser that was dropped without {@code close()}.
 */
final class BrowserCore {
    static final int LIFE_SPAN = 0, LOAD = 1, DISPLAY = 2, DOWNLOAD = 3, JSDIALOG = 4, KEYBOARD = 5,
                     CONTEXT_MENU = 6, REQUEST = 7;
    private static final long CLOSE_SECONDS = 15;

    enum State { OPEN, CLOSING, CLOSED }

    final EngineCore engine;
    long handle;
    int id;
    private long client;
    private final long[] handlers = new long[8];
    volatile State state = State.OPEN;
    private volatile boolean beforeCloseSeen;
    WeakReference<Browser> facade = new WeakReference<>(null);

    final Map<Integer, HostFunction> functions = new ConcurrentHashMap<>();
    final Set<Continuation> pending = ConcurrentHashMap.newKeySet();
    private final List<CompletableFuture<Integer>> loads = new CopyOnWriteArrayList<>();
    private final Map<Integer, Download> downloads = new ConcurrentHashMap<>();

    volatile LoadListener loadListener;
    volatile TitleListener titleListener;
    volatile ConsoleListener consoleListener;
    volatile DownloadListener downloadListener;
    volatile DialogListener dialogListener;
    volatile AuthListener authListener;
    volatile ContextMenuListener contextMenuListener;
    volatile KeyListener keyListener;

    BrowserCore(EngineCore engine) {
        this.engine = engine;
    }

    /** Engine thread: builds the tables and creates the browser. */
    void create(long parent, String url, int width, int height) {
        NativeTables t = engine.nativeTables;
        handlers[LIFE_SPAN] = t.lifeSpanHandler(this);
        handlers[LOAD] = t.loadHandler(this);
        handlers[DISPLAY] = t.displayHandler(this);
        handlers[DOWNLOAD] = t.downloadHandler(this);
        handlers[JSDIALOG] = t.jsdialogHandler(this);
        handlers[KEYBOARD] = t.keyboardHandler(this);
        handlers[CONTEXT_MENU] = t.contextMenuHandler(this);
        handlers[REQUEST] = t.requestHandler(this);
        // The client's one reference goes to the engine with the browser.
        client = t.client(this, address -> client = 0);
        handle = ZorvanLib.cefvemo_create_browser(parent, url, client, width, height, 1, 0);
        if (handle == 0) {
            releaseHandlers();
            throw new IllegalStateException("the engine created no browser");
        }
        id = ZorvanLib.cefvemo_get_id(handle);
    }

    long handlerTable(int which) {
        return state == State.CLOSED ? 0 : handlers[which];
    }

    private void releaseHandlers() {
        for (int i = 0; i < handlers.length; i++) {
            if (handlers[i] != 0) engine.tables.release(handlers[i]);
            handlers[i] = 0;
        }
    }

    void checkOpen() {
        engine.checkRunning();
        if (state != State.OPEN) throw new IllegalStateException("browser " + id + " is closed");
    }

    /** Runs {@code work} on the engine thread while this browser is open. */
    <T> T call(java.util.concurrent.Callable<T> work) {
        checkOpen();
        return engine.call(() -> {
            checkOpen();
            return work.call();
        });
    }

    // Lifecycle.

    /** Engine thread: closes the browser, answers what is pending, releases every table. */
    void dispose() {
        if (state != State.OPEN) return;
        state = State.CLOSING;
        ZorvanLib.cefvemo_close_browser(handle, 1);
        engine.await(() -> beforeCloseSeen, CLOSE_SECONDS);
        state = State.CLOSED;
        for (Continuation c : new ArrayList<>(pending)) c.cancelAtClose();
        for (Download d : downloads.values()) d.abandon();
        downloads.clear();
        for (CompletableFuture<Integer> f : loads) {
            f.completeExceptionally(new IllegalStateException("browser " + id + " was closed"));
        }
        loads.clear();
        functions.clear();
        releaseHandlers();
        engine.browsers.remove(handle);
        ZorvanLib.cefvemo_ref(handle, 0); // the host's reference; the engine then releases the client
    }

    void beforeClose() {
        beforeCloseSeen = true;
    }

    // Listener delivery: a listener that throws is reported, never passed on to the engine.

    private <L> void deliver(L listener, Consumer<L> event) {
        if (listener == null) return;
        try {
            event.accept(listener);
        } catch (RuntimeException e) {
            System.err.println("vemo: listener of browser " + id + " threw " + e);
            e.printStackTrace();
        }
    }

    Browser facade() {
        return facade.get();
    }

    // Loads.

    CompletableFuture<Integer> expectLoad() {
        CompletableFuture<Integer> f = new CompletableFuture<>();
        loads.add(f);
        return f;
    }

    void loadEnded(int status) {
        for (CompletableFuture<Integer> f : loads) f.complete(status);
        loads.clear();
        deliver(loadListener, l -> l.onLoadEnd(facade(), status));
    }

    void loadFailed(int code, String text, String url) {
        LoadException error = new LoadException(url, code, text);
        for (CompletableFuture<Integer> f : loads) f.completeExceptionally(error);
        loads.clear();
        deliver(loadListener, l -> l.onLoadError(facade(), error));
    }

    void titleChanged(String title) {
        deliver(titleListener, l -> l.onTitle(facade(), title));
    }

    boolean consoleMessage(ConsoleMessage message) {
        ConsoleListener l = consoleListener;
        if (l == null) return false;
        boolean[] consumed = {false};
        deliver(l, x -> consumed[0] = x.onConsoleMessage(facade(), message));
        return consumed[0];
    }

    // Host functions.

    int addFunction(String name, HostFunction function) {
        int fid = engine.nextFunctionId.getAndIncrement();
        functions.put(fid, function);
        if (!ZorvanLib.cefvemo_function(handle, name, fid)) {
            functions.remove(fid);
            throw new IllegalStateException("the engine did not take host function " + name);
        }
        return fid;
    }

    /** Engine thread: serves a "function_call" message; false when the message is no call. */
    boolean serveCall(long message) {
        FunctionSt call = new FunctionSt();
        ZorvanLib.cefvemo_function_id(message, call);
        if (call.id < 0) return false;
        List<Object> args = new ArrayList<>(call.args);
        for (int i = 0; i < call.args; i++) {
            EngineCore.ValueSlot slot = engine.pushSlot();
            try {
                ZorvanLib.cefvemo_function_arg(message, i, engine.callbacks.address("onReturn"));
                args.add(slot.filled && slot.kind != ValueText.ERROR ? ValueText.toJava(slot.kind, slot.text) : null);
            } finally {
                engine.popSlot(slot);
            }
        }
        ValueText.Encoded answer;
        HostFunction function = state == State.OPEN ? functions.get(call.id) : null;
        if (function == null) {
            answer = new ValueText.Encoded(ValueText.ERROR, "no host function with id " + call.id);
        } else {
            engine.enterCall(this, call.port);
            try {
                answer = ValueText.fromJava(function.call(java.util.Collections.unmodifiableList(args)));
            } catch (Throwable t) {
                String text = t.getMessage();
                answer = new ValueText.Encoded(ValueText.ERROR, text != null ? text : t.toString());
            } finally {
                engine.leaveCall();
            }
        }
        ZorvanLib.cefvemo_function_return(handle, call.id, call.port, answer.kind(), answer.text());
        return true;
    }

    /** Engine thread: evaluates in the main frame, nested in a served call of this browser if any. */
    Object eval(String script) {
        EngineCore.ValueSlot slot = engine.pushSlot();
        try {
            boolean ok = ZorvanLib.cefvemo_eval(handle, script, engine.servedPort(this),
                                                engine.callbacks.address("onReturn"));
            if (!ok || !slot.filled) {
                throw new IllegalStateException("the evaluation in browser " + id + " got no answer");
            }
            return ValueText.toJava(slot.kind, slot.text);
        } finally {
            engine.popSlot(slot);
        }
    }

    // Requests answered through continuations.

    boolean downloadRequested(long item, String suggestedName, long callback) {
        DownloadListener l = downloadListener;
        if (l == null) return false;
        Download.Snapshot s = Download.read(item);
        DownloadRequest request = new DownloadRequest(this, callback, s, suggestedName);
        pending.add(request);
        deliver(l, x -> x.onDownloadRequested(request));
        return true;
    }

    boolean downloadUpdated(long item, long callback) {
        Download.Snapshot s = Download.read(item);
        DownloadListener l = downloadListener;
        Download previous = downloads.remove(s.id());
        if (previous != null) previous.abandon();
        if (l == null) return false;
        Download d = new Download(this, s.ended() ? 0 : callback, s);
        if (!s.ended()) {
            downloads.put(s.id(), d);
            pending.add(d);
        }
        deliver(l, x -> x.onDownloadUpdated(d));
        return !s.ended();
    }

    void forget(Continuation c) {
        pending.remove(c);
        if (c instanceof Download) downloads.remove(((Download) c).id(), c);
    }

    private boolean offer(Continuation c, java.util.function.Predicate<Continuation> listener) {
        pending.add(c);
        boolean[] handled = {false};
        deliver(listener, x -> handled[0] = x.test(c));
        if (!handled[0]) c.abandon();
        return handled[0];
    }

    boolean dialog(String origin, int type, String message, String defaultPrompt, long callback) {
        DialogListener l = dialogListener;
        if (l == null) return false;
        Dialog d = new Dialog(this, callback, origin, Dialog.Type.of(type), message, defaultPrompt);
        return offer(d, c -> l.onDialog(d));
    }

    boolean authenticate(AuthChallenge.Details details, long callback) {
        AuthListener l = authListener;
        if (l == null) return false;
        AuthChallenge a = new AuthChallenge(this, callback, details);
        return offer(a, c -> l.onAuthentication(a));
    }

    boolean contextMenu(long callback) {
        ContextMenuListener l = contextMenuListener;
        if (l == null) return false;
        ContextMenu m = new ContextMenu(this, callback);
        return offer(m, c -> l.onContextMenu(m));
    }

    boolean key(long event, boolean pre) {
        KeyListener l = keyListener;
        if (l == null) return false;
        cef_key_event_t mirror = new cef_key_event_t();
        ZorvanLib.memmove(mirror, event, ZorvanLib.cef_key_event_t_sizeof());
        KeyEvent e = new KeyEvent(this, event, mirror, pre);
        boolean[] consumed = {false};
        try {
            deliver(l, x -> consumed[0] = x.onKey(e));
        } finally {
            e.expire();
        }
        return consumed[0];
    }

    // Page source.

    CompletableFuture<String> source() {
        SourceVisit visit = new SourceVisit();
        long visitor = engine.nativeTables.stringVisitor(visit, visit::released);
        ZorvanLib.cefvemo_get_text(handle, visitor); // the engine takes the visitor's reference
        return visit.result;
    }
}
