#include "browser/request.h"

#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>

#include "string_util.h"

namespace cefwork {
namespace {

std::atomic<uint64_t> next_request_id{1};

}  // namespace

uint64_t Request::next_identifier() { return next_request_id++; }

PostDataElement::PostDataElement() {
  cef.is_read_only = [](cef_post_data_element_t*) { return 0; };
  cef.set_to_empty = [](cef_post_data_element_t* self) {
    from(self)->type = PDE_TYPE_EMPTY;
    from(self)->bytes.clear();
    from(self)->file.clear();
  };
  cef.set_to_file = [](cef_post_data_element_t* self, const cef_string_t* file) {
    from(self)->type = PDE_TYPE_FILE;
    from(self)->file = view(file);
    from(self)->bytes.clear();
  };
  cef.set_to_bytes = [](cef_post_data_element_t* self, size_t size, const void* bytes) {
    from(self)->type = PDE_TYPE_BYTES;
    from(self)->bytes.assign(static_cast<const char*>(bytes ? bytes : ""), bytes ? size : 0);
    from(self)->file.clear();
  };
  cef.get_type = [](cef_post_data_element_t* self) { return from(self)->type; };
  cef.get_file = [](cef_post_data_element_t* self) {
    return userfree(std::u16string_view(from(self)->file));
  };
  cef.get_bytes_count = [](cef_post_data_element_t* self) { return from(self)->bytes.size(); };
  cef.get_bytes = [](cef_post_data_element_t* self, size_t size, void* bytes) {
    const std::string& data = from(self)->bytes;
    const size_t n = std::min(size, data.size());
    if (bytes && n) std::memcpy(bytes, data.data(), n);
    return n;
  };
}

PostData::PostData() {
  cef.is_read_only = [](cef_post_data_t*) { return 0; };
  cef.has_excluded_elements = [](cef_post_data_t*) { return 0; };
  cef.get_element_count = [](cef_post_data_t* self) { return from(self)->elements.size(); };
  cef.get_elements = [](cef_post_data_t* self, size_t* count, cef_post_data_element_t** out) {
    const auto& elements = from(self)->elements;
    if (!count) return;
    const size_t n = std::min(*count, elements.size());
    for (size_t i = 0; i < n && out; ++i) out[i] = elements[i].share();
    *count = n;
  };
  cef.remove_element = [](cef_post_data_t* self, cef_post_data_element_t* element) {
    auto& elements = from(self)->elements;
    int removed = 0;
    for (auto it = elements.begin(); it != elements.end(); ++it) {
      if (it->get() == element) {
        elements.erase(it);
        removed = 1;
        break;
      }
    }
    cefwork::release(element);  // the argument's reference was ours to drop
    return removed;
  };
  cef.add_element = [](cef_post_data_t* self, cef_post_data_element_t* element) {
    if (!element) return 0;
    from(self)->elements.push_back(Ref<cef_post_data_element_t>::adopt(element));
    return 1;
  };
  cef.remove_elements = [](cef_post_data_t* self) { from(self)->elements.clear(); };
}

std::string PostData::body() const {
  std::string out;
  for (const auto& e : elements) {
    const PostDataElement* element = PostDataElement::from(e.get());
    if (element->type == PDE_TYPE_BYTES) {
      out += element->bytes;
    } else if (element->type == PDE_TYPE_FILE) {
      std::ifstream in(utf16_to_utf8(element->file), std::ios::binary);
      out.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  return out;
}

Request::Request() {
  cef.is_read_only = [](cef_request_t* self) { return from(self)->read_only ? 1 : 0; };
  cef.get_url = [](cef_request_t* self) { return userfree(std::u16string_view(from(self)->url)); };
  cef.set_url = [](cef_request_t* self, const cef_string_t* url) { from(self)->url = view(url); };
  cef.get_method = [](cef_request_t* self) {
    return userfree(std::u16string_view(from(self)->method));
  };
  cef.set_method = [](cef_request_t* self, const cef_string_t* method) {
    from(self)->method = view(method);
  };
  cef.set_referrer = [](cef_request_t* self, const cef_string_t* url, cef_referrer_policy_t) {
    from(self)->referrer = view(url);
  };
  cef.get_referrer_url = [](cef_request_t* self) {
    return userfree(std::u16string_view(from(self)->referrer));
  };
  cef.get_referrer_policy = [](cef_request_t*) { return cef_referrer_policy_t{0}; };
  cef.get_post_data = [](cef_request_t* self) { return from(self)->post_data.share(); };
  cef.set_post_data = [](cef_request_t* self, cef_post_data_t* post_data) {
    from(self)->post_data = Ref<cef_post_data_t>::adopt(post_data);
  };
  cef.get_header_map = [](cef_request_t* self, cef_string_multimap_t map) {
    for (const auto& [name, value] : from(self)->headers) {
      cef_string_t n{}, v{};
      assign(&n, name);
      assign(&v, value);
      cef_string_multimap_append(map, &n, &v);
      cef_string_utf16_clear(&n);
      cef_string_utf16_clear(&v);
    }
  };
  cef.set_header_map = [](cef_request_t* self, cef_string_multimap_t map) {
    auto& headers = from(self)->headers;
    headers.clear();
    const size_t n = cef_string_multimap_size(map);
    for (size_t i = 0; i < n; ++i) {
      cef_string_t k{}, v{};
      cef_string_multimap_key(map, i, &k);
      cef_string_multimap_value(map, i, &v);
      headers.emplace_back(view(&k), view(&v));
      cef_string_utf16_clear(&k);
      cef_string_utf16_clear(&v);
    }
  };
  cef.get_header_by_name = [](cef_request_t* self, const cef_string_t* name) {
    const std::u16string wanted = view(name);
    for (const auto& [n, v] : from(self)->headers)
      if (n == wanted) return userfree(std::u16string_view(v));
    return cef_string_userfree_t{nullptr};
  };
  cef.set_header_by_name = [](cef_request_t* self, const cef_string_t* name,
                              const cef_string_t* value, int overwrite) {
    auto& headers = from(self)->headers;
    const std::u16string n = view(name);
    for (auto& h : headers) {
      if (h.first == n) {
        if (overwrite) h.second = view(value);
        return;
      }
    }
    headers.emplace_back(n, view(value));
  };
  cef.set = [](cef_request_t* self, const cef_string_t* url, const cef_string_t* method,
               cef_post_data_t* post_data, cef_string_multimap_t header_map) {
    Request* me = from(self);
    me->url = view(url);
    me->method = view(method);
    me->post_data = Ref<cef_post_data_t>::adopt(post_data);
    me->cef.set_header_map(self, header_map);
  };
  cef.get_flags = [](cef_request_t* self) { return from(self)->flags; };
  cef.set_flags = [](cef_request_t* self, int flags) { from(self)->flags = flags; };
  cef.get_first_party_for_cookies = [](cef_request_t* self) {
    return userfree(std::u16string_view(from(self)->first_party));
  };
  cef.set_first_party_for_cookies = [](cef_request_t* self, const cef_string_t* url) {
    from(self)->first_party = view(url);
  };
  cef.get_resource_type = [](cef_request_t*) { return cef_resource_type_t{0}; };  // main frame
  cef.get_transition_type = [](cef_request_t*) { return cef_transition_type_t{0}; };
  cef.get_identifier = [](cef_request_t* self) { return from(self)->identifier; };
}

FetchRequest Request::to_fetch() const {
  FetchRequest r;
  r.url = utf16_to_utf8(url);
  r.method = utf16_to_utf8(method);
  for (const auto& [n, v] : headers) r.headers.emplace_back(utf16_to_utf8(n), utf16_to_utf8(v));
  if (post_data) {
    r.has_body = true;
    r.body = PostData::from(post_data.get())->body();
  }
  return r;
}

}  // namespace cefwork

extern "C" {

CEF_EXPORT cef_request_t* cef_request_create(void) { return &(new cefwork::Request())->cef; }
CEF_EXPORT cef_post_data_t* cef_post_data_create(void) { return &(new cefwork::PostData())->cef; }
CEF_EXPORT cef_post_data_element_t* cef_post_data_element_create(void) {
  return &(new cefwork::PostDataElement())->cef;
}

}  // extern "C"
