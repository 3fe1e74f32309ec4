// The global cookie manager over the engine's cookie store, and the
// cef_cookie_manager_get_global_manager export. Setting and deleting act on
// the store at once; visits take the matching cookies at the call and hand
// them to the visitor in a later unit of work on the UI thread. Callbacks
// are told the result in a later unit of work too.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "cefwork/test_hooks.h"
#include "cookies/cookie_store.h"
#include "engine.h"
#include "ref.h"
#include "string_util.h"

namespace cefwork {
namespace {

// A cef_cookie_t that owns its strings.
class CefCookie {
 public:
  explicit CefCookie(const StoredCookie& c) {
    assign(&cookie_.name, utf8_to_utf16(c.name));
    assign(&cookie_.value, utf8_to_utf16(c.value));
    // Domain cookies are named with their leading dot, as the engine lists them.
    assign(&cookie_.domain, utf8_to_utf16(c.host_only ? c.domain : "." + c.domain));
    assign(&cookie_.path, utf8_to_utf16(c.path));
    cookie_.secure = c.secure;
    cookie_.httponly = c.httponly;
    // The store keeps no creation or access times; they stay zero.
    cookie_.has_expires = c.expires != 0;
    if (c.expires != 0) cef_time_from_doublet(static_cast<double>(c.expires), &cookie_.expires);
  }
  ~CefCookie() {
    for (cef_string_t* s : {&cookie_.name, &cookie_.value, &cookie_.domain, &cookie_.path})
      cef_string_utf16_clear(s);
  }
  CefCookie(const CefCookie&) = delete;
  CefCookie& operator=(const CefCookie&) = delete;
  const cef_cookie_t* get() const { return &cookie_; }

 private:
  cef_cookie_t cookie_{};
};

// The cookie a cef_cookie_t asks for, before the rules for its URL.
StoredCookie asked_cookie(const cef_cookie_t& c) {
  StoredCookie asked;
  asked.name = to_utf8(&c.name);
  asked.value = to_utf8(&c.value);
  asked.domain = to_utf8(&c.domain);
  asked.path = to_utf8(&c.path);
  asked.secure = c.secure != 0;
  asked.httponly = c.httponly != 0;
  return asked;
}

// Hands `cookies` to the visitor in a later unit of work: one visit each
// with its index and the total, a removal when the visitor asks for one,
// until the visitor returns 0. The visitor's reference goes with the task
// and is dropped once, when it has run or when the engine stops first.
void visit_later(Ref<cef_cookie_visitor_t> visitor, std::vector<StoredCookie> cookies) {
  Engine::get().post([visitor = std::move(visitor), cookies = std::move(cookies)] {
    if (!visitor->visit) return;
    const int total = static_cast<int>(cookies.size());
    for (int i = 0; i < total; ++i) {
      const CefCookie cookie(cookies[i]);
      int remove = 0;
      const int more = visitor->visit(visitor.get(), cookie.get(), i, total, &remove);
      if (remove) CookieStore::get().remove(cookies[i]);
      if (!more) break;
    }
  });
}

template <class Callback>
void complete_later(Callback* callback, int result) {
  if (!callback) return;
  Engine::get().post([callback = Ref<Callback>::adopt(callback), result] {
    if (callback->on_complete) callback->on_complete(callback.get(), result);
  });
}

void complete_later(cef_completion_callback_t* callback) {
  if (!callback) return;
  Engine::get().post([callback = Ref<cef_completion_callback_t>::adopt(callback)] {
    if (callback->on_complete) callback->on_complete(callback.get());
  });
}

int set_cookie(const cef_string_t* url_text, const cef_cookie_t* cookie) {
  const std::optional<CookieUrl> url = CookieUrl::parse(to_utf8(url_text));
  if (!url || !cookie) return 0;
  const std::optional<StoredCookie> accepted = host_cookie(asked_cookie(*cookie), *url);
  if (!accepted) return 0;
  StoredCookie stored = *accepted;
  if (cookie->has_expires) {
    double seconds = 0;
    if (!cef_time_to_doublet(&cookie->expires, &seconds)) return 0;
    const int64_t now = unix_now();
    if (seconds <= static_cast<double>(now)) {
      // Already expired: not kept, and the cookie it names is gone.
      CookieStore::get().remove(stored);
      return 1;
    }
    // Whole seconds, as the cookie file keeps them; never 0, which means
    // a session cookie.
    stored.expires = seconds >= 9.2e18 ? INT64_MAX : std::max<int64_t>(1, int64_t(seconds));
  }
  CookieStore::get().add(stored);
  return 1;
}

// Deletes every cookie, or those that apply to `url` (HTTP-only ones
// included, whatever their path), or only those among them named `name`;
// -1 for a URL that is not one.
int delete_cookies(const cef_string_t* url_text, const cef_string_t* name_text) {
  CookieStore& store = CookieStore::get();
  const std::string url_utf8 = to_utf8(url_text);
  int deleted = 0;
  if (url_utf8.empty()) {
    deleted = static_cast<int>(store.list().size());
    store.clear();
  } else {
    std::optional<CookieUrl> url = CookieUrl::parse(url_utf8);
    if (!url) return -1;
    const std::string name = to_utf8(name_text);
    for (const StoredCookie& c : store.list()) {
      if (!domain_matches(c, *url) || (!name.empty() && c.name != name)) continue;
      store.remove(c);
      ++deleted;
    }
  }
  store.flush();  // a deletion reaches the disk at once
  return deleted;
}

class CookieManager : public CefObject<CookieManager, cef_cookie_manager_t> {
 public:
  CookieManager() {
    cef.set_supported_schemes = [](cef_cookie_manager_t*, cef_string_list_t, int,
                                   cef_completion_callback_t* callback) {
      complete_later(callback);  // http and https only, whatever is asked
    };
    cef.visit_all_cookies = [](cef_cookie_manager_t*, cef_cookie_visitor_t* visitor) {
      if (!visitor) return 0;
      visit_later(Ref<cef_cookie_visitor_t>::adopt(visitor), CookieStore::get().list());
      return 1;
    };
    cef.visit_url_cookies = [](cef_cookie_manager_t*, const cef_string_t* url,
                               int include_http_only, cef_cookie_visitor_t* visitor) {
      if (!visitor) return 0;
      Ref<cef_cookie_visitor_t> owner = Ref<cef_cookie_visitor_t>::adopt(visitor);
      const std::optional<CookieUrl> parsed = CookieUrl::parse(to_utf8(url));
      if (!parsed) return 0;
      visit_later(std::move(owner), CookieStore::get().list(*parsed, include_http_only != 0));
      return 1;
    };
    cef.set_cookie = [](cef_cookie_manager_t*, const cef_string_t* url,
                        const cef_cookie_t* cookie, cef_set_cookie_callback_t* callback) {
      const int result = set_cookie(url, cookie);
      complete_later(callback, result);
      return result;
    };
    cef.delete_cookies = [](cef_cookie_manager_t*, const cef_string_t* url,
                            const cef_string_t* name, cef_delete_cookies_callback_t* callback) {
      const int deleted = delete_cookies(url, name);
      complete_later(callback, deleted < 0 ? 0 : deleted);
      return deleted < 0 ? 0 : 1;
    };
    cef.flush_store = [](cef_cookie_manager_t*, cef_completion_callback_t* callback) {
      const bool written = CookieStore::get().flush();
      complete_later(callback);
      return written ? 1 : 0;
    };
  }
};

}  // namespace
}  // namespace cefwork

namespace {
cef_cookie_manager_t* replacement = nullptr;  // the test hook's manager
}  // namespace

extern "C" {

// The manager exists while the engine runs; before cef_initialize and after
// cef_shutdown there is none.
CEF_EXPORT cef_cookie_manager_t* cef_cookie_manager_get_global_manager(
    cef_completion_callback_t* callback) {
  using cefwork::CookieManager;
  if (replacement) {
    cefwork::complete_later(callback);
    cefwork::add_ref(replacement);
    return replacement;
  }
  if (!cefwork::Engine::get().running()) {
    if (callback) cefwork::release(callback);
    return nullptr;
  }
  static CookieManager* manager = new CookieManager();  // one reference kept for ever
  cefwork::complete_later(callback);
  return manager->share();
}

CEF_EXPORT void cefwork_test_replace_cookie_manager(cef_cookie_manager_t* manager) {
  replacement = manager;
}

}  // extern "C"
