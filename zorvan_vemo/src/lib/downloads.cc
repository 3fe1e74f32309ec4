// Downloads: continue a download from on_before_download or cancel it from
// on_download_updated, and read a download item into the host's record.

#include <cstddef>

#include "browser_access.h"
#include "utils/cef_string.h"
#include "zorvan_vemo.h"

namespace {

// The record's layout is fixed: the Java host's copy of it has the same
// fields at the same offsets, in natural C alignment.
static_assert(offsetof(DownloadItem, id) == 0 && offsetof(DownloadItem, status) == 4 &&
              offsetof(DownloadItem, file) == 8 && offsetof(DownloadItem, url) == 16 &&
              offsetof(DownloadItem, received) == 24 && offsetof(DownloadItem, total) == 32 &&
              offsetof(DownloadItem, speed) == 40 && offsetof(DownloadItem, percent) == 48 &&
              sizeof(DownloadItem) == 56);

// Calls a getter of the item; a missing one is a fatal stop and reads as a
// zero value.
template <class R>
R query(cef_download_item_t* item, R (CEF_CALLBACK* cef_download_item_t::*member)(cef_download_item_t*),
        const char* message) {
  if (!vemo::require(item->*member, message)) return R();
  return (item->*member)(item);
}

}  // namespace

extern "C" {

ZV_EXPORT void cefvemo_download_callback(void* callback, const char* path, int32_t cont) {
  if (!callback) return;
  if (cont == 1) {
    auto* before = static_cast<cef_before_download_callback_t*>(callback);
    if (!vemo::require(before->cont, "null cont")) return;
    // show_dialog 1: the engine asks where to save, starting from the path.
    const utils::CefString path_string = utils::cef_string_from_c(path);
    before->cont(before, path_string.get(), 1);
    return;
  }
  auto* item_callback = static_cast<cef_download_item_callback_t*>(callback);
  if (vemo::require(item_callback->cancel, "null cancel")) item_callback->cancel(item_callback);
}

ZV_EXPORT void cefvemo_download_item(cef_download_item_t* item, DownloadItem* record) {
  if (!record) return;
  if (!item) {
    // Free mode. The pointers are left as they are: a freed record is only
    // filled again, never freed twice.
    if (record->file) cef_string_userfree_utf16_free(record->file);
    if (record->url) cef_string_userfree_utf16_free(record->url);
    return;
  }
  if (query(item, &cef_download_item_t::is_valid, "null is_valid") != 1) {
    record->status = -1;
    return;
  }
  record->id = query(item, &cef_download_item_t::get_id, "null get_id");
  if (query(item, &cef_download_item_t::is_in_progress, "null is_in_progress") == 1)
    record->status = 1;
  else if (query(item, &cef_download_item_t::is_complete, "null is_complete") == 1)
    record->status = 2;
  else if (query(item, &cef_download_item_t::is_canceled, "null is_canceled") == 1)
    record->status = 3;
  else
    record->status = 0;
  record->url = query(item, &cef_download_item_t::get_original_url, "null get_original_url");
  record->file = query(item, &cef_download_item_t::get_full_path, "null get_full_path");
  record->received = query(item, &cef_download_item_t::get_received_bytes, "null get_received_bytes");
  record->total = query(item, &cef_download_item_t::get_total_bytes, "null get_total_bytes");
  record->speed = query(item, &cef_download_item_t::get_current_speed, "null get_current_speed");
  record->percent =
      query(item, &cef_download_item_t::get_percent_complete, "null get_percent_complete");
}

}  // extern "C"
