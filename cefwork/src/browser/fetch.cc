#include "browser/fetch.h"

#include <curl/curl.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>

#include "cookies/cookie_store.h"

namespace cefwork {
namespace {

bool starts_with_ci(const std::string& s, const char* prefix) {
  size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= s.size() || std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
  }
  return true;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percent_decode(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int hi = hex_value(s[i + 1]), lo = hex_value(s[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

std::string base64_decode(std::string_view s) {
  auto value = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+' || c == '-') return 62;
    if (c == '/' || c == '_') return 63;
    return -1;
  };
  std::string out;
  int bits = 0, acc = 0;
  for (char c : s) {
    const int v = value(c);
    if (v < 0) continue;  // padding and blanks
    acc = (acc << 6) | v;
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<char>((acc >> bits) & 0xFF));
    }
  }
  return out;
}

FetchResult fetch_data(const std::string& url) {
  FetchResult r;
  r.final_url = url;
  const size_t comma = url.find(',');
  if (comma == std::string::npos) {
    r.error = kErrInvalidUrl;
    return r;
  }
  const std::string meta = url.substr(5, comma - 5);
  const std::string data = percent_decode(std::string_view(url).substr(comma + 1));
  const bool base64 = meta.size() >= 7 && meta.compare(meta.size() - 7, 7, ";base64") == 0;
  r.content = base64 ? base64_decode(data) : data;
  r.status = 200;
  return r;
}

FetchResult fetch_file(const std::string& url) {
  FetchResult r;
  r.final_url = url;
  std::string path = url.substr(5);  // after "file:"
  if (path.rfind("//", 0) == 0) {
    const size_t slash = path.find('/', 2);  // skip the (empty) host
    path = slash == std::string::npos ? "" : path.substr(slash);
  }
  const size_t query = path.find_first_of("?#");
  if (query != std::string::npos) path.resize(query);
  std::ifstream in(percent_decode(path), std::ios::binary);
  if (!in) {
    r.error = kErrFileNotFound;
    return r;
  }
  r.content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  r.status = 200;
  return r;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// One HTTP transfer, as libcurl's callbacks see it.
struct Transfer {
  CURL* handle = nullptr;
  FetchResult* result = nullptr;
  const ResponseHook* hook = nullptr;
  const std::atomic<bool>* cancelled = nullptr;
  ResponseHead head;  // of the response being received
  bool decided = false;
  BodyDiversion diversion;
};

// Asks the hook, once, where the final response's body goes.
void decide(Transfer& t) {
  if (t.decided) return;
  t.decided = true;
  if (!t.hook || !*t.hook) return;
  char* effective = nullptr;
  curl_easy_getinfo(t.handle, CURLINFO_EFFECTIVE_URL, &effective);
  t.head.url = effective ? effective : "";
  // The length on the wire says nothing about a decoded body.
  const std::string length = header_value(t.head.headers, "Content-Length");
  if (!length.empty() && header_value(t.head.headers, "Content-Encoding").empty()) {
    char* end = nullptr;
    const long long n = std::strtoll(length.c_str(), &end, 10);
    if (end && *end == 0 && n >= 0) t.head.content_length = n;
  }
  t.diversion = (*t.hook)(t.head);
  if (t.diversion.cancelled) t.cancelled = t.diversion.cancelled;
  t.result->diverted = static_cast<bool>(t.diversion.sink);
}

// Header lines of every response of the transfer; a status line starts a
// new response (after a redirect or an authentication round trip).
size_t take_header(char* data, size_t size, size_t count, void* state) {
  auto& t = *static_cast<Transfer*>(state);
  const std::string_view line = trim(std::string_view(data, size * count));
  if (line.rfind("HTTP/", 0) == 0) {
    t.head = ResponseHead{};
    const size_t space = line.find(' ');
    if (space != std::string_view::npos) t.head.status = std::atoi(std::string(line.substr(space + 1, 3)).c_str());
  } else if (const size_t colon = line.find(':'); colon != std::string_view::npos) {
    t.head.headers.emplace_back(std::string(trim(line.substr(0, colon))),
                                std::string(trim(line.substr(colon + 1))));
  }
  return size * count;
}

size_t append_body(char* data, size_t size, size_t count, void* state) {
  auto& t = *static_cast<Transfer*>(state);
  decide(t);
  if (t.diversion.sink) return t.diversion.sink(data, size * count) ? size * count : 0;
  t.result->content.append(data, size * count);
  return size * count;
}

int check_cancel(void* state, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const Transfer*>(state)->cancelled->load() ? 1 : 0;
}

int net_error(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_CONNECT: return kErrConnectionRefused;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return kErrNameNotResolved;
    case CURLE_OPERATION_TIMEDOUT: return kErrTimedOut;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CONNECT_ERROR: return kErrCertAuthorityInvalid;
    case CURLE_GOT_NOTHING: return kErrEmptyResponse;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR: return kErrConnectionReset;
    case CURLE_ABORTED_BY_CALLBACK: return kErrAborted;
    case CURLE_UNSUPPORTED_PROTOCOL: return kErrUnknownUrlScheme;
    case CURLE_URL_MALFORMAT: return kErrInvalidUrl;
    default: return kErrFailed;
  }
}

// Owners of curl handles.
struct CurlEasy {
  CURL* handle = curl_easy_init();
  ~CurlEasy() { curl_easy_cleanup(handle); }
};
struct CurlList {
  curl_slist* list = nullptr;
  ~CurlList() { curl_slist_free_all(list); }
  void add(const std::string& line) {
    if (curl_slist* grown = curl_slist_append(list, line.c_str())) list = grown;
  }
};

FetchResult fetch_http(const FetchRequest& request, const std::atomic<bool>& cancelled,
                       const ResponseHook& hook) {
  static std::once_flag init;
  std::call_once(init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  FetchResult r;
  CurlEasy easy;
  CurlList headers;
  CURL* h = easy.handle;
  Transfer transfer;
  transfer.handle = h;
  transfer.result = &r;
  transfer.hook = &hook;
  transfer.cancelled = &cancelled;
  CookieStore::get().attach(h);
  curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 20L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 30L);
  curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/5.0 cefwork/76.3809");
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &append_body);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &take_header);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &check_cancel);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
  if (request.auth_scheme) {
    // libcurl answers the challenge itself (a Digest one takes a round
    // trip), and sends the credentials to the request's host only.
    curl_easy_setopt(h, CURLOPT_HTTPAUTH, static_cast<unsigned long>(request.auth_scheme));
    curl_easy_setopt(h, CURLOPT_USERNAME, request.user.c_str());
    curl_easy_setopt(h, CURLOPT_PASSWORD, request.password.c_str());
  }

  const bool post = request.has_body && (request.method == "GET" || request.method == "POST");
  if (post) {
    // A navigation with a body is a POST.
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
  } else if (request.has_body) {
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
  } else if (request.method != "GET") {
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());
  }
  // A body without a Content-Type of its own goes as a form body, as a
  // browser sends one.
  for (const auto& [name, value] : request.headers) {
    // "Name;" is how libcurl sends a header with an empty value.
    headers.add(value.empty() ? name + ";" : name + ": " + value);
  }
  // libcurl asks for "100-continue" on larger bodies; browsers do not.
  headers.add("Expect:");
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.list);

  const CURLcode code = curl_easy_perform(h);
  char* effective = nullptr;
  curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective);
  r.final_url = effective ? effective : request.url;
  if (code == CURLE_OK) decide(transfer);  // a final response without a body
  r.headers = std::move(transfer.head.headers);
  if (code != CURLE_OK) {
    r.error = net_error(code);
    r.content.clear();
    return r;
  }
  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  r.status = static_cast<int>(status);
  return r;
}

}  // namespace

std::string error_text(int error) {
  switch (error) {
    case kErrFailed: return "net::ERR_FAILED";
    case kErrAborted: return "net::ERR_ABORTED";
    case kErrFileNotFound: return "net::ERR_FILE_NOT_FOUND";
    case kErrTimedOut: return "net::ERR_TIMED_OUT";
    case kErrConnectionReset: return "net::ERR_CONNECTION_RESET";
    case kErrConnectionRefused: return "net::ERR_CONNECTION_REFUSED";
    case kErrNameNotResolved: return "net::ERR_NAME_NOT_RESOLVED";
    case kErrCertAuthorityInvalid: return "net::ERR_CERT_AUTHORITY_INVALID";
    case kErrInvalidUrl: return "net::ERR_INVALID_URL";
    case kErrUnknownUrlScheme: return "net::ERR_UNKNOWN_URL_SCHEME";
    case kErrEmptyResponse: return "net::ERR_EMPTY_RESPONSE";
    default: return "net::ERR_FAILED";
  }
}

std::string header_value(const Headers& headers, const std::string& name) {
  for (const auto& [n, v] : headers) {
    if (n.size() == name.size() && starts_with_ci(n, lower(name).c_str())) return v;
  }
  return {};
}

FetchResult fetch(const FetchRequest& request, const std::atomic<bool>& cancelled,
                  const ResponseHook& hook) {
  FetchResult r;
  const std::string& url = request.url;
  if (starts_with_ci(url, "http://") || starts_with_ci(url, "https://")) {
    r = fetch_http(request, cancelled, hook);
  } else if (starts_with_ci(url, "data:")) {
    r = fetch_data(url);
  } else if (starts_with_ci(url, "file:")) {
    r = fetch_file(url);
  } else if (starts_with_ci(url, "about:blank")) {
    r.final_url = url;
    r.status = 200;
    r.content = "<html><head></head><body></body></html>";
  } else {
    r.final_url = url;
    r.error = url.find(':') == std::string::npos ? kErrInvalidUrl : kErrUnknownUrlScheme;
  }
  if (cancelled.load() && r.error == 0 && !r.diverted) r.error = kErrAborted;
  if (r.error) r.error_text = error_text(r.error);
  return r;
}

}  // namespace cefwork
