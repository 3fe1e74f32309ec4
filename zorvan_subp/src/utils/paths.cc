#include "utils/paths.h"

namespace utils {
namespace {

bool is_separator(char c) { return c == '/' || c == '\\'; }

bool is_bare_drive(std::string_view s) {
  return s.size() == 2 && s[1] == ':' &&
         ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

std::string_view trim_trailing_separators(std::string_view s) {
  while (!s.empty() && is_separator(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string join_path(std::string_view dir, std::string_view name) {
  std::string out(dir);
  if (!dir.empty() && !is_separator(dir.back()) && !is_bare_drive(dir)) out += kPathSeparator;
  out.append(name);
  return out;
}

std::optional<std::string> parent_dir(std::string_view dir) {
  const std::string_view trimmed = trim_trailing_separators(dir);
  if (trimmed.empty() || is_bare_drive(trimmed)) return std::nullopt;
  const size_t last = trimmed.find_last_of("/\\");
  if (last == std::string_view::npos) return std::string();
  const std::string_view head = trim_trailing_separators(trimmed.substr(0, last));
  // The parent is a root: keep its separator ("/x" -> "/", "C:\x" -> "C:\").
  if (head.empty() || is_bare_drive(head)) return std::string(trimmed.substr(0, head.size() + 1));
  return std::string(head);
}

std::string subp_path(std::string_view dir, std::string_view version) {
  std::string file = "zorvan_subp-";
  file.append(version);
  file += ".exe";
  return join_path(dir, file);
}

}  // namespace utils
