// wait_return: the waiting side of the return channel.
//
// The wait binds a fresh listener on 127.0.0.1, announces its port, and then
// polls it on the calling thread without ever sleeping: each poll that finds
// no new connection runs the tick action and one cef_do_message_loop_work,
// so CEF callbacks and host code run inside the wait (and may start waits of
// their own, which end before this one resumes). Each connection carries one
// message. A message of kind Eval is handed to the eval-request action and
// the wait goes on; any other kind is the answer and ends it.
//
// Connections are read without blocking, several at a time, and complete
// ones are taken in accept order. A malformed connection (see read_buffer),
// one the peer resets, one that sends nothing for `idle_limit`, and the
// oldest when too many are open are dropped and the wait goes on, so no
// other local process can end or freeze a wait.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "cef/cef_capi.h"
#include "socket/return_msg.h"

// Form (a): the port goes into index 0 of the message's argument list and
// the message is sent through the frame to `target`. Both stay borrowed; the
// wait adds the reference that send_process_message takes over.
struct MessageAnnouncement {
  cef_process_message_t* message;
  cef_frame_t* frame;
  cef_process_id_t target;
};

// Form (b): an Eval request "<port>,<script>" goes to the pending call's
// listener with socket_client (whose result is not examined).
struct EvalAnnouncement {
  uint16_t pending_port;
  std::string_view script;
};

using Announcement = std::variant<MessageAnnouncement, EvalAnnouncement>;

struct WaitActions {
  std::function<void()> tick;                                // may be empty
  std::function<void(std::string_view text)> eval_request;  // may be empty
  // May be empty. Asked after each unit of work: true when no answer can
  // come any more (the peer is gone), which fails the wait.
  std::function<bool()> abandoned;
};

struct WaitLimits {
  // A real sender writes at once and closes; a connection silent this long
  // is dropped.
  std::chrono::milliseconds idle_limit = std::chrono::seconds(5);
  // Connections read at the same time; beyond that the oldest is dropped.
  size_t max_open_connections = 64;
};

struct WaitOutcome {
  std::optional<ReturnSt> answer;
  std::string error;  // when there is no answer: why the wait failed
};

WaitOutcome wait_return(const Announcement& announcement, const WaitActions& actions,
                        const WaitLimits& limits = {});
