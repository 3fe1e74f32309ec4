#include "browser/js_dialogs.h"

#include <algorithm>
#include <vector>

#include "browser/browser.h"
#include "browser/handlers.h"
#include "browser/renderer_host.h"
#include "string_util.h"

namespace cefwork {
namespace {

// The continuation of one dialog. The first cont answers the page; later
// ones, and any after the browser let the dialog go, do nothing. It holds
// the browser weakly, so a host that keeps it keeps no browser alive.
class JsDialogCallback : public CefObject<JsDialogCallback, cef_jsdialog_callback_t> {
 public:
  JsDialogCallback(std::weak_ptr<BrowserCore> core, uint32_t id) : core_(std::move(core)), id_(id) {
    cef.cont = [](cef_jsdialog_callback_t* self, int success, const cef_string_t* input) {
      from(self)->answer(success != 0, input);
    };
  }

  void answer(bool success, const cef_string_t* input) {
    if (done_) return;
    done_ = true;
    auto core = core_.lock();
    if (!core || core->closed) return;
    if (core->renderer) core->renderer->answer_js_dialog(id_, success, input);
    // The engine's reference goes last: this object may go with it.
    const Ref<cef_jsdialog_callback_t> keep = Ref<cef_jsdialog_callback_t>::retain(&cef);
    std::erase_if(core->open_dialogs,
                  [this](const Ref<cef_jsdialog_callback_t>& d) { return d.get() == &cef; });
  }
  void abandon() { done_ = true; }
  bool done() const { return done_; }

 private:
  std::weak_ptr<BrowserCore> core_;
  const uint32_t id_;
  bool done_ = false;
};

}  // namespace

void run_js_dialog(BrowserCore& core, uint32_t id, cef_jsdialog_type_t type,
                   const std::u16string& message, const std::u16string& default_text,
                   const std::string& origin_url) {
  auto* callback = new JsDialogCallback(core.weak_from_this(), id);
  const Ref<cef_jsdialog_callback_t> owned = Ref<cef_jsdialog_callback_t>::adopt(&callback->cef);
  if (type < JSDIALOGTYPE_ALERT || type > JSDIALOGTYPE_PROMPT) {
    callback->answer(false, nullptr);  // no such dialog: the page gets the default
    return;
  }
  core.open_dialogs.push_back(owned);
  cef_string_t origin{}, text{}, prompt_text{};
  assign(&origin, utf8_to_utf16(origin_url));
  assign(&text, message);
  assign(&prompt_text, default_text);
  int suppress = 0;
  const int handled = notify(core, &cef_client_t::get_jsdialog_handler,
                             &cef_jsdialog_handler_t::on_jsdialog,
                             static_cast<const cef_string_t*>(&origin), type,
                             static_cast<const cef_string_t*>(&text),
                             static_cast<const cef_string_t*>(&prompt_text), owned.share(),
                             &suppress);
  cef_string_utf16_clear(&origin);
  cef_string_utf16_clear(&text);
  cef_string_utf16_clear(&prompt_text);
  if (handled) return;  // the handler answers through the callback, now or later
  // Declined: the engine's own dialog, which this engine without windows
  // dismisses at once, as if the user had cancelled it. Suppressed: no
  // dialog at all, with the same answer.
  callback->answer(false, nullptr);
  if (!suppress)
    notify(core, &cef_client_t::get_jsdialog_handler, &cef_jsdialog_handler_t::on_dialog_closed);
}

void reset_js_dialogs(BrowserCore& core, bool notify_handler) {
  if (core.open_dialogs.empty()) return;
  std::vector<Ref<cef_jsdialog_callback_t>> open = std::move(core.open_dialogs);
  core.open_dialogs.clear();
  for (const auto& d : open) JsDialogCallback::from(d.get())->abandon();
  if (notify_handler)
    notify(core, &cef_client_t::get_jsdialog_handler, &cef_jsdialog_handler_t::on_reset_dialog_state);
}

}  // namespace cefwork
