#include "socket/wait_return.h"

#include <string>
#include <vector>

#include "socket/channel_activity.h"
#include "socket/incoming_connection.h"
#include "socket/socket_client.h"
#include "utils/fatal.h"
#include "utils/platform/socket.h"

namespace net = utils::platform;

namespace {

using Clock = IncomingConnection::Clock;

constexpr int kBacklog = 128;
constexpr int kPollMilliseconds = 1;

WaitOutcome failure(std::string error) { return {std::nullopt, std::move(error)}; }

// Form (a): the port at index 0, the secret after the arguments, and the
// message sent. The error text when a fatal stop was contained.
std::optional<std::string> announce_message(const MessageAnnouncement& form_a, uint16_t port,
                                            const ChannelSecret& secret) {
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
  if (!arguments || !arguments->set_int || !arguments->set_string || !arguments->get_size) {
    if (arguments) arguments->base.release(&arguments->base);
    utils::fatal("null set_int");
    return std::string("null set_int");
  }
  const int set = arguments->set_int(arguments, 0, port);
  // Plain ASCII digits: a CEF string over our own buffer, copied by the list.
  const std::string digits = secret.text();
  std::u16string units(digits.begin(), digits.end());
  const cef_string_t secret_text{units.data(), units.size(), nullptr};
  const int secret_set = arguments->set_string(arguments, arguments->get_size(arguments), &secret_text);
  arguments->base.release(&arguments->base);
  if (set != 1 || secret_set != 1) {
    utils::fatal_not_equal("set_int", set != 1 ? set : secret_set, 1);
    return std::string("set_int failed");
  }
  message->base.add_ref(&message->base);
  frame->send_process_message(frame, form_a.target, message);
  return std::nullopt;
}

// The connections of one wait, in accept order.
class Connections {
 public:
  Connections(const WaitLimits& limits, const ChannelSecret& secret) : limits_(limits), secret_(secret) {}

  // Takes every connection waiting on the listener; false when none could
  // be taken although the listener was ready (out of descriptors, say).
  bool accept_all(const net::Socket& listener) {
    bool any = false;
    for (;;) {
      net::Socket connection = net::accept_connection(listener);
      if (!connection.valid()) return any;
      any = true;
      // Windows hands the listener's mode on, POSIX does not: set it.
      if (!net::set_non_blocking(connection)) continue;
      open_.emplace_back(std::move(connection), Clock::now());
      ready_.push_back(true);  // read at once: its header may be there
    }
  }

  // The poll set: the listener (when `with_listener`) and every connection.
  std::vector<net::PollItem>& poll_items(const net::Socket& listener, bool with_listener) {
    items_.clear();
    if (with_listener) items_.push_back({listener.native(), false});
    for (const IncomingConnection& c : open_) items_.push_back({c.native(), false});
    return items_;
  }
  void take_readiness(bool with_listener) {
    ready_.assign(open_.size(), false);
    for (size_t i = 0; i < open_.size(); ++i) ready_[i] = items_[i + (with_listener ? 1 : 0)].ready;
  }

  // Reads every ready connection and returns the first complete message
  // believed, in accept order; sets `failed` on a read error after a valid
  // header.
  std::optional<ReturnSt> read_ready(std::string* failed) {
    std::optional<ReturnSt> message;
    for (size_t i = 0; i < open_.size() && !message; ++i) {
      if (!ready_[i]) continue;
      ready_[i] = false;
      const IncomingConnection::State state = open_[i].pump(secret_);
      if (state == IncomingConnection::State::Failed) {
        *failed = open_[i].error();
        return std::nullopt;
      }
      if (state == IncomingConnection::State::Text) ready_[i] = true;  // more may be there
      if (state != IncomingConnection::State::Complete) continue;
      ReadResult read = open_[i].take_message();
      message = std::move(read.message);  // malformed: cannot come from socket_client
    }
    std::erase_if(open_, [](const IncomingConnection& c) { return c.closed(); });
    ready_.resize(open_.size());  // what is left is read on the next pass anyway
    return message;
  }

  // Drops connections whose header is overdue, and the oldest without a
  // header beyond the cap.
  void enforce_limits() {
    const auto now = Clock::now();
    size_t without_header = 0;
    for (IncomingConnection& c : open_) {
      if (c.header_overdue(limits_.header_limit, now)) c.drop();
      else if (!c.has_shown_secret()) ++without_header;
    }
    for (IncomingConnection& c : open_) {
      if (without_header <= limits_.max_without_header) break;
      if (c.closed() || c.has_shown_secret()) continue;
      c.drop();
      --without_header;
    }
    std::erase_if(open_, [](const IncomingConnection& c) { return c.closed(); });
    ready_.assign(open_.size(), false);
  }

  void restart_clocks() {
    const auto now = Clock::now();
    for (IncomingConnection& c : open_) c.restart_clock(now);
  }

 private:
  const WaitLimits& limits_;
  const ChannelSecret& secret_;
  std::vector<IncomingConnection> open_;
  std::vector<bool> ready_;
  std::vector<net::PollItem> items_;
};

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
  const auto* form_b = std::get_if<EvalAnnouncement>(&announcement);
  const ChannelSecret secret = form_b ? form_b->secret : ChannelSecret::fresh();
  if (!net::set_non_blocking(listener)) {
    utils::fatal("Cannot set non-blocking");
    return failure("Cannot set non-blocking");
  }
  if (form_b) {
    std::string request = std::to_string(port);
    request += ',';
    request += form_b->script;
    if (!socket_client(form_b->pending_port, std::move(request), ReturnType::Eval, secret))
      return failure("the pending call is gone");
  } else if (auto contained = announce_message(std::get<MessageAnnouncement>(announcement), port, secret)) {
    return failure(std::move(*contained));
  }
  channel_activity::note();

  Connections connections(limits, secret);
  bool listener_usable = true;
  for (;;) {
    const bool spinning = Clock::now() - channel_activity::last() < limits.spin;
    std::vector<net::PollItem>& items = connections.poll_items(listener, listener_usable);
    net::poll_readable(items.data(), items.size(), spinning ? 0 : kPollMilliseconds);
    const bool listener_ready = listener_usable && items[0].ready;
    connections.take_readiness(listener_usable);
    // A listener that is ready but yields nothing is left out of one poll,
    // so that the pass still blocks.
    listener_usable = !listener_ready || connections.accept_all(listener);

    std::string read_error;
    std::optional<ReturnSt> message = connections.read_ready(&read_error);
    if (!read_error.empty()) return failure(std::move(read_error));
    if (message && message->kind != ReturnType::Eval) return {std::move(message), {}};
    if (message) {
      channel_activity::note();
      if (actions.eval_request) actions.eval_request(message->str_value, secret);
      // The action may run a nested wait; this one's connections stayed
      // open meanwhile and are read again now.
      connections.restart_clocks();
    }
    connections.enforce_limits();

    const auto work_start = Clock::now();
    if (actions.tick) actions.tick();
    cef_do_message_loop_work();
    if (Clock::now() - work_start > limits.header_limit / 4) connections.restart_clocks();
    if (actions.abandoned && actions.abandoned()) return failure("no answer can come");
  }
}
