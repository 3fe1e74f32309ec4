#include "socket/return_type.h"

std::string_view name(ReturnType kind) {
  static constexpr std::string_view kNames[] = {"Double", "Bool",  "Str", "Null",
                                                "Array",  "Error", "Eval"};
  return kind.byte() <= ReturnType::Eval ? kNames[kind.byte()] : std::string_view();
}

std::ostream& operator<<(std::ostream& out, ReturnType kind) {
  const std::string_view text = name(kind);
  if (!text.empty()) return out << text;
  return out << "ReturnType(" << static_cast<unsigned>(kind.byte()) << ')';
}
