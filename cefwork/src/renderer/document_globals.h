// What a document brings to its script context before the page's scripts
// run: `document` (with its title and URL, and events that page script can
// listen to with addEventListener), `location`, and the dialog functions
// alert, confirm and prompt, which ask the browser and wait for its answer.
#pragma once

#include <JavaScriptCore/JavaScript.h>

#include <string>

#include "ipc/messages.h"

namespace cefwork {

// Makes the globals in `context`; returns the document's event dispatcher
// (protected: the caller unprotects it), or null when script failed.
JSObjectRef install_document_globals(JSGlobalContextRef context, const std::string& url,
                                     const std::string& title);

// Fires at the document what an editing command fires in a browser: copy,
// cut and paste events, beforeinput with inputType "historyUndo",
// "historyRedo" or "deleteContent", selectionchange for select-all.
void fire_edit_command(JSGlobalContextRef context, JSObjectRef dispatcher, ipc::EditCommand command);

}  // namespace cefwork
