package org.tessal.vemo.browser;

/** Page script threw: the message is the page's own exception message. */
public final class ScriptException extends RuntimeException {
    private static final long serialVersionUID = 1L;

    public ScriptException(String message) {
        super(message);
    }
}
