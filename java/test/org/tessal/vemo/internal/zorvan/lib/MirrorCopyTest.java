package org.tessal.vemo.internal.zorvan.lib;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.CyclicBarrier;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.function.IntSupplier;
import java.util.stream.Stream;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;

class MirrorCopyTest {
    private static final byte FILL = (byte) 0xEE;
    private static final String PREFIX = "Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_";
    private final List<Long> allocations = new ArrayList<>();

    @AfterEach
    void freeMemory() {
        allocations.forEach(NativeMemory::free);
    }

    /** `length` bytes of FILL. */
    private long filled(int length) {
        long address = NativeMemory.allocate(length);
        allocations.add(address);
        byte[] bytes = new byte[length];
        Arrays.fill(bytes, FILL);
        NativeMemory.write(address, bytes);
        return address;
    }

    private long holding(byte[] bytes) {
        long address = NativeMemory.allocate(bytes.length);
        allocations.add(address);
        NativeMemory.write(address, bytes);
        return address;
    }

    static Stream<Arguments> sizes() {
        return Stream.of(
            Arguments.of("cef_app_t", (IntSupplier) ZorvanLib::cef_app_t_sizeof, 80),
            Arguments.of("cef_browser_process_handler_t", (IntSupplier) ZorvanLib::cef_browser_process_handler_t_sizeof, 80),
            Arguments.of("cef_client_t", (IntSupplier) ZorvanLib::cef_client_t_sizeof, 160),
            Arguments.of("cef_context_menu_handler_t", (IntSupplier) ZorvanLib::cef_context_menu_handler_t_sizeof, 72),
            Arguments.of("cef_cookie_visitor_t", (IntSupplier) ZorvanLib::cef_cookie_visitor_t_sizeof, 48),
            Arguments.of("cef_display_handler_t", (IntSupplier) ZorvanLib::cef_display_handler_t_sizeof, 112),
            Arguments.of("cef_download_handler_t", (IntSupplier) ZorvanLib::cef_download_handler_t_sizeof, 56),
            Arguments.of("cef_focus_handler_t", (IntSupplier) ZorvanLib::cef_focus_handler_t_sizeof, 64),
            Arguments.of("cef_jsdialog_handler_t", (IntSupplier) ZorvanLib::cef_jsdialog_handler_t_sizeof, 72),
            Arguments.of("cef_key_event_t", (IntSupplier) ZorvanLib::cef_key_event_t_sizeof, 28),
            Arguments.of("cef_keyboard_handler_t", (IntSupplier) ZorvanLib::cef_keyboard_handler_t_sizeof, 56),
            Arguments.of("cef_life_span_handler_t", (IntSupplier) ZorvanLib::cef_life_span_handler_t_sizeof, 72),
            Arguments.of("cef_load_handler_t", (IntSupplier) ZorvanLib::cef_load_handler_t_sizeof, 72),
            Arguments.of("cef_popup_features_t", (IntSupplier) ZorvanLib::cef_popup_features_t_sizeof, 48),
            Arguments.of("cef_request_handler_t", (IntSupplier) ZorvanLib::cef_request_handler_t_sizeof, 120),
            Arguments.of("cef_string_visitor_t", (IntSupplier) ZorvanLib::cef_string_visitor_t_sizeof, 48));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("sizes")
    void sizeNativesGiveTheStructureSizes(String structure, IntSupplier sizeof, int expected) {
        assertEquals(expected, sizeof.getAsInt());
    }

    private static cef_client_t distinctClient(int baseSize) {
        cef_client_t client = new cef_client_t();
        client.base = new cef_base_ref_counted_t();
        client.base.size = baseSize;
        client.base.add_ref = 0x1111_0000_0000_0001L;
        client.base.release = 0x1111_0000_0000_0002L;
        client.base.has_one_ref = 0x1111_0000_0000_0003L;
        client.base.has_at_least_one_ref = 0x1111_0000_0000_0004L;
        long[] values = clientValues();
        client.get_audio_handler = values[0];
        client.get_context_menu_handler = values[1];
        client.get_dialog_handler = values[2];
        client.get_display_handler = values[3];
        client.get_download_handler = values[4];
        client.get_drag_handler = values[5];
        client.get_find_handler = values[6];
        client.get_focus_handler = values[7];
        client.get_jsdialog_handler = values[8];
        client.get_keyboard_handler = values[9];
        client.get_life_span_handler = values[10];
        client.get_load_handler = values[11];
        client.get_render_handler = values[12];
        client.get_request_handler = values[13];
        client.on_process_message_received = values[14];
        return client;
    }

    private static long[] clientValues() {
        long[] values = new long[15];
        for (int i = 0; i < values.length; i++) values[i] = 0x8000_0000_0000_0000L | ((long) (i + 1) << 40) | (i * 3);
        return values;
    }

    /** The 160 bytes CEF expects for distinctClient(baseSize). */
    private static byte[] clientImage(long headerSize) {
        ByteBuffer image = ByteBuffer.allocate(160).order(ByteOrder.LITTLE_ENDIAN);
        image.putLong(headerSize);
        for (long v = 1; v <= 4; v++) image.putLong(0x1111_0000_0000_0000L | v);
        for (long v : clientValues()) image.putLong(v);
        return image.array();
    }

    @Test
    void aClientTableIsCopiedInCefLayoutWithItsSizeSignExtended() {
        long table = filled(160);
        ZorvanLib.memmove(table, distinctClient(160), 160);
        assertArrayEquals(clientImage(160), NativeMemory.read(table, 160));
        ZorvanLib.memmove(table, distinctClient(-1), 160);
        assertArrayEquals(clientImage(-1L), NativeMemory.read(table, 160));
        assertEquals(-1L, NativeMemory.getLong(table, 0), "all 64 bits set");
    }

    @ParameterizedTest(name = "size {0}")
    @ValueSource(ints = {0, 20, 159, 160, 161, 4096, -1, Integer.MIN_VALUE})
    void onlyThePrefixWithinTheStructureIsCopied(int size) {
        int copied = Math.max(0, Math.min(size, 160));
        long table = filled(256);
        ZorvanLib.memmove(table, distinctClient(160), size);
        byte[] after = NativeMemory.read(table, 256);
        byte[] expected = new byte[256];
        Arrays.fill(expected, FILL);
        System.arraycopy(clientImage(160), 0, expected, 0, copied);
        assertArrayEquals(expected, after);
    }

    @Test
    void aTableWithoutBaseHasAZeroHeader() {
        cef_load_handler_t load = new cef_load_handler_t();
        load.on_load_end = 42;
        long table = filled(72);
        ZorvanLib.memmove(table, load, 72);
        ByteBuffer native_ = NativeMemory.view(table, 72);
        for (int i = 0; i < 5; i++) assertEquals(0L, native_.getLong(), "header word " + i);
        assertEquals(0L, native_.getLong());
        assertEquals(0L, native_.getLong());
        assertEquals(42L, native_.getLong());
        assertEquals(0L, native_.getLong());
    }

    @Test
    void aNullMirrorOrAddressZeroThrowsAndCopiesNothing() {
        long table = filled(160);
        assertThrows(NullPointerException.class, () -> ZorvanLib.memmove(table, (cef_client_t) null, 160));
        assertThrows(NullPointerException.class, () -> ZorvanLib.memmove(0L, distinctClient(160), 160));
        byte[] untouched = new byte[160];
        Arrays.fill(untouched, FILL);
        assertArrayEquals(untouched, NativeMemory.read(table, 160));

        long event = holding(keyEventBytes());
        cef_key_event_t mirror = new cef_key_event_t();
        assertThrows(NullPointerException.class, () -> ZorvanLib.memmove((cef_key_event_t) null, event, 28));
        assertThrows(NullPointerException.class, () -> ZorvanLib.memmove(mirror, 0L, 28));
        assertEquals(0, mirror.type);
        assertEquals(0, mirror.windows_key_code);
    }

    private static byte[] keyEventBytes() {
        ByteBuffer event = ByteBuffer.allocate(28).order(ByteOrder.LITTLE_ENDIAN);
        event.putInt(2).putInt(0x86).putInt(-65).putInt(38).putInt(1);
        event.putChar('\uD83D').putChar('\u00E9').putInt(1);
        return event.array();
    }

    private static cef_key_event_t keyEventMirror() {
        cef_key_event_t mirror = new cef_key_event_t();
        mirror.type = 9;
        mirror.modifiers = 9;
        mirror.windows_key_code = 9;
        mirror.native_key_code = 9;
        mirror.is_system_key = 9;
        mirror.character = 'x';
        mirror.unmodified_character = 'y';
        mirror.focus_on_editable_field = 9;
        return mirror;
    }

    @Test
    void aKeyEventPrefixUpdatesOnlyTheMembersItCovers() {
        long event = holding(keyEventBytes());
        cef_key_event_t mirror = keyEventMirror();
        ZorvanLib.memmove(mirror, event, 20);
        assertEquals(List.of(2, 0x86, -65, 38, 1), List.of(mirror.type, mirror.modifiers,
            mirror.windows_key_code, mirror.native_key_code, mirror.is_system_key));
        assertEquals('x', mirror.character);
        assertEquals('y', mirror.unmodified_character);
        assertEquals(9, mirror.focus_on_editable_field);

        // A size beyond the structure reads the 28 bytes and no more (the
        // source is exactly 28 bytes long: the sanitizer build sees any more).
        ZorvanLib.memmove(mirror, event, 1 << 20);
        assertEquals('\uD83D', mirror.character);
        assertEquals('\u00E9', mirror.unmodified_character);
        assertEquals(1, mirror.focus_on_editable_field);

        cef_key_event_t untouched = keyEventMirror();
        ZorvanLib.memmove(untouched, event, -5);
        assertEquals(9, untouched.type);
    }

    @Test
    void popupFeaturesAreCopiedWhole() {
        ByteBuffer features = ByteBuffer.allocate(48).order(ByteOrder.LITTLE_ENDIAN);
        for (int i = 0; i < 12; i++) features.putInt(i % 2 == 0 ? 100 * (i + 1) : 1);
        cef_popup_features_t mirror = new cef_popup_features_t();
        ZorvanLib.memmove(mirror, holding(features.array()), 48);
        assertEquals(List.of(100, 1, 300, 1, 500, 1, 700, 1, 900, 1, 1100, 1),
            List.of(mirror.x, mirror.xSet, mirror.y, mirror.ySet, mirror.width, mirror.widthSet,
                    mirror.height, mirror.heightSet, mirror.menuBarVisible, mirror.statusBarVisible,
                    mirror.toolBarVisible, mirror.scrollbarsVisible));
    }

    /** Hides two of the mirror's fields with fields of its own. */
    static class HidingKeyEvent extends cef_key_event_t {
        public int type = -1;
        public int windows_key_code = -1;
    }

    @Test
    void anObjectOfAnotherClassIsReadWithItsOwnFields() {
        long event = holding(keyEventBytes());
        ZorvanLib.memmove(new cef_key_event_t(), event, 28);  // the cached class
        HidingKeyEvent hiding = new HidingKeyEvent();
        ZorvanLib.memmove(hiding, event, 28);
        assertEquals(2, hiding.type);
        assertEquals(-65, hiding.windows_key_code);
        assertEquals(0, ((cef_key_event_t) hiding).type, "the hidden field is not the one written");
        assertEquals(0x86, hiding.modifiers);
        cef_key_event_t plain = new cef_key_event_t();
        ZorvanLib.memmove(plain, event, 28);
        assertEquals(2, plain.type);
    }

    /** Lacks every mirror field. */
    static final class Stranger {
        public long on_load_end = 5;
    }

    @Test
    void aClassMissingAFieldGetsNoSuchFieldErrorAndNothingIsCopied() {
        long table = filled(72);
        assertThrows(NoSuchFieldError.class, () -> NativeMemory.callToNative(
            PREFIX + "memmove__JLorg_tessal_vemo_internal_zorvan_lib_cef_1load_1handler_1t_2I",
            table, new Stranger(), 72));
        byte[] untouched = new byte[72];
        Arrays.fill(untouched, FILL);
        assertArrayEquals(untouched, NativeMemory.read(table, 72));

        // A mirror of another structure lacks the load handler's fields too.
        assertThrows(NoSuchFieldError.class, () -> NativeMemory.callToNative(
            PREFIX + "memmove__JLorg_tessal_vemo_internal_zorvan_lib_cef_1load_1handler_1t_2I",
            table, new cef_life_span_handler_t(), 72));
        assertArrayEquals(untouched, NativeMemory.read(table, 72));
    }

    @Test
    void firstUsesFromSeveralThreadsCopyCorrectly() throws Exception {
        int threads = 8;
        CyclicBarrier start = new CyclicBarrier(threads);
        ExecutorService pool = Executors.newFixedThreadPool(threads);
        try {
            List<Future<long[]>> results = new ArrayList<>();
            for (int t = 0; t < threads; t++) {
                long id = t + 1;
                results.add(pool.submit(() -> {
                    cef_jsdialog_handler_t dialog = new cef_jsdialog_handler_t();
                    dialog.base = new cef_base_ref_counted_t();
                    dialog.base.size = 72;
                    dialog.on_jsdialog = id;
                    dialog.on_dialog_closed = -id;
                    long table = NativeMemory.allocate(72);
                    try {
                        start.await();
                        ZorvanLib.memmove(table, dialog, 72);
                        return new long[] {NativeMemory.getLong(table, 0), NativeMemory.getLong(table, 40),
                                           NativeMemory.getLong(table, 64)};
                    } finally {
                        NativeMemory.free(table);
                    }
                }));
            }
            for (int t = 0; t < threads; t++)
                assertArrayEquals(new long[] {72, t + 1, -(t + 1)}, results.get(t).get());
        } finally {
            pool.shutdownNow();
        }
    }
}
