package org.tessal.vemo.internal.zorvan.lib.standin;

/** The call record of the recording stand-in of the engine bridge library. */
final class StandIn {
    static {
        System.loadLibrary("zorvan_vemo_52013");
    }

    private StandIn() {}

    /** The calls since the last take, one line each ("name arg ..."). */
    static native String take();
}
