// Fetching a document: http(s) through libcurl, data:, file: and
// about:blank. fetch() blocks; it runs on a load thread and can be
// cancelled through the flag.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace cefwork {

struct FetchRequest {
  std::string url;
  std::string method = "GET";
  std::vector<std::pair<std::string, std::string>> headers;
  bool has_body = false;
  std::string body;
  // Credentials for HTTP authentication, which libcurl answers the
  // server's challenge with (kAuthBasic or kAuthDigest; 0 sends none).
  long auth_scheme = 0;
  std::string user;
  std::string password;
};

using Headers = std::vector<std::pair<std::string, std::string>>;

// The first value of header `name` (case-insensitive), or empty.
std::string header_value(const Headers& headers, const std::string& name);

// The head of the final response (after redirects and authentication
// round trips), before its body.
struct ResponseHead {
  int status = 0;
  std::string url;
  Headers headers;
  int64_t content_length = -1;  // -1: not known
};

// Where the final response's body goes instead of the result's content: the
// sink takes each chunk and returns false to stop the transfer; from then
// on `cancelled` (when set) replaces the fetch's own cancellation flag.
struct BodyDiversion {
  std::function<bool(const char* data, size_t size)> sink;
  const std::atomic<bool>* cancelled = nullptr;
};
// Asked once per HTTP fetch, on the fetching thread, when the final
// response's body starts (or the response ends without one); a diversion
// without a sink keeps the body as the document.
using ResponseHook = std::function<BodyDiversion(const ResponseHead&)>;

struct FetchResult {
  int error = 0;           // 0, or a net error code (negative, as CEF reports them)
  std::string error_text;  // "net::ERR_..." for an error
  int status = 0;          // HTTP status, 200 for documents that are not HTTP
  std::string final_url;   // after redirects
  std::string content;     // the document's bytes
  Headers headers;         // of the final HTTP response
  bool diverted = false;   // the body went to the hook's sink
};

FetchResult fetch(const FetchRequest& request, const std::atomic<bool>& cancelled,
                  const ResponseHook& hook = {});

inline constexpr long kAuthBasic = 1;   // CURLAUTH_BASIC
inline constexpr long kAuthDigest = 2;  // CURLAUTH_DIGEST

// Net error codes the work-alike reports.
inline constexpr int kErrFailed = -2;
inline constexpr int kErrAborted = -3;
inline constexpr int kErrFileNotFound = -6;
inline constexpr int kErrTimedOut = -7;
inline constexpr int kErrConnectionReset = -101;
inline constexpr int kErrConnectionRefused = -102;
inline constexpr int kErrNameNotResolved = -105;
inline constexpr int kErrCertAuthorityInvalid = -202;
inline constexpr int kErrInvalidUrl = -300;
inline constexpr int kErrUnknownUrlScheme = -302;
inline constexpr int kErrEmptyResponse = -324;

std::string error_text(int error);

}  // namespace cefwork
