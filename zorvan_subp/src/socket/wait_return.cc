#include "socket/wait_return.h"

#include <deque>
#include <string>

#include "socket/incoming_connection.h"
#include "socket/socket_client.h"
#include "utils/fatal.h"
#include "utils/platform/socket.h"

namespace net = utils::platform;

namespace {

constexpr int kBacklog = 128;

WaitOutcome failure(std::string error) { return {std::nullopt, std::move(error)}; }

// Sends the announcement; the error text when a fatal stop was contained.
std::optional<std::string> announce(const Announcement& announcement, uint16_t port) {
  if (const auto* form_b = std::get_if<EvalAnnouncement>(&announcement)) {
    std::string request = std::to_string(port);
    request += ',';
    request += form_b->script;
    socket_client(form_b->pending_port, std::move(request), ReturnType::Eval);
    return std::nullopt;
  }
  const auto& form_a = std::get<MessageAnnouncement>(announcement);
  cef_process_message_t* message = form_a.message;
  cef_frame_t* frame = form_a.frame;
  const char* missing = !message || !message->get_argument_list ? "null get_argument_list"
                        : !frame || !frame->send_process_message ? "null send_process_message"
                                                                 : nullptr;
  if (missing) {
    utils::fatal(missing);
    return std::string(missing);
  }
  cef_list_value_t* arguments = message->get_argument_list(message);
  if (!arguments || !arguments->set_int) {
    if (arguments) arguments->base.release(&arguments->base);
    utils::fatal("null set_int");
    return std::string("null set_int");
  }
  const int set = arguments->set_int(arguments, 0, port);
  arguments->base.release(&arguments->base);
  if (set != 1) {
    utils::fatal_not_equal("set_int", set, 1);
    return std::string("set_int failed");
  }
  message->base.add_ref(&message->base);
  frame->send_process_message(frame, form_a.target, message);
  return std::nullopt;
}

}  // namespace

WaitOutcome wait_return(const Announcement& announcement, const WaitActions& actions,
                        const WaitLimits& limits) {
  std::string error;
  net::Socket listener = net::listen_loopback(kBacklog, &error);
  if (!listener.valid()) return failure(std::move(error));

  uint16_t port = 0;
  if (!net::local_port(listener, &port)) {
    utils::fatal("Cannot read the listener's address");
    return failure("Cannot read the listener's address");
  }
  if (auto contained = announce(announcement, port)) return failure(std::move(*contained));
  if (!net::set_non_blocking(listener)) {
    utils::fatal("Cannot set non-blocking");
    return failure("Cannot set non-blocking");
  }

  std::deque<IncomingConnection> open;  // in accept order
  for (;;) {
    bool accepted = false;
    net::Socket connection = net::accept_connection(listener);
    if (connection.valid()) {
      accepted = true;
      // Windows hands the listener's mode on, POSIX does not: set it.
      if (net::set_non_blocking(connection))
        open.emplace_back(std::move(connection), IncomingConnection::Clock::now());
      // Peers that trickle bytes cannot shut newer connections out: the
      // oldest goes. A real sender writes at once and is done long before
      // that many connections arrive after it.
      if (open.size() > limits.max_open_connections) open.pop_front();
    }

    const auto now = IncomingConnection::Clock::now();
    for (auto it = open.begin(); it != open.end();) {
      const IncomingConnection::State state = it->pump(now);
      if (state == IncomingConnection::State::Reading) {
        it = it->idle_for(limits.idle_limit, now) ? open.erase(it) : it + 1;
        continue;
      }
      if (state == IncomingConnection::State::Failed) return failure(it->error());
      if (state == IncomingConnection::State::Reset) {
        it = open.erase(it);
        continue;
      }
      ReadResult read = read_buffer(it->take_bytes());
      it = open.erase(it);
      if (!read.message) continue;  // malformed: cannot come from socket_client
      if (read.message->kind != ReturnType::Eval) return {std::move(read.message), {}};
      // The action may run a nested wait; the connections of this one stay
      // open meanwhile and are read again afterwards.
      if (actions.eval_request) {
        actions.eval_request(read.message->str_value);
        for (IncomingConnection& other : open) other.restart_idle_clock(IncomingConnection::Clock::now());
      }
      break;
    }

    if (!accepted) {
      if (actions.tick) actions.tick();
      cef_do_message_loop_work();
      if (actions.abandoned && actions.abandoned()) return failure("no answer can come");
    }
  }
}
