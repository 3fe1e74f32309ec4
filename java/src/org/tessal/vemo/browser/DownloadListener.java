package org.tessal.vemo.browser;

/** Downloads of a browser, called on the engine thread. */
public interface DownloadListener {
    /** A download is to start; answer the request (now or later) to let it go on. */
    void onDownloadRequested(DownloadRequest request);

    /** Progress of a download, up to its end (complete or canceled). */
    default void onDownloadUpdated(Download download) {}
}
