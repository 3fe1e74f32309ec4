package org.tessal.vemo.browser;

import java.nio.file.Path;
import java.util.Objects;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/**
 * A download is about to start: {@link #saveTo} lets it go on (now or later,
 * from any thread); {@link #cancel()}, or closing the browser, drops it.
 */
public final class DownloadRequest extends Continuation {
    private final Download.Snapshot state;
    private final String suggestedName;

    DownloadRequest(BrowserCore browser, long callback, Download.Snapshot state, String suggestedName) {
        super(browser, callback);
        this.state = state;
        this.suggestedName = suggestedName;
    }

    public int id() {
        return state.id();
    }

    public String url() {
        return state.url();
    }

    public String suggestedName() {
        return suggestedName;
    }

    /** Total size, or -1 when the server did not say. */
    public long totalBytes() {
        return state.total();
    }

    /** Goes on with the download into {@code file}. */
    public void saveTo(Path file) {
        Objects.requireNonNull(file, "file");
        String path = file.toAbsolutePath().toString();
        answer("saveTo", cb -> ZorvanLib.cefvemo_download_callback(cb, path, 1));
    }

    /** Drops the download. */
    public void cancel() {
        answer("cancel", this::cancel);
    }

    @Override
    void cancel(long callback) {
        // Releasing the before-download callback unanswered drops the download.
    }
}
