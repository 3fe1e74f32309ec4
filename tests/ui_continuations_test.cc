// JavaScript dialogs, context menus and key shortcuts through real pages:
// the engine asks the client's handlers, the handlers answer (at once or
// later) through cefvemo_dialog_close, cefvemo_context_menu_cancel and
// cefvemo_handlekey, and page script sees the outcome.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <vector>

#include "cefwork/test_hooks_browser.h"
#include "support/engine_fixture.h"
#include "support/eval_recorder.h"
#include "utils/cef_string.h"

namespace {

using zvtest::EngineTest;
using zvtest::TestClient;
using zvtest::TestObject;

struct UiClient;

struct Dialogs : TestObject<cef_jsdialog_handler_t> {
  struct Seen {
    int type;
    std::string origin, message, default_text;
  };
  UiClient* client = nullptr;
  int result = 1;  // what on_jsdialog returns; 1 keeps the callback for later
  std::vector<Seen> seen;
  cef_jsdialog_callback_t* pending = nullptr;  // one reference, the handler's
  int closed = 0;
  Dialogs();
};

struct Menus : TestObject<cef_context_menu_handler_t> {
  UiClient* client = nullptr;
  int result = 1;  // what run_context_menu returns
  int before = 0, runs = 0, dismissed = 0;
  int x = -1, y = -1, items = -1;
  std::string page_url;
  cef_run_context_menu_callback_t* pending = nullptr;
  Menus();
};

struct Keys : TestObject<cef_keyboard_handler_t> {
  UiClient* client = nullptr;
  std::vector<int> pre_results;  // cefvemo_handlekey's result for each event
  int key_events = 0;            // events the pre-handler left to the page
  Keys();
};

struct UiClient : TestClient {
  Dialogs dialogs;
  Menus menus;
  Keys keys;
  UiClient() {
    dialogs.client = menus.client = keys.client = this;
    cef.get_jsdialog_handler = [](cef_client_t* self) {
      auto& h = static_cast<UiClient*>(of(self))->dialogs;
      h.refs++;
      return &h.cef;
    };
    cef.get_context_menu_handler = [](cef_client_t* self) {
      auto& h = static_cast<UiClient*>(of(self))->menus;
      h.refs++;
      return &h.cef;
    };
    cef.get_keyboard_handler = [](cef_client_t* self) {
      auto& h = static_cast<UiClient*>(of(self))->keys;
      h.refs++;
      return &h.cef;
    };
  }
  ~UiClient() {
    zvtest::release(dialogs.pending);
    zvtest::release(menus.pending);
  }
};

template <class Handler>
Handler& handler_of(void* self) {
  return *static_cast<Handler*>(Handler::of(self));
}

Dialogs::Dialogs() {
  cef.on_jsdialog = [](cef_jsdialog_handler_t* self, cef_browser_t* browser,
                       const cef_string_t* origin, cef_jsdialog_type_t type,
                       const cef_string_t* message, const cef_string_t* default_text,
                       cef_jsdialog_callback_t* callback, int*) {
    zvtest::release(browser);
    Dialogs& d = handler_of<Dialogs>(self);
    d.seen.push_back({type, utils::to_utf8(origin), utils::to_utf8(message),
                      utils::to_utf8(default_text)});
    if (d.result) {
      d.pending = callback;  // answered later
    } else {
      zvtest::release(callback);
    }
    return d.result;
  };
  cef.on_dialog_closed = [](cef_jsdialog_handler_t* self, cef_browser_t* browser) {
    zvtest::release(browser);
    handler_of<Dialogs>(self).closed++;
  };
}

Menus::Menus() {
  cef.on_before_context_menu = [](cef_context_menu_handler_t* self, cef_browser_t* browser,
                                  cef_frame_t* frame, cef_context_menu_params_t* params,
                                  cef_menu_model_t* model) {
    Menus& m = handler_of<Menus>(self);
    m.before++;
    m.x = params->get_xcoord(params);
    m.y = params->get_ycoord(params);
    utils::UserFree16 url(params->get_page_url(params));
    m.page_url = utils::to_utf8(url.get());
    m.items = model->get_count(model);
    for (void* object : {static_cast<void*>(browser), static_cast<void*>(frame),
                         static_cast<void*>(params), static_cast<void*>(model)})
      zvtest::release(object);
  };
  cef.run_context_menu = [](cef_context_menu_handler_t* self, cef_browser_t* browser,
                            cef_frame_t* frame, cef_context_menu_params_t* params,
                            cef_menu_model_t* model, cef_run_context_menu_callback_t* callback) {
    Menus& m = handler_of<Menus>(self);
    m.runs++;
    for (void* object : {static_cast<void*>(browser), static_cast<void*>(frame),
                         static_cast<void*>(params), static_cast<void*>(model)})
      zvtest::release(object);
    if (m.result) {
      m.pending = callback;
    } else {
      zvtest::release(callback);
    }
    return m.result;
  };
  cef.on_context_menu_dismissed = [](cef_context_menu_handler_t* self, cef_browser_t* browser,
                                     cef_frame_t* frame) {
    zvtest::release(browser);
    zvtest::release(frame);
    handler_of<Menus>(self).dismissed++;
  };
}

Keys::Keys() {
  // As the Java host does: the shortcut table decides whether the event is
  // consumed before the page sees it.
  cef.on_pre_key_event = [](cef_keyboard_handler_t* self, cef_browser_t* browser,
                            const cef_key_event_t* event, cef_event_handle_msg_t*, int*) {
    const int result = cefvemo_handlekey(browser, event);
    zvtest::release(browser);
    handler_of<Keys>(self).pre_results.push_back(result);
    return result;
  };
  cef.on_key_event = [](cef_keyboard_handler_t* self, cef_browser_t* browser,
                        const cef_key_event_t*, cef_event_handle_msg_t*) {
    zvtest::release(browser);
    handler_of<Keys>(self).key_events++;
    return 0;
  };
}

class UiTest : public EngineTest {
 protected:
  cef_browser_t* open_page(TestClient& client, const std::string& html) {
    cef_browser_t* browser = open(client, "");
    const int ends = client.load_ends;
    cefvemo_load_text(browser, html.c_str());
    EXPECT_TRUE(zvtest::pump_until([&] { return client.load_ends > ends && !client.loading; }));
    return browser;
  }
  // The text of a script value; "<none>" when the evaluation gave none.
  std::string eval(cef_browser_t* browser, const std::string& script) {
    zvtest::EvalRecorder recorder;
    recorder.activate();
    cefvemo_eval(browser, script.c_str(), 0, &zvtest::EvalRecorder::callback);
    return recorder.values.size() == 1 ? recorder.values[0].text : "<none>";
  }
};

// Each dialog stays open after on_jsdialog has returned, blocking the page's
// script, until the host answers; the script then gets the answer.
TEST_F(UiTest, DialogsAnsweredLaterGiveThePageTheAnswer) {
  const std::u16string emoji_input = u"h\u00e9llo \U0001F600 \"quoted\"";
  struct Case {
    const char* name;
    const char* call;
    int type;
    const char* message;
    const char* default_text;
    int success;
    const std::u16string* input;  // null: no input
    const char* result;           // typeof + ':' + value, as the page saw it
  } cases[] = {
      {"alert", "alert('hi ' + 1)", JSDIALOGTYPE_ALERT, "hi 1", "", 1, nullptr,
       "undefined:undefined"},
      {"alert without a message", "alert()", JSDIALOGTYPE_ALERT, "", "", 0, nullptr,
       "undefined:undefined"},
      {"confirm accepted", "confirm('Sure?')", JSDIALOGTYPE_CONFIRM, "Sure?", "", 1, nullptr,
       "boolean:true"},
      {"confirm refused", "confirm('Sure?')", JSDIALOGTYPE_CONFIRM, "Sure?", "", 0, nullptr,
       "boolean:false"},
      {"prompt with emoji", "prompt('Name?', 'def')", JSDIALOGTYPE_PROMPT, "Name?", "def", 1,
       &emoji_input, "string:h\u00e9llo \U0001F600 \"quoted\""},
      {"prompt accepted without input", "prompt('Name?')", JSDIALOGTYPE_PROMPT, "Name?", "", 1,
       nullptr, "string:"},
      {"prompt cancelled", "prompt('Name?', 'def')", JSDIALOGTYPE_PROMPT, "Name?", "def", 0,
       &emoji_input, "object:null"},
  };
  UiClient client;
  cef_browser_t* browser = open_page(client, "<html><body>dialogs</body></html>");
  const std::string origin = take(cefvemo_get_url(browser));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = client.dialogs.seen.size();
    cefvemo_execute(browser, (std::string("var r = ") + c.call +
                              "; window.result = typeof r + ':' + r;")
                                 .c_str());
    ASSERT_TRUE(zvtest::pump_until([&] { return client.dialogs.seen.size() > before; }));
    const Dialogs::Seen& seen = client.dialogs.seen.back();
    EXPECT_EQ(seen.type, c.type);
    EXPECT_EQ(seen.message, c.message);
    EXPECT_EQ(seen.default_text, c.default_text);
    EXPECT_EQ(seen.origin, origin);
    // The handler has returned; the page's script still waits.
    zvtest::pump(20);
    EXPECT_EQ(eval(browser, "String(window.result)"), "undefined");

    cef_string_t text{};
    if (c.input) {
      text.str = const_cast<char16_t*>(c.input->data());
      text.length = c.input->size();
    }
    cefvemo_dialog_close(client.dialogs.pending, c.success, c.input ? &text : nullptr);
    zvtest::release(std::exchange(client.dialogs.pending, nullptr));
    std::string result;
    ASSERT_TRUE(zvtest::pump_until([&] {
      result = eval(browser, "String(window.result)");
      return result != "undefined";
    }));
    EXPECT_EQ(result, c.result);
    cefvemo_execute(browser, "window.result = undefined;");
  }
  EXPECT_EQ(client.dialogs.closed, 0) << "no default dialog was shown";
  cefvemo_dialog_close(nullptr, 1, nullptr);  // nothing to answer
  EXPECT_TRUE(close_and_release(client, browser));
}

// A handler that declines, and a client without a dialog handler, get the
// default: the dialog is dismissed at once.
TEST_F(UiTest, DeclinedDialogsAreDismissed) {
  for (const bool has_handler : {true, false}) {
    SCOPED_TRACE(has_handler ? "handler returns 0" : "no handler");
    UiClient client;
    client.dialogs.result = 0;
    if (!has_handler) client.cef.get_jsdialog_handler = nullptr;
    cef_browser_t* browser = open_page(
        client,
        "<script>window.result = [String(alert('a')), String(confirm('c')),"
        " String(prompt('p', 'd'))].join(',');</script>");
    EXPECT_EQ(eval(browser, "window.result"), "undefined,false,null");
    EXPECT_EQ(client.dialogs.seen.size(), has_handler ? 3u : 0u);
    EXPECT_EQ(client.dialogs.closed, has_handler ? 3 : 0);
    EXPECT_TRUE(close_and_release(client, browser));
  }
}

// Closing the browser while a dialog is open releases the page (its
// renderer ends) and the browser, though the host still holds the callback;
// answering afterwards does nothing.
TEST_F(UiTest, ClosingWithAnOpenDialogReleasesThePage) {
  UiClient client;
  cef_browser_t* browser = open_page(client, "<html></html>");
  const int renderer = cefwork_test_renderer_pid(browser);
  const int live = cefwork_test_live_browsers();
  cefvemo_execute(browser, "window.answer = prompt('stay?');");
  ASSERT_TRUE(zvtest::pump_until([&] { return client.dialogs.pending != nullptr; }));
  EXPECT_TRUE(close_and_release(client, browser));
  EXPECT_EQ(cefwork_test_live_browsers(), live - 1);
  // The renderer had only this browser: it ends once the page is released.
  EXPECT_TRUE(zvtest::pump_until([&] { return kill(renderer, 0) != 0; }));
  const utils::CefString late = utils::cef_string("late");
  cefvemo_dialog_close(client.dialogs.pending, 1, late.get());
  zvtest::pump(5);
}

TEST_F(UiTest, ContextMenusCloseThroughTheHost) {
  enum class Then { kCancel, kDeclined, kCloseBrowser };
  struct Case {
    const char* name;
    int run_result;
    Then then;
  } cases[] = {
      {"cancelled later", 1, Then::kCancel},
      {"declined: dismissed at once", 0, Then::kDeclined},
      {"open when the browser closes", 1, Then::kCloseBrowser},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UiClient client;
    client.menus.result = c.run_result;
    cef_browser_t* browser = open_page(client, "<html>menu</html>");
    cefwork_test_context_menu(browser, 12, 34);
    ASSERT_TRUE(zvtest::pump_until([&] { return client.menus.runs == 1; }));
    EXPECT_EQ(client.menus.before, 1);
    EXPECT_EQ(client.menus.x, 12);
    EXPECT_EQ(client.menus.y, 34);
    EXPECT_EQ(client.menus.page_url, take(cefvemo_get_url(browser)));
    EXPECT_GT(client.menus.items, 0) << "the engine's page menu";
    switch (c.then) {
      case Then::kCancel:
        zvtest::pump(5);
        EXPECT_EQ(client.menus.dismissed, 0) << "open until the host closes it";
        cefvemo_context_menu_cancel(client.menus.pending);
        EXPECT_EQ(client.menus.dismissed, 1);
        cefvemo_context_menu_cancel(client.menus.pending);  // once closed, stays closed
        EXPECT_EQ(client.menus.dismissed, 1);
        break;
      case Then::kDeclined:
        EXPECT_EQ(client.menus.dismissed, 1);
        break;
      case Then::kCloseBrowser:
        break;
    }
    EXPECT_TRUE(close_and_release(client, browser));
    EXPECT_EQ(client.menus.dismissed, 1);
    if (client.menus.pending) cefvemo_context_menu_cancel(client.menus.pending);
    EXPECT_EQ(client.menus.dismissed, 1);
  }
  cefvemo_context_menu_cancel(nullptr);
}

// A frame played by the test that counts its references and the commands
// it receives, to see the frame released on every path of the table.
struct CountingFrame : TestObject<cef_frame_t> {
  std::string last;
  CountingFrame() {
    cef.undo = [](cef_frame_t* self) { of(self)->last = "undo"; };
    cef.redo = [](cef_frame_t* self) { of(self)->last = "redo"; };
    cef.cut = [](cef_frame_t* self) { of(self)->last = "cut"; };
    cef.copy = [](cef_frame_t* self) { of(self)->last = "copy"; };
    cef.paste = [](cef_frame_t* self) { of(self)->last = "paste"; };
    cef.select_all = [](cef_frame_t* self) { of(self)->last = "select_all"; };
  }
  static CountingFrame* of(void* self) { return static_cast<CountingFrame*>(TestObject::of(self)); }
};
struct FrameBrowser : TestObject<cef_browser_t> {
  CountingFrame frame;
  FrameBrowser() {
    cef.get_main_frame = [](cef_browser_t* self) {
      auto* b = static_cast<FrameBrowser*>(of(self));
      b->frame.refs++;
      return &b->frame.cef;
    };
  }
};

TEST_F(UiTest, KeyShortcutsPerformTheTableCommandsInThePage) {
  constexpr uint32_t kCommand = EVENTFLAG_COMMAND_DOWN;
  struct Case {
    uint32_t modifiers;
    cef_key_event_type_t type;
    int code;
    int result;
    const char* command;  // of the frame, "" for none
    const char* events;   // what the page saw
  } cases[] = {
      {kCommand | EVENTFLAG_SHIFT_DOWN, KEYEVENT_RAWKEYDOWN, 6, 1, "redo", "beforeinput:historyRedo"},
      {kCommand | EVENTFLAG_SHIFT_DOWN, KEYEVENT_KEYDOWN, 6, 0, "", ""},
      {kCommand | EVENTFLAG_SHIFT_DOWN, KEYEVENT_RAWKEYDOWN, 8, 0, "", ""},
      {kCommand, KEYEVENT_RAWKEYDOWN, 0, 1, "select_all", "selectionchange"},
      {kCommand, KEYEVENT_RAWKEYDOWN, 6, 1, "undo", "beforeinput:historyUndo"},
      {kCommand, KEYEVENT_RAWKEYDOWN, 7, 1, "cut", "cut"},
      {kCommand, KEYEVENT_RAWKEYDOWN, 8, 1, "copy", "copy"},
      {kCommand, KEYEVENT_RAWKEYDOWN, 9, 1, "paste", "paste"},
      {kCommand, KEYEVENT_RAWKEYDOWN, 1, 0, "", ""},
      {kCommand, KEYEVENT_CHAR, 9, 1, "", ""},     // consumed without a command
      {kCommand, KEYEVENT_KEYUP, 8, 1, "", ""},    // consumed without a command
      {kCommand, KEYEVENT_CHAR, 6, 0, "", ""},
      {kCommand | EVENTFLAG_CAPS_LOCK_ON, KEYEVENT_RAWKEYDOWN, 8, 0, "", ""},
      {kCommand | EVENTFLAG_CONTROL_DOWN, KEYEVENT_RAWKEYDOWN, 9, 0, "", ""},
      {EVENTFLAG_CONTROL_DOWN, KEYEVENT_RAWKEYDOWN, 8, 0, "", ""},
      {EVENTFLAG_NONE, KEYEVENT_RAWKEYDOWN, 0, 0, "", ""},
  };
  UiClient client;
  cef_browser_t* browser = open_page(
      client,
      "<script>window.seen = [];"
      "['copy', 'cut', 'paste', 'beforeinput', 'selectionchange'].forEach(function (t) {"
      "  document.addEventListener(t, function (e) {"
      "    seen.push(e.type + (e.inputType ? ':' + e.inputType : '')); });"
      "});</script>");
  cef_browser_host_t* host = browser->get_host(browser);
  FrameBrowser counting;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.modifiers) + " " + std::to_string(c.type) + " " +
                 std::to_string(c.code));
    cef_key_event_t event{};
    event.type = c.type;
    event.modifiers = c.modifiers;
    event.native_key_code = c.code;

    counting.frame.last.clear();
    EXPECT_EQ(cefvemo_handlekey(&counting.cef, &event), c.result);
    EXPECT_EQ(counting.frame.last, c.command);
    EXPECT_EQ(counting.frame.refs, 1) << "the main frame is released";

    const size_t before = client.keys.pre_results.size();
    const int left_to_page = client.keys.key_events;
    host->send_key_event(host, &event);
    ASSERT_TRUE(zvtest::pump_until([&] { return client.keys.pre_results.size() > before; }));
    EXPECT_EQ(client.keys.pre_results.back(), c.result);
    EXPECT_EQ(client.keys.key_events - left_to_page, c.result ? 0 : 1);
    EXPECT_EQ(eval(browser, "seen.splice(0).join(',')"), c.events);
  }
  zvtest::release(host);
  EXPECT_EQ(cefvemo_handlekey(browser, nullptr), 0);
  cef_key_event_t copy{};
  copy.modifiers = kCommand;
  copy.native_key_code = 8;
  EXPECT_EQ(cefvemo_handlekey(nullptr, &copy), 0);
  cef_browser_t no_frame_getter{};
  EXPECT_DEATH(cefvemo_handlekey(&no_frame_getter, &copy), "null get_main_frame");
  EXPECT_TRUE(close_and_release(client, browser));
}

}  // namespace
