package org.tessal.vemo.demo;

import com.sun.net.httpserver.HttpExchange;
import com.sun.net.httpserver.HttpServer;
import java.io.IOException;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.nio.charset.StandardCharsets;
import java.util.Base64;

/** The demo's pages, served on a loopback port. */
final class DemoServer implements AutoCloseable {
    static final String USER = "ada";
    static final String PASSWORD = "analytical";
    static final int DOWNLOAD_BYTES = 512 * 1024;

    private final HttpServer server;

    DemoServer() throws IOException {
        server = HttpServer.create(new InetSocketAddress(InetAddress.getLoopbackAddress(), 0), 0);
        server.createContext("/", e -> send(e, 200, "text/html",
            "<html><head><title>Vemo Java demo</title></head><body><p>Hello from loopback</p></body></html>"));
        server.createContext("/prompt", e -> send(e, 200, "text/html",
            "<html><head><title>Prompt page</title></head><body></body></html>"));
        server.createContext("/file.bin", this::download);
        server.createContext("/private", this::basicAuth);
        server.start();
    }

    String url(String path) {
        return "http://127.0.0.1:" + server.getAddress().getPort() + path;
    }

    private void download(HttpExchange e) throws IOException {
        e.getResponseHeaders().set("Content-Type", "application/octet-stream");
        e.getResponseHeaders().set("Content-Disposition", "attachment; filename=\"data.bin\"");
        e.sendResponseHeaders(200, DOWNLOAD_BYTES);
        byte[] chunk = new byte[16 * 1024];
        try (OutputStream out = e.getResponseBody()) {
            for (int sent = 0; sent < DOWNLOAD_BYTES; sent += chunk.length) {
                out.write(chunk);
                out.flush();
            }
        }
    }

    private void basicAuth(HttpExchange e) throws IOException {
        String expected = "Basic " + Base64.getEncoder().encodeToString(
            (USER + ":" + PASSWORD).getBytes(StandardCharsets.UTF_8));
        if (!expected.equals(e.getRequestHeaders().getFirst("Authorization"))) {
            e.getResponseHeaders().set("WWW-Authenticate", "Basic realm=\"vemo demo\"");
            send(e, 401, "text/html", "<html><head><title>Unauthorized</title></head></html>");
            return;
        }
        send(e, 200, "text/html", "<html><head><title>Welcome, " + USER + "</title></head><body>in</body></html>");
    }

    private static void send(HttpExchange e, int status, String type, String body) throws IOException {
        byte[] bytes = body.getBytes(StandardCharsets.UTF_8);
        e.getResponseHeaders().set("Content-Type", type + "; charset=utf-8");
        e.sendResponseHeaders(status, bytes.length);
        try (OutputStream out = e.getResponseBody()) {
            out.write(bytes);
        }
    }

    @Override
    public void close() {
        server.stop(0);
    }
}
