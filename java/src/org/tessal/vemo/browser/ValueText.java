package org.tessal.vemo.browser;

import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.Objects;

/**
 * Script values as the engine carries them: a kind and a text.
 *
 * <p>Kinds: 0 number, 1 boolean ("1"/"0"), 2 string, 3 null, 4 array, 5 error
 * (the message; "51" for a value that has no text form). An array text is
 * {@code "} elements separated by {@code ;} {@code "}, each element
 * {@code 'kind,text'}, nothing escaped. Reading mirrors the page side's reader
 * exactly, so a list that this reader cannot read back unchanged (strings
 * holding {@code ;} or {@code "}, arrays nested more than one level) is refused
 * instead of arriving altered.
 */
final class ValueText {
    static final int NUMBER = 0, BOOL = 1, STRING = 2, NULL = 3, ARRAY = 4, ERROR = 5;

    /** A value in its carried form. */
    record Encoded(int kind, String text) {}

    private ValueText() {}

    /** The Java value of (kind, text): Double, Boolean, String, null or List; kind 5 throws. */
    static Object toJava(int kind, String text) {
        switch (kind) {
            case NUMBER: return parseNumber(text);
            case BOOL: return !isZero(text);
            case STRING: return text;
            case NULL: return null;
            case ARRAY: return parseArray(text);
            default: throw new ScriptException(text);
        }
    }

    static Double parseNumber(String text) {
        switch (text) {
            case "inf": case "+inf": return Double.POSITIVE_INFINITY;
            case "-inf": return Double.NEGATIVE_INFINITY;
            default:
                try {
                    return Double.valueOf(text);
                } catch (NumberFormatException e) {
                    return Double.NaN;
                }
        }
    }

    private static boolean isZero(String text) {
        try {
            return Integer.parseInt(text) == 0;
        } catch (NumberFormatException e) {
            return true;
        }
    }

    /** Reads an array text; an element of kind 5 (no text form) reads as null. */
    static List<Object> parseArray(String text) {
        if (text.length() < 2) return Collections.emptyList();
        String body = text.substring(1, text.length() - 1);
        List<Object> out = new ArrayList<>();
        for (String element : cutElements(body)) {
            if (element.length() < 2) {
                out.add(null);
                continue;
            }
            String inner = element.substring(1, element.length() - 1);
            int comma = firstCommaOutsideApostrophes(inner);
            if (comma < 0) {
                out.add(null);
                continue;
            }
            int kind;
            try {
                kind = Integer.parseInt(inner.substring(0, comma));
            } catch (NumberFormatException e) {
                kind = ERROR;
            }
            String value = inner.substring(comma + 1);
            out.add(kind >= NUMBER && kind <= ARRAY ? toJava(kind, value) : null);
        }
        return Collections.unmodifiableList(out);
    }

    private static List<String> cutElements(String body) {
        List<String> pieces = new ArrayList<>();
        if (body.isEmpty()) return pieces;
        boolean quoted = false;
        int start = 0;
        for (int i = 0; i < body.length(); i++) {
            char c = body.charAt(i);
            if (c == '"') quoted = !quoted;
            else if (c == ';' && !quoted) {
                pieces.add(body.substring(start, i));
                start = i + 1;
            }
        }
        if (start < body.length()) pieces.add(body.substring(start));
        return pieces;
    }

    private static int firstCommaOutsideApostrophes(String s) {
        boolean quoted = false;
        for (int i = 0; i < s.length(); i++) {
            char c = s.charAt(i);
            if (c == '\'') quoted = !quoted;
            else if (c == ',' && !quoted) return i;
        }
        return -1;
    }

    /**
     * The carried form of a Java value: null, Boolean, Number, CharSequence or
     * Character, or a List (or Object[]) of those.
     *
     * @throws IllegalArgumentException for other types and for lists the page
     *     side could not read back unchanged
     */
    static Encoded fromJava(Object value) {
        if (value == null) return new Encoded(NULL, "");
        if (value instanceof Boolean) return new Encoded(BOOL, (Boolean) value ? "1" : "0");
        if (value instanceof Number) return new Encoded(NUMBER, numberText(((Number) value).doubleValue()));
        if (value instanceof CharSequence || value instanceof Character) {
            return new Encoded(STRING, value.toString());
        }
        List<?> list = asList(value);
        if (list == null) {
            throw new IllegalArgumentException(
                "a " + value.getClass().getName() + " cannot be passed to page script");
        }
        String text = arrayText(list);
        if (!Objects.equals(parseArray(text), normalise(list))) {
            throw new IllegalArgumentException(
                "this list cannot be passed to page script unchanged (strings with ';' or '\"',"
                + " or lists nested more than one level)");
        }
        return new Encoded(ARRAY, text);
    }

    private static List<?> asList(Object value) {
        if (value instanceof List) return (List<?>) value;
        if (value instanceof Object[]) return java.util.Arrays.asList((Object[]) value);
        return null;
    }

    private static String arrayText(List<?> list) {
        StringBuilder text = new StringBuilder("\"");
        for (int i = 0; i < list.size(); i++) {
            Encoded element = fromJavaElement(list.get(i));
            if (i > 0) text.append(';');
            text.append('\'').append(element.kind()).append(',').append(element.text()).append('\'');
        }
        return text.append('"').toString();
    }

    private static Encoded fromJavaElement(Object element) {
        List<?> nested = asList(element);
        return nested != null ? new Encoded(ARRAY, arrayText(nested)) : fromJava(element);
    }

    /** The value as the reader gives it back: numbers as Double, characters as String. */
    private static Object normalise(Object value) {
        if (value instanceof Number) return ((Number) value).doubleValue();
        if (value instanceof CharSequence || value instanceof Character) return value.toString();
        List<?> list = asList(value);
        if (list == null) return value;
        List<Object> out = new ArrayList<>(list.size());
        for (Object element : list) out.add(normalise(element));
        return out;
    }

    /** A number text the page side reads back to the same double. */
    static String numberText(double d) {
        if (Double.isNaN(d)) return "NaN";
        if (Double.isInfinite(d)) return d > 0 ? "inf" : "-inf";
        if (d == 0) return 1 / d < 0 ? "-0" : "0";
        if (d == Math.rint(d) && Math.abs(d) < 1e15) return Long.toString((long) d);
        return Double.toString(d);
    }
}
