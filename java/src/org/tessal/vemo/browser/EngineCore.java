package org.tessal.vemo.browser;

import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.concurrent.Callable;
import java.util.concurrent.CancellationException;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.FutureTask;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicInteger;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/**
 * The running engine: its thread, its thunks and tables, its browsers. All
 * engine calls are made on {@link #thread}; {@link #call} brings them there.
 * Fields marked "engine thread" are touched only there.
 */
final class EngineCore {
    private static final long START_SECONDS = 60;
    private static final long CLOSE_SECONDS = 15;

    enum State { STARTING, RUNNING, STOPPING, STOPPED }

    final Engine.Options options;
    final EngineThread thread;
    final TableRegistry tables = new TableRegistry();
    final Callbacks callbacks = new Callbacks(this);
    final NativeTables nativeTables = new NativeTables(callbacks, tables);
    final Map<Long, BrowserCore> browsers = new ConcurrentHashMap<>();
    final AtomicInteger nextFunctionId = new AtomicInteger(1);

    volatile State state = State.STARTING;
    volatile boolean contextReady;
    private volatile boolean stopRequested;
    final CompletableFuture<Void> started = new CompletableFuture<>();
    final CompletableFuture<Void> stopped = new CompletableFuture<>();

    long app; // engine thread
    long browserProcessHandler; // engine thread
    private boolean initialised; // engine thread

    /** Values handed to the return callback, innermost wait on top (engine thread). */
    private final ArrayDeque<ValueSlot> slots = new ArrayDeque<>();
    /** Host-function calls being served, innermost on top (engine thread). */
    private final ArrayDeque<ServedCall> served = new ArrayDeque<>();

    static final class ValueSlot {
        boolean filled;
        int kind;
        String text;
    }

    private record ServedCall(BrowserCore browser, int port) {}

    EngineCore(Engine.Options options) {
        this.options = options;
        this.thread = new EngineThread("vemo-engine", this::run, this::pump);
    }

    private void pump() {
        ZorvanLib.cefvemo_do_message_loop_work();
    }

    private void run() {
        try {
            callbacks.bindAll();
            browserProcessHandler = nativeTables.browserProcessHandler(this);
            app = nativeTables.app(this);
            ZorvanLib.cefvemo_init(app, options.engineDir().toString(), options.optionString(),
                                   options.debugPort());
            initialised = true;
            long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(START_SECONDS);
            if (!thread.runUntil(() -> contextReady, deadline)) {
                throw new IllegalStateException("the engine did not initialise within " + START_SECONDS + " s");
            }
            state = State.RUNNING;
            started.complete(null);
            thread.runUntil(() -> stopRequested, System.nanoTime() + Long.MAX_VALUE / 2);
        } catch (Throwable t) {
            started.completeExceptionally(t);
        } finally {
            try {
                shutDown();
            } finally {
                stopped.complete(null);
            }
        }
    }

    private void shutDown() {
        state = State.STOPPING;
        for (BrowserCore b : new ArrayList<>(browsers.values())) {
            try {
                b.dispose();
            } catch (RuntimeException e) {
                System.err.println("vemo: closing browser " + b.id + " at shutdown failed: " + e);
            }
        }
        if (initialised) ZorvanLib.cefvemo_shutdown();
        state = State.STOPPED;
        failPendingTasks();
        tables.freeAll();
        callbacks.unbindAll();
    }

    /** Asks the engine thread to shut down; waits for it unless called there. */
    void stop() {
        stopRequested = true;
        thread.schedulePump(0); // wakes the thread
        if (thread.isCurrent()) return;
        try {
            stopped.get(CLOSE_SECONDS * 4, TimeUnit.SECONDS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        } catch (ExecutionException | java.util.concurrent.TimeoutException e) {
            throw new IllegalStateException("the engine did not shut down in time", e);
        }
    }

    void checkRunning() {
        State s = state;
        if (s == State.RUNNING) return;
        if (s == State.STOPPING && thread.isCurrent()) return;
        throw new IllegalStateException(s == State.STARTING ? "the engine is still starting"
                                                            : "the engine is shut down");
    }

    /** Runs {@code work} on the engine thread and returns its result. */
    <T> T call(Callable<T> work) {
        checkRunning();
        if (thread.isCurrent()) {
            try {
                return work.call();
            } catch (RuntimeException | Error e) {
                throw e;
            } catch (Exception e) {
                throw new IllegalStateException(e);
            }
        }
        FutureTask<T> task = new FutureTask<>(work);
        thread.post(task);
        if (state == State.STOPPED) failPendingTasks();
        try {
            return task.get();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new IllegalStateException("interrupted while waiting for the engine thread", e);
        } catch (CancellationException e) {
            throw new IllegalStateException("the engine is shut down");
        } catch (ExecutionException e) {
            Throwable cause = e.getCause();
            if (cause instanceof RuntimeException) throw (RuntimeException) cause;
            if (cause instanceof Error) throw (Error) cause;
            throw new IllegalStateException(cause);
        }
    }

    /** Runs {@code work} on the engine thread, now when this is it, else later. */
    void post(Runnable work) {
        if (thread.isCurrent()) {
            work.run();
            return;
        }
        thread.post(work);
    }

    private void failPendingTasks() {
        Runnable task;
        while ((task = thread.pollTask()) != null) {
            if (task instanceof FutureTask) ((FutureTask<?>) task).cancel(false);
        }
    }

    /** Waits on the engine thread, running its work meanwhile, until done or the timeout. */
    boolean await(java.util.function.BooleanSupplier done, long seconds) {
        return thread.runUntil(done, System.nanoTime() + TimeUnit.SECONDS.toNanos(seconds));
    }

    // Script values.

    ValueSlot pushSlot() {
        ValueSlot slot = new ValueSlot();
        slots.push(slot);
        return slot;
    }

    void popSlot(ValueSlot slot) {
        slots.remove(slot);
    }

    /** The return callback: a tick of a wait, an Eval request, or a value. */
    void onReturn(int flag, int kind, long text) {
        if (flag == 1) {
            thread.runPendingTasks(); // other threads' engine calls run while a wait polls
            return;
        }
        if (kind == 6) return; // only a renderer's nested wait expects Eval requests
        ValueSlot slot = slots.peek();
        if (slot == null || slot.filled) return;
        slot.filled = true;
        slot.kind = kind;
        // Read here rather than by the string native, which turns a lone surrogate's 3-byte form
        // into U+FFFD: the page's text arrives unit for unit.
        slot.text = Utf8Text.read(text);
    }

    /** The port of the call being served for {@code browser}, or 0 outside such a call. */
    int servedPort(BrowserCore browser) {
        ServedCall top = served.peek();
        return top != null && top.browser() == browser ? top.port() : 0;
    }

    void enterCall(BrowserCore browser, int port) {
        served.push(new ServedCall(browser, port));
    }

    void leaveCall() {
        served.pop();
    }

    // Browsers and cookies.

    BrowserCore createBrowser(long parent, String url, int width, int height) {
        return call(() -> {
            BrowserCore b = new BrowserCore(this);
            b.create(parent, url, width, height);
            browsers.put(b.handle, b);
            return b;
        });
    }

    List<BrowserCore> openBrowsers() {
        return new ArrayList<>(browsers.values());
    }
}
