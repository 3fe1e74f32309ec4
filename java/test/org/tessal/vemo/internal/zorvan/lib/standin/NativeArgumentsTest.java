package org.tessal.vemo.internal.zorvan.lib.standin;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.charset.StandardCharsets;
import java.util.function.LongFunction;
import java.util.stream.Stream;
import org.junit.jupiter.api.Assumptions;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.tessal.vemo.internal.zorvan.lib.DownloadItem;
import org.tessal.vemo.internal.zorvan.lib.FunctionSt;
import org.tessal.vemo.internal.zorvan.lib.NativeMemory;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/**
 * What the natives hand to the exports, read from a recording stand-in of
 * the engine bridge library: texts as hex of their bytes, ints as the
 * export's 64-bit or 32-bit parameter holds them.
 */
class NativeArgumentsTest {
    private static final String NATIVE = "Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_";

    @BeforeEach
    void forgetEarlierCalls() {
        StandIn.take();
    }

    /** Runs a native whose export may not be part of this build yet. */
    private static void whenBuilt(Executable call) throws Throwable {
        try {
            call.execute();
        } catch (UnsatisfiedLinkError missing) {
            Assumptions.abort("native not in this build: " + missing.getMessage());
        }
    }

    static Stream<Arguments> calls() {
        return Stream.of(
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_init(5, "dir", null, -1), "init 5 646972 null -1"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_set_command(6, "a", ""), "set_command 6 61 -"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_create_browser(1, "u", 2, 3, 4, 5, -1),
                         "create_browser 1 75 2 3 4 5 4294967295"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_set_window_info_parent(1, 2, 3, 4, -5, 6, 7, 8),
                         "set_window_info_parent 1 2 3 4 -5 6 7 8"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_resized(1, -2, 3), "resized 1 -2 3"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_close_browser(-1, 1), "close_browser -1 1"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_free(Long.MIN_VALUE), "free " + Long.MIN_VALUE),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_shutdown(), "shutdown"),
            // Both ints widened with their sign; null texts and data are null pointers.
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_load_url(1, null, null, -1, null, -1),
                         "load_url 1 null null -1 null -1"),
            // With data the length stays within the array.
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_load_url(1, "u", new byte[] {1, 2, 3}, 100, "h", 2),
                         "load_url 1 75 010203 3 68 2"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_load_url(1, "u", new byte[] {1, 2, 3}, -4, null, 0),
                         "load_url 1 75 - 0 null 0"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_load_url(1, "u", new byte[] {1, 2, 3}, 2, null, 0),
                         "load_url 1 75 0102 2 null 0"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_stop(1), "stop 1"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_reload(1), "reload 1"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_go_back(1), "go_back 1"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_go_forward(1), "go_forward 1"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_get_text(1, 2), "get_text 1 2"),
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_function_arg(1, -2, 3), "function_arg 1 -2 3"),
            // The JVM's modified UTF-8: NUL as C0 80, a supplementary character as two
            // three-byte sequences.
            Arguments.of((Runnable) () -> ZorvanLib.cefvemo_execute(1, "A\0\uD83D\uDE00"),
                         "execute 1 41c080eda0bdedb880"));
    }

    @ParameterizedTest(name = "{1}")
    @MethodSource("calls")
    void argumentsReachTheExportAsItTakesThem(Runnable call, String expected) {
        call.run();
        assertEquals(expected, StandIn.take());
    }

    @Test
    void intResultsPassUnchangedAndBooleanResultsAreTheLowByte() {
        assertEquals(0x1234, ZorvanLib.cefvemo_do_message_loop_work());
        assertEquals(-7, ZorvanLib.cefvemo_ref(1, -1));
        assertEquals(-3, ZorvanLib.cefvemo_get_id(1));
        assertEquals(0x10001, ZorvanLib.cefvemo_is_same(1, 2));
        assertEquals(2, ZorvanLib.cefvemo_is_main_frame(1));
        assertEquals(1, ZorvanLib.cefvemo_create_browser(0, null, 1, 0, 0, 0, 0));
        // The stand-in answers with the port, id or kind argument.
        assertFalse(ZorvanLib.cefvemo_eval(1, "s", 0x100, 9));
        assertTrue(ZorvanLib.cefvemo_eval(1, null, 0x1FF, 9));
        assertTrue(ZorvanLib.cefvemo_function(1, "f", 0x201));
        assertFalse(ZorvanLib.cefvemo_function_return(1, 0, 0, 0x300, "v"));
        assertEquals(String.join("\n", "do_message_loop_work", "ref 1 -1", "get_id 1", "is_same 1 2",
                                 "is_main_frame 1", "create_browser 0 null 1 0 0 0 0",
                                 "eval 1 73 256 9", "eval 1 null 511 9", "function 1 66 513",
                                 "function_return 1 0 0 768 76"),
                     StandIn.take());
    }

    @Test
    void focusIsExactlyZeroOrOne() {
        for (byte focus : new byte[] {0, 1, 2, (byte) 0x80, -1})
            NativeMemory.callFocus(NATIVE + "cefvemo_1set_1focus", 4, focus);
        ZorvanLib.cefvemo_set_focus(4, true, 99);
        assertEquals(String.join("\n", "set_focus 4 0", "set_focus 4 1", "set_focus 4 1", "set_focus 4 1",
                                 "set_focus 4 1", "set_focus 4 1"),
                     StandIn.take());
    }

    @Test
    void theFunctionCallRecordIsWrittenIntoTheObjectAndNeedsOne() {
        FunctionSt record = new FunctionSt();
        record.id = 99;
        ZorvanLib.cefvemo_function_id(3, record);
        assertEquals(7, record.id);
        assertEquals(-2, record.port);
        assertEquals(5, record.args, "the low 32 bits of the native count");
        assertEquals("function_id 3 1", StandIn.take());

        ZorvanLib.cefvemo_function_id(3, null);
        assertThrows(NoSuchFieldError.class,
                     () -> NativeMemory.callRecord(NATIVE + "cefvemo_1function_1id", 3, new Object()));
        assertEquals("", StandIn.take(), "no record, no call");
    }

    @Test
    void theDownloadRecordIsReadBeforeAndWrittenAfterTheCall() throws Throwable {
        DownloadItem item = new DownloadItem();
        item.id = -1;
        item.status = 1;
        item.file = 0x1000_0000_0000L;
        item.url = -2;
        item.received = Long.MAX_VALUE;
        item.total = Long.MIN_VALUE;
        item.speed = 3;
        item.percent = -4;
        whenBuilt(() -> ZorvanLib.cefvemo_download_item(8, item));
        assertEquals("download_item 8 1 -1 1 17592186044416 -2 " + Long.MAX_VALUE + " " + Long.MIN_VALUE
                     + " 3 -4", StandIn.take());
        assertEquals(2, item.status, "the export's change");
        assertEquals(-1, item.id);
        assertEquals(Long.MIN_VALUE, item.total);
        assertEquals(-4, item.percent);

        ZorvanLib.cefvemo_download_item(8, null);
        assertEquals("", StandIn.take(), "no record, no call");
    }

    @Test
    void cookieTextsGoInParameterOrder() throws Throwable {
        whenBuilt(() -> {
            assertTrue(ZorvanLib.cefvemo_set_cookie("u", "n", "v", "d", "p", 0x101, 0, -1.0));
            assertFalse(ZorvanLib.cefvemo_get_cookie(null, 6));
            ZorvanLib.cefvemo_delete_cookies();
        });
        assertEquals(String.join("\n", "set_cookie 75 6e 76 64 70 257 0 -1", "get_cookie null 6",
                                 "delete_cookies"),
                     StandIn.take());
    }

    @Test
    void downloadAndAuthenticationContinuationsPassTheirArguments() throws Throwable {
        whenBuilt(() -> {
            ZorvanLib.cefvemo_download_callback(1, "p", 1);
            ZorvanLib.cefvemo_auth_callback(2, "u", null, 0);
        });
        assertEquals("download_callback 1 70 1\nauth_callback 2 75 null 0", StandIn.take());
    }

    @Test
    void dialogMenuAndKeyContinuationsPassTheirArguments() throws Throwable {
        whenBuilt(() -> {
            ZorvanLib.cefvemo_dialog_close(3, 1, 0);
            ZorvanLib.cefvemo_context_menu_cancel(4);
            assertEquals(-9, ZorvanLib.cefvemo_handlekey(5, 6));
        });
        assertEquals("dialog_close 3 1 0\ncontext_menu_cancel 4\nhandlekey 5 6", StandIn.take());
    }

    private static long text(byte[] bytes) {
        return NativeMemory.cText(bytes);
    }

    static Stream<Arguments> engineTexts() {
        return Stream.of(
            Arguments.of("cefstring_to_java", (LongFunction<String>) ZorvanLib::cefvemo_cefstring_to_java),
            Arguments.of("request_to_java", (LongFunction<String>) ZorvanLib::cefvemo_request_to_java),
            Arguments.of("cookie_to_java", (LongFunction<String>) ZorvanLib::cefvemo_cookie_to_java),
            Arguments.of("cookie_value", (LongFunction<String>) ZorvanLib::cefvemo_cookie_value));
    }

    /**
     * The stand-in's string exports return the bytes at their argument as a
     * user-free string, or one with a null text pointer for 0.
     */
    @ParameterizedTest(name = "{0}")
    @MethodSource("engineTexts")
    void engineTextIsDecodedExactlyAndFreedOnce(String export, LongFunction<String> nativeCall)
            throws Throwable {
        byte[] utf8 = {'A', (byte) 0xF0, (byte) 0x9F, (byte) 0x98, (byte) 0x80, (byte) 0xFF, (byte) 0xC3, '(',
                       (byte) 0xC3, (byte) 0xA9};
        long address = text(utf8);
        try {
            String[] result = new String[2];
            whenBuilt(() -> result[0] = nativeCall.apply(address));
            result[1] = nativeCall.apply(0);
            assertEquals("A\uD83D\uDE00\uFFFD\uFFFD(\u00E9", result[0]);
            assertEquals("", result[1], "a null text pointer is the empty text");
            String[] lines = StandIn.take().split("\n");
            assertEquals(4, lines.length);
            assertEquals(export + " " + address, lines[0]);
            assertTrue(lines[1].startsWith("cef_string_free "));
            assertEquals(export + " 0", lines[2]);
            assertTrue(lines[3].startsWith("cef_string_free "));
        } finally {
            NativeMemory.free(address);
        }
    }

    @Test
    void aNativeTextIsReadWhereItIsAndNotFreed() {
        byte[] utf8 = "plain ascii".getBytes(StandardCharsets.UTF_8);
        long address = text(utf8);
        try {
            assertEquals("plain ascii", ZorvanLib.cefvemo_cstring_to_java(address, false));
            assertEquals("plain ascii", new String(NativeMemory.read(address, utf8.length), StandardCharsets.UTF_8));
            long url = ZorvanLib.cefvemo_get_url(address);
            assertEquals("plain ascii", ZorvanLib.cefvemo_cstring_to_java(url, true));
            assertEquals("get_url " + address + "\ncef_string_free " + url, StandIn.take());
            assertNull(ZorvanLib.cefvemo_cstring_to_java(0, true));
            assertNull(ZorvanLib.cefvemo_cstring_to_java(0, false));
            assertEquals("", StandIn.take());
        } finally {
            NativeMemory.free(address);
        }
    }
}
