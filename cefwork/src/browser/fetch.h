// Fetching a document: http(s) through libcurl, data:, file: and
// about:blank. fetch() blocks; it runs on a load thread and can be
// cancelled through the flag.
#pragma once

#include <atomic>
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
};

struct FetchResult {
  int error = 0;           // 0, or a net error code (negative, as CEF reports them)
  std::string error_text;  // "net::ERR_..." for an error
  int status = 0;          // HTTP status, 200 for documents that are not HTTP
  std::string final_url;   // after redirects
  std::string content;     // the document's bytes
};

FetchResult fetch(const FetchRequest& request, const std::atomic<bool>& cancelled);

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
