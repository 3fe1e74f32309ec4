// Diagnostic output on Windows: OutputDebugStringA, and appends to a file
// that the engine may hold open for its own log at the same time.

#include <windows.h>

#include "utils/platform/diagnostic_output.h"

namespace utils::platform {
namespace {

std::wstring wide(const std::string& utf8) {
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring out(static_cast<size_t>(length), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), length);
  return out;
}

}  // namespace

void write_to_debugger(const std::string& text) { OutputDebugStringA(text.c_str()); }

bool append_to_file(const std::string& path, std::string_view text) {
  const std::wstring name = wide(path);
  if (name.empty()) return false;
  const HANDLE file = CreateFileW(name.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  while (ok && !text.empty()) {
    DWORD written = 0;
    const DWORD chunk = text.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(text.size());
    ok = WriteFile(file, text.data(), chunk, &written, nullptr) && written > 0;
    text.remove_prefix(written);
  }
  CloseHandle(file);
  return ok;
}

}  // namespace utils::platform
