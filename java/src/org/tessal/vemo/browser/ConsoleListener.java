package org.tessal.vemo.browser;

/** Listener of a browser, called on the engine thread. */
@FunctionalInterface
public interface ConsoleListener {
    /** A message for the console; true when the host has shown it. */
    boolean onConsoleMessage(Browser browser, ConsoleMessage message);
}
