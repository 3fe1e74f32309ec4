#include "renderer/inline_scripts.h"

#include <algorithm>
#include <cctype>

namespace cefwork {

std::vector<InlineScript> inline_scripts(const std::string& html) {
  std::string lower(html);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  std::vector<InlineScript> scripts;
  size_t pos = 0;
  while ((pos = lower.find("<script", pos)) != std::string::npos) {
    const size_t tag_end = lower.find('>', pos);
    if (tag_end == std::string::npos) break;
    const std::string tag = lower.substr(pos, tag_end - pos);
    const size_t close = lower.find("</script", tag_end);
    const size_t end = close == std::string::npos ? html.size() : close;
    const bool external = tag.find(" src") != std::string::npos;
    const size_t type = tag.find("type=");
    const bool javascript =
        type == std::string::npos || tag.find("javascript", type) != std::string::npos ||
        tag.find("module", type) != std::string::npos;
    if (!external && javascript) {
      const int line = 1 + static_cast<int>(std::count(html.begin(), html.begin() + tag_end, '\n'));
      scripts.push_back({html.substr(tag_end + 1, end - tag_end - 1), line});
    }
    pos = end;
  }
  return scripts;
}

}  // namespace cefwork
