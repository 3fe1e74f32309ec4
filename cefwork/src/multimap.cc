// String multimaps: ordered key/value pairs, duplicates kept.

#include <string>
#include <utility>
#include <vector>

#include "cef/cef_capi.h"
#include "string_util.h"

namespace {

using Multimap = std::vector<std::pair<std::u16string, std::u16string>>;

Multimap* get(cef_string_multimap_t map) { return static_cast<Multimap*>(map); }

}  // namespace

using namespace cefwork;

extern "C" {

CEF_EXPORT cef_string_multimap_t cef_string_multimap_alloc(void) { return new Multimap(); }

CEF_EXPORT void cef_string_multimap_free(cef_string_multimap_t map) { delete get(map); }

CEF_EXPORT size_t cef_string_multimap_size(cef_string_multimap_t map) {
  return map ? get(map)->size() : 0;
}

CEF_EXPORT int cef_string_multimap_append(cef_string_multimap_t map, const cef_string_t* key,
                                          const cef_string_t* value) {
  if (!map || !key) return 0;
  get(map)->emplace_back(view(key), view(value));
  return 1;
}

CEF_EXPORT int cef_string_multimap_key(cef_string_multimap_t map, size_t index,
                                       cef_string_t* key) {
  if (!map || !key || index >= get(map)->size()) return 0;
  assign(key, (*get(map))[index].first);
  return 1;
}

CEF_EXPORT int cef_string_multimap_value(cef_string_multimap_t map, size_t index,
                                         cef_string_t* value) {
  if (!map || !value || index >= get(map)->size()) return 0;
  assign(value, (*get(map))[index].second);
  return 1;
}

CEF_EXPORT size_t cef_string_multimap_find_count(cef_string_multimap_t map,
                                                 const cef_string_t* key) {
  if (!map || !key) return 0;
  const std::u16string k = view(key);
  size_t n = 0;
  for (const auto& entry : *get(map)) n += entry.first == k;
  return n;
}

CEF_EXPORT int cef_string_multimap_enumerate(cef_string_multimap_t map, const cef_string_t* key,
                                             size_t value_index, cef_string_t* value) {
  if (!map || !key || !value) return 0;
  const std::u16string k = view(key);
  for (const auto& entry : *get(map)) {
    if (entry.first != k) continue;
    if (value_index-- == 0) {
      assign(value, entry.second);
      return 1;
    }
  }
  return 0;
}

CEF_EXPORT void cef_string_multimap_clear(cef_string_multimap_t map) {
  if (map) get(map)->clear();
}

}  // extern "C"
