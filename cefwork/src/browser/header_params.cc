#include "browser/header_params.h"

#include <cctype>

namespace cefwork {
namespace {

bool separator(char c) { return c == ';' || c == ',' || std::isspace(static_cast<unsigned char>(c)); }

// Position just after "name=" where a parameter starts, or npos.
size_t parameter_start(const std::string& value, std::string_view name) {
  for (size_t at = 0; at + name.size() < value.size(); ++at) {
    if (at > 0 && !separator(value[at - 1])) continue;
    size_t i = 0;
    while (i < name.size() && std::tolower(static_cast<unsigned char>(value[at + i])) == name[i]) ++i;
    if (i == name.size() && value[at + i] == '=') return at + i + 1;
  }
  return std::string::npos;
}

}  // namespace

std::optional<std::string> header_parameter(const std::string& value, std::string_view name) {
  const size_t at = parameter_start(value, name);
  if (at == std::string::npos) return std::nullopt;
  std::string out;
  if (at < value.size() && value[at] == '"') {
    for (size_t i = at + 1; i < value.size() && value[i] != '"'; ++i) {
      if (value[i] == '\\' && i + 1 < value.size()) ++i;
      out.push_back(value[i]);
    }
    return out;
  }
  for (size_t i = at; i < value.size() && value[i] != ';' && value[i] != ','; ++i)
    out.push_back(value[i]);
  while (!out.empty() && std::isspace(static_cast<unsigned char>(out.back()))) out.pop_back();
  return out;
}

}  // namespace cefwork
