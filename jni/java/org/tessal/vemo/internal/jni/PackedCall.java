package org.tessal.vemo.internal.jni;

import java.lang.invoke.MethodHandle;

/**
 * Calls a packed-form callback handler with its arguments collected into a
 * new long[] by Java code. The JNI bridge library embeds this class and
 * defines it itself; callN takes a handle of type (long[])long and the N
 * native arguments.
 */
final class PackedCall {
    private PackedCall() {}

    static long call0(MethodHandle handler) throws Throwable {
        return (long) handler.invokeExact(new long[] {});
    }

    static long call1(MethodHandle handler, long a0) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0});
    }

    static long call2(MethodHandle handler, long a0, long a1) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1});
    }

    static long call3(MethodHandle handler, long a0, long a1, long a2) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2});
    }

    static long call4(MethodHandle handler, long a0, long a1, long a2, long a3) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2, a3});
    }

    static long call5(MethodHandle handler, long a0, long a1, long a2, long a3, long a4) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2, a3, a4});
    }

    static long call6(MethodHandle handler, long a0, long a1, long a2, long a3, long a4, long a5) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2, a3, a4, a5});
    }

    static long call7(MethodHandle handler, long a0, long a1, long a2, long a3, long a4, long a5, long a6) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2, a3, a4, a5, a6});
    }

    static long call8(MethodHandle handler, long a0, long a1, long a2, long a3, long a4, long a5, long a6, long a7) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2, a3, a4, a5, a6, a7});
    }

    static long call9(MethodHandle handler, long a0, long a1, long a2, long a3, long a4, long a5, long a6, long a7, long a8) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2, a3, a4, a5, a6, a7, a8});
    }

    static long call10(MethodHandle handler, long a0, long a1, long a2, long a3, long a4, long a5, long a6, long a7, long a8, long a9) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2, a3, a4, a5, a6, a7, a8, a9});
    }

    static long call11(MethodHandle handler, long a0, long a1, long a2, long a3, long a4, long a5, long a6, long a7, long a8, long a9, long a10) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10});
    }

    static long call12(MethodHandle handler, long a0, long a1, long a2, long a3, long a4, long a5, long a6, long a7, long a8, long a9, long a10, long a11) throws Throwable {
        return (long) handler.invokeExact(new long[] {a0, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11});
    }
}
