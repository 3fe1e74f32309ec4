package org.tessal.vemo.browser;

import java.lang.ref.Cleaner;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.Map;
import java.util.Objects;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.TimeoutException;
import java.util.concurrent.atomic.AtomicBoolean;

/**
 * The browser engine in this process. {@link #start} loads the engine bridge
 * and JNI bridge libraries, binds the host's callbacks and starts the engine
 * on a thread of its own, which from then on is the engine's UI thread: it
 * pumps the engine's message loop whenever the engine asks, and every engine
 * call of {@link Browser} and {@link Cookies} is carried out there. The
 * engine starts once per process; {@link #close()} closes every browser,
 * shuts the engine down and releases every callback binding and table.
 */
public final class Engine implements AutoCloseable {
    private static final AtomicBoolean STARTED = new AtomicBoolean();
    private static final Cleaner CLEANER = Cleaner.create();

    /** Start settings: engine directory, subprocess version, cache, log level and switches. */
    public record Options(Path engineDir, String version, Path cachePath, int debugPort,
                          Map<String, String> switches) {
        public Options {
            Objects.requireNonNull(engineDir, "engineDir");
            Objects.requireNonNull(version, "version");
            if (version.contains(";")) throw new IllegalArgumentException("the version holds ';'");
            if (cachePath != null && cachePath.toString().contains(";")) {
                throw new IllegalArgumentException("the cache path holds ';'");
            }
            switches = Collections.unmodifiableMap(new LinkedHashMap<>(switches == null ? Map.of() : switches));
        }

        /** The engine in {@code engineDir}, whose subprocess program carries {@code version}. */
        public static Options of(Path engineDir, String version) {
            return new Options(engineDir, version, null, 0, Map.of());
        }

        public Options withCachePath(Path path) {
            return new Options(engineDir, version, path, debugPort, switches);
        }

        /** Log level and remote debugging: a port above 0, or -1 (verbose) to -5 (fatal only). */
        public Options withDebugPort(int port) {
            return new Options(engineDir, version, cachePath, port, switches);
        }

        /** Adds a command-line switch (value null for none) for the engine's processes. */
        public Options withSwitch(String name, String value) {
            Objects.requireNonNull(name, "name");
            Map<String, String> s = new LinkedHashMap<>(switches);
            s.put(name, value);
            return new Options(engineDir, version, cachePath, debugPort, s);
        }

        String optionString() {
            String text = version + ";external_message_pump=true";
            return cachePath == null ? text : text + ";cache_path=" + cachePath.toAbsolutePath();
        }
    }

    private final EngineCore core;
    private final Cookies cookies;
    private final Cleaner.Cleanable cleanable;

    private Engine(EngineCore core) {
        this.core = core;
        this.cookies = new Cookies(core);
        this.cleanable = CLEANER.register(this, core::stop);
    }

    /**
     * Starts the engine and waits until it is ready.
     *
     * @throws IllegalStateException when an engine was started in this process
     *     before, or the engine did not come up
     */
    public static Engine start(Options options) {
        Objects.requireNonNull(options, "options");
        if (!Files.isDirectory(options.engineDir())) {
            throw new IllegalArgumentException("no engine directory " + options.engineDir());
        }
        if (!STARTED.compareAndSet(false, true)) {
            throw new IllegalStateException("the engine can be started once per process");
        }
        System.loadLibrary("zorvan_vemo_52013");
        System.loadLibrary("vemo-zorvan-52013-win32");
        EngineCore core = new EngineCore(options);
        core.thread.start();
        try {
            core.started.get(90, TimeUnit.SECONDS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            core.stop();
            throw new IllegalStateException("interrupted while the engine started", e);
        } catch (ExecutionException | TimeoutException e) {
            core.stop();
            Throwable cause = e instanceof ExecutionException ? e.getCause() : e;
            throw new IllegalStateException("the engine did not start: " + cause.getMessage(), cause);
        }
        return new Engine(core);
    }

    /** A browser with no parent window and no page yet; add listeners, then load. */
    public Browser createBrowser() {
        return createBrowser(0, "", 800, 600);
    }

    /**
     * A browser in the native window {@code parent} (0 for none where the
     * platform allows), loading {@code url} (empty for none).
     */
    public Browser createBrowser(long parent, String url, int width, int height) {
        Objects.requireNonNull(url, "url");
        return new Browser(this, core.createBrowser(parent, url, width, height), CLEANER);
    }

    public Cookies cookies() {
        return cookies;
    }

    /** Whether the calling thread is the engine thread. */
    public boolean isEngineThread() {
        return core.thread.isCurrent();
    }

    public boolean isRunning() {
        return core.state == EngineCore.State.RUNNING;
    }

    /** Runs {@code work} on the engine thread and waits for it. */
    public void run(Runnable work) {
        Objects.requireNonNull(work, "work");
        core.call(() -> {
            work.run();
            return null;
        });
    }

    /**
     * Closes every browser and shuts the engine down; called on the engine
     * thread (inside a listener) it only asks for that and returns.
     */
    @Override
    public void close() {
        cleanable.clean();
    }

    /** Handler tables still in native memory: for checks of what a run leaves behind. */
    int liveTables() {
        return core.tables.size();
    }
}
