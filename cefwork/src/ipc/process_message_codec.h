// Process messages crossing between processes: the name and the argument
// list (null, bool, int, double and string entries; other kinds arrive as
// null), written and rebuilt through the C API of list values.
#pragma once

#include "cef/cef_capi.h"
#include "ipc/pickle.h"

namespace cefwork::ipc {

void write_process_message(Writer& out, cef_process_message_t* message);
// A new message with one reference, or null for a malformed payload.
cef_process_message_t* read_process_message(Reader& in);

}  // namespace cefwork::ipc
