package org.tessal.vemo.browser;

/** A console message of page script: level (engine log severity), text, source and line. */
public record ConsoleMessage(int level, String text, String source, int line) {}
