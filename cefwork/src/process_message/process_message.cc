#include "process_message/process_message.h"

#include <atomic>

#include "string_util.h"

namespace cefwork {
namespace {

std::atomic<int> live_messages{0};

ProcessMessage* self_of(cef_process_message_t* self) { return ProcessMessage::from(self); }

}  // namespace

ProcessMessage::ProcessMessage(std::u16string name, ListValue* arguments)
    : name_(std::move(name)), arguments_(arguments) {
  cef.is_valid = [](cef_process_message_t*) { return 1; };
  cef.is_read_only = [](cef_process_message_t*) { return 0; };
  cef.copy = [](cef_process_message_t* self) {
    ProcessMessage* message = self_of(self);
    return &(new ProcessMessage(message->name_, message->arguments_->deep_copy()))->cef;
  };
  cef.get_name = [](cef_process_message_t* self) { return userfree(std::u16string_view(self_of(self)->name_)); };
  cef.get_argument_list = [](cef_process_message_t* self) { return self_of(self)->arguments_->share(); };
  ++live_messages;
}

ProcessMessage::~ProcessMessage() {
  arguments_->release();
  --live_messages;
}

ProcessMessage* ProcessMessage::create(std::u16string name) {
  return new ProcessMessage(std::move(name), ListValue::create());
}

int ProcessMessage::live_count() { return live_messages.load(); }

}  // namespace cefwork

extern "C" CEF_EXPORT cef_process_message_t* cef_process_message_create(const cef_string_t* name) {
  return &cefwork::ProcessMessage::create(cefwork::view(name))->cef;
}
