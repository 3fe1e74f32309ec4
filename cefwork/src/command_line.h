// The command-line object CEF hands to on_before_command_line_processing
// and to child processes: a program, ordered switches and arguments.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cef_object.h"

namespace cefwork {

class CommandLine : public CefObject<CommandLine, cef_command_line_t> {
 public:
  CommandLine();

  void init_from_argv(int argc, const char* const* argv);
  bool has_switch(const std::u16string& name) const;
  std::u16string switch_value(const std::u16string& name) const;
  void append_switch(std::u16string name, std::u16string value);
  // argv form: program, "--name" or "--name=value" switches, then arguments.
  std::vector<std::string> argv() const;
  std::u16string to_string() const;

  const std::vector<std::pair<std::u16string, std::u16string>>& switches() const {
    return switches_;
  }

 private:
  std::u16string program_;
  std::vector<std::pair<std::u16string, std::u16string>> switches_;
  std::vector<std::u16string> arguments_;
};

}  // namespace cefwork
