package org.tessal.vemo.browser;

/**
 * Reads the NUL-terminated texts that the engine hands to the return
 * callback. They are UTF-8 in which a lone UTF-16 surrogate keeps its 3-byte
 * form (and U+0000 may come as C0 80); both are decoded to the code units they
 * stand for, so that every code unit a page sends arrives unchanged. Other
 * invalid bytes become U+FFFD.
 */
final class Utf8Text {
    private Utf8Text() {}

    /** The text at {@code address}, or the empty text for 0. */
    static String read(long address) {
        if (address == 0) return "";
        int length = 0;
        while (NativeMemory.getByte(address + length) != 0) length++;
        byte[] bytes = new byte[length];
        for (int i = 0; i < length; i++) bytes[i] = NativeMemory.getByte(address + i);
        return decode(bytes);
    }

    static String decode(byte[] b) {
        StringBuilder out = new StringBuilder(b.length);
        int i = 0;
        while (i < b.length) {
            int b0 = b[i] & 0xFF;
            if (b0 < 0x80) {
                out.append((char) b0);
                i += 1;
            } else if ((b0 & 0xE0) == 0xC0 && continued(b, i, 1)) {
                out.append((char) (((b0 & 0x1F) << 6) | (b[i + 1] & 0x3F)));
                i += 2;
            } else if ((b0 & 0xF0) == 0xE0 && continued(b, i, 2)) {
                out.append((char) (((b0 & 0x0F) << 12) | ((b[i + 1] & 0x3F) << 6) | (b[i + 2] & 0x3F)));
                i += 3;
            } else if ((b0 & 0xF8) == 0xF0 && continued(b, i, 3)) {
                int cp = ((b0 & 0x07) << 18) | ((b[i + 1] & 0x3F) << 12) | ((b[i + 2] & 0x3F) << 6)
                         | (b[i + 3] & 0x3F);
                if (cp >= 0x10000 && cp <= 0x10FFFF) out.appendCodePoint(cp);
                else out.append('\uFFFD');
                i += 4;
            } else {
                out.append('\uFFFD');
                i += 1;
            }
        }
        return out.toString();
    }

    private static boolean continued(byte[] b, int start, int count) {
        for (int k = 1; k <= count; k++) {
            if (start + k >= b.length || (b[start + k] & 0xC0) != 0x80) return false;
        }
        return true;
    }
}
