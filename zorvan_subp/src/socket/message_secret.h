// Reading the secret that a waiting side appended to a process message
// (after the message's own arguments, as 14 hexadecimal digits).
#pragma once

#include <optional>

#include "cef/cef_capi.h"
#include "socket/channel_secret.h"

// The secret in the last entry of `arguments`; none when that entry is no
// string or not a secret's text.
std::optional<ChannelSecret> announced_secret(cef_list_value_t* arguments);
