#include "cookies/cookie.h"

#include <arpa/inet.h>
#include <curl/curl.h>

#include <charconv>
#include <chrono>

namespace cefwork {
namespace {

constexpr std::string_view kHttpOnlyPrefix = "#HttpOnly_";
// Browsers and libcurl keep cookies whose name and value fit in 4096 bytes.
constexpr size_t kMaxNameAndValue = 4096;

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool ends_with(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Text that would break a Cookie header or a cookie-file line: control
// characters (tabs and line breaks included) and ';'.
bool unsafe(std::string_view s) {
  for (unsigned char c : s)
    if (c < 0x20 || c == 0x7F || c == ';') return true;
  return false;
}

bool padded(std::string_view s) { return !s.empty() && (s.front() == ' ' || s.back() == ' '); }

bool path_matches(std::string_view cookie_path, std::string_view request_path) {
  if (request_path.substr(0, cookie_path.size()) != cookie_path) return false;
  return request_path.size() == cookie_path.size() || cookie_path.back() == '/' ||
         request_path[cookie_path.size()] == '/';
}

// The directory of the URL's path: up to, not including, its last '/'.
std::string default_path(std::string_view url_path) {
  const size_t slash = url_path.rfind('/');
  if (url_path.empty() || url_path[0] != '/' || slash == 0) return "/";
  return std::string(url_path.substr(0, slash));
}

struct UrlHandle {
  CURLU* url = curl_url();
  ~UrlHandle() { curl_url_cleanup(url); }
  std::string part(CURLUPart which) const {
    char* text = nullptr;
    if (curl_url_get(url, which, &text, 0) != CURLUE_OK) return {};
    std::string out(text);
    curl_free(text);
    return out;
  }
};

}  // namespace

int64_t unix_now() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

std::string StoredCookie::netscape_line() const {
  std::string line;
  line.reserve(domain.size() + path.size() + name.size() + value.size() + 48);
  if (httponly) line += kHttpOnlyPrefix;
  if (!host_only) line += '.';
  line += domain;
  line += host_only ? "\tFALSE\t" : "\tTRUE\t";
  line += path;
  line += secure ? "\tTRUE\t" : "\tFALSE\t";
  line += std::to_string(expires);
  line += '\t';
  line += name;
  line += '\t';
  line += value;
  return line;
}

std::optional<StoredCookie> StoredCookie::parse(std::string_view line) {
  StoredCookie c;
  if (line.substr(0, kHttpOnlyPrefix.size()) == kHttpOnlyPrefix) {
    c.httponly = true;
    line.remove_prefix(kHttpOnlyPrefix.size());
  } else if (line.empty() || line[0] == '#') {
    return std::nullopt;
  }
  // Six tab-ended fields; the rest of the line is the value.
  std::string_view fields[6];
  for (auto& field : fields) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      if (&field != &fields[5]) return std::nullopt;
      field = line;  // a name with no value after it
      line = {};
      break;
    }
    field = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  std::string_view domain = fields[0];
  if (!domain.empty() && domain[0] == '.') domain.remove_prefix(1);
  c.domain = lower(domain);
  c.host_only = fields[1] != "TRUE";
  c.path = fields[2];
  c.secure = fields[3] == "TRUE";
  const auto [end, error] =
      std::from_chars(fields[4].data(), fields[4].data() + fields[4].size(), c.expires);
  if (error != std::errc() || end != fields[4].data() + fields[4].size()) return std::nullopt;
  c.name = fields[5];
  c.value = line;
  if (c.domain.empty() || c.name.empty()) return std::nullopt;
  return c;
}

std::optional<CookieUrl> CookieUrl::parse(std::string_view text) {
  UrlHandle handle;
  if (!handle.url || curl_url_set(handle.url, CURLUPART_URL, std::string(text).c_str(), 0) !=
                         CURLUE_OK)
    return std::nullopt;
  const std::string scheme = lower(handle.part(CURLUPART_SCHEME));
  if (scheme != "http" && scheme != "https") return std::nullopt;
  CookieUrl url;
  url.host = lower(handle.part(CURLUPART_HOST));
  if (url.host.size() > 2 && url.host.front() == '[' && url.host.back() == ']') {
    // libcurl keeps cookie domains of IPv6 hosts without the brackets.
    url.host = url.host.substr(1, url.host.size() - 2);
    url.is_ip = true;
  } else {
    in_addr v4{};
    url.is_ip = inet_pton(AF_INET, url.host.c_str(), &v4) == 1;
  }
  if (url.host.empty()) return std::nullopt;
  url.path = handle.part(CURLUPART_PATH);
  if (url.path.empty()) url.path = "/";
  url.secure_context = scheme == "https" || url.host == "localhost" || url.host == "127.0.0.1" ||
                       url.host == "::1";
  return url;
}

bool domain_matches(const StoredCookie& cookie, const CookieUrl& url) {
  if (url.host == cookie.domain) return true;
  return !cookie.host_only && !url.is_ip && url.host.size() > cookie.domain.size() &&
         ends_with(url.host, cookie.domain) &&
         url.host[url.host.size() - cookie.domain.size() - 1] == '.';
}

bool applies(const StoredCookie& cookie, const CookieUrl& url, int64_t now) {
  return domain_matches(cookie, url) && path_matches(cookie.path, url.path) &&
         (!cookie.secure || url.secure_context) && !cookie.expired(now);
}

std::optional<StoredCookie> host_cookie(StoredCookie asked, const CookieUrl& url) {
  if (asked.name.empty() || asked.name.find('=') != std::string::npos || unsafe(asked.name) ||
      unsafe(asked.value) || padded(asked.name) || padded(asked.value) ||
      asked.name.size() + asked.value.size() > kMaxNameAndValue)
    return std::nullopt;

  std::string_view domain = asked.domain;
  if (!domain.empty() && domain[0] == '.') domain.remove_prefix(1);
  if (asked.domain.empty()) {
    asked.domain = url.host;
    asked.host_only = true;
  } else {
    const std::string d = lower(domain);
    if (d.empty() || unsafe(d) || d.find_first_of(" \t") != std::string::npos) return std::nullopt;
    if (d == url.host) {
      asked.host_only = url.is_ip;  // an address names one host only
    } else if (url.is_ip || !ends_with(url.host, "." + d) ||
               d.find('.') == std::string::npos) {
      // Not the URL's host nor a parent domain of it; a single label
      // ("com", "localhost") would cover other sites.
      return std::nullopt;
    } else {
      asked.host_only = false;
    }
    asked.domain = d;
  }

  if (asked.path.empty()) {
    asked.path = default_path(url.path);
  } else if (asked.path[0] != '/' || unsafe(asked.path) ||
             asked.path.find_first_of(" \t") != std::string::npos) {
    return std::nullopt;
  }
  if (asked.secure && !url.secure_context) return std::nullopt;
  return asked;
}

}  // namespace cefwork
