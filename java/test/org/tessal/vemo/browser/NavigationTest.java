package org.tessal.vemo.browser;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.tessal.vemo.browser.TestEngine.await;

import java.nio.charset.StandardCharsets;
import java.util.LinkedHashMap;
import java.util.Map;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Test;

class NavigationTest {
    @Test
    void loadsPagesWithTitleUrlSourceAndHistory() throws Exception {
        String first = TestEngine.html("/nav/first", "First page", "<p id='p'>one</p>");
        String second = TestEngine.html("/nav/second", "Second page", "<p>two</p>");
        try (Browser b = TestEngine.engine().createBrowser(0, "", 640, 480)) {
            CompletableFuture<String> title = new CompletableFuture<>();
            b.setTitleListener((browser, t) -> title.complete(t));
            assertEquals(200, await(b.loadUrl(first)));
            assertEquals("First page", await(title));
            assertEquals(first, b.url());
            assertTrue(await(b.source()).contains("<p id='p'>one</p>"), "the source keeps its markup");

            assertEquals(200, await(b.loadUrl(second)));
            await(b.back());
            assertEquals(first, b.url());
            await(b.forward());
            assertEquals(second, b.url());
            await(b.reload());
            assertEquals("Second page", b.eval("document.title"));
        }
    }

    @Test
    void postsBodyAndHeaders() throws Exception {
        String echo = TestEngine.page("/nav/echo", e -> {
            String body = new String(e.getRequestBody().readAllBytes(), StandardCharsets.UTF_8);
            String text = e.getRequestMethod() + "|" + body + "|" + e.getRequestHeaders().getFirst("X-One") + "|"
                          + e.getRequestHeaders().getFirst("X-Two");
            TestEngine.send(e, 200, "<html><head><title>" + text + "</title></head></html>");
        });
        Map<String, String> headers = new LinkedHashMap<>();
        headers.put("X-One", "first");
        headers.put("X-Two", "a:b:c");
        try (Browser b = TestEngine.engine().createBrowser()) {
            await(b.loadUrl(echo, "name=value&x=1".getBytes(StandardCharsets.UTF_8), headers));
            assertEquals("POST|name=value&x=1|first|a:b:c", b.eval("document.title"));
            assertThrows(IllegalArgumentException.class, () -> b.loadUrl(echo, null, Map.of("X-Bad", "a::b")));
        }
    }

    @Test
    void stopEndsAPendingLoad() throws Exception {
        CountDownLatch release = new CountDownLatch(1);
        String slow = TestEngine.page("/nav/slow", e -> {
            try {
                release.await(TestEngine.WAIT_SECONDS, TimeUnit.SECONDS);
            } catch (InterruptedException ignored) {
                Thread.currentThread().interrupt();
            }
            TestEngine.send(e, 200, "<html><body>late</body></html>");
        });
        try (Browser b = TestEngine.engine().createBrowser()) {
            CompletableFuture<Integer> load = b.loadUrl(slow);
            Thread.sleep(300);
            b.stop();
            ExecutionException e = assertThrows(ExecutionException.class, () -> await(load));
            assertTrue(e.getCause() instanceof LoadException, e.toString());
        } finally {
            release.countDown();
        }
    }
}
