package org.tessal.vemo.browser;

import java.util.concurrent.CompletableFuture;

/** Owner of one string visitor table: the page source, delivered later. */
final class SourceVisit {
    final CompletableFuture<String> result = new CompletableFuture<>();

    void visit(String text) {
        result.complete(text);
    }

    void released(long address) {
        result.completeExceptionally(new IllegalStateException("the engine delivered no page source"));
    }
}
