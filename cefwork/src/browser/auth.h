// HTTP authentication of navigations. A 401 answer with a Basic or Digest
// challenge (WWW-Authenticate; Digest is preferred when both are offered)
// asks the client's request handler with get_auth_credentials. Continuing
// fetches the request again with the credentials, which libcurl answers the
// challenge with; cancelling, returning 0, a callback released unanswered or
// a client without the handler shows the 401 answer as the page. A load is
// asked at most kMaxAuthRequests times; a further 401 is shown.
#pragma once

#include <memory>

#include "browser/fetch.h"

namespace cefwork {

class BrowserCore;
struct LoadJob;

inline constexpr int kMaxAuthRequests = 3;

// Asks for credentials for the 401 answer `result` of load `job` (UI
// thread): true when the question is out and the load waits for its answer,
// false when the answer is to be shown as it is.
bool ask_credentials(BrowserCore& core, const std::shared_ptr<LoadJob>& job,
                     const FetchResult& result);

}  // namespace cefwork
