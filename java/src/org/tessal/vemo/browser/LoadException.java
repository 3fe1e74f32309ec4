package org.tessal.vemo.browser;

/** A page load that failed, with the engine's error code and text. */
public final class LoadException extends Exception {
    private static final long serialVersionUID = 1L;
    private final int code;

    LoadException(String url, int code, String text) {
        super("loading " + url + " failed: " + text + " (" + code + ")");
        this.code = code;
    }

    public int code() {
        return code;
    }
}
