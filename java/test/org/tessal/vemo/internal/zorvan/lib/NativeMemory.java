package org.tessal.vemo.internal.zorvan.lib;

import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;

/**
 * Native memory for tests (zeroed on allocation), and direct calls of the JNI
 * bridge's natives with arguments that Java's type checks would refuse.
 */
public final class NativeMemory {
    static {
        System.loadLibrary("zv_test_memory");
    }

    private NativeMemory() {}

    public static native long allocate(int size);
    public static native void free(long address);
    public static native byte[] read(long address, int length);
    public static native void write(long address, byte[] bytes);

    /** Calls the native {@code symbol} of shape (long, Object, int). */
    public static native void callToNative(String symbol, long address, Object mirror, int size);
    /** Calls the native {@code symbol} of shape (Object, long, int). */
    public static native void callToJava(String symbol, Object mirror, long address, int size);
    /** Calls the native {@code symbol} of shape (long, Object). */
    public static native void callRecord(String symbol, long address, Object record);
    /** Calls the native {@code symbol} of shape (long, boolean, long) with any boolean byte. */
    public static native void callFocus(String symbol, long browser, byte focus);

    public static ByteBuffer view(long address, int length) {
        return ByteBuffer.wrap(read(address, length)).order(ByteOrder.LITTLE_ENDIAN);
    }

    public static long getLong(long address, int offset) {
        return view(address + offset, 8).getLong();
    }

    public static void putLong(long address, int offset, long value) {
        write(address + offset, ByteBuffer.allocate(8).order(ByteOrder.LITTLE_ENDIAN).putLong(value).array());
    }

    /** A NUL-terminated copy of {@code bytes}; freed with {@link #free}. */
    public static long cText(byte[] bytes) {
        long address = allocate(bytes.length + 1);
        write(address, bytes);
        return address;
    }

    public static long cText(String text) {
        return cText(text.getBytes(StandardCharsets.UTF_8));
    }

    /**
     * A cef_string_t holding the UTF-16 units of {@code text}, with its
     * units right behind it; freed with {@link #free}.
     */
    public static long cefString(String text) {
        long address = allocate(24 + 2 * text.length() + 2);
        ByteBuffer record = ByteBuffer.allocate(24 + 2 * text.length()).order(ByteOrder.LITTLE_ENDIAN);
        record.putLong(address + 24).putLong(text.length()).putLong(0);
        for (char unit : text.toCharArray()) record.putChar(unit);
        write(address, record.array());
        return address;
    }
}
