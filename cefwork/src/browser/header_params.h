// Parameters of HTTP header values, as in Content-Disposition and
// WWW-Authenticate: name=token or name="quoted string".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cefwork {

// The value of parameter `name` (given in lower case, matched without
// regard to case); nullopt when the value has no such parameter.
std::optional<std::string> header_parameter(const std::string& value, std::string_view name);

}  // namespace cefwork
