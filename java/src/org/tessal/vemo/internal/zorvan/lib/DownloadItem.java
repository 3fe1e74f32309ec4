package org.tessal.vemo.internal.zorvan.lib;

/**
 * The state of a download as {@link ZorvanLib#cefvemo_download_item} fills
 * it. {@code file} and {@code url} are addresses of engine-owned CEF strings
 * (read them with {@link ZorvanLib#cefvemo_cefstring_to_java}); a filled
 * record releases them with {@code cefvemo_download_item(0, record)}.
 */
public class DownloadItem {
    public int id;
    /** -1 not valid, 1 in progress, 2 complete, 3 canceled, 0 none of these. */
    public int status;
    public long file;
    public long url;
    public long received;
    public long total;
    public long speed;
    public int percent;
}
