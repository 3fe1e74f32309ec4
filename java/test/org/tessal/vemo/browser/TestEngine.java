package org.tessal.vemo.browser;

import com.sun.net.httpserver.HttpExchange;
import com.sun.net.httpserver.HttpHandler;
import com.sun.net.httpserver.HttpServer;
import java.io.IOException;
import java.io.OutputStream;
import java.io.UncheckedIOException;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;

/**
 * The one engine of the test run (an engine starts once per process) and a
 * loopback HTTP server the tests add pages to. The engine is shut down by
 * {@link EngineShutdownTest}, which runs last.
 */
final class TestEngine {
    static final long WAIT_SECONDS = 60;
    private static Engine engine;
    private static HttpServer server;

    private TestEngine() {}

    static synchronized Engine engine() {
        if (engine == null) {
            try {
                Path cache = Files.createTempDirectory("vemo-test-cache");
                engine = Engine.start(Engine.Options.of(Path.of(System.getProperty("zv.engineDir")),
                                                        System.getProperty("zv.version"))
                                                    .withCachePath(cache)
                                                    .withSwitch("disable-gpu", null));
            } catch (IOException e) {
                throw new UncheckedIOException(e);
            }
        }
        return engine;
    }

    static synchronized HttpServer server() {
        if (server == null) {
            try {
                server = HttpServer.create(new InetSocketAddress(InetAddress.getLoopbackAddress(), 0), 0);
            } catch (IOException e) {
                throw new UncheckedIOException(e);
            }
            server.start();
        }
        return server;
    }

    /** Serves {@code handler} at {@code path} (once per path) and returns its URL. */
    static synchronized String page(String path, HttpHandler handler) {
        HttpServer s = server();
        try {
            s.createContext(path, handler);
        } catch (IllegalArgumentException alreadyThere) {
            // served by an earlier test
        }
        return "http://127.0.0.1:" + s.getAddress().getPort() + path;
    }

    static String html(String path, String title, String body) {
        return page(path, e -> send(e, 200, "<html><head><title>" + title + "</title></head><body>" + body
                                            + "</body></html>"));
    }

    static void send(HttpExchange e, int status, String html) throws IOException {
        byte[] bytes = html.getBytes(StandardCharsets.UTF_8);
        e.getResponseHeaders().set("Content-Type", "text/html; charset=utf-8");
        e.sendResponseHeaders(status, bytes.length);
        try (OutputStream out = e.getResponseBody()) {
            out.write(bytes);
        }
    }

    /** A new browser on {@code url}, loaded. */
    static Browser open(String url) throws Exception {
        Browser b = engine().createBrowser();
        b.loadUrl(url).get(WAIT_SECONDS, TimeUnit.SECONDS);
        return b;
    }

    static <T> T await(CompletableFuture<T> f) throws Exception {
        return f.get(WAIT_SECONDS, TimeUnit.SECONDS);
    }
}
