#include "socket/message_secret.h"

#include "utils/cef_string.h"

std::optional<ChannelSecret> announced_secret(cef_list_value_t* arguments) {
  if (!arguments || !arguments->get_size || !arguments->get_type || !arguments->get_string)
    return std::nullopt;
  const size_t size = arguments->get_size(arguments);
  if (size == 0 || arguments->get_type(arguments, size - 1) != VTYPE_STRING) return std::nullopt;
  const utils::UserFree16 text(arguments->get_string(arguments, size - 1));
  return ChannelSecret::from_text(utils::to_utf8(text.get()));
}
