package org.tessal.vemo.internal;

/** Plays CEF's part in tests: calls thunk addresses as native code would. */
final class ThunkCaller {
    static {
        System.loadLibrary("zv_thunk_caller");
    }

    private ThunkCaller() {}

    /** Calls the thunk with {@code args.length} (at most 12) arguments on this thread. */
    static native long call(long thunk, long... args);

    /**
     * Raises {@code raisedFirst} in native code unless it is null, then calls
     * each thunk in turn on this thread with the same arguments; records each
     * result and whether a Java exception was pending right after it. A
     * pending exception is raised when this method returns.
     */
    static native void callEach(Throwable raisedFirst, long[] thunks, long[] args, long[] results,
                                boolean[] pending);

    /**
     * Calls the thunk on a new native thread; returns {result, 1 if that thread
     * was attached to the JVM before the call, 1 if it still was after it}.
     */
    static native long[] callOnNewThread(long thunk, long... args);

    /**
     * On one new native thread, {@code rounds} times: attaches the thread (as a
     * daemon every other round), calls the thunk, detaches the thread and calls
     * the thunk again while the JVM does not know the thread. Returns per round
     * {id of the Java thread of the attachment, first result, second result,
     * 1 if the thread was attached after the second call}.
     */
    static native long[] callAcrossAttachments(long thunk, int rounds);

    /** Sets the epoch that {@link #callWhile} callers read around each call. */
    static native void publish(long epoch);

    /**
     * Runs {@code churn} on this thread while {@code threads} native threads
     * (every other one attached to the JVM throughout, the rest unknown to it)
     * call the thunks in turn, each with one argument: the epoch published
     * before the call. A result counts as a method run when it is
     * {@code (g << 16) | 0x7E57} for a generation g between the epoch before
     * the call and one more than the epoch after it, and as a zero when it is 0;
     * anything else is a violation. Returns {calls, method runs, zeros,
     * violations, first violating result, epoch before it, epoch after it}.
     */
    static native long[] callWhile(long[] thunks, int threads, Runnable churn);

    /**
     * Calls the thunk without arguments {@code rounds} times on each of
     * {@code threads} new native threads, all at once; returns the results
     * thread by thread.
     */
    static native long[] callConcurrently(long thunk, int threads, int rounds);
}
