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

#include "socket/message_secret.h"
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

// The secret a form (a) wait announced with its last message.
ChannelSecret announced(const zvtest::RecordingFrame& frame) {
  cef_process_message_t* m = frame.sent.back().message;
  cef_list_value_t* list = m->get_argument_list(m);
  const std::optional<ChannelSecret> secret = announced_secret(list);
  zvtest::release(list);
  EXPECT_TRUE(secret);
  return secret.value_or(ChannelSecret{});
}

// What the genuine peer of a wait knows: its port and its secret.
struct Peer {
  uint16_t port;
  ChannelSecret secret;
  bool send(std::string text, ReturnType kind) const { return socket_client(port, std::move(text), kind, secret); }
};

// Runs a form (a) wait whose tick action is `on_tick(tick number, peer)`.
WaitOutcome wait_with_ticks(std::function<void(int tick, const Peer& peer)> on_tick,
                            std::function<void(std::string_view)> on_eval = {},
                            const WaitLimits& limits = {}) {
  Message message;
  zvtest::RecordingFrame frame;
  int ticks = 0;
  std::optional<Peer> peer;
  WaitActions actions;
  actions.tick = [&] {
    if (!peer) peer = Peer{static_cast<uint16_t>(frame.last_port()), announced(frame)};
    on_tick(++ticks, *peer);
  };
  if (on_eval)
    actions.eval_request = [&](std::string_view text, const ChannelSecret&) { on_eval(text); };
  return wait_return(MessageAnnouncement{message.message, &frame.cef, PID_RENDERER}, actions, limits);
}

TEST(WaitReturnTest, FormAAnnouncesThePortAndTakesTheAnswer) {
  Message message;
  zvtest::RecordingFrame frame;
  int ticks = 0;
  WaitActions actions;
  actions.tick = [&] {
    if (++ticks == 3) {
      EXPECT_TRUE(socket_client(frame.last_port(), "hello", ReturnType::Str, announced(frame)));
    }
  };
  actions.eval_request = [](std::string_view, const ChannelSecret&) { ADD_FAILURE() << "no Eval was sent"; };
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
  EXPECT_FALSE(socket_client(static_cast<uint16_t>(port), "late", ReturnType::Str, announced(frame)));
  // One reference went to the frame; ours is untouched.
  zvtest::release(frame.sent[0].message);
  frame.sent.clear();
  EXPECT_EQ(message.message->base.has_one_ref(&message.message->base), 1);
}

TEST(WaitReturnTest, EveryKindEndsTheWaitWithItsText) {
  const std::pair<uint8_t, std::string> answers[] = {
      {0, "2.5"}, {1, "1"}, {2, ""}, {3, ""}, {4, "\"'0,1'\""}, {5, "boom"}, {9, "odd"}, {255, "x"}};
  for (const auto& [kind, text] : answers) {
    WaitOutcome outcome = wait_with_ticks([&](int tick, const Peer& peer) {
      if (tick == 1) peer.send(text, ReturnType::from_byte(kind));
    });
    ASSERT_TRUE(outcome.answer) << outcome.error;
    EXPECT_EQ(outcome.answer->kind.byte(), kind);
    EXPECT_EQ(outcome.answer->str_value, text);
  }
}

TEST(WaitReturnTest, EvalRequestsAreServedInAcceptOrderBeforeTheAnswer) {
  std::vector<std::string> log;
  WaitOutcome outcome = wait_with_ticks(
      [&](int tick, const Peer& peer) {
        if (tick != 1) return;
        // All three are pending on the listener before it is polled again.
        peer.send("1,first", ReturnType::Eval);
        peer.send("2,second, with commas", ReturnType::Eval);
        peer.send("done", ReturnType::Str);
      },
      [&](std::string_view text) { log.emplace_back(text); });
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->str_value, "done");
  EXPECT_EQ(log, (std::vector<std::string>{"1,first", "2,second, with commas"}));
}

TEST(WaitReturnTest, FormBSendsPortCommaScriptToThePendingCall) {
  zvtest::RawListener pending;
  const std::string script = "f(1, 2), g()";
  const ChannelSecret secret = ChannelSecret::fresh();
  std::string request;
  WaitActions actions;
  actions.tick = [&] {
    if (!request.empty()) return;
    request = zvtest::receive_one(pending.socket);
    ASSERT_GE(request.size(), 16u);
    EXPECT_TRUE(secret.matches(reinterpret_cast<const uint8_t*>(request.data() + 9)))
        << "the request carries the pending call's secret";
    ReadResult read = read_buffer(request);
    ASSERT_TRUE(read.message);
    EXPECT_EQ(read.message->kind, ReturnType::Eval);
    const std::string& text = read.message->str_value;
    const size_t comma = text.find(',');
    ASSERT_NE(comma, std::string::npos);
    EXPECT_EQ(text.substr(comma + 1), script);
    // The answer comes back with the same secret.
    socket_client(static_cast<uint16_t>(std::stoi(text.substr(0, comma))), "42", ReturnType::Double, secret);
  };
  WaitOutcome outcome = wait_return(EvalAnnouncement{pending.port, script, secret}, actions);
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->kind, ReturnType::Double);
  EXPECT_EQ(outcome.answer->str_value, "42");
}

TEST(WaitReturnTest, FormBFailsAtOnceWhenNobodyWaitsOnThePendingPort) {
  int ticks = 0;
  WaitActions actions;
  actions.tick = [&] { ++ticks; };
  WaitOutcome outcome =
      wait_return(EvalAnnouncement{zvtest::unused_port(), "1", ChannelSecret::fresh()}, actions);
  EXPECT_FALSE(outcome.answer);
  EXPECT_FALSE(outcome.error.empty());
  EXPECT_EQ(ticks, 0);
}

TEST(WaitReturnTest, NestedWaitsUnwindInReverseOrder) {
  // Each wait's Eval request starts the next wait; the innermost one
  // answers all three ports, outermost first, so the outer answers wait in
  // their listeners' backlogs while the inner waits run.
  std::vector<Peer> peers;
  std::vector<std::string> ended;
  std::function<void(int depth)> run = [&](int depth) {
    WaitOutcome outcome = wait_with_ticks(
        [&, depth](int tick, const Peer& peer) {
          if (tick != 1) return;
          peers.push_back(peer);
          if (depth < 3) {
            peer.send("0,nest", ReturnType::Eval);
            return;
          }
          for (int level = 1; level <= 3; ++level)
            peers[level - 1].send("answer " + std::to_string(level), ReturnType::Str);
        },
        [&, depth](std::string_view) { run(depth + 1); });
    ASSERT_TRUE(outcome.answer) << outcome.error;
    ended.push_back(outcome.answer->str_value);
  };
  run(1);
  EXPECT_EQ(ended, (std::vector<std::string>{"answer 3", "answer 2", "answer 1"}));
  ASSERT_EQ(peers.size(), 3u);
  EXPECT_NE(peers[0].port, peers[1].port);
  EXPECT_NE(peers[1].port, peers[2].port);
}

TEST(WaitReturnTest, StrangersAreNeitherBelievedNorAbleToBlockTheWait) {
  // What another local process may send to a listener it found. None of it
  // may end the wait, reach the eval-request action or keep the genuine
  // answer out.
  struct Stranger {
    const char* what;
    std::function<std::string(const Peer&)> bytes;
    bool stays_open;
  };
  auto with = [](std::string text, ReturnType kind, ChannelSecret secret) {
    return [=](const Peer&) { return encode_return_message(text, kind, secret); };
  };
  const Stranger strangers[] = {
      {"forged answer, zero padding", with("forged", ReturnType::Str, ChannelSecret{}), false},
      {"forged answer, random padding", with("forged", ReturnType::Str, ChannelSecret::fresh()), false},
      {"injected Eval, zero padding", with("1,evil()", ReturnType::Eval, ChannelSecret{}), false},
      {"injected Eval, random padding", with("1,evil()", ReturnType::Eval, ChannelSecret::fresh()), false},
      {"garbage", [](const Peer&) { return std::string(1 << 20, '\x5A'); }, false},
      {"short header", [](const Peer&) { return std::string("\x01\x02\x03\x04\x05"); }, false},
      {"connects and sends nothing", [](const Peer&) { return std::string(); }, true},
      {"half a header, then stalls", [](const Peer&) { return std::string(8, '\x07'); }, true},
      // Malformed although the secret is right: dropped, never believed.
      {"right secret, no zero",
       [](const Peer& p) { return encode_return_message("abc", ReturnType::Str, p.secret).substr(0, 19); }, false},
      {"right secret, then stalls",
       [](const Peer& p) { return encode_return_message("abc", ReturnType::Str, p.secret).substr(0, 18); }, true},
  };
  for (const Stranger& stranger : strangers) {
    SCOPED_TRACE(stranger.what);
    net::Socket hostile;
    WaitOutcome outcome = wait_with_ticks(
        [&](int tick, const Peer& peer) {
          if (tick == 1) {
            hostile = zvtest::connect_and_send(peer.port, stranger.bytes(peer));
            if (!stranger.stays_open) hostile.close();
          } else if (tick == 3) {
            peer.send("real", ReturnType::Str);
          }
        },
        [](std::string_view) { ADD_FAILURE() << "a stranger's message taken for an Eval request"; });
    ASSERT_TRUE(outcome.answer) << outcome.error;
    EXPECT_EQ(outcome.answer->kind, ReturnType::Str);
    EXPECT_EQ(outcome.answer->str_value, "real");
  }
}

TEST(WaitReturnTest, LargeAnswerArrivesWholeThroughAFloodOfIdleConnections) {
  // 200 idle connections are open before the answer, and a stranger keeps
  // reopening them while it arrives: the answer, which shows its header at
  // once, is read side by side with them and never dropped.
  constexpr int kIdle = 200;
  std::string text(24 << 20, ' ');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  std::atomic<bool> stop{false};
  std::thread flood, sender;
  WaitOutcome outcome = wait_with_ticks([&](int tick, const Peer& peer) {
    if (tick != 1) return;
    // Opened beside the wait, which accepts them meanwhile.
    flood = std::thread([&stop, port = peer.port] {
      std::string error;
      std::vector<net::Socket> idle;
      for (int i = 0; i < kIdle; ++i) idle.push_back(net::connect_loopback(port, &error));
      for (size_t i = 0; !stop; i = (i + 1) % idle.size()) idle[i] = net::connect_loopback(port, &error);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    sender = std::thread([&text, peer] { EXPECT_TRUE(peer.send(text, ReturnType::Str)); });
  });
  stop = true;
  flood.join();
  sender.join();
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->str_value.size(), text.size());
  EXPECT_TRUE(outcome.answer->str_value == text);
}

TEST(WaitReturnTest, SilentConnectionIsDroppedAfterTheHeaderLimit) {
  WaitLimits limits;
  limits.header_limit = std::chrono::milliseconds(100);
  net::Socket silent;
  bool dropped = false;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  WaitOutcome outcome = wait_with_ticks(
      [&](int tick, const Peer& peer) {
        if (tick == 1) {
          silent = zvtest::connect_and_send(peer.port, "");
          ASSERT_TRUE(net::set_non_blocking(silent));
          return;
        }
        char byte;
        const net::IoResult read = net::receive_some(silent, &byte, 1);
        dropped = read.status == net::IoStatus::PeerReset ||
                  (read.status == net::IoStatus::Done && read.bytes == 0);
        if (dropped || std::chrono::steady_clock::now() > give_up) peer.send("after drop", ReturnType::Str);
      },
      {}, limits);
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_TRUE(dropped);
}

TEST(WaitReturnTest, CapOnConnectionsWithoutHeaderSparesTheAnswer) {
  WaitLimits limits;
  limits.max_without_header = 4;
  std::vector<net::Socket> trickling;
  WaitOutcome outcome = wait_with_ticks(
      [&](int tick, const Peer& peer) {
        if (tick <= 10) trickling.push_back(zvtest::connect_and_send(peer.port, "\x01"));
        if (tick == 10) peer.send("still heard", ReturnType::Str);
      },
      {}, limits);
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->str_value, "still heard");
}

TEST(WaitReturnTest, EndConditionIsAskedWhileConnectionsKeepArriving) {
  Message message;
  zvtest::RecordingFrame frame;
  std::atomic<bool> stop{false};
  std::thread flood;
  int asked = 0;
  WaitActions actions;
  actions.tick = [&] {
    if (flood.joinable()) return;
    flood = std::thread([&stop, port = static_cast<uint16_t>(frame.last_port())] {
      std::string error;
      while (!stop) {
        net::Socket connection = net::connect_loopback(port, &error);
      }
    });
  };
  actions.abandoned = [&] { return ++asked == 20; };
  WaitOutcome outcome = wait_return(MessageAnnouncement{message.message, &frame.cef, PID_RENDERER}, actions);
  stop = true;
  flood.join();
  EXPECT_FALSE(outcome.answer);
  EXPECT_EQ(asked, 20);
}

TEST(WaitReturnTest, EndlessSenderDoesNotStopTheTicks) {
  // Even a sender that knows the secret cannot hold the waiting thread: the
  // flood gives up after kFloodLimit bytes and must be stopped earlier by
  // ticks, which cannot happen while the wait reads nothing but it.
  constexpr size_t kFloodLimit = 128u << 20;
  std::atomic<bool> stop{false};
  std::atomic<size_t> flooded{0};
  std::thread flood;
  int ticks_while_flooding = 0;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  WaitOutcome outcome = wait_with_ticks([&](int tick, const Peer& peer) {
    if (tick == 1) {
      flood = std::thread([&, peer] {
        const ReturnHeader header = encode_return_header(kFloodLimit, ReturnType::Str, peer.secret);
        net::Socket connection = zvtest::connect_and_send(peer.port, {header.data(), header.size()});
        const std::string chunk(64 * 1024, 'z');
        while (!stop && flooded < kFloodLimit) {
          const net::IoResult sent = net::send_some(connection, chunk.data(), chunk.size());
          if (sent.status == net::IoStatus::Done) flooded += sent.bytes;
          else if (sent.status != net::IoStatus::Interrupted) break;
        }
      });
      return;
    }
    // The wait keeps ticking while far more than one read budget streams in.
    if (flooded > (16u << 20)) ++ticks_while_flooding;
    if (ticks_while_flooding == 10 || std::chrono::steady_clock::now() > give_up)
      peer.send("through", ReturnType::Str);
  });
  const bool flood_ran_out = flooded >= kFloodLimit;
  stop = true;
  flood.join();
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->str_value, "through");
  EXPECT_GE(ticks_while_flooding, 10);
  EXPECT_FALSE(flood_ran_out);
}

TEST(WaitReturnTest, LargeTextArrivesWhole) {
  std::string text(4 << 20, ' ');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  std::thread sender;
  WaitOutcome outcome = wait_with_ticks([&](int tick, const Peer& peer) {
    if (tick == 1) sender = std::thread([&text, peer] { peer.send(text, ReturnType::Str); });
  });
  sender.join();
  ASSERT_TRUE(outcome.answer) << outcome.error;
  EXPECT_EQ(outcome.answer->str_value.size(), text.size());
  EXPECT_TRUE(outcome.answer->str_value == text);
}

}  // namespace
