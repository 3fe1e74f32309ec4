package org.tessal.vemo.browser;

/** Listener of a browser's main-frame loads, called on the engine thread. */
public interface LoadListener {
    /** The main frame finished loading, with the HTTP status (0 for non-HTTP pages). */
    void onLoadEnd(Browser browser, int httpStatus);

    /** The main frame's load failed. */
    default void onLoadError(Browser browser, LoadException error) {}
}
