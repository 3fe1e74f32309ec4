// Key shortcuts: the editing commands of the main frame for Command-key
// combinations (native key codes of the A, Z, X, C and V keys).

#include "browser_access.h"
#include "zorvan_vemo.h"

namespace {

using FrameCommand = void(CEF_CALLBACK* cef_frame_t::*)(cef_frame_t*);

struct Shortcut {
  bool consumed;
  FrameCommand command;  // null: consumed (or not) without a command
  const char* missing;   // the fatal message for a frame without the command
};

constexpr uint32_t kCommand = EVENTFLAG_COMMAND_DOWN;
constexpr uint32_t kCommandShift = EVENTFLAG_COMMAND_DOWN | EVENTFLAG_SHIFT_DOWN;

// The modifiers must be exactly Command or Command+Shift: any further flag
// (Caps Lock, say) is no shortcut.
Shortcut shortcut_for(const cef_key_event_t& event) {
  const bool raw_down = event.type == KEYEVENT_RAWKEYDOWN;
  if (event.modifiers == kCommandShift) {
    if (raw_down && event.native_key_code == 6) return {true, &cef_frame_t::redo, "missing redo"};
    return {false, nullptr, nullptr};
  }
  if (event.modifiers != kCommand) return {false, nullptr, nullptr};
  if (!raw_down) {
    // The character events of copy and paste are swallowed, so they never
    // type into the page.
    const bool swallowed = event.native_key_code == 8 || event.native_key_code == 9;
    return {swallowed, nullptr, nullptr};
  }
  switch (event.native_key_code) {
    case 0: return {true, &cef_frame_t::select_all, "missing select_all"};
    case 6: return {true, &cef_frame_t::undo, "missing undo"};
    case 7: return {true, &cef_frame_t::cut, "missing cut"};
    case 8: return {true, &cef_frame_t::copy, "missing copy"};
    case 9: return {true, &cef_frame_t::paste, "missing paste"};
    default: return {false, nullptr, nullptr};
  }
}

}  // namespace

extern "C" {

ZV_EXPORT int32_t cefvemo_handlekey(cef_browser_t* browser, const cef_key_event_t* event) {
  if (!browser || !event) return 0;
  // The frame is released when the owner goes, on every path below.
  const CefRef<cef_frame_t> frame = vemo::main_frame(browser);
  if (!browser->get_main_frame) return 0;  // the fatal stop was contained
  const Shortcut shortcut = shortcut_for(*event);
  if (!shortcut.command) return shortcut.consumed ? 1 : 0;
  if (!frame) return 0;  // no frame to perform the command on
  const auto command = frame.get()->*shortcut.command;
  if (!vemo::require(command, shortcut.missing)) return 0;
  command(frame.get());
  return 1;
}

}  // extern "C"
