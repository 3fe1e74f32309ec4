// wait_return over real loopback connections: both announcement forms,
// Eval requests inside a wait, nested waits, and local peers that send
// garbage or nothing. The tick action plays the answering side, since the
// wait runs on the test's own thread.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "socket/socket_client.h"
#include "socket/wait_return.h"
#include "support/loopback_peer.h"
#include "support/recording_frame.h"
#include "utils/cef_string.h"

namespace {

using namespace std::string_literals;
namespace net = utils::platform;

// A process message for form (a), released at the end of the test.
struct Message {
  Message() : message(cef_process_message_create(utils::cef_string("eval").get())) {}
  ~Message() { zvtest::release(message); }
  cef_process_message_t* message;
};

// Runs a form (a) wait whose tick action is `on_tick(tick number, port)`.
WaitOutcome wait_with_ticks(std::function<void(int tick, uint16_t port)> on_tick,
                            std::function<void(std::string_view)> on_eval = {},
                            const WaitLimits& limits = {}) {
  Message message;
  zvtest::RecordingFrame frame;
  int ticks = 0;
  WaitActions actions;
  actions.tick = [&] { on_tick(++ticks, static_cast<uint16_t>(frame.last_port())); };
  actions.eval_request = std::move(on_eval);
  return wait_return(MessageAnnouncement{message.message, &frame.cef, PID_RENDERER}, actions, limits);
}

TEST(WaitReturnTest, FormAAnnouncesThePortAndTakesTheAnswer) {
  Message message;
  zvtest::RecordingFrame frame;
  int ticks = 0;
  WaitActions actions;
  actions.tick = [&] {
    if (++ticks == 3) {
      EXPECT_TRUE(socket_client(frame.last_port(), "hello", ReturnType::Str));
    }
  };
  actions.eval_request = [](std::string_view) { ADD_FAILURE() << "no Eval was sent"; };
  WaitOutcome outcome = wait_return(MessageAnnouncement{message.message, &frame.cef, PID_RENDERER}, actions);

  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->kind, ReturnType::Str);
  EXPECT_EQ(outcome.answer->str_value, "hello");
  EXPECT_GE(ticks, 3);
  ASSERT_EQ(frame.sent.size(), 1u);
  EXPECT_EQ(frame.sent[0].target, PID_RENDERER);
  EXPECT_EQ(frame.sent[0].message, message.message);
  const int port = frame.last_port();
  EXPECT_GT(port, 0);
  // The listener is gone with the wait.
  EXPECT_FALSE(socket_client(static_cast<uint16_t>(port), "late", ReturnType::Str));
  // One reference went to the frame; ours is untouched.
  zvtest::release(frame.sent[0].message);
  frame.sent.clear();
  EXPECT_EQ(message.message->base.has_one_ref(&message.message->base), 1);
}

TEST(WaitReturnTest, EveryKindEndsTheWaitWithItsText) {
  const std::pair<uint8_t, std::string> answers[] = {
      {0, "2.5"}, {1, "1"}, {2, ""}, {3, ""}, {4, "\"'0,1'\""}, {5, "boom"}, {9, "odd"}, {255, "x"}};
  for (const auto& [kind, text] : answers) {
    WaitOutcome outcome = wait_with_ticks([&](int tick, uint16_t port) {
      if (tick == 1) socket_client(port, text, ReturnType::from_byte(kind));
    });
    ASSERT_TRUE(outcome.answer) << outcome.error;
    EXPECT_EQ(outcome.answer->kind.byte(), kind);
    EXPECT_EQ(outcome.answer->str_value, text);
  }
}

TEST(WaitReturnTest, EvalRequestsAreServedInAcceptOrderBeforeTheAnswer) {
  std::vector<std::string> log;
  WaitOutcome outcome = wait_with_ticks(
      [&](int tick, uint16_t port) {
        if (tick != 1) return;
        // All three are pending on the listener before it is polled again.
        socket_client(port, "1,first", ReturnType::Eval);
        socket_client(port, "2,second, with commas", ReturnType::Eval);
        socket_client(port, "done", ReturnType::Str);
      },
      [&](std::string_view text) { log.emplace_back(text); });
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->str_value, "done");
  EXPECT_EQ(log, (std::vector<std::string>{"1,first", "2,second, with commas"}));
}

TEST(WaitReturnTest, FormBSendsPortCommaScriptToThePendingCall) {
  zvtest::RawListener pending;
  const std::string script = "f(1, 2), g()";
  std::string request;
  WaitActions actions;
  actions.tick = [&] {
    if (!request.empty()) return;
    request = zvtest::receive_one(pending.socket);
    ReadResult read = read_buffer(request);
    ASSERT_TRUE(read.message);
    EXPECT_EQ(read.message->kind, ReturnType::Eval);
    const std::string& text = read.message->str_value;
    const size_t comma = text.find(',');
    ASSERT_NE(comma, std::string::npos);
    EXPECT_EQ(text.substr(comma + 1), script);
    socket_client(static_cast<uint16_t>(std::stoi(text.substr(0, comma))), "42", ReturnType::Double);
  };
  WaitOutcome outcome = wait_return(EvalAnnouncement{pending.port, script}, actions);
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->kind, ReturnType::Double);
  EXPECT_EQ(outcome.answer->str_value, "42");
}

TEST(WaitReturnTest, NestedWaitsUnwindInReverseOrder) {
  // Each wait's Eval request starts the next wait; the innermost one
  // answers all three ports, outermost first, so the outer answers wait in
  // their listeners' backlogs while the inner waits run.
  std::vector<uint16_t> ports;
  std::vector<std::string> ended;
  std::function<void(int depth)> run = [&](int depth) {
    WaitOutcome outcome = wait_with_ticks(
        [&, depth](int tick, uint16_t port) {
          if (tick != 1) return;
          ports.push_back(port);
          if (depth < 3) {
            socket_client(port, "0,nest", ReturnType::Eval);
            return;
          }
          for (int level = 1; level <= 3; ++level)
            socket_client(ports[level - 1], "answer " + std::to_string(level), ReturnType::Str);
        },
        [&, depth](std::string_view) { run(depth + 1); });
    ASSERT_TRUE(outcome.answer) << outcome.error;
    ended.push_back(outcome.answer->str_value);
  };
  run(1);
  EXPECT_EQ(ended, (std::vector<std::string>{"answer 3", "answer 2", "answer 1"}));
  ASSERT_EQ(ports.size(), 3u);
  EXPECT_NE(ports[0], ports[1]);
  EXPECT_NE(ports[1], ports[2]);
}

TEST(WaitReturnTest, HostilePeersNeitherEndNorBlockTheWait) {
  struct Peer {
    const char* what;
    std::string bytes;
    bool stays_open;
  };
  const Peer peers[] = {
      {"short header", "\x01\x02\x03\x04\x05", false},
      {"no zero", zvtest::header_then(3, 2, "abc"), false},
      {"two zeros", zvtest::header_then(3, 2, "a\0b\0"s), false},
      {"connects and sends nothing", "", true},
      {"half a header, then stalls", std::string(8, '\x07'), true},
      {"a valid header, then stalls", zvtest::header_then(1000, 2, "abc"), true},
  };
  for (const Peer& peer : peers) {
    SCOPED_TRACE(peer.what);
    net::Socket hostile;
    WaitOutcome outcome = wait_with_ticks(
        [&](int tick, uint16_t port) {
          if (tick == 1) {
            hostile = zvtest::connect_and_send(port, peer.bytes);
            if (!peer.stays_open) hostile.close();
          } else if (tick == 3) {
            socket_client(port, "real", ReturnType::Str);
          }
        },
        [](std::string_view) { ADD_FAILURE() << "garbage taken for an Eval request"; });
    ASSERT_TRUE(outcome.answer) << outcome.error;
    EXPECT_EQ(outcome.answer->str_value, "real");
  }
}

TEST(WaitReturnTest, SilentConnectionIsDroppedAfterTheIdleLimit) {
  WaitLimits limits;
  limits.idle_limit = std::chrono::milliseconds(100);
  net::Socket silent;
  bool dropped = false;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  WaitOutcome outcome = wait_with_ticks(
      [&](int tick, uint16_t port) {
        if (tick == 1) {
          silent = zvtest::connect_and_send(port, "");
          ASSERT_TRUE(net::set_non_blocking(silent));
          return;
        }
        char byte;
        const net::IoResult read = net::receive_some(silent, &byte, 1);
        dropped = read.status == net::IoStatus::PeerReset ||
                  (read.status == net::IoStatus::Done && read.bytes == 0);
        if (dropped || std::chrono::steady_clock::now() > give_up)
          socket_client(port, "after drop", ReturnType::Str);
      },
      {}, limits);
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_TRUE(dropped);
}

TEST(WaitReturnTest, TricklingPeersCannotShutTheAnswerOut) {
  WaitLimits limits;
  limits.max_open_connections = 4;
  std::vector<net::Socket> silent;
  WaitOutcome outcome = wait_with_ticks(
      [&](int tick, uint16_t port) {
        if (tick <= 10) silent.push_back(zvtest::connect_and_send(port, "\x01"));
        if (tick == 10) socket_client(port, "still heard", ReturnType::Str);
      },
      {}, limits);
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->str_value, "still heard");
}

TEST(WaitReturnTest, EndlessSenderDoesNotStopTheTicks) {
  // The flood gives up after kFloodLimit bytes; it must be stopped earlier
  // by ticks, which cannot happen while the wait reads nothing but it.
  constexpr size_t kFloodLimit = 128u << 20;
  std::atomic<bool> stop{false};
  std::atomic<size_t> flooded{0};
  std::thread flood;
  int ticks_while_flooding = 0;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  WaitOutcome outcome = wait_with_ticks([&](int tick, uint16_t port) {
    if (tick == 1) {
      flood = std::thread([&, port] {
        net::Socket peer = zvtest::connect_and_send(port, "");
        const std::string chunk(64 * 1024, 'z');
        while (!stop && flooded < kFloodLimit) {
          const net::IoResult sent = net::send_some(peer, chunk.data(), chunk.size());
          if (sent.status == net::IoStatus::Done) flooded += sent.bytes;
          else if (sent.status != net::IoStatus::Interrupted) break;
        }
      });
      return;
    }
    // The wait keeps ticking while far more than one read budget streams in.
    if (flooded > (8u << 20)) ++ticks_while_flooding;
    if (ticks_while_flooding == 50 || std::chrono::steady_clock::now() > give_up)
      socket_client(port, "through", ReturnType::Str);
  });
  const bool flood_ran_out = flooded >= kFloodLimit;
  stop = true;
  flood.join();
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->str_value, "through");
  EXPECT_GE(ticks_while_flooding, 50);
  EXPECT_FALSE(flood_ran_out);
}

TEST(WaitReturnTest, LargeTextArrivesWhole) {
  std::string text(4 << 20, ' ');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  std::thread sender;
  WaitOutcome outcome = wait_with_ticks([&](int tick, uint16_t port) {
    if (tick == 1) sender = std::thread([&text, port] { socket_client(port, text, ReturnType::Str); });
  });
  sender.join();
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->str_value.size(), text.size());
  EXPECT_TRUE(outcome.answer->str_value == text);
}

}  // namespace
