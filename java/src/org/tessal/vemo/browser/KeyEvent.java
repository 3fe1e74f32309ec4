package org.tessal.vemo.browser;

import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;
import org.tessal.vemo.internal.zorvan.lib.cef_key_event_t;

/**
 * A key event before (pre) or after the page saw it. The engine's event is
 * borrowed for the listener's call only: {@link #runEditShortcut()} works
 * while the listener runs, on its thread.
 */
public final class KeyEvent {
    private final BrowserCore browser;
    private final long event;
    private final cef_key_event_t fields;
    private final boolean pre;
    private boolean live = true;

    KeyEvent(BrowserCore browser, long event, cef_key_event_t fields, boolean pre) {
        this.browser = browser;
        this.event = event;
        this.fields = fields;
        this.pre = pre;
    }

    void expire() {
        live = false;
    }

    /** True before the page has seen the event. */
    public boolean isPre() {
        return pre;
    }

    /** 0 raw key down, 1 key down, 2 key up, 3 character. */
    public int type() {
        return fields.type;
    }

    public int modifiers() {
        return fields.modifiers;
    }

    public int windowsKeyCode() {
        return fields.windows_key_code;
    }

    public int nativeKeyCode() {
        return fields.native_key_code;
    }

    public char character() {
        return fields.character;
    }

    public boolean isSystemKey() {
        return fields.is_system_key != 0;
    }

    /**
     * Performs the edit command (select all, undo, redo, cut, copy, paste)
     * that this event stands for on the main frame; true when it was one.
     */
    public boolean runEditShortcut() {
        if (!live || !browser.engine.thread.isCurrent()) {
            throw new IllegalStateException("a key event can be acted on only inside its listener");
        }
        browser.checkOpen();
        return ZorvanLib.cefvemo_handlekey(browser.handle, event) == 1;
    }

    @Override
    public String toString() {
        return "key type " + type() + " modifiers " + modifiers() + " native " + nativeKeyCode();
    }
}
