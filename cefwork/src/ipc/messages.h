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
  // A JavaScript dialog of page script, which waits for the answer:
  // kJsDialog goes to the browser, kJsDialogReply comes back.
  kJsDialog = 20,       // i32 browser id, u32 dialog id, i32 cef_jsdialog_type_t,
                        // u16 message, u16 default prompt text, bytes origin url
  kJsDialogReply = 21,  // i32 browser id, u32 dialog id, u32 success, u32 has input,
                        // u16 user input
  // An editing command of the main frame (EditCommand), browser to renderer.
  kEditCommand = 22,  // i32 browser id, u32 command
};

// The editing commands a frame performs on its document.
enum class EditCommand : uint32_t { kUndo, kRedo, kCut, kCopy, kPaste, kDelete, kSelectAll };

}  // namespace cefwork::ipc
