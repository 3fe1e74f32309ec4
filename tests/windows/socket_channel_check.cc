// The return channel on Winsock, run under Wine by CTest: the Windows half
// of the platform socket layer with the real socket module on top. A plain
// console program (no test framework in the cross build); it prints each
// failed check and exits with 1 when any failed.

#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "socket/return_msg.h"
#include "socket/socket_client.h"
#include "socket/wait_return.h"
#include "utils/platform/socket.h"

// The engine is not part of this program; each poll's unit of work is empty.
extern "C" CEF_EXPORT void cef_do_message_loop_work(void) {}

namespace {

namespace net = utils::platform;

int failures = 0;

void check(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++failures;
  }
}

std::string read_to_end(const net::Socket& connection) {
  std::string bytes;
  char chunk[4096];
  for (;;) {
    const net::IoResult read = net::receive_some(connection, chunk, sizeof chunk);
    if (read.status == net::IoStatus::WouldBlock || read.status == net::IoStatus::Interrupted) continue;
    if (read.status != net::IoStatus::Done || read.bytes == 0) return bytes;
    bytes.append(chunk, read.bytes);
  }
}

// A form (b) wait announced to `pending`. On the first tick the Eval
// request is taken from `pending` and its port handed to `on_tick` from the
// second tick on.
const ChannelSecret kSecret = ChannelSecret::fresh();

WaitOutcome wait_on(const net::Socket& pending, uint16_t pending_port,
                    const std::function<void(int tick, uint16_t port)>& on_tick,
                    std::function<void(std::string_view)> on_eval = {}) {
  int ticks = 0;
  uint16_t port = 0;
  WaitActions actions;
  if (on_eval) actions.eval_request = [&](std::string_view text, const ChannelSecret&) { on_eval(text); };
  actions.tick = [&] {
    if (++ticks == 1) {
      net::Socket request = net::accept_connection(pending);
      ReadResult decoded = read_buffer(read_to_end(request));
      const bool ok = decoded.message && decoded.message->kind == ReturnType::Eval &&
                      decoded.message->str_value.find(",script()") != std::string::npos;
      check(ok, "Eval request of form (b)");
      if (ok) port = static_cast<uint16_t>(std::stoi(decoded.message->str_value));
      return;
    }
    on_tick(ticks, port);
  };
  return wait_return(EvalAnnouncement{pending_port, "script()", kSecret}, actions);
}

}  // namespace

int main() {
  std::string error;
  net::Socket pending = net::listen_loopback(16, &error);
  uint16_t pending_port = 0;
  check(pending.valid() && net::local_port(pending, &pending_port), "listener bound");

  {
    net::Socket gone = net::listen_loopback(1, &error);
    uint16_t port = 0;
    net::local_port(gone, &port);
    gone.close();
    check(!socket_client(port, "lost", ReturnType::Str, kSecret), "no listener gives false");
  }

  // Garbage and a silent peer first, then the answer.
  net::Socket silent;
  WaitOutcome outcome = wait_on(pending, pending_port, [&](int tick, uint16_t port) {
    if (tick == 2) {
      // A forged answer without the secret, garbage and a silent peer.
      socket_client(port, "forged", ReturnType::Str, ChannelSecret{});
      net::Socket garbage = net::connect_loopback(port, &error);
      net::send_some(garbage, "\x01\x02\x03", 3);
      silent = net::connect_loopback(port, &error);
    } else if (tick == 4) {
      socket_client(port, "answer", ReturnType::Str, kSecret);
    }
  });
  check(outcome.answer && outcome.answer->str_value == "answer", "answer after hostile peers");

  // An Eval request served before the answer on the same listener.
  std::string served;
  outcome = wait_on(
      pending, pending_port,
      [&](int tick, uint16_t port) {
        if (tick != 2) return;
        socket_client(port, "7,inner()", ReturnType::Eval, kSecret);
        socket_client(port, "2.5", ReturnType::Double, kSecret);
      },
      [&](std::string_view text) { served = text; });
  check(served == "7,inner()", "Eval request served");
  check(outcome.answer && outcome.answer->kind == ReturnType::Double && outcome.answer->str_value == "2.5",
        "answer after the Eval request");

  // A large answer, written by another thread while the wait reads it.
  const std::string large(3 << 20, 'w');
  std::thread sender;
  outcome = wait_on(pending, pending_port, [&](int tick, uint16_t port) {
    if (tick == 2) sender = std::thread([&large, port] { socket_client(port, large, ReturnType::Array, kSecret); });
  });
  if (sender.joinable()) sender.join();
  check(outcome.answer && outcome.answer->kind == ReturnType::Array && outcome.answer->str_value == large,
        "large answer whole");

  if (failures == 0) std::printf("ok\n");
  return failures == 0 ? 0 : 1;
}
