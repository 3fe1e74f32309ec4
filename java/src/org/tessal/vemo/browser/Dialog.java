package org.tessal.vemo.browser;

import java.util.Objects;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/** A JavaScript alert, confirm or prompt waiting for the host's answer. */
public final class Dialog extends Continuation {
    /** The kind of dialog, in the engine's numbering. */
    public enum Type {
        ALERT, CONFIRM, PROMPT;

        static Type of(int value) {
            return value == 1 ? CONFIRM : value == 2 ? PROMPT : ALERT;
        }
    }

    private final String origin;
    private final Type type;
    private final String message;
    private final String defaultPrompt;

    Dialog(BrowserCore browser, long callback, String origin, Type type, String message, String defaultPrompt) {
        super(browser, callback);
        this.origin = origin;
        this.type = type;
        this.message = message;
        this.defaultPrompt = defaultPrompt;
    }

    public String origin() {
        return origin;
    }

    public Type type() {
        return type;
    }

    public String message() {
        return message;
    }

    /** The text a prompt offers; empty for the other kinds. */
    public String defaultPrompt() {
        return defaultPrompt;
    }

    /** OK without input (alert, confirm). */
    public void accept() {
        answer("accept", cb -> ZorvanLib.cefvemo_dialog_close(cb, 1, 0));
    }

    /** OK with {@code input} as the prompt's answer. */
    public void accept(String input) {
        Objects.requireNonNull(input, "input");
        answer("accept", cb -> {
            long text = NativeMemory.cefString(input);
            try {
                ZorvanLib.cefvemo_dialog_close(cb, 1, text);
            } finally {
                NativeMemory.freeCefString(text);
            }
        });
    }

    /** Cancel: a confirm gives false, a prompt null. */
    public void dismiss() {
        answer("dismiss", this::cancel);
    }

    @Override
    void cancel(long callback) {
        ZorvanLib.cefvemo_dialog_close(callback, 0, 0);
    }
}
