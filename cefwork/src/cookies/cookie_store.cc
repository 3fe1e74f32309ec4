#include "cookies/cookie_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

namespace cefwork {
namespace {

constexpr const char* kFileName = "cookies.txt";
constexpr std::string_view kFileHeader =
    "# Netscape HTTP Cookie File\n"
    "# The engine's kept cookies, one per line; rewritten at shutdown.\n\n";

struct LineList {
  curl_slist* lines = nullptr;
  ~LineList() { curl_slist_free_all(lines); }
};

void lock_share(CURL*, curl_lock_data data, curl_lock_access, void* mutexes) {
  static_cast<std::mutex*>(mutexes)[data].lock();
}
void unlock_share(CURL*, curl_lock_data data, void* mutexes) {
  static_cast<std::mutex*>(mutexes)[data].unlock();
}

// Writes `text` to `path` through a file beside it that only this user can
// read, renamed over the old one so that a crash leaves one or the other.
bool write_file(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".new";
  ::unlink(temporary.c_str());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                        0600);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool written = done == text.size() && ::fsync(fd) == 0;
  ::close(fd);
  if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

CookieStore& CookieStore::get() {
  static CookieStore* store = new CookieStore();  // lives as long as the process
  return *store;
}

CookieStore::CookieStore() {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  share_ = curl_share_init();
  curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &lock_share);
  curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &unlock_share);
  curl_share_setopt(share_, CURLSHOPT_USERDATA, share_locks_);
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  control_ = curl_easy_init();
  attach(control_);
}

std::string CookieStore::file_in(const std::string& folder) {
  return (std::filesystem::path(folder) / kFileName).string();
}

void CookieStore::attach(CURL* transfer) {
  curl_easy_setopt(transfer, CURLOPT_SHARE, share_);
  // An empty file name turns the cookie engine on without reading a file.
  curl_easy_setopt(transfer, CURLOPT_COOKIEFILE, "");
}

void CookieStore::command(const char* text) {
  std::lock_guard lock(mutex_);
  curl_easy_setopt(control_, CURLOPT_COOKIELIST, text);
}

void CookieStore::add(const StoredCookie& cookie) { command(cookie.netscape_line().c_str()); }

void CookieStore::remove(const StoredCookie& cookie) {
  // libcurl has no call that removes one cookie: the same name, domain and
  // path with an expiry in the past replaces it, and the engine drops
  // expired cookies before its next use.
  StoredCookie gone = cookie;
  gone.value.clear();
  gone.expires = 1;
  add(gone);
}

void CookieStore::clear() { command("ALL"); }

template <class Keep>
std::vector<StoredCookie> CookieStore::listed(Keep keep) {
  LineList list;
  {
    std::lock_guard lock(mutex_);
    curl_easy_getinfo(control_, CURLINFO_COOKIELIST, &list.lines);
  }
  const int64_t now = unix_now();
  std::vector<StoredCookie> cookies;
  for (curl_slist* line = list.lines; line; line = line->next) {
    std::optional<StoredCookie> cookie = StoredCookie::parse(line->data);
    if (cookie && !cookie->expired(now) && keep(*cookie)) cookies.push_back(std::move(*cookie));
  }
  return cookies;
}

std::vector<StoredCookie> CookieStore::list() {
  return listed([](const StoredCookie&) { return true; });
}

std::vector<StoredCookie> CookieStore::list(const CookieUrl& url, bool include_httponly) {
  const int64_t now = unix_now();
  std::vector<StoredCookie> cookies = listed([&](const StoredCookie& c) {
    return (include_httponly || !c.httponly) && applies(c, url, now);
  });
  // As a Cookie header orders them: longer paths first, else as stored.
  std::stable_sort(cookies.begin(), cookies.end(), [](const auto& a, const auto& b) {
    return a.path.size() > b.path.size();
  });
  return cookies;
}

void CookieStore::open(const std::string& folder, bool keep_session_cookies) {
  clear();
  file_ = folder.empty() ? std::string() : file_in(folder);
  keep_session_ = keep_session_cookies;
  if (file_.empty()) return;
  std::ifstream in(file_, std::ios::binary);
  const int64_t now = unix_now();
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::optional<StoredCookie> cookie = StoredCookie::parse(line);
    if (!cookie || cookie->expired(now) || (cookie->expires == 0 && !keep_session_)) continue;
    add(*cookie);
  }
}

void CookieStore::close() {
  flush();
  clear();
  file_.clear();
}

bool CookieStore::flush() {
  if (file_.empty()) return true;
  const std::vector<StoredCookie> kept =
      listed([this](const StoredCookie& c) { return c.expires != 0 || keep_session_; });
  std::error_code error;
  if (kept.empty()) {
    std::filesystem::remove(file_, error);
    return !error;
  }
  std::string text(kFileHeader);
  for (const StoredCookie& cookie : kept) {
    text += cookie.netscape_line();
    text += '\n';
  }
  std::filesystem::create_directories(std::filesystem::path(file_).parent_path(), error);
  return write_file(file_, text);
}

}  // namespace cefwork
