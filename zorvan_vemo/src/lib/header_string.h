// The extra headers of cefvemo_load_url: one string and a count N. The
// string is cut into at most N segments at each "::" (the N-th segment takes
// the rest, separators included); each segment splits at its first ":" into
// a name and a value, both trimmed of Unicode White_Space.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vemo {

using Header = std::pair<std::string, std::string>;

// Segments that the count names but the string does not hold, and segments
// without ":", are skipped.
std::vector<Header> parse_header_string(std::string_view headers, uint64_t count);

}  // namespace vemo
