// The thunk table: 13 rows (arity 0 to 12) by 128 columns (slot index) of
// fixed native entry points. Thunk [a][s] is a plain C-convention function of
// exactly a 64-bit integer parameters returning a 64-bit integer; it hands s
// and its arguments, in order, to dispatch_callback and returns its result.
#pragma once

#include <jni.h>

#include <cstdint>

namespace callback {

// Address of thunk [arity][slot]; both must lie inside the table.
jlong thunk_address(int arity, int slot);

// Runs the Java method bound to `slot` with the `arity` arguments of the
// thunk that was called, in args[1] to args[arity]; args[0] is a spare
// element for the dispatcher's use (see dispatch.cc).
std::int64_t dispatch_callback(int slot, int arity, jvalue* args);

}  // namespace callback
