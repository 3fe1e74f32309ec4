package org.tessal.vemo.browser;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Path;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;

/** Misuse gives exceptions a developer can read, never a crash. */
class ErrorsTest {
    @Test
    void nullArgumentsAreNamed() throws Exception {
        try (Browser b = TestEngine.open(TestEngine.html("/errors", "Errors", ""))) {
            List<Executable> calls = List.of(() -> b.eval(null), () -> b.loadUrl(null), () -> b.execute(null),
                () -> b.addFunction(null, args -> 1), () -> b.addFunction("f", null),
                () -> TestEngine.engine().cookies().set(null, Cookie.of("a", "b")),
                () -> TestEngine.engine().createBrowser(0, null, 1, 1), () -> Engine.start(null));
            for (Executable call : calls) {
                NullPointerException e = assertThrows(NullPointerException.class, call);
                assertTrue(e.getMessage() != null && !e.getMessage().isEmpty(), "unnamed: " + e);
            }
        }
    }

    @Test
    void closedBrowsersAndSecondEnginesRefuseWork() throws Exception {
        Browser b = TestEngine.open(TestEngine.html("/errors", "Errors", ""));
        b.close();
        b.close(); // closing twice does nothing
        for (Executable call : List.<Executable>of(() -> b.eval("1"), b::reload, b::url,
                                                   () -> b.addFunction("f", args -> 1))) {
            IllegalStateException e = assertThrows(IllegalStateException.class, call);
            assertEquals("browser " + b.id() + " is closed", e.getMessage());
        }
        assertTrue(b.isClosed());
        IllegalStateException second = assertThrows(IllegalStateException.class,
            () -> Engine.start(Engine.Options.of(Path.of(System.getProperty("zv.engineDir")), "x")));
        assertEquals("the engine can be started once per process", second.getMessage());
    }
}
