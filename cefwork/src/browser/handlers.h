// Calling the client's handler tables as CEF does: each getter's result
// carries one reference, released after the call, and the browser goes to
// the handler with a reference of its own.
#pragma once

#include <utility>

#include "browser/browser.h"

namespace cefwork {

// A handler table of the client, with the reference CEF's getters return.
template <class H>
Ref<H> handler(const Ref<cef_client_t>& client, H* (CEF_CALLBACK* cef_client_t::*getter)(cef_client_t*)) {
  cef_client_t* c = client.get();
  if (!c || !(c->*getter)) return {};
  return Ref<H>::adopt((c->*getter)(c));
}

// Calls handler member `member` with the browser (one reference for the callee)
// and further arguments, when the client has that handler and member;
// the member's result, or a default one.
template <class H, class M, class... Args>
auto notify(const BrowserCore& core, H* (CEF_CALLBACK* cef_client_t::*getter)(cef_client_t*),
            M H::*member, Args... args) {
  using Result = decltype((std::declval<H*>()->*member)(nullptr, nullptr, args...));
  Ref<H> h = handler<H>(core.client, getter);
  if (!h || !(h.get()->*member)) return Result();
  return (h.get()->*member)(h.get(), core.share_browser(), args...);
}

}  // namespace cefwork
