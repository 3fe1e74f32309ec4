// Downloads in the browser process. A navigation's final response that is
// an attachment (Content-Disposition), or of a type the work-alike does not
// render, leaves the navigation (which ends as aborted, as in CEF) and
// becomes a download of its browser: the client's download handler is
// asked with on_before_download, and the transfer goes on to the chosen
// file once the callback continues. A callback released unanswered, a
// browser without a download handler, the browser's close and shutdown
// cancel the download.
//
// There is no file dialog: cont(path, show_dialog) saves to `path` when it
// is not empty, otherwise under the suggested name (numbered when taken) in
// the downloads folder ($XDG_DOWNLOAD_DIR, else ~/Downloads) with
// show_dialog set, or in the temporary directory without it. Bytes go to
// "<path>.part", renamed to the path when the transfer completes and removed
// when it does not. on_download_updated reports progress (at most one
// report pending at a time) and exactly one final state: complete,
// canceled or interrupted (neither of these flags, e.g. a file that cannot
// be written). Items describe the download at the moment of their handler
// call and are detached after it (is_valid 0, empty values).
#pragma once

#include <memory>

#include "browser/fetch.h"

namespace cefwork {

class BrowserCore;
struct LoadJob;
class Download;

// The response hook of one navigation's fetch, on its load thread: keeps
// documents, turns downloads over to the client.
class DownloadTap {
 public:
  DownloadTap(std::weak_ptr<BrowserCore> core, std::shared_ptr<LoadJob> job, int browser_id);
  DownloadTap(const DownloadTap&) = delete;
  DownloadTap& operator=(const DownloadTap&) = delete;

  BodyDiversion operator()(const ResponseHead& head);
  // After a diverted fetch: the download completes, is canceled or is
  // interrupted.
  void end(const FetchResult& result);

 private:
  std::weak_ptr<BrowserCore> core_;
  std::shared_ptr<LoadJob> job_;
  int browser_id_;
  std::shared_ptr<Download> download_;
};

// Cancels the downloads of one browser (when it closes), or every download
// for -1 (at shutdown); waiting decisions end as canceled.
void cancel_downloads(int browser_id);

}  // namespace cefwork
