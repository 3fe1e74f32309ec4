package org.tessal.vemo.browser;

import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/** The page asked for a context menu that the host shows itself; end it with {@link #cancel()}. */
public final class ContextMenu extends Continuation {
    ContextMenu(BrowserCore browser, long callback) {
        super(browser, callback);
    }

    public void cancel() {
        answer("cancel", this::cancel);
    }

    @Override
    void cancel(long callback) {
        ZorvanLib.cefvemo_context_menu_cancel(callback);
    }
}
