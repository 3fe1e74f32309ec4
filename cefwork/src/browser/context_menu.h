// Context menus in the browser process: a right click on the page asks the
// context-menu handler to adjust the menu (on_before_context_menu) and to
// run it (run_context_menu) with a callback; the engine itself has no menu
// to show, so a handler that declines gets the menu dismissed at once.
#pragma once

namespace cefwork {

class BrowserCore;

// Opens the page's context menu at (x, y), as a right click does.
void open_context_menu(BrowserCore& core, int x, int y);

// The browser closes: each open menu is dismissed and its callback answers
// nothing any more.
void dismiss_context_menus(BrowserCore& core);

}  // namespace cefwork
