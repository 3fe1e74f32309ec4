// The state of one download, shared by its transfer (a load thread), the
// UI thread's handler calls and the CEF objects handed to the client.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "browser/fetch.h"
#include "ref.h"

namespace cefwork {

class BrowserCore;

enum class DownloadState { kPending, kInProgress, kComplete, kCanceled, kInterrupted };

// A download as one handler call sees it.
struct DownloadSnapshot {
  uint32_t id = 0;
  DownloadState state = DownloadState::kPending;
  int64_t received = 0;
  int64_t total = 0;  // 0 when not known
  int64_t speed = 0;  // bytes per second while in progress
  int percent = -1;   // -1 when the total is not known
  double start_time = 0;
  double end_time = 0;
  std::string full_path;  // empty until the client has chosen it
  std::string url;
  std::string original_url;
  std::string suggested_name;
  std::string disposition;
  std::string mime_type;
};

class Download : public std::enable_shared_from_this<Download> {
 public:
  Download(int browser_id, std::weak_ptr<BrowserCore> core, const ResponseHead& head,
           std::string original_url);
  ~Download();

  const uint32_t id;
  const int browser_id;
  const std::weak_ptr<BrowserCore> core;
  const std::string suggested_name;
  std::atomic<bool> stop{false};  // the transfer's cancellation flag

  // The client's decision: a path to save to, or none for cancel. The first
  // one counts.
  void decide(std::optional<std::string> path);
  // Waits on the load thread for the decision; a load cancelled before its
  // download was offered cancels it.
  std::optional<std::string> wait_decision(const std::atomic<bool>& load_cancelled);
  void mark_offered();
  // Cancels from the client or the engine.
  void cancel();

  // The transfer, on the load thread.
  bool open(const std::string& path);  // false: interrupted
  bool write(const char* data, size_t size);
  // The transfer has ended (ok: all bytes arrived): complete, or canceled
  // or interrupted, with the partial file removed.
  void end(bool transfer_ok);

  DownloadSnapshot snapshot() const;
  // Posts an on_download_updated call: with the download as it is now, or
  // for progress, as it is when delivered (one pending at a time, dropped
  // once the download has ended).
  void report(bool progress);

 private:
  void finish(DownloadState state);

  mutable std::mutex mutex_;
  std::condition_variable decided_cv_;
  bool decided_ = false;
  bool offered_ = false;
  std::optional<std::string> path_;
  DownloadSnapshot state_;
  std::chrono::steady_clock::time_point started_;
  bool report_pending_ = false;
  // Load thread only.
  std::FILE* file_ = nullptr;
  std::string partial_path_;
  bool write_failed_ = false;
};

// Calls on_before_download for a download just offered (UI thread); a
// client without a download handler cancels it.
void offer_download(const std::shared_ptr<Download>& download);
// Calls on_download_updated with the snapshot (UI thread).
void deliver_update(const std::shared_ptr<Download>& download, const DownloadSnapshot& snapshot);

// File names: the name a response suggests (Content-Disposition, else the
// URL's last segment), safe to use as one path component; the downloads
// and temporary folders; a path in a folder that does not exist yet.
std::string suggested_file_name(const std::string& disposition, const std::string& url);
std::string downloads_folder();
std::string temporary_folder();
std::string free_path(const std::string& folder, const std::string& name);

}  // namespace cefwork
