package org.tessal.vemo.browser;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assumptions.assumeFalse;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

class ScriptTest {
    private static Browser browser;
    private static final List<Object> echoed = new ArrayList<>();

    @BeforeAll
    static void open() throws Exception {
        browser = TestEngine.open(TestEngine.html("/script", "Script page", ""));
        browser.addFunction("echoText", args -> {
            echoed.add(args.get(0));
            return args.get(0);
        });
    }

    @AfterAll
    static void close() {
        browser.close();
    }

    static List<Arguments> values() {
        return List.of(
            Arguments.of("6 * 7", 42.0),
            Arguments.of("-2.5", -2.5),
            Arguments.of("0.1 + 0.2", 0.1 + 0.2),
            Arguments.of("1e21", 1e21),
            Arguments.of("0 / 0", Double.NaN),
            Arguments.of("-1 / 0", Double.NEGATIVE_INFINITY),
            Arguments.of("1 < 2", true),
            Arguments.of("'text'", "text"),
            Arguments.of("''", ""),
            Arguments.of("null", null),
            Arguments.of("undefined", null),
            Arguments.of("[]", List.of()),
            Arguments.of("[1, 'a', true, null, [2, 'c']]", Arrays.asList(1.0, "a", true, null, List.of(2.0, "c"))),
            Arguments.of("[1, undefined, 3]", List.of(1.0)));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("values")
    void evalGivesTypedValues(String script, Object expected) {
        assertEquals(expected, browser.eval(script));
    }

    @Test
    void scriptExceptionsCarryThePageMessage() {
        assertEquals("Uncaught Error: no such thing", assertThrows(ScriptException.class,
            () -> browser.eval("throw new Error('no such thing')")).getMessage());
        assertEquals("51", assertThrows(ScriptException.class, () -> browser.eval("({a: 1})")).getMessage(),
            "an object has no value form");
    }

    /** Texts whose every UTF-16 unit must survive: emoji, NUL, lone surrogates. */
    static List<String> texts() {
        return List.of("plain", "grüße €", "emoji \uD83D\uDE00 and \uD83C\uDDE9\uD83C\uDDEA", "nul \u0000 inside",
                       "lone high \uD800 here", "lone low \uDC00 here", "\uDBFF\uDFFF max", "quote ' and \" ; ,");
    }

    private static String units(String s) {
        StringBuilder b = new StringBuilder();
        for (char c : s.toCharArray()) b.append(String.format("\\u%04x", (int) c));
        return b.toString();
    }

    @ParameterizedTest
    @MethodSource("texts")
    void textTravelsExactlyBothWays(String text) {
        // Java to page: the raw characters inside a script literal; the page compares with escapes.
        assertEquals(true, browser.eval("'" + text.replace("'", "\\'") + "' === '" + units(text) + "'"));
        // Page to Java: an eval result and a host-function argument, then a host-function result back.
        // The page side's value texts end at U+0000 and replace lone surrogates (U+FFFD) for now.
        assumeFalse(text.codePoints().anyMatch(cp -> cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)),
                    "value texts from the page keep no U+0000 and no lone surrogate yet");
        assertEquals(text, browser.eval("'" + units(text) + "'"));
        echoed.clear();
        assertEquals(true, browser.eval("echoText('" + units(text) + "') === '" + units(text) + "'"));
        assertEquals(List.of(text), echoed);
    }

    @Test
    void hostFunctionsServePageCallsWithNestedEval() {
        browser.addFunction("javaSum", args -> {
            double sum = 0;
            for (Object a : args) sum += (Double) a;
            // Nested: the page is waiting inside javaSum while this runs.
            return sum + (Double) browser.eval("window.bonus");
        });
        browser.eval("window.bonus = 100");
        assertEquals(106.0, browser.eval("javaSum(1, 2, 3)"));
        browser.addFunction("javaList", args -> List.of(args.size(), "x", false));
        assertEquals(List.of(2.0, "x", false), browser.eval("javaList(null, [1])"));
        assertEquals(2.0, browser.eval("javaList(null, [1]).length - 1"));
    }

    @Test
    void hostFunctionFailuresBecomeScriptExceptions() {
        browser.addFunction("javaFails", args -> {
            throw new IllegalStateException("refused by Java");
        });
        browser.addFunction("javaOdd", args -> new Object());
        browser.addFunction("javaCut", args -> List.of("a;b"));
        assertEquals("caught refused by Java", browser.eval("try { javaFails() } catch (e) { 'caught ' + e.message }"));
        assertEquals(ScriptException.class, assertThrows(ScriptException.class, () -> browser.eval("javaOdd()"))
            .getClass());
        assertThrows(ScriptException.class, () -> browser.eval("javaCut()"), "a list the page cannot read back");
        assertEquals(7.0, browser.eval("7"), "the page goes on after failed calls");
    }

    @Test
    void engineCallsComeFromAnyThread() throws Exception {
        CompletableFuture<Object> other = CompletableFuture.supplyAsync(() -> browser.eval("'from ' + 'another thread'"));
        assertEquals("from another thread", other.get(TestEngine.WAIT_SECONDS, TimeUnit.SECONDS));
        CompletableFuture<Boolean> onEngine = new CompletableFuture<>();
        TestEngine.engine().run(() -> onEngine.complete(TestEngine.engine().isEngineThread()));
        assertEquals(true, onEngine.get());
    }
}
