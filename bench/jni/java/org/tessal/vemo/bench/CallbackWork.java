package org.tessal.vemo.bench;

import com.sun.jna.Callback;
import com.sun.jna.CallbackReference;
import com.sun.jna.Pointer;

/** The same small piece of work, reached as a thunk, directly and through JNA. */
public final class CallbackWork {
    private CallbackWork() {}

    public static long work(long x) {
        return x * 31 + 7;
    }

    public static long workPacked(long[] args) {
        return work(args[0]);
    }

    public interface LongCallback extends Callback {
        long invoke(long x);
    }

    private static final LongCallback jnaCallback = CallbackWork::work;

    /** Native address of a JNA callback doing the same work. */
    public static long jnaCallbackAddress() {
        return Pointer.nativeValue(CallbackReference.getFunctionPointer(jnaCallback));
    }
}
