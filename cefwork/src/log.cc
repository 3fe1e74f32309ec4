#include "log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

namespace cefwork {
namespace {

std::mutex log_mutex;
std::FILE* log_file = nullptr;
int min_severity = LOGSEVERITY_INFO;

const char* severity_name(cef_log_severity_t severity) {
  switch (severity) {
    case LOGSEVERITY_VERBOSE: return "VERBOSE";
    case LOGSEVERITY_INFO: return "INFO";
    case LOGSEVERITY_WARNING: return "WARNING";
    case LOGSEVERITY_ERROR: return "ERROR";
    case LOGSEVERITY_FATAL: return "FATAL";
    default: return "INFO";
  }
}

}  // namespace

void log_open(std::string_view path, cef_log_severity_t severity) {
  std::lock_guard lock(log_mutex);
  if (log_file) std::fclose(log_file);
  log_file = nullptr;
  min_severity = severity == LOGSEVERITY_DEFAULT ? LOGSEVERITY_INFO : severity;
  if (path.empty() || severity == LOGSEVERITY_DISABLE) return;
  log_file = std::fopen(std::string(path).c_str(), "a");
}

void log_close() {
  std::lock_guard lock(log_mutex);
  if (log_file) std::fclose(log_file);
  log_file = nullptr;
}

bool log_enabled(cef_log_severity_t severity) {
  std::lock_guard lock(log_mutex);
  return log_file && severity >= min_severity;
}

void log(cef_log_severity_t severity, std::string_view message) {
  std::lock_guard lock(log_mutex);
  if (!log_file || severity < min_severity) return;
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
  std::tm tm{};
  localtime_r(&t, &tm);
  std::fprintf(log_file, "[%02d%02d/%02d%02d%02d.%03d:%s:cefwork] %.*s\n", tm.tm_mon + 1, tm.tm_mday,
               tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms.count()),
               severity_name(severity), static_cast<int>(message.size()), message.data());
  std::fflush(log_file);
}

}  // namespace cefwork
