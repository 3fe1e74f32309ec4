#include "browser/renderer_host.h"

#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "browser/browser.h"
#include "browser/js_dialogs.h"
#include "command_line.h"
#include "engine.h"
#include "ipc/messages.h"
#include "ipc/process_message_codec.h"
#include "log.h"
#include "string_util.h"

extern char** environ;

namespace cefwork {
namespace {

// The descriptor number under which a renderer finds its end of the
// channel.
constexpr int kRendererChannelFd = 3;

}  // namespace

RendererHost::RendererHost(int browser_id, std::weak_ptr<BrowserCore> core)
    : browser_id_(browser_id), core_(std::move(core)) {}

RendererHost::~RendererHost() {
  channel_.reset();
  // The renderer ends when its channel does; one that does not is killed.
  if (pid_ > 0 && !reaped_ && reap(2000) < 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

int RendererHost::reap(int milliseconds) {
  int status = 0;
  for (int waited = 0;; ++waited) {
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_ || (r < 0 && errno != EINTR)) {
      reaped_ = true;
      return status;
    }
    if (waited >= milliseconds) return -1;
    usleep(1000);
  }
}

std::shared_ptr<RendererHost> RendererHost::launch(const std::shared_ptr<BrowserCore>& core) {
  Engine& engine = Engine::get();
  const std::string program = engine.setting_utf8(engine.settings().browser_subprocess_path);
  if (program.empty()) return nullptr;

  // The child's command line, which the application may extend.
  CommandLine* line = new CommandLine();
  const Ref<cef_command_line_t> owned = Ref<cef_command_line_t>::adopt(&line->cef);
  {
    const std::vector<const char*> argv = {program.c_str()};
    line->init_from_argv(1, argv.data());
  }
  line->append_switch(u"type", u"renderer");
  line->append_switch(u"renderer-client-id", utf8_to_utf16(std::to_string(core->id)));
  line->append_switch(u"cefwork-channel-fd", utf8_to_utf16(std::to_string(kRendererChannelFd)));
  if (cef_browser_process_handler_t* h = engine.browser_process_handler();
      h && h->on_before_child_process_launch)
    h->on_before_child_process_launch(h, owned.share());

  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return nullptr;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], kRendererChannelFd);
  const std::vector<std::string> args = line->argv();
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (rc != 0) {
    ::close(fds[0]);
    log(LOGSEVERITY_ERROR, "cannot start the renderer " + program + ": " + std::strerror(rc));
    return nullptr;
  }

  auto host = std::shared_ptr<RendererHost>(new RendererHost(core->id, core));
  host->pid_ = pid;
  host->alive_->store(true);
  std::weak_ptr<RendererHost> weak = host;
  host->channel_ = std::make_unique<ipc::Channel>(
      fds[0],
      [weak](uint32_t type, std::string payload) {
        Engine::get().post([weak, type, payload = std::move(payload)]() mutable {
          if (auto h = weak.lock()) h->received(type, std::move(payload));
        });
      },
      [weak, alive = host->alive_] {
        // The renderer is gone (or we ended the connection). This thread
        // never takes hold of the host: were it the last holder, the host
        // and this channel would be destroyed under its feet.
        alive->store(false);
        Engine::get().post([weak] {
          if (auto h = weak.lock()) h->report_end();
        });
      });
  log(LOGSEVERITY_INFO, "renderer " + std::to_string(pid) + " started for browser " +
                            std::to_string(core->id));
  return host;
}

void RendererHost::commit_document(uint32_t number, const std::string& url,
                                   const std::string& source, bool javascript) {
  ipc::Writer w;
  w.i32(browser_id_).u32(number).bytes(url).bytes(source).u32(javascript ? 1 : 0);
  if (channel_) channel_->send(ipc::kCommitDocument, w.data());
}

void RendererHost::execute_script(const cef_string_t* code, const cef_string_t* script_url,
                                  int start_line) {
  ipc::Writer w;
  w.i32(browser_id_).u16(view(code)).u16(view(script_url)).i32(start_line);
  if (channel_) channel_->send(ipc::kExecuteScript, w.data());
}

void RendererHost::send_process_message(cef_process_message_t* message) {
  const Ref<cef_process_message_t> owned = Ref<cef_process_message_t>::adopt(message);
  if (!owned || !channel_) return;
  ipc::Writer w;
  w.i32(browser_id_);
  ipc::write_process_message(w, owned.get());
  channel_->send(ipc::kProcessMessage, w.data());
}

void RendererHost::ping() {
  ipc::Writer w;
  w.i32(browser_id_).u32(++pings_);
  if (channel_) channel_->send(ipc::kPing, w.data());
}

void RendererHost::ask_objects() {
  ipc::Writer w;
  w.i32(browser_id_);
  if (channel_) channel_->send(ipc::kObjects, w.data());
}

void RendererHost::close() {
  if (!channel_) return;
  ipc::Writer w;
  w.i32(browser_id_);
  channel_->send(ipc::kCloseBrowser, w.data());
}

void RendererHost::edit_command(ipc::EditCommand command) {
  ipc::Writer w;
  w.i32(browser_id_).u32(static_cast<uint32_t>(command));
  if (channel_) channel_->send(ipc::kEditCommand, w.data());
}

void RendererHost::answer_js_dialog(uint32_t id, bool success, const cef_string_t* input) {
  ipc::Writer w;
  w.i32(browser_id_).u32(id).u32(success ? 1 : 0).u32(input ? 1 : 0).u16(view(input));
  if (channel_) channel_->send(ipc::kJsDialogReply, w.data());
}

void RendererHost::received(uint32_t type, std::string payload) {
  auto core = core_.lock();
  if (!core || core->closed) return;
  ipc::Reader r(payload);
  r.i32();  // browser id: one renderer serves one browser
  if (type == ipc::kPong) {
    ++pongs_;
    return;
  }
  if (type == ipc::kObjectsReply) {
    const int contexts = r.i32();
    const int values = r.i32();
    if (r.ok()) last_objects_ = {contexts, values};
    ++objects_replies_;
    return;
  }
  if (type == ipc::kDocumentLoaded) {
    const uint32_t number = r.u32();
    if (r.ok()) core->document_loaded(number);
    return;
  }
  if (type == ipc::kJsDialog) {
    const uint32_t id = r.u32();
    const auto dialog_type = static_cast<cef_jsdialog_type_t>(r.i32());
    const std::u16string message = r.u16();
    const std::u16string default_text = r.u16();
    const std::string origin = r.bytes();
    if (r.ok()) run_js_dialog(*core, id, dialog_type, message, default_text, origin);
    return;
  }
  if (type != ipc::kProcessMessage) return;
  cef_process_message_t* message = ipc::read_process_message(r);
  if (!message) return;
  core->deliver_process_message(message);
}

void RendererHost::report_end() {
  if (reaped_) return;
  const int status = reap(1000);
  log(LOGSEVERITY_INFO, "renderer " + std::to_string(pid_) + " of browser " +
                            std::to_string(browser_id_) + " ended");
  cef_termination_status_t how = TS_ABNORMAL_TERMINATION;
  if (status >= 0 && WIFSIGNALED(status))
    how = WTERMSIG(status) == SIGKILL || WTERMSIG(status) == SIGTERM ? TS_PROCESS_WAS_KILLED
                                                                      : TS_PROCESS_CRASHED;
  if (auto core = core_.lock()) core->renderer_ended(how);
}

}  // namespace cefwork
