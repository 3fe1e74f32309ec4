package org.tessal.vemo.browser;

/** Listener of a browser, called on the engine thread. */
@FunctionalInterface
public interface TitleListener {
    /** The page's title changed. */
    void onTitle(Browser browser, String title);
}
