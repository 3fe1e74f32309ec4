package org.tessal.vemo.bench;

import com.sun.net.httpserver.HttpServer;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.concurrent.TimeUnit;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import org.tessal.vemo.browser.Browser;
import org.tessal.vemo.browser.Engine;

/**
 * eval("1+1") and one call from page script into a host function, through
 * the Java host library, beside the same two figures of the C++ host
 * (script_bench, run first in this run). Medians in microseconds; the goal
 * is a ratio of at most 1.2 for both.
 */
public final class HostBench {
    private static final int EVALS = 5000, CALL_ROUNDS = 20, CALLS = 500;

    public static void main(String[] args) throws Exception {
        Path engineDir = Path.of(args[0]);
        String version = args[1];
        String scriptBench = args[2];
        double[] cpp = cppFigures(scriptBench);

        HttpServer server = HttpServer.create(new InetSocketAddress(InetAddress.getLoopbackAddress(), 0), 0);
        server.createContext("/", e -> {
            byte[] page = "<html><body>bench</body></html>".getBytes(StandardCharsets.UTF_8);
            e.sendResponseHeaders(200, page.length);
            try (OutputStream out = e.getResponseBody()) {
                out.write(page);
            }
        });
        server.start();
        try (Engine engine = Engine.start(Engine.Options.of(engineDir, version))) {
            Browser browser = engine.createBrowser();
            browser.loadUrl("http://127.0.0.1:" + server.getAddress().getPort() + "/").get(60, TimeUnit.SECONDS);
            browser.addFunction("ping", a -> 1.0);
            double[] java = new double[2];
            // Measured on the engine thread, as a widget's UI code calls it.
            engine.run(() -> {
                for (int i = 0; i < 500; i++) browser.eval("1+1"); // warm up
                List<Double> evals = new ArrayList<>();
                for (int i = 0; i < EVALS; i++) evals.add(micros(() -> browser.eval("1+1")));
                List<Double> calls = new ArrayList<>();
                for (int r = 0; r < CALL_ROUNDS; r++) {
                    double loop = micros(() -> browser.eval("for (var i = 0; i < 500; i++) ping(); 0"));
                    double empty = micros(() -> browser.eval("for (var i = 0; i < 500; i++) {} 0"));
                    calls.add((loop - empty) / CALLS);
                }
                java[0] = median(evals);
                java[1] = median(calls);
            });
            browser.close();
            report("eval(\"1+1\")", java[0], cpp[0]);
            report("host call", java[1], cpp[1]);
        } finally {
            server.stop(0);
        }
    }

    private static void report(String what, double java, double cpp) {
        System.out.printf("%-12s Java %8.1f us   C++ %8.1f us   ratio %.2f (goal <= 1.20)%n", what, java, cpp,
                          java / cpp);
    }

    private static double micros(Runnable r) {
        long start = System.nanoTime();
        r.run();
        return (System.nanoTime() - start) / 1000.0;
    }

    private static double median(List<Double> v) {
        List<Double> sorted = new ArrayList<>(v);
        Collections.sort(sorted);
        return sorted.get(sorted.size() / 2);
    }

    /** median_us of BM_Eval and BM_HostCall from script_bench's JSON output. */
    private static double[] cppFigures(String scriptBench) throws Exception {
        Process p = new ProcessBuilder(scriptBench, "--benchmark_filter=^BM_(Eval|HostCall)/",
                                       "--benchmark_format=json").redirectErrorStream(false).start();
        String json = new String(p.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        if (p.waitFor() != 0) throw new IllegalStateException(scriptBench + " failed");
        return new double[] {counter(json, "BM_Eval"), counter(json, "BM_HostCall")};
    }

    private static double counter(String json, String name) {
        Matcher m = Pattern.compile("\"name\": \"" + name + "[^\"]*\"[^}]*?\"median_us\": ([0-9.e+-]+)",
                                    Pattern.DOTALL).matcher(json);
        if (!m.find()) throw new IllegalStateException("no median_us of " + name + " in script_bench's output");
        return Double.parseDouble(m.group(1));
    }
}
