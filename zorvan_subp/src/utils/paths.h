// Path joining and the subprocess program's path.
//
// Joining inserts the host's separator (backslash on Windows, slash
// elsewhere) unless the left part is empty, already ends with a slash or a
// backslash, or is a bare drive such as "C:". Both separators are recognised
// on every host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace utils {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

std::string join_path(std::string_view dir, std::string_view name);

// The parent of a directory, ignoring trailing separators. A relative
// directory of one component has the empty text as its parent; the empty
// text, a root ("/", "\") and a bare drive or drive root ("C:", "C:\") have
// none.
std::optional<std::string> parent_dir(std::string_view dir);

// "zorvan_subp-" + version + ".exe" joined to the directory.
std::string subp_path(std::string_view dir, std::string_view version);

}  // namespace utils
