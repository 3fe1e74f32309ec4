#include "cefwork/test_hooks_v8.h"

#include "process_message/list_value.h"
#include "process_message/process_message.h"
#include "v8/v8_context.h"
#include "v8/v8_value.h"

extern "C" {

CEF_EXPORT cef_v8context_t* cefwork_test_create_v8context(void) {
  return &cefwork::V8Context::create(nullptr, nullptr)->cef;
}

CEF_EXPORT int cefwork_test_live_v8values(void) { return cefwork::V8Value::live_count(); }

CEF_EXPORT int cefwork_test_live_process_messages(void) { return cefwork::ProcessMessage::live_count(); }

CEF_EXPORT int cefwork_test_live_list_values(void) { return cefwork::ListValue::live_count(); }

}  // extern "C"
