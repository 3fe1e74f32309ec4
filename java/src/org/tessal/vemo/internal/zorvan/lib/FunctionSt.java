package org.tessal.vemo.internal.zorvan.lib;

/**
 * A call from page script into a host function, as
 * {@link ZorvanLib#cefvemo_function_id} reads it from a process message:
 * the function's id, the port its answer goes to, and the number of
 * arguments (-1 and 0 when the message is not a call).
 */
public class FunctionSt {
    public int id;
    public int port;
    public int args;
}
