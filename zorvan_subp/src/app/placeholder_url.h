#pragma once

namespace app {

// Document URL of text loaded with cefvemo_load_text, and the script URL of
// scripts the renderer evaluates: one fixed http URL, one-word host, root
// path.
inline constexpr const char* kPlaceholderUrl = "http://zorvan/";

}  // namespace app
