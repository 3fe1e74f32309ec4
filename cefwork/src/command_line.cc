#include "command_line.h"

#include "string_util.h"

namespace cefwork {

CommandLine::CommandLine() {
  cef.is_valid = [](cef_command_line_t*) { return 1; };
  cef.is_read_only = [](cef_command_line_t*) { return 0; };
  cef.copy = [](cef_command_line_t* self) {
    auto* copy = new CommandLine();
    const CommandLine* me = from(self);
    copy->program_ = me->program_;
    copy->switches_ = me->switches_;
    copy->arguments_ = me->arguments_;
    return &copy->cef;
  };
  cef.init_from_argv = [](cef_command_line_t* self, int argc, const char* const* argv) {
    from(self)->init_from_argv(argc, argv);
  };
  cef.init_from_string = [](cef_command_line_t* self, const cef_string_t* line) {
    // Split at blanks; quoting is not needed by the work-alike's users.
    std::vector<std::string> parts;
    std::string current;
    for (char c : to_utf8(line)) {
      if (c == ' ') {
        if (!current.empty()) parts.push_back(std::move(current));
        current.clear();
      } else {
        current.push_back(c);
      }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    std::vector<const char*> argv;
    for (const auto& p : parts) argv.push_back(p.c_str());
    from(self)->init_from_argv(static_cast<int>(argv.size()), argv.data());
  };
  cef.reset = [](cef_command_line_t* self) {
    CommandLine* me = from(self);
    me->program_.clear();
    me->switches_.clear();
    me->arguments_.clear();
  };
  cef.get_command_line_string = [](cef_command_line_t* self) {
    return userfree(std::u16string_view(from(self)->to_string()));
  };
  cef.get_program = [](cef_command_line_t* self) {
    return userfree(std::u16string_view(from(self)->program_));
  };
  cef.set_program = [](cef_command_line_t* self, const cef_string_t* program) {
    from(self)->program_ = view(program);
  };
  cef.has_switches = [](cef_command_line_t* self) { return from(self)->switches_.empty() ? 0 : 1; };
  cef.has_switch = [](cef_command_line_t* self, const cef_string_t* name) {
    return from(self)->has_switch(view(name)) ? 1 : 0;
  };
  cef.get_switch_value = [](cef_command_line_t* self, const cef_string_t* name) {
    return userfree(std::u16string_view(from(self)->switch_value(view(name))));
  };
  cef.append_switch = [](cef_command_line_t* self, const cef_string_t* name) {
    from(self)->append_switch(view(name), u"");
  };
  cef.append_switch_with_value = [](cef_command_line_t* self, const cef_string_t* name,
                                    const cef_string_t* value) {
    from(self)->append_switch(view(name), view(value));
  };
  cef.has_arguments = [](cef_command_line_t* self) {
    return from(self)->arguments_.empty() ? 0 : 1;
  };
  cef.append_argument = [](cef_command_line_t* self, const cef_string_t* argument) {
    from(self)->arguments_.push_back(view(argument));
  };
  cef.prepend_wrapper = [](cef_command_line_t* self, const cef_string_t* wrapper) {
    CommandLine* me = from(self);
    me->arguments_.insert(me->arguments_.begin(), me->program_);
    me->program_ = view(wrapper);
  };
  // String lists and maps are not part of the work-alike.
  cef.get_argv = [](cef_command_line_t*, cef_string_list_t) {};
  cef.get_switches = [](cef_command_line_t*, cef_string_map_t) {};
  cef.get_arguments = [](cef_command_line_t*, cef_string_list_t) {};
}

void CommandLine::init_from_argv(int argc, const char* const* argv) {
  program_.clear();
  switches_.clear();
  arguments_.clear();
  bool switches_done = false;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i] ? argv[i] : "";
    if (i == 0) {
      program_ = utf8_to_utf16(arg);
    } else if (!switches_done && arg == "--") {
      switches_done = true;
    } else if (!switches_done && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      const size_t eq = arg.find('=');
      const std::string name = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
      const std::string value = eq == std::string::npos ? "" : arg.substr(eq + 1);
      append_switch(utf8_to_utf16(name), utf8_to_utf16(value));
    } else {
      arguments_.push_back(utf8_to_utf16(arg));
    }
  }
}

bool CommandLine::has_switch(const std::u16string& name) const {
  for (const auto& s : switches_)
    if (s.first == name) return true;
  return false;
}

std::u16string CommandLine::switch_value(const std::u16string& name) const {
  for (const auto& s : switches_)
    if (s.first == name) return s.second;
  return {};
}

void CommandLine::append_switch(std::u16string name, std::u16string value) {
  for (auto& s : switches_) {
    if (s.first == name) {
      s.second = std::move(value);
      return;
    }
  }
  switches_.emplace_back(std::move(name), std::move(value));
}

std::vector<std::string> CommandLine::argv() const {
  std::vector<std::string> out{utf16_to_utf8(program_)};
  for (const auto& [name, value] : switches_) {
    std::string arg = "--" + utf16_to_utf8(name);
    if (!value.empty()) arg += "=" + utf16_to_utf8(value);
    out.push_back(std::move(arg));
  }
  for (const auto& a : arguments_) out.push_back(utf16_to_utf8(a));
  return out;
}

std::u16string CommandLine::to_string() const {
  std::string line;
  for (const auto& arg : argv()) {
    if (!line.empty()) line += ' ';
    line += arg;
  }
  return utf8_to_utf16(line);
}

}  // namespace cefwork

extern "C" CEF_EXPORT cef_command_line_t* cef_command_line_create(void) {
  return &(new cefwork::CommandLine())->cef;
}
