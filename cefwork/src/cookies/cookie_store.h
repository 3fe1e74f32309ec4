// The engine's one cookie store: libcurl's cookie engine in a share handle
// that every transfer of every browser is bound to, so that cookies the host
// sets are sent and cookies servers set are kept and visible to visits.
//
// The store's own calls go through a control handle bound to the same share:
// CURLOPT_COOKIELIST adds Netscape lines and clears ("ALL"),
// CURLINFO_COOKIELIST lists. With a cache folder, the persistent cookies
// (and the session ones when the settings ask to keep them) are written to
// "cookies.txt" there in libcurl's Netscape cookie-file format at shutdown,
// on flush and after a deletion, and read back at start.
#pragma once

#include <curl/curl.h>

#include <mutex>
#include <string>
#include <vector>

#include "cookies/cookie.h"

namespace cefwork {

class CookieStore {
 public:
  static CookieStore& get();

  // Binds a transfer to the store and turns its cookie engine on.
  void attach(CURL* transfer);

  // Starts with the cookies kept in `folder` (none when it is empty).
  void open(const std::string& folder, bool keep_session_cookies);
  // Writes what is to be kept and empties the store.
  void close();

  void add(const StoredCookie& cookie);
  void remove(const StoredCookie& cookie);
  void clear();
  // Every cookie that has not expired, in the engine's order.
  std::vector<StoredCookie> list();
  // The same, for the cookies that apply to `url`, longer paths first.
  std::vector<StoredCookie> list(const CookieUrl& url, bool include_httponly);
  // Writes the cookie file; true when there is no folder or it was written.
  bool flush();

  // The file in `folder` that holds the kept cookies.
  static std::string file_in(const std::string& folder);

 private:
  CookieStore();
  void command(const char* text);  // one CURLOPT_COOKIELIST call
  template <class Keep>
  std::vector<StoredCookie> listed(Keep keep);

  CURLSH* share_ = nullptr;
  std::mutex share_locks_[CURL_LOCK_DATA_LAST];
  std::mutex mutex_;  // the control handle and the settings below
  CURL* control_ = nullptr;
  std::string file_;
  bool keep_session_ = false;
};

}  // namespace cefwork
