#include "browser/document.h"

#include <algorithm>
#include <cctype>

namespace cefwork {
namespace {

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string decode_entities(const std::string& s) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"},
      {"&apos;", "'"}, {"&nbsp;", " "}};
  std::string out;
  for (size_t i = 0; i < s.size();) {
    bool replaced = false;
    if (s[i] == '&') {
      for (const auto& [entity, text] : kEntities) {
        const size_t n = std::char_traits<char>::length(entity);
        if (s.compare(i, n, entity) == 0) {
          out += text;
          i += n;
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out.push_back(s[i++]);
  }
  return out;
}

std::string collapse_blanks(const std::string& s) {
  std::string out;
  bool blank = false;
  for (unsigned char c : s) {
    if (std::isspace(c)) {
      blank = !out.empty();
    } else {
      if (blank) out.push_back(' ');
      blank = false;
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

}  // namespace

std::string document_title(const std::string& html) {
  const std::string l = lower(html);
  const size_t open = l.find("<title");
  if (open == std::string::npos) return {};
  const size_t start = l.find('>', open);
  if (start == std::string::npos) return {};
  const size_t end = l.find("</title", start);
  if (end == std::string::npos) return {};
  return collapse_blanks(decode_entities(html.substr(start + 1, end - start - 1)));
}

std::string document_text(const std::string& html) {
  const std::string l = lower(html);
  std::string out;
  size_t i = 0;
  while (i < html.size()) {
    if (html[i] != '<') {
      out.push_back(html[i++]);
      continue;
    }
    // Skip the contents of script, style and title elements.
    for (const char* tag : {"script", "style", "title"}) {
      const std::string open = std::string("<") + tag;
      if (l.compare(i, open.size(), open) == 0) {
        const size_t close = l.find(std::string("</") + tag, i);
        i = close == std::string::npos ? html.size() : close;
        break;
      }
    }
    const size_t end = html.find('>', i);
    i = end == std::string::npos ? html.size() : end + 1;
    out.push_back(' ');
  }
  return collapse_blanks(decode_entities(out));
}

}  // namespace cefwork
