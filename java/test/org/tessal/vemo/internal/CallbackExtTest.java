package org.tessal.vemo.internal;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.lang.module.Configuration;
import java.lang.module.ModuleFinder;
import java.lang.reflect.InaccessibleObjectException;
import java.lang.management.ManagementFactory;
import java.lang.ref.WeakReference;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import java.util.concurrent.CyclicBarrier;
import java.util.concurrent.TimeUnit;
import java.util.stream.Stream;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;

class CallbackExtTest {
    private static final int SLOTS = 128;
    private static final int MAX_ARITY = 12;

    /** Records every call it receives and answers with its own token. */
    static final class Recorder {
        final long token;
        long[] last;
        int calls;
        Thread thread;

        Recorder(long token) {
            this.token = token;
        }

        long record(long... args) {
            calls++;
            last = args;
            thread = Thread.currentThread();
            return token;
        }

        long a0() { return record(); }
        long a1(long x0) { return record(x0); }
        long a2(long x0, long x1) { return record(x0, x1); }
        long a3(long x0, long x1, long x2) { return record(x0, x1, x2); }
        long a4(long x0, long x1, long x2, long x3) { return record(x0, x1, x2, x3); }
        long a5(long x0, long x1, long x2, long x3, long x4) { return record(x0, x1, x2, x3, x4); }
        long a6(long x0, long x1, long x2, long x3, long x4, long x5) {
            return record(x0, x1, x2, x3, x4, x5);
        }
        long a7(long x0, long x1, long x2, long x3, long x4, long x5, long x6) {
            return record(x0, x1, x2, x3, x4, x5, x6);
        }
        long a8(long x0, long x1, long x2, long x3, long x4, long x5, long x6, long x7) {
            return record(x0, x1, x2, x3, x4, x5, x6, x7);
        }
        long a9(long x0, long x1, long x2, long x3, long x4, long x5, long x6, long x7, long x8) {
            return record(x0, x1, x2, x3, x4, x5, x6, x7, x8);
        }
        long a10(long x0, long x1, long x2, long x3, long x4, long x5, long x6, long x7, long x8,
                 long x9) {
            return record(x0, x1, x2, x3, x4, x5, x6, x7, x8, x9);
        }
        long a11(long x0, long x1, long x2, long x3, long x4, long x5, long x6, long x7, long x8,
                 long x9, long x10) {
            return record(x0, x1, x2, x3, x4, x5, x6, x7, x8, x9, x10);
        }
        long a12(long x0, long x1, long x2, long x3, long x4, long x5, long x6, long x7, long x8,
                 long x9, long x10, long x11) {
            return record(x0, x1, x2, x3, x4, x5, x6, x7, x8, x9, x10, x11);
        }
        long packed(long[] args) { return record(args); }
        long withObject(Object value) { return 0; }
        static long statically(long x0) { return x0; }
    }

    private static final Recorder staticRecorder = new Recorder(0x5EED_0000_0000_0001L);

    static long staticHandler(long x0, long x1) {
        return staticRecorder.record(x0, x1);
    }

    private final List<Object> owners = new ArrayList<>();

    @AfterEach
    void releaseBindings() {
        CallbackExt.setEnabled(true);
        for (Object owner : owners) CallbackExt.unbind(owner);
    }

    private Object owner() {
        Object owner = new Object();
        owners.add(owner);
        return owner;
    }

    private static String directSignature(int arity) {
        return "(" + "J".repeat(arity) + ")J";
    }

    private static long bindDirect(Object owner, Object receiver, int arity, long fallback) {
        return CallbackExt.bind(owner, receiver, "a" + arity, directSignature(arity), arity, false,
                                false, fallback);
    }

    /** Arguments that differ in every position and use all 64 bits. */
    private static long[] argumentsFor(int arity, int slot) {
        long[] args = new long[arity];
        for (int i = 0; i < arity; i++)
            args[i] = Long.MIN_VALUE | ((long) slot << 32) | (0xFFFF_0000L + (arity << 8) + i);
        return args;
    }

    @Test
    void everyThunkPassesItsArgumentsInOrderToTheMethodOfItsOwnSlot() {
        Set<Long> addresses = new HashSet<>();
        for (int arity = 0; arity <= MAX_ARITY; arity++) {
            Object owner = owner();
            Recorder[] recorders = new Recorder[SLOTS];
            long[] thunks = new long[SLOTS];
            for (int slot = 0; slot < SLOTS; slot++) {
                recorders[slot] = new Recorder(((long) arity << 40) | slot);
                thunks[slot] = bindDirect(owner, recorders[slot], arity, -1);
                assertNotEquals(0, thunks[slot], "bind of slot " + slot + ", arity " + arity);
            }
            assertEquals(0, bindDirect(owner, new Recorder(0), arity, -1), "bind with every slot in use");

            for (int slot = 0; slot < SLOTS; slot++) {
                long[] args = argumentsFor(arity, slot);
                String where = "thunk [" + arity + "][" + slot + "]";
                assertEquals(recorders[slot].token, ThunkCaller.call(thunks[slot], args), where);
                assertArrayEquals(args, recorders[slot].last, where);
                assertEquals(1, recorders[slot].calls, where);
                addresses.add(thunks[slot]);
            }
            CallbackExt.unbind(owner);
        }
        assertEquals((MAX_ARITY + 1) * SLOTS, addresses.size(), "distinct thunk addresses");
    }

    @Test
    void unbindFreesEverySlotOfItsOwnerAndBindReusesTheLowestFreedSlot() {
        Object kept = owner();
        Object released = owner();
        Recorder recorder = new Recorder(7);
        int[] releasedSlots = {3, 40, 127};
        long[] thunks = new long[SLOTS];
        for (int slot = 0; slot < SLOTS; slot++) {
            boolean release = slot == 3 || slot == 40 || slot == 127;
            thunks[slot] = bindDirect(release ? released : kept, recorder, 1, -1);
        }
        CallbackExt.unbind(new Object());
        assertEquals(0, bindDirect(kept, recorder, 1, -1), "an owner of nothing frees nothing");

        CallbackExt.unbind(released);
        for (int slot : releasedSlots) assertEquals(0, ThunkCaller.call(thunks[slot], 5L));
        assertEquals(0, recorder.calls, "a freed slot runs no method");
        assertEquals(recorder.token, ThunkCaller.call(thunks[4], 5L), "other owners keep their slots");

        Object again = owner();
        assertEquals(thunks[3], bindDirect(again, recorder, 1, -1),
                     "the lowest freed slot is reused, with the same address for the same arity");
        // Another arity in a freed slot gets that row's thunk; the address of
        // the earlier binding no longer reaches anything.
        long other = bindDirect(again, recorder, 2, -1);
        assertNotEquals(thunks[40], other);
        assertEquals(0, ThunkCaller.call(thunks[40], 5L));
        assertEquals(thunks[127], bindDirect(again, recorder, 1, -1));
        assertEquals(0, bindDirect(again, recorder, 1, -1), "every slot is in use again");
    }

    @Test
    void resetFreesEverySlot() {
        Recorder recorder = new Recorder(11);
        long first = bindDirect(owner(), recorder, 0, -1);
        long second = bindDirect(owner(), recorder, 0, -1);
        CallbackExt.reset();
        assertEquals(0, ThunkCaller.call(first));
        assertEquals(0, ThunkCaller.call(second));
        assertEquals(0, recorder.calls);
        assertEquals(first, bindDirect(owner(), recorder, 0, -1));
    }

    private static List<WeakReference<Object>> bindUnreferenced() {
        Object owner = new Object();
        Object receiver = new Recorder(1);
        assertNotEquals(0, bindDirect(owner, receiver, 0, -1));
        return List.of(new WeakReference<>(owner), new WeakReference<>(receiver));
    }

    private static boolean anyAlive(List<WeakReference<Object>> references) {
        return references.stream().anyMatch(reference -> reference.get() != null);
    }

    @ParameterizedTest
    @ValueSource(booleans = {false, true})
    void releasedSlotsLetTheirOwnerAndReceiverBeCollected(boolean byReset) throws Exception {
        List<WeakReference<Object>> references = bindUnreferenced();
        System.gc();
        assertFalse(references.stream().anyMatch(reference -> reference.get() == null),
                    "a bound slot keeps its owner and receiver");
        if (byReset) CallbackExt.reset();
        else CallbackExt.unbind(references.get(0).get());
        for (int i = 0; i < 200 && anyAlive(references); i++) {
            System.gc();
            Thread.sleep(10);
        }
        assertFalse(anyAlive(references), "the slot's global references were deleted");
    }

    @Test
    void disabledThunksReturnZeroWithoutRunningJava() {
        Recorder recorder = new Recorder(21);
        long thunk = bindDirect(owner(), recorder, 1, 77);
        assertTrue(CallbackExt.getEnabled());
        CallbackExt.setEnabled(false);
        assertFalse(CallbackExt.getEnabled());
        assertEquals(0, ThunkCaller.call(thunk, 1L));
        assertEquals(0, recorder.calls);
        CallbackExt.setEnabled(true);
        assertTrue(CallbackExt.getEnabled());
        assertEquals(21, ThunkCaller.call(thunk, 1L));
    }

    static final class Thrower {
        final IllegalStateException error = new IllegalStateException("handler failed");

        long a0() {
            throw error;
        }

        long packed(long[] args) {
            throw error;
        }
    }

    @ParameterizedTest(name = "packed form: {0}")
    @ValueSource(booleans = {false, true})
    void aThrowingHandlerLeavesItsExceptionPendingAndLaterThunksReturnTheirFallback(boolean packed) {
        Thrower thrower = new Thrower();
        Recorder recorder = new Recorder(31);
        long throwing = packed
            ? CallbackExt.bind(owner(), thrower, "packed", "([J)J", 0, false, true, -5)
            : bindDirect(owner(), thrower, 0, -5);
        long next = bindDirect(owner(), recorder, 0, 9);
        long[] results = new long[2];
        boolean[] pending = new boolean[2];

        IllegalStateException raised = assertThrows(IllegalStateException.class,
            () -> ThunkCaller.callEach(null, new long[] {throwing, next}, new long[0], results, pending));
        assertSame(thrower.error, raised);
        assertArrayEquals(new long[] {-5, 9}, results);
        assertArrayEquals(new boolean[] {true, true}, pending);
        assertEquals(0, recorder.calls, "no Java runs while an exception is pending");

        assertEquals(31, ThunkCaller.call(next), "once handled, thunks call Java again");
    }

    @ParameterizedTest(name = "packed form: {0}")
    @ValueSource(booleans = {false, true})
    void anExceptionAlreadyPendingOnEntryMeansNoJavaCallAndTheFallback(boolean packed) {
        Recorder recorder = new Recorder(61);
        long thunk = packed
            ? CallbackExt.bind(owner(), recorder, "packed", "([J)J", 0, false, true, 12)
            : bindDirect(owner(), recorder, 0, 12);
        IllegalStateException error = new IllegalStateException("raised in native code");
        long[] results = new long[1];
        boolean[] pending = new boolean[1];

        assertSame(error, assertThrows(IllegalStateException.class,
            () -> ThunkCaller.callEach(error, new long[] {thunk}, new long[0], results, pending)));
        assertEquals(12, results[0]);
        assertTrue(pending[0], "the exception stays pending");
        assertEquals(0, recorder.calls);
    }

    @Test
    void aThreadUnknownToTheJvmIsAttachedForTheCallAndDetachedAfterIt() {
        long thunk = CallbackExt.bind(owner(), CallbackExtTest.class, "staticHandler", "(JJ)J", 2,
                                      true, false, -1);
        long[] outcome = ThunkCaller.callOnNewThread(thunk, 8L, -9L);
        assertArrayEquals(new long[] {staticRecorder.token, 0, 0}, outcome,
                          "result, attached before, attached after");
        assertArrayEquals(new long[] {8, -9}, staticRecorder.last);
        assertNotSame(Thread.currentThread(), staticRecorder.thread);
        assertTrue(staticRecorder.thread.isDaemon());
    }

    static long currentThreadId() {
        return Thread.currentThread().getId();
    }

    @Test
    void aThreadDetachedAndAttachedAgainByItsOwnerBetweenCallsRunsInItsCurrentAttachment() {
        long thunk = CallbackExt.bind(owner(), CallbackExtTest.class, "currentThreadId", "()J", 0,
                                      true, false, -1);
        int rounds = 200;
        long[] outcome = ThunkCaller.callAcrossAttachments(thunk, rounds);
        Set<Long> ids = new HashSet<>();
        for (int r = 0; r < rounds; r++) {
            long attachment = outcome[4 * r];
            assertEquals(attachment, outcome[4 * r + 1], "round " + r + ": the owner's attachment");
            assertTrue(ids.add(attachment), "round " + r + ": a fresh attachment");
            assertTrue(ids.add(outcome[4 * r + 2]), "round " + r + ": the thunk's own attachment");
            assertEquals(0, outcome[4 * r + 3], "round " + r + ": detached again");
        }
    }

    @Test
    void aThreadAttachedForAThrowingHandlerIsDetachedAndItsExceptionReportedAsUncaught() {
        Thrower thrower = new Thrower();
        long thunk = bindDirect(owner(), thrower, 0, -5);
        List<Throwable> uncaught = Collections.synchronizedList(new ArrayList<>());
        Thread.UncaughtExceptionHandler previous = Thread.getDefaultUncaughtExceptionHandler();
        Thread.setDefaultUncaughtExceptionHandler((thread, error) -> uncaught.add(error));
        try {
            assertArrayEquals(new long[] {-5, 0, 0}, ThunkCaller.callOnNewThread(thunk),
                              "fallback, attached before, attached after");
        } finally {
            Thread.setDefaultUncaughtExceptionHandler(previous);
        }
        assertEquals(List.of(thrower.error), uncaught);
    }

    /** Threads the JVM has started or attached so far; an attach counts one. */
    private static long threadsSeen() {
        return ManagementFactory.getThreadMXBean().getTotalStartedThreadCount();
    }

    @Test
    void freeAndDisabledThunksLeaveAnUnknownThreadUnattached() {
        Recorder recorder = new Recorder(51);
        Object owner = owner();
        long bound = bindDirect(owner, recorder, 0, -1);
        long before = threadsSeen();
        assertEquals(51, ThunkCaller.callOnNewThread(bound)[0]);
        assertEquals(before + 1, threadsSeen(), "a bound thunk attaches the thread");

        CallbackExt.setEnabled(false);
        assertArrayEquals(new long[] {0, 0, 0}, ThunkCaller.callOnNewThread(bound));
        CallbackExt.setEnabled(true);
        CallbackExt.unbind(owner);
        assertArrayEquals(new long[] {0, 0, 0}, ThunkCaller.callOnNewThread(bound));
        assertEquals(before + 1, threadsSeen(), "neither attached the thread");
        assertEquals(1, recorder.calls);
    }

    @ParameterizedTest
    @ValueSource(ints = {0, MAX_ARITY})
    void thePackedFormPassesOneLongArray(int arity) {
        Recorder recorder = new Recorder(41);
        long thunk = CallbackExt.bind(owner(), recorder, "packed", "([J)J", arity, false, true, -1);
        long[] args = argumentsFor(arity, 5);
        assertEquals(41, ThunkCaller.call(thunk, args));
        assertArrayEquals(args, recorder.last);
    }

    /** Digest.of of the zv.sealed test module, which opens nothing to reflection. */
    private static Class<?> sealedDigest() throws Exception {
        ModuleLayer boot = ModuleLayer.boot();
        Configuration config = boot.configuration().resolve(
            ModuleFinder.of(Path.of(System.getProperty("zv.sealedModule"))), ModuleFinder.of(),
            Set.of("zv.sealed"));
        ModuleLayer layer = boot.defineModulesWithOneLoader(config, ClassLoader.getSystemClassLoader());
        return layer.findLoader("zv.sealed").loadClass("org.tessal.vemo.sealed.Digest");
    }

    private static long digest(long[] values) {
        long digest = values.length;
        for (long value : values) digest = digest * 1_000_003L + value;
        return digest;
    }

    @ParameterizedTest
    @ValueSource(ints = {0, MAX_ARITY})
    void aPackedMethodOutOfReflectionsReachGetsItsArrayThroughJni(int arity) throws Exception {
        Class<?> sealed = sealedDigest();
        assertThrows(InaccessibleObjectException.class,
                     () -> sealed.getMethod("of", long[].class).setAccessible(true));
        long thunk = CallbackExt.bind(owner(), sealed, "of", "([J)J", arity, true, true, -1);
        long[] args = argumentsFor(arity, 9);
        assertEquals(digest(args), ThunkCaller.call(thunk, args));
    }

    static final class EntryCounter {
        long a0() {
            return CallbackExt.getEntryCount();
        }

        long a1(long thunk) {
            return ThunkCaller.call(thunk);
        }
    }

    @Test
    void theEntryCountCountsCallbacksInProgress() {
        EntryCounter counter = new EntryCounter();
        long count = bindDirect(owner(), counter, 0, -1);
        long nested = bindDirect(owner(), counter, 1, -1);
        assertEquals(0, CallbackExt.getEntryCount());
        assertEquals(1, ThunkCaller.call(count));
        assertEquals(2, ThunkCaller.call(nested, count));
        assertEquals(0, CallbackExt.getEntryCount());
    }

    /** Meets the other threads' calls inside the handler and counts them there. */
    static final class Meeting {
        final CyclicBarrier barrier;

        Meeting(int threads) {
            barrier = new CyclicBarrier(threads);
        }

        long a0() throws Exception {
            barrier.await(60, TimeUnit.SECONDS);
            long inside = CallbackExt.getEntryCount();
            barrier.await(60, TimeUnit.SECONDS);
            return inside;
        }
    }

    @Test
    void theEntryCountIsExactWithSeveralThreads() {
        int threads = 4;
        long thunk = bindDirect(owner(), new Meeting(threads), 0, -1);
        long[] counts = ThunkCaller.callConcurrently(thunk, threads, 50);
        for (long count : counts) assertEquals(threads, count, "calls inside their handler");
        assertEquals(0, CallbackExt.getEntryCount());
    }

    /** A handler that unbinds its own slot, binds another and calls its old thunk again. */
    static final class SelfUnbinder {
        final Object owner;
        final Object laterOwner;
        long thunk;
        long rebound;
        long nested;

        SelfUnbinder(Object owner, Object laterOwner) {
            this.owner = owner;
            this.laterOwner = laterOwner;
        }

        long a0() {
            CallbackExt.unbind(owner);
            rebound = bindDirect(laterOwner, new Recorder(2), 0, -1);
            nested = ThunkCaller.call(thunk);
            return 0x5E1F;
        }
    }

    @Test
    void aHandlerThatUnbindsItsOwnSlotRunsToTheEndAndTheSlotIsReusedOnlyAfterIt() {
        SelfUnbinder handler = new SelfUnbinder(owner(), owner());
        handler.thunk = bindDirect(handler.owner, handler, 0, -1);
        assertEquals(0x5E1F, ThunkCaller.call(handler.thunk));
        assertEquals(0, handler.nested, "the unbound slot takes no further calls");
        assertNotEquals(0, handler.rebound);
        assertNotEquals(handler.thunk, handler.rebound, "a slot still in use is not bound anew");
        assertEquals(0, ThunkCaller.call(handler.thunk));
        assertEquals(handler.thunk, bindDirect(owner(), new Recorder(3), 0, -1),
                     "the slot is free again once its last call has ended");
    }

    /** One binding generation: its methods answer with the generation's token. */
    static final class Generation {
        final long token;

        Generation(long generation) {
            token = (generation << 16) | 0x7E57;
        }

        long a1(long epochBefore) { return token; }
        long packed(long[] args) { return args.length == 1 ? token : 1; }
        long a2(long x0, long x1) { return 1; }  // never reachable through a one-argument thunk
    }

    private static long bindGeneration(Object owner, long generation) {
        Generation receiver = new Generation(generation);
        return switch ((int) (generation % 4)) {
            case 0, 1 -> CallbackExt.bind(owner, receiver, "a1", "(J)J", 1, false, false, -generation);
            case 2 -> CallbackExt.bind(owner, receiver, "packed", "([J)J", 1, false, true, -generation);
            default -> CallbackExt.bind(owner, receiver, "a2", "(JJ)J", 2, false, false, -generation);
        };
    }

    @Test
    void callsRacingWithUnbindRebindAndResetRunABindingOfTheirTimeOrReturnZero() {
        long[] thunks = new long[4];
        Object probe = new Object();
        for (int i = 0; i < thunks.length; i++) thunks[i] = bindDirect(probe, new Recorder(0), 1, -1);
        CallbackExt.unbind(probe);

        long[] generations = {0};
        Runnable churn = () -> {
            Object current = null;
            long end = System.nanoTime() + TimeUnit.SECONDS.toNanos(3);
            for (long generation = 1; System.nanoTime() < end; generation++) {
                if (generation % 50 == 0) CallbackExt.reset();
                else if (current != null) CallbackExt.unbind(current);
                if (generation % 500 == 0) System.gc();
                CallbackExt.setEnabled(generation % 100 != 0);
                current = new Object();
                assertNotEquals(0, bindGeneration(current, generation));
                ThunkCaller.publish(generation);
                generations[0] = generation;
            }
            CallbackExt.setEnabled(true);
            CallbackExt.unbind(current);
        };
        long[] outcome = ThunkCaller.callWhile(thunks, 4, churn);

        assertEquals(0, outcome[3], () -> outcome[3] + " violations, the first 0x"
            + Long.toHexString(outcome[4]) + " between epochs " + outcome[5] + " and " + outcome[6]);
        assertTrue(outcome[1] > 0 && outcome[2] > 0, "calls ran methods and found slots changed");
        assertTrue(generations[0] > 100, "bindings changed often");
        assertEquals(0, CallbackExt.getEntryCount());
        assertEquals(thunks[0], bindDirect(owner(), new Recorder(4), 1, -1),
                     "every slot is free again once its calls have ended");
    }

    static Stream<Arguments> refusedBinds() {
        Object owner = new Object();
        Recorder recorder = new Recorder(1);
        return Stream.of(
            Arguments.of("null owner", null, recorder, "a1", "(J)J", 1, false, false),
            Arguments.of("null receiver", owner, null, "a1", "(J)J", 1, false, false),
            Arguments.of("null name", owner, recorder, null, "(J)J", 1, false, false),
            Arguments.of("null signature", owner, recorder, "a1", null, 1, false, false),
            Arguments.of("arity below the table", owner, recorder, "a0", "()J", -1, false, false),
            Arguments.of("arity above the table", owner, recorder, "a0", "()J", 13, false, false),
            Arguments.of("fewer parameters than arity", owner, recorder, "a1", "(J)J", 2, false, false),
            Arguments.of("more parameters than arity", owner, recorder, "a2", "(JJ)J", 1, false, false),
            Arguments.of("object parameter", owner, recorder, "withObject", "(Ljava/lang/Object;)J", 1,
                         false, false),
            Arguments.of("packed form without long[]", owner, recorder, "a1", "(J)J", 1, false, true),
            Arguments.of("static method on an instance", owner, recorder, "statically", "(J)J", 1, true,
                         false));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("refusedBinds")
    void refusedBindsReturnZeroAndTakeNoSlot(String what, Object owner, Object receiver, String name,
                                            String signature, int arity, boolean staticCall,
                                            boolean packed) {
        Object probe = new Object();
        long lowest = bindDirect(probe, new Recorder(2), 0, -1);
        CallbackExt.unbind(probe);

        assertEquals(0, CallbackExt.bind(owner, receiver, name, signature, arity, staticCall, packed, 0));
        assertEquals(lowest, bindDirect(owner(), new Recorder(2), 0, -1), "no slot was taken");
    }

    @Test
    void bindOfAMissingMethodLeavesTheLookupExceptionPending() {
        Recorder recorder = new Recorder(1);
        assertThrows(NoSuchMethodError.class,
            () -> CallbackExt.bind(owner(), recorder, "missing", "()J", 0, false, false, 0));
        assertThrows(NoSuchMethodError.class,
            () -> CallbackExt.bind(owner(), Recorder.class, "a0", "()J", 0, true, false, 0));
        long lowest = bindDirect(owner(), recorder, 0, -1);
        CallbackExt.reset();
        assertEquals(lowest, bindDirect(owner(), recorder, 0, -1));
    }
}
