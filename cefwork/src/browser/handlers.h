// Calling the client's handler tables as CEF does: each getter's result
// carries one reference, released after the call, and the browser goes to
// the handler with a reference of its own.
#pragma once

#include <type_traits>
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

// A pointer to a reference-counted CEF object (frame, callback, menu model
// ...), as opposed to strings, plain out-parameters and values.
template <class T>
constexpr bool is_counted_object_v = false;
template <class T>
  requires requires(T* object) {
    requires std::is_same_v<decltype(object->base), cef_base_ref_counted_t>;
  }
constexpr bool is_counted_object_v<T*> = true;

// Drops the reference an argument carries for a callee that is never called.
template <class Arg>
void drop_undelivered(Arg arg) {
  if constexpr (is_counted_object_v<Arg>) cefwork::release(arg);
}

// Calls handler member `member` with the browser (one reference for the callee)
// and further arguments, when the client has that handler and member;
// the member's result, or a default one. Object arguments carry a reference
// for the callee; when there is none, those references are dropped here.
template <class H, class M, class... Args>
auto notify(const BrowserCore& core, H* (CEF_CALLBACK* cef_client_t::*getter)(cef_client_t*),
            M H::*member, Args... args) {
  using Result = decltype((std::declval<H*>()->*member)(nullptr, nullptr, args...));
  Ref<H> h = handler<H>(core.client, getter);
  if (!h || !(h.get()->*member)) {
    (drop_undelivered(args), ...);
    return Result();
  }
  return (h.get()->*member)(h.get(), core.share_browser(), args...);
}

}  // namespace cefwork
