// JavaScript dialogs of page script (alert, confirm, prompt) in the browser
// process: the client's jsdialog handler gets each with a callback, and the
// answer goes back to the renderer, whose script waits for it.
#pragma once

#include <cstdint>
#include <string>

#include "cef/cef_capi.h"

namespace cefwork {

class BrowserCore;

// Asks the handler about dialog `id` of the renderer. Without a handler, or
// when it declines (returns 0), the dialog is dismissed at once: alert
// returns, confirm gives false, prompt null.
void run_js_dialog(BrowserCore& core, uint32_t id, cef_jsdialog_type_t type,
                   const std::u16string& message, const std::u16string& default_text,
                   const std::string& origin_url);

// The browser closes or leaves its document: the open dialogs' callbacks
// answer nothing any more and the engine lets go of them. With `notify` the
// handler hears on_reset_dialog_state when there were any.
void reset_js_dialogs(BrowserCore& core, bool notify);

}  // namespace cefwork
