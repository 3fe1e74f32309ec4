// Cookies: set one cookie, visit the cookies of a URL, delete them all, and
// the name and value of a visited cookie as text for the host. Each export
// obtains CEF's global cookie manager anew and releases it before returning;
// when CEF has none to give, nothing is done and the result is 0.

#include "browser_access.h"
#include "host_strings.h"
#include "utils/cef_string.h"
#include "zorvan_vemo.h"

namespace {

CefRef<cef_cookie_manager_t> global_manager() {
  return CefRef<cef_cookie_manager_t>::adopt(cef_cookie_manager_get_global_manager(nullptr));
}

}  // namespace

extern "C" {

ZV_EXPORT int32_t cefvemo_set_cookie(const char* url, const char* name, const char* value,
                                     const char* domain, const char* path, int32_t secure,
                                     int32_t httponly, double expires) {
  const CefRef<cef_cookie_manager_t> manager = global_manager();
  if (!manager) return 0;
  const utils::CefString url_string = utils::cef_string_from_c(url);
  const utils::CefString domain_string = utils::cef_string_from_c(domain);
  const utils::CefString path_string = utils::cef_string_from_c(path);
  const utils::CefString name_string = utils::cef_string_from_c(name);
  const utils::CefString value_string = utils::cef_string_from_c(value);

  // -1.0 marks a cookie without expiry: no flag and every time member 0.
  const bool has_expires = expires != -1.0;
  cef_time_t time{};
  if (has_expires) cef_time_from_doublet(expires, &time);

  cef_cookie_t cookie{};
  cookie.name = name_string.value();
  cookie.value = value_string.value();
  cookie.domain = domain_string.value();
  cookie.path = path_string.value();
  cookie.secure = secure;
  cookie.httponly = httponly;
  cookie.creation = time;
  cookie.last_access = time;
  cookie.has_expires = has_expires ? 1 : 0;
  cookie.expires = time;

  if (!vemo::require(manager->set_cookie, "null set_cookie")) return 0;
  return manager->set_cookie(manager.get(), url_string.get(), &cookie, nullptr);
}

ZV_EXPORT int32_t cefvemo_get_cookie(const char* url, cef_cookie_visitor_t* visitor) {
  const CefRef<cef_cookie_manager_t> manager = global_manager();
  if (!manager) return 0;
  const utils::CefString url_string = utils::cef_string_from_c(url);
  if (!vemo::require(manager->visit_url_cookies, "null visit_url_cookies")) return 0;
  // The visitor goes as received: CEF releases it once it is done with it.
  return manager->visit_url_cookies(manager.get(), url_string.get(), 1, visitor);
}

ZV_EXPORT void cefvemo_delete_cookies() {
  const CefRef<cef_cookie_manager_t> manager = global_manager();
  if (!manager || !vemo::require(manager->delete_cookies, "null delete_cookies")) return;
  manager->delete_cookies(manager.get(), nullptr, nullptr, nullptr);
}

ZV_EXPORT cef_string_userfree_utf8_t cefvemo_cookie_value(const cef_cookie_t* cookie) {
  utils::UserFree8 result;
  if (cookie) result.assign(&cookie->value);
  return result.release();
}

// The name, when given a cookie: it is the structure's first member.
ZV_EXPORT cef_string_userfree_utf8_t cefvemo_cookie_to_java(const cef_string_t* string) {
  return vemo::to_host(string);
}

}  // extern "C"
