// The CEF objects of downloads that the client's download handler gets: the
// item (a snapshot, detached after the call), the callback that continues
// the download and the one that cancels it.

#include <optional>

#include "browser/download_state.h"
#include "browser/handlers.h"
#include "string_util.h"

namespace cefwork {
namespace {

class DownloadItem : public CefObject<DownloadItem, cef_download_item_t> {
 public:
  explicit DownloadItem(DownloadSnapshot snapshot);
  DownloadSnapshot snapshot;
  bool live = true;  // false once its handler call has returned
};

// The snapshot of an attached item, or null.
const DownloadSnapshot* snapshot_of(cef_download_item_t* self) {
  const DownloadItem* item = DownloadItem::from(self);
  return item->live ? &item->snapshot : nullptr;
}

bool in_state(cef_download_item_t* self, DownloadState state) {
  const DownloadSnapshot* s = snapshot_of(self);
  if (!s) return false;
  // A download waiting for its path is in progress already, as in CEF.
  if (state == DownloadState::kInProgress) return s->state == state || s->state == DownloadState::kPending;
  return s->state == state;
}

// A string member of the snapshot; empty and detached give null, as CEF's
// empty strings do.
template <std::string DownloadSnapshot::*Member>
cef_string_userfree_t CEF_CALLBACK text(cef_download_item_t* self) {
  const DownloadSnapshot* s = snapshot_of(self);
  if (!s || (s->*Member).empty()) return nullptr;
  return userfree(std::string_view(s->*Member));
}

template <double DownloadSnapshot::*Member>
cef_time_t CEF_CALLBACK time(cef_download_item_t* self) {
  cef_time_t t{};
  const DownloadSnapshot* s = snapshot_of(self);
  if (s && s->*Member > 0) cef_time_from_doublet(s->*Member, &t);
  return t;
}

DownloadItem::DownloadItem(DownloadSnapshot s) : snapshot(std::move(s)) {
  cef.is_valid = [](cef_download_item_t* self) { return snapshot_of(self) ? 1 : 0; };
  cef.is_in_progress = [](cef_download_item_t* self) {
    return in_state(self, DownloadState::kInProgress) ? 1 : 0;
  };
  cef.is_complete = [](cef_download_item_t* self) {
    return in_state(self, DownloadState::kComplete) ? 1 : 0;
  };
  cef.is_canceled = [](cef_download_item_t* self) {
    return in_state(self, DownloadState::kCanceled) ? 1 : 0;
  };
  cef.get_current_speed = [](cef_download_item_t* self) -> int64_t {
    const DownloadSnapshot* s = snapshot_of(self);
    return s ? s->speed : 0;
  };
  cef.get_percent_complete = [](cef_download_item_t* self) {
    const DownloadSnapshot* s = snapshot_of(self);
    return s ? s->percent : -1;
  };
  cef.get_total_bytes = [](cef_download_item_t* self) -> int64_t {
    const DownloadSnapshot* s = snapshot_of(self);
    return s ? s->total : 0;
  };
  cef.get_received_bytes = [](cef_download_item_t* self) -> int64_t {
    const DownloadSnapshot* s = snapshot_of(self);
    return s ? s->received : 0;
  };
  cef.get_start_time = &time<&DownloadSnapshot::start_time>;
  cef.get_end_time = &time<&DownloadSnapshot::end_time>;
  cef.get_full_path = &text<&DownloadSnapshot::full_path>;
  cef.get_id = [](cef_download_item_t* self) -> uint32_t {
    const DownloadSnapshot* s = snapshot_of(self);
    return s ? s->id : 0;
  };
  cef.get_url = &text<&DownloadSnapshot::url>;
  cef.get_original_url = &text<&DownloadSnapshot::original_url>;
  cef.get_suggested_file_name = &text<&DownloadSnapshot::suggested_name>;
  cef.get_content_disposition = &text<&DownloadSnapshot::disposition>;
  cef.get_mime_type = &text<&DownloadSnapshot::mime_type>;
}

// Continues a download; released unanswered, it cancels it, as CEF does.
class BeforeDownloadCallback
    : public CefObject<BeforeDownloadCallback, cef_before_download_callback_t> {
 public:
  explicit BeforeDownloadCallback(std::shared_ptr<Download> d) : download(std::move(d)) {
    cef.cont = [](cef_before_download_callback_t* self, const cef_string_t* path,
                  int show_dialog) {
      const Download& d = *from(self)->download;
      std::string chosen = to_utf8(path);
      if (chosen.empty())
        chosen = free_path(show_dialog ? downloads_folder() : temporary_folder(),
                           d.suggested_name);
      from(self)->download->decide(std::move(chosen));
    };
  }
  ~BeforeDownloadCallback() { download->decide(std::nullopt); }
  const std::shared_ptr<Download> download;
};

// Cancels a running download; pause and resume are not supported and do
// nothing.
class DownloadItemCallback
    : public CefObject<DownloadItemCallback, cef_download_item_callback_t> {
 public:
  explicit DownloadItemCallback(std::weak_ptr<Download> d) : download(std::move(d)) {
    cef.cancel = [](cef_download_item_callback_t* self) {
      if (auto d = from(self)->download.lock()) d->cancel();
    };
    cef.pause = [](cef_download_item_callback_t*) {};
    cef.resume = [](cef_download_item_callback_t*) {};
  }
  const std::weak_ptr<Download> download;
};

// Calls a download handler member with a fresh item and one more object;
// the item is detached when the call returns. False when the client has no
// such handler member (nothing was called).
template <class M, class Callback>
bool call_download_handler(const BrowserCore& core, const DownloadSnapshot& snapshot, M member,
                           const Ref<Callback>& callback, const cef_string_t* suggested = nullptr) {
  const Ref<cef_download_handler_t> h =
      handler<cef_download_handler_t>(core.client, &cef_client_t::get_download_handler);
  if (!h || !(h.get()->*member)) return false;
  auto* item = new DownloadItem(snapshot);
  const Ref<cef_download_item_t> keep = Ref<cef_download_item_t>::adopt(&item->cef);
  if constexpr (std::is_same_v<Callback, cef_before_download_callback_t>) {
    (h.get()->*member)(h.get(), core.share_browser(), keep.share(), suggested, callback.share());
  } else {
    (h.get()->*member)(h.get(), core.share_browser(), keep.share(), callback.share());
  }
  item->live = false;
  return true;
}

}  // namespace

void offer_download(const std::shared_ptr<Download>& download) {
  auto core = download->core.lock();
  if (!core || core->closed) {
    download->cancel();
    return;
  }
  const auto callback = Ref<cef_before_download_callback_t>::adopt(
      &(new BeforeDownloadCallback(download))->cef);
  cef_string_t suggested{};
  assign(&suggested, utf8_to_utf16(download->suggested_name));
  call_download_handler(*core, download->snapshot(), &cef_download_handler_t::on_before_download,
                        callback, &suggested);
  cef_string_utf16_clear(&suggested);
  // Without a handler, or when the handler kept no reference, the callback
  // goes here and cancels the download unless it was continued.
}

void deliver_update(const std::shared_ptr<Download>& download, const DownloadSnapshot& snapshot) {
  auto core = download->core.lock();
  if (!core || core->closed) return;
  const auto callback = Ref<cef_download_item_callback_t>::adopt(
      &(new DownloadItemCallback(download))->cef);
  call_download_handler(*core, snapshot, &cef_download_handler_t::on_download_updated, callback);
}

}  // namespace cefwork
