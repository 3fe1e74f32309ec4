package org.tessal.vemo.browser;

import java.util.concurrent.atomic.AtomicReference;
import java.util.function.LongConsumer;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/**
 * A request from the engine that the host answers once, through one of the
 * continuation exports, during its listener or later from any thread. The
 * engine's callback object is kept with the reference it came with until the
 * answer; a request still open when its browser closes is cancelled then.
 */
abstract class Continuation {
    final BrowserCore browser;
    private final long callback;
    private final AtomicReference<String> ended = new AtomicReference<>();

    Continuation(BrowserCore browser, long callback) {
        this.browser = browser;
        this.callback = callback;
    }

    /** Answers on the engine thread with {@code action(callback)}; once only. */
    final void answer(String what, LongConsumer action) {
        String before = ended.compareAndExchange(null, "was answered");
        if (before != null) throw new IllegalStateException(what + ": the request " + before);
        browser.engine.call(() -> {
            finish(action);
            return null;
        });
    }

    /** Whether the request is still waiting for its answer. */
    public final boolean isOpen() {
        return ended.get() == null;
    }

    private void finish(LongConsumer action) {
        try {
            if (callback != 0) action.accept(callback);
        } finally {
            Callbacks.releaseArg(callback);
            browser.forget(this);
        }
    }

    /** Engine thread: the browser closes with the request open; cancel it. */
    final void cancelAtClose() {
        if (ended.compareAndSet(null, "was cancelled when browser " + browser.id + " closed")) {
            finish(this::cancel);
        }
    }

    /** Engine thread: the host did not take the request; release it unanswered. */
    final void abandon() {
        if (ended.compareAndSet(null, "has ended")) finish(cb -> {});
    }

    /** The answer given when the request is cancelled. */
    abstract void cancel(long callback);

    static void cancelDownload(long callback) {
        ZorvanLib.cefvemo_download_callback(callback, null, 0);
    }
}
