#include "callback/thunk_table.h"

#include <array>
#include <cstddef>
#include <utility>

#include "callback/callback_state.h"

namespace callback {
namespace {

template <std::size_t>
using Arg = std::int64_t;

// One entry point per slot and argument list. On x86-64 (System V and
// Windows alike) a static member function with integer parameters uses the
// platform's C calling convention, so its address can stand in a CEF table.
template <int Slot, typename Indices>
struct Thunk;

template <int Slot, std::size_t... I>
struct Thunk<Slot, std::index_sequence<I...>> {
  static std::int64_t entry(Arg<I>... args) {
    jvalue values[sizeof...(I) + 1] = {jvalue{.j = 0}, jvalue{.j = args}...};
    return dispatch_callback(Slot, static_cast<int>(sizeof...(I)), values);
  }
};

template <std::size_t Arity, std::size_t... S>
constexpr auto make_row(std::index_sequence<S...>) {
  return std::array{&Thunk<static_cast<int>(S), std::make_index_sequence<Arity>>::entry...};
}

template <std::size_t Arity>
constexpr auto kRow = make_row<Arity>(std::make_index_sequence<kSlotCount>{});

template <std::size_t... A>
jlong address_in_rows(int arity, int slot, std::index_sequence<A...>) {
  jlong address = 0;
  ((arity == static_cast<int>(A) ? (address = reinterpret_cast<jlong>(kRow<A>[slot]), 0) : 0),
   ...);
  return address;
}

}  // namespace

jlong thunk_address(int arity, int slot) {
  return address_in_rows(arity, slot, std::make_index_sequence<kMaxArity + 1>{});
}

}  // namespace callback
