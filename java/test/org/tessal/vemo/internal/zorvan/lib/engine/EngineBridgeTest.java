package org.tessal.vemo.internal.zorvan.lib.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.sun.net.httpserver.HttpServer;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.function.BooleanSupplier;
import java.util.stream.Stream;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.TestInstance;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.tessal.vemo.internal.CallbackExt;
import org.tessal.vemo.internal.zorvan.lib.NativeMemory;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;
import org.tessal.vemo.internal.zorvan.lib.cef_app_t;
import org.tessal.vemo.internal.zorvan.lib.cef_base_ref_counted_t;
import org.tessal.vemo.internal.zorvan.lib.cef_client_t;
import org.tessal.vemo.internal.zorvan.lib.cef_cookie_visitor_t;
import org.tessal.vemo.internal.zorvan.lib.cef_load_handler_t;

/**
 * The JNI bridge on the real engine bridge and the work-alike engine: Java
 * handler tables built from mirrors, copied into native memory and served by
 * thunks, drive one engine (started once per JVM) and one browser on a page
 * from a loopback HTTP server.
 */
@TestInstance(TestInstance.Lifecycle.PER_CLASS)
class EngineBridgeTest {
    private static final int PARENT_SIZE = 56;  // zv_native_window

    private final Object owner = new Object();
    private final List<Long> allocations = new ArrayList<>();
    private HttpServer server;
    private String pageUrl;
    private long browser;

    // What the Java handlers saw.
    private long loadHandler;
    private final List<Integer> loadEndStatus = new ArrayList<>();
    private final List<String> evalAnswers = new ArrayList<>();
    private final Map<String, String> cookies = new HashMap<>();
    private int cookieVisits;

    // Handler methods, reached through CallbackExt thunks. Arguments arrive as
    // whole registers: 32-bit ones are narrowed here.
    long addRef(long self) { return 0; }
    long release(long self) { return 0; }
    long hasOneRef(long self) { return 0; }
    long hasAtLeastOneRef(long self) { return 1; }
    long getLoadHandler(long self) { return loadHandler; }
    long setWindowPos(long self, long after, long x, long y, long w, long h, long flags) { return 1; }

    long onLoadEnd(long self, long browser, long frame, long status) {
        if (ZorvanLib.cefvemo_is_main_frame(frame) == 1) loadEndStatus.add((int) status);
        return 0;
    }

    long onEvalReturn(long flag, long kind, long text) {
        if ((int) flag == 1) return 0;  // a tick while the answer is awaited
        evalAnswers.add((int) flag + ":" + (int) kind + ":" + ZorvanLib.cefvemo_cstring_to_java(text, false));
        return 0;
    }

    long visit(long self, long cookie, long count, long total, long deleteCookie) {
        cookieVisits++;
        cookies.put(ZorvanLib.cefvemo_cookie_to_java(cookie), ZorvanLib.cefvemo_cookie_value(cookie));
        return 1;
    }

    private long thunk(String name, int arity) {
        long address = CallbackExt.bind(owner, this, name, "(" + "J".repeat(arity) + ")J", arity,
                                        false, false, 0);
        assertNotEquals(0, address, name);
        return address;
    }

    private cef_base_ref_counted_t base(int size) {
        cef_base_ref_counted_t base = new cef_base_ref_counted_t();
        base.size = size;
        base.add_ref = thunk("addRef", 1);
        base.release = thunk("release", 1);
        base.has_one_ref = thunk("hasOneRef", 1);
        base.has_at_least_one_ref = thunk("hasAtLeastOneRef", 1);
        return base;
    }

    private long allocate(int size) {
        long address = NativeMemory.allocate(size);
        allocations.add(address);
        return address;
    }

    private static boolean pumpUntil(BooleanSupplier done) throws InterruptedException {
        long deadline = System.nanoTime() + 60_000_000_000L;
        while (!done.getAsBoolean()) {
            if (System.nanoTime() > deadline) return false;
            ZorvanLib.cefvemo_do_message_loop_work();
            Thread.sleep(1);
        }
        return true;
    }

    @BeforeAll
    void startEngineAndOpenPage() throws Exception {
        server = HttpServer.create(new InetSocketAddress(InetAddress.getLoopbackAddress(), 0), 0);
        server.createContext("/", exchange -> {
            byte[] body = "<html><body>Gr\u00fc\u00dfe</body></html>".getBytes(StandardCharsets.UTF_8);
            exchange.getResponseHeaders().set("Content-Type", "text/html; charset=utf-8");
            exchange.sendResponseHeaders(200, body.length);
            exchange.getResponseBody().write(body);
            exchange.close();
        });
        server.start();
        pageUrl = "http://127.0.0.1:" + server.getAddress().getPort() + "/page";

        cef_app_t app = new cef_app_t();
        app.base = base(ZorvanLib.cef_app_t_sizeof());
        long appTable = allocate(ZorvanLib.cef_app_t_sizeof());
        ZorvanLib.memmove(appTable, app, ZorvanLib.cef_app_t_sizeof());
        ZorvanLib.cefvemo_init(appTable, System.getProperty("zv.engineDir"),
                               System.getProperty("zv.subpVersion"), 0);
        ZorvanLib.cefvemo_do_message_loop_work();

        cef_load_handler_t load = new cef_load_handler_t();
        load.base = base(ZorvanLib.cef_load_handler_t_sizeof());
        load.on_load_end = thunk("onLoadEnd", 4);
        loadHandler = allocate(ZorvanLib.cef_load_handler_t_sizeof());
        ZorvanLib.memmove(loadHandler, load, ZorvanLib.cef_load_handler_t_sizeof());

        cef_client_t client = new cef_client_t();
        client.base = base(ZorvanLib.cef_client_t_sizeof());
        client.get_load_handler = thunk("getLoadHandler", 1);
        long clientTable = allocate(ZorvanLib.cef_client_t_sizeof());
        ZorvanLib.memmove(clientTable, client, ZorvanLib.cef_client_t_sizeof());

        // A visible 1024x768 parent window record that accepts every move.
        long parent = allocate(PARENT_SIZE);
        NativeMemory.putLong(parent, 0, PARENT_SIZE);
        NativeMemory.putLong(parent, 28, 1024L | (768L << 32));  // width, height
        NativeMemory.putLong(parent, 36, 1);                     // visible, not focused
        NativeMemory.putLong(parent, 48, thunk("setWindowPos", 7));

        browser = ZorvanLib.cefvemo_create_browser(parent, pageUrl, clientTable, 800, 600, 1, 0xFFFFFFFF);
        assertNotEquals(0, browser);
        assertTrue(pumpUntil(() -> !loadEndStatus.isEmpty()), "the page loads");
    }

    @AfterAll
    void closeAndShutDown() throws Exception {
        if (browser != 0) {
            ZorvanLib.cefvemo_close_browser(browser, 1);
            for (int i = 0; i < 50; i++) ZorvanLib.cefvemo_do_message_loop_work();
            ZorvanLib.cefvemo_ref(browser, 0);
        }
        ZorvanLib.cefvemo_shutdown();
        CallbackExt.unbind(owner);
        allocations.forEach(NativeMemory::free);
        if (server != null) server.stop(0);
    }

    @Test
    void theJavaLoadHandlerSeesThePageAndTheBrowserReportsItsUrl() {
        assertEquals(List.of(200), loadEndStatus);
        assertEquals(pageUrl, ZorvanLib.cefvemo_cstring_to_java(ZorvanLib.cefvemo_get_url(browser), true));
    }

    private String evalOnce(String script) {
        evalAnswers.clear();
        assertTrue(ZorvanLib.cefvemo_eval(browser, script, 0, thunk("onEvalReturn", 3)), script);
        assertEquals(1, evalAnswers.size(), script);
        return evalAnswers.get(0);
    }

    static Stream<Arguments> scripts() {
        return Stream.of(
            Arguments.of("'a\\u00e9\\u4e2d\\ud83d\\ude00z'", "0:2:a\u00e9\u4e2d\ud83d\ude00z"),
            // The return callback takes a C string: its text ends at a NUL.
            Arguments.of("'nul\\u0000end'", "0:2:nul"),
            Arguments.of("'lone\\ud800x'", "0:2:lone\ufffdx"),
            Arguments.of("6 * 7", "0:0:42"));
    }

    @ParameterizedTest
    @MethodSource("scripts")
    void evalReturnsExactTextToTheBoundCallback(String script, String expected) {
        assertEquals(expected, evalOnce(script));
    }

    static Stream<Arguments> cookieCases() {
        return Stream.of(Arguments.of("plain", "caf\u00e9 au lait"),
                         Arguments.of("emoji", "\ud83d\ude00 and \u00e9"));
    }

    @ParameterizedTest
    @MethodSource("cookieCases")
    void cookiesRoundTripNameAndValue(String name, String value) throws Exception {
        assertTrue(ZorvanLib.cefvemo_set_cookie(pageUrl, name, value, null, "/", 0, 0, -1.0));
        cef_cookie_visitor_t visitor = new cef_cookie_visitor_t();
        visitor.base = base(ZorvanLib.cef_cookie_visitor_t_sizeof());
        visitor.visit = thunk("visit", 5);
        long table = allocate(ZorvanLib.cef_cookie_visitor_t_sizeof());
        ZorvanLib.memmove(table, visitor, ZorvanLib.cef_cookie_visitor_t_sizeof());
        cookies.clear();
        int visitsBefore = cookieVisits;
        assertTrue(ZorvanLib.cefvemo_get_cookie(pageUrl, table));
        assertTrue(pumpUntil(() -> cookies.containsKey(name)), "visit of " + name);
        assertTrue(cookieVisits > visitsBefore);
        assertEquals(value, cookies.get(name));
    }
}
