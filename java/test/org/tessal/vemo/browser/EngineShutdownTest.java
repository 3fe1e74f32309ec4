package org.tessal.vemo.browser;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import org.junit.jupiter.api.Order;
import org.junit.jupiter.api.Test;
import org.tessal.vemo.internal.CallbackExt;

/** Runs last: shutting the engine down releases every thunk slot and native block. */
@Order(Integer.MAX_VALUE)
class EngineShutdownTest {
    public long slot(long a) {
        return a;
    }

    @Test
    void shutdownReleasesEverything() throws Exception {
        Engine engine = TestEngine.engine();
        Browser open = TestEngine.open(TestEngine.html("/shutdown", "Left open", ""));
        engine.close(); // closes the browser left open too
        assertEquals(true, open.isClosed());
        assertEquals("the engine is shut down", assertThrows(IllegalStateException.class, () -> open.eval("1"))
            .getMessage());
        assertThrows(IllegalStateException.class, engine::createBrowser);
        assertEquals(0, engine.liveTables(), "handler tables left");
        assertEquals(0, NativeMemory.liveBlocks(), "native blocks left");
        // Every one of the 128 slots is free again.
        Object owner = new Object();
        try {
            for (int i = 0; i < 128; i++) {
                assertNotEquals(0, CallbackExt.bind(owner, this, "slot", "(J)J", 1, false, false, 0), "slot " + i);
            }
        } finally {
            CallbackExt.unbind(owner);
        }
    }
}
