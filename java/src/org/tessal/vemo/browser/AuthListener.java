package org.tessal.vemo.browser;

/** Listener of a browser, called on the engine thread. */
@FunctionalInterface
public interface AuthListener {
    /** Credentials are asked for; return true to answer (now or later), false to refuse. */
    boolean onAuthentication(AuthChallenge challenge);
}
