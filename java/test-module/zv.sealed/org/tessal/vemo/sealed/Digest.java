package org.tessal.vemo.sealed;

public final class Digest {
    private Digest() {}

    /** A value that depends on the length, order and value of every element. */
    public static long of(long[] values) {
        long digest = values.length;
        for (long value : values) digest = digest * 1_000_003L + value;
        return digest;
    }
}
