package org.tessal.vemo.browser;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.File;
import java.lang.management.ManagementFactory;
import java.util.HashMap;
import java.util.Map;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import javax.management.ObjectName;
import org.junit.jupiter.api.Test;

/**
 * Evaluations and browser lifetimes leave nothing behind: native blocks and
 * tables of this host, the JVM's own native memory (Native Memory Tracking)
 * and the process's file descriptors stay flat.
 */
class ResourcesTest {
    private static final String PAGE = TestEngine.html("/resources", "Resources", "");

    private record Usage(int blocks, int tables, int fds, Map<String, Long> nmt) {}

    private static Usage usage() throws Exception {
        String[] fds = new File("/proc/self/fd").list();
        return new Usage(NativeMemory.liveBlocks(), TestEngine.engine().liveTables(), fds == null ? -1 : fds.length,
                         nativeMemory());
    }

    /** Committed KB by Native Memory Tracking category; empty when tracking is off. */
    private static Map<String, Long> nativeMemory() throws Exception {
        String summary = (String) ManagementFactory.getPlatformMBeanServer().invoke(
            new ObjectName("com.sun.management:type=DiagnosticCommand"), "vmNativeMemory",
            new Object[] {new String[] {"summary"}}, new String[] {String[].class.getName()});
        Map<String, Long> committed = new HashMap<>();
        Matcher m = Pattern.compile("-\\s+([A-Za-z][A-Za-z ]*?) \\(reserved=\\d+KB, committed=(\\d+)KB")
                           .matcher(summary);
        while (m.find()) committed.put(m.group(1).trim(), Long.parseLong(m.group(2)));
        return committed;
    }

    private static void cycle(int evals, int browsers) throws Exception {
        try (Browser b = TestEngine.open(PAGE)) {
            b.addFunction("twice", args -> 2 * (Double) args.get(0));
            for (int i = 0; i < evals; i++) {
                assertEquals(2.0 * i + 1, b.eval("twice(" + i + ") + 1"));
            }
        }
        for (int i = 0; i < browsers; i++) {
            Browser b = TestEngine.open(PAGE);
            assertEquals("Resources", b.eval("document.title"));
            b.close();
        }
    }

    /** The usage once the engine has let the closed browsers' processes go. */
    private static Usage settled(Usage before) throws Exception {
        Usage now = usage();
        for (int i = 0; i < 100 && (now.fds() > before.fds() || now.tables() > before.tables()); i++) {
            Thread.sleep(100);
            now = usage();
        }
        return now;
    }

    @Test
    void evalsAndBrowsersLeaveNothingBehind() throws Exception {
        cycle(100, 3); // warm up: first documents, compiled code, pools
        Usage before = usage();
        cycle(1000, 50);
        Usage after = settled(before);
        assertEquals(before.blocks(), after.blocks(), "native blocks of the host");
        assertEquals(before.tables(), after.tables(), "handler tables");
        assertTrue(after.fds() <= before.fds(), "file descriptors " + before.fds() + " -> " + after.fds());
        assumeTrue(!before.nmt().isEmpty(), "Native Memory Tracking is off in this JVM");
        // Unsafe blocks land in "Other", JNI references in "Internal": both stay put.
        for (String category : new String[] {"Other", "Internal"}) {
            long grown = after.nmt().getOrDefault(category, 0L) - before.nmt().getOrDefault(category, 0L);
            assertTrue(grown < 256, category + " grew by " + grown + " KB");
        }
    }
}
