package org.tessal.vemo.internal;

/**
 * Turns Java methods into native function pointers ("thunks") that native
 * code, CEF above all, calls as plain C functions from any thread.
 *
 * <p>A bound method returns {@code long}; in the direct form it takes one
 * {@code long} (or other integer) parameter per native argument, in the packed
 * form a single {@code long[]} holding them. Binding, unbinding, reset and
 * enabling are made from one thread.
 */
public final class CallbackExt {
    static {
        System.loadLibrary("vemo-zorvan-52013-win32");
    }

    private CallbackExt() {}

    /**
     * Binds {@code name} with JNI descriptor {@code signature}, looked up on
     * {@code receiver} (an instance, or the class itself when
     * {@code staticCall}) to the lowest free of 128 slots and returns the
     * address of the thunk of {@code arity} (0 to 12) native arguments for that
     * slot, or 0 when nothing was bound. {@code fallback} is what the thunk
     * returns when the method cannot be called or throws.
     */
    public static native long bind(Object owner, Object receiver, String name, String signature,
                                   int arity, boolean staticCall, boolean packedArgs, long fallback);

    /** Releases every slot bound with {@code owner}. */
    public static native void unbind(Object owner);

    /** Releases every bound slot. */
    public static native void reset();

    /** False while every thunk returns 0 without calling Java. */
    public static native boolean getEnabled();

    public static native void setEnabled(boolean enabled);

    /** Number of thunk calls currently inside their Java method. */
    public static native int getEntryCount();
}
