// socket_client: the answering side of the return channel.
#pragma once

#include <cstdint>
#include <string>

#include "socket/channel_secret.h"
#include "socket/return_type.h"

// Connects to 127.0.0.1:port, writes one return message with `value`,
// `kind` and the waiting side's `secret` in its padding, and closes. True
// when the whole message was written; false when no connection could be
// made or the peer went away before taking it all (the waiting side has
// ended). Text after a zero byte in `value` cannot travel and is left out.
// Any other write failure stops the process with "Failed to write buffer".
bool socket_client(uint16_t port, std::string value, ReturnType kind, const ChannelSecret& secret);
