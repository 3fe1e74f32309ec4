#include "renderer/renderer_browser.h"

#include "ipc/messages.h"
#include "ipc/process_message_codec.h"
#include "renderer/renderer_process.h"
#include "string_util.h"

namespace cefwork {
namespace {

RendererBrowser* browser_of(cef_browser_t* self) { return RendererBrowser::from(self); }

}  // namespace

RendererBrowser::RendererBrowser(int browser_id, RendererProcess* renderer)
    : id(browser_id), process(renderer) {
  frame = Ref<cef_frame_t>::adopt(&(new RendererFrame(this))->cef);
  cef.get_host = [](cef_browser_t*) -> cef_browser_host_t* { return nullptr; };  // browser process only
  cef.can_go_back = [](cef_browser_t*) { return 0; };
  cef.can_go_forward = [](cef_browser_t*) { return 0; };
  cef.is_loading = [](cef_browser_t*) { return 0; };
  cef.get_identifier = [](cef_browser_t* self) { return browser_of(self)->id; };
  cef.is_same = [](cef_browser_t* self, cef_browser_t* that) {
    const Ref<cef_browser_t> other = Ref<cef_browser_t>::adopt(that);
    return other.get() == self ? 1 : 0;
  };
  cef.is_popup = [](cef_browser_t*) { return 0; };
  cef.has_document = [](cef_browser_t* self) { return browser_of(self)->context ? 1 : 0; };
  cef.get_main_frame = [](cef_browser_t* self) { return browser_of(self)->frame.share(); };
  cef.get_focused_frame = [](cef_browser_t* self) { return browser_of(self)->frame.share(); };
  cef.get_frame_count = [](cef_browser_t*) -> size_t { return 1; };
}

RendererBrowser::~RendererBrowser() {
  if (frame) RendererFrame::from(frame.get())->browser = nullptr;
}

RendererFrame::RendererFrame(RendererBrowser* owner) : browser(owner) {
  cef.is_valid = [](cef_frame_t* self) {
    const RendererBrowser* b = from(self)->browser;
    return b && !b->destroyed ? 1 : 0;
  };
  cef.is_main = [](cef_frame_t*) { return 1; };
  cef.is_focused = [](cef_frame_t*) { return 1; };
  cef.get_name = [](cef_frame_t*) { return userfree(std::u16string_view()); };
  cef.get_identifier = [](cef_frame_t* self) -> int64_t {
    const RendererBrowser* b = from(self)->browser;
    return b ? static_cast<int64_t>(b->id) << 32 : -1;
  };
  cef.get_parent = [](cef_frame_t*) -> cef_frame_t* { return nullptr; };
  cef.get_url = [](cef_frame_t* self) {
    const RendererBrowser* b = from(self)->browser;
    return userfree(std::string_view(b ? b->url : std::string()));
  };
  cef.get_browser = [](cef_frame_t* self) -> cef_browser_t* {
    RendererBrowser* b = from(self)->browser;
    return b ? b->share() : nullptr;
  };
  cef.get_v8context = [](cef_frame_t* self) -> cef_v8context_t* {
    RendererBrowser* b = from(self)->browser;
    return b ? b->context.share() : nullptr;
  };
  cef.execute_java_script = [](cef_frame_t* self, const cef_string_t* code,
                               const cef_string_t* script_url, int start_line) {
    RendererBrowser* b = from(self)->browser;
    cef_v8context_t* context = b ? b->context.get() : nullptr;
    if (!context) return;
    cef_v8value_t* value = nullptr;
    cef_v8exception_t* exception = nullptr;
    context->eval(context, code, script_url, start_line, &value, &exception);
    cefwork::release(value);
    cefwork::release(exception);
  };
  cef.send_process_message = [](cef_frame_t* self, cef_process_id_t target,
                                cef_process_message_t* message) {
    const Ref<cef_process_message_t> owned = Ref<cef_process_message_t>::adopt(message);
    RendererBrowser* b = from(self)->browser;
    if (!b || !owned || target != PID_BROWSER) return;
    ipc::Writer w;
    w.i32(b->id);
    ipc::write_process_message(w, owned.get());
    b->process->send(ipc::kProcessMessage, w.data());
  };
}

}  // namespace cefwork
