// File names and folders of downloads.

#include <curl/curl.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "browser/download_state.h"
#include "browser/header_params.h"

namespace cefwork {
namespace {

namespace fs = std::filesystem;

std::string unescape(std::string_view text) {
  int length = 0;
  char* raw = curl_easy_unescape(nullptr, text.data(), static_cast<int>(text.size()), &length);
  if (!raw) return std::string(text);
  std::string out(raw, static_cast<size_t>(length));
  curl_free(raw);
  return out;
}

// The name a Content-Disposition value gives: filename* (RFC 5987, UTF-8)
// before filename.
std::string disposition_name(const std::string& disposition) {
  if (const auto star = header_parameter(disposition, "filename*")) {
    const std::string& encoded = *star;
    const size_t quote = encoded.find('\'');
    const size_t second = quote == std::string::npos ? quote : encoded.find('\'', quote + 1);
    std::string charset = encoded.substr(0, quote);
    for (char& c : charset) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (second != std::string::npos && charset == "utf-8") return unescape(encoded.substr(second + 1));
  }
  return header_parameter(disposition, "filename").value_or("");
}

// The last path segment of a URL, decoded.
std::string url_name(const std::string& url) {
  std::string path = url.substr(0, url.find_first_of("?#"));
  const size_t scheme = path.find("://");
  if (scheme != std::string::npos) {
    const size_t slash = path.find('/', scheme + 3);
    path = slash == std::string::npos ? "" : path.substr(slash);
  }
  return unescape(path.substr(path.rfind('/') + 1));
}

// One path component: no directories (a server does not choose where the
// file goes), no control characters; empty when nothing usable is left.
std::string safe_name(std::string name) {
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  while (!name.empty() && name.front() == ' ') name.erase(0, 1);
  if (name == "." || name == "..") return {};
  return name;
}

}  // namespace

std::string suggested_file_name(const std::string& disposition, const std::string& url) {
  std::string name = safe_name(disposition_name(disposition));
  if (name.empty()) name = safe_name(url_name(url));
  return name.empty() ? "download" : name;
}

std::string downloads_folder() {
  if (const char* xdg = std::getenv("XDG_DOWNLOAD_DIR"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home)
    return (fs::path(home) / "Downloads").string();
  return temporary_folder();
}

std::string temporary_folder() {
  std::error_code error;
  const fs::path dir = fs::temp_directory_path(error);
  return error ? std::string("/tmp") : dir.string();
}

std::string free_path(const std::string& folder, const std::string& name) {
  std::error_code error;
  fs::create_directories(folder, error);
  const fs::path base = fs::path(folder) / name;
  const std::string stem = base.stem().string(), extension = base.extension().string();
  fs::path candidate = base;
  // "name (1).ext", "name (2).ext" ... as browsers number a taken name.
  for (int n = 1; fs::exists(candidate, error) || fs::exists(candidate.string() + ".part", error);
       ++n)
    candidate = fs::path(folder) / (stem + " (" + std::to_string(n) + ")" + extension);
  return candidate.string();
}

}  // namespace cefwork
