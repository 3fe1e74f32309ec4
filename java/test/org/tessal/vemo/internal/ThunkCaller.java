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
     * Calls each thunk in turn on this thread with the same arguments; records
     * each result and whether a Java exception was pending right after it. A
     * pending exception is raised when this method returns.
     */
    static native void callEach(long[] thunks, long[] args, long[] results, boolean[] pending);

    /**
     * Calls the thunk on a new native thread; returns {result, 1 if that thread
     * was attached to the JVM before the call, 1 if it still was after it}.
     */
    static native long[] callOnNewThread(long thunk, long... args);
}
