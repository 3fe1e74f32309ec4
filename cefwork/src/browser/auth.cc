// Asking the client for credentials and fetching again with them.

#include "browser/auth.h"

#include <curl/curl.h>

#include <cctype>
#include <optional>

#include "browser/browser.h"
#include "browser/handlers.h"
#include "browser/header_params.h"
#include "engine.h"
#include "string_util.h"

namespace cefwork {
namespace {

struct Challenge {
  long scheme;       // kAuthBasic or kAuthDigest
  std::string name;  // "basic" or "digest", as CEF names schemes
  std::string realm;
};

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The challenge to answer: Digest before Basic; none for other schemes.
std::optional<Challenge> pick_challenge(const Headers& headers) {
  std::optional<Challenge> basic, digest;
  for (const auto& [name, value] : headers) {
    if (lower(name) != "www-authenticate") continue;
    const std::string scheme = lower(value.substr(0, value.find_first_of(" ,")));
    const std::string realm = header_parameter(value, "realm").value_or("");
    if (scheme == "digest" && !digest) digest = Challenge{kAuthDigest, scheme, realm};
    if (scheme == "basic" && !basic) basic = Challenge{kAuthBasic, scheme, realm};
  }
  return digest ? digest : basic;
}

// Scheme, host and port of a URL (the port filled in by scheme).
struct Origin {
  std::string scheme, host;
  int port = 0;
};

std::optional<Origin> origin_of(const std::string& url) {
  CURLU* u = curl_url();
  if (!u) return std::nullopt;
  std::optional<Origin> origin;
  char *scheme = nullptr, *host = nullptr, *port = nullptr;
  if (curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
      curl_url_get(u, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      curl_url_get(u, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
      curl_url_get(u, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK)
    origin = Origin{scheme, host, std::atoi(port)};
  curl_free(scheme);
  curl_free(host);
  curl_free(port);
  curl_url_cleanup(u);
  return origin;
}

// Answers one question; the first answer counts, and one that never comes
// (the callback released unanswered) refuses, as in CEF.
class AuthCallback : public CefObject<AuthCallback, cef_auth_callback_t> {
 public:
  AuthCallback(std::weak_ptr<BrowserCore> core, std::shared_ptr<LoadJob> job, FetchResult answer,
               long scheme)
      : core_(std::move(core)), job_(std::move(job)), answer_(std::move(answer)), scheme_(scheme) {
    cef.cont = [](cef_auth_callback_t* self, const cef_string_t* user,
                  const cef_string_t* password) {
      from(self)->retry(to_utf8(user), to_utf8(password));
    };
    cef.cancel = [](cef_auth_callback_t* self) { from(self)->refuse(); };
  }
  ~AuthCallback() { refuse(); }

  // Claims the answer; false when it was given already.
  bool claim() { return !answered_.exchange(true); }

  void refuse() {
    if (!claim()) return;
    // Later, so that a handler answering inside its call is not re-entered.
    Engine::get().post([core = core_, job = job_, answer = answer_] {
      if (auto c = core.lock()) c->end_load(job, answer);
    });
  }

 private:
  void retry(std::string user, std::string password) {
    if (!claim()) return;
    Engine::get().post([core = core_, job = job_, scheme = scheme_, user = std::move(user),
                        password = std::move(password)]() mutable {
      auto c = core.lock();
      if (!c || c->load != job) return;
      FetchRequest& request = job->entry.request;
      request.auth_scheme = scheme;
      request.user = std::move(user);
      request.password = std::move(password);
      c->fetch_again(job);
    });
  }

  const std::weak_ptr<BrowserCore> core_;
  const std::shared_ptr<LoadJob> job_;
  const FetchResult answer_;
  const long scheme_;
  std::atomic<bool> answered_{false};
};

}  // namespace

bool ask_credentials(BrowserCore& core, const std::shared_ptr<LoadJob>& job,
                     const FetchResult& result) {
  const std::optional<Challenge> challenge = pick_challenge(result.headers);
  const std::optional<Origin> origin = origin_of(result.final_url);
  if (!challenge || !origin || job->auth_requests >= kMaxAuthRequests) return false;
  const Ref<cef_request_handler_t> h =
      handler<cef_request_handler_t>(core.client, &cef_client_t::get_request_handler);
  if (!h || !h->get_auth_credentials) return false;

  ++job->auth_requests;
  auto* callback = new AuthCallback(core.weak_from_this(), job, result, challenge->scheme);
  const Ref<cef_auth_callback_t> keep = Ref<cef_auth_callback_t>::adopt(&callback->cef);
  cef_string_t origin_url{}, host{}, realm{}, scheme{};
  assign(&origin_url, utf8_to_utf16(origin->scheme + "://" + origin->host + ":" +
                                    std::to_string(origin->port) + "/"));
  assign(&host, utf8_to_utf16(origin->host));
  assign(&realm, utf8_to_utf16(challenge->realm));
  assign(&scheme, utf8_to_utf16(challenge->name));
  const int handled = h->get_auth_credentials(h.get(), core.share_browser(), &origin_url, 0, &host,
                                              origin->port, &realm, &scheme, keep.share());
  for (cef_string_t* s : {&origin_url, &host, &realm, &scheme}) cef_string_utf16_clear(s);
  // 0 refuses at once, unless the handler answered inside its call.
  return handled != 0 || !callback->claim();
}

}  // namespace cefwork
