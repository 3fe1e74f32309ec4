// Downloads: turning a navigation's response into a download, its transfer
// to the chosen file, and the list of running downloads.

#include "browser/download.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#include "browser/browser.h"
#include "browser/download_state.h"
#include "engine.h"
#include "log.h"

namespace cefwork {
namespace {

std::atomic<uint32_t> next_download_id{1};

std::mutex downloads_mutex;
std::vector<std::weak_ptr<Download>> downloads;

void remember(const std::shared_ptr<Download>& download) {
  std::lock_guard lock(downloads_mutex);
  std::erase_if(downloads, [](const std::weak_ptr<Download>& d) { return d.expired(); });
  downloads.push_back(download);
}

double now_seconds() {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The part of a header value before its parameters, trimmed and lower case.
std::string main_token(const std::string& value) {
  std::string token = value.substr(0, value.find(';'));
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  token.erase(token.begin(), std::find_if_not(token.begin(), token.end(), blank));
  token.erase(std::find_if_not(token.rbegin(), token.rend(), blank).base(), token.end());
  return lower(token);
}

// Types the work-alike shows as a document; a response without a type is
// shown too.
bool renders(const std::string& mime) {
  if (mime.empty() || mime.rfind("text/", 0) == 0 || mime.rfind("image/", 0) == 0) return true;
  for (const char* suffix : {"+xml", "+json", "/xml", "/json", "/javascript", "/ecmascript"}) {
    const size_t n = std::char_traits<char>::length(suffix);
    if (mime.size() >= n && mime.compare(mime.size() - n, n, suffix) == 0) return true;
  }
  return false;
}

bool is_download(const ResponseHead& head) {
  if (head.status < 200 || head.status > 299) return false;
  return main_token(header_value(head.headers, "Content-Disposition")) == "attachment" ||
         !renders(main_token(header_value(head.headers, "Content-Type")));
}

// A sink that stops the transfer at once.
BodyDiversion refuse(const std::shared_ptr<Download>& download) {
  return {[](const char*, size_t) { return false; }, &download->stop};
}

}  // namespace

Download::Download(int browser, std::weak_ptr<BrowserCore> browser_core, const ResponseHead& head,
                   std::string original_url)
    : id(next_download_id++),
      browser_id(browser),
      core(std::move(browser_core)),
      suggested_name(suggested_file_name(header_value(head.headers, "Content-Disposition"),
                                         head.url)) {
  state_.id = id;
  state_.total = std::max<int64_t>(head.content_length, 0);
  state_.start_time = now_seconds();
  state_.url = head.url;
  state_.original_url = std::move(original_url);
  state_.suggested_name = suggested_name;
  state_.disposition = header_value(head.headers, "Content-Disposition");
  state_.mime_type = main_token(header_value(head.headers, "Content-Type"));
  started_ = std::chrono::steady_clock::now();
}

Download::~Download() {
  if (file_) std::fclose(file_);
}

void Download::decide(std::optional<std::string> path) {
  {
    std::lock_guard lock(mutex_);
    if (decided_) return;
    decided_ = true;
    path_ = std::move(path);
  }
  decided_cv_.notify_all();
}

void Download::mark_offered() {
  std::lock_guard lock(mutex_);
  offered_ = true;
}

std::optional<std::string> Download::wait_decision(const std::atomic<bool>& load_cancelled) {
  std::unique_lock lock(mutex_);
  while (!decided_) {
    // Until the download is offered, the navigation may still be replaced
    // or its browser closed; nobody would answer then.
    if (!offered_ && load_cancelled.load()) return std::nullopt;
    decided_cv_.wait_for(lock, std::chrono::milliseconds(100));
  }
  return stop.load() ? std::nullopt : path_;
}

void Download::cancel() {
  stop = true;
  decide(std::nullopt);
}

bool Download::open(const std::string& path) {
  partial_path_ = path + ".part";
  file_ = std::fopen(partial_path_.c_str(), "wb");
  std::lock_guard lock(mutex_);
  state_.full_path = path;
  started_ = std::chrono::steady_clock::now();
  if (!file_) {
    log(LOGSEVERITY_WARNING, "download " + std::to_string(id) + ": cannot write " + partial_path_);
    return false;
  }
  state_.state = DownloadState::kInProgress;
  return true;
}

bool Download::write(const char* data, size_t size) {
  if (stop.load() || !file_) return false;
  if (std::fwrite(data, 1, size, file_) != size) {
    write_failed_ = true;
    return false;
  }
  {
    std::lock_guard lock(mutex_);
    state_.received += static_cast<int64_t>(size);
  }
  report(true);
  return true;
}

void Download::end(bool transfer_ok) {
  bool ok = file_ && transfer_ok && !write_failed_;
  if (file_) ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  bool chosen = false;
  {
    std::lock_guard lock(mutex_);
    chosen = path_.has_value();
  }
  std::error_code error;
  DownloadState final_state = DownloadState::kInterrupted;
  if (stop.load() || !chosen) {
    final_state = DownloadState::kCanceled;
  } else if (ok) {
    std::filesystem::rename(partial_path_, snapshot().full_path, error);
    if (!error) final_state = DownloadState::kComplete;
  }
  if (final_state != DownloadState::kComplete && !partial_path_.empty())
    std::filesystem::remove(partial_path_, error);
  finish(final_state);
}

void Download::finish(DownloadState final_state) {
  {
    std::lock_guard lock(mutex_);
    state_.state = final_state;
    state_.end_time = now_seconds();
    if (final_state == DownloadState::kComplete) state_.total = state_.received;
  }
  report(false);
}

DownloadSnapshot Download::snapshot() const {
  std::lock_guard lock(mutex_);
  DownloadSnapshot s = state_;
  if (s.state == DownloadState::kComplete) {
    s.percent = 100;
  } else if (s.total > 0) {
    s.percent = static_cast<int>(std::min<int64_t>(s.received * 100 / s.total, 100));
  }
  if (s.state == DownloadState::kInProgress) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    s.speed = static_cast<int64_t>(static_cast<double>(s.received) / std::max(seconds, 0.001));
  }
  return s;
}

void Download::report(bool progress) {
  if (!progress) {
    // The start or the final state, as it is now.
    Engine::get().post([self = shared_from_this(), s = snapshot()] { deliver_update(self, s); });
    return;
  }
  {
    std::lock_guard lock(mutex_);
    if (report_pending_) return;
    report_pending_ = true;
  }
  // Progress as it is when the report is delivered; none once the download
  // has ended, whose final report follows.
  Engine::get().post([self = shared_from_this()] {
    {
      std::lock_guard lock(self->mutex_);
      self->report_pending_ = false;
    }
    const DownloadSnapshot s = self->snapshot();
    if (s.state == DownloadState::kInProgress) deliver_update(self, s);
  });
}

DownloadTap::DownloadTap(std::weak_ptr<BrowserCore> core, std::shared_ptr<LoadJob> job,
                         int browser_id)
    : core_(std::move(core)), job_(std::move(job)), browser_id_(browser_id) {}

BodyDiversion DownloadTap::operator()(const ResponseHead& head) {
  if (!is_download(head)) return {};
  download_ = std::make_shared<Download>(browser_id_, core_, head, job_->entry.request.url);
  remember(download_);
  Engine::get().post([download = download_, core = core_, job = job_] {
    if (auto c = core.lock()) c->end_as_download(job);
    if (job->cancelled.load()) {
      download->cancel();
      return;
    }
    download->mark_offered();
    offer_download(download);
  });
  const std::optional<std::string> path = download_->wait_decision(job_->cancelled);
  if (!path || !download_->open(*path)) return refuse(download_);
  download_->report(false);  // the transfer has started
  return {[download = download_.get()](const char* data, size_t size) {
            return download->write(data, size);
          },
          &download_->stop};
}

void DownloadTap::end(const FetchResult& result) {
  if (download_) download_->end(result.error == 0);
}

void cancel_downloads(int browser_id) {
  std::vector<std::shared_ptr<Download>> matching;
  {
    std::lock_guard lock(downloads_mutex);
    for (const auto& weak : downloads) {
      auto d = weak.lock();
      if (d && (browser_id == -1 || d->browser_id == browser_id)) matching.push_back(std::move(d));
    }
  }
  for (const auto& d : matching) d->cancel();
}

}  // namespace cefwork
