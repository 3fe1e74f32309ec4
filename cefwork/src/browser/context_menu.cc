#include "browser/context_menu.h"

#include <vector>

#include "browser/browser.h"
#include "browser/handlers.h"
#include "browser/menu_model.h"
#include "engine.h"
#include "ipc/messages.h"
#include "string_util.h"

namespace cefwork {
namespace {

// Command ids of CEF's default menu items.
constexpr int kMenuBack = 100;
constexpr int kMenuForward = 101;
constexpr int kMenuReload = 102;
constexpr int kMenuReloadNoCache = 103;
constexpr int kMenuStopLoad = 104;
constexpr int kMenuUndo = 110;
constexpr int kMenuRedo = 111;
constexpr int kMenuCut = 112;
constexpr int kMenuCopy = 113;
constexpr int kMenuPaste = 114;
constexpr int kMenuDelete = 115;
constexpr int kMenuSelectAll = 116;
constexpr int kMenuPrint = 131;
constexpr int kMenuViewSource = 132;
constexpr cef_context_menu_type_flags_t kTypePage = 1;

// What the click was on: always the page of the main frame here (no links,
// images, selections or editable fields).
class ContextMenuParams : public CefObject<ContextMenuParams, cef_context_menu_params_t> {
 public:
  ContextMenuParams(int x, int y, std::string page_url) : x_(x), y_(y), url_(std::move(page_url)) {
    cef.get_xcoord = [](cef_context_menu_params_t* self) { return from(self)->x_; };
    cef.get_ycoord = [](cef_context_menu_params_t* self) { return from(self)->y_; };
    cef.get_type_flags = [](cef_context_menu_params_t*) { return kTypePage; };
    cef.get_link_url = &empty;
    cef.get_unfiltered_link_url = &empty;
    cef.get_source_url = &empty;
    cef.has_image_contents = &no;
    cef.get_title_text = &empty;
    cef.get_page_url = &page_url_of;
    cef.get_frame_url = &page_url_of;
    cef.get_frame_charset = [](cef_context_menu_params_t*) {
      return userfree(std::string_view("UTF-8"));
    };
    cef.get_media_type = [](cef_context_menu_params_t*) -> cef_context_menu_media_type_t { return 0; };
    cef.get_media_state_flags = [](cef_context_menu_params_t*)
        -> cef_context_menu_media_state_flags_t { return 0; };
    cef.get_selection_text = &empty;
    cef.get_misspelled_word = &empty;
    cef.get_dictionary_suggestions = [](cef_context_menu_params_t*, cef_string_list_t) { return 0; };
    cef.is_editable = &no;
    cef.is_spell_check_enabled = &no;
    cef.get_edit_state_flags = [](cef_context_menu_params_t*)
        -> cef_context_menu_edit_state_flags_t { return 0; };
    cef.is_custom_menu = &no;
    cef.is_pepper_menu = &no;
  }

 private:
  static cef_string_userfree_t CEF_CALLBACK empty(cef_context_menu_params_t*) {
    return userfree(std::u16string_view());
  }
  static cef_string_userfree_t CEF_CALLBACK page_url_of(cef_context_menu_params_t* self) {
    return userfree(std::string_view(from(self)->url_));
  }
  static int CEF_CALLBACK no(cef_context_menu_params_t*) { return 0; }

  const int x_, y_;
  const std::string url_;
};

// The continuation of one running menu: cont chooses a command, cancel
// closes it; either dismisses the menu, once. It holds the browser weakly.
class RunContextMenuCallback
    : public CefObject<RunContextMenuCallback, cef_run_context_menu_callback_t> {
 public:
  RunContextMenuCallback(std::weak_ptr<BrowserCore> core, Ref<cef_context_menu_params_t> params)
      : core_(std::move(core)), params_(std::move(params)) {
    cef.cont = [](cef_run_context_menu_callback_t* self, int command, cef_event_flags_t flags) {
      from(self)->close(true, command, flags);
    };
    cef.cancel = [](cef_run_context_menu_callback_t* self) {
      from(self)->close(false, 0, EVENTFLAG_NONE);
    };
  }

  // Ends the menu, with the chosen command when `chosen`.
  void close(bool chosen, int command, cef_event_flags_t flags) {
    if (done_) return;
    done_ = true;
    auto core = core_.lock();
    if (!core || core->closed) return;
    const Ref<cef_run_context_menu_callback_t> keep =
        Ref<cef_run_context_menu_callback_t>::retain(&cef);
    std::erase_if(core->open_menus, [this](const Ref<cef_run_context_menu_callback_t>& m) {
      return m.get() == &cef;
    });
    if (chosen &&
        !notify(*core, &cef_client_t::get_context_menu_handler,
                &cef_context_menu_handler_t::on_context_menu_command, core->share_main_frame(),
                params_.share(), command, flags))
      perform_default(*core, command);
    dismissed(*core);
  }
  // The browser is going: the menu is dismissed without a command.
  void dismiss(BrowserCore& core) {
    if (done_) return;
    done_ = true;
    dismissed(core);
  }

 private:
  static void dismissed(BrowserCore& core) {
    notify(core, &cef_client_t::get_context_menu_handler,
           &cef_context_menu_handler_t::on_context_menu_dismissed, core.share_main_frame());
  }

  // The engine's own handling of a command the handler left to it.
  static void perform_default(BrowserCore& core, int command) {
    using ipc::EditCommand;
    auto edit = [&core](EditCommand c) { core.edit(c); };
    switch (command) {
      case kMenuBack: if (core.can_go_back()) core.go_to(core.history_index - 1); break;
      case kMenuForward: if (core.can_go_forward()) core.go_to(core.history_index + 1); break;
      case kMenuReload:
      case kMenuReloadNoCache: core.reload(); break;
      case kMenuStopLoad: core.stop(); break;
      case kMenuUndo: edit(EditCommand::kUndo); break;
      case kMenuRedo: edit(EditCommand::kRedo); break;
      case kMenuCut: edit(EditCommand::kCut); break;
      case kMenuCopy: edit(EditCommand::kCopy); break;
      case kMenuPaste: edit(EditCommand::kPaste); break;
      case kMenuDelete: edit(EditCommand::kDelete); break;
      case kMenuSelectAll: edit(EditCommand::kSelectAll); break;
      default: break;  // print and view source: nothing to show them in
    }
  }

  std::weak_ptr<BrowserCore> core_;
  Ref<cef_context_menu_params_t> params_;
  bool done_ = false;
};

cef_string_t label(const char* text) {
  cef_string_t s{};
  assign(&s, utf8_to_utf16(text));
  return s;
}

// The page menu CEF starts from: back, forward, print, view source.
Ref<cef_menu_model_t> page_menu(const BrowserCore& core) {
  auto* model = new MenuModel();
  const Ref<cef_menu_model_t> owned = Ref<cef_menu_model_t>::adopt(&model->cef);
  const std::pair<int, const char*> items[] = {
      {kMenuBack, "&Back"}, {kMenuForward, "&Forward"}, {0, nullptr},
      {kMenuPrint, "&Print..."}, {kMenuViewSource, "View s&ource"}};
  for (const auto& [id, text] : items) {
    if (!text) {
      model->cef.add_separator(&model->cef);
      continue;
    }
    cef_string_t s = label(text);
    model->cef.add_item(&model->cef, id, &s);
    cef_string_utf16_clear(&s);
  }
  model->of_command(kMenuBack)->enabled = core.can_go_back();
  model->of_command(kMenuForward)->enabled = core.can_go_forward();
  return owned;
}

}  // namespace

void open_context_menu(BrowserCore& core, int x, int y) {
  if (core.closed) return;
  const Ref<cef_context_menu_params_t> params = Ref<cef_context_menu_params_t>::adopt(
      &(new ContextMenuParams(x, y, core.has_document ? core.document.url : std::string()))->cef);
  const Ref<cef_menu_model_t> model = page_menu(core);
  notify(core, &cef_client_t::get_context_menu_handler,
         &cef_context_menu_handler_t::on_before_context_menu, core.share_main_frame(),
         params.share(), model.share());
  // A handler that emptied the menu wants none.
  if (core.closed || model->get_count(model.get()) == 0) return;

  auto* callback = new RunContextMenuCallback(core.weak_from_this(), params);
  const Ref<cef_run_context_menu_callback_t> owned =
      Ref<cef_run_context_menu_callback_t>::adopt(&callback->cef);
  core.open_menus.push_back(owned);
  const int custom = notify(core, &cef_client_t::get_context_menu_handler,
                            &cef_context_menu_handler_t::run_context_menu,
                            core.share_main_frame(), params.share(), model.share(), owned.share());
  // Declined: the engine would show its own menu; having none to show, it
  // closes it at once.
  if (!custom) callback->close(false, 0, EVENTFLAG_NONE);
}

void dismiss_context_menus(BrowserCore& core) {
  std::vector<Ref<cef_run_context_menu_callback_t>> open = std::move(core.open_menus);
  core.open_menus.clear();
  for (const auto& m : open) RunContextMenuCallback::from(m.get())->dismiss(core);
}

}  // namespace cefwork

extern "C" {

CEF_EXPORT void cefwork_test_context_menu(cef_browser_t* browser, int x, int y) {
  cefwork::BrowserCore* core = cefwork::core_of(browser);
  if (!core) return;
  // A click is input the engine handles on a later unit of work.
  std::weak_ptr<cefwork::BrowserCore> weak = core->weak_from_this();
  cefwork::Engine::get().post([weak, x, y] {
    if (auto c = weak.lock()) cefwork::open_context_menu(*c, x, y);
  });
}

}  // extern "C"
