// cef_process_message_t held in memory: a name and an argument list
// (ListValue, see list_value.h for walking its entries).
#pragma once

#include <string>

#include "cef_object.h"
#include "process_message/list_value.h"

namespace cefwork {

class ProcessMessage : public CefObject<ProcessMessage, cef_process_message_t> {
 public:
  // A new message with an empty argument list; one reference for the caller.
  static ProcessMessage* create(std::u16string name);

  const std::u16string& name() const { return name_; }
  ListValue* arguments() const { return arguments_; }  // borrowed

  static int live_count();

 private:
  friend class CefObject<ProcessMessage, cef_process_message_t>;
  explicit ProcessMessage(std::u16string name, ListValue* arguments);
  ~ProcessMessage();

  std::u16string name_;
  ListValue* arguments_;  // one reference
};

}  // namespace cefwork
