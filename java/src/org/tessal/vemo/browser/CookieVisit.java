package org.tessal.vemo.browser;

import java.time.Instant;
import java.time.LocalDateTime;
import java.time.ZoneOffset;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/**
 * Owner of one cookie visitor table. The visit ends with its last cookie, or
 * when the engine releases the visitor (which is how a visit without cookies
 * ends).
 */
final class CookieVisit {
    // cef_cookie_t: name, value, domain, path (cef_string_t, 24 bytes each), secure, httponly,
    // creation, last_access (cef_time_t, 32 bytes each), has_expires, expires.
    private static final int DOMAIN = 48, PATH = 72, SECURE = 96, HTTPONLY = 100, HAS_EXPIRES = 168,
                             EXPIRES = 172;

    final CompletableFuture<List<Cookie>> result = new CompletableFuture<>();
    private final List<Cookie> cookies = new ArrayList<>();

    synchronized void visit(long cookie, int count, int total) {
        cookies.add(read(cookie));
        if (count + 1 >= total) finish();
    }

    synchronized void released(long address) {
        finish();
    }

    private void finish() {
        result.complete(Collections.unmodifiableList(new ArrayList<>(cookies)));
    }

    private static Cookie read(long c) {
        Instant expires = NativeMemory.getInt(c + HAS_EXPIRES) != 0 ? time(c + EXPIRES) : null;
        return new Cookie(ZorvanLib.cefvemo_cookie_to_java(c), ZorvanLib.cefvemo_cookie_value(c),
                          ZorvanLib.cefvemo_cookie_to_java(c + DOMAIN), ZorvanLib.cefvemo_cookie_to_java(c + PATH),
                          NativeMemory.getInt(c + SECURE) != 0, NativeMemory.getInt(c + HTTPONLY) != 0, expires);
    }

    // cef_time_t: year, month, day_of_week, day_of_month, hour, minute, second, millisecond (UTC).
    private static Instant time(long t) {
        try {
            return LocalDateTime.of(NativeMemory.getInt(t), NativeMemory.getInt(t + 4), NativeMemory.getInt(t + 12),
                                    NativeMemory.getInt(t + 16), NativeMemory.getInt(t + 20),
                                    NativeMemory.getInt(t + 24), NativeMemory.getInt(t + 28) * 1_000_000)
                                .toInstant(ZoneOffset.UTC);
        } catch (java.time.DateTimeException e) {
            return null;
        }
    }
}
