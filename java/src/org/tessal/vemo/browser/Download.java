package org.tessal.vemo.browser;

import org.tessal.vemo.internal.zorvan.lib.DownloadItem;
import org.tessal.vemo.internal.zorvan.lib.ZorvanLib;

/**
 * The state of a download at one update. While it is in progress it can be
 * cancelled, until the next update of the same download supersedes it.
 */
public final class Download extends Continuation {
    /** Where the download stands. */
    public enum Status { INVALID, IN_PROGRESS, COMPLETE, CANCELED, UNKNOWN }

    record Snapshot(int id, Status status, String url, String file, long received, long total, long speed,
                    int percent) {
        boolean ended() {
            return status != Status.IN_PROGRESS;
        }
    }

    /** Engine thread: reads a download item through the bridge's download record. */
    static Snapshot read(long item) {
        DownloadItem record = new DownloadItem();
        ZorvanLib.cefvemo_download_item(item, record);
        try {
            Status status;
            switch (record.status) {
                case -1: status = Status.INVALID; break;
                case 1: status = Status.IN_PROGRESS; break;
                case 2: status = Status.COMPLETE; break;
                case 3: status = Status.CANCELED; break;
                default: status = Status.UNKNOWN;
            }
            return new Snapshot(record.id, status, text(record.url), text(record.file), record.received,
                                record.total, record.speed, record.percent);
        } finally {
            ZorvanLib.cefvemo_download_item(0, record); // frees the record's two strings
        }
    }

    private static String text(long cefString) {
        return cefString == 0 ? "" : ZorvanLib.cefvemo_cefstring_to_java(cefString);
    }

    private final Snapshot state;

    Download(BrowserCore browser, long callback, Snapshot state) {
        super(browser, callback);
        this.state = state;
        if (callback == 0) abandon();
    }

    public int id() {
        return state.id();
    }

    public Status status() {
        return state.status();
    }

    public boolean isComplete() {
        return state.status() == Status.COMPLETE;
    }

    /** The URL the download started from. */
    public String url() {
        return state.url();
    }

    /** The file it is written to. */
    public String file() {
        return state.file();
    }

    public long receivedBytes() {
        return state.received();
    }

    /** Total size, or -1 when the server did not say. */
    public long totalBytes() {
        return state.total();
    }

    public long bytesPerSecond() {
        return state.speed();
    }

    /** Percent complete, or -1 when unknown. */
    public int percent() {
        return state.percent();
    }

    /** Cancels the download (from any thread) unless it has ended or a later update came. */
    public void cancel() {
        answer("cancel", this::cancel);
    }

    @Override
    void cancel(long callback) {
        cancelDownload(callback);
    }

    @Override
    public String toString() {
        return "download " + id() + " " + status() + " " + receivedBytes() + "/" + totalBytes() + " bytes ("
               + percent() + "%)";
    }
}
