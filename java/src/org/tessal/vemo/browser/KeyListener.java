package org.tessal.vemo.browser;

/** Listener of a browser, called on the engine thread. */
@FunctionalInterface
public interface KeyListener {
    /** A key event; return true when the host consumed it. */
    boolean onKey(KeyEvent event);
}
