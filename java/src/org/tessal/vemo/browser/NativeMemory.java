package org.tessal.vemo.browser;

import java.lang.invoke.MethodHandle;
import java.lang.invoke.MethodHandles;
import java.lang.invoke.MethodType;
import java.lang.reflect.Field;
import java.util.concurrent.ConcurrentHashMap;

/**
 * Native memory for handler tables, CEF strings and out-parameters.
 *
 * <p>The JNI bridge has no allocator, so blocks come from
 * {@code sun.misc.Unsafe} (allocateMemory / freeMemory and the plain
 * get/put accessors), which every JDK ships in module jdk.unsupported. It is
 * reached through method handles, so this class compiles without internal-API
 * warnings; JNA would serve as well but adds a second native library to load
 * for the same few calls. Every live block is recorded, so that tests can
 * check that nothing is left behind.
 */
final class NativeMemory {
    private static final MethodHandle ALLOCATE;
    private static final MethodHandle FREE;
    private static final MethodHandle SET;
    private static final MethodHandle GET_BYTE;
    private static final MethodHandle GET_INT;
    private static final MethodHandle PUT_INT;
    private static final MethodHandle GET_LONG;
    private static final MethodHandle PUT_LONG;
    private static final MethodHandle PUT_CHAR;

    private static final ConcurrentHashMap<Long, Long> LIVE = new ConcurrentHashMap<>();

    static {
        try {
            Class<?> unsafeClass = Class.forName("sun.misc.Unsafe");
            Field field = unsafeClass.getDeclaredField("theUnsafe");
            field.setAccessible(true);
            Object unsafe = field.get(null);
            MethodHandles.Lookup lookup = MethodHandles.lookup();
            ALLOCATE = bound(lookup, unsafeClass, unsafe, "allocateMemory", long.class, long.class);
            FREE = bound(lookup, unsafeClass, unsafe, "freeMemory", void.class, long.class);
            SET = bound(lookup, unsafeClass, unsafe, "setMemory", void.class, long.class, long.class,
                        byte.class);
            GET_BYTE = bound(lookup, unsafeClass, unsafe, "getByte", byte.class, long.class);
            GET_INT = bound(lookup, unsafeClass, unsafe, "getInt", int.class, long.class);
            PUT_INT = bound(lookup, unsafeClass, unsafe, "putInt", void.class, long.class, int.class);
            GET_LONG = bound(lookup, unsafeClass, unsafe, "getLong", long.class, long.class);
            PUT_LONG = bound(lookup, unsafeClass, unsafe, "putLong", void.class, long.class, long.class);
            PUT_CHAR = bound(lookup, unsafeClass, unsafe, "putChar", void.class, long.class, char.class);
        } catch (ReflectiveOperationException e) {
            throw new ExceptionInInitializerError(e);
        }
    }

    private static MethodHandle bound(MethodHandles.Lookup lookup, Class<?> c, Object receiver,
                                      String name, Class<?> result, Class<?>... params)
            throws ReflectiveOperationException {
        return lookup.findVirtual(c, name, MethodType.methodType(result, params)).bindTo(receiver);
    }

    private NativeMemory() {}

    /** A zero-filled block of {@code size} bytes. */
    static long allocate(long size) {
        try {
            long address = (long) ALLOCATE.invokeExact(Math.max(size, 1L));
            SET.invokeExact(address, Math.max(size, 1L), (byte) 0);
            LIVE.put(address, size);
            return address;
        } catch (Throwable t) {
            throw rethrow(t);
        }
    }

    /** Frees a block from {@link #allocate}; 0 and unknown addresses are ignored. */
    static void free(long address) {
        if (address == 0 || LIVE.remove(address) == null) return;
        try {
            FREE.invokeExact(address);
        } catch (Throwable t) {
            throw rethrow(t);
        }
    }

    /** Number of blocks allocated and not yet freed. */
    static int liveBlocks() {
        return LIVE.size();
    }

    static byte getByte(long address) {
        try {
            return (byte) GET_BYTE.invokeExact(address);
        } catch (Throwable t) {
            throw rethrow(t);
        }
    }

    static int getInt(long address) {
        try {
            return (int) GET_INT.invokeExact(address);
        } catch (Throwable t) {
            throw rethrow(t);
        }
    }

    static void putInt(long address, int value) {
        try {
            PUT_INT.invokeExact(address, value);
        } catch (Throwable t) {
            throw rethrow(t);
        }
    }

    static long getLong(long address) {
        try {
            return (long) GET_LONG.invokeExact(address);
        } catch (Throwable t) {
            throw rethrow(t);
        }
    }

    static void putLong(long address, long value) {
        try {
            PUT_LONG.invokeExact(address, value);
        } catch (Throwable t) {
            throw rethrow(t);
        }
    }

    // cef_string_t: str (char16*), length (size_t), dtor (null: the buffer is ours).
    private static final int CEF_STRING_SIZE = 24;

    /** A cef_string_t holding a UTF-16 copy of {@code text}; free with {@link #freeCefString}. */
    static long cefString(String text) {
        long buffer = allocate(2L * text.length() + 2);
        try {
            for (int i = 0; i < text.length(); i++) PUT_CHAR.invokeExact(buffer + 2L * i, text.charAt(i));
        } catch (Throwable t) {
            free(buffer);
            throw rethrow(t);
        }
        long string = allocate(CEF_STRING_SIZE);
        putLong(string, buffer);
        putLong(string + 8, text.length());
        return string;
    }

    static void freeCefString(long string) {
        if (string == 0) return;
        free(getLong(string));
        free(string);
    }

    private static RuntimeException rethrow(Throwable t) {
        if (t instanceof RuntimeException) return (RuntimeException) t;
        if (t instanceof Error) throw (Error) t;
        return new IllegalStateException(t);
    }
}
