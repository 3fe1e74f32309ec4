// A committed main-frame document.
#pragma once

#include <string>

namespace cefwork {

struct Document {
  std::string url;
  std::string source;  // the HTML source as loaded
  int status = 0;      // HTTP status, 200 for other documents
};

// The text of the document's <title>, entities decoded and blanks
// collapsed; empty when it has none.
std::string document_title(const std::string& html);
// The visible text: markup, scripts and styles removed.
std::string document_text(const std::string& html);

}  // namespace cefwork
