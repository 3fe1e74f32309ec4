package org.tessal.vemo.browser;

/** Listener of a browser, called on the engine thread. */
@FunctionalInterface
public interface DialogListener {
    /** A JavaScript dialog; return true to answer it (now or later), false for the engine's own. */
    boolean onDialog(Dialog dialog);
}
