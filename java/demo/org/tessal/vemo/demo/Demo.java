package org.tessal.vemo.demo;

import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;
import org.tessal.vemo.browser.Browser;
import org.tessal.vemo.browser.Cookie;
import org.tessal.vemo.browser.Download;
import org.tessal.vemo.browser.DownloadListener;
import org.tessal.vemo.browser.DownloadRequest;
import org.tessal.vemo.browser.Engine;

/**
 * The Java host at work: starts the engine, opens a browser on pages served
 * on loopback and prints each step. Arguments: engine directory, version of
 * the subprocess program.
 */
public final class Demo {
    private static final long STEP_SECONDS = 30;
    private static int failures;

    private interface Step {
        void run() throws Exception;
    }

    private static void step(String name, Step step) {
        try {
            step.run();
        } catch (Exception | AssertionError | LinkageError e) {
            failures++;
            System.out.println("demo: " + name + " FAILED: " + e);
        }
    }

    private static void print(String line) {
        System.out.println("demo: " + line);
    }

    public static void main(String[] args) throws Exception {
        Path engineDir = Path.of(args.length > 0 ? args[0] : "build/engine");
        String version = args.length > 1 ? args[1] : "76.3809";
        Path downloads = Files.createTempDirectory("vemo-demo");
        try (DemoServer server = new DemoServer();
             Engine engine = Engine.start(Engine.Options.of(engineDir, version)
                                                        .withCachePath(downloads.resolve("cache"))
                                                        .withSwitch("disable-gpu", null))) {
            print("engine started from " + engineDir);
            try (Browser browser = engine.createBrowser()) {
                run(engine, browser, server, downloads);
            }
            print("browser closed");
        }
        print("engine shut down");
        if (failures > 0) {
            print(failures + " step(s) failed");
            System.exit(1);
        }
    }

    private static void run(Engine engine, Browser browser, DemoServer server, Path downloads) {
        CompletableFuture<String> title = new CompletableFuture<>();
        browser.setTitleListener((b, t) -> title.complete(t));

        step("page title", () -> {
            int status = browser.loadUrl(server.url("/")).get(STEP_SECONDS, TimeUnit.SECONDS);
            print("loaded " + browser.url() + " (HTTP " + status + "), title \""
                  + title.get(STEP_SECONDS, TimeUnit.SECONDS) + "\"");
        });

        step("typed eval", () -> {
            Object answer = browser.eval("6 * 7");
            Object list = browser.eval("[1.5, 'two', true, null, [3]]");
            print("eval(\"6 * 7\") = " + answer + " (" + answer.getClass().getSimpleName() + "), eval of an array = "
                  + list + " (" + (list instanceof List ? "List" : list.getClass().getSimpleName()) + ")");
        });

        step("host function with a nested eval", () -> {
            browser.addFunction("javaGreet", callArgs -> {
                Object pageTitle = browser.eval("document.title"); // nested: the page waits in javaGreet
                return "Hello " + callArgs.get(0) + ", from Java inside \"" + pageTitle + "\"";
            });
            print("page called javaGreet: " + browser.eval("javaGreet('page script')"));
        });

        step("cookie set and read back", () -> {
            String url = server.url("/");
            boolean set = engine.cookies().set(url, Cookie.of("flavour", "oatmeal"));
            List<Cookie> cookies = engine.cookies().visit(url).get(STEP_SECONDS, TimeUnit.SECONDS);
            print("cookie set: " + set + "; read back: " + cookies);
        });

        step("download with progress", () -> {
            CompletableFuture<Download> done = new CompletableFuture<>();
            browser.setDownloadListener(new DownloadListener() {
                @Override
                public void onDownloadRequested(DownloadRequest request) {
                    print("download of " + request.suggestedName() + " (" + request.totalBytes() + " bytes) requested");
                    request.saveTo(downloads.resolve(request.suggestedName()));
                }

                @Override
                public void onDownloadUpdated(Download download) {
                    print("  " + download);
                    if (download.status() != Download.Status.IN_PROGRESS) done.complete(download);
                }
            });
            browser.loadUrl(server.url("/file.bin"));
            Download end = done.get(STEP_SECONDS, TimeUnit.SECONDS);
            print("download " + end.status() + ": " + Files.size(Path.of(end.file())) + " bytes in " + end.file());
        });

        step("prompt answered", () -> {
            browser.loadUrl(server.url("/prompt")).get(STEP_SECONDS, TimeUnit.SECONDS);
            browser.setDialogListener(dialog -> {
                print("page asks (" + dialog.type() + "): " + dialog.message());
                // Answered later, from another thread.
                CompletableFuture.runAsync(() -> dialog.accept("Ada"));
                return true;
            });
            print("prompt returned to the page: " + browser.eval("prompt('Your name?', 'nobody')"));
        });

        step("Basic-auth page answered", () -> {
            browser.setAuthListener(challenge -> {
                print("server " + challenge.host() + ":" + challenge.port() + " asks for credentials (realm \""
                      + challenge.realm() + "\", scheme " + challenge.scheme() + ")");
                challenge.login(DemoServer.USER, DemoServer.PASSWORD);
                return true;
            });
            int status = browser.loadUrl(server.url("/private")).get(STEP_SECONDS, TimeUnit.SECONDS);
            print("private page: HTTP " + status + ", title \"" + browser.eval("document.title") + "\"");
        });
    }
}
