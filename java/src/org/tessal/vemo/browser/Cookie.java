package org.tessal.vemo.browser;

import java.time.Instant;
import java.util.Objects;

/**
 * A cookie: name and value, the domain and path it applies to (empty for the
 * URL's own), its flags, and its expiry (null for a session cookie).
 */
public record Cookie(String name, String value, String domain, String path, boolean secure, boolean httpOnly,
                     Instant expires) {
    public Cookie {
        Objects.requireNonNull(name, "name");
        Objects.requireNonNull(value, "value");
        domain = domain == null ? "" : domain;
        path = path == null ? "" : path;
    }

    /** A session cookie for the URL it is set on. */
    public static Cookie of(String name, String value) {
        return new Cookie(name, value, "", "", false, false, null);
    }
}
