// wait_return: the waiting side of the return channel.
//
// The wait binds a fresh listener on 127.0.0.1, announces its port and its
// secret, and then serves the listener on the calling thread: each pass
// takes every pending connection, reads all of them side by side, and runs
// the tick action and one cef_do_message_loop_work, so CEF callbacks and
// host code run inside the wait (and may start waits of their own, which end
// before this one resumes). Between passes it blocks on its sockets for at
// most a millisecond (woken at once by a connection or data), after a short
// spin while the channel has just been used.
//
// Each connection carries one message. Only a message whose header carries
// the wait's secret is believed: a message of kind Eval is handed to the
// eval-request action and the wait goes on; any other kind is the answer
// and ends it. Anything else - a wrong or missing secret, a short header,
// a connection that sends no header in time, a reset - is closed unread,
// and the wait goes on. A limited number of connections may wait for their
// header; beyond it the oldest of those is dropped, never one that has
// shown the secret.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "cef/cef_capi.h"
#include "socket/channel_secret.h"
#include "socket/return_msg.h"

// Form (a): the port goes into index 0 of the message's argument list and a
// fresh secret, as its text, is appended after the arguments already set;
// the message is sent through the frame to `target`. Both stay borrowed; the
// wait adds the reference that send_process_message takes over.
struct MessageAnnouncement {
  cef_process_message_t* message;
  cef_frame_t* frame;
  cef_process_id_t target;
};

// Form (b): an Eval request "<port>,<script>" goes to the pending call's
// listener with socket_client, carrying that call's secret, which is also
// this wait's: the answer to the request carries it back. When the request
// cannot be delivered (nobody waits on that port) the wait fails at once.
struct EvalAnnouncement {
  uint16_t pending_port;
  std::string_view script;
  ChannelSecret secret;
};

using Announcement = std::variant<MessageAnnouncement, EvalAnnouncement>;

struct WaitActions {
  std::function<void()> tick;  // may be empty
  // May be empty. `secret` is the one the request carried (the wait's):
  // the answer to the request goes back with it.
  std::function<void(std::string_view text, const ChannelSecret& secret)> eval_request;
  // May be empty. Asked on every pass: true when no answer can come any
  // more (the peer is gone), which fails the wait.
  std::function<bool()> abandoned;
};

struct WaitLimits {
  // A genuine sender writes its header at once; a connection without a
  // whole header after this long is dropped.
  std::chrono::milliseconds header_limit = std::chrono::seconds(2);
  // Connections that may wait for their header at the same time.
  size_t max_without_header = 64;
  // How long after the channel's last use a wait polls without blocking. A
  // wait that must notice engine messages at once (they cannot wake its
  // poll) needs the spin; one whose answers all come on its listener needs
  // little of it.
  std::chrono::microseconds spin = std::chrono::milliseconds(2);
};

struct WaitOutcome {
  std::optional<ReturnSt> answer;
  std::string error;  // when there is no answer: why the wait failed
};

WaitOutcome wait_return(const Announcement& announcement, const WaitActions& actions,
                        const WaitLimits& limits = {});
