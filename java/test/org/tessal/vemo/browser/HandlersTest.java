package org.tessal.vemo.browser;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.tessal.vemo.browser.TestEngine.await;

import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Base64;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.CopyOnWriteArrayList;
import org.junit.jupiter.api.Disabled;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/** Listeners of a browser, each answered through its continuation. */
class HandlersTest {
    @Test
    @Disabled("needs console messages in the engine work-alike")
    void consoleMessagesReachTheListener() throws Exception {
        try (Browser b = TestEngine.open(TestEngine.html("/handlers/console", "Console", ""))) {
            CompletableFuture<ConsoleMessage> seen = new CompletableFuture<>();
            b.setConsoleListener((browser, m) -> seen.complete(m));
            b.execute("console.log('hello ' + 'console')");
            assertEquals("hello console", await(seen).text());
        }
    }

    @Test
    void dialogsAreAnsweredNowOrLaterFromAnotherThread() throws Exception {
        try (Browser b = TestEngine.open(TestEngine.html("/handlers/dialogs", "Dialogs", ""))) {
            List<String> asked = new CopyOnWriteArrayList<>();
            b.setDialogListener(d -> {
                asked.add(d.type() + ":" + d.message() + ":" + d.defaultPrompt());
                switch (d.type()) {
                    case ALERT: d.accept(); break;
                    case CONFIRM: d.dismiss(); break;
                    default: CompletableFuture.runAsync(() -> d.accept("typed \uD83D\uDE00")); // later, elsewhere
                }
                return true;
            });
            assertEquals(null, b.eval("alert('note')"));
            assertEquals(false, b.eval("confirm('sure?')"));
            assertEquals("typed \uD83D\uDE00", b.eval("prompt('name?', 'nobody')"));
            assertEquals(List.of("ALERT:note:", "CONFIRM:sure?:", "PROMPT:name?:nobody"), asked);

            List<Dialog> kept = new ArrayList<>();
            b.setDialogListener(d -> {
                kept.add(d);
                d.accept();
                return true;
            });
            b.eval("alert('once')");
            assertFalse(kept.get(0).isOpen());
            assertThrows(IllegalStateException.class, kept.get(0)::accept, "a request is answered once");
        }
    }

    @Test
    void basicAuthIsAnswered() throws Exception {
        String expected = "Basic " + Base64.getEncoder().encodeToString("ada:lovelace".getBytes(StandardCharsets.UTF_8));
        String url = TestEngine.page("/handlers/auth", e -> {
            if (!expected.equals(e.getRequestHeaders().getFirst("Authorization"))) {
                e.getResponseHeaders().set("WWW-Authenticate", "Basic realm=\"tests\"");
                TestEngine.send(e, 401, "<html><head><title>denied</title></head></html>");
            } else {
                TestEngine.send(e, 200, "<html><head><title>welcome</title></head></html>");
            }
        });
        try (Browser b = TestEngine.engine().createBrowser()) {
            List<String> challenges = new CopyOnWriteArrayList<>();
            b.setAuthListener(c -> {
                challenges.add(c.realm() + "@" + c.host() + ":" + c.scheme().toLowerCase());
                c.login("ada", "lovelace");
                return true;
            });
            assertEquals(200, await(b.loadUrl(url)));
            assertEquals("welcome", b.eval("document.title"));
            assertEquals("tests@127.0.0.1:basic", challenges.get(0));

            b.setAuthListener(c -> {
                c.cancel();
                return true;
            });
            b.loadUrl(url + "?again");
            assertEquals("denied", awaitTitle(b, "denied"));
        }
    }

    private static String awaitTitle(Browser b, String title) throws Exception {
        long end = System.nanoTime() + TestEngine.WAIT_SECONDS * 1_000_000_000L;
        Object now;
        do {
            now = b.eval("document.title");
            if (title.equals(now)) return title;
            Thread.sleep(20);
        } while (System.nanoTime() < end);
        return String.valueOf(now);
    }

    @Test
    void downloadsReportProgressToTheirEnd(@TempDir Path dir) throws Exception {
        int size = 300 * 1024;
        String url = TestEngine.page("/handlers/file.bin", e -> {
            e.getResponseHeaders().set("Content-Type", "application/octet-stream");
            e.getResponseHeaders().set("Content-Disposition", "attachment; filename=\"payload.bin\"");
            e.sendResponseHeaders(200, size);
            try (OutputStream out = e.getResponseBody()) {
                byte[] chunk = new byte[size / 10];
                for (int i = 0; i < 10; i++) {
                    out.write(chunk);
                    out.flush();
                }
            }
        });
        try (Browser b = TestEngine.open(TestEngine.html("/handlers/downloads", "Downloads", ""))) {
            CompletableFuture<Download> end = new CompletableFuture<>();
            List<Download> updates = new CopyOnWriteArrayList<>();
            b.setDownloadListener(new DownloadListener() {
                @Override
                public void onDownloadRequested(DownloadRequest request) {
                    assertEquals("payload.bin", request.suggestedName());
                    request.saveTo(dir.resolve(request.suggestedName()));
                }

                @Override
                public void onDownloadUpdated(Download d) {
                    updates.add(d);
                    if (d.status() != Download.Status.IN_PROGRESS) end.complete(d);
                }
            });
            b.loadUrl(url);
            Download last = await(end);
            assertTrue(last.isComplete(), last.toString());
            assertEquals(size, last.receivedBytes());
            assertEquals(100, last.percent());
            assertEquals(size, Files.size(dir.resolve("payload.bin")));
            assertEquals(url, last.url());
            assertThrows(IllegalStateException.class, last::cancel, "an ended download cannot be cancelled");
        }
    }
}
