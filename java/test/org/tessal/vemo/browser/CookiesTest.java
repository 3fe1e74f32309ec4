package org.tessal.vemo.browser;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.tessal.vemo.browser.TestEngine.await;

import java.time.Instant;
import java.time.temporal.ChronoUnit;
import java.util.List;
import java.util.Map;
import java.util.function.Function;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;

class CookiesTest {
    @Test
    void setVisitAndDelete() throws Exception {
        Cookies cookies = TestEngine.engine().cookies();
        String url = TestEngine.page("/cookies/", e -> {
            e.getResponseHeaders().add("Set-Cookie", "fromServer=yes; Path=/cookies");
            TestEngine.send(e, 200, "<html><head><title>cookies</title></head></html>");
        });
        cookies.deleteAll();
        Instant expiry = Instant.now().plus(1, ChronoUnit.DAYS).truncatedTo(ChronoUnit.SECONDS);
        assertTrue(cookies.set(url, Cookie.of("plain", "value \u00e9")));
        assertTrue(cookies.set(url, new Cookie("kept", "1", "127.0.0.1", "/cookies", false, true, expiry)));
        try (Browser b = TestEngine.open(url)) {
            assertEquals("cookies", b.eval("document.title"));
            Map<String, Cookie> byName = await(cookies.visit(url)).stream()
                .collect(Collectors.toMap(Cookie::name, Function.identity()));
            assertEquals("value \u00e9", byName.get("plain").value());
            assertEquals("yes", byName.get("fromServer").value());
            Cookie kept = byName.get("kept");
            assertTrue(kept.httpOnly(), "HTTP-only cookies are visited too");
            assertEquals("/cookies", kept.path());
            assertEquals(expiry, kept.expires());
        }
        cookies.deleteAll();
        assertEquals(List.of(), await(cookies.visit(url)), "a visit without cookies ends too");
    }
}
