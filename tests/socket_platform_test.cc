// The platform socket layer: connects that end within their bound, and
// sockets that child processes do not inherit. Also run as a Windows program
// under Wine.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "socket/socket_client.h"
#include "support/loopback_peer.h"
#include "utils/platform/socket.h"

#ifdef _WIN32
#include <winsock2.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace {

namespace net = utils::platform;
using Clock = std::chrono::steady_clock;

#ifdef _WIN32
// Starts the probe program with handle inheritance on and the handle values
// on its command line; its exit code counts those that are open there.
int open_in_child(const std::vector<net::Socket::Native>& handles) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring probe(self, length);
  probe.resize(probe.find_last_of(L"\\/") + 1);
  probe += L"socket_handle_probe.exe";
  std::wstring command = L"\"" + probe + L"\"";
  for (net::Socket::Native handle : handles) command += L" " + std::to_wstring(handle);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(probe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

void allow_inheritance(const net::Socket& socket) {
  SetHandleInformation(reinterpret_cast<HANDLE>(socket.native()), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
}
#else
// Runs a shell that counts how many of the descriptors it has.
int open_in_child(const std::vector<net::Socket::Native>& handles) {
  std::vector<std::string> args = {"sh", "-c",
                                   "n=0; for fd; do [ -e /proc/$$/fd/$fd ] && n=$((n+1)); done; exit $n", "sh"};
  for (net::Socket::Native handle : handles) args.push_back(std::to_string(handle));
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

void allow_inheritance(const net::Socket& socket) {
  const int fd = static_cast<int>(socket.native());
  fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) & ~FD_CLOEXEC);
}
#endif

TEST(SocketPlatformTest, ChildProcessesInheritNoSocket) {
  zvtest::RawListener listener;
  std::string error;
  net::Socket client = net::connect_loopback(listener.port, &error);
  net::Socket accepted = net::accept_connection(listener.socket);
  ASSERT_TRUE(client.valid()) << error;
  ASSERT_TRUE(accepted.valid());
  const std::vector<net::Socket::Native> all = {listener.socket.native(), client.native(), accepted.native()};
  EXPECT_EQ(open_in_child(all), 0) << "listener, connected and accepted sockets";
  // The probe does find one that was made inheritable on purpose.
  allow_inheritance(accepted);
  EXPECT_EQ(open_in_child(all), 1);
}

TEST(SocketPlatformTest, ConnectToAPortWithoutListenerFailsAtOnce) {
  const std::pair<const char*, std::function<bool(uint16_t)>> cases[] = {
      {"connect_loopback",
       [](uint16_t port) {
         std::string error;
         const bool connected = net::connect_loopback(port, &error).valid();
         EXPECT_FALSE(error.empty());
         return connected;
       }},
      {"socket_client", [](uint16_t port) { return socket_client(port, "late answer", ReturnType::Str); }},
  };
  for (const auto& [name, connect] : cases) {
    const uint16_t port = zvtest::unused_port();
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(connect(port)) << name;
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(600)) << name;
  }
}

TEST(SocketPlatformTest, ConnectToAListenerThatNeverAcceptsEndsWithinItsBound) {
  // Once the listen queue is full, Linux drops further SYNs and a blocking
  // connect would retry them for minutes (Windows refuses, after retries).
  std::string error;
  net::Socket listener = net::listen_loopback(1, &error);
  uint16_t port = 0;
  ASSERT_TRUE(listener.valid() && net::local_port(listener, &port)) << error;
  std::vector<net::Socket> queued;
  bool failed = false;
  for (int attempt = 0; attempt < 64 && !failed; ++attempt) {
    const Clock::time_point start = Clock::now();
    net::Socket connection = net::connect_loopback(port, &error);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3)) << "attempt " << attempt;
    failed = !connection.valid();
    queued.push_back(std::move(connection));
  }
  EXPECT_TRUE(failed) << "a listener that never accepts takes only a few connections";
}

}  // namespace
