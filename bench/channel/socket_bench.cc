// One return message: socket_client to a waiting wait_return (fresh
// listener, announcement, poll, accept, read, decode), against a bare
// connect-send-close of the same bytes to a listener that accepts and reads
// them.

#include <benchmark/benchmark.h>

#include "socket/message_secret.h"
#include "socket/return_msg.h"
#include "socket/socket_client.h"
#include "socket/wait_return.h"
#include "support/recording_frame.h"
#include "utils/cef_string.h"
#include "utils/platform/socket.h"

namespace {

namespace net = utils::platform;

const std::string kText = "\"'0,1';'2,a result of moderate length';'1,1'\"";

void BM_WaitReturnMessage(benchmark::State& state) {
  cef_process_message_t* message = cef_process_message_create(utils::cef_string("eval").get());
  zvtest::RecordingFrame frame;
  for (auto _ : state) {
    bool sent = false;
    WaitActions actions;
    actions.tick = [&] {
      if (sent) return;
      cef_list_value_t* list = frame.sent.back().message->get_argument_list(frame.sent.back().message);
      const ChannelSecret secret = announced_secret(list).value_or(ChannelSecret{});
      zvtest::release(list);
      sent = socket_client(static_cast<uint16_t>(frame.last_port()), kText, ReturnType::Array, secret);
    };
    WaitOutcome outcome = wait_return(MessageAnnouncement{message, &frame.cef, PID_RENDERER}, actions);
    benchmark::DoNotOptimize(outcome.answer->str_value.data());
    for (auto& s : frame.sent) zvtest::release(s.message);
    frame.sent.clear();
  }
  zvtest::release(message);
}

void BM_BareConnectSendClose(benchmark::State& state) {
  std::string error;
  net::Socket listener = net::listen_loopback(128, &error);
  uint16_t port = 0;
  net::local_port(listener, &port);
  const std::string bytes = encode_return_message(kText, ReturnType::Array, ChannelSecret{});
  char buffer[4096];
  for (auto _ : state) {
    {
      net::Socket client = net::connect_loopback(port, &error);
      net::send_some(client, bytes.data(), bytes.size());
    }
    net::Socket server = net::accept_connection(listener);
    std::string received;
    for (;;) {
      const net::IoResult read = net::receive_some(server, buffer, sizeof buffer);
      if (read.status != net::IoStatus::Done || read.bytes == 0) break;
      received.append(buffer, read.bytes);
    }
    benchmark::DoNotOptimize(received.data());
  }
}

BENCHMARK(BM_WaitReturnMessage);
BENCHMARK(BM_BareConnectSendClose);

}  // namespace
