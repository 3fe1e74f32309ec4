package org.tessal.vemo.browser;

/** Listener of a browser, called on the engine thread. */
@FunctionalInterface
public interface ContextMenuListener {
    /** A context menu is to be shown; return true when the host shows its own and ends it later. */
    boolean onContextMenu(ContextMenu menu);
}
