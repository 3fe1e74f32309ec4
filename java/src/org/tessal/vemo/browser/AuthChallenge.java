package org.tessal.vemo.browser;

import java.util.Objects;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/** A server or proxy asks for credentials; answer with {@link #login} or {@link #cancel()}. */
public final class AuthChallenge extends Continuation {
    record Details(String origin, boolean proxy, String host, int port, String realm, String scheme) {}

    private final Details details;

    AuthChallenge(BrowserCore browser, long callback, Details details) {
        super(browser, callback);
        this.details = details;
    }

    public String origin() {
        return details.origin();
    }

    public boolean isProxy() {
        return details.proxy();
    }

    public String host() {
        return details.host();
    }

    public int port() {
        return details.port();
    }

    public String realm() {
        return details.realm();
    }

    public String scheme() {
        return details.scheme();
    }

    public void login(String user, String password) {
        Objects.requireNonNull(user, "user");
        Objects.requireNonNull(password, "password");
        answer("login", cb -> ZorvanLib.cefvemo_auth_callback(cb, user, password, 1));
    }

    public void cancel() {
        answer("cancel", this::cancel);
    }

    @Override
    void cancel(long callback) {
        ZorvanLib.cefvemo_auth_callback(callback, null, null, 0);
    }
}
