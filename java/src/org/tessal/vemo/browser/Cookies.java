package org.tessal.vemo.browser;

import java.util.List;
import java.util.Objects;
import java.util.concurrent.CompletableFuture;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/** The engine's global cookie store. Every method may be called from any thread. */
public final class Cookies {
    private final EngineCore engine;

    Cookies(EngineCore engine) {
        this.engine = engine;
    }

    /** Sets {@code cookie} for {@code url}; false when the engine refused it. */
    public boolean set(String url, Cookie cookie) {
        Objects.requireNonNull(url, "url");
        Objects.requireNonNull(cookie, "cookie");
        double expires = cookie.expires() == null ? -1.0 : cookie.expires().toEpochMilli() / 1000.0;
        return engine.call(() -> ZorvanLib.cefvemo_set_cookie(url, cookie.name(), cookie.value(), cookie.domain(),
            cookie.path(), cookie.secure() ? 1 : 0, cookie.httpOnly() ? 1 : 0, expires));
    }

    /** The cookies that apply to {@code url}, HTTP-only ones included, once the engine has visited them. */
    public CompletableFuture<List<Cookie>> visit(String url) {
        Objects.requireNonNull(url, "url");
        return engine.call(() -> {
            CookieVisit visit = new CookieVisit();
            long visitor = engine.nativeTables.cookieVisitor(visit, visit::released);
            // The engine takes the visitor's one reference and releases it when the visit ends.
            if (!ZorvanLib.cefvemo_get_cookie(url, visitor) && !visit.result.isDone()) {
                visit.result.completeExceptionally(new IllegalStateException("the engine did not start the visit"));
            }
            return visit.result;
        });
    }

    /** Deletes every cookie. */
    public void deleteAll() {
        engine.call(() -> {
            ZorvanLib.cefvemo_delete_cookies();
            return null;
        });
    }
}
