package org.tessal.vemo.browser;

import java.util.List;

/**
 * A Java function that page script calls synchronously under a global name.
 * It runs on the engine thread; the page waits meanwhile and the function may
 * evaluate script in the same page. Arguments and result are the values of
 * {@link Browser#eval}; a thrown exception becomes a script exception in the
 * page with the exception's message.
 */
@FunctionalInterface
public interface HostFunction {
    Object call(List<Object> args) throws Exception;
}
