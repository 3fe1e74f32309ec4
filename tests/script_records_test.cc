// Reading a call record and its arguments from a "function_call" message,
// answering on a port, and the renderer application's handling of messages
// it must not serve; in this process, on the engine's own message objects.

#include <gtest/gtest.h>

#include "app/render_process_handler.h"
#include "support/eval_recorder.h"
#include "support/test_object.h"
#include "utils/cef_string.h"
#include "zorvan_vemo.h"

namespace {

using zvtest::EvalRecorder;

cef_process_message_t* message(const char* name) {
  const utils::CefString n = utils::cef_string(name);
  return cef_process_message_create(n.get());
}

// "function_call" with port, id and (kind, text) pairs.
cef_process_message_t* call(int port, int id, std::vector<std::pair<int, const char*>> args) {
  cef_process_message_t* m = message("function_call");
  cef_list_value_t* list = m->get_argument_list(m);
  list->set_int(list, 0, port);
  list->set_int(list, 1, id);
  for (size_t i = 0; i < args.size(); ++i) {
    list->set_int(list, 2 + 2 * i, args[i].first);
    const utils::CefString text = utils::cef_string(args[i].second);
    list->set_string(list, 3 + 2 * i, text.get());
  }
  zvtest::release(list);
  return m;
}

TEST(FunctionRecords, IdPortAndArgumentCount) {
  cef_process_message_t* m = call(4321, 9, {{0, "1"}, {2, "a"}, {1, "1"}});
  FunctionSt record{};
  cefvemo_function_id(m, &record);
  EXPECT_EQ(record.id, 9);
  EXPECT_EQ(record.port, 4321);
  EXPECT_EQ(record.args, 3u);

  EvalRecorder recorder;
  recorder.activate();
  for (int i : {0, 1, 2, 3, -1, 1 << 30}) {
    EXPECT_EQ(cefvemo_function_arg(m, i, &EvalRecorder::callback), 1);
  }
  ASSERT_EQ(recorder.values.size(), 6u);
  EXPECT_EQ(recorder.values[0].kind, 0);
  EXPECT_EQ(recorder.values[0].text, "1");
  EXPECT_EQ(recorder.values[1].kind, 2);
  EXPECT_EQ(recorder.values[1].text, "a");
  EXPECT_EQ(recorder.values[2].kind, 1);
  for (int i : {3, 5}) {  // outside the list: kind 0, no text
    EXPECT_EQ(recorder.values[i].kind, 0);
    EXPECT_TRUE(recorder.values[i].null_text);
  }
  // Index -1 reads list entries 0 and 1: the port as a kind (not 0 to 6, so
  // Error) and the id, which is no string.
  EXPECT_EQ(recorder.values[4].kind, 5);
  EXPECT_TRUE(recorder.values[4].null_text);
  zvtest::release(m);

  cef_process_message_t* none = call(1, 2, {});
  cefvemo_function_id(none, &record);
  EXPECT_EQ(record.args, 0u);
  zvtest::release(none);
}

TEST(FunctionRecords, OtherMessagesLeaveTheNotACallRecord) {
  cef_process_message_t* m = message("eval");
  FunctionSt record{5, 6, 7};
  cefvemo_function_id(m, &record);
  EXPECT_EQ(record.id, -1);
  EXPECT_EQ(record.port, 0);
  EXPECT_EQ(record.args, 0u);
  zvtest::release(m);
}

TEST(FunctionRecords, ArgumentKindsOutsideTheRangeBecomeErrors) {
  cef_process_message_t* m = call(1, 1, {{9, "nine"}, {-1, "minus"}, {6, "eval"}});
  EvalRecorder recorder;
  recorder.activate();
  for (int i = 0; i < 3; ++i) cefvemo_function_arg(m, i, &EvalRecorder::callback);
  ASSERT_EQ(recorder.values.size(), 2u);  // kind 6 arrives as an Eval request
  EXPECT_EQ(recorder.values[0].kind, 5);
  EXPECT_EQ(recorder.values[1].kind, 5);
  EXPECT_EQ(recorder.eval_requests, std::vector<std::string>{"eval"});
  zvtest::release(m);
}

TEST(FunctionRecords, ReturnToAPortWithoutListener) {
  // Port 1 on loopback: nothing listens; 65537 is the same port.
  EXPECT_EQ(cefvemo_function_return(nullptr, 0, 1, 0, "1"), 0);
  EXPECT_EQ(cefvemo_function_return(nullptr, 0, 65537, 0, "1"), 0);
}

TEST(RendererApplication, IgnoresMessagesNotFromTheBrowserProcess) {
  static App app;
  cef_render_process_handler_t* handler = app.cef.get_render_process_handler(&app.cef);
  struct Case {
    const char* name;
    cef_process_id_t source;
  } cases[] = {{"eval", PID_RENDERER}, {"function", PID_RENDERER}, {"other", PID_BROWSER}};
  for (const Case& c : cases) {
    cef_process_message_t* m = message(c.name);
    zvtest::TestObject<cef_browser_t> browser;
    zvtest::TestObject<cef_frame_t> frame;
    EXPECT_EQ(handler->on_process_message_received(handler, &browser.cef, &frame.cef, c.source, m),
              0)
        << c.name;
    EXPECT_EQ(browser.refs, 0) << "the handler released what it was given";
    EXPECT_EQ(frame.refs, 0);
  }
  EXPECT_TRUE(app.render_process_handler.browsers.empty());
  zvtest::release(handler);
}

TEST(RendererApplication, ReferenceCountsOfTheApp) {
  static App app;
  cef_base_ref_counted_t* base = &app.cef.base;
  EXPECT_EQ(RefCount::wrapper(&app), &app.cef);
  EXPECT_EQ(base->has_at_least_one_ref(base), 0);
  base->add_ref(base);
  base->add_ref(base);
  EXPECT_EQ(base->release(base), 0);
  EXPECT_EQ(base->has_one_ref(base), 1);
  EXPECT_EQ(base->release(base), 1) << "the last reference; the App lives on";
  EXPECT_EQ(base->has_at_least_one_ref(base), 0);
  EXPECT_NE(app.cef.get_render_process_handler, nullptr);
}

}  // namespace
