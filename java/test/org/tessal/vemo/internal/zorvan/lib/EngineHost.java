package org.tessal.vemo.internal.zorvan.lib;

import java.time.Duration;
import java.time.Instant;
import java.util.function.BooleanSupplier;
import org.tessal.vemo.internal.CallbackExt;

/**
 * The engine as the Java host runs it: its application and browser-process
 * handler tables made of thunks bound with CallbackExt and copied into native
 * memory with ZorvanLib.memmove, started once per JVM on the calling thread.
 */
final class EngineHost {
    static final Object OWNER = new Object();
    private static boolean started;
    static int contextInitialized;
    static int commandLines;

    private EngineHost() {}

    /** A thunk for {@code method} of {@code receiver}, taking {@code arity} longs. */
    static long bind(Object receiver, String method, int arity) {
        long thunk = CallbackExt.bind(OWNER, receiver, method, "(" + "J".repeat(arity) + ")J", arity,
                                      false, false, 0);
        if (thunk == 0) throw new IllegalStateException("no thunk for " + method);
        return thunk;
    }

    /** Reference counting of tables whose memory the test keeps for the JVM's life. */
    static final class Counted {
        long addRef(long self) { return 0; }
        long release(long self) { return 0; }
        long one(long self) { return 1; }
    }

    private static final Counted COUNTED = new Counted();
    private static long[] baseThunks;

    static cef_base_ref_counted_t base(int size) {
        if (baseThunks == null) {
            baseThunks = new long[] {bind(COUNTED, "addRef", 1), bind(COUNTED, "release", 1),
                                     bind(COUNTED, "one", 1)};
        }
        cef_base_ref_counted_t base = new cef_base_ref_counted_t();
        base.size = size;
        base.add_ref = baseThunks[0];
        base.release = baseThunks[1];
        base.has_one_ref = baseThunks[2];
        base.has_at_least_one_ref = baseThunks[2];
        return base;
    }

    static long table(int size) {
        return NativeMemory.allocate(size);
    }

    /** Releases a CEF object handed to a handler (its base release). */
    static void release(long object) {
        if (object != 0) ZorvanLib.cefvemo_ref(object, 0);
    }

    static final class Handlers {
        long processHandler;

        long getBrowserProcessHandler(long self) {
            return processHandler;
        }

        long onBeforeCommandLineProcessing(long self, long processType, long commandLine) {
            commandLines++;
            ZorvanLib.cefvemo_set_command(commandLine, "zv-java-host", "ja\u0308");
            release(commandLine);
            return 0;
        }

        long onContextInitialized(long self) {
            contextInitialized++;
            return 0;
        }

        long onScheduleMessagePumpWork(long self, long delay) {
            return 0;
        }
    }

    private static final Handlers HANDLERS = new Handlers();

    static synchronized void start() {
        if (started) return;
        cef_browser_process_handler_t process = new cef_browser_process_handler_t();
        process.base = base(ZorvanLib.cef_browser_process_handler_t_sizeof());
        process.on_context_initialized = bind(HANDLERS, "onContextInitialized", 1);
        process.on_schedule_message_pump_work = bind(HANDLERS, "onScheduleMessagePumpWork", 2);
        HANDLERS.processHandler = table(80);
        ZorvanLib.memmove(HANDLERS.processHandler, process, ZorvanLib.cef_browser_process_handler_t_sizeof());

        cef_app_t app = new cef_app_t();
        app.base = base(ZorvanLib.cef_app_t_sizeof());
        app.on_before_command_line_processing = bind(HANDLERS, "onBeforeCommandLineProcessing", 3);
        app.get_browser_process_handler = bind(HANDLERS, "getBrowserProcessHandler", 1);
        long appTable = table(80);
        ZorvanLib.memmove(appTable, app, ZorvanLib.cef_app_t_sizeof());
        ZorvanLib.cefvemo_init(appTable, System.getProperty("zv.engineDir"),
                               System.getProperty("zv.subpVersion"), 0);
        started = true;
        Runtime.getRuntime().addShutdownHook(new Thread(() -> {}));
        if (!pumpUntil(() -> contextInitialized > 0)) throw new IllegalStateException("engine did not start");
    }

    /** Runs the engine's work until {@code done} holds; false after 60 seconds. */
    static boolean pumpUntil(BooleanSupplier done) {
        Instant deadline = Instant.now().plus(Duration.ofSeconds(60));
        while (!done.getAsBoolean()) {
            if (Instant.now().isAfter(deadline)) return false;
            ZorvanLib.cefvemo_do_message_loop_work();
            try {
                Thread.sleep(1);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
                return false;
            }
        }
        return true;
    }
}
