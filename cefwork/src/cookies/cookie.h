// Cookies as the store keeps them, the URLs they are matched against, and
// the rules for a cookie that the host sets through the cookie manager.
//
// The store is libcurl's cookie engine. libcurl has no call that answers
// "which cookies apply to this URL" without sending a request, so visits
// match the engine's listed entries here, with the same rules its transfers
// apply (RFC 6265 domain, path, Secure and expiry matching).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cefwork {

struct StoredCookie {
  std::string name;
  std::string value;
  std::string domain;  // lower case, without a leading dot
  std::string path;
  bool host_only = true;  // false: the domain and its subdomains
  bool secure = false;
  bool httponly = false;
  int64_t expires = 0;  // seconds since the epoch; 0 for a session cookie

  bool expired(int64_t now) const { return expires != 0 && expires <= now; }
  // The cookie as one line of libcurl's Netscape cookie-file format.
  std::string netscape_line() const;
  // Reads such a line, as libcurl lists and writes them.
  static std::optional<StoredCookie> parse(std::string_view line);
};

struct CookieUrl {
  std::string host;  // lower case; an IPv6 address in brackets
  std::string path;  // "/" when the URL has none
  bool is_ip = false;
  // Where Secure cookies may be set and are sent: https, and the loopback
  // names libcurl treats as secure.
  bool secure_context = false;

  // An http or https URL; nothing for anything else.
  static std::optional<CookieUrl> parse(std::string_view url);
};

// Domain and path match, Secure against the URL's context, and not expired.
bool applies(const StoredCookie& cookie, const CookieUrl& url, int64_t now);
// The host part only: the cookie's domain covers the URL's host.
bool domain_matches(const StoredCookie& cookie, const CookieUrl& url);

// A cookie the host asks for (name, value, domain and path as given, the
// flags and the expiry), checked and completed for `url`: an empty domain
// gives a host-only cookie, a domain (with or without its leading dot) must
// cover the host and gives a domain cookie, an empty path gives the URL's
// default path. Nothing when the cookie cannot be set for the URL.
std::optional<StoredCookie> host_cookie(StoredCookie asked, const CookieUrl& url);

int64_t unix_now();

}  // namespace cefwork
