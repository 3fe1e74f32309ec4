// The inline <script> elements of a document, in document order (scripts
// with a src attribute or a type that is not JavaScript are left out).
#pragma once

#include <string>
#include <vector>

namespace cefwork {

struct InlineScript {
  std::string code;
  int line;  // line of the document on which the code starts, from 1
};

std::vector<InlineScript> inline_scripts(const std::string& html);

}  // namespace cefwork
