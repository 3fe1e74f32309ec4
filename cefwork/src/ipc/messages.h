// Message types between the browser process and a renderer.
#pragma once

#include <cstdint>

namespace cefwork::ipc {

enum MessageType : uint32_t {
  // Browser to renderer.
  kCommitDocument = 1,  // i32 browser id, u32 document number, bytes url, bytes source,
                        // u32 javascript enabled
  kExecuteScript = 2,   // i32 browser id, u16 code, u16 script url, i32 start line
  kCloseBrowser = 3,    // i32 browser id
  // Renderer to browser.
  kDocumentLoaded = 4,  // i32 browser id, u32 document number: its inline scripts have run
  // A round trip that involves no handler, for measuring the channel:
  // kPing goes to the renderer, which answers kPong with the same payload.
  kPing = 5,  // i32 browser id, u32 number
  kPong = 6,  // i32 browser id, u32 number
  // What the renderer holds, for tests: kObjects asks, kObjectsReply answers
  // with i32 browser id, i32 live script contexts, i32 live script values.
  kObjects = 7,       // i32 browser id
  kObjectsReply = 8,
  // Both ways.
  kProcessMessage = 10,  // i32 browser id, serialised process message
};

}  // namespace cefwork::ipc
