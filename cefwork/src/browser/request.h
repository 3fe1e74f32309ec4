// Requests, post data and post-data elements.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "browser/fetch.h"
#include "ref.h"

namespace cefwork {

class PostDataElement : public CefObject<PostDataElement, cef_post_data_element_t> {
 public:
  PostDataElement();
  cef_postdataelement_type_t type = PDE_TYPE_EMPTY;
  std::string bytes;
  std::u16string file;
};

class PostData : public CefObject<PostData, cef_post_data_t> {
 public:
  PostData();
  std::vector<Ref<cef_post_data_element_t>> elements;
  // The body the elements make: bytes in order (files are read).
  std::string body() const;
};

class Request : public CefObject<Request, cef_request_t> {
 public:
  Request();
  std::u16string url;
  std::u16string method = u"GET";
  std::u16string referrer;
  Ref<cef_post_data_t> post_data;
  std::vector<std::pair<std::u16string, std::u16string>> headers;
  int flags = 0;
  std::u16string first_party;
  bool read_only = false;
  uint64_t identifier = next_identifier();

  // What the network stack sends for this request.
  FetchRequest to_fetch() const;

 private:
  static uint64_t next_identifier();
};

}  // namespace cefwork
